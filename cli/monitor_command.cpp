#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "app/text.h"
#include "arguments.h"
#include "commands.h"
#include "controller_link.h"
#include "event_loop.h"
#include "link/status_records.h"
#include "link/status_text.h"
#include "target_options.h"

namespace qdtool {

const char* const MonitorUsage =
    "usage: qdtool monitor (--port DEV | --gateway HOST[:PORT] --user U [--password-file FILE]\n"
    "                      [--system SERIAL]) [--count N] [--seconds S]\n"
    "\n"
    "Listens on the bus and prints one line per controller status or trigger module report heard, or\n"
    "asks the gateway for the system's status every 1.1 s and prints each answer, until N lines were\n"
    "printed, S seconds passed or the program is interrupted.\n"
    "\n"
    "  --password-file F   the gateway password is the first line of file F (keep it private:\n"
    "                      chmod 600); without it QDTOOL_PASSWORD, else a prompt on a terminal\n"
    "  --password P        the gateway password itself, which other users can see in the process\n"
    "                      list: prefer the ways above\n";

namespace {

// Prints decoded lines until enough were printed or the time is up.
class MonitorOutput {
 public:
  MonitorOutput(int count, int seconds) : count_(count), seconds_(seconds) { elapsed_.start(); }

  void Print(const std::string& line) {
    std::printf("%s\n", qd::TerminalText(line).c_str());
    std::fflush(stdout);
    ++printed_;
  }
  bool Done() const {
    return (count_ > 0 && printed_ >= count_) || (seconds_ > 0 && elapsed_.elapsed() >= 1000LL * seconds_);
  }

 private:
  int count_;
  int seconds_;
  int printed_ = 0;
  QElapsedTimer elapsed_;
};

void MonitorGateway(ControllerLink& link, MonitorOutput& output) {
  link.wantStatus = true;
  qd::link::Dispatcher::Handlers& handlers = link.Link().Dispatch().handlers;
  handlers.systemStatusWanted = [] { return true; };
  handlers.remoteSystemStatus = [&output](std::span<const std::uint8_t> message) {
    output.Print(qd::link::GatewayStatusText(qd::link::GatewayStatus(message)));
  };
  link.Open();
  if (!link.Link().Session().RemoteOnline()) throw Failure("the system is offline");
  if (!link.RunUntil([&output] { return output.Done(); })) throw Failure("the gateway closed the connection");
}

void MonitorBus(ControllerLink& link, const std::string& port, MonitorOutput& output) {
  auto print = [&output](const std::string& line) { output.Print(line); };
  qd::transport::Connection& connection = link.Link();
  connection.Dispatch().handlers.systemStatus = [&print](qd::link::PayloadView frame) {
    print(qd::link::ControllerStatusText(qd::link::ControllerStatus(frame.Bytes())));
  };
  connection.Link().handlers.triggerFrame = [&print](int, qd::link::PayloadView frame) {
    if (const auto report = qd::link::DecodeTriggerReport(frame.Bytes()))
      print(qd::link::TriggerReportText(*report));
  };
  link.Open();
  if (!link.RunUntil([&output] { return output.Done(); })) throw Failure("the port " + port + " was lost");
}

}  // namespace

int RunMonitor(const std::vector<std::string>& args) {
  const Arguments arguments(args, WithTargetOptions({"count", "seconds"}), {});
  if (arguments.Help()) {
    std::fputs(MonitorUsage, stdout);
    return 0;
  }
  const Target target = TargetOption(arguments);
  const int count = arguments.Number("count", 1, 1000000000).value_or(0);
  const int seconds = arguments.Number("seconds", 1, 1000000).value_or(0);

  const EventLoopApp app;
  MonitorOutput output(count, seconds);
  ControllerLink link(target);
  if (target.gateway) {
    MonitorGateway(link, output);
  } else {
    MonitorBus(link, *target.port, output);
  }
  return 0;
}

}  // namespace qdtool
