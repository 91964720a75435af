#include "link/dispatch.h"

#include "link/gateway_codec.h"
#include "link/notify.h"

namespace qd::link {

namespace {

bool IsWanted(const std::function<bool()>& wanted) {
  return wanted && wanted();
}

}  // namespace

void Dispatcher::DispatchBusFrame(PayloadView frame) const {
  switch (frame.Command()) {
    case command::Status:
      Notify(handlers.systemStatus, frame);
      for (const MachineHandlers& machine : machines) {
        if (IsWanted(machine.wantsStatus)) Notify(machine.applyStatus, frame);
      }
      break;
    case command::MemoryData:
    case command::WriteConfirm:
      Notify(handlers.transferReply, frame);
      break;
    case command::ConsumptionLogReset:
      Notify(handlers.logResetDone);
      break;
    case command::AlarmLogCleared:
      Notify(handlers.alarmLogCleared);
      break;
    case command::MonitorReply:
      Notify(handlers.monitorReply, frame);
      break;
    default:
      break;
  }
}

void Dispatcher::DispatchGatewayMessage(std::span<const std::uint8_t> message) const {
  if (message.size() < gateway::HeaderSize) return;
  if (message[gateway::ClassOffset] == gateway::SystemClass) {
    DispatchSystemMessage(message);
    return;
  }
  if (message[gateway::ClassOffset] != gateway::GatewayClass) return;
  switch (message[gateway::CodeOffset]) {
    case gateway::SystemListEntry:
      Notify(handlers.systemListEntry, message);
      break;
    case gateway::ConnectResult:
      Notify(handlers.connectResult, message);
      break;
    case gateway::SystemAddress:
      Notify(handlers.systemAddress, message);
      break;
    case gateway::SystemData:
      Notify(handlers.remoteSystemData, message);
      break;
    case gateway::LoginRefused:
      Notify(handlers.loginRefused, message);
      break;
    default:
      break;
  }
}

void Dispatcher::DispatchSystemMessage(std::span<const std::uint8_t> message) const {
  switch (message[gateway::CodeOffset]) {
    case gateway::LogResetDone:
      Notify(handlers.logResetDone);
      break;
    case gateway::AlarmLogCleared:
      Notify(handlers.alarmLogCleared);
      break;
    case gateway::MachineResetDone:
    case gateway::AllMachinesResetDone:
      Notify(handlers.resetDone);
      break;
    case gateway::WriteResult:
      Notify(handlers.remoteWriteResult, message);
      break;
    case gateway::Status:
      DispatchRemoteStatus(message);
      break;
    default:
      break;
  }
}

void Dispatcher::DispatchRemoteStatus(std::span<const std::uint8_t> message) const {
  for (std::size_t m = 0; m < machines.size(); ++m) {
    const std::size_t offset = gateway::StatusRecordOffset + gateway::StatusRecordSize * m;
    // A short message carries no record for this machine (nor for any after it).
    if (message.size() < offset + gateway::StatusRecordSize) break;
    if (IsWanted(machines[m].wantsStatus)) {
      Notify(machines[m].applyRemoteStatus, message.subspan(offset, gateway::StatusRecordSize));
    }
  }
  if (IsWanted(handlers.systemStatusWanted)) Notify(handlers.remoteSystemStatus, message);
}

}  // namespace qd::link
