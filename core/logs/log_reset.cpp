#include "logs/log_reset.h"

namespace qd::logs {

ResetRoute ConsumptionLogResetRoute(const ResetLinkState& link) {
  if (link.localMode) return ResetRoute::Bus;
  return link.remoteLoggedIn ? ResetRoute::Gateway : ResetRoute::None;
}

ResetRoute AlarmLogClearRoute(const ResetLinkState& link) {
  if (link.localMode) return ResetRoute::Bus;
  return link.remoteOnline ? ResetRoute::Gateway : ResetRoute::None;
}

}  // namespace qd::logs
