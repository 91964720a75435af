#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "transport/port_access.h"
#include "transport/port_holders.h"
#include "transport/serial_latency.h"

// What stops a connection to the controller, decided from facts gathered beforehand, so every
// decision can be tested without a device.
namespace qd::transport {

enum class Severity {
  Ok,       // a check passed
  Warning,  // works, but worse than it should
  Problem,  // stops a connection
};

struct Finding {
  Severity severity = Severity::Ok;
  QString text;  // what was found and what to do, in the application's language

  bool operator==(const Finding&) const = default;
};

inline constexpr int DefaultListenMs = 3000;
inline constexpr int GatewayConnectLimitMs = 5000;

// What listening on an open port heard.
struct FramesHeard {
  int good = 0;        // whole frames with a good checksum
  int bad = 0;         // whole frames with a bad one
  int strayBytes = 0;  // bytes outside any frame
  int listenMs = DefaultListenMs;
};

struct PortFacts {
  QString device;  // as shown: "/dev/ttyUSB0"
  PortAccessResult access;
  std::optional<DeviceGroup> group;           // the device's group, for a refused open
  std::vector<ProcessInfo> holders;           // other processes with the device open
  std::optional<PortLock> lock;               // a live lock file on the device
  std::optional<ProcessInfo> modemManager;    // ModemManager, when it runs
  std::optional<bool> ignoredByModemManager;  // what udev says about the device
  std::optional<LatencyTimer> latency;
  std::optional<FramesHeard> frames;  // nothing when the port was not listened to
};

// The findings for one port, in the order a user would fix them.
std::vector<Finding> DiagnosePort(const PortFacts& facts);

// No FTDI adapter among the system's serial ports.
Finding NoAdapterFound();

enum class GatewayReach { Accepted, HostNotFound, Refused, NoAnswer, Failed };

struct GatewayFacts {
  QString address;  // as shown: "HOST:PORT"
  GatewayReach reach = GatewayReach::Failed;
  QString errorText;  // the system's words, for Failed
  int limitMs = GatewayConnectLimitMs;
};

Finding DiagnoseGateway(const GatewayFacts& facts);

bool StopsConnection(const std::vector<Finding>& findings);

// "3 s", "0.5 s".
QString SecondsText(int milliseconds);

}  // namespace qd::transport
