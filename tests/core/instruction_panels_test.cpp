#include "model/instruction_panels.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>

#include "model/instruction_set.h"

namespace qd {
namespace {

ProgramLine Line(int code, std::initializer_list<int> params = {}) {
  ProgramLine line;
  line.SetInstruction(code);
  int n = 1;
  for (int value : params)
    line.Param(n++) = static_cast<std::uint8_t>(value);
  return line;
}

std::array<int, 5> Params(const ProgramLine& line) {
  return {line.Param(1), line.Param(2), line.Param(3), line.Param(4), line.Param(5)};
}

// A line with every parameter byte set, so that an encoder that forgets a byte is seen.
ProgramLine Dirty(int code) {
  return Line(code, {0xAA, 0xAA, 0xAA, 0xAA, 0xAA});
}

InputPanel InputPanelWith(std::string filter, int nextLine, std::array<InputJumpRow, 3> jumps) {
  InputPanel panel;
  panel.filter = std::move(filter);
  panel.nextLineInput = nextLine;
  panel.jumps = jumps;
  return panel;
}

TEST(PanelStartValues, AreTheValuesOfANewInstruction) {
  const ProgramPanels start;
  EXPECT_EQ(start.input.nextLineInput, 0);
  for (const InputJumpRow& row : start.input.jumps) {
    EXPECT_EQ(row.input, 0);
    EXPECT_EQ(row.target, NoChoice);
    EXPECT_FALSE(row.targetEnabled);
  }
  for (int input : start.inputOff.inputs)
    EXPECT_EQ(input, 0);
  EXPECT_EQ(start.jump.target, NoChoice);
  EXPECT_EQ(start.wait.seconds, "0");
  EXPECT_EQ(start.pump.pump, 0);
  EXPECT_EQ(start.pump.flush, 1);
  EXPECT_TRUE(start.pump.waitDispensed);
  EXPECT_EQ(start.pump.delay, "0");
  EXPECT_EQ(start.pump.volumes, (std::array<std::string, 3>{"0", "0", "0"}));
  EXPECT_EQ(start.flush.delay, "0");
  EXPECT_EQ(start.pumpHighVolume.pump, 0);
  EXPECT_EQ(start.pumpHighVolume.flush, 1);
  EXPECT_TRUE(start.pumpHighVolume.waitDispensed);
  EXPECT_EQ(start.pumpHighVolume.delay, "0");
  EXPECT_EQ(start.pumpHighVolume.volume, "0");
}

TEST(PanelKind, FollowsTheInstructionCode) {
  EXPECT_EQ(PanelKindOf(0), PanelKind::NoParameters);
  EXPECT_EQ(PanelKindOf(1), PanelKind::NoParameters);
  EXPECT_EQ(PanelKindOf(10), PanelKind::NoParameters);
  EXPECT_EQ(PanelKindOf(2), PanelKind::Input);
  EXPECT_EQ(PanelKindOf(4), PanelKind::Input);
  EXPECT_EQ(PanelKindOf(5), PanelKind::Input);
  EXPECT_EQ(PanelKindOf(3), PanelKind::InputOff);
  EXPECT_EQ(PanelKindOf(6), PanelKind::Jump);
  EXPECT_EQ(PanelKindOf(7), PanelKind::Wait);
  EXPECT_EQ(PanelKindOf(8), PanelKind::Pump);
  EXPECT_EQ(PanelKindOf(9), PanelKind::Flush);
  EXPECT_EQ(PanelKindOf(11), PanelKind::PumpHighVolume);
  EXPECT_EQ(PanelKindOf(12), PanelKind::None);
  EXPECT_EQ(PanelKindOf(15), PanelKind::None);
  EXPECT_EQ(PanelKindOf(-1), PanelKind::None);
}

TEST(InputPanel, DecodeShowsInputsAndEnablesTargetsOfSetInputs) {
  // filter 7, A = 1, B = 2 -> line 7, C = "-" (stored target 5), D = 6 -> Reset
  const int targets = 7 | 5 << 5 | 31 << 10;
  const InputPanel panel = DecodeInputPanel(Line(2, {7, 0x21, 0x60, targets & 0xFF, targets >> 8}));
  EXPECT_EQ(panel.filter, "7");
  EXPECT_TRUE(panel.nextLineEnabled);
  EXPECT_EQ(panel.nextLineInput, 1);
  EXPECT_EQ(panel.jumps[0], (InputJumpRow{2, 6, true}));
  EXPECT_EQ(panel.jumps[1], (InputJumpRow{0, NoChoice, false}));
  EXPECT_EQ(panel.jumps[2], (InputJumpRow{6, ResetTargetItem, true}));
}

TEST(InputPanel, DecodeShowsNoChoiceForTargetsThatAreNoLine) {
  // B = 1 -> 27, C = 2 -> 0, D = 3 -> 25
  const int targets = 27 | 0 << 5 | 25 << 10;
  const InputPanel panel = DecodeInputPanel(Line(2, {0, 0x10, 0x32, targets & 0xFF, targets >> 8}));
  for (const InputJumpRow& row : panel.jumps) {
    EXPECT_TRUE(row.targetEnabled);
    EXPECT_EQ(row.target, NoChoice);
  }
}

TEST(InputPanel, DecodeShowsNoChoiceForInputsAboveSix) {
  const InputPanel panel = DecodeInputPanel(Line(2, {0, 0x97, 0, 3, 0}));
  EXPECT_EQ(panel.nextLineInput, NoChoice);
  EXPECT_EQ(panel.jumps[0], (InputJumpRow{NoChoice, NoChoice, false}));
}

TEST(InputPanel, InputEventAndInputJumpHideInputA) {
  for (int code : {4, 5}) {
    const InputPanel panel = DecodeInputPanel(Line(code, {0, 0x23, 0, 4, 0}));
    EXPECT_FALSE(panel.nextLineEnabled);
    EXPECT_EQ(panel.nextLineInput, NoChoice);
    EXPECT_EQ(panel.jumps[0], (InputJumpRow{2, 3, true}));
    // whatever the disabled box holds, input A is stored as none
    InputPanel edited = panel;
    edited.nextLineInput = 5;
    ProgramLine line = Line(code);
    EncodeInputPanel(edited, line);
    EXPECT_EQ(InputField(line, 0), 0);
    EXPECT_EQ(InputField(line, 1), 2);
  }
}

TEST(InputPanel, EncodeStoresTargetsByTheirInputs) {
  ProgramLine line = Dirty(2);
  // B = 1 -> line 24, C = 2 -> "Reset", D = 3 enabled with no choice
  EncodeInputPanel(InputPanelWith("5", 0, {{{1, 23, true}, {2, ResetTargetItem, true}, {3, NoChoice, true}}}),
                   line);
  EXPECT_EQ(InputField(line, 0), 0);
  EXPECT_EQ(TargetField(line, 1), 24);
  EXPECT_EQ(TargetField(line, 2), 31);
  EXPECT_EQ(TargetField(line, 3), 0);
  EXPECT_EQ(line.Param(5) & 0x80, 0);
  EXPECT_EQ(ShowLine(line).parameters, "F5, I1->L24, I2->Reset, I3->L0");
}

TEST(InputPanel, EncodeStoresResetForTargetsWithoutInput) {
  ProgramLine line = Dirty(2);
  // a target chosen while the input is "-" does not count
  EncodeInputPanel(InputPanelWith("0", 4, {{{0, 5, false}, {0, NoChoice, false}, {NoChoice, 2, false}}}),
                   line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0, 0x04, 0x00, 0xFF, 0x7F}));
  EXPECT_EQ(ShowLine(line).parameters, "I4->Nxt");
}

