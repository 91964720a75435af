#include "doctor_facts.h"

#include <QDir>
#include <QSet>
#include <QTcpSocket>

#include "transport/com_port.h"
#include "transport/connection.h"
#include "transport/port_discovery.h"
#include "transport/process_events.h"

namespace qdtool {

namespace {

using namespace qd::transport;

// Joins the bus as the tools do and counts what arrives. Nothing when the port does not open.
std::optional<FramesHeard> ListenForFrames(const QString& portName, int listenMs) {
  Connection connection;
  connection.Link().EndOpenDelay();
  connection.SetPortName(portName);
  connection.SetLinkMode(true);
  if (!connection.Port().IsOpen()) return std::nullopt;
  connection.StartTicking();
  ProcessEventsFor(listenMs);
  const qd::link::LinkCounters& counters = connection.Link().Counters();
  FramesHeard heard;
  heard.listenMs = listenMs;
  heard.good = counters.framesHeard;
  heard.bad = counters.checksumErrorCount;
  heard.strayBytes = counters.strayBytes;
  connection.ClosePort();
  return heard;
}

GatewayReach ReachOf(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::HostNotFoundError:
      return GatewayReach::HostNotFound;
    case QAbstractSocket::ConnectionRefusedError:
      return GatewayReach::Refused;
    case QAbstractSocket::SocketTimeoutError:
      return GatewayReach::NoAnswer;
    default:
      return GatewayReach::Failed;
  }
}

}  // namespace

std::vector<QSerialPortInfo> SerialPorts() {
  std::vector<QSerialPortInfo> ports;
  QSet<QString> seen;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    if (seen.contains(info.portName())) continue;
    seen.insert(info.portName());
    ports.push_back(info);
  }
  return ports;
}

std::vector<QSerialPortInfo> AdapterPorts() {
  std::vector<QSerialPortInfo> adapters;
  for (const QSerialPortInfo& info : SerialPorts()) {
    if (info.hasVendorIdentifier() && info.vendorIdentifier() == FtdiVendorId) adapters.push_back(info);
  }
  return adapters;
}

PortFacts GatherPortFacts(const QString& portName, int listenMs) {
  PortFacts facts;
  const QString device = PortSystemLocation(portName);
  facts.device = device.isEmpty() ? portName : QDir::cleanPath(device);
  facts.access = device.isEmpty() ? PortAccessResult{PortAccess::NotFound, {}} : ProbePortAccess(device);
  if (facts.access.access == PortAccess::NotFound) return facts;
  if (facts.access.access == PortAccess::PermissionDenied) facts.group = DeviceGroupOf(device);
  facts.holders = ProcessesHolding(device);
  facts.lock = FindPortLock(device);
  facts.modemManager = FindProcess(QStringLiteral("ModemManager"));
  facts.ignoredByModemManager = IgnoredByModemManager(device);
  facts.latency = FindLatencyTimer(portName);
  const bool free = facts.access.access == PortAccess::Ok && facts.holders.empty() && !facts.lock;
  if (free && listenMs > 0) {
    facts.frames = ListenForFrames(portName, listenMs);
    if (!facts.frames)
      facts.access = {PortAccess::Failed, QStringLiteral("the serial port settings were refused")};
  }
  return facts;
}

GatewayFacts GatherGatewayFacts(const GatewayAddress& address, int limitMs) {
  GatewayFacts facts;
  facts.address = GatewayAddressText(address);
  facts.limitMs = limitMs;
  QTcpSocket socket;
  socket.connectToHost(address.host, address.port);
  if (socket.waitForConnected(limitMs)) {
    facts.reach = GatewayReach::Accepted;
    socket.abort();
    return facts;
  }
  facts.reach = ReachOf(socket.error());
  facts.errorText = socket.errorString();
  socket.abort();
  return facts;
}

QString GatewayAddressText(const GatewayAddress& address) {
  const QString host =
      address.host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(address.host) : address.host;
  return host + QLatin1Char(':') + QString::number(address.port);
}

}  // namespace qdtool
