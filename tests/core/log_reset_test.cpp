#include "logs/log_reset.h"

#include <gtest/gtest.h>

namespace qd::logs {
namespace {

TEST(LogResetTest, RequestsCarryTheControllerCodes) {
  EXPECT_EQ(ConsumptionLogResetRequest, 0x49);
  EXPECT_EQ(AlarmLogClearRequest, 0x4B);
  EXPECT_EQ(GatewayConsumptionLogReset, (std::array<std::uint8_t, 4>{6, 0x20, 0, 0}));
  EXPECT_EQ(GatewayAlarmLogClear, (std::array<std::uint8_t, 4>{7, 0x22, 0, 0}));
}

TEST(LogResetTest, LocalModeAlwaysUsesTheBus) {
  EXPECT_EQ(ConsumptionLogResetRoute({true, false, false}), ResetRoute::Bus);
  EXPECT_EQ(AlarmLogClearRoute({true, false, false}), ResetRoute::Bus);
  // Stale remote flags do not divert a local request.
  EXPECT_EQ(ConsumptionLogResetRoute({true, true, true}), ResetRoute::Bus);
  EXPECT_EQ(AlarmLogClearRoute({true, true, true}), ResetRoute::Bus);
}

TEST(LogResetTest, RemoteConsumptionResetNeedsTheAcceptedSystem) {
  EXPECT_EQ(ConsumptionLogResetRoute({false, true, false}), ResetRoute::Gateway);
  EXPECT_EQ(ConsumptionLogResetRoute({false, false, true}), ResetRoute::None);
  EXPECT_EQ(ConsumptionLogResetRoute({false, false, false}), ResetRoute::None);
}

TEST(LogResetTest, RemoteAlarmClearNeedsTheSystemOnline) {
  EXPECT_EQ(AlarmLogClearRoute({false, false, true}), ResetRoute::Gateway);
  EXPECT_EQ(AlarmLogClearRoute({false, true, false}), ResetRoute::None);
  EXPECT_EQ(AlarmLogClearRoute({false, false, false}), ResetRoute::None);
}

}  // namespace
}  // namespace qd::logs
