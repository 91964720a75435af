#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class QThread;

namespace qd::transport {

inline constexpr quint16 FtdiVendorId = 0x0403;
inline constexpr int MaxListedPorts = 50;

// One serial port as the system lists it.
struct PortCandidate {
  QString name;                     // "COM3", "ttyUSB0"
  std::optional<quint16> vendorId;  // USB vendor, when the system knows one
  bool openable = false;            // could be opened (and was closed again) at scan time
};

// The ports worth offering: FTDI adapters that could be opened, each name once, ordered by the number
// at the end of the name (COM3 before COM12, ttyUSB2 before ttyUSB10; equal numbers by name), names
// without a number last in alphabetical order; at most MaxListedPorts of them.
QStringList SelectAdapterPorts(const std::vector<PortCandidate>& candidates);

// Lists the system's serial ports, tries to open each FTDI adapter once and selects as above. Blocks
// while it probes; a port that another program holds open is left out.
QStringList ScanPorts();

// Runs one ScanPorts() on a worker thread and reports to the thread this object lives in.
class PortDiscovery : public QObject {
  Q_OBJECT

 public:
  explicit PortDiscovery(QObject* parent = nullptr);
  // Waits for a scan still running; its result is not reported any more.
  ~PortDiscovery() override;

  // Starts the scan; later calls do nothing.
  void Start();

 signals:
  void PortsFound(const QStringList& portNames);

 private:
  std::unique_ptr<QThread> worker_;
};

}  // namespace qd::transport
