#pragma once

#include <cstdint>

#include "model/dosing_program.h"
#include "model/instruction_set.h"

namespace qd::test {

inline ProgramLine Line(Instruction code, std::uint8_t b1 = 0, std::uint8_t b2 = 0, std::uint8_t b3 = 0,
                        std::uint8_t b4 = 0, std::uint8_t b5 = 0) {
  ProgramLine line;
  line.bytes = {static_cast<std::uint8_t>(code), b1, b2, b3, b4, b5, 0, 0};
  return line;
}

inline ProgramLine PumpLine(int pump, int v1, int v2, int v3) {
  return Line(Instruction::Pump, static_cast<std::uint8_t>(pump), 0, static_cast<std::uint8_t>(v1),
              static_cast<std::uint8_t>(v2), static_cast<std::uint8_t>(v3));
}

inline ProgramLine JumpLine(int target) {
  return Line(Instruction::Jump, static_cast<std::uint8_t>(target));
}

inline ProgramLine WaitLine(int seconds) {
  return Line(Instruction::Wait, static_cast<std::uint8_t>(seconds & 0xFF),
              static_cast<std::uint8_t>(seconds >> 8));
}

// An "Input jump" whose input B (`input`) continues at line `target`.
inline ProgramLine InputJumpLine(int input, int target) {
  return Line(Instruction::InputJump, 0, static_cast<std::uint8_t>(input << 4), 0,
              static_cast<std::uint8_t>(target));
}

}  // namespace qd::test
