#include "transport/port_access.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>
#else
#include <QSerialPort>
#endif

namespace qd::transport {

#ifdef Q_OS_UNIX

namespace {

bool SessionHasGroup(gid_t group) {
  if (::getegid() == group) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int filled = ::getgroups(count, groups.data());
  for (int i = 0; i < filled; ++i) {
    if (groups[static_cast<std::size_t>(i)] == group) return true;
  }
  return false;
}

bool ListedInGroup(const group& entry) {
  const passwd* user = ::getpwuid(::geteuid());
  if (user == nullptr) return false;
  if (user->pw_gid == entry.gr_gid) return true;
  for (char** member = entry.gr_mem; member != nullptr && *member != nullptr; ++member) {
    if (std::strcmp(*member, user->pw_name) == 0) return true;
  }
  return false;
}

}  // namespace

PortAccessResult ProbePortAccess(const QString& device) {
  const QByteArray path = QFile::encodeName(device);
  const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    ::close(fd);
    return {PortAccess::Ok, {}};
  }
  const int error = errno;
  switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
      return {PortAccess::NotFound, {}};
    case EACCES:
    case EPERM:
      return {PortAccess::PermissionDenied, {}};
    case EBUSY:
      return {PortAccess::Busy, {}};
    default:
      return {PortAccess::Failed, QString::fromLocal8Bit(std::strerror(error))};
  }
}

std::optional<DeviceGroup> DeviceGroupOf(const QString& device) {
  struct stat status {};
  if (::stat(QFile::encodeName(device).constData(), &status) != 0) return std::nullopt;
  const group* entry = ::getgrgid(status.st_gid);
  if (entry == nullptr) return std::nullopt;
  DeviceGroup result{QString::fromLocal8Bit(entry->gr_name), GroupMembership::NotMember};
  if (SessionHasGroup(status.st_gid)) {
    result.membership = GroupMembership::InSession;
  } else if (ListedInGroup(*entry)) {
    result.membership = GroupMembership::NotInSession;
  }
  return result;
}

#else

PortAccessResult ProbePortAccess(const QString& device) {
  QSerialPort port(device);
  if (port.open(QIODevice::ReadWrite)) {
    port.close();
    return {PortAccess::Ok, {}};
  }
  switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
      return {PortAccess::NotFound, {}};
    case QSerialPort::PermissionError:
      // Windows reports a device open elsewhere as access denied.
      return {PortAccess::Busy, {}};
    default:
      return {PortAccess::Failed, port.errorString()};
  }
}

std::optional<DeviceGroup> DeviceGroupOf(const QString&) {
  return std::nullopt;
}

#endif

}  // namespace qd::transport
