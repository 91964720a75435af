#include <unistd.h>

#include <QCoreApplication>
#include <cstdio>
#include <memory>
#include <set>

#include "app/text.h"
#include "arguments.h"
#include "bus_session.h"
#include "commands.h"
#include "controller_read.h"
#include "gateway_connection.h"
#include "input.h"
#include "link/transfer.h"
#include "model/system_commands.h"
#include "model/system_file.h"
#include "review/backups.h"
#include "target_options.h"
#include "transport/data_folder.h"

namespace qdtool {

const char* const ReadUsage =
    "usage: qdtool read (--port DEV | --gateway HOST[:PORT] --user U [--password-file FILE]\n"
    "                   [--system SERIAL]) [--login-code CODE] [--master-login] [-o SYSTEM.xml]\n"
    "                   [--image IMAGE.bin]\n"
    "\n"
    "Reads the system data from the controller, on the bus or through the gateway: the login code\n"
    "check, the whole 32 KiB memory, then takes it in. Writes the system file and/or the raw image.\n"
    "Every read also leaves a backup of the image and its system file ('qdtool backups' lists them).\n"
    "\n"
    "  --port DEV          serial port (a name without '/' is a device in /dev)\n"
    "  --gateway HOST      gateway server (port 14011 unless HOST:PORT), with --user and the password;\n"
    "                      --system SERIAL picks the system when the gateway offers several\n"
    "  --password-file F   the gateway password is the first line of file F (keep it private:\n"
    "                      chmod 600); without it QDTOOL_PASSWORD, else a prompt on a terminal\n"
    "  --password P        the gateway password itself, which other users can see in the process\n"
    "                      list: prefer the ways above\n"
    "  --login-code CODE   the user's login code (default: KMWPLTRS)\n"
    "  --master-login      skip the login code check\n"
    "  -o, --output FILE   write the system file\n"
    "  --image FILE        write the raw image\n"
    "  --verbose           print the link's byte counters at the end\n";

const char* const WriteUsage =
    "usage: qdtool write SYSTEM.xml (--port DEV | --gateway HOST[:PORT] --user U [--password-file FILE]\n"
    "                    [--system SERIAL] [--block-delay MS]) [--login-code CODE]\n"
    "                    [--master-login [--system-login-code CODE]] [--timeout S] [--serial N]\n"
    "\n"
    "Writes a system file to the controller on the bus: the image is built from the file, the login\n"
    "code is checked, the system data go out from offset 32, then the end-of-write request.\n"
    "\n"
    "  --port DEV                serial port (a name without '/' is a device in /dev)\n"
    "  --gateway HOST            gateway server (port 14011 unless HOST:PORT), with --user and the\n"
    "                            password; --system SERIAL picks the system when there are several\n"
    "  --password-file F         the gateway password is the first line of file F (keep it private:\n"
    "                            chmod 600); without it QDTOOL_PASSWORD, else a prompt on a terminal\n"
    "  --password P              the gateway password itself, which other users can see in the\n"
    "                            process list: prefer the ways above\n"
    "  --block-delay MS          pause between the blocks sent through the gateway (default 500)\n"
    "  --login-code CODE         the user's login code (default: KMWPLTRS)\n"
    "  --master-login            skip the login code check and write the system login code below\n"
    "  --system-login-code CODE  the system login code written in master-login mode\n"
    "  --timeout S               give up when the controller stops answering for S seconds (default 60)\n"
    "  --serial N                write serial: store the serial number N with the system data, from\n"
    "                            offset 0 (header included) and without the login code check\n"
    "  --verbose                 print the link's byte counters at the end\n";

namespace {

constexpr char DefaultLoginCode[] = "KMWPLTRS";

// A transfer over the bus or through the gateway with the command line's environment.
class TransferRunner {
 public:
  TransferRunner(qd::WorkingConfig& config, std::string loginCode, const std::optional<std::string>& port,
                 const std::optional<GatewayOptions>& gateway, int blockDelayMs = 0)
      : userLoginCode_(std::move(loginCode)),
        blockDelayMs_(blockDelayMs),
        transfer(config, MakeEnvironment(config)) {
    transfer.events.error = [this](const std::string& text) { error = text; };
    if (port) {
      bus_ = std::make_unique<BusSession>(*port);
      bus_->Dispatch().handlers.transferReply = [this](qd::link::PayloadView frame) {
        transfer.OnBusReply(frame);
      };
      bus_->onTick = [this] { OnTick(); };
    } else {
      gateway_ = std::make_unique<GatewayConnection>(*gateway);
      gateway_->Dispatch().handlers.remoteSystemData = [this](auto message) {
        transfer.OnGatewayData(message);
      };
      gateway_->Dispatch().handlers.remoteWriteResult = [this](auto message) {
        transfer.OnGatewayWriteResult(message);
      };
      gateway_->onTick = [this] { OnTick(); };
    }
  }

