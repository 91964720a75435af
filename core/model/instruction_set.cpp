#include "model/instruction_set.h"

#include "app/translation.h"

namespace qd {
namespace {

constexpr std::array<int, 16> ParameterBytes = {0, 0, 5, 3, 5, 5, 1, 2, 5, 3, 0, 5, 0, 0, 0, 0};

// Nibble `n` of the bytes starting at b(first): the low nibble of a byte comes before its high nibble.
int Nibble(const ProgramLine& line, int first, int n) {
  const int byte = line.Param(first + n / 2);
  return n % 2 == 0 ? byte & 0x0F : byte >> 4;
}

// Appends ", " unless the text is still empty.
void Separate(std::string& text) {
  if (!text.empty()) text += ", ";
}

std::string TargetText(int target) {
  if (target <= 24) return "L" + std::to_string(target);
  if (target == ResetTarget) return UiText("InstructionSet", "Reset");
  return "?";
}

std::string PumpText(const ProgramLine& line) {
  const int pump = PumpField(line);
  return pump >= 1 && pump <= 7 ? "P" + std::to_string(pump) : "P?";
}

// ", D=delay" and ", FS" / ", FL" of the pump instructions.
std::string DelayAndFlushText(const ProgramLine& line) {
  std::string text;
  if (line.Param(2) != 0) text += ", D=" + std::to_string(line.Param(2));
  if (FlushField(line) == 1) text += ", FS";
  if (FlushField(line) == 2) text += ", FL";
  return text;
}

std::string InputParameters(const ProgramLine& line) {
  std::string text;
  if (line.Param(1) != 0) text += "F" + std::to_string(line.Param(1));
  if (const int input = InputField(line, 0); input != 0) {
    Separate(text);
    text += "I" + std::to_string(input) + "->Nxt";
  }
  for (int n = 1; n <= 3; ++n) {
    const int input = InputField(line, n);
    if (input == 0) continue;
    Separate(text);
    text += "I" + std::to_string(input) + "->" + TargetText(TargetField(line, n));
  }
  return text;
}

std::string InputOffParameters(const ProgramLine& line) {
  std::string text;
  for (int n = 0; n < 6; ++n) {
    const int input = InputOffField(line, n);
    if (input == 0) continue;
    Separate(text);
    text += "I" + std::to_string(input);
  }
  return text;
}

std::string Parameters(const ProgramLine& line) {
  switch (static_cast<Instruction>(line.Instruction())) {
    case Instruction::InputWait:
    case Instruction::InputEvent:
    case Instruction::InputJump:
      return InputParameters(line);
    case Instruction::InputOffWait:
      return InputOffParameters(line);
    case Instruction::Jump:
      return line.Param(1) <= 24
                 ? Substitute(UiText("InstructionSet", "Jump L%1"), {std::to_string(line.Param(1))})
                 : UiText("InstructionSet", "Jump ?");
    case Instruction::Wait:
      return Substitute(UiText("InstructionSet", "Wait: %1 sec"), {std::to_string(ParamWord(line, 1))});
    case Instruction::Pump:
      return PumpText(line) + DelayAndFlushText(line) + ", V=" + std::to_string(line.Param(3)) + "/" +
             std::to_string(line.Param(4)) + "/" + std::to_string(line.Param(5));
    case Instruction::Flush: {
      std::string text;
      if (line.Param(2) != 0) text += "D=" + std::to_string(line.Param(2)) + ", ";
      text += "T=" + std::to_string(line.Param(3));
      if ((line.Param(1) & 0x01) != 0) text += UiText("InstructionSet", ", To drain");
      return text;
    }
    case Instruction::PumpHighVolume:
      return PumpText(line) + DelayAndFlushText(line) + ", V=" + std::to_string(ParamWord(line, 3));
    default:
      return "";
  }
}

}  // namespace

std::string InstructionName(int code) {
  switch (static_cast<Instruction>(code)) {
    case Instruction::Empty:
      return UiText("InstructionSet", "Empty");
    case Instruction::Reset:
      return UiText("InstructionSet", "Reset");
    case Instruction::InputWait:
      return UiText("InstructionSet", "Input wait");
    case Instruction::InputOffWait:
      return UiText("InstructionSet", "Input off wait");
    case Instruction::InputEvent:
      return UiText("InstructionSet", "Input event");
    case Instruction::InputJump:
      return UiText("InstructionSet", "Input jump");
    case Instruction::Jump:
      return UiText("InstructionSet", "Jump");
    case Instruction::Wait:
      return UiText("InstructionSet", "Wait");
    case Instruction::Pump:
      return UiText("InstructionSet", "Pump");
    case Instruction::Flush:
      return UiText("InstructionSet", "Flush");
    case Instruction::KeyboardLock:
      return UiText("InstructionSet", "Keyboard lock");
    case Instruction::PumpHighVolume:
      return UiText("InstructionSet", "Pump, high volume");
  }
  return {};
}

int ParameterByteCount(int code) {
  if (code < 0 || code >= static_cast<int>(ParameterBytes.size())) return 0;
  return ParameterBytes[code];
}

int InputField(const ProgramLine& line, int n) {
  return Nibble(line, 2, n);
}

int TargetField(const ProgramLine& line, int n) {
  return (ParamWord(line, 4) >> (5 * (n - 1))) & 0x1F;
}

int InputOffField(const ProgramLine& line, int n) {
  return Nibble(line, 1, n);
}

int PumpField(const ProgramLine& line) {
  return line.Param(1) & 0x0F;
}

int FlushField(const ProgramLine& line) {
  return (line.Param(1) >> 4) & 0x03;
}

int ParamWord(const ProgramLine& line, int first) {
  return line.Param(first) + 256 * line.Param(first + 1);
}

LineTexts ShowLine(const ProgramLine& line) {
  const int code = line.Instruction();
  if (code >= InstructionCount) return {std::to_string(code) + " ???", "", line.comment};
  return {" " + InstructionName(code), Parameters(line), line.comment};
}

}  // namespace qd
