#include "ports_json.h"

#include <QJsonArray>

#include "doctor_facts.h"
#include "json_output.h"
#include "transport/port_discovery.h"

namespace qdtool {

namespace {

using namespace qd::transport;

QJsonValue Hex4OrNull(bool known, quint16 value) {
  return known ? QJsonValue(QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'))) : QJsonValue();
}

QJsonObject ProcessJson(const ProcessInfo& process) {
  return {{"pid", process.pid}, {"name", JsonTextOrNull(process.name)}};
}

const char* MembershipName(GroupMembership membership) {
  switch (membership) {
    case GroupMembership::InSession:
      return "inSession";
    case GroupMembership::NotInSession:
      return "notInSession";
    case GroupMembership::NotMember:
      break;
  }
  return "notMember";
}

// Why the port cannot be opened now; null when it can. A port that opens but that another program
// holds, or has locked, is in use.
QJsonValue ProblemJson(const PortFacts& facts) {
  switch (facts.access.access) {
    case PortAccess::Ok:
      return facts.holders.empty() && !facts.lock ? QJsonValue() : QJsonValue("inUse");
    case PortAccess::Busy:
      return "busy";
    case PortAccess::PermissionDenied:
      return "permissionDenied";
    case PortAccess::NotFound:
      return "notFound";
    case PortAccess::Failed:
      break;
  }
  return "failed";
}

QJsonObject AccessJson(const PortFacts& facts) {
  QJsonArray holders;
  for (const ProcessInfo& holder : facts.holders)
    holders.append(ProcessJson(holder));
  const QJsonValue problem = ProblemJson(facts);
  return {
      {"canOpen", problem.isNull()},
      {"problem", problem},
      {"error",
       facts.access.access == PortAccess::Failed ? JsonTextOrNull(facts.access.errorText) : QJsonValue()},
      {"holders", holders},
      {"lockFile", facts.lock ? QJsonValue(QJsonObject{{"path", facts.lock->path},
                                                       {"owner", ProcessJson(facts.lock->owner)}})
                              : QJsonValue()},
      {"group", facts.group ? QJsonValue(QJsonObject{{"name", facts.group->name},
                                                     {"membership", MembershipName(facts.group->membership)}})
                            : QJsonValue()},
      {"latencyTimerMs", facts.latency ? QJsonValue(facts.latency->milliseconds) : QJsonValue()},
  };
}

QJsonObject PortJson(const QSerialPortInfo& info) {
  const bool usb = info.hasVendorIdentifier() && info.hasProductIdentifier();
  QJsonObject port = AccessJson(GatherPortFacts(info.portName(), 0));
  port.insert("name", info.portName());
  port.insert("device", info.systemLocation());
  port.insert("usbVendorId", Hex4OrNull(usb, info.vendorIdentifier()));
  port.insert("usbProductId", Hex4OrNull(usb, info.productIdentifier()));
  port.insert("ftdi", usb && info.vendorIdentifier() == FtdiVendorId);
  port.insert("serialNumber", JsonTextOrNull(info.serialNumber()));
  port.insert("description", JsonTextOrNull(info.description()));
  port.insert("manufacturer", JsonTextOrNull(info.manufacturer()));
  return port;
}

}  // namespace

QJsonObject AdapterPortsJson(const QStringList& names) {
  QJsonArray ports;
  for (const QString& name : names)
    ports.append(QJsonObject{{"name", name}});
  return {{"ports", ports}};
}

QJsonObject PortDetailsJson(const std::vector<QSerialPortInfo>& ports) {
  QJsonArray list;
  for (const QSerialPortInfo& info : ports)
    list.append(PortJson(info));
  return {{"ports", list}};
}

}  // namespace qdtool
