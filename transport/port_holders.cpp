#include "transport/port_holders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

namespace qd::transport {

namespace {

constexpr qint64 MaxReadBytes = 64 * 1024;  // more than any lock file or udev record holds

QByteArray ReadSmallFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.read(MaxReadBytes);
}

QString Resolved(const QString& path) {
  const QString canonical = QFileInfo(path).canonicalFilePath();
  return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

// Pids listed under the proc root, in ascending order.
std::vector<qint64> ProcessIds(const QString& procRoot) {
  std::vector<qint64> pids;
  const QStringList entries = QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
  for (const QString& entry : entries) {
    bool ok = false;
    const qint64 pid = entry.toLongLong(&ok);
    if (ok && pid > 0) pids.push_back(pid);
  }
  std::sort(pids.begin(), pids.end());
  return pids;
}

QString ProcessName(qint64 pid, const QString& procRoot) {
  return QString::fromLocal8Bit(
      ReadSmallFile(procRoot + QLatin1Char('/') + QString::number(pid) + QStringLiteral("/comm")).trimmed());
}

// The number of a pseudo-terminal's slave ("/dev/pts/3": 3).
std::optional<int> PtyNumber(const QString& device) {
  static const QString prefix = QStringLiteral("/dev/pts/");
  if (!device.startsWith(prefix)) return std::nullopt;
  bool ok = false;
  const int number = device.mid(prefix.size()).toInt(&ok);
  return ok ? std::optional<int>(number) : std::nullopt;
}

// Whether the descriptor is the master side of pseudo-terminal `number` (its fdinfo names the index).
bool IsPtyMaster(const QString& fdFolder, const QString& descriptor, const QString& target, int number) {
  if (target != QStringLiteral("/dev/ptmx") && target != QStringLiteral("/dev/pts/ptmx")) return false;
  const QString info = QFileInfo(fdFolder).path() + QStringLiteral("/fdinfo/") + descriptor;
  for (const QByteArray& line : ReadSmallFile(info).split('\n')) {
    if (line.startsWith("tty-index:")) return line.mid(10).trimmed().toInt() == number;
  }
  return false;
}

// Whether the process has the device open. The far end of a pseudo-terminal (the process with its
// master) is no holder, even when it keeps the slave open as well.
bool Holds(qint64 pid, const QString& device, const QString& procRoot) {
  const QString fdFolder = procRoot + QLatin1Char('/') + QString::number(pid) + QStringLiteral("/fd");
  const QStringList descriptors = QDir(fdFolder).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
  const std::optional<int> pty = PtyNumber(device);
  bool opened = false;
  for (const QString& descriptor : descriptors) {
    const QString target = QFileInfo(fdFolder + QLatin1Char('/') + descriptor).symLinkTarget();
    if (target == device) opened = true;
    if (pty && IsPtyMaster(fdFolder, descriptor, target, *pty)) return false;
  }
  return opened;
}

bool IsRunning(qint64 pid, const QString& procRoot) {
  return QFileInfo(procRoot + QLatin1Char('/') + QString::number(pid)).isDir();
}

// The name a lock file takes for a device path: "/dev/" left out, every '/' as '_'.
QString LockName(QString path) {
  if (path.startsWith(QStringLiteral("/dev/"))) path = path.mid(5);
  path.replace(QLatin1Char('/'), QLatin1Char('_'));
  return QStringLiteral("LCK..") + path;
}

}  // namespace

QStringList SystemPaths::DefaultLockFolders() {
  return {QStringLiteral("/var/lock"),       QStringLiteral("/run/lock"), QStringLiteral("/var/spool/locks"),
          QStringLiteral("/var/spool/uucp"), QStringLiteral("/tmp"),      QStringLiteral("/var/tmp")};
}

std::vector<ProcessInfo> ProcessesHolding(const QString& device, const SystemPaths& paths) {
  const QString target = Resolved(device);
  const qint64 self = QCoreApplication::applicationPid();
  std::vector<ProcessInfo> holders;
  for (const qint64 pid : ProcessIds(paths.procRoot)) {
    if (pid != self && Holds(pid, target, paths.procRoot))
      holders.push_back({pid, ProcessName(pid, paths.procRoot)});
  }
  return holders;
}

std::optional<ProcessInfo> FindProcess(const QString& name, const SystemPaths& paths) {
  for (const qint64 pid : ProcessIds(paths.procRoot)) {
    if (ProcessName(pid, paths.procRoot) == name) return ProcessInfo{pid, name};
  }
  return std::nullopt;
}

std::optional<qint64> LockFilePid(const QByteArray& contents) {
  const QByteArray firstLine = contents.left(contents.indexOf('\n')).trimmed();
  if (firstLine.isEmpty()) return std::nullopt;
  for (const char c : firstLine) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  bool ok = false;
  const qint64 pid = firstLine.toLongLong(&ok);
  if (!ok || pid <= 0) return std::nullopt;
  return pid;
}

std::optional<PortLock> FindPortLock(const QString& device, const SystemPaths& paths) {
  QStringList names{LockName(QFileInfo(device).absoluteFilePath())};
  const QString resolvedName = LockName(Resolved(device));
  if (!names.contains(resolvedName)) names.append(resolvedName);
  for (const QString& folder : paths.lockFolders) {
    for (const QString& name : names) {
      const QString path = folder + QLatin1Char('/') + name;
      const auto pid = LockFilePid(ReadSmallFile(path));
      if (pid && IsRunning(*pid, paths.procRoot))
        return PortLock{path, {*pid, ProcessName(*pid, paths.procRoot)}};
    }
  }
  return std::nullopt;
}

std::optional<bool> IgnoredByModemManager([[maybe_unused]] const QString& device,
                                          [[maybe_unused]] const SystemPaths& paths) {
#ifdef Q_OS_LINUX
  struct stat status {};
  if (::stat(QFile::encodeName(device).constData(), &status) != 0 || !S_ISCHR(status.st_mode))
    return std::nullopt;
  const QString record =
      paths.udevDataRoot + QStringLiteral("/c%1:%2").arg(major(status.st_rdev)).arg(minor(status.st_rdev));
  QFile file(record);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QList<QByteArray> lines = file.read(MaxReadBytes).split('\n');
  return lines.contains("E:ID_MM_DEVICE_IGNORE=1");
#else
  return std::nullopt;
#endif
}

}  // namespace qd::transport
