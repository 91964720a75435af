#include <unistd.h>

#include <QCoreApplication>
#include <cstdio>

#include "app/text.h"
#include "arguments.h"
#include "bus_session.h"
#include "commands.h"
#include "input.h"
#include "link/transfer.h"
#include "model/system_commands.h"
#include "model/system_file.h"

namespace qdtool {

const char* const ReadUsage =
    "usage: qdtool read --port DEV [--login-code CODE] [--master-login] [-o SYSTEM.xml] [--image IMAGE.bin]\n"
    "\n"
    "Reads the system data from the controller on the bus: the login code check, the whole 32 KiB\n"
    "memory, then takes it in. Writes the system file and/or the raw image.\n"
    "\n"
    "  --port DEV          serial port (a name without '/' is a device in /dev)\n"
    "  --login-code CODE   the user's login code (default: KMWPLTRS)\n"
    "  --master-login      skip the login code check\n"
    "  -o, --output FILE   write the system file\n"
    "  --image FILE        write the raw image\n"
    "  --verbose           print the link's byte counters at the end\n";

const char* const WriteUsage =
    "usage: qdtool write SYSTEM.xml --port DEV [--login-code CODE]\n"
    "                    [--master-login [--system-login-code CODE]] [--timeout S] [--serial N]\n"
    "\n"
    "Writes a system file to the controller on the bus: the image is built from the file, the login\n"
    "code is checked, the system data go out from offset 32, then the end-of-write request.\n"
    "\n"
    "  --port DEV                serial port (a name without '/' is a device in /dev)\n"
    "  --login-code CODE         the user's login code (default: KMWPLTRS)\n"
    "  --master-login            skip the login code check and write the system login code below\n"
    "  --system-login-code CODE  the system login code written in master-login mode\n"
    "  --timeout S               give up when the controller stops answering for S seconds (default 60)\n"
    "  --serial N                write serial: store the serial number N with the system data, from\n"
    "                            offset 0 (header included) and without the login code check\n"
    "  --verbose                 print the link's byte counters at the end\n";

namespace {

constexpr char DefaultLoginCode[] = "KMWPLTRS";

// A transfer over the bus with the command line's environment.
struct BusTransfer {
  BusTransfer(const std::string& port, qd::WorkingConfig& config, std::string loginCode)
      : session(port), userLoginCode(std::move(loginCode)), transfer(config, MakeEnvironment(config)) {
    transfer.events.error = [this](const std::string& text) { error = text; };
    session.Dispatch().handlers.transferReply = [this](qd::link::PayloadView frame) {
      transfer.OnBusReply(frame);
    };
    session.onTick = [this] {
      transfer.Tick();
      ShowProgress();
    };
  }

  qd::link::SystemTransfer::Environment MakeEnvironment(const qd::WorkingConfig& config) {
    qd::link::SystemTransfer::Environment env;
    env.localMode = [] { return true; };
    env.masterLoginMode = [&config] { return config.masterLoginMode; };
    env.userLoginCode = [this] { return userLoginCode; };
    env.queueRequest = [this](std::uint8_t command, std::uint8_t destination,
                              std::span<const std::uint8_t> data) {
      return session.Link().QueueRequest(command, destination, data);
    };
    env.sendGatewayMessage = [](std::span<const std::uint8_t>) { return false; };
    env.waitStep = [this] { session.Wait(qd::link::SystemTransfer::LoginCheckStepMs); };
    env.pauseBetweenBlocks = [] {};
    env.checkUnsavedPrograms = [] { return false; };
    env.now = [] { return qd::LocalDateTime::Now(); };
    return env;
  }

  void ShowProgress() {
    if (!isatty(STDERR_FILENO) || !qd::link::IsBusy(transfer.State())) return;
    std::fprintf(stderr, "\r%s %s   ", transfer.View().statusText.c_str(),
                 transfer.View().progressText.c_str());
    progressShown = true;
  }

  void EndProgress() {
    if (progressShown) std::fputc('\n', stderr);
    progressShown = false;
  }

  bool Busy() const { return qd::link::IsBusy(transfer.State()); }

  void PrintCounters() const {
    const qd::link::LinkCounters& c = session.Link().Counters();
    std::fprintf(stderr, "Rx: %d bytes, Tx: %d bytes, Sync: %d, Retransmit: %d bytes, Checksum errors: %d\n",
                 c.rxBytes, c.txBytes, c.syncCount, c.retransmitCount, c.checksumErrorCount);
  }