TEST(InputPanel, ExampleLineFromThePanel) {
  ProgramLine line = Line(2);
  EncodeInputPanel(InputPanelWith("5", 1, {{{2, 6, true}, {}, {}}}), line);
  EXPECT_EQ(ShowLine(line).parameters, "F5, I1->Nxt, I2->L7");
}

TEST(InputPanel, FilterIsATypedNumberStoredAsItsLowByte) {
  ProgramLine line = Line(2);
  EncodeInputPanel(InputPanelWith("300", 0, {}), line);
  EXPECT_EQ(line.Param(1), 44);
  EncodeInputPanel(InputPanelWith(" 250 ", 0, {}), line);
  EXPECT_EQ(line.Param(1), 250);
  EncodeInputPanel(InputPanelWith("5s", 0, {}), line);
  EXPECT_EQ(line.Param(1), 0);
  EncodeInputPanel(InputPanelWith("", 0, {}), line);
  EXPECT_EQ(line.Param(1), 0);
}

TEST(InputPanel, ChangingAnInputEnablesOrClearsItsTarget) {
  InputJumpRow row;
  ChangeInput(row, 3);
  EXPECT_EQ(row, (InputJumpRow{3, NoChoice, true}));
  row.target = 10;
  ChangeInput(row, 5);
  EXPECT_EQ(row, (InputJumpRow{5, 10, true}));
  ChangeInput(row, 0);
  EXPECT_EQ(row, (InputJumpRow{0, NoChoice, false}));
  row.target = 4;
  ChangeInput(row, NoChoice);
  EXPECT_EQ(row, (InputJumpRow{NoChoice, NoChoice, false}));
}

