#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "arguments.h"
#include "bus_session.h"
#include "commands.h"
#include "link/status_records.h"
#include "link/status_text.h"
#include "transport/port_discovery.h"

namespace qdtool {

const char* const MonitorUsage =
    "usage: qdtool monitor --port DEV [--count N] [--seconds S]\n"
    "\n"
    "Listens on the bus and prints one line per controller status or trigger module report heard,\n"
    "until N lines were printed, S seconds passed or the program is interrupted.\n";

const char* const PortsUsage =
    "usage: qdtool ports\n"
    "\n"
    "Lists the serial ports of USB serial adapters (FTDI) that can be opened now, one a line.\n";

int RunMonitor(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"port", "count", "seconds"}, {});
  if (arguments.Help()) {
    std::fputs(MonitorUsage, stdout);
    return 0;
  }
  const auto port = arguments.Value("port");
  if (!port || port->empty()) throw UsageError("--port is required");
  const int count = arguments.Number("count", 1, 1000000000).value_or(0);
  const int seconds = arguments.Number("seconds", 1, 1000000).value_or(0);

  const EventLoopApp app;

  BusSession session(*port);
  int printed = 0;
  auto print = [&printed](const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    ++printed;
  };
  session.Dispatch().handlers.systemStatus = [&print](qd::link::PayloadView frame) {
    print(qd::link::ControllerStatusText(qd::link::ControllerStatus(frame.Bytes())));
  };
  session.Link().handlers.triggerFrame = [&print](int, qd::link::PayloadView frame) {
    if (const auto report = qd::link::DecodeTriggerReport(frame.Bytes()))
      print(qd::link::TriggerReportText(*report));
  };
  session.Open();
  QElapsedTimer elapsed;
  elapsed.start();
  const bool portKept = session.RunUntil([&] {
    return (count > 0 && printed >= count) || (seconds > 0 && elapsed.elapsed() >= 1000LL * seconds);
  });
  if (!portKept) throw Failure("the port " + *port + " was lost");
  return 0;
}

int RunPorts(const std::vector<std::string>& args) {
  const Arguments arguments(args, {}, {});
  if (arguments.Help()) {
    std::fputs(PortsUsage, stdout);
    return 0;
  }
  if (!arguments.Positional().empty()) throw UsageError("ports takes no arguments");
  for (const QString& port : qd::transport::ScanPorts())
    std::printf("%s\n", port.toLocal8Bit().constData());
  return 0;
}

}  // namespace qdtool
