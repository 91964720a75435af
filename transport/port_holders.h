#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qd::transport {

// Where the system tells about its processes, lock files and device properties; tests build fake trees.
struct SystemPaths {
  QString procRoot = QStringLiteral("/proc");
  QStringList lockFolders = DefaultLockFolders();
  QString udevDataRoot = QStringLiteral("/run/udev/data");

  // The folders serial programs put their UUCP lock files in, most common first.
  static QStringList DefaultLockFolders();
};

struct ProcessInfo {
  qint64 pid = 0;
  QString name;  // the command name ("ModemManager"); empty when the system does not tell

  bool operator==(const ProcessInfo&) const = default;
};

// Processes other than this one with the device open, by pid. Only those whose descriptors this user
// may read are seen (a service running as root stays hidden from a normal user). The process at the far
// end of a pseudo-terminal (holding its master) does not count.
std::vector<ProcessInfo> ProcessesHolding(const QString& device, const SystemPaths& paths = {});

// The first running process with this command name.
std::optional<ProcessInfo> FindProcess(const QString& name, const SystemPaths& paths = {});

// A UUCP lock file on the device whose owner still runs.
struct PortLock {
  QString path;
  ProcessInfo owner;
};

// The pid a lock file holds: ASCII digits, blanks around them allowed, anything after the first line
// ignored. Nothing for anything else.
std::optional<qint64> LockFilePid(const QByteArray& contents);

// The live lock on the device ("LCK..ttyUSB0"; "LCK..pts_3" for /dev/pts/3; other paths with every '/'
// as '_'). Lock files of processes that ended are stale and ignored, as the serial port ignores them.
std::optional<PortLock> FindPortLock(const QString& device, const SystemPaths& paths = {});

// Whether udev told ModemManager to leave the device alone (ID_MM_DEVICE_IGNORE=1, as the shipped rule
// sets). Nothing when udev keeps no record of the device.
std::optional<bool> IgnoredByModemManager(const QString& device, const SystemPaths& paths = {});

}  // namespace qd::transport
