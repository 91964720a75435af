#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A bus payload: a 6-byte header, then the command's data.
//   0 Command | 1 Length (header included) | 2 Sequence (0 = resynchronise) | 3 Destination | 4 Source
//   5 Checksum (all payload bytes sum to 0xFF) | 6.. data
namespace qd::link {

inline constexpr int HeaderSize = 6;
inline constexpr int CommandOffset = 0;
inline constexpr int LengthOffset = 1;
inline constexpr int SequenceOffset = 2;
inline constexpr int DestinationOffset = 3;
inline constexpr int SourceOffset = 4;
inline constexpr int ChecksumOffset = 5;

inline constexpr std::uint8_t FirmwareLoaderAddress = 0;  // trigger modules' loader start only
inline constexpr std::uint8_t ControllerAddress = 1;
inline constexpr std::uint8_t PcAddress = 2;
inline constexpr std::uint8_t FirstTriggerAddress = 3;  // machine 1
inline constexpr std::uint8_t LastTriggerAddress = 12;  // machine 10

namespace command {
inline constexpr std::uint8_t TriggerReport = 0x02;
inline constexpr std::uint8_t TriggerStatusReport = 0x03;
inline constexpr std::uint8_t Poll = 0x40;
inline constexpr std::uint8_t Resync = 0x41;
inline constexpr std::uint8_t ManualOutputs = 0x42;
inline constexpr std::uint8_t Status = 0x43;
inline constexpr std::uint8_t ReadMemory = 0x44;
inline constexpr std::uint8_t MemoryData = 0x45;
inline constexpr std::uint8_t WriteMemory = 0x46;
inline constexpr std::uint8_t WriteConfirm = 0x47;
inline constexpr std::uint8_t ResetMachine = 0x48;
inline constexpr std::uint8_t ResetConsumptionLog = 0x49;
inline constexpr std::uint8_t ConsumptionLogReset = 0x4A;
inline constexpr std::uint8_t ClearAlarmLog = 0x4B;
inline constexpr std::uint8_t AlarmLogCleared = 0x4C;
inline constexpr std::uint8_t Monitor = 0x50;
inline constexpr std::uint8_t MonitorReply = 0x51;
inline constexpr std::uint8_t FirmwareLoader = 0x70;
}  // namespace command

// Writes Length = the payload's size and the checksum into the header.
void SealPayload(std::span<std::uint8_t> payload);

// A sealed payload.
std::vector<std::uint8_t> MakePayload(std::uint8_t command, std::uint8_t sequence, std::uint8_t destination,
                                      std::uint8_t source, std::span<const std::uint8_t> data = {});

// Read access to a received payload that never reads beyond the bytes received: a field that did
// not arrive reads as 0, and Has() tells whether it did.
class PayloadView {
 public:
  explicit PayloadView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Size() const { return bytes_.size(); }
  bool Has(std::size_t count) const { return bytes_.size() >= count; }
  std::uint8_t At(std::size_t i) const { return i < bytes_.size() ? bytes_[i] : 0; }
  std::span<const std::uint8_t> Bytes() const { return bytes_; }
  // The data bytes from `offset` on, at most `count` of them.
  std::span<const std::uint8_t> Slice(std::size_t offset, std::size_t count) const;

  std::uint8_t Command() const { return At(CommandOffset); }
  std::uint8_t Sequence() const { return At(SequenceOffset); }
  std::uint8_t Destination() const { return At(DestinationOffset); }
  std::uint8_t Source() const { return At(SourceOffset); }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace qd::link
