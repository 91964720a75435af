#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qd::sim {

// A gateway user. The access text is what a connect result grants on every system that does not set
// its own (see GatewayAccessOption); "A" full access, "B" read only, anything else unknown.
struct GatewayUser {
  std::string name;
  std::string password;
  std::string access = "A";

  bool operator==(const GatewayUser&) const = default;
};

// One entry of the gateway's list of dispenser systems. The entry whose serial is the simulated
// controller's is that controller; an empty name there stands for the system name in its memory.
struct GatewaySystemOption {
  std::string serial;
  std::string name;
  std::string inUse = "-";  // "-": free
  std::string address = "127.0.0.1";

  bool operator==(const GatewaySystemOption&) const = default;
};

// The access every user gets on one system, whatever the user's own.
struct GatewayAccessOption {
  std::string serial;
  std::string access;

  bool operator==(const GatewayAccessOption&) const = default;
};

// Faults of the gateway; each hits once, the first time its occasion comes:
//   wrong-sum    the first write confirmation carries a sum one too high
//   block-order  the first read sends its second block before its first
//   drop-read:N  the first read ends the connection after N blocks (N >= 0)
//   drop-write:N the first write ends the connection once its N-th block is stored (N >= 1)
// Any of them with "@SERIAL" waits for that occasion on that system only.
enum class GatewayFaultKind { WrongSum, BlockOrder, DropRead, DropWrite };

struct GatewayFault {
  GatewayFaultKind kind = GatewayFaultKind::WrongSum;
  int blocks = 0;      // drop-read, drop-write
  std::string serial;  // the system it waits for; empty: any

  bool operator==(const GatewayFault&) const = default;
};

// The gateway server of qd310sim; no port means no gateway.
struct GatewayOptions {
  static constexpr std::size_t DefaultBlockSize = 1000;
  // The largest data block whose message fits the PC's 2000-byte gateway receive buffer.
  static constexpr std::size_t MaxBlockSize = 1993;
  static constexpr std::string_view DefaultUser = "service";
  static constexpr std::string_view DefaultPassword = "secret";
  static constexpr int MaxFleet = 500;

  std::optional<std::uint16_t> port;  // 0: any free port
  std::string host = "127.0.0.1";
  std::vector<GatewayUser> users;  // none given: service:secret
  std::vector<GatewaySystemOption> systems;
  std::vector<GatewayAccessOption> access;
  std::vector<GatewayFault> faults;
  std::size_t blockSize = DefaultBlockSize;
  int fleet = 0;  // systems listed after the controller, each answering from its own memory

  bool operator==(const GatewayOptions&) const = default;
};

// NAME:PASSWORD[:ACCESS]. The password may not hold ':' when an access text follows.
std::optional<GatewayUser> ParseGatewayUser(std::string_view text, std::string& error);
// SERIAL:NAME:INUSE:ADDRESS; the address is the rest and may hold ':'.
std::optional<GatewaySystemOption> ParseGatewaySystem(std::string_view text, std::string& error);
// SERIAL:ACCESS
std::optional<GatewayAccessOption> ParseGatewayAccess(std::string_view text, std::string& error);
// wrong-sum, block-order, drop-read:N, drop-write:N, each optionally followed by @SERIAL
std::optional<GatewayFault> ParseGatewayFault(std::string_view text, std::string& error);

}  // namespace qd::sim
