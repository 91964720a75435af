#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/dosing_program.h"

namespace qd {

// The instruction codes of a program line (byte 0 bits 0..3). Codes 12..15 are not instructions.
enum class Instruction : int {
  Empty = 0,
  Reset = 1,
  InputWait = 2,
  InputOffWait = 3,
  InputEvent = 4,
  InputJump = 5,
  Jump = 6,
  Wait = 7,
  Pump = 8,
  Flush = 9,
  KeyboardLock = 10,
  PumpHighVolume = 11,
};

constexpr int InstructionCount = 12;

// The instruction list, in code order, in English: the names the system file holds.
constexpr std::array<std::string_view, InstructionCount> InstructionNames = {
    "Empty", "Reset", "Input wait", "Input off wait", "Input event",   "Input jump",
    "Jump",  "Wait",  "Pump",       "Flush",          "Keyboard lock", "Pump, high volume",
};

// The name of an instruction code as windows show it (InstructionNames in English); empty for codes that
// are not instructions.
std::string InstructionName(int code);

// How many of the parameter bytes b1..b5 the system file carries for a code (0..15); 0 for other values.
int ParameterByteCount(int code);

// Target field values besides the line numbers 1..24.
constexpr int NoTarget = 0;
constexpr int ResetTarget = 31;

// Field layout shared by the grid texts and the parameter panels.
//   codes 2, 4, 5: b1 filter time; inputs A..D in the nibbles b2 low, b2 high, b3 low, b3 high;
//                  targets of B..D in bits 0..4, 5..9, 10..14 of b4 + 256 x b5
//   code 3:        inputs 1..6 in the nibbles b1 low, b1 high, b2 low, b2 high, b3 low, b3 high
//   codes 8, 11:   b1 bits 0..3 pump, bits 4..5 flush, bit 6 wait until dispensed

// Input `n` of an input line, n = 0..3 for inputs A..D; 0 = none.
int InputField(const ProgramLine& line, int n);
// The target of input `n` of an input line, n = 1..3 for inputs B..D.
int TargetField(const ProgramLine& line, int n);
// Input `n` of an "Input off wait" line, n = 0..5 for inputs 1..6; 0 = none.
int InputOffField(const ProgramLine& line, int n);
int PumpField(const ProgramLine& line);
int FlushField(const ProgramLine& line);
// The 16-bit number b(first) + 256 x b(first + 1).
int ParamWord(const ProgramLine& line, int first);

// The three grid texts of a program line.
struct LineTexts {
  std::string instruction;
  std::string parameters;
  std::string comment;

  bool operator==(const LineTexts&) const = default;
};

LineTexts ShowLine(const ProgramLine& line);

}  // namespace qd
