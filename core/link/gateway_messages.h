#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The gateway session's messages. Texts are 8-bit strings, each ended by a zero byte.
//   'A','@' user 0 password 0             log in (to the gateway)
//   'A','B' serial 0                      connect to one dispenser system
//   0x00,'X' 0x1E 0x00                    status request (to the system)
//   'B','D' serial 0 name 0 inUse 0 ip 0  one system list entry; an empty serial ends the list
//   'B','E' result [serial 0 access 0]    connect result; the texts follow result 0 only
//   'B','F' text                          the system's address, or "Offline"
//   'B','I'                               user name or password refused
namespace qd::link {

namespace gateway {
inline constexpr std::uint8_t RequestClass = 'A';
inline constexpr std::uint8_t LoginRequest = '@';
inline constexpr std::uint8_t ConnectRequest = 'B';

// Longest text accepted in each field, without its zero byte.
inline constexpr std::size_t MaxListSerial = 100;
inline constexpr std::size_t MaxListName = 200;
inline constexpr std::size_t MaxListInUse = 100;
inline constexpr std::size_t MaxListAddress = 40;
inline constexpr std::size_t MaxResultSerial = 19;
inline constexpr std::size_t MaxResultAccess = 9;

inline constexpr std::string_view FreeSystem = "-";  // in-use text of a free system
inline constexpr std::string_view Offline = "Offline";
}  // namespace gateway

inline constexpr std::array<std::uint8_t, 4> StatusRequestMessage = {0x00, 'X', 0x1E, 0x00};

std::vector<std::uint8_t> LoginMessage(std::string_view user, std::string_view password);
std::vector<std::uint8_t> ConnectMessage(std::string_view serial);

// A zero-terminated text at `offset`: at most `maxLength` characters before the zero byte, and the zero
// byte inside the message. `next` is the offset after the zero byte.
struct TerminatedText {
  std::string_view text;
  std::size_t next = 0;
};
std::optional<TerminatedText> ReadTerminatedText(std::span<const std::uint8_t> message, std::size_t offset,
                                                 std::size_t maxLength);

struct SystemEntry {
  std::string serial;
  std::string name;
  std::string inUse;  // "-" = free
  std::string ipAddress;

  bool operator==(const SystemEntry&) const = default;
};

// 'B','D'. An empty serial marks the end of the list; its other texts are not read. None when a text
// runs past its limit or past the message.
std::optional<SystemEntry> DecodeSystemListEntry(std::span<const std::uint8_t> message);

struct ConnectReply {
  static constexpr std::uint8_t Accepted = 0;
  static constexpr std::uint8_t NotFound = 1;
  static constexpr std::uint8_t InUse = 2;

  std::uint8_t result = 0;
  bool wellFormed = false;  // result 0 with both texts within their limits
  std::string serial;
  std::string access;
};

// 'B','E'. None when the message holds no result byte.
std::optional<ConnectReply> DecodeConnectResult(std::span<const std::uint8_t> message);

// 'B','F': the text up to its zero byte, or up to the end of an unterminated message.
std::optional<std::string> DecodeSystemAddress(std::span<const std::uint8_t> message);

// A serial number as the gateway compares it: a whole number; -1 when the text is none.
std::int32_t SerialNumberValue(std::string_view serial);
// The serial of a connect result matches the selected one. A result serial that is not a whole number
// matches nothing.
bool SameSerial(std::string_view resultSerial, std::string_view selectedSerial);

}  // namespace qd::link
