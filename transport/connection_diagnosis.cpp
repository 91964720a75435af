#include "transport/connection_diagnosis.h"

#include <QCoreApplication>
#include <algorithm>

namespace qd::transport {

namespace {

const QString ModemManagerName = QStringLiteral("ModemManager");

Finding Ok(const QString& text) {
  return {Severity::Ok, text};
}
Finding Warning(const QString& text) {
  return {Severity::Warning, text};
}
Finding Problem(const QString& text) {
  return {Severity::Problem, text};
}

QString HolderText(const ProcessInfo& process) {
  const QString name =
      process.name.isEmpty() ? QCoreApplication::translate("ConnectionDiagnosis", "a process") : process.name;
  return QCoreApplication::translate("ConnectionDiagnosis", "%1 (pid %2)").arg(name).arg(process.pid);
}

QString PermissionAdvice(const std::optional<DeviceGroup>& group) {
  if (!group)
    return QCoreApplication::translate(
        "ConnectionDiagnosis", "ask for read and write access to the device, or install the udev rule");
  switch (group->membership) {
    case GroupMembership::NotMember:
      return QCoreApplication::translate(
                 "ConnectionDiagnosis",
                 "add yourself to the %1 group (sudo usermod -aG %1 $USER) and log in again")
          .arg(group->name);
    case GroupMembership::NotInSession:
      return QCoreApplication::translate(
                 "ConnectionDiagnosis",
                 "you are in the %1 group, but this session started before that: log in again")
          .arg(group->name);
    case GroupMembership::InSession:
      break;
  }
  return QCoreApplication::translate(
             "ConnectionDiagnosis",
             "you are in the %1 group, but the device's mode shuts the group out: install the udev rule")
      .arg(group->name);
}

Finding HolderFinding(const QString& device, const ProcessInfo& holder) {
  if (holder.name == ModemManagerName) {
    return Problem(QCoreApplication::translate("ConnectionDiagnosis",
                                               "%1: held by %2: install the udev rule or stop ModemManager")
                       .arg(device, HolderText(holder)));
  }
  return Problem(QCoreApplication::translate("ConnectionDiagnosis", "%1: held by %2: close that program")
                     .arg(device, HolderText(holder)));
}

bool IsHolder(const PortFacts& facts, qint64 pid) {
  return std::any_of(facts.holders.begin(), facts.holders.end(),
                     [pid](const ProcessInfo& holder) { return holder.pid == pid; });
}

// Who else has the port: the processes with it open, a lock file's owner, or the bare fact.
void AddHolderFindings(const PortFacts& facts, std::vector<Finding>& findings) {
  for (const ProcessInfo& holder : facts.holders)
    findings.push_back(HolderFinding(facts.device, holder));
  const bool lockedByOther = facts.lock && !IsHolder(facts, facts.lock->owner.pid);
  if (lockedByOther) {
    findings.push_back(
        Problem(QCoreApplication::translate("ConnectionDiagnosis",
                                            "%1: locked by %2 (lock file %3): close that program")
                    .arg(facts.device, HolderText(facts.lock->owner), facts.lock->path)));
  }
  if (facts.access.access == PortAccess::Busy && facts.holders.empty() && !lockedByOther) {
    findings.push_back(
        Problem(QCoreApplication::translate(
                    "ConnectionDiagnosis",
                    "%1: busy: another program has it open (one this user cannot see): close it")
                    .arg(facts.device)));
  }
  const bool modemManagerSeen =
      std::any_of(facts.holders.begin(), facts.holders.end(),
                  [](const ProcessInfo& holder) { return holder.name == ModemManagerName; });
  if (facts.modemManager && facts.ignoredByModemManager == false && !modemManagerSeen) {
    findings.push_back(
        Warning(QCoreApplication::translate(
                    "ConnectionDiagnosis",
                    "%1: %2 runs and may probe the adapter: install the udev rule or stop ModemManager")
                    .arg(facts.device, HolderText(*facts.modemManager))));
  }
}

std::optional<Finding> AccessFinding(const PortFacts& facts) {
  switch (facts.access.access) {
    case PortAccess::Ok:
      return Ok(QCoreApplication::translate("ConnectionDiagnosis", "%1: can be opened").arg(facts.device));
    case PortAccess::PermissionDenied:
      return Problem(QCoreApplication::translate("ConnectionDiagnosis", "%1: permission denied: %2")
                         .arg(facts.device, PermissionAdvice(facts.group)));
    case PortAccess::Failed:
      return Problem(
          QCoreApplication::translate("ConnectionDiagnosis",
                                      "%1: cannot be opened (%2): unplug the adapter and plug it in again")
              .arg(facts.device, facts.access.errorText));
    case PortAccess::Busy:
    case PortAccess::NotFound:
      break;
  }
  return std::nullopt;  // told by the holder findings, or before everything else
}

std::optional<Finding> LatencyFinding(const PortFacts& facts) {
  if (!facts.latency) return std::nullopt;
  const LatencyTimer& timer = *facts.latency;
  if (timer.milliseconds <= LowLatencyTimerMs)
    return Ok(QCoreApplication::translate("ConnectionDiagnosis", "%1: latency timer %2 ms")
                  .arg(facts.device)
                  .arg(timer.milliseconds));
  return Warning(
      QCoreApplication::translate("ConnectionDiagnosis",
                                  "%1: latency timer %2 ms: install the udev rule, or echo 1 | sudo tee %3")
          .arg(facts.device)
          .arg(timer.milliseconds)
          .arg(timer.path));
}

std::optional<Finding> FramesFinding(const PortFacts& facts) {
  if (!facts.frames) return std::nullopt;
  const FramesHeard& heard = *facts.frames;
  const QString seconds = SecondsText(heard.listenMs);
  if (heard.good > 0) {
    if (heard.bad == 0) {
      return Ok(QCoreApplication::translate("ConnectionDiagnosis", "%1: frames from the controller: %2 in %3")
                    .arg(facts.device)
                    .arg(heard.good)
                    .arg(seconds));
    }
    return Ok(QCoreApplication::translate("ConnectionDiagnosis",
                                          "%1: frames from the controller: %2 in %3 (%4 with a bad checksum)")
                  .arg(facts.device)
                  .arg(heard.good)
                  .arg(seconds)
                  .arg(heard.bad));
  }
  if (heard.bad > 0) {
    return Problem(QCoreApplication::translate(
                       "ConnectionDiagnosis",
                       "%1: only frames with a bad checksum (%2) within %3: check the bus wiring and "
                       "its termination")
                       .arg(facts.device)
                       .arg(heard.bad)
                       .arg(seconds));
  }
  return Problem(
      QCoreApplication::translate(
          "ConnectionDiagnosis",
          "%1: no frames from the controller within %2: check the bus wiring and that the controller is on")
          .arg(facts.device, seconds));
}

}  // namespace

std::vector<Finding> DiagnosePort(const PortFacts& facts) {
  if (facts.access.access == PortAccess::NotFound) {
    return {Problem(QCoreApplication::translate(
                        "ConnectionDiagnosis",
                        "%1: no such device: check the name; 'qdtool ports --details' lists serial ports")
                        .arg(facts.device))};
  }
  std::vector<Finding> findings;
  if (auto access = AccessFinding(facts)) findings.push_back(*access);
  AddHolderFindings(facts, findings);
  if (auto latency = LatencyFinding(facts)) findings.push_back(*latency);
  if (auto frames = FramesFinding(facts)) findings.push_back(*frames);
  return findings;
}

Finding NoAdapterFound() {
  return Problem(QCoreApplication::translate(
      "ConnectionDiagnosis",
      "no USB serial adapter found: plug the adapter in; 'qdtool ports --details' lists serial ports"));
}

Finding DiagnoseGateway(const GatewayFacts& facts) {
  switch (facts.reach) {
    case GatewayReach::Accepted:
      return Ok(QCoreApplication::translate("ConnectionDiagnosis", "%1: the gateway accepts connections")
                    .arg(facts.address));
    case GatewayReach::HostNotFound:
      return Problem(QCoreApplication::translate(
                         "ConnectionDiagnosis",
                         "%1: unreachable (host not found): check the address and the network connection")
                         .arg(facts.address));
    case GatewayReach::Refused:
      return Problem(QCoreApplication::translate(
                         "ConnectionDiagnosis",
                         "%1: refused: nothing listens there; check the address and the port (14011 "
                         "unless given)")
                         .arg(facts.address));
    case GatewayReach::NoAnswer:
      return Problem(QCoreApplication::translate(
                         "ConnectionDiagnosis",
                         "%1: no answer within %2: check the network connection and any firewall between")
                         .arg(facts.address, SecondsText(facts.limitMs)));
    case GatewayReach::Failed:
      break;
  }
  return Problem(
      QCoreApplication::translate("ConnectionDiagnosis", "%1: unreachable (%2): check the network connection")
          .arg(facts.address, facts.errorText));
}

bool StopsConnection(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& finding) { return finding.severity == Severity::Problem; });
}

QString SecondsText(int milliseconds) {
  return QString::number(milliseconds / 1000.0, 'g', 6) + QStringLiteral(" s");
}

}  // namespace qd::transport
