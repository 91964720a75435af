#include "link/machine_status_view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "link/bus_payload.h"
#include "model/trigger_settings.h"

namespace qd::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int Machine = 2;  // machine 3, trigger address 5

// A current-form (64-byte) status frame with `record` as this machine's record.
Bytes CurrentStatus(const Bytes& record) {
  Bytes frame(ControllerStatus::Size, 0);
  frame[0] = command::Status;
  frame[1] = ControllerStatus::Size;
  for (std::size_t i = 0; i < record.size(); ++i)
    frame[ControllerStatus::MachineOffset + MachineStatus::Size * Machine + i] = record[i];
  return frame;
}

// An older-form (44-byte) status frame with the 3-byte `record` of this machine.
Bytes OlderStatus(const Bytes& record) {
  Bytes frame(ControllerStatus::OlderSize, 0);
  frame[0] = command::Status;
  frame[1] = ControllerStatus::OlderSize;
  for (std::size_t i = 0; i < record.size(); ++i)
    frame[ControllerStatus::MachineOffset + ControllerStatus::OlderMachineSize * Machine + i] = record[i];
  return frame;
}

TriggerReport Report(std::uint8_t inputsByte, std::uint8_t value,
                     std::uint8_t command = command::TriggerReport, Bytes status = {}) {
  Bytes data = {inputsByte, 0, value};
  data.insert(data.end(), status.begin(), status.end());
  const Bytes payload = MakePayload(command, 1, ControllerAddress, FirstTriggerAddress + Machine, data);
  return DecodeTriggerReport(payload).value();
}

int VisibleWeights(const MachineStatusView& view) {
  int count = 0;
  for (int i = 0; i < MachineStatusView::InputCount; ++i)
    count += view.Weight(i).visible ? 1 : 0;
  return count;
}

// ---- Controller status ----

TEST(MachineStatusViewController, RunningProgramMovesTheHighlightOnlyWhenItChanges) {
  MachineStatusView view;
  EXPECT_EQ(view.RunningProgram(), -1);

  auto update = view.ApplyControllerStatus(ControllerStatus(CurrentStatus({7, 3})), Machine, 1);
  EXPECT_TRUE(update.highlightChanged);
  EXPECT_EQ(view.RunningProgram(), 2);
  ASSERT_TRUE(update.runningLine.has_value());
  EXPECT_EQ(*update.runningLine, (MachineStatusView::RunningLineReport{2, 7}));

  // The same program again: no highlight change, but its editor still hears the running line.
  update = view.ApplyControllerStatus(ControllerStatus(CurrentStatus({8, 3})), Machine, 1);
  EXPECT_FALSE(update.highlightChanged);
  EXPECT_EQ(update.runningLine->line, 8);

  // Bits 6 and 7 of the line byte are not the line; no line or one past the program reports none.
  update = view.ApplyControllerStatus(ControllerStatus(CurrentStatus({0xC5, 3})), Machine, 1);
  EXPECT_EQ(update.runningLine->line, 5);
  for (std::uint8_t none : {0, 25, 0x40}) {
    update = view.ApplyControllerStatus(ControllerStatus(CurrentStatus({none, 3})), Machine, 1);
    EXPECT_FALSE(update.runningLine.has_value()) << int(none);
  }

  // Bits 5..7 of the program byte are carried along, not part of the number.
  update = view.ApplyControllerStatus(ControllerStatus(CurrentStatus({8, 0x63})), Machine, 1);
  EXPECT_FALSE(update.highlightChanged);
  EXPECT_EQ(view.RunningProgram(), 2);
}

TEST(MachineStatusViewController, ProgramZeroOrAboveSixRemovesTheHighlightOnce) {
  for (std::uint8_t none : {0, 7, 31}) {
    MachineStatusView view;
    view.ApplyControllerStatus(ControllerStatus(CurrentStatus({1, 6})), Machine, 1);
    ASSERT_EQ(view.RunningProgram(), 5);

    auto update = view.ApplyControllerStatus(ControllerStatus(CurrentStatus({1, none})), Machine, 1);
    EXPECT_TRUE(update.highlightChanged) << int(none);
    EXPECT_EQ(view.RunningProgram(), -1);
    EXPECT_FALSE(update.runningLine.has_value());

    update = view.ApplyControllerStatus(ControllerStatus(CurrentStatus({1, none})), Machine, 1);
    EXPECT_FALSE(update.highlightChanged) << int(none);
  }
}