  BusSession session;
  std::string userLoginCode;
  qd::link::SystemTransfer transfer;
  std::string error;
  bool progressShown = false;
};

std::string LoginCodeOption(const Arguments& arguments) {
  return arguments.Value("login-code").value_or(DefaultLoginCode);
}

std::string PortOption(const Arguments& arguments) {
  const auto port = arguments.Value("port");
  if (!port || port->empty()) throw UsageError("--port is required");
  return *port;
}

}  // namespace

int RunRead(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"port", "login-code", "output", "image"}, {"master-login", "verbose"});
  if (arguments.Help()) {
    std::fputs(ReadUsage, stdout);
    return 0;
  }
  if (!arguments.Positional().empty()) throw UsageError("read takes no file argument; use -o or --image");
  const std::string port = PortOption(arguments);

  const EventLoopApp app;

  qd::WorkingConfig config;
  config.masterLoginMode = arguments.Flag("master-login");
  qd::ResetSystem(config);
  BusTransfer bus(port, config, LoginCodeOption(arguments));
  bus.session.Open();

  std::optional<qd::ParseResult> parsed;
  bus.transfer.events.imageRead = [&parsed](const qd::ParseResult& result) { parsed = result; };
  bus.transfer.Read();
  if (!bus.error.empty()) throw Failure(bus.error);  // the login code check refused
  const bool portKept = bus.session.RunUntil([&bus] { return !bus.Busy(); });
  bus.EndProgress();
  if (arguments.Flag("verbose")) bus.PrintCounters();
  if (!bus.error.empty()) throw Failure(bus.error);
  if (!portKept) throw Failure("the port " + port + " was lost during the read");
  if (!parsed)
    throw Failure(bus.transfer.View().stateInfo.empty() ? "read not completed"
                                                        : bus.transfer.View().stateInfo);

  // The raw image as read; the system file as the editors hold it after taking the image in.
  if (const auto image = arguments.Value("image")) WriteImageFile(config.image, *image);
  if (!parsed->ok) throw Failure(parsed->error);
  if (const auto output = arguments.Value("output")) WriteSystemFileOrFail(config, *output);
  std::fprintf(stderr, "%s\n", bus.transfer.View().statusText.c_str());
  return 0;
}

int RunWrite(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"port", "login-code", "system-login-code", "timeout", "serial"},
                            {"master-login", "verbose"});
  if (arguments.Help()) {
    std::fputs(WriteUsage, stdout);
    return 0;
  }
  if (arguments.Positional().size() != 1) throw UsageError("write takes SYSTEM.xml");
  const std::string& file = arguments.Positional()[0];
  if (!IsSystemFile(file)) throw UsageError("write takes a system file (.xml)");
  const std::string port = PortOption(arguments);
  const auto loginCode = arguments.Value("system-login-code");
  if (loginCode && !arguments.Flag("master-login"))
    throw UsageError("--system-login-code goes with --master-login");
  const int timeoutSeconds = arguments.Number("timeout", 1, 86400).value_or(60);

  const EventLoopApp app;

  qd::WorkingConfig config;
  config.masterLoginMode = arguments.Flag("master-login");
  qd::ResetSystem(config);
  if (loginCode) config.loginCodeEdit = *loginCode;
  // A file that does not read completely is never written to a controller.
  const qd::LoadResult loaded = qd::LoadSystem(config, file, qd::LocalDateTime::Now());
  if (!loaded.file.ok) throw Failure(file + ": " + loaded.file.error);

  BusTransfer bus(port, config, LoginCodeOption(arguments));
  bus.session.Open();
  int quietTicks = 0;
  int lastOffset = -1;
  bool timedOut = false;
  auto previousTick = bus.session.onTick;
  bus.session.onTick = [&] {
    previousTick();
    if (bus.transfer.State() != qd::link::TransferState::WritingLocal) return;
    quietTicks = bus.transfer.Current() == lastOffset ? quietTicks + 1 : 0;
    lastOffset = bus.transfer.Current();
    if (quietTicks >= timeoutSeconds * 10) {
      timedOut = true;
      bus.transfer.Stop();
    }
  };

  if (const auto serial = arguments.Value("serial")) {
    if (!qd::ParseWholeNumber(*serial)) throw UsageError("--serial takes a whole number");
    bus.transfer.WriteSerial(*serial);
  } else {
    bus.transfer.Write();
  }
  if (!bus.error.empty()) throw Failure(bus.error);  // the login code check refused
  const bool portKept =
      bus.session.RunUntil([&] { return !bus.Busy() && !bus.session.Link().RequestQueued(); });
  bus.EndProgress();
  if (!bus.error.empty()) throw Failure(bus.error);
  if (!portKept) throw Failure("the port " + port + " was lost during the write");
  if (timedOut) throw Failure("Timeout! No answer from System for " + std::to_string(timeoutSeconds) + " s");
  if (bus.transfer.View().statusText != "Write completed") throw Failure("write not completed");
  bus.session.Flush();
  std::fprintf(stderr, "%s\n", bus.transfer.View().statusText.c_str());
  return 0;
}

}  // namespace qdtool
