#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace qd {

// One instruction line of a dosing program.
//   byte 0   bits 0..3 instruction code, bits 4..7 reserved (kept by every edit)
//   byte 1-5 parameters b1..b5, encoded per instruction
//   byte 6-7 comment text offset; meaningful in the controller image only
struct ProgramLine {
  static constexpr int Size = 8;

  std::array<std::uint8_t, Size> bytes{};
  std::string comment;

  int Instruction() const { return bytes[0] & 0x0F; }
  // Sets bits 0..3 of byte 0; bits 4..7 keep their value.
  void SetInstruction(int code) { bytes[0] = static_cast<std::uint8_t>((bytes[0] & 0xF0) | (code & 0x0F)); }
  // Another instruction: parameters and comment cleared, the reserved bits kept.
  void ChangeInstruction(int code) {
    SetInstruction(code);
    std::fill(bytes.begin() + 1, bytes.begin() + 6, std::uint8_t{0});
    comment.clear();
  }
  std::uint8_t& Param(int n) { return bytes.at(n); }  // n = 1..5
  std::uint8_t Param(int n) const { return bytes.at(n); }

  bool operator==(const ProgramLine&) const = default;
};

enum class DefaultLevelIndex { None = 0, Low = 1, Mid = 2, High = 3 };

struct DosingProgram {
  static constexpr int LineCount = 24;

  std::string Name;
  std::string Comment;
  bool Active = false;
  bool Softner = true;
  bool DefaultSoftner = true;
  int DefaultLevel = 2;  // 0 "-", 1 "Low", 2 "Mid", 3 "High"
  std::array<ProgramLine, LineCount> Lines{};

  // The new state of program `number` (1..6).
  void Reset(int number);
  // Name, comment, the header items, the line bytes and the line comments.
  void CopyFrom(const DosingProgram& other) { *this = other; }

  bool operator==(const DosingProgram&) const = default;
};

// "Program %d": the name a program carries until it is renamed.
std::string DefaultProgramName(int number);

}  // namespace qd
