#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "doctor_facts.h"
#include "json_output.h"
#include "ports_json.h"
#include "transport/port_discovery.h"

namespace qdtool {

const char* const PortsUsage =
    "usage: qdtool ports [--details] [--json]\n"
    "\n"
    "Lists the serial ports of USB serial adapters (FTDI) that can be opened now, one a line.\n"
    "\n"
    "--details lists every serial port the system knows, FTDI or not, with its device, USB vendor and\n"
    "product ids, serial number, description and maker where known, whether it can be opened now (and\n"
    "why not: permission, another program holding it), and the adapter's latency timer with a warning\n"
    "when it is above 1 ms. Nothing is sent to the ports.\n"
    "\n"
    "--json prints the list as one JSON document instead (see 'man qdtool').\n";

namespace {

using namespace qd::transport;

QString Hex4(quint16 value) {
  return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

QString HoldersText(const PortFacts& facts) {
  QStringList names;
  for (const ProcessInfo& holder : facts.holders)
    names.append(QStringLiteral("%1 (pid %2)").arg(holder.name).arg(holder.pid));
  if (facts.lock && names.isEmpty())
    names.append(QStringLiteral("%1 (pid %2, lock file %3)")
                     .arg(facts.lock->owner.name)
                     .arg(facts.lock->owner.pid)
                     .arg(facts.lock->path));
  return names.join(QStringLiteral(", "));
}

QString PermissionText(const std::optional<DeviceGroup>& group) {
  if (!group) return QStringLiteral("no, permission denied");
  switch (group->membership) {
    case GroupMembership::NotMember:
      return QStringLiteral("no, permission denied (group %1, which this user is not in)").arg(group->name);
    case GroupMembership::NotInSession:
      return QStringLiteral("no, permission denied (group %1: log in again to use it)").arg(group->name);
    case GroupMembership::InSession:
      break;
  }
  return QStringLiteral("no, permission denied (group %1, mode without group access)").arg(group->name);
}

QString OpenText(const PortFacts& facts) {
  const QString holders = HoldersText(facts);
  switch (facts.access.access) {
    case PortAccess::Ok:
      return holders.isEmpty() ? QStringLiteral("yes") : QStringLiteral("no, in use by ") + holders;
    case PortAccess::Busy:
      return QStringLiteral("no, busy") +
             (holders.isEmpty() ? QString() : QStringLiteral(" (") + holders + QLatin1Char(')'));
    case PortAccess::PermissionDenied:
      return PermissionText(facts.group);
    case PortAccess::NotFound:
      return QStringLiteral("no, the device is gone");
    case PortAccess::Failed:
      break;
  }
  return QStringLiteral("no, ") + facts.access.errorText;
}

QString LatencyText(const LatencyTimer& timer) {
  QString text = QStringLiteral("%1 ms").arg(timer.milliseconds);
  if (timer.milliseconds > LowLatencyTimerMs)
    text += QStringLiteral(" (slow answers: install the udev rule or run 'qdtool doctor')");
  return text;
}

void PrintField(const char* name, const QString& value) {
  if (!value.isEmpty()) std::printf("  %-14s %s\n", name, value.toLocal8Bit().constData());
}

void PrintDetails(const QSerialPortInfo& info) {
  const PortFacts facts = GatherPortFacts(info.portName(), 0);
  std::printf("%s\n", info.portName().toLocal8Bit().constData());
  PrintField("device:", info.systemLocation());
  if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
    QString ids = Hex4(info.vendorIdentifier()) + QLatin1Char(':') + Hex4(info.productIdentifier());
    if (info.vendorIdentifier() == FtdiVendorId) ids += QStringLiteral(" (FTDI)");
    PrintField("USB ids:", ids);
  }
  PrintField("serial number:", info.serialNumber());
  PrintField("description:", info.description());
  PrintField("maker:", info.manufacturer());
  PrintField("can open:", OpenText(facts));
  if (facts.latency) PrintField("latency timer:", LatencyText(*facts.latency));
}

}  // namespace

int RunPorts(const std::vector<std::string>& args) {
  const Arguments arguments(args, {}, {"details", JsonFlag});
  if (arguments.Help()) {
    std::fputs(PortsUsage, stdout);
    return 0;
  }
  if (!arguments.Positional().empty()) throw UsageError("ports takes no arguments");
  const bool json = arguments.Flag(JsonFlag);
  if (!arguments.Flag("details")) {
    if (json) {
      PrintJson(AdapterPortsJson(ScanPorts()));
      return 0;
    }
    for (const QString& port : ScanPorts())
      std::printf("%s\n", port.toLocal8Bit().constData());
    return 0;
  }
  const std::vector<QSerialPortInfo> ports = SerialPorts();
  if (json) {
    PrintJson(PortDetailsJson(ports));
    return 0;
  }
  if (ports.empty()) std::printf("no serial ports found\n");
  bool first = true;
  for (const QSerialPortInfo& info : ports) {
    if (!first) std::printf("\n");
    first = false;
    PrintDetails(info);
  }
  return 0;
}

}  // namespace qdtool
