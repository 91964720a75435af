#include "transport/port_discovery.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <tuple>

namespace qd::transport {

namespace {

// Sort key of a port name: whether it ends in a number, that number, then the name itself.
struct PortOrder {
  bool hasNumber = false;
  qulonglong number = 0;
  QString name;

  explicit PortOrder(const QString& portName) : name(portName) {
    qsizetype digitsFrom = portName.size();
    while (digitsFrom > 0 && portName.at(digitsFrom - 1).isDigit())
      --digitsFrom;
    if (digitsFrom < portName.size()) number = portName.mid(digitsFrom).toULongLong(&hasNumber);
  }

  bool operator<(const PortOrder& other) const {
    return std::forward_as_tuple(!hasNumber, number, name) <
           std::forward_as_tuple(!other.hasNumber, other.number, other.name);
  }
};

bool CanOpen(const QSerialPortInfo& info) {
  QSerialPort port(info);
  if (!port.open(QIODevice::ReadWrite)) return false;
  port.close();
  return true;
}

}  // namespace

QStringList SelectAdapterPorts(const std::vector<PortCandidate>& candidates) {
  std::vector<PortOrder> selected;
  QSet<QString> seen;
  for (const PortCandidate& candidate : candidates) {
    if (candidate.vendorId != FtdiVendorId || !candidate.openable || candidate.name.isEmpty()) continue;
    if (seen.contains(candidate.name)) continue;
    seen.insert(candidate.name);
    selected.emplace_back(candidate.name);
  }
  std::sort(selected.begin(), selected.end());
  if (selected.size() > static_cast<std::size_t>(MaxListedPorts))
    selected.erase(selected.begin() + MaxListedPorts, selected.end());

  QStringList names;
  names.reserve(static_cast<qsizetype>(selected.size()));
  for (const PortOrder& port : selected)
    names.append(port.name);
  return names;
}

QStringList ScanPorts() {
  std::vector<PortCandidate> candidates;
  QSet<QString> probed;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    PortCandidate candidate{info.portName(), std::nullopt, false};
    if (info.hasVendorIdentifier()) candidate.vendorId = info.vendorIdentifier();
    // Only adapters that can be listed are probed, and each only once.
    if (candidate.vendorId == FtdiVendorId && !probed.contains(candidate.name)) {
      probed.insert(candidate.name);
      candidate.openable = CanOpen(info);
    }
    candidates.push_back(std::move(candidate));
  }
  return SelectAdapterPorts(candidates);
}

PortDiscovery::PortDiscovery(QObject* parent) : QObject(parent) {}

PortDiscovery::~PortDiscovery() {
  if (worker_) worker_->wait();
}

void PortDiscovery::Start() {
  if (worker_) return;
  // A QThread rather than a bare std::thread: probing opens QSerialPorts, whose socket notifiers want
  // a thread with an event dispatcher. The result is emitted on this object's thread; a result that
  // arrives after this object is gone is discarded with it.
  worker_.reset(QThread::create([this] {
    const QStringList ports = ScanPorts();
    QMetaObject::invokeMethod(
        this, [this, ports] { emit PortsFound(ports); }, Qt::QueuedConnection);
  }));
  worker_->start();
}

}  // namespace qd::transport
