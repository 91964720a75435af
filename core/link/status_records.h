#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "model/counts.h"

// Live status records heard from the controller, the trigger modules and the gateway. Every decoder
// reads only the bytes that arrived; a field that did not arrive reads as 0 unless said otherwise.
//
// Controller status 0x43, current form (64 bytes):
//   0 0x43 | 1 length 64 | 2..5 header | 6 pumps running (bits 0..6) | 7 carried along
//   8..9 little-endian word: bits 0..9 machine signals; byte 9 bit 2 flush water, bit 3 drain, bit 4 alarm
//   10..13 unused | 14 + 5m .. 18 + 5m machine m (0..9), see MachineStatus
// Older form (44 bytes): bytes 0..13 as above, 14 + 3m .. 16 + 3m machine m as a 3-byte record.
//
// Machine record (5 bytes; the gateway's 10-byte record carries bytes 0..3 the same way):
//   0 bits 0..5 running line (0 none) | 1 bits 0..4 running program 1..6 (anything else: none)
//   2 bit 0 trigger online, bit 1 keyboard connected, bit 2 keyboard locked, bit 3 serial connection
//   3 bits 0..5 trigger inputs 1..6 | 4 percent value
//
// Trigger report 0x02 / 0x03 (trigger module 3..12 to the controller, overheard):
//   6 bits 0..5 inputs 1..6 | 7 unused | 8 weight in half kilograms or percent value
//   9 (0x03) bits 0..3 module kind, bit 4 serial connection, bit 5 keyboard connected
//   10 (0x03) firmware version, low nibble major, high nibble minor | 11 (0x03) Electrolux program number
//
// Monitor reply 0x51:
//   6 bits 0..3 machine, bit 4 line valid | 7..10 serial (big-endian) | 11..14 unit id (big-endian)
//   15..18 status | 19 softener
namespace qd::link {

using qd::MachineCount;

// One machine's live status as the controller or the gateway reports it.
class MachineStatus {
 public:
  static constexpr std::size_t Size = 5;
  static constexpr std::size_t GatewayRecordSize = 10;

  MachineStatus() = default;
  explicit MachineStatus(const std::array<std::uint8_t, Size>& bytes) : bytes_(bytes) {}

  // The first five bytes of `record`; bytes that did not arrive are 0.
  static MachineStatus FromBytes(std::span<const std::uint8_t> record);
  // A gateway machine record: bytes 0..3 are read, the percent value is 0.
  static MachineStatus FromGatewayRecord(std::span<const std::uint8_t> record);

  const std::array<std::uint8_t, Size>& Bytes() const { return bytes_; }

  // Line 1..24 the controller executes in the running program, 0 for none; values above 24 as received.
  int RunningLine() const { return bytes_[0] & 0x3F; }
  // Program index 0..5, or -1 when the record names no program (0 or 7..31).
  int RunningProgram() const;
  bool TriggerOnline() const { return (bytes_[2] & 0x01) != 0; }
  // Reported by the gateway only; the controller's record does not carry it.
  bool KeyboardConnected() const { return (bytes_[2] & 0x02) != 0; }
  bool KeyboardLocked() const { return (bytes_[2] & 0x04) != 0; }
  // Reported by the gateway only; the controller's record does not carry it.
  bool SerialConnection() const { return (bytes_[2] & 0x08) != 0; }
  // Bit i = trigger input i + 1.
  std::uint8_t Inputs() const { return bytes_[3] & 0x3F; }
  std::uint8_t Percent() const { return bytes_[4]; }

  bool operator==(const MachineStatus&) const = default;

 private:
  std::array<std::uint8_t, Size> bytes_{};
};

// A controller status frame, always held in the 64-byte current form.
//
// The length byte (byte 1) decides the form. 44: the older form, converted: byte 0 = 0x43, byte 1 = 0,
// bytes 6 and 7 copied, bits 0..9 of the word in bytes 8..9 and bits 2 and 3 of byte 9 copied, and each
// 3-byte machine record becomes a 5-byte one (byte 0 whole, bits 0..6 of byte 1, bits 0 and 2 of
// byte 2); everything else 0. Any other length byte (64, a wrong one, or none at all): the bytes that
// arrived are taken as the current form, up to 64 of them, and the rest is 0. Only a length byte of 64
// makes IsCurrentForm() true.
class ControllerStatus {
 public:
  static constexpr std::size_t Size = 64;
  static constexpr std::size_t OlderSize = 44;
  static constexpr std::size_t MachineOffset = 14;
  static constexpr std::size_t OlderMachineSize = 3;

  // `payload` is the whole received payload, header included; the caller has dispatched on 0x43.
  explicit ControllerStatus(std::span<const std::uint8_t> payload);

  // The frame in the current form, as the machine windows and program editors read it.
  const std::array<std::uint8_t, Size>& Bytes() const { return bytes_; }