TEST(MachineStatusViewController, KeyboardCaptionFollowsTheLockedBit) {
  MachineStatusView view;
  EXPECT_EQ(view.GroupCaption(), " Program ");
  view.ApplyControllerStatus(ControllerStatus(CurrentStatus({0, 0, 0x04})), Machine, 1);
  EXPECT_EQ(view.GroupCaption(), " Program, Keyboard locked ");
  view.ApplyControllerStatus(ControllerStatus(CurrentStatus({0, 0, 0x00})), Machine, 1);
  EXPECT_EQ(view.GroupCaption(), " Program ");
}

TEST(MachineStatusViewController, EthernetTriggerShowsPercentOnlineAndInputs) {
  MachineStatusView view;
  view.ApplyControllerStatus(ControllerStatus(CurrentStatus({0, 0, 0x01, 0x24, 80})), Machine,
                             trigger::TypeMieleEthernet);
  EXPECT_EQ(view.Weight(0), (MachineStatusView::WeightLabel{true, "80%"}));
  EXPECT_TRUE(view.TriggerOnlineShown());
  EXPECT_EQ(view.Inputs(), 0x24);
  EXPECT_TRUE(view.InputActive(2));
  EXPECT_TRUE(view.InputActive(5));
  EXPECT_FALSE(view.InputActive(0));
  // A controller status does not keep the indicators alive.
  EXPECT_EQ(view.HoldTime(), 0);

  view.ApplyControllerStatus(ControllerStatus(CurrentStatus({0, 0, 0x00, 0x00, 0})), Machine,
                             trigger::TypeMieleEthernet);
  EXPECT_FALSE(view.TriggerOnlineShown());
  EXPECT_EQ(view.Inputs(), 0);
  EXPECT_EQ(view.Weight(0).text, "0%");
}

TEST(MachineStatusViewController, OtherTriggerTypesIgnoreThePercentAndInputs) {
  MachineStatusView view;
  view.ApplyControllerStatus(ControllerStatus(CurrentStatus({0, 0, 0x01, 0x3F, 80})), Machine,
                             trigger::TypeMieleLogic);
  EXPECT_EQ(VisibleWeights(view), 0);
  EXPECT_FALSE(view.TriggerOnlineShown());
  EXPECT_EQ(view.Inputs(), 0);
}

TEST(MachineStatusViewController, OlderFormMovesHighlightAndCaptionButNotPercentOrInputs) {
  MachineStatusView view;
  // Record: line 4, program 2, online and keyboard locked.
  const auto update = view.ApplyControllerStatus(ControllerStatus(OlderStatus({4, 2, 0x05})), Machine,
                                                 trigger::TypeMieleEthernet);
  EXPECT_TRUE(update.highlightChanged);
  EXPECT_EQ(view.RunningProgram(), 1);
  EXPECT_EQ(update.runningLine->line, 4);
  EXPECT_TRUE(view.KeyboardLocked());
  EXPECT_EQ(VisibleWeights(view), 0);
  EXPECT_EQ(view.Weight(0).text, "75%");
  EXPECT_FALSE(view.TriggerOnlineShown());
  EXPECT_EQ(view.Inputs(), 0);
}

TEST(MachineStatusViewController, ReadsOnlyItsOwnMachinesRecord) {
  MachineStatusView view;
  Bytes frame = CurrentStatus({});
  frame[ControllerStatus::MachineOffset + MachineStatus::Size * (Machine + 1) + 1] = 4;
  frame[ControllerStatus::MachineOffset + MachineStatus::Size * (Machine + 1) + 2] = 0x04;
  view.ApplyControllerStatus(ControllerStatus(frame), Machine, 1);
  EXPECT_EQ(view.RunningProgram(), -1);
  EXPECT_FALSE(view.KeyboardLocked());
}

// ---- Trigger reports ----

TEST(MachineStatusViewTrigger, ReportShowsTriggerAndInputsAndHoldsThemFiftyTicks) {
  MachineStatusView view;
  view.ApplyTriggerReport(Report(0x05, 0), trigger::TypeQd520);
  EXPECT_TRUE(view.TriggerOnlineShown());
  EXPECT_TRUE(view.InputActive(0));
  EXPECT_FALSE(view.InputActive(1));
  EXPECT_TRUE(view.InputActive(2));
  EXPECT_EQ(view.HoldTime(), MachineStatusView::HoldTicks);
  EXPECT_EQ(VisibleWeights(view), 0);
}

