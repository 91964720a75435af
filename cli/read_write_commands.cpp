#include <unistd.h>

#include <QCoreApplication>
#include <cstdio>
#include <memory>
#include <set>

#include "app/text.h"
#include "arguments.h"
#include "commands.h"
#include "controller_link.h"
#include "controller_read.h"
#include "event_loop.h"
#include "history_commands.h"
#include "input.h"
#include "link/transfer.h"
#include "model/system_commands.h"
#include "model/system_file.h"
#include "review/backups.h"
#include "store/read_recorder.h"
#include "target_options.h"
#include "transport/data_folder.h"
#include "transport/process_events.h"

namespace qdtool {

const char* const ReadUsage =
    "usage: qdtool read (--port DEV | --gateway HOST[:PORT] --user U [--password-file FILE]\n"
    "                   [--system SERIAL]) [--login-code CODE] [--master-login] [-o SYSTEM.xml]\n"
    "                   [--image IMAGE.bin] [--store WHERE]\n"
    "\n"
    "Reads the system data from the controller, on the bus or through the gateway: the login code\n"
    "check, the whole 32 KiB memory, then takes it in. Writes the system file and/or the raw image.\n"
    "Every read also leaves a backup of the image and its system file ('qdtool backups' lists them)\n"
    "and is recorded in the history store ('qdtool sites', 'qdtool history').\n"
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
    "  --verbose           print the link's byte counters at the end\n"
    "  --store WHERE       the history store: an SQLite file or postgresql://[USER@]HOST[:PORT]/DATABASE\n";

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

using qd::link::TransferOutcome;

// A transfer over the bus or through the gateway with the command line's environment.
class TransferRunner {
 public:
  TransferRunner(qd::WorkingConfig& config, std::string loginCode, const Target& target, int blockDelayMs = 0)
      : userLoginCode_(std::move(loginCode)),
        blockDelayMs_(blockDelayMs),
        link_(target),
        transfer(config, MakeEnvironment(config)) {
    transfer.events.error = [this](const std::string& text) { error = text; };
    qd::link::Dispatcher::Handlers& handlers = link_.Link().Dispatch().handlers;
    handlers.transferReply = [this](qd::link::PayloadView frame) { transfer.OnBusReply(frame); };
    handlers.remoteSystemData = [this](auto message) { transfer.OnGatewayData(message); };
    handlers.remoteWriteResult = [this](auto message) { transfer.OnGatewayWriteResult(message); };
    // A lost port or connection ends the transfer at once.
    QObject::connect(&link_.Link(), &qd::transport::Connection::ConnectionLost, &link_,
                     [this] { transfer.ConnectionLost(); });
    QObject::connect(&link_.Link(), &qd::transport::Connection::Ticked, &link_, [this] { OnTick(); });
  }

  void Open() { link_.Open(); }
  ControllerLink& Link() { return link_; }
  bool Local() const { return link_.Local(); }

  // Runs the event loop until the transfer has ended (and, `flushQueue`, its last request went out);
  // false when the port or the connection was lost.
  bool RunToEnd(bool flushQueue = false) {
    return link_.RunUntil([this, flushQueue] {
      return !qd::link::IsBusy(transfer.State()) &&
             !(flushQueue && Local() && link_.Link().Link().RequestQueued());
    });
  }
  // The transfer refused at once: another operation, or the login code check on the bus.
  bool Refused() const {
    switch (transfer.Outcome()) {
      case TransferOutcome::ControllerBusy:
      case TransferOutcome::NoLoginResponse:
      case TransferOutcome::Cancelled:
        return true;
      case TransferOutcome::WrongLoginCode:
        return Local();
      default:
        return false;
    }
  }

  void EndProgress() {
    if (progressShown_) std::fputc('\n', stderr);
    progressShown_ = false;
  }

  std::function<void()> onTick;

 private:
  qd::link::SystemTransfer::Environment MakeEnvironment(const qd::WorkingConfig& config) {
    qd::link::SystemTransfer::Environment env = link_.Link().TransferEnvironment();
    env.masterLoginMode = [&config] { return config.masterLoginMode; };
    env.userLoginCode = [this] { return userLoginCode_; };
    // The socket hands its bytes over while the command waits between blocks.
    env.pauseBetweenBlocks = [this] { qd::transport::ProcessEventsFor(blockDelayMs_); };
    return env;
  }

  void OnTick() {
    transfer.Tick();
    if (onTick) onTick();
    if (!isatty(STDERR_FILENO) || !qd::link::IsBusy(transfer.State())) return;
    std::fprintf(stderr, "\r%s %s   ", transfer.View().statusText.c_str(),
                 transfer.View().progressText.c_str());
    progressShown_ = true;
  }

  std::string userLoginCode_;
  int blockDelayMs_;
  ControllerLink link_;
  bool progressShown_ = false;

