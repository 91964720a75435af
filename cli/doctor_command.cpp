#include "doctor_command.h"

#include <cstdio>

#include "arguments.h"
#include "doctor_facts.h"
#include "event_loop.h"

namespace qdtool {

const char* const DoctorUsage =
    "usage: qdtool doctor [--port DEV] [--gateway HOST[:PORT]] [--listen MS]\n"
    "\n"
    "Looks for what stops a connection to the dosing system and prints one finding a line with what to\n"
    "do: 'ok:' for a check passed, 'warning:' for what slows the link down, 'problem:' for what stops it.\n"
    "\n"
    "Without --port and --gateway it checks every FTDI adapter the system lists; --port checks that port\n"
    "instead (a name such as ttyUSB0 or COM3, or a path): whether it exists and may be opened, whether\n"
    "another program holds it or its lock file (ModemManager among them), the adapter's latency timer,\n"
    "and whether whole frames from the controller arrive within MS milliseconds (3000 unless given).\n"
    "--gateway checks that the gateway accepts a connection within 5 s (port 14011 unless given).\n"
    "\n"
    "Exit status: 0 when nothing stops a connection, 1 when something does, 2 on usage errors.\n";

namespace {

using qd::transport::Finding;
using qd::transport::Severity;

const char* PrefixOf(Severity severity) {
  switch (severity) {
    case Severity::Ok:
      return "ok";
    case Severity::Warning:
      return "warning";
    case Severity::Problem:
      break;
  }
  return "problem";
}

void Print(const std::vector<Finding>& findings) {
  for (const Finding& finding : findings)
    std::printf("%s: %s\n", PrefixOf(finding.severity), finding.text.toLocal8Bit().constData());
  std::fflush(stdout);
}

std::vector<Finding> CheckAdapters(int listenMs) {
  const std::vector<QSerialPortInfo> adapters = AdapterPorts();
  if (adapters.empty()) return {qd::transport::NoAdapterFound()};
  std::vector<Finding> findings;
  for (const QSerialPortInfo& adapter : adapters) {
    const auto port = qd::transport::DiagnosePort(GatherPortFacts(adapter.portName(), listenMs));
    findings.insert(findings.end(), port.begin(), port.end());
  }
  return findings;
}

}  // namespace

int RunDoctor(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"port", "gateway", "listen"}, {});
  if (arguments.Help()) {
    std::fputs(DoctorUsage, stdout);
    return 0;
  }
  if (!arguments.Positional().empty()) throw UsageError("doctor takes no arguments");
  const int listenMs = arguments.Number("listen", 1, 600000).value_or(qd::transport::DefaultListenMs);
  const auto port = arguments.Value("port");
  if (port && port->empty()) throw UsageError("--port wants a device");
  std::optional<qd::transport::GatewayAddress> gateway;
  if (const auto text = arguments.Value("gateway")) {
    gateway = qd::transport::ParseGatewayAddress(QString::fromStdString(*text));
    if (!gateway) throw UsageError("--gateway: not a gateway address: " + *text);
  }

  const EventLoopApp app;
  std::vector<Finding> findings;
  if (port) {
    findings = qd::transport::DiagnosePort(GatherPortFacts(QString::fromStdString(*port), listenMs));
  } else if (!gateway) {
    findings = CheckAdapters(listenMs);
  }
  Print(findings);
  if (gateway) {
    const Finding reach = qd::transport::DiagnoseGateway(GatherGatewayFacts(*gateway));
    Print({reach});
    findings.push_back(reach);
  }
  return qd::transport::StopsConnection(findings) ? 1 : 0;
}

}  // namespace qdtool