TEST(InputPanel, NewInputLineGetsTheFilterAndResetTargets) {
  // a line whose instruction just became "Input wait": start values, the line's panel shown, then the
  // system's default filter typed in
  ProgramLine line = Line(2);
  ProgramPanels panels;
  PrepareLineForPanel(line);
  DecodePanel(line, panels);
  panels.input.filter = "10";
  EncodePanel(panels, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{10, 0, 0, 0xFF, 0x7F}));
  EXPECT_EQ(ShowLine(line).parameters, "F10");
}

TEST(InputOffPanel, EncodesSixInputsInThreeBytes) {
  ProgramLine line = Dirty(3);
  EncodeInputOffPanel({{0, 2, 0, 0, 0, 0}}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0x20, 0, 0, 0, 0}));
  EXPECT_EQ(ShowLine(line).parameters, "I2");
  EncodeInputOffPanel({{1, 2, 3, 4, 5, 6}}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0x21, 0x43, 0x65, 0, 0}));
  EncodeInputOffPanel({{NoChoice, 0, 0, 0, 0, 6}}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0, 0, 0x60, 0, 0}));
}

TEST(InputOffPanel, DecodeShowsEachInput) {
  EXPECT_EQ(DecodeInputOffPanel(Line(3, {0x21, 0x43, 0x65})).inputs, (std::array<int, 6>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(DecodeInputOffPanel(Line(3, {0x08, 0x00, 0xF0})).inputs,
            (std::array<int, 6>{NoChoice, 0, 0, 0, 0, NoChoice}));
}

TEST(JumpPanel, StoresThePositionPlusOne) {
  ProgramLine line = Dirty(6);
  EncodeJumpPanel({23}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{24, 0, 0, 0, 0}));
  EXPECT_EQ(ShowLine(line).parameters, "Jump L24");
  EncodeJumpPanel({0}, line);
  EXPECT_EQ(line.Param(1), 1);
  EncodeJumpPanel({NoChoice}, line);
  EXPECT_EQ(line.Param(1), 0);
  EXPECT_EQ(ShowLine(line).parameters, "Jump L0");
}

TEST(JumpPanel, DecodeSelectsLinesOneToTwentyFour) {
  EXPECT_EQ(DecodeJumpPanel(Line(6, {24})).target, 23);
  EXPECT_EQ(DecodeJumpPanel(Line(6, {1})).target, 0);
  EXPECT_EQ(DecodeJumpPanel(Line(6, {0})).target, NoChoice);
  EXPECT_EQ(DecodeJumpPanel(Line(6, {25})).target, NoChoice);
  EXPECT_EQ(DecodeJumpPanel(Line(6, {31})).target, NoChoice);
}

TEST(WaitPanel, SecondsAreSixteenBitsLittleEndian) {
  ProgramLine line = Dirty(7);
  EncodeWaitPanel({"5000"}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{136, 19, 0, 0, 0}));
  EXPECT_EQ(ShowLine(line).parameters, "Wait: 5000 sec");
  EXPECT_EQ(DecodeWaitPanel(line).seconds, "5000");
  EncodeWaitPanel({"70000"}, line);  // 0x11170
  EXPECT_EQ(Params(line), (std::array<int, 5>{0x70, 0x11, 0, 0, 0}));
  EncodeWaitPanel({"-1"}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0xFF, 0xFF, 0, 0, 0}));
  EncodeWaitPanel({"1 min"}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0, 0, 0, 0, 0}));
  EXPECT_EQ(DecodeWaitPanel(Line(7, {255, 255})).seconds, "65535");
}