 public:
  qd::link::SystemTransfer transfer;
  std::string error;
};

std::string LoginCodeOption(const Arguments& arguments) {
  return arguments.Value("login-code").value_or(qd::DefaultLoginCode);
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
  TransferRunner runner(config, options.loginCode, target);
  runner.Open();

  std::optional<qd::ParseResult> parsed;
  runner.transfer.events.imageRead = [&parsed](const qd::ParseResult& result) { parsed = result; };
  runner.transfer.Read();
  if (runner.Refused()) throw Failure(runner.error);
  runner.RunToEnd();
  runner.EndProgress();
  if (options.verbose) runner.Link().PrintCounters();
  const qd::link::TransferView& view = runner.transfer.View();
  switch (runner.transfer.Outcome()) {
    case TransferOutcome::ReadCompleted:
    case TransferOutcome::BadFormat:
    case TransferOutcome::WrongLoginCode:
      if (parsed) return {*parsed, runner.error, view.statusText};
      break;
    case TransferOutcome::ConnectionLost:
      throw Failure(runner.Link().LostText() + " during the read");
    default:
      break;
  }
  if (runner.Link().Lost()) throw Failure(runner.Link().LostText() + " during the read");
  throw Failure(!view.stateInfo.empty() ? view.stateInfo : view.statusText);
}

// Every image a read took in is kept as a backup and in the history store; neither failing fails the read.
void KeepRead(const qd::WorkingConfig& config, const std::string& store) {
  const qd::LocalDateTime now = qd::LocalDateTime::Now();
  const std::filesystem::path folder = qd::transport::BackupFolder().toStdString();
  const auto stored = qd::review::StoreBackup(folder, config, now);
  if (!stored.result.ok)
    std::fprintf(stderr, "qdtool: no backup of the read: %s\n", stored.result.error.c_str());
  const EventLoopApp app;
  const QString recorded = qd::store::RecordRead(config.image, now, QString::fromStdString(store));
  if (!recorded.isEmpty())
    std::fprintf(stderr, "qdtool: the read is not in the history store: %s\n",
                 recorded.toStdString().c_str());
}

}  // namespace

void ReadFromController(qd::WorkingConfig& config, const Target& target, const ReadOptions& options) {
  const ReadOutcome outcome = RunControllerRead(config, target, options);
  if (!outcome.parsed.ok) throw Failure(outcome.parsed.error);
  if (!outcome.error.empty()) throw Failure(outcome.error);
  KeepRead(config, options.store);
}

int RunRead(const std::vector<std::string>& args) {
  const Arguments arguments(args, WithTargetOptions({"login-code", "output", "image", StoreOption}),
                            {"master-login", "verbose"});
  if (arguments.Help()) {
    std::fputs(ReadUsage, stdout);
    return 0;
  }
  if (!arguments.Positional().empty()) throw UsageError("read takes no file argument; use -o or --image");
  const Target target = TargetOption(arguments);

  qd::WorkingConfig config;
  const ReadOutcome outcome = RunControllerRead(config, target,
                                                {LoginCodeOption(arguments), arguments.Flag("master-login"),
                                                 arguments.Flag("verbose"), StoreGiven(arguments)});

  // A refused read is no read: the files named keep what they hold.
  if (!outcome.parsed.ok) throw Failure(outcome.parsed.error);
  if (!outcome.error.empty()) throw Failure(outcome.error);
  // The raw image as read; the system file as the editors hold it after taking the image in.
  if (const auto image = arguments.Value("image")) WriteImageFile(config.image, *image);
  if (const auto output = arguments.Value("output")) WriteSystemFileOrFail(config, *output);
  KeepRead(config, StoreGiven(arguments));
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

  TransferRunner runner(config, LoginCodeOption(arguments), target, blockDelay);
  runner.Open();
  if (!runner.Local()) {
    const qd::link::GatewaySession& session = runner.Link().Link().Session();
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
  if (runner.Refused()) throw Failure(runner.error);
  const bool kept = runner.RunToEnd(true);
  runner.EndProgress();
  if (arguments.Flag("verbose")) runner.Link().PrintCounters();
  const qd::link::TransferView& view = runner.transfer.View();
  switch (runner.transfer.Outcome()) {
    case TransferOutcome::WriteCompleted:
    case TransferOutcome::WriteConfirmed:
      if (!kept) throw Failure(runner.Link().LostText() + " during the write");
      runner.Link().Flush();
      std::fprintf(stderr, "%s\n", (runner.Local() ? view.statusText : view.progressText).c_str());
      return 0;
    case TransferOutcome::Stopped:
      if (timedOut) {
        throw Failure("Timeout! No answer from System for " + std::to_string(timeoutSeconds) + " s");
      }
      break;
    case TransferOutcome::BadConfirmChecksum:
    case TransferOutcome::ConfirmTimedOut:
      throw Failure(view.progressText);
    default:
      break;
  }
  // The remote write stops sending as soon as the connection is gone.
  if (runner.Link().Lost()) throw Failure(runner.Link().LostText() + " during the write");
  throw Failure(view.statusText.empty() ? "write not completed" : view.statusText);
}

}  // namespace qdtool