TEST(MachineStatusViewTrigger, NyborgShowsTheWeightAtTheLowestActiveInput) {
  MachineStatusView view;
  view.ApplyTriggerReport(Report(0x06, 20), trigger::TypeNyborgW3);
  EXPECT_EQ(view.WeightIndex(), 1);
  EXPECT_EQ(view.Weight(1), (MachineStatusView::WeightLabel{true, "10.0kg"}));
  EXPECT_EQ(VisibleWeights(view), 1);

  // Another input: the old label goes, the new one shows.
  view.ApplyTriggerReport(Report(0x10, 15), trigger::TypeNyborgHs);
  EXPECT_EQ(view.WeightIndex(), 4);
  EXPECT_FALSE(view.Weight(1).visible);
  EXPECT_EQ(view.Weight(4).text, "7.5kg");
  EXPECT_EQ(VisibleWeights(view), 1);
}

TEST(MachineStatusViewTrigger, NyborgKeepsTheLastWeightWhenNoInputIsActive) {
  MachineStatusView view;
  view.ApplyTriggerReport(Report(0x01, 33), trigger::TypeNyborgW3);
  view.ApplyTriggerReport(Report(0x00, 99), trigger::TypeNyborgW3);
  EXPECT_EQ(view.WeightIndex(), 0);
  EXPECT_EQ(view.StoredWeight(), 33);
  EXPECT_EQ(view.Weight(0), (MachineStatusView::WeightLabel{true, "16.5kg"}));
  EXPECT_FALSE(view.InputActive(0));
}

TEST(MachineStatusViewTrigger, NyborgBitFiveHidesEveryWeightAlthoughInputSixIsActive) {
  MachineStatusView view;
  view.ApplyTriggerReport(Report(0x02, 40), trigger::TypeNyborgW3);
  view.ApplyTriggerReport(Report(0x22, 40), trigger::TypeNyborgW3);
  EXPECT_EQ(VisibleWeights(view), 0);
  EXPECT_EQ(view.WeightIndex(), -1);
  EXPECT_TRUE(view.InputActive(5));
}

TEST(MachineStatusViewTrigger, WeightUsesTheGivenDecimalSeparator) {
  MachineStatusView comma(',');
  comma.ApplyTriggerReport(Report(0x01, 255), trigger::TypeNyborgW3);
  EXPECT_EQ(comma.Weight(0).text, "127,5kg");

  MachineStatusView point('.');
  point.ApplyTriggerReport(Report(0x01, 255), trigger::TypeNyborgW3);
  EXPECT_EQ(point.Weight(0).text, "127.5kg");

  point.SetDecimalSeparator(',');
  point.ApplyTriggerReport(Report(0x01, 1), trigger::TypeNyborgW3);
  EXPECT_EQ(point.Weight(0).text, "0,5kg");
}

TEST(MachineStatusViewTrigger, ElectroluxShowsInputSixWeightOnlyWithBitFive) {
  MachineStatusView view;
  view.ApplyTriggerReport(Report(0x21, 14), trigger::TypeElectrolux);
  EXPECT_EQ(view.Weight(5), (MachineStatusView::WeightLabel{true, "7.0kg"}));
  EXPECT_EQ(VisibleWeights(view), 1);
  EXPECT_EQ(view.WeightIndex(), -1);

  view.ApplyTriggerReport(Report(0x21, 0), trigger::TypeElectrolux);
  EXPECT_EQ(VisibleWeights(view), 0);

  view.ApplyTriggerReport(Report(0x21, 14), trigger::TypeElectrolux);
  view.ApplyTriggerReport(Report(0x01, 14), trigger::TypeElectrolux);
  EXPECT_EQ(VisibleWeights(view), 0);
}