TEST(PumpPanel, ExampleLineFromThePanel) {
  ProgramLine line = Dirty(8);
  EncodePumpPanel({3, 1, false, "5", {"20", "30", "40"}}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0x13, 5, 20, 30, 40}));
  EXPECT_EQ(ShowLine(line).parameters, "P3, D=5, FS, V=20/30/40");
}

TEST(PumpPanel, EncodesPumpFlushAndWaitInB1) {
  ProgramLine line = Line(8);
  EncodePumpPanel({7, 2, true, "0", {"0", "0", "0"}}, line);
  EXPECT_EQ(line.Param(1), 0x67);
  EncodePumpPanel({0, 0, false, "0", {"0", "0", "0"}}, line);
  EXPECT_EQ(line.Param(1), 0x00);
  // no choice in the pump or flush box stores 0
  EncodePumpPanel({NoChoice, NoChoice, true, "0", {"0", "0", "0"}}, line);
  EXPECT_EQ(line.Param(1), 0x40);
}

TEST(PumpPanel, NumbersStoreTheirLowByte) {
  ProgramLine line = Line(8);
  EncodePumpPanel({1, 0, false, "260", {"300", "-1", "ml"}}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0x01, 4, 44, 255, 0}));
}

TEST(PumpPanel, DecodeShowsDashForPumpFieldsOutsideOneToSeven) {
  const PumpPanel panel = DecodePumpPanel(Line(8, {0x08, 0, 1, 1, 1}));
  EXPECT_EQ(panel.pump, 0);
  EXPECT_EQ(ShowLine(Line(8, {0x08, 0, 1, 1, 1})).parameters, "P?, V=1/1/1");
  EXPECT_EQ(DecodePumpPanel(Line(8, {0x0F})).pump, 0);
  EXPECT_EQ(DecodePumpPanel(Line(8, {0x07})).pump, 7);
}

TEST(PumpPanel, DecodeShowsNoChoiceForFlushFieldThree) {
  EXPECT_EQ(DecodePumpPanel(Line(8, {0x31})).flush, NoChoice);
  EXPECT_EQ(DecodePumpPanel(Line(8, {0x21})).flush, 2);
  EXPECT_EQ(DecodePumpPanel(Line(8, {0x01})).flush, 0);
}

TEST(PumpPanel, DecodeFillsEveryControl) {
  EXPECT_EQ(DecodePumpPanel(Line(8, {0x53, 5, 20, 30, 40})),
            (PumpPanel{3, 1, true, "5", {"20", "30", "40"}}));
}

