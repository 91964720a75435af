#include "model/manual_control.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qd {
namespace {

using link::ManualOutputs;

// A current-form status frame with the system outputs in bytes 6..9.
std::vector<std::uint8_t> StatusFrame(std::uint8_t pumps, std::uint16_t word) {
  std::vector<std::uint8_t> frame(link::ControllerStatus::Size, 0);
  frame[0] = 0x43;
  frame[1] = link::ControllerStatus::Size;
  frame[6] = pumps;
  frame[8] = static_cast<std::uint8_t>(word);
  frame[9] = static_cast<std::uint8_t>(word >> 8);
  return frame;
}

TEST(ManualControl, SwitchingTakesTheOutputUnderControlAndReachesTheIdleAnswer) {
  ManualOutputs manual;
  SwitchPump(manual, 3, true);
  SwitchMachineSignal(manual, 10, true);
  SwitchOutput(manual, SingleOutput::FlushDrain, true);
  SwitchOutput(manual, SingleOutput::AlarmOutput, false);
  EXPECT_EQ(manual.pumpOn, 0x04);
  EXPECT_EQ(manual.pumpControl, 0x04);
  EXPECT_EQ(manual.machineOn, 0x200);
  EXPECT_EQ(manual.machineControl, 0x200);
  EXPECT_TRUE(OutputControlled(manual, SingleOutput::AlarmOutput));
  EXPECT_FALSE(OutputOn(manual, SingleOutput::AlarmOutput));
  // Byte 9 bit 3 drain on; byte 11: bit 1 machine 10, bit 3 drain control, bit 5 alarm control.
  const std::array<std::uint8_t, 6> expected = {0x04, 0x04, 0x00, 0x0A, 0x00, 0x2A};
  EXPECT_EQ(manual.Encode(), expected);
}

TEST(ManualControl, ControlBoxHandsBackButKeepsTheWantedState) {
  ManualOutputs manual;
  SwitchPump(manual, 1, true);
  SetPumpControl(manual, 1, false);
  EXPECT_EQ(manual.pumpOn, 0x01);
  EXPECT_EQ(manual.pumpControl, 0x00);
  SetMachineSignalControl(manual, 2, true);
  EXPECT_EQ(manual.machineControl, 0x02);
  EXPECT_EQ(manual.machineOn, 0x00);
  SetOutputControl(manual, SingleOutput::FlushWater, true);
  EXPECT_TRUE(manual.flushWaterControl);
  EXPECT_FALSE(manual.flushWaterOn);
}

TEST(ManualControl, OutOfRangeNumbersChangeNothing) {
  ManualOutputs manual;
  SwitchPump(manual, 0, true);
  SwitchPump(manual, 8, true);
  SwitchMachineSignal(manual, 11, true);
  SetMachineSignalControl(manual, -1, true);
  EXPECT_EQ(manual, ManualOutputs{});
}

TEST(ManualControl, ControlledOutputsShowTheWantedStateOthersTheReport) {
  ManualOutputs manual;
  SwitchPump(manual, 1, true);                            // wanted on, reported off
  SwitchPump(manual, 2, false);                           // wanted off, reported on
  SwitchOutput(manual, SingleOutput::FlushWater, false);  // wanted off, reported on
  const auto frame =
      StatusFrame(0x46, 0x0401 | 0x0800 | 0x1000);  // pumps 2, 3, 7; machine 1; water, drain, alarm
  const OutputsShown shown = ShownOutputs(manual, link::ControllerStatus(frame));
  EXPECT_EQ(shown.pumps, 0x45);
  EXPECT_EQ(shown.machines, 0x001);
  EXPECT_FALSE(shown.flushWater);
  EXPECT_TRUE(shown.flushDrain);
  EXPECT_TRUE(shown.alarmOutput);
}

TEST(ManualControl, GatewayStatusShowsAsReportedWithoutTheAlarmOutput) {
  const std::vector<std::uint8_t> message = {'C', 'X', 0x81, 0x00, 0x02, 0x1E};
  const OutputsShown shown = ShownOutputs(link::GatewayStatus(message));
  EXPECT_EQ(shown.pumps, 0x01);
  EXPECT_EQ(shown.machines, 0x202);
  EXPECT_TRUE(shown.flushWater);
  EXPECT_TRUE(shown.flushDrain);
  EXPECT_FALSE(shown.alarmOutput);
}

TEST(ManualControl, RemoteResetMessages) {
  using Message = std::array<std::uint8_t, 4>;
  EXPECT_EQ(RemoteResetMachineMessage(0), (Message{3, '%', 0, 0}));
  EXPECT_EQ(RemoteResetMachineMessage(9), (Message{3, '%', 9, 0}));
  EXPECT_EQ(RemoteResetMachineMessage(10), (Message{3, '&', 0, 0}));
  // No entry chosen: nothing to send rather than a message without its code.
  EXPECT_FALSE(RemoteResetMachineMessage(-1));
  EXPECT_FALSE(RemoteResetMachineMessage(11));
}

TEST(ManualControl, ControllerClockText) {
  ControllerImage image;
  const std::array<std::uint8_t, 6> clock = {5, 4, 23, 31, 12, 99};  // seconds first
  std::copy(clock.begin(), clock.end(), image.bytes.begin() + layout::ControllerTime);
  EXPECT_EQ(ControllerClockText(image), "2099-12-31  23:04:05");
  image.bytes[layout::ControllerTime + 4] = 0;  // month 0
  EXPECT_EQ(ControllerClockText(image), "");
  image.bytes[layout::ControllerTime + 4] = 1;
  image.bytes[layout::ControllerTime] = 60;
  EXPECT_EQ(ControllerClockText(image), "");
}

}  // namespace
}  // namespace qd