TEST(MachineStatusViewTrigger, MieleLogicPercentIsShownForOneToTwoHundred) {
  MachineStatusView view;
  view.ApplyTriggerReport(Report(0x01, 200), trigger::TypeMieleLogic);
  EXPECT_EQ(view.Weight(0), (MachineStatusView::WeightLabel{true, "200%"}));
  view.ApplyTriggerReport(Report(0x01, 201), trigger::TypeMieleLogic);
  EXPECT_FALSE(view.Weight(0).visible);
  view.ApplyTriggerReport(Report(0x01, 1), trigger::TypeMieleLogic);
  EXPECT_EQ(view.Weight(0), (MachineStatusView::WeightLabel{true, "1%"}));
  view.ApplyTriggerReport(Report(0x01, 0), trigger::TypeMieleLogic);
  EXPECT_FALSE(view.Weight(0).visible);
  EXPECT_EQ(VisibleWeights(view), 0);
}

TEST(MachineStatusViewTrigger, OtherTypesShowNoWeight) {
  for (int type : {trigger::TypeNone, trigger::TypeQd520, trigger::TypeNortec, trigger::TypeMieleEthernet}) {
    MachineStatusView view;
    view.ApplyTriggerReport(Report(0x01, 50), type);
    EXPECT_EQ(VisibleWeights(view), 0) << type;
  }
}

TEST(MachineStatusViewTrigger, StatusReportShowsKeyboardAndSerialAndHandsOverTheModule) {
  MachineStatusView view;
  auto update = view.ApplyTriggerReport(Report(0, 0, command::TriggerStatusReport, {0x32, 0x41, 9}),
                                        trigger::TypeNyborgW3);
  ASSERT_TRUE(update.module.has_value());
  EXPECT_EQ(update.module->kind, TriggerModuleStatus::KindQD740);
  EXPECT_EQ(update.module->firmwareVersion, 0x41);
  EXPECT_TRUE(view.KeyboardConnectedShown());
  EXPECT_TRUE(view.SerialConnectionShown());

  update = view.ApplyTriggerReport(Report(0, 0, command::TriggerStatusReport, {0x01, 0x12, 0}),
                                   trigger::TypeQd520);
  EXPECT_EQ(update.module->kind, TriggerModuleStatus::KindQD520);
  EXPECT_FALSE(view.KeyboardConnectedShown());
  EXPECT_FALSE(view.SerialConnectionShown());

  // A plain report leaves "K" and "S" and the module alone.
  view.ApplyTriggerReport(Report(0, 0, command::TriggerStatusReport, {0x30, 0x12, 0}), trigger::TypeQd520);
  update = view.ApplyTriggerReport(Report(0, 0), trigger::TypeQd520);
  EXPECT_FALSE(update.module.has_value());
  EXPECT_TRUE(view.KeyboardConnectedShown());
}

TEST(MachineStatusViewTrigger, ShortStatusReportReadsTheMissingBytesAsZero) {
  MachineStatusView view;
  view.ApplyTriggerReport(Report(0, 0, command::TriggerStatusReport, {0x30, 0x12, 0}), trigger::TypeQd520);
  const auto update = view.ApplyTriggerReport(Report(0, 0, command::TriggerStatusReport), trigger::TypeQd520);
  EXPECT_EQ(update.module, TriggerModuleStatus{});
  EXPECT_FALSE(view.KeyboardConnectedShown());
}

// ---- Hold time ----

TEST(MachineStatusViewHold, IndicatorsGoStaleFiftyTicksAfterTheLastReport) {
  MachineStatusView view;
  view.ApplyTriggerReport(Report(0, 0, command::TriggerStatusReport, {0x32, 0x41, 0}), trigger::TypeNyborgW3);
  view.ApplyControllerStatus(ControllerStatus(CurrentStatus({0, 1, 0x04})), Machine, 1);
  for (int i = 0; i < MachineStatusView::HoldTicks - 1; ++i)
    ASSERT_FALSE(view.Tick()) << i;
  EXPECT_TRUE(view.TriggerOnlineShown());
  EXPECT_TRUE(view.KeyboardLocked());

  EXPECT_TRUE(view.Tick());
  EXPECT_FALSE(view.TriggerOnlineShown());
  EXPECT_FALSE(view.KeyboardConnectedShown());
  EXPECT_FALSE(view.SerialConnectionShown());
  EXPECT_EQ(view.GroupCaption(), " Program ");
  // The highlight is the controller's business and stays.
  EXPECT_EQ(view.RunningProgram(), 0);
  EXPECT_FALSE(view.Tick());
}

