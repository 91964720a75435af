#include <cstdio>

#include "app/cp1252_text.h"
#include "app/text.h"
#include "controller_link.h"
#include "controller_read.h"
#include "event_loop.h"
#include "history_commands.h"
#include "model/system_commands.h"

namespace qdtool {

const char* const SweepUsage =
    "usage: qdtool sweep --gateway HOST[:PORT] --user U [--password-file F] [--login-code CODE]\n"
    "                    [--master-login] [--store WHERE]\n"
    "\n"
    "Reads every system of the gateway's list that is online and not in use, one after the other, and\n"
    "records each in the history store (and leaves its backup, as every read does). A system that fails\n"
    "does not stop the sweep. Prints a line per system as it goes, then a summary; exits with 1 when\n"
    "any system that could be read failed.\n"
    "\n"
    "  --gateway HOST      gateway server (port 14011 unless HOST:PORT), with --user and the password\n"
    "  --password-file F   the gateway password is the first line of file F (keep it private: chmod\n"
    "                      600); without it QDTOOL_PASSWORD, else a prompt on a terminal\n"
    "  --login-code CODE   the user's login code (default: KMWPLTRS)\n"
    "  --master-login      skip the login code check\n";

namespace {

struct Tally {
  int read = 0;
  int offline = 0;
  int inUse = 0;
  int failed = 0;
};

// Why a listed system is not read; empty when it is.
std::string SkipReason(const qd::link::SystemEntry& entry) {
  if (entry.ipAddress == "Offline") return "offline";
  if (entry.inUse != "-") return "in use by " + qd::TerminalText(qd::Utf8OfCp1252(entry.inUse));
  return {};
}

}  // namespace

int RunSweep(const std::vector<std::string>& args) {
  const Arguments arguments(args, WithTargetOptions({"login-code", StoreOption}), {"master-login"});
  if (arguments.Help()) {
    std::fputs(SweepUsage, stdout);
    std::fputs(StoreOptionHelp, stdout);
    return 0;
  }
  if (!arguments.Positional().empty()) throw UsageError("sweep takes no argument");
  if (arguments.Value("port")) throw UsageError("sweep reads the systems of a gateway, not a port");
  if (arguments.Value("system"))
    throw UsageError("sweep reads every system; 'qdtool read --system' reads one");
  Target target = TargetOption(arguments);
  const EventLoopApp app;
  const std::vector<qd::link::SystemEntry> systems = ControllerLink(target).ListGatewaySystems();

  const ReadOptions options{arguments.Value("login-code").value_or(qd::DefaultLoginCode),
                            arguments.Flag("master-login"), false, StoreGiven(arguments)};
  Tally tally;
  const int count = static_cast<int>(systems.size());
  for (int k = 0; k < count; ++k) {
    const qd::link::SystemEntry& entry = systems[static_cast<std::size_t>(k)];
    const std::string label =
        qd::Format("[%d/%d] %s %s", k + 1, count, qd::TerminalText(entry.serial).c_str(),
                   qd::TerminalText(qd::Utf8OfCp1252(entry.name)).c_str());
    const std::string skip = SkipReason(entry);
    if (!skip.empty()) {
      ++(skip == "offline" ? tally.offline : tally.inUse);
      std::fprintf(stderr, "%s: skipped, %s\n", label.c_str(), skip.c_str());
      continue;
    }
    std::fprintf(stderr, "%s: reading\n", label.c_str());
    target.gateway->system = entry.serial;
    try {
      qd::WorkingConfig config;
      ReadFromController(config, target, options);
      ++tally.read;
      std::fprintf(stderr, "%s: read and recorded\n", label.c_str());
    } catch (const Failure& failure) {
      ++tally.failed;
      std::fprintf(stderr, "%s: failed: %s\n", label.c_str(), qd::TerminalText(failure.what()).c_str());
    }
  }
  std::printf("%d systems: %d read, %d failed, %d offline, %d in use\n", count, tally.read, tally.failed,
              tally.offline, tally.inUse);
  return tally.failed > 0 ? 1 : 0;
}

}  // namespace qdtool
