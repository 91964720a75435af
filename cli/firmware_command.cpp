#include "firmware_command.h"

#include <cstdio>

#include "arguments.h"
#include "controller_link.h"
#include "event_loop.h"
#include "firmware/boot_loader.h"
#include "firmware/intel_hex.h"

namespace qdtool {
namespace {

const qd::firmware::FirmwareTarget& FirmwareTargetOption(const Arguments& arguments) {
  const auto target = arguments.Value("target");
  if (!target) throw UsageError("firmware needs --target controller or --target trigger");
  if (*target == "controller") return qd::firmware::ControllerTarget;
  if (*target == "trigger") return qd::firmware::TriggerTarget;
  throw UsageError("--target takes controller or trigger");
}

qd::firmware::FirmwareImage LoadFile(const Arguments& arguments, const char* action) {
  if (arguments.Positional().size() != 2) throw UsageError(std::string("firmware ") + action + " takes FILE");
  const auto& target = FirmwareTargetOption(arguments);
  qd::firmware::FirmwareImage firmware = qd::firmware::LoadIntelHexFile(arguments.Positional()[1], target);
  // The window's error text as it stands; the loader's own texts name the line.
  if (!firmware.Loaded()) throw Failure(firmware.error.text);
  for (const std::string& warning : qd::firmware::LoadWarnings(firmware))
    std::fprintf(stderr, "qdtool: warning: %s\n", warning.c_str());
  return firmware;
}

int RunInfo(const Arguments& arguments) {
  const qd::firmware::FirmwareImage firmware = LoadFile(arguments, "info");

  const qd::firmware::FirmwareLabels labels = qd::firmware::LabelsFor(firmware);
  std::printf("Code start: %s\n", labels.codeStart.c_str());
  std::printf("Code end: %s\n", labels.codeEnd.c_str());
  std::printf("Code used: %s\n", labels.codeUsed.c_str());
  std::printf("Check sum: %s\n", labels.checksum.c_str());
  std::printf("Programming end: %04Xh\n", static_cast<unsigned>(firmware.programmingEnd));
  return 0;
}

int RunFlash(const Arguments& arguments) {
  const qd::firmware::FirmwareImage firmware = LoadFile(arguments, "flash");
  const auto port = arguments.Value("port");
  if (!port) throw UsageError("firmware flash needs --port DEV");

  const EventLoopApp app;
  ControllerLink link(Target{*port, std::nullopt});
  qd::transport::Connection& connection = link.Link();
  qd::firmware::BootLoader::Owner owner = connection.LoaderOwner();
  std::optional<qd::firmware::FlashResult> result;
  owner.finished = [&result](qd::firmware::FlashResult flashResult) { result = flashResult; };
  qd::firmware::BootLoader loader(std::move(owner));
  std::string shownText;
  const auto printNewState = [&loader, &shownText] {
    if (loader.StateText().empty() || loader.StateText() == shownText) return;
    shownText = loader.StateText();
    std::printf("%s\n", shownText.c_str());
    std::fflush(stdout);
  };
  connection.Link().handlers.loaderByte = [&loader, &printNewState](std::uint8_t byte) {
    loader.FirmwareByte(byte);
    printNewState();
  };
  connection.Link().SetLoaderListening(true);
  QObject::connect(&connection, &qd::transport::Connection::Ticked, &link, [&loader, &printNewState] {
    loader.Tick();
    printNewState();
  });
  QObject::connect(&connection, &qd::transport::Connection::ConnectionLost, &link,
                   [&loader] { loader.ConnectionLost(); });
  link.Open();
  loader.Start(firmware);
  printNewState();
  link.RunUntil([&result] { return result.has_value(); });
  link.Flush();
  connection.Link().SetLoaderListening(false);
  if (result == qd::firmware::FlashResult::ConnectionLost || link.Lost())
    throw Failure("the port " + *port + " was lost");
  if (result != qd::firmware::FlashResult::Completed) throw Failure(loader.StateText());
  return 0;
}

}  // namespace

const char* const FirmwareUsage =
    "usage: qdtool firmware info FILE --target controller|trigger\n"
    "       qdtool firmware flash FILE --target controller|trigger --port DEV\n"
    "\n"
    "Loads an Intel HEX firmware file for the controller (image size FC00h, blocks of 256) or the\n"
    "trigger modules (image size 3800h, blocks of 128).\n"
    "\n"
    "info   prints what the firmware window shows: code start, code end, code used, the check sum,\n"
    "       and the programming end.\n"
    "flash  programs the target through its boot loader on the serial bus DEV and prints each new\n"
    "       state on its own line (\"Started, waiting...\", \"Programming...\", then the outcome).\n"
    "       Exit status 0 only after \"Completed, OK.\"; a checksum error reported by the loader\n"
    "       (\"Checksum error\") or no answer in time (\"Timeout error!\": 5 s for the loader's first\n"
    "       answer and for the verdict, 3 s after each block) ends with status 1.\n";

int RunFirmware(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"target", "port"}, {});
  if (arguments.Help()) {
    std::fputs(FirmwareUsage, stdout);
    return 0;
  }
  if (arguments.Positional().empty()) throw UsageError("firmware takes info FILE or flash FILE");
  const std::string& action = arguments.Positional()[0];
  if (action == "info") return RunInfo(arguments);
  if (action == "flash") return RunFlash(arguments);
  throw UsageError("unknown firmware action '" + action + "'");
}

}  // namespace qdtool
