#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "input.h"
#include "model/image_builder.h"
#include "model/system_commands.h"
#include "model/system_file.h"

namespace qdtool {

const char* const ConvertUsage =
    "usage: qdtool convert IN OUT [--build-time \"YYYY-MM-DD HH:MM:SS\"]\n"
    "                      [--master-login [--system-login-code CODE]] [--partial]\n"
    "\n"
    "Converts between system files (names ending in .xml) and raw 32768-byte images.\n"
    "  xml -> bin   load the system file and build the image\n"
    "  bin -> xml   take the image in and save it as a system file\n"
    "  xml -> xml   load and save again\n"
    "  bin -> bin   take the image in and build it again\n"
    "\n"
    "  --build-time T          the build time stored in the image (default: now)\n"
    "  --master-login          master-login mode: the image gets the system login code below\n"
    "  --system-login-code C   the system login code written in master-login mode\n"
    "  --partial               when a system file fails to read, still write what was read\n"
    "                          before the failure (the exit status stays 1)\n";

namespace {

qd::LocalDateTime BuildTimeOption(const Arguments& arguments) {
  const auto text = arguments.Value("build-time");
  if (!text) return qd::LocalDateTime::Now();
  qd::LocalDateTime time;
  if (!qd::LocalDateTime::Parse(*text, time)) {
    throw UsageError("--build-time takes \"YYYY-MM-DD HH:MM:SS\" (2000..2255), not \"" + *text + "\"");
  }
  return time;
}

}  // namespace

int RunConvert(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"build-time", "system-login-code"}, {"master-login", "partial"});
  if (arguments.Help()) {
    std::fputs(ConvertUsage, stdout);
    return 0;
  }
  if (arguments.Positional().size() != 2) throw UsageError("convert takes IN and OUT");
  const std::string& in = arguments.Positional()[0];
  const std::string& out = arguments.Positional()[1];
  const auto loginCode = arguments.Value("system-login-code");
  if (loginCode && !arguments.Flag("master-login"))
    throw UsageError("--system-login-code goes with --master-login");
  const qd::LocalDateTime buildTime = BuildTimeOption(arguments);

  qd::WorkingConfig config;
  config.masterLoginMode = arguments.Flag("master-login");
  qd::ResetSystem(config);
  if (loginCode) config.loginCodeEdit = *loginCode;

  const Input input = LoadInput(config, in, buildTime);
  if (!input.ok && (!IsSystemFile(in) || !arguments.Flag("partial"))) throw Failure(input.failure);

  if (!IsSystemFile(in) && !IsSystemFile(out)) {
    if (loginCode) config.loginCodeEdit = *loginCode;
    qd::BuildImage(config, buildTime);
  }
  if (IsSystemFile(out)) {
    WriteSystemFileOrFail(config, out);
  } else {
    WriteImageFile(config.image, out);
  }
  if (!input.ok) throw Failure(input.failure);
  return 0;
}

}  // namespace qdtool