TEST(FlushPanel, ExampleLineFromThePanel) {
  ProgramLine line = Dirty(9);
  EncodeFlushPanel({true, false, "0", "30"}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0x01, 0, 30, 0, 0}));
  EXPECT_EQ(ShowLine(line).parameters, "T=30, To drain");
}

TEST(FlushPanel, EncodesBothCheckBoxesAndNumbers) {
  ProgramLine line = Line(9);
  EncodeFlushPanel({false, true, "12", "300"}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0x02, 12, 44, 0, 0}));
  EXPECT_EQ(DecodeFlushPanel(Line(9, {0x03, 4, 9})), (FlushPanel{true, true, "4", "9"}));
  EXPECT_EQ(DecodeFlushPanel(Line(9, {0xFC, 0, 0})), (FlushPanel{false, false, "0", "0"}));
}

TEST(PumpHighVolumePanel, EncodesVolumeInSixteenBitsAndTheLowAdjustment) {
  ProgramLine line = Dirty(11);
  EncodePumpHighVolumePanel({2, 2, true, "3", "1000", "10"}, line);
  EXPECT_EQ(Params(line), (std::array<int, 5>{0x62, 3, 0xE8, 0x03, 10}));
  EXPECT_EQ(ShowLine(line).parameters, "P2, D=3, FL, V=1000");
  EXPECT_EQ(DecodePumpHighVolumePanel(line), (PumpHighVolumePanel{2, 2, true, "3", "1000", "10"}));
}

TEST(PumpHighVolumePanel, LowAdjustThatIsNotANumberStores25) {
  ProgramLine line = Line(11);
  EncodePumpHighVolumePanel({1, 0, false, "0", "0", ""}, line);
  EXPECT_EQ(line.Param(5), 25);
  EncodePumpHighVolumePanel({1, 0, false, "0", "0", "ten"}, line);
  EXPECT_EQ(line.Param(5), 25);
  EncodePumpHighVolumePanel({1, 0, false, "0", "0", "0"}, line);
  EXPECT_EQ(line.Param(5), 0);
  EncodePumpHighVolumePanel({1, 0, false, "0", "x", "300"}, line);
  EXPECT_EQ(line.Param(5), 44);
  EXPECT_EQ(ParamWord(line, 3), 0);
}

TEST(PumpHighVolumePanel, HighAdjustIsTwiceTheTypedLowAdjust) {
  EXPECT_EQ(HighAdjustText("25"), "50");
  EXPECT_EQ(HighAdjustText(" 7 "), "14");
  EXPECT_EQ(HighAdjustText("-3"), "-6");
  EXPECT_EQ(HighAdjustText("300"), "600");
  EXPECT_EQ(HighAdjustText("2000000000"), "4000000000");
  EXPECT_EQ(HighAdjustText(""), "");
  EXPECT_EQ(HighAdjustText("1.5"), "");
}

TEST(PumpHighVolumePanel, ChangingFromPumpClearsTheLineAndShowsLowAdjust25) {
  ProgramLine line = Line(8, {0x53, 5, 20, 30, 40});
  line.SetInstruction(11);
  for (int n = 1; n <= 5; ++n)
    line.Param(n) = 0;
  ProgramPanels panels;
  EXPECT_TRUE(PrepareLineForPanel(line));
  DecodePanel(line, panels);
  EXPECT_EQ(panels.pumpHighVolume.lowAdjust, "25");
  EXPECT_EQ(HighAdjustText(panels.pumpHighVolume.lowAdjust), "50");
  EXPECT_EQ(Params(line), (std::array<int, 5>{0, 0, 0, 0, 25}));
}

