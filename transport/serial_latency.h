#pragma once

#include <QString>
#include <optional>

namespace qd::transport {

// Tests point the latency look-up at a fake sysfs tree through this variable.
inline constexpr char SysfsRootVariable[] = "QDSYSTEM_SYSFS_ROOT";
// Above this an adapter holds received bytes back long enough to slow every answer on the bus.
inline constexpr int LowLatencyTimerMs = 1;

// The sysfs tree: QDSYSTEM_SYSFS_ROOT when set, "/sys" on Linux, nothing elsewhere.
QString SysfsRoot();

// The terminal a port name leads to ("ttyUSB0"): the device as the port opens it, with symbolic links
// such as /dev/serial/by-id/... resolved. Empty for "None" and for an empty name.
QString TtyNameOf(const QString& portName);

// A USB serial adapter's latency timer: how long it holds received bytes before handing them over.
struct LatencyTimer {
  int milliseconds = 0;
  QString path;  // the sysfs file, which root may write
};

// The adapter's latency timer, from <root>/bus/usb-serial/devices/<tty>/latency_timer or through
// <root>/class/tty/<tty>/device. Nothing when the driver has none (a pty, a built-in port, another
// maker's adapter) or the file does not hold a number of milliseconds.
std::optional<LatencyTimer> FindLatencyTimer(const QString& portName, const QString& sysfsRoot = SysfsRoot());

}  // namespace qd::transport
