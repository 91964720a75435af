#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Gateway messages travel in the same frames as the bus, with a raw body and no sequence numbers:
//   STX 0x02 | stuffed: class, code, data..., checksum | ETX 0x03
// The checksum makes the 8-bit sum of the unstuffed body 0xFF.
namespace qd::link {

namespace gateway {
inline constexpr std::size_t ClassOffset = 0;
inline constexpr std::size_t CodeOffset = 1;
inline constexpr std::size_t HeaderSize = 2;

inline constexpr std::uint8_t GatewayClass = 'B';  // from the gateway server
inline constexpr std::uint8_t SystemClass = 'C';   // from the dosing system, relayed

// Class 'B'
inline constexpr std::uint8_t SystemListEntry = 'D';
inline constexpr std::uint8_t ConnectResult = 'E';
inline constexpr std::uint8_t SystemAddress = 'F';
inline constexpr std::uint8_t SystemData = 'H';
inline constexpr std::uint8_t LoginRefused = 'I';
// Class 'C'
inline constexpr std::uint8_t LogResetDone = '!';
inline constexpr std::uint8_t AlarmLogCleared = '#';
inline constexpr std::uint8_t MachineResetDone = '%';
inline constexpr std::uint8_t AllMachinesResetDone = '&';
inline constexpr std::uint8_t WriteResult = 'S';
inline constexpr std::uint8_t Status = 'X';

// The status message holds one record per machine m at StatusRecordOffset + StatusRecordSize * m.
inline constexpr std::size_t StatusRecordOffset = 16;
inline constexpr std::size_t StatusRecordSize = 10;
}  // namespace gateway

// The gateway sender encodes into a 500-byte buffer. A message whose frame would not fit is
// refused: the result is empty and nothing should be sent.
inline constexpr std::size_t MaxEncodedGatewayFrame = 500;
std::vector<std::uint8_t> EncodeGatewayMessage(std::span<const std::uint8_t> message);

// Unframes the gateway byte stream. Bytes before the first STX and after each ETX are discarded; a
// frame of at least three bytes whose sum is right is passed on without its checksum byte. Bad frames
// are dropped without a trace. Bytes beyond the buffer are not stored.
class GatewayReceiver {
 public:
  static constexpr std::size_t BufferSize = 2000;

  std::function<void(std::span<const std::uint8_t> message)> onMessage;

  void Feed(std::uint8_t byte);
  void Feed(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes)
      Feed(b);
  }
  // A new connection: discard until STX.
  void Reset() {
    count_ = Discarding;
    escape_ = false;
  }

 private:
  static constexpr int Discarding = -1;

  void Store(std::uint8_t byte);

  std::array<std::uint8_t, BufferSize> buffer_{};
  int count_ = Discarding;
  bool escape_ = false;
};

}  // namespace qd::link
