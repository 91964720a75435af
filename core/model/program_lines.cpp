#include "model/program_lines.h"

#include <cstdint>

#include "model/instruction_set.h"

namespace qd {
namespace {

constexpr int LineCount = DosingProgram::LineCount;
constexpr int TargetBits = 5;
constexpr int TargetMask = 0x1F;

// The place `to` takes over the content of `from`.
void MoveLine(const ProgramLine& from, ProgramLine& to) {
  to.SetInstruction(from.Instruction());
  for (int n = 1; n <= 5; ++n)
    to.Param(n) = from.Param(n);
  to.comment = from.comment;
}

void ClearLine(ProgramLine& line) {
  line.SetInstruction(static_cast<int>(Instruction::Empty));
  for (int n = 1; n <= 5; ++n)
    line.Param(n) = 0;
  line.comment.clear();
}

// Adds `step` to a target inside [low, high]; other values (no target, "Reset", out of range) stay.
int Renumbered(int target, int step, int low, int high) {
  return target >= low && target <= high ? target + step : target;
}

void RenumberTargets(ProgramLine& line, int step, int low, int high) {
  switch (static_cast<Instruction>(line.Instruction())) {
    case Instruction::InputWait:
    case Instruction::InputEvent:
    case Instruction::InputJump: {
      int word = ParamWord(line, 4);
      for (int n = 1; n <= 3; ++n) {
        const int shift = TargetBits * (n - 1);
        const int target = Renumbered(TargetField(line, n), step, low, high);
        word = (word & ~(TargetMask << shift)) | (target << shift);
      }
      line.Param(4) = static_cast<std::uint8_t>(word & 0xFF);
      line.Param(5) = static_cast<std::uint8_t>(word >> 8);
      break;
    }
    case Instruction::Jump:
      line.Param(1) = static_cast<std::uint8_t>(Renumbered(line.Param(1), step, low, high));
      break;
    default:
      break;
  }
}

bool IsLineIndex(int index) {
  return index >= 0 && index < LineCount;
}

}  // namespace

void InsertProgramLine(ProgramLines& lines, int index) {
  if (!IsLineIndex(index)) return;
  for (int to = LineCount - 1; to > index; --to) {
    ProgramLine& line = lines[static_cast<std::size_t>(to)];
    MoveLine(lines[static_cast<std::size_t>(to - 1)], line);
    RenumberTargets(line, +1, 1, LineCount - 1);
  }
  ClearLine(lines[static_cast<std::size_t>(index)]);
}

void DeleteProgramLine(ProgramLines& lines, int index) {
  if (!IsLineIndex(index)) return;
  for (int to = index; to < LineCount - 1; ++to) {
    ProgramLine& line = lines[static_cast<std::size_t>(to)];
    MoveLine(lines[static_cast<std::size_t>(to + 1)], line);
    RenumberTargets(line, -1, 2, LineCount);
  }
  ClearLine(lines[LineCount - 1]);
}

}  // namespace qd
