#pragma once

#include <QString>
#include <optional>

namespace qd::transport {

// Whether a serial device can be opened for reading and writing right now.
enum class PortAccess {
  Ok,
  NotFound,          // no such device
  PermissionDenied,  // the device's owner, group and mode do not let this user in
  Busy,              // another program holds it exclusively
  Failed,            // any other error; the system's text says which
};

struct PortAccessResult {
  PortAccess access = PortAccess::Failed;
  QString errorText;  // the system's words, for Failed
};

// Opens the device without waiting for a carrier and without making it the controlling terminal, and
// closes it again at once. Takes no lock file, so a port merely locked by another program shows as Ok.
PortAccessResult ProbePortAccess(const QString& device);

// How the user stands with the group that owns a device.
enum class GroupMembership {
  InSession,     // this session has the group
  NotInSession,  // listed as a member, but this session started before that (log in again)
  NotMember,
};

struct DeviceGroup {
  QString name;  // "dialout"
  GroupMembership membership = GroupMembership::NotMember;
};

// The device's group and the user's standing in it. Nothing when the system cannot tell (no such
// device, no group database, not a Unix system).
std::optional<DeviceGroup> DeviceGroupOf(const QString& device);

}  // namespace qd::transport