TEST(MachineStatusViewHold, EveryReportStartsTheHoldTimeAgain) {
  MachineStatusView view;
  view.ApplyTriggerReport(Report(0, 0), trigger::TypeQd520);
  for (int i = 0; i < 30; ++i)
    view.Tick();
  view.ApplyGatewayRecord(MachineStatus::FromGatewayRecord(Bytes{0, 0, 0x01, 0}));
  for (int i = 0; i < MachineStatusView::HoldTicks - 1; ++i)
    ASSERT_FALSE(view.Tick());
  EXPECT_TRUE(view.Tick());
}

TEST(MachineStatusViewHold, ControllerStatusAloneDoesNotKeepTheIndicatorsAlive) {
  MachineStatusView view;
  view.ApplyTriggerReport(Report(0, 0), trigger::TypeQd520);
  for (int i = 0; i < MachineStatusView::HoldTicks - 1; ++i) {
    view.ApplyControllerStatus(ControllerStatus(CurrentStatus({0, 0, 0x01})), Machine,
                               trigger::TypeMieleEthernet);
    view.Tick();
  }
  EXPECT_TRUE(view.Tick());
}

// ---- Gateway records ----

TEST(MachineStatusViewGateway, OnlineRecordShowsEveryIndicator) {
  MachineStatusView view;
  const auto update =
      view.ApplyGatewayRecord(MachineStatus::FromGatewayRecord(Bytes{9, 4, 0x0F, 0x11, 7, 7}));
  EXPECT_TRUE(view.TriggerOnlineShown());
  EXPECT_TRUE(view.KeyboardConnectedShown());
  EXPECT_TRUE(view.SerialConnectionShown());
  EXPECT_TRUE(view.KeyboardLocked());
  EXPECT_EQ(view.Inputs(), 0x11);
  EXPECT_EQ(view.RunningProgram(), 3);
  EXPECT_TRUE(update.highlightChanged);
  EXPECT_EQ(*update.runningLine, (MachineStatusView::RunningLineReport{3, 9}));
  EXPECT_EQ(view.HoldTime(), MachineStatusView::HoldTicks);
}

TEST(MachineStatusViewGateway, OfflineRecordHidesIndicatorsButKeepsTheKeyboardCaption) {
  MachineStatusView view;
  view.ApplyGatewayRecord(MachineStatus::FromGatewayRecord(Bytes{0, 0, 0x0F, 0x3F}));
  view.ApplyGatewayRecord(MachineStatus::FromGatewayRecord(Bytes{0, 2, 0x0E, 0x3F}));
  EXPECT_FALSE(view.TriggerOnlineShown());
  EXPECT_FALSE(view.KeyboardConnectedShown());
  EXPECT_FALSE(view.SerialConnectionShown());
  EXPECT_EQ(view.Inputs(), 0);
  EXPECT_TRUE(view.KeyboardLocked());
  EXPECT_EQ(view.RunningProgram(), 1);
}

// ---- Window events ----

TEST(MachineStatusViewWindow, ShowTriggerTypeAndClearHideTheWeights) {
  MachineStatusView view;
  view.ApplyControllerStatus(ControllerStatus(CurrentStatus({0, 2})), Machine, 1);
  view.ApplyTriggerReport(Report(0x04, 10), trigger::TypeNyborgW3);
  view.HideWeights();
  EXPECT_EQ(VisibleWeights(view), 0);
  EXPECT_EQ(view.WeightIndex(), -1);
  EXPECT_EQ(view.RunningProgram(), 1);

  view.ApplyTriggerReport(Report(0x04, 10), trigger::TypeNyborgW3);
  view.Clear();
  EXPECT_EQ(VisibleWeights(view), 0);
  EXPECT_EQ(view.WeightIndex(), -1);
  EXPECT_EQ(view.RunningProgram(), -1);
  // The next frame with the same program highlights it again.
  EXPECT_TRUE(
      view.ApplyControllerStatus(ControllerStatus(CurrentStatus({0, 2})), Machine, 1).highlightChanged);
}

TEST(MachineStatusViewWindow, ResetIndicatorsHidesKtsAndTheLockedCaption) {
  MachineStatusView view;
  view.ApplyGatewayRecord(MachineStatus::FromGatewayRecord(Bytes{0, 0, 0x0F, 0}));
  view.ResetIndicators();
  EXPECT_FALSE(view.TriggerOnlineShown() || view.KeyboardConnectedShown() || view.SerialConnectionShown());
  EXPECT_EQ(view.GroupCaption(), " Program ");
}

}  // namespace
}  // namespace qd::link
