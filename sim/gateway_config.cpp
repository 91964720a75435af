#include "gateway_config.h"

#include <charconv>

namespace qd::sim {

namespace {

// The longest texts the PC takes in a list entry and a connect result.
constexpr std::size_t MaxSerial = 19;
constexpr std::size_t MaxName = 200;
constexpr std::size_t MaxInUse = 100;
constexpr std::size_t MaxAddress = 40;
constexpr std::size_t MaxAccess = 9;

// Splits off the text before the next ':'; nothing when there is none.
std::optional<std::string_view> Field(std::string_view& rest) {
  const std::size_t colon = rest.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view field = rest.substr(0, colon);
  rest.remove_prefix(colon + 1);
  return field;
}

bool Fits(std::string_view text, std::size_t min, std::size_t max, std::string_view what,
          std::string& error) {
  if (text.size() >= min && text.size() <= max) return true;
  error = std::string(what) + (min > 0 ? " wants 1 to " : " wants at most ") + std::to_string(max) +
          " characters, not '" + std::string(text) + "'";
  return false;
}

std::optional<int> Count(std::string_view text) {
  int value = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || status != std::errc() || end != text.data() + text.size() || value < 0 ||
      value > 1000000)
    return std::nullopt;
  return value;
}

}  // namespace

std::optional<GatewayUser> ParseGatewayUser(std::string_view text, std::string& error) {
  std::string_view rest = text;
  const std::optional<std::string_view> name = Field(rest);
  if (!name) {
    error = "wants NAME:PASSWORD[:ACCESS], not '" + std::string(text) + "'";
    return std::nullopt;
  }
  GatewayUser user;
  user.name = *name;
  if (const std::optional<std::string_view> password = Field(rest)) {
    user.password = *password;
    user.access = rest;
    if (!Fits(user.access, 1, MaxAccess, "the access text", error)) return std::nullopt;
  } else {
    user.password = rest;
  }
  if (user.name.empty()) {
    error = "wants a user name, not '" + std::string(text) + "'";
    return std::nullopt;
  }
  return user;
}

std::optional<GatewaySystemOption> ParseGatewaySystem(std::string_view text, std::string& error) {
  std::string_view rest = text;
  const auto serial = Field(rest);
  const auto name = serial ? Field(rest) : std::nullopt;
  const auto inUse = name ? Field(rest) : std::nullopt;
  if (!inUse) {
    error = "wants SERIAL:NAME:INUSE:ADDRESS, not '" + std::string(text) + "'";
    return std::nullopt;
  }
  GatewaySystemOption system{std::string(*serial), std::string(*name), std::string(*inUse),
                             std::string(rest)};
  if (!Fits(system.serial, 1, MaxSerial, "the serial number", error) ||
      !Fits(system.name, 0, MaxName, "the system name", error) ||
      !Fits(system.inUse, 1, MaxInUse, "the in-use text", error) ||
      !Fits(system.address, 1, MaxAddress, "the address", error))
    return std::nullopt;
  return system;
}

std::optional<GatewayAccessOption> ParseGatewayAccess(std::string_view text, std::string& error) {
  std::string_view rest = text;
  const auto serial = Field(rest);
  if (!serial) {
    error = "wants SERIAL:ACCESS, not '" + std::string(text) + "'";
    return std::nullopt;
  }
  GatewayAccessOption access{std::string(*serial), std::string(rest)};
  if (!Fits(access.serial, 1, MaxSerial, "the serial number", error) ||
      !Fits(access.access, 1, MaxAccess, "the access text", error))
    return std::nullopt;
  return access;
}

std::optional<GatewayFault> ParseGatewayFault(std::string_view text, std::string& error) {
  // The kinds hold no '@', so the first one starts the serial, which may hold any character.
  const std::size_t at = text.find('@');
  const std::string_view fault = text.substr(0, at);
  GatewayFault parsed;
  if (at != std::string_view::npos) {
    parsed.serial = text.substr(at + 1);
    if (!Fits(parsed.serial, 1, MaxSerial, "the serial number after '@'", error)) return std::nullopt;
  }
  if (fault == "wrong-sum") {
    parsed.kind = GatewayFaultKind::WrongSum;
    return parsed;
  }
  if (fault == "block-order") {
    parsed.kind = GatewayFaultKind::BlockOrder;
    return parsed;
  }
  const std::size_t colon = fault.find(':');
  const std::string_view kind = fault.substr(0, colon);
  const std::string_view rest =
      colon == std::string_view::npos ? std::string_view() : fault.substr(colon + 1);
  if (kind == "drop-read" || kind == "drop-write") {
    const bool read = kind == "drop-read";
    const std::optional<int> blocks = Count(rest);
    if (!blocks || (!read && *blocks == 0)) {
      error = std::string(kind) + " wants a number of blocks from " + (read ? "0" : "1") + ", not '" +
              std::string(rest) + "'";
      return std::nullopt;
    }
    parsed.kind = read ? GatewayFaultKind::DropRead : GatewayFaultKind::DropWrite;
    parsed.blocks = *blocks;
    return parsed;
  }
  error = "unknown gateway fault '" + std::string(text) + "'";
  return std::nullopt;
}

}  // namespace qd::sim
