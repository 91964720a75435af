#include "target_options.h"

#include "gateway_password.h"

namespace qdtool {

Target TargetOption(const Arguments& arguments) {
  Target target;
  const auto port = arguments.Value("port");
  const auto gateway = arguments.Value("gateway");
  if (port && gateway) throw UsageError("give --port or --gateway, not both");
  if (port && !port->empty()) {
    target.port = *port;
    return target;
  }
  if (!gateway || gateway->empty()) throw UsageError("--port or --gateway is required");
  const auto user = arguments.Value("user");
  if (!user) throw UsageError("--gateway needs --user");
  target.gateway =
      GatewayOptions{*gateway, *user, GatewayPassword(arguments, *user, *gateway), arguments.Value("system")};
  return target;
}

std::set<std::string> WithTargetOptions(std::set<std::string> options) {
  options.insert({"port", "gateway", "user", "password", "password-file", "system"});
  return options;
}

}  // namespace qdtool
