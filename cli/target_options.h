#pragma once

#include <optional>
#include <set>
#include <string>

#include "arguments.h"

namespace qdtool {

struct GatewayOptions {
  std::string address;  // HOST or HOST:PORT
  std::string user;
  std::string password;
  std::optional<std::string> system;  // serial of the system to connect to
};

// Where the controller is: --port DEV, or --gateway HOST[:PORT] with --user, the password (see
// GatewayPassword) and --system.
struct Target {
  std::optional<std::string> port;
  std::optional<GatewayOptions> gateway;
};

Target TargetOption(const Arguments& arguments);

// The given options and those of the target.
std::set<std::string> WithTargetOptions(std::set<std::string> options);

}  // namespace qdtool