  void Open() {
    if (bus_) {
      bus_->Open();
    } else {
      gateway_->Connect();
    }
  }

  bool Local() const { return bus_ != nullptr; }
  GatewayConnection& Gateway() { return *gateway_; }
  BusSession& Bus() { return *bus_; }

  // Runs the event loop until `done`; false when the port or the connection was lost.
  bool RunUntil(const std::function<bool()>& done) {
    return bus_ ? bus_->RunUntil(done) : gateway_->RunUntil(done);
  }
  void Flush() {
    if (bus_) bus_->Flush();
    if (gateway_) gateway_->Flush();
  }
  std::string LostText() const { return bus_ ? "the port was lost" : "the gateway closed the connection"; }
  bool Lost() const { return bus_ ? bus_->PortLost() : gateway_->Lost(); }

  bool Busy() const { return qd::link::IsBusy(transfer.State()); }

  void EndProgress() {
    if (progressShown_) std::fputc('\n', stderr);
    progressShown_ = false;
  }

  void PrintCounters() const {
    if (bus_) {
      const qd::link::LinkCounters& c = bus_->Link().Counters();
      std::fprintf(stderr,
                   "Rx: %d bytes, Tx: %d bytes, Sync: %d, Retransmit: %d bytes, Checksum errors: %d\n",
                   c.rxBytes, c.txBytes, c.syncCount, c.retransmitCount, c.checksumErrorCount);
    } else {
      std::fprintf(stderr, "Rx: %lld bytes, Tx: %lld bytes\n", static_cast<long long>(gateway_->RxBytes()),
                   static_cast<long long>(gateway_->TxBytes()));
    }
  }

  std::function<void()> onTick;

 private:
  qd::link::SystemTransfer::Environment MakeEnvironment(const qd::WorkingConfig& config) {
    qd::link::SystemTransfer::Environment env;
    env.localMode = [this] { return Local(); };
    env.masterLoginMode = [&config] { return config.masterLoginMode; };
    env.userLoginCode = [this] { return userLoginCode_; };
    env.queueRequest = [this](std::uint8_t command, std::uint8_t destination,
                              std::span<const std::uint8_t> data) {
      return bus_ && bus_->Link().QueueRequest(command, destination, data);
    };
    env.sendGatewayMessage = [this](std::span<const std::uint8_t> message) {
      return gateway_ && gateway_->Send(message);
    };
    env.waitStep = [] { ProcessEventsFor(qd::link::SystemTransfer::LoginCheckStepMs); };
    // The socket hands its bytes over while the command waits between blocks.
    env.pauseBetweenBlocks = [this] { ProcessEventsFor(blockDelayMs_); };
    env.checkUnsavedPrograms = [] { return false; };
    env.now = [] { return qd::LocalDateTime::Now(); };
    return env;
  }

  void OnTick() {
    transfer.Tick();
    if (onTick) onTick();
    if (!isatty(STDERR_FILENO) || !Busy()) return;
    std::fprintf(stderr, "\r%s %s   ", transfer.View().statusText.c_str(),
                 transfer.View().progressText.c_str());
    progressShown_ = true;
  }