TEST(PreparingALineForItsPanel, GivesAHighVolumeLineWithoutPumpLowAdjust25) {
  ProgramLine noPump = Line(11, {0x10, 1, 2, 3, 0});
  EXPECT_TRUE(PrepareLineForPanel(noPump));
  EXPECT_EQ(Params(noPump), (std::array<int, 5>{0x10, 1, 2, 3, 25}));
  ProgramLine invalidPump = Line(11, {0x09, 0, 0, 0, 0});
  EXPECT_TRUE(PrepareLineForPanel(invalidPump));
  EXPECT_EQ(invalidPump.Param(5), 25);
  ProgramLine withPump = Line(11, {0x03, 0, 0, 0, 0});
  EXPECT_FALSE(PrepareLineForPanel(withPump));
  EXPECT_EQ(withPump.Param(5), 0);
  ProgramLine withAdjust = Line(11, {0x00, 0, 0, 0, 10});
  EXPECT_FALSE(PrepareLineForPanel(withAdjust));
  EXPECT_EQ(withAdjust.Param(5), 10);
  ProgramLine pump = Line(8, {0, 0, 0, 0, 0});
  EXPECT_FALSE(PrepareLineForPanel(pump));
  EXPECT_EQ(pump.Param(5), 0);
}

TEST(PreparingALineForItsPanel, ClearsInputAOfInputEventAndInputJump) {
  for (int code : {4, 5}) {
    ProgramLine line = Line(code, {5, 0x23, 0x45, 6, 7});
    line.bytes[0] |= 0x30;
    EXPECT_TRUE(PrepareLineForPanel(line));
    EXPECT_EQ(Params(line), (std::array<int, 5>{5, 0x20, 0x45, 6, 7}));
    EXPECT_EQ(line.bytes[0], 0x30 | code);
    EXPECT_FALSE(PrepareLineForPanel(line));
  }
  ProgramLine inputWait = Line(2, {5, 0x23, 0x45, 6, 7});
  EXPECT_FALSE(PrepareLineForPanel(inputWait));
  EXPECT_EQ(InputField(inputWait, 0), 3);
}

TEST(PanelDispatch, DecodesOnlyThePanelOfTheLine) {
  ProgramPanels panels;
  DecodePanel(Line(7, {136, 19}), panels);
  ProgramPanels expected;
  expected.wait.seconds = "5000";
  EXPECT_EQ(panels, expected);
  DecodePanel(Line(0, {1, 2, 3, 4, 5}), panels);
  DecodePanel(Line(14, {1, 2, 3, 4, 5}), panels);
  EXPECT_EQ(panels, expected);
}

TEST(PanelDispatch, EncodesByTheCodeOfTheLine) {
  ProgramPanels panels;
  panels.wait.seconds = "5000";
  panels.jump.target = 4;
  ProgramLine wait = Dirty(7);
  EncodePanel(panels, wait);
  EXPECT_EQ(Params(wait), (std::array<int, 5>{136, 19, 0, 0, 0}));
  ProgramLine jump = Dirty(6);
  EncodePanel(panels, jump);
  EXPECT_EQ(Params(jump), (std::array<int, 5>{5, 0, 0, 0, 0}));
  for (int code : {0, 1, 10, 12, 13, 15}) {
    ProgramLine line = Dirty(code);
    line.comment = "kept";
    const ProgramLine before = line;
    EncodePanel(panels, line);
    EXPECT_EQ(line, before) << "code " << code;
  }
}

TEST(PanelDispatch, EncodeKeepsByte0HighBitsCommentAndOffset) {
  ProgramLine line = Line(8, {0, 0, 0, 0, 0});
  line.bytes[0] = 0xB8;
  line.bytes[6] = 0x12;
  line.bytes[7] = 0x34;
  line.comment = "softener";
  EncodePanel(ProgramPanels{}, line);
  EXPECT_EQ(line.bytes[0], 0xB8);
  EXPECT_EQ(line.bytes[6], 0x12);
  EXPECT_EQ(line.bytes[7], 0x34);
  EXPECT_EQ(line.comment, "softener");
  EXPECT_EQ(Params(line), (std::array<int, 5>{0x50, 0, 0, 0, 0}));
}