  // Byte 1 is 64: the percent value and the trigger inputs of the machine records are valid.
  bool IsCurrentForm() const { return bytes_[1] == Size; }
  // The frame arrived in the older 44-byte form and was converted.
  bool WasConverted() const { return converted_; }

  // The system outputs sit at the same place in both forms and are read as received, so an older
  // frame's alarm bit counts although the conversion drops it.
  std::uint8_t PumpsRunning() const { return system_[0] & 0x7F; }  // bit i = pump i + 1
  std::uint16_t MachineSignals() const;                            // bit i = machine i + 1
  bool FlushWater() const { return (system_[3] & 0x04) != 0; }
  bool FlushDrain() const { return (system_[3] & 0x08) != 0; }
  bool AlarmOutput() const { return (system_[3] & 0x10) != 0; }

  // Machine m = 0..9; an empty record for any other m.
  MachineStatus Machine(int m) const;

 private:
  std::array<std::uint8_t, Size> bytes_{};
  std::array<std::uint8_t, 4> system_{};  // received bytes 6..9
  bool converted_ = false;
};

// The status part of a trigger module's report that only command 3 carries.
struct TriggerModuleStatus {
  static constexpr int KindQD520 = 1;
  static constexpr int KindQD740 = 2;

  int kind = 0;                      // byte 9 bits 0..3
  bool serialConnection = false;     // byte 9 bit 4
  bool keyboardConnected = false;    // byte 9 bit 5
  std::uint8_t firmwareVersion = 0;  // byte 10 as received

  int VersionMajor() const { return firmwareVersion & 0x0F; }
  int VersionMinor() const { return firmwareVersion >> 4; }

  bool operator==(const TriggerModuleStatus&) const = default;
};

// A trigger module's report to the controller. The bus link has checked the checksum.
struct TriggerReport {
  int machine = 0;           // 0..9: Source - 3
  std::uint8_t command = 0;  // 2 or 3
  std::uint8_t inputs = 0;   // byte 6 bits 0..5, bit i = input i + 1
  // Byte 6 bit 5 as a flag: for the weighing trigger types "no weight" (types 3 and 4) or "weight for
  // input 6" (type 6), besides being input 6.
  bool weightFlag = false;
  std::uint8_t value = 0;  // byte 8: weight in half kilograms, or percent value
  // Command 3 only, present when bytes 9 and 10 arrived.
  std::optional<TriggerModuleStatus> module;
  // Command 3 only, present when byte 11 arrived; meaningful for the Electrolux trigger type.
  std::optional<std::uint8_t> electroluxProgram;

  // Byte 8 read as a weight, in tenths of a kilogram.
  int WeightTenthsKg() const { return value * 5; }

  bool operator==(const TriggerReport&) const = default;
};

inline constexpr std::size_t TriggerReportMinSize = 9;  // header, inputs, byte 7, value

// A report with command 2 or 3 from a trigger module (Source 3..12) to the controller (Destination 1)
// with at least bytes 0..8. Nothing for any other payload.
std::optional<TriggerReport> DecodeTriggerReport(std::span<const std::uint8_t> payload);

inline constexpr std::size_t MonitorReplySize = 20;

// The text of a monitor reply 0x51 after the time prefix:
//   "M=%02d" (or "M= ?" for machine 0), ", Serial=%08u, UnitID=%08u, Status= %02X %02X %02X %02X,
//   Softner=%02X"
// Nothing when it is not a 0x51 payload, when bit 4 of byte 6 is clear, or when bytes 6..19 did not all
// arrive. Serial and unit id are unsigned.
std::optional<std::string> MonitorReplyText(std::span<const std::uint8_t> payload);

// "%02d:%02d:%02d.%03d> ": the local time of a monitor line, given by the caller.
std::string MonitorTimePrefix(int hours, int minutes, int seconds, int milliseconds);

// The gateway's status message ('C', 'X'): byte 0 class, byte 1 code, then the system outputs, and
// from byte 16 one 10-byte record per machine. A view: the message must outlive it.
class GatewayStatus {
 public:
  static constexpr std::size_t MachineOffset = 16;

  explicit GatewayStatus(std::span<const std::uint8_t> message) : message_(message) {}

  std::uint8_t PumpsRunning() const { return At(2) & 0x7F; }  // bit i = pump i + 1
  std::uint16_t MachineSignals() const;                       // bit i = machine i + 1
  bool FlushWater() const { return (At(5) & 0x04) != 0; }
  bool FlushDrain() const { return (At(5) & 0x08) != 0; }

  // The bytes of machine m's record that arrived (at most 10; empty for m outside 0..9).
  std::span<const std::uint8_t> MachineRecord(int m) const;
  MachineStatus Machine(int m) const { return MachineStatus::FromGatewayRecord(MachineRecord(m)); }

 private:
  std::uint8_t At(std::size_t i) const { return i < message_.size() ? message_[i] : 0; }

  std::span<const std::uint8_t> message_;
};

}  // namespace qd::link