  std::string userLoginCode_;
  int blockDelayMs_;
  std::unique_ptr<BusSession> bus_;
  std::unique_ptr<GatewayConnection> gateway_;
  bool progressShown_ = false;

 public:
  qd::link::SystemTransfer transfer;
  std::string error;
};

std::string LoginCodeOption(const Arguments& arguments) {
  return arguments.Value("login-code").value_or(DefaultLoginCode);
}

}  // namespace

namespace {

// What a read left besides the configuration.
struct ReadOutcome {
  qd::ParseResult parsed;
  std::string error;       // a remote read refused by the login code gives an empty system and this
  std::string statusText;  // "Read completed"
};

// Runs a read into `config` (reset first); throws Failure when no image was taken in.
ReadOutcome RunControllerRead(qd::WorkingConfig& config, const Target& target, const ReadOptions& options) {
  const EventLoopApp app;
  config.masterLoginMode = options.masterLogin;
  qd::ResetSystem(config);
  TransferRunner runner(config, options.loginCode, target.port, target.gateway);
  runner.Open();

  std::optional<qd::ParseResult> parsed;
  runner.transfer.events.imageRead = [&parsed](const qd::ParseResult& result) { parsed = result; };
  runner.transfer.Read();
  if (!runner.error.empty()) throw Failure(runner.error);  // the login code check refused
  const bool kept = runner.RunUntil([&runner] { return !runner.Busy(); });
  runner.EndProgress();
  if (options.verbose) runner.PrintCounters();
  if (!runner.error.empty() && !parsed) throw Failure(runner.error);
  if (!kept) throw Failure(runner.LostText() + " during the read");
  const qd::link::TransferView& view = runner.transfer.View();
  if (!parsed) throw Failure(!view.stateInfo.empty() ? view.stateInfo : view.statusText);
  return {*parsed, runner.error, view.statusText};
}

// Every image a read took in is kept; a backup that fails never fails the read.
void StoreReadBackup(const qd::WorkingConfig& config) {
  const std::filesystem::path folder = qd::transport::BackupFolder().toStdString();
  const auto stored = qd::review::StoreBackup(folder, config, qd::LocalDateTime::Now());
  if (!stored.result.ok)
    std::fprintf(stderr, "qdtool: no backup of the read: %s\n", stored.result.error.c_str());
}

}  // namespace

void ReadFromController(qd::WorkingConfig& config, const Target& target, const ReadOptions& options) {
  const ReadOutcome outcome = RunControllerRead(config, target, options);
  if (!outcome.parsed.ok) throw Failure(outcome.parsed.error);
  if (!outcome.error.empty()) throw Failure(outcome.error);
  StoreReadBackup(config);
}

int RunRead(const std::vector<std::string>& args) {
  const Arguments arguments(args, WithTargetOptions({"login-code", "output", "image"}),
                            {"master-login", "verbose"});
  if (arguments.Help()) {
    std::fputs(ReadUsage, stdout);
    return 0;
  }
  if (!arguments.Positional().empty()) throw UsageError("read takes no file argument; use -o or --image");
  const Target target = TargetOption(arguments);

  qd::WorkingConfig config;
  const ReadOutcome outcome = RunControllerRead(
      config, target,
      {LoginCodeOption(arguments), arguments.Flag("master-login"), arguments.Flag("verbose")});

  // The raw image as read; the system file as the editors hold it after taking the image in.
  if (const auto image = arguments.Value("image")) WriteImageFile(config.image, *image);
  if (!outcome.parsed.ok) throw Failure(outcome.parsed.error);
  if (const auto output = arguments.Value("output")) WriteSystemFileOrFail(config, *output);
  // A remote read with a wrong login code gives an empty system: written, and reported.
  if (!outcome.error.empty()) throw Failure(outcome.error);
  StoreReadBackup(config);
  std::fprintf(stderr, "%s\n", outcome.statusText.c_str());
  return 0;
}

int RunWrite(const std::vector<std::string>& args) {
  const Arguments arguments(
      args, WithTargetOptions({"login-code", "system-login-code", "timeout", "serial", "block-delay"}),
      {"master-login", "verbose"});
  if (arguments.Help()) {
    std::fputs(WriteUsage, stdout);
    return 0;
  }
  if (arguments.Positional().size() != 1) throw UsageError("write takes SYSTEM.xml");
  const std::string& file = arguments.Positional()[0];
  if (!IsSystemFile(file)) throw UsageError("write takes a system file (.xml)");
  const Target target = TargetOption(arguments);
  const auto loginCode = arguments.Value("system-login-code");
  if (loginCode && !arguments.Flag("master-login")) {
    throw UsageError("--system-login-code goes with --master-login");
  }
  const int timeoutSeconds = arguments.Number("timeout", 1, 86400).value_or(60);
  const int blockDelay =
      arguments.Number("block-delay", 0, 60000).value_or(qd::link::SystemTransfer::RemoteBlockPauseMs);
  const auto serial = arguments.Value("serial");
  if (serial && !qd::ParseWholeNumber(*serial)) throw UsageError("--serial takes a whole number");
  if (serial && target.gateway) throw UsageError("--serial writes on the bus only");

  const EventLoopApp app;
  qd::WorkingConfig config;
  config.masterLoginMode = arguments.Flag("master-login");
  qd::ResetSystem(config);
  if (loginCode) config.loginCodeEdit = *loginCode;
  // A file that does not read completely is never written to a controller.
  const qd::LoadResult loaded = qd::LoadSystem(config, file, qd::LocalDateTime::Now());
  if (!loaded.file.ok) throw Failure(file + ": " + loaded.file.error);

  TransferRunner runner(config, LoginCodeOption(arguments), target.port, target.gateway, blockDelay);
  runner.Open();
  if (!runner.Local()) {
    const qd::link::GatewaySession& session = runner.Gateway().Session();
    if (!session.RemoteOnline()) throw Failure("the system is offline");
    if (!session.RemoteFullAccess()) throw Failure("the gateway grants read-only access: no writing");
  }
  int quietTicks = 0;
  int lastOffset = -1;
  bool timedOut = false;
  runner.onTick = [&] {
    if (runner.transfer.State() != qd::link::TransferState::WritingLocal) return;
    quietTicks = runner.transfer.Current() == lastOffset ? quietTicks + 1 : 0;
    lastOffset = runner.transfer.Current();
    if (quietTicks >= timeoutSeconds * 10) {
      timedOut = true;
      runner.transfer.Stop();
    }
  };

  if (serial) {
    runner.transfer.WriteSerial(*serial);
  } else {
    runner.transfer.Write();
  }
  if (!runner.error.empty()) throw Failure(runner.error);  // the login code check refused
  const bool kept = runner.RunUntil(
      [&] { return !runner.Busy() && !(runner.Local() && runner.Bus().Link().RequestQueued()); });
  runner.EndProgress();
  if (arguments.Flag("verbose")) runner.PrintCounters();
  if (!kept) throw Failure(runner.LostText() + " during the write");
  if (timedOut) throw Failure("Timeout! No answer from System for " + std::to_string(timeoutSeconds) + " s");
  const qd::link::TransferView& view = runner.transfer.View();
  const std::string& result = runner.Local() ? view.statusText : view.progressText;
  if (result != (runner.Local() ? "Write completed" : "Confirm received - OK")) {
    // The remote write stops sending as soon as the connection is gone.
    if (runner.Lost()) throw Failure(runner.LostText() + " during the write");
    throw Failure(result.empty() ? "write not completed" : result);
  }
  runner.Flush();
  std::fprintf(stderr, "%s\n", result.c_str());
  return 0;
}

}  // namespace qdtool
