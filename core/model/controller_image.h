#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace qd {

// The controller's 32 KiB data memory, byte for byte.
//   0x0000   32  header: "QD310", format major/minor, hardware, firmware major/minor, serial
//   0x0020  992  system-wide settings
//   0x0400  10 x 1456 machine records (0..31 settings, 32..255 trigger block, 256.. 6 x 200 programs)
//   0x3CE0   32  reserved
//   0x3D00 9600  text area: NUL-terminated texts addressed by 16-bit offsets; offset 0 is ""
//   0x6280  256  alarm log
//   0x6380 7248  consumption log
//   0x7FD0   48  unused
namespace layout {

constexpr std::size_t ImageSize = 32768;
// The header's first bytes: the magic and the format version that this tool builds and accepts.
inline constexpr char ImageMagic[] = "QD310";
constexpr std::size_t ImageMagicSize = 5;
constexpr std::uint8_t ImageFormatMajor = 1;
constexpr std::uint8_t ImageFormatMinor = 1;
constexpr std::size_t SystemDataSize = 25216;

constexpr std::size_t Magic = 0x00;
constexpr std::size_t VersionMajor = 0x05;
constexpr std::size_t VersionMinor = 0x06;
constexpr std::size_t HardwareVersion = 0x07;
constexpr std::size_t FirmwareMajor = 0x08;
constexpr std::size_t FirmwareMinor = 0x09;
constexpr std::size_t SerialNumber = 0x0A;
constexpr std::size_t HeaderSize = 0x20;
constexpr std::size_t SystemName = 0x20;
constexpr std::size_t SystemNameField = 41;
constexpr std::size_t MachinesEnabled = 0x64;
constexpr std::size_t DefaultInputFilter = 0x66;
constexpr std::size_t BuildTime = 0x67;
constexpr std::size_t ControllerTime = 0x6F;
constexpr std::size_t AlarmGroups = 0x7C;
constexpr std::size_t Recipients = 0x84;
constexpr std::size_t RecipientField = 51;
constexpr std::size_t ActiveLevelCommon = 0x21C;
constexpr std::size_t ActiveLevelMask = 0x21D;
constexpr std::size_t SystemLoginCode = 0x226;
constexpr std::size_t SystemLoginCodeField = 10;
constexpr std::size_t SystemLoginCodeLength = 8;
constexpr std::size_t SystemLoginCodeEnd = 0x22E;  // always NUL
constexpr std::size_t AlarmOnAmountEnabled = 0x230;
constexpr std::size_t AlarmAmounts = 0x231;
constexpr std::size_t UsedAmounts = 0x23F;

constexpr std::size_t Machines = 0x400;
constexpr std::size_t MachineRecordSize = 1456;
constexpr std::size_t MachineActiveMask = 0;
constexpr std::size_t MachineFlags = 1;
constexpr std::size_t MachineDefaultProgram = 2;
constexpr std::size_t MachineSoftnerPump = 3;
constexpr std::size_t MachineShortFlushTime = 4;
constexpr std::size_t MachineLongFlushTime = 5;
constexpr std::size_t MachineProgramTimeout = 6;
constexpr std::size_t MachineCalibrations = 7;
constexpr std::size_t MachineComment = 14;
constexpr std::size_t MachineTrigger = 32;
constexpr std::size_t MachinePrograms = 256;
constexpr std::size_t ProgramRecordSize = 200;
constexpr std::size_t ProgramFlags = 0;
constexpr std::size_t ProgramName = 1;
constexpr std::size_t ProgramComment = 3;
constexpr std::size_t ProgramLines = 8;

constexpr std::uint8_t MachineAllowNoProgramBit = 0x40;
constexpr std::uint8_t MachineEnabledBit = 0x80;
constexpr std::uint8_t DefaultProgramMarkerBit = 0x20;
constexpr std::uint8_t ProgramActiveBit = 0x01;
constexpr std::uint8_t ProgramDefaultSoftnerBit = 0x02;
constexpr std::uint8_t ProgramSoftnerBit = 0x04;
constexpr int ProgramDefaultLevelShift = 3;

constexpr std::size_t TextArea = 0x3D00;
constexpr std::size_t TextAreaSize = 9600;
constexpr std::size_t AlarmLog = 0x6280;
constexpr std::size_t AlarmLogSize = 256;
constexpr std::size_t ConsumptionLog = 0x6380;
constexpr std::size_t ConsumptionLogSize = 7248;
// With firmware major version 1 the log windows find both logs this much earlier.
constexpr std::size_t FirmwareOneLogShift = 128;

constexpr std::size_t MachineRecord(int machine) {
  return Machines + MachineRecordSize * machine;
}
constexpr std::size_t ProgramRecord(int machine, int program) {
  return MachineRecord(machine) + MachinePrograms + ProgramRecordSize * program;
}

}  // namespace layout

struct ClockBytes {
  int year = 0;  // full year
  int month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The image buffer with what the tool knows about it.
class ControllerImage {
 public:
  std::array<std::uint8_t, layout::ImageSize> bytes{};
  bool imageHeld = false;  // a built or read image is in the buffer
  int dataLength = 0;      // end of the data the last build wrote

  std::span<std::uint8_t> Span() { return bytes; }
  std::span<const std::uint8_t> Span() const { return bytes; }

  int FormatMajor() const { return bytes[layout::VersionMajor]; }
  int FormatMinor() const { return bytes[layout::VersionMinor]; }
  int HardwareVersion() const { return bytes[layout::HardwareVersion]; }
  int FirmwareMajor() const { return bytes[layout::FirmwareMajor]; }
  int FirmwareMinor() const { return bytes[layout::FirmwareMinor]; }
  std::uint32_t SerialNumber() const;
  ClockBytes ControllerTime() const;
  // True when every clock byte is within its calendar range.
  bool ControllerTimeValid() const;

  // The text at a text-area offset; never reads outside the area.
  std::string TextAt(std::uint32_t offset) const;
  // A NUL-terminated text in a fixed field of `width` bytes at `at`.
  std::string FieldText(std::size_t at, std::size_t width) const;
  std::string SystemLoginCode() const;

  // The magic and format version as a build writes them.
  void WriteFormat();
  // The magic is ours and the format's major version is one this tool reads.
  bool FormatAccepted() const;
};

}  // namespace qd
