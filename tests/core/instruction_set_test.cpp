#include "model/instruction_set.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace qd {
namespace {

// A line of `code` with the parameter bytes b1..b5.
ProgramLine Line(int code, std::initializer_list<int> params = {}, std::string comment = "") {
  ProgramLine line;
  line.SetInstruction(code);
  int n = 1;
  for (int value : params)
    line.Param(n++) = static_cast<std::uint8_t>(value);
  line.comment = std::move(comment);
  return line;
}

std::string Params(int code, std::initializer_list<int> params) {
  return ShowLine(Line(code, params)).parameters;
}

TEST(InstructionNames, AreTheInstructionListInCodeOrder) {
  EXPECT_EQ(InstructionName(0), "Empty");
  EXPECT_EQ(InstructionName(3), "Input off wait");
  EXPECT_EQ(InstructionName(static_cast<int>(Instruction::InputJump)), "Input jump");
  EXPECT_EQ(InstructionName(static_cast<int>(Instruction::KeyboardLock)), "Keyboard lock");
  EXPECT_EQ(InstructionName(static_cast<int>(Instruction::PumpHighVolume)), "Pump, high volume");
  EXPECT_EQ(InstructionNames.size(), 12u);
}

TEST(InstructionNames, AreEmptyForCodesThatAreNoInstruction) {
  EXPECT_EQ(InstructionName(-1), "");
  EXPECT_EQ(InstructionName(12), "");
  EXPECT_EQ(InstructionName(15), "");
  EXPECT_EQ(InstructionName(1000), "");
}

TEST(InstructionParameterBytes, FollowTheSystemFileTable) {
  const int expected[16] = {0, 0, 5, 3, 5, 5, 1, 2, 5, 3, 0, 5, 0, 0, 0, 0};
  for (int code = 0; code < 16; ++code)
    EXPECT_EQ(ParameterByteCount(code), expected[code]) << "code " << code;
  EXPECT_EQ(ParameterByteCount(-1), 0);
  EXPECT_EQ(ParameterByteCount(16), 0);
}

TEST(ShowLine, InstructionColumnIsASpaceAndTheName) {
  EXPECT_EQ(ShowLine(Line(8)).instruction, " Pump");
  EXPECT_EQ(ShowLine(Line(0)).instruction, " Empty");
  EXPECT_EQ(ShowLine(Line(11)).instruction, " Pump, high volume");
}

TEST(ShowLine, ReadsTheCodeFromTheLowNibbleOnly) {
  ProgramLine line = Line(6, {3});
  line.bytes[0] = 0xA6;
  EXPECT_EQ(ShowLine(line).instruction, " Jump");
  EXPECT_EQ(ShowLine(line).parameters, "Jump L3");
}

TEST(ShowLine, InvalidCodesShowTheCodeAndNoParameters) {
  const LineTexts texts = ShowLine(Line(13, {1, 2, 3, 4, 5}, "note"));
  EXPECT_EQ(texts.instruction, "13 ???");
  EXPECT_EQ(texts.parameters, "");
  EXPECT_EQ(texts.comment, "note");
  EXPECT_EQ(ShowLine(Line(12)).instruction, "12 ???");
  EXPECT_EQ(ShowLine(Line(15)).instruction, "15 ???");
}

TEST(ShowLine, CommentColumnIsTheLineComment) {
  EXPECT_EQ(ShowLine(Line(7, {10}, "rinse 2")).comment, "rinse 2");
  EXPECT_EQ(ShowLine(Line(0, {}, "")).comment, "");
}

TEST(ShowLine, InstructionsWithoutParametersShowNoneWhateverTheBytes) {
  EXPECT_EQ(Params(0, {1, 2, 3, 4, 5}), "");
  EXPECT_EQ(Params(1, {1, 2, 3, 4, 5}), "");
  EXPECT_EQ(Params(10, {1, 2, 3, 4, 5}), "");
}

TEST(ShowLine, InputWaitExample) {
  // filter 5, input 1 to the next line, input 2 to line 7; inputs C and D unused
  EXPECT_EQ(Params(2, {5, 0x21, 0x00, 7, 0}), "F5, I1->Nxt, I2->L7");
}

TEST(ShowLine, InputLinesShowEachSetInputWithItsTarget) {
  // targets B = 3, C = 31, D = 24: 3 | 31 << 5 | 24 << 10 = 0x63E3
  EXPECT_EQ(Params(2, {0, 0x40, 0x65, 0xE3, 0x63}), "I4->L3, I5->Reset, I6->L24");
  // no filter and no input A: the first item has no separator before it
  EXPECT_EQ(Params(2, {0, 0x20, 0, 9, 0}), "I2->L9");
  EXPECT_EQ(Params(2, {12, 0, 0, 0, 0}), "F12");
  EXPECT_EQ(Params(2, {0, 0, 0, 0, 0}), "");
  // only input D
  EXPECT_EQ(Params(2, {0, 0, 0x30, 0, 20 << 2}), "I3->L20");
}

TEST(ShowLine, InputTargetsShowLineResetOrQuestionMark) {
  EXPECT_EQ(Params(2, {0, 0x10, 0, 31, 0}), "I1->Reset");
  EXPECT_EQ(Params(2, {0, 0x10, 0, 27, 0}), "I1->?");
  EXPECT_EQ(Params(2, {0, 0x10, 0, 25, 0}), "I1->?");
  EXPECT_EQ(Params(2, {0, 0x10, 0, 0, 0}), "I1->L0");
  EXPECT_EQ(Params(2, {0, 0x10, 0, 24, 0}), "I1->L24");
  // target C is 27 while B points at line 1: 1 | 27 << 5 = 0x0361
  EXPECT_EQ(Params(2, {0, 0x10, 0x02, 0x61, 0x03}), "I1->L1, I2->?");
}

TEST(ShowLine, InputEventAndInputJumpShowLikeInputWait) {
  EXPECT_EQ(Params(4, {5, 0x21, 0, 7, 0}), "F5, I1->Nxt, I2->L7");
  EXPECT_EQ(Params(5, {0, 0x30, 0, 31, 0}), "I3->Reset");
  EXPECT_EQ(ShowLine(Line(4)).instruction, " Input event");
}

TEST(ShowLine, InputFieldsAboveSixAreShownAsStored) {
  EXPECT_EQ(Params(2, {0, 0x09, 0, 0, 0}), "I9->Nxt");
  EXPECT_EQ(Params(2, {0, 0xF0, 0, 2, 0}), "I15->L2");
}

TEST(ShowLine, InputOffWaitListsTheSetInputs) {
  EXPECT_EQ(Params(3, {0x20, 0, 0}), "I2");
  EXPECT_EQ(Params(3, {0x21, 0x43, 0x65}), "I1, I2, I3, I4, I5, I6");
  EXPECT_EQ(Params(3, {0x00, 0x05, 0x30}), "I5, I3");
  EXPECT_EQ(Params(3, {0, 0, 0}), "");
}

TEST(ShowLine, JumpShowsTheTargetLine) {
  EXPECT_EQ(Params(6, {24}), "Jump L24");
  EXPECT_EQ(Params(6, {0}), "Jump L0");
  EXPECT_EQ(Params(6, {25}), "Jump ?");
  EXPECT_EQ(Params(6, {31}), "Jump ?");
  EXPECT_EQ(Params(6, {1, 9, 9, 9, 9}), "Jump L1");
}

TEST(ShowLine, WaitShowsSixteenBitSeconds) {
  EXPECT_EQ(Params(7, {136, 19}), "Wait: 5000 sec");
  EXPECT_EQ(Params(7, {0, 0}), "Wait: 0 sec");
  EXPECT_EQ(Params(7, {255, 255}), "Wait: 65535 sec");
}

TEST(ShowLine, PumpExampleAndItsOptionalParts) {
  // pump 3, short flush, wait until dispensed, delay 5, volumes 20/30/40
  EXPECT_EQ(Params(8, {0x53, 5, 20, 30, 40}), "P3, D=5, FS, V=20/30/40");
  EXPECT_EQ(Params(8, {0x27, 0, 1, 2, 3}), "P7, FL, V=1/2/3");
  EXPECT_EQ(Params(8, {0x01, 0, 0, 0, 0}), "P1, V=0/0/0");
  // flush field 3 shows neither FS nor FL
  EXPECT_EQ(Params(8, {0x31, 250, 255, 0, 44}), "P1, D=250, V=255/0/44");
}

TEST(ShowLine, PumpOutsideOneToSevenShowsQuestionMark) {
  EXPECT_EQ(Params(8, {0x08, 0, 1, 1, 1}), "P?, V=1/1/1");
  EXPECT_EQ(Params(8, {0x00, 0, 1, 1, 1}), "P?, V=1/1/1");
  EXPECT_EQ(Params(11, {0x0F, 2, 0, 1, 25}), "P?, D=2, V=256");
}

TEST(ShowLine, FlushShowsDelayTimeAndDrain) {
  EXPECT_EQ(Params(9, {0x01, 0, 30}), "T=30, To drain");
  EXPECT_EQ(Params(9, {0x02, 4, 30}), "D=4, T=30");
  EXPECT_EQ(Params(9, {0x03, 4, 0}), "D=4, T=0, To drain");
  EXPECT_EQ(Params(9, {0x00, 0, 0}), "T=0");
}

TEST(ShowLine, PumpHighVolumeShowsTheMidVolume) {
  // pump 2, long flush, delay 3, volume 1000 = 0x03E8, low adjust 25 (not shown)
  EXPECT_EQ(Params(11, {0x62, 3, 0xE8, 0x03, 25}), "P2, D=3, FL, V=1000");
  EXPECT_EQ(Params(11, {0x14, 0, 0xFF, 0xFF, 0}), "P4, FS, V=65535");
}

TEST(InstructionFields, ReadTheDocumentedBits) {
  const ProgramLine input = Line(2, {0, 0x21, 0x43, 0xE3, 0x63});
  EXPECT_EQ(InputField(input, 0), 1);
  EXPECT_EQ(InputField(input, 1), 2);
  EXPECT_EQ(InputField(input, 2), 3);
  EXPECT_EQ(InputField(input, 3), 4);
  EXPECT_EQ(TargetField(input, 1), 3);
  EXPECT_EQ(TargetField(input, 2), 31);
  EXPECT_EQ(TargetField(input, 3), 24);
  const ProgramLine inputOff = Line(3, {0x21, 0x43, 0x65});
  for (int n = 0; n < 6; ++n)
    EXPECT_EQ(InputOffField(inputOff, n), n + 1);
  const ProgramLine pump = Line(8, {0x65, 0, 0, 0, 0});
  EXPECT_EQ(PumpField(pump), 5);
  EXPECT_EQ(FlushField(pump), 2);
  EXPECT_EQ(ParamWord(Line(11, {0, 0, 0x34, 0x12}), 3), 0x1234);
}

}  // namespace
}  // namespace qd
