#include "model/program_lines.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>

#include "model/instruction_set.h"

namespace qd {
namespace {

ProgramLine Line(Instruction code, std::initializer_list<int> params = {}, std::string comment = {}) {
  ProgramLine line;
  line.SetInstruction(static_cast<int>(code));
  int n = 1;
  for (int value : params)
    line.Param(n++) = static_cast<std::uint8_t>(value);
  line.comment = std::move(comment);
  return line;
}

ProgramLine Jump(int target, std::string comment = {}) {
  return Line(Instruction::Jump, {target}, std::move(comment));
}

// An input line with inputs A..D = 1..4 and the targets of B, C, D.
ProgramLine InputLine(Instruction code, int targetB, int targetC, int targetD) {
  const int word = targetB | targetC << 5 | targetD << 10;
  return Line(code, {5, 0x21, 0x43, word & 0xFF, word >> 8});
}

std::array<int, 3> Targets(const ProgramLine& line) {
  return {TargetField(line, 1), TargetField(line, 2), TargetField(line, 3)};
}

ProgramLine& At(ProgramLines& lines, int number) {
  return lines.at(static_cast<std::size_t>(number - 1));
}

// Lines 1..24 each with its own content, so that a line that moved or stayed is recognised.
ProgramLines Numbered() {
  ProgramLines lines{};
  for (int number = 1; number <= DosingProgram::LineCount; ++number)
    At(lines, number) = Line(Instruction::Wait, {number, 0}, "line " + std::to_string(number));
  return lines;
}

bool IsEmptyLine(const ProgramLine& line) {
  return line.Instruction() == 0 && line.Param(1) == 0 && line.Param(2) == 0 && line.Param(3) == 0 &&
         line.Param(4) == 0 && line.Param(5) == 0 && line.comment.empty();
}

TEST(InsertProgramLine, MovesTheLinesBelowDownAndEmptiesTheLine) {
  ProgramLines lines = Numbered();
  InsertProgramLine(lines, 4);
  for (int number = 1; number <= 4; ++number)
    EXPECT_EQ(At(lines, number), Numbered()[static_cast<std::size_t>(number - 1)]) << number;
  EXPECT_TRUE(IsEmptyLine(At(lines, 5)));
  for (int number = 6; number <= 24; ++number) {
    EXPECT_EQ(At(lines, number).comment, "line " + std::to_string(number - 1));
    EXPECT_EQ(At(lines, number).Param(1), number - 1) << "a Wait time is not a line number";
  }
}

TEST(InsertProgramLine, AtTheLastLineOnlyClearsIt) {
  ProgramLines lines = Numbered();
  InsertProgramLine(lines, 23);
  for (int number = 1; number <= 23; ++number)
    EXPECT_EQ(At(lines, number), Numbered()[static_cast<std::size_t>(number - 1)]) << number;
  EXPECT_TRUE(IsEmptyLine(At(lines, 24)));
}

TEST(DeleteProgramLine, MovesTheLinesBelowUpAndEmptiesTheLastLine) {
  ProgramLines lines = Numbered();
  DeleteProgramLine(lines, 4);
  for (int number = 1; number <= 4; ++number)
    EXPECT_EQ(At(lines, number).comment, "line " + std::to_string(number));
  for (int number = 5; number <= 23; ++number)
    EXPECT_EQ(At(lines, number).comment, "line " + std::to_string(number + 1));
  EXPECT_TRUE(IsEmptyLine(At(lines, 24)));
}

TEST(DeleteProgramLine, AtTheLastLineOnlyClearsIt) {
  ProgramLines lines = Numbered();
  DeleteProgramLine(lines, 23);
  for (int number = 1; number <= 23; ++number)
    EXPECT_EQ(At(lines, number), Numbered()[static_cast<std::size_t>(number - 1)]) << number;
  EXPECT_TRUE(IsEmptyLine(At(lines, 24)));
}

TEST(ProgramLineIndex, OutsideTheProgramChangesNothing) {
  for (int index : {-1, 24, 100}) {
    ProgramLines lines = Numbered();
    InsertProgramLine(lines, index);
    EXPECT_EQ(lines, Numbered()) << index;
    DeleteProgramLine(lines, index);
    EXPECT_EQ(lines, Numbered()) << index;
  }
}

TEST(JumpRenumbering, AMovedJumpFollowsTheInsert) {
  ProgramLines lines{};
  At(lines, 10) = Jump(15);
  InsertProgramLine(lines, 4);  // line 5
  EXPECT_TRUE(IsEmptyLine(At(lines, 10)));
  EXPECT_EQ(At(lines, 11).Instruction(), static_cast<int>(Instruction::Jump));
  EXPECT_EQ(At(lines, 11).Param(1), 16);
}

TEST(JumpRenumbering, ALineAboveTheInsertKeepsItsTarget) {
  ProgramLines lines{};
  At(lines, 10) = Jump(15);
  InsertProgramLine(lines, 11);  // line 12
  EXPECT_EQ(At(lines, 10), Jump(15));
}

TEST(JumpRenumbering, TargetsAreRenumberedWhereverTheyPoint) {
  ProgramLines lines{};
  At(lines, 10) = Jump(3);
  At(lines, 11) = Jump(23);
  At(lines, 12) = Jump(24);
  InsertProgramLine(lines, 4);
  EXPECT_EQ(At(lines, 11).Param(1), 4);
  EXPECT_EQ(At(lines, 12).Param(1), 24);
  EXPECT_EQ(At(lines, 13).Param(1), 24) << "there is no line 25";

  lines = {};
  At(lines, 10) = Jump(1);
  At(lines, 11) = Jump(2);
  At(lines, 12) = Jump(24);
  DeleteProgramLine(lines, 4);
  EXPECT_EQ(At(lines, 9).Param(1), 1) << "there is no line 0";
  EXPECT_EQ(At(lines, 10).Param(1), 1);
  EXPECT_EQ(At(lines, 11).Param(1), 23);
}

TEST(JumpRenumbering, NoTargetAndInvalidTargetsStay) {
  ProgramLines lines{};
  At(lines, 2) = Jump(0);
  At(lines, 3) = Jump(25);
  At(lines, 4) = Jump(200);
  InsertProgramLine(lines, 0);
  EXPECT_EQ(At(lines, 3).Param(1), 0);
  EXPECT_EQ(At(lines, 4).Param(1), 25);
  EXPECT_EQ(At(lines, 5).Param(1), 200);
  DeleteProgramLine(lines, 0);
  EXPECT_EQ(At(lines, 2).Param(1), 0);
  EXPECT_EQ(At(lines, 3).Param(1), 25);
  EXPECT_EQ(At(lines, 4).Param(1), 200);
}

TEST(InputRenumbering, AllThreeTargetsOfTheInputInstructionsMove) {
  for (Instruction code : {Instruction::InputWait, Instruction::InputEvent, Instruction::InputJump}) {
    ProgramLines lines{};
    At(lines, 6) = InputLine(code, 1, 23, 24);
    At(lines, 7) = InputLine(code, ResetTarget, NoTarget, 12);
    InsertProgramLine(lines, 2);
    EXPECT_EQ(Targets(At(lines, 7)), (std::array{2, 24, 24})) << static_cast<int>(code);
    EXPECT_EQ(Targets(At(lines, 8)), (std::array{ResetTarget, NoTarget, 13})) << static_cast<int>(code);
    // Filter time and inputs are not line numbers.
    EXPECT_EQ(At(lines, 7).Param(1), 5);
    EXPECT_EQ(At(lines, 7).Param(2), 0x21);
    EXPECT_EQ(At(lines, 7).Param(3), 0x43);

    DeleteProgramLine(lines, 2);
    EXPECT_EQ(Targets(At(lines, 6)), (std::array{1, 23, 23})) << static_cast<int>(code);
    EXPECT_EQ(Targets(At(lines, 7)), (std::array{ResetTarget, NoTarget, 12})) << static_cast<int>(code);
  }
}

TEST(InputRenumbering, KeepsBit15OfTheTargetWord) {
  ProgramLines lines{};
  At(lines, 1) = Line(Instruction::InputWait, {0, 0x11, 0, 3, 0x80});
  InsertProgramLine(lines, 0);
  EXPECT_EQ(At(lines, 2).Param(4), 4);
  EXPECT_EQ(At(lines, 2).Param(5), 0x80);
}

TEST(Renumbering, LeavesOtherInstructionsAlone) {
  ProgramLines lines{};
  At(lines, 1) = Line(Instruction::InputOffWait, {0x21, 0x43, 0x65});
  At(lines, 2) = Line(Instruction::Wait, {7, 0});
  At(lines, 3) = Line(Instruction::Pump, {0x53, 4, 20, 3, 2});
  At(lines, 4) = Line(Instruction::PumpHighVolume, {0x13, 2, 10, 1, 25});
  At(lines, 5) = Line(Instruction::Flush, {1, 3, 3});
  ProgramLines moved = lines;
  InsertProgramLine(moved, 0);
  for (int number = 1; number <= 5; ++number)
    EXPECT_EQ(At(moved, number + 1), At(lines, number)) << number;
  DeleteProgramLine(moved, 0);
  EXPECT_EQ(moved, lines);
}

TEST(ReservedBits, EachPlaceKeepsItsOwnByte0HighBitsAndTextOffset) {
  ProgramLines lines{};
  for (int number = 1; number <= 24; ++number) {
    ProgramLine& line = At(lines, number);
    line.bytes[0] = static_cast<std::uint8_t>(number % 16 << 4 | static_cast<int>(Instruction::KeyboardLock));
    line.bytes[6] = static_cast<std::uint8_t>(number);
    line.bytes[7] = 0x40;
  }
  At(lines, 3).SetInstruction(static_cast<int>(Instruction::Reset));

  ProgramLines inserted = lines;
  InsertProgramLine(inserted, 2);
  ProgramLines deleted = lines;
  DeleteProgramLine(deleted, 2);
  for (int number = 1; number <= 24; ++number) {
    for (const ProgramLines* result : {&inserted, &deleted}) {
      const ProgramLine& line = result->at(static_cast<std::size_t>(number - 1));
      EXPECT_EQ(line.bytes[0] >> 4, number % 16) << number;
      EXPECT_EQ(line.bytes[6], number) << number;
      EXPECT_EQ(line.bytes[7], 0x40) << number;
    }
  }
  EXPECT_EQ(At(inserted, 3).Instruction(), static_cast<int>(Instruction::Empty));
  EXPECT_EQ(At(inserted, 4).Instruction(), static_cast<int>(Instruction::Reset));
  EXPECT_EQ(At(deleted, 3).Instruction(), static_cast<int>(Instruction::KeyboardLock));
  EXPECT_EQ(At(deleted, 24).Instruction(), static_cast<int>(Instruction::Empty));
}

// Inserting and then deleting at the same place gives the program back, as long as nothing falls off its
// end and no moved target is 24 (which insert cannot raise).
TEST(InsertThenDelete, GivesTheProgramBack) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> target(0, 23);
  for (int round = 0; round < 200; ++round) {
    ProgramLines lines{};
    for (int number = 1; number <= 23; ++number) {
      ProgramLine& line = At(lines, number);
      const int code = byte(random) % 12;
      if (code == static_cast<int>(Instruction::Jump)) {
        line = Jump(target(random));
      } else if (code == 2 || code == 4 || code == 5) {
        line = InputLine(static_cast<Instruction>(code), target(random), target(random), target(random));
      } else {
        line = Line(static_cast<Instruction>(code),
                    {byte(random), byte(random), byte(random), byte(random), byte(random)});
      }
      line.comment = "comment " + std::to_string(number);
    }
    const int index = round % 24;
    ProgramLines changed = lines;
    InsertProgramLine(changed, index);
    DeleteProgramLine(changed, index);
    ASSERT_EQ(changed, lines) << "round " << round << ", index " << index;
  }
}

}  // namespace
}  // namespace qd