// A random line that the panels can show exactly as stored.
ProgramLine ShowableLine(int code, std::mt19937& random) {
  auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  ProgramLine line = Line(code);
  switch (PanelKindOf(code)) {
    case PanelKind::Input: {
      std::array<int, 4> inputs{};
      for (int& input : inputs)
        input = pick(0, 6);
      if (code != 2) inputs[0] = 0;
      int targets = 0;
      for (int n = 1; n <= 3; ++n) {
        int target = ResetTarget;
        if (inputs[n] != 0) target = pick(0, 24) == 0 ? ResetTarget : pick(1, 24);
        targets |= target << (5 * (n - 1));
      }
      return Line(code, {pick(0, 255), inputs[0] | inputs[1] << 4, inputs[2] | inputs[3] << 4, targets & 0xFF,
                         targets >> 8});
    }
    case PanelKind::InputOff:
      return Line(code,
                  {pick(0, 6) | pick(0, 6) << 4, pick(0, 6) | pick(0, 6) << 4, pick(0, 6) | pick(0, 6) << 4});
    case PanelKind::Jump:
      return Line(code, {pick(0, 24)});
    case PanelKind::Wait:
      return Line(code, {pick(0, 255), pick(0, 255)});
    case PanelKind::Flush:
      return Line(code, {pick(0, 3), pick(0, 255), pick(0, 255)});
    case PanelKind::Pump:
    case PanelKind::PumpHighVolume: {
      const int b1 = pick(0, 7) | pick(0, 2) << 4 | pick(0, 1) << 6;
      line = Line(code, {b1, pick(0, 255), pick(0, 255), pick(0, 255), pick(0, 255)});
      PrepareLineForPanel(line);
      return line;
    }
    default:
      return line;
  }
}

TEST(PanelRoundTrip, EveryShowableLineIsStoredBackUnchanged) {
  std::mt19937 random(20240611);
  for (int code : {2, 3, 4, 5, 6, 7, 8, 9, 11}) {
    for (int i = 0; i < 500; ++i) {
      const ProgramLine line = ShowableLine(code, random);
      ProgramPanels panels;
      DecodePanel(line, panels);
      ProgramLine stored = Dirty(code);
      EncodePanel(panels, stored);
      ASSERT_EQ(Params(stored), Params(line)) << "code " << code << ", " << ShowLine(line).parameters;
    }
  }
}

TEST(PanelRoundTrip, EncodedPanelsDecodeToThemselves) {
  const InputPanel input =
      InputPanelWith("250", 6, {{{1, 0, true}, {0, NoChoice, false}, {5, ResetTargetItem, true}}});
  ProgramLine line = Line(2);
  EncodeInputPanel(input, line);
  EXPECT_EQ(DecodeInputPanel(line), input);

  const InputOffPanel inputOff{{6, 0, 5, 0, 4, 1}};
  line = Line(3);
  EncodeInputOffPanel(inputOff, line);
  EXPECT_EQ(DecodeInputOffPanel(line), inputOff);

  const PumpPanel pump{5, 0, true, "250", {"1", "128", "255"}};
  line = Line(8);
  EncodePumpPanel(pump, line);
  EXPECT_EQ(DecodePumpPanel(line), pump);

  const PumpHighVolumePanel high{7, 1, false, "9", "65535", "40"};
  line = Line(11);
  EncodePumpHighVolumePanel(high, line);
  EXPECT_EQ(DecodePumpHighVolumePanel(line), high);

  // a panel that the line cannot hold comes back as the line holds it
  line = Line(8);
  EncodePumpPanel({NoChoice, NoChoice, false, " 12", {"300", "x", "-1"}}, line);
  EXPECT_EQ(DecodePumpPanel(line), (PumpPanel{0, 0, false, "12", {"44", "0", "255"}}));
}

}  // namespace
}  // namespace qd
