#include "link/status_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qd::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes CurrentStatusFrame() {
  Bytes frame(64, 0);
  frame[0] = 0x43;
  frame[1] = 64;
  return frame;
}

void SetMachine(Bytes& frame, int m, const Bytes& record) {
  for (std::size_t k = 0; k < record.size(); ++k)
    frame[14 + 5 * m + k] = record[k];
}

TriggerReport Report(int machine, std::uint8_t command, std::uint8_t inputs, std::uint8_t value) {
  TriggerReport report;
  report.machine = machine;
  report.command = command;
  report.inputs = inputs;
  report.weightFlag = (inputs & 0x20) != 0;
  report.value = value;
  return report;
}

TEST(StatusText, MasksListTheLowestNumberFirst) {
  EXPECT_EQ(MaskText(0x05, 6), "101000");
  EXPECT_EQ(MaskText(0x200, 10), "0000000001");
  EXPECT_EQ(MaskText(0xFF, 7), "1111111");
  EXPECT_EQ(MaskText(0, 0), "");
}

TEST(StatusText, IdleControllerStatusShowsOnlyTheSystemOutputs) {
  EXPECT_EQ(ControllerStatusText(ControllerStatus(CurrentStatusFrame())),
            "status: pumps=0000000 machines=0000000000 water=off drain=off alarm=off");
}

TEST(StatusText, ControllerStatusListsTheMachinesWithSomethingToReport) {
  Bytes frame = CurrentStatusFrame();
  frame[6] = 0x41;  // pumps 1 and 7
  frame[8] = 0x02;
  frame[9] = 0x16;  // machines 2 and 10, water, alarm
  SetMachine(frame, 0, {0x05, 0x03, 0x05, 0x05, 75});
  SetMachine(frame, 3, {0x00, 0x00, 0x00, 0x00, 0x00});
  SetMachine(frame, 5, {0x00, 0x00, 0x00, 0x00, 40});
  SetMachine(frame, 6, {0x00, 0x09, 0x0E, 0x00, 0x00});  // program 9 is none; kbd and serial not shown
  SetMachine(frame, 9, {0x00, 0x00, 0x00, 0x20, 0x00});
  EXPECT_EQ(ControllerStatusText(ControllerStatus(frame)),
            "status: pumps=1000001 machines=0100000001 water=on drain=off alarm=on"
            " | M1 prog=3 line=5 trig=on kbd-locked inputs=101000 pct=75"
            " | M6 prog=- line=- trig=off inputs=000000 pct=40"
            " | M7 prog=- line=- trig=off kbd-locked inputs=000000 pct=0"
            " | M10 prog=- line=- trig=off inputs=000001 pct=0");
}

TEST(StatusText, MachinesReportingOnlyCarriedBitsAreLeftOut) {
  Bytes frame = CurrentStatusFrame();
  SetMachine(frame, 2, {0xC0, 0x60, 0x0A, 0xC0, 0x00});
  EXPECT_TRUE(IsIdle(ControllerStatus(frame).Machine(2)));
  EXPECT_EQ(ControllerStatusText(ControllerStatus(frame)).find('|'), std::string::npos);
}

TEST(StatusText, OlderAndIrregularFramesSayWhatTheyWere) {
  Bytes older(44, 0);
  older[0] = 0x43;
  older[1] = 44;
  older[9] = 0x18;  // drain, alarm
  older[14 + 3 * 4] = 12;
  older[15 + 3 * 4] = 6;
  EXPECT_EQ(ControllerStatusText(ControllerStatus(older)),
            "status (44-byte form): pumps=0000000 machines=0000000000 water=off drain=on alarm=on"
            " | M5 prog=6 line=12 trig=off inputs=000000 pct=0");

  Bytes odd(20, 0);
  odd[0] = 0x43;
  odd[1] = 20;
  odd[6] = 0x02;
  EXPECT_EQ(ControllerStatusText(ControllerStatus(odd)),
            "status (length 20): pumps=0100000 machines=0000000000 water=off drain=off alarm=off");
}

TEST(StatusText, TriggerValueFollowsTheTriggerType) {
  const TriggerReport report = Report(4, 2, 0x05, 255);
  EXPECT_EQ(TriggerReportText(report, 3), "trigger M5 cmd=2: inputs=101000 weight=127.5kg");
  EXPECT_EQ(TriggerReportText(report, 4), "trigger M5 cmd=2: inputs=101000 weight=127.5kg");
  EXPECT_EQ(TriggerReportText(report, 6), "trigger M5 cmd=2: inputs=101000 weight=127.5kg");
  EXPECT_EQ(TriggerReportText(report, 5), "trigger M5 cmd=2: inputs=101000 pct=255");
  EXPECT_EQ(TriggerReportText(report), "trigger M5 cmd=2: inputs=101000 value=255");
  EXPECT_EQ(TriggerReportText(report, 1), "trigger M5 cmd=2: inputs=101000");
  EXPECT_EQ(TriggerReportText(report, 10), "trigger M5 cmd=2: inputs=101000");
  EXPECT_EQ(TriggerReportText(Report(0, 2, 0x01, 1), 3), "trigger M1 cmd=2: inputs=100000 weight=0.5kg");
  EXPECT_EQ(TriggerReportText(Report(9, 2, 0x00, 0), 3), "trigger M10 cmd=2: inputs=000000 weight=0.0kg");
}

TEST(StatusText, TriggerModuleStatusShowsWhatArrived) {
  TriggerReport report = Report(4, 3, 0x20, 75);
  report.module = TriggerModuleStatus{TriggerModuleStatus::KindQD740, true, false, 0x21};
  EXPECT_EQ(TriggerReportText(report, 3),
            "trigger M5 cmd=3: inputs=000001 weight=37.5kg kind=QD740 fw=1.2 serial=on kbd=off");

  report.electroluxProgram = 4;
  EXPECT_EQ(TriggerReportText(report, 6),
            "trigger M5 cmd=3: inputs=000001 weight=37.5kg kind=QD740 fw=1.2 serial=on kbd=off elux-prog=4");
  EXPECT_EQ(TriggerReportText(report),
            "trigger M5 cmd=3: inputs=000001 value=75 kind=QD740 fw=1.2 serial=on kbd=off elux-prog=4");
  EXPECT_EQ(TriggerReportText(report, 3),
            "trigger M5 cmd=3: inputs=000001 weight=37.5kg kind=QD740 fw=1.2 serial=on kbd=off");

  report.module = TriggerModuleStatus{7, false, true, 0xF0};
  report.electroluxProgram.reset();
  EXPECT_EQ(TriggerReportText(report, 1), "trigger M5 cmd=3: inputs=000001 kind=7 fw=0.15 serial=off kbd=on");
  report.module->kind = TriggerModuleStatus::KindQD520;
  EXPECT_EQ(TriggerReportText(report, 1),
            "trigger M5 cmd=3: inputs=000001 kind=QD520 fw=0.15 serial=off kbd=on");
}

TEST(StatusText, DecodedFrameRendersEndToEnd) {
  const Bytes frame = {3, 12, 1, 1, 8, 0, 0x03, 0, 13, 0x31, 0x12, 2};
  const auto report = DecodeTriggerReport(frame);
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(TriggerReportText(*report, 5),
            "trigger M6 cmd=3: inputs=110000 pct=13 kind=QD520 fw=2.1 serial=on kbd=on");
}

}  // namespace
}  // namespace qd::link
