#include "firmware_command.h"

#include <cstdio>

#include "arguments.h"
#include "firmware/intel_hex.h"

namespace qdtool {
namespace {

const qd::firmware::FirmwareTarget& TargetOption(const Arguments& arguments) {
  const auto target = arguments.Value("target");
  if (!target) throw UsageError("firmware needs --target controller or --target trigger");
  if (*target == "controller") return qd::firmware::ControllerTarget;
  if (*target == "trigger") return qd::firmware::TriggerTarget;
  throw UsageError("--target takes controller or trigger");
}

int RunInfo(const Arguments& arguments) {
  if (arguments.Positional().size() != 2) throw UsageError("firmware info takes FILE");
  const auto& target = TargetOption(arguments);
  const qd::firmware::FirmwareImage firmware =
      qd::firmware::LoadIntelHexFile(arguments.Positional()[1], target);
  // The window's error text as it stands; the loader's own texts name the line.
  if (!firmware.Loaded()) throw Failure(firmware.error.text);

  const qd::firmware::FirmwareLabels labels = qd::firmware::LabelsFor(firmware);
  std::printf("Code start: %s\n", labels.codeStart.c_str());
  std::printf("Code end: %s\n", labels.codeEnd.c_str());
  std::printf("Code used: %s\n", labels.codeUsed.c_str());
  std::printf("Check sum: %s\n", labels.checksum.c_str());
  std::printf("Programming end: %04Xh\n", static_cast<unsigned>(firmware.programmingEnd));
  return 0;
}

}  // namespace

const char* const FirmwareUsage =
    "usage: qdtool firmware info FILE --target controller|trigger\n"
    "\n"
    "Loads an Intel HEX firmware file for the controller (image size FC00h, blocks of 256) or the\n"
    "trigger modules (image size 3800h, blocks of 128) and prints what the firmware window shows:\n"
    "code start, code end, code used, the check sum, and the programming end.\n"
    "\n"
    "'firmware flash' is not available yet.\n";

int RunFirmware(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"target"}, {});
  if (arguments.Help()) {
    std::fputs(FirmwareUsage, stdout);
    return 0;
  }
  if (arguments.Positional().empty()) throw UsageError("firmware takes info FILE");
  const std::string& action = arguments.Positional()[0];
  if (action == "info") return RunInfo(arguments);
  if (action == "flash") throw UsageError("firmware flash is not available yet");
  throw UsageError("unknown firmware action '" + action + "'");
}

}  // namespace qdtool
