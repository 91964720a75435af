#include "transport/serial_latency.h"

#include <QFile>
#include <QFileInfo>

#include "transport/com_port.h"

namespace qd::transport {

namespace {

constexpr int MaxLatencyTimerMs = 255;  // the timer is one byte in the adapter

std::optional<int> ReadMilliseconds(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  bool ok = false;
  const int value = file.read(16).trimmed().toInt(&ok);
  if (!ok || value < 0 || value > MaxLatencyTimerMs) return std::nullopt;
  return value;
}

}  // namespace

QString SysfsRoot() {
  const QString fromEnvironment = qEnvironmentVariable(SysfsRootVariable);
  if (!fromEnvironment.isEmpty()) return fromEnvironment;
#ifdef Q_OS_LINUX
  return QStringLiteral("/sys");
#else
  return {};
#endif
}

QString TtyNameOf(const QString& portName) {
  const QString location = PortSystemLocation(portName);
  if (location.isEmpty()) return {};
  const QFileInfo device(location);
  const QString resolved = device.canonicalFilePath();
  return QFileInfo(resolved.isEmpty() ? location : resolved).fileName();
}

std::optional<LatencyTimer> FindLatencyTimer(const QString& portName, const QString& sysfsRoot) {
  const QString tty = TtyNameOf(portName);
  if (sysfsRoot.isEmpty() || tty.isEmpty() || tty.startsWith(QLatin1Char('.'))) return std::nullopt;
  const QString candidates[] = {
      sysfsRoot + QStringLiteral("/bus/usb-serial/devices/") + tty + QStringLiteral("/latency_timer"),
      sysfsRoot + QStringLiteral("/class/tty/") + tty + QStringLiteral("/device/latency_timer"),
  };
  for (const QString& path : candidates) {
    if (const auto milliseconds = ReadMilliseconds(path)) return LatencyTimer{*milliseconds, path};
  }
  return std::nullopt;
}

}  // namespace qd::transport
