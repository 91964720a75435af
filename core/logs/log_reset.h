#pragma once

#include <array>
#include <cstdint>

#include "link/bus_payload.h"

// How the log windows ask the controller to reset its consumption log or clear its alarm history:
// on the bus a request without data, through the gateway a 4-byte message. The confirmation comes
// back through the dispatcher (logResetDone, alarmLogCleared).
namespace qd::logs {

inline constexpr std::uint8_t ConsumptionLogResetRequest = link::command::ResetConsumptionLog;
inline constexpr std::uint8_t AlarmLogClearRequest = link::command::ClearAlarmLog;
inline constexpr std::array<std::uint8_t, 4> GatewayConsumptionLogReset = {6, 0x20, 0, 0};
inline constexpr std::array<std::uint8_t, 4> GatewayAlarmLogClear = {7, 0x22, 0, 0};

// The link flags the choice depends on.
struct ResetLinkState {
  bool localMode = false;
  bool remoteLoggedIn = false;
  bool remoteOnline = false;
};

enum class ResetRoute {
  Bus,      // QueueRequest to the controller
  Gateway,  // SendGatewayMessage
  None,     // not connected: nothing is sent
};

// The consumption log goes through the gateway once the gateway accepted the system.
ResetRoute ConsumptionLogResetRoute(const ResetLinkState& link);
// The alarm log goes through the gateway while the system is online.
ResetRoute AlarmLogClearRoute(const ResetLinkState& link);

}  // namespace qd::logs
