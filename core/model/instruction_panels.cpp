#include "model/instruction_panels.h"

#include <cstdint>

#include "app/text.h"
#include "model/counts.h"
#include "model/instruction_set.h"

namespace qd {
namespace {

constexpr int InputCount = 6;
constexpr int LineCount = DosingProgram::LineCount;
// The low adjustment of a high-volume line that has none yet, and of a text that is not a number.
constexpr int DefaultLowAdjust = 25;

// The low bits of a typed number that a field of `mask` keeps.
int TypedNumber(std::string_view text, int mask, int fallback = 0) {
  return static_cast<int>(static_cast<std::uint32_t>(WholeNumberOr(text, fallback)) & mask);
}

std::uint8_t Byte(int value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

void SetParams(ProgramLine& line, int b1, int b2, int b3, int b4, int b5) {
  line.Param(1) = Byte(b1);
  line.Param(2) = Byte(b2);
  line.Param(3) = Byte(b3);
  line.Param(4) = Byte(b4);
  line.Param(5) = Byte(b5);
}

// The field value of a box whose items 1..count are the values 1..count; "-" and no choice are 0.
int NumberedItemField(int item, int count) {
  return item >= 1 && item <= count ? item : 0;
}

int InputItem(int field) {
  return field <= InputCount ? field : NoChoice;
}

int TargetItem(int field) {
  if (field >= 1 && field <= LineCount) return field - 1;
  if (field == ResetTarget) return ResetTargetItem;
  return NoChoice;
}

int TargetItemField(int item) {
  if (item >= 0 && item < LineCount) return item + 1;
  if (item == ResetTargetItem) return ResetTarget;
  return NoTarget;
}

int FlushItem(int field) {
  return field <= 2 ? field : NoChoice;
}

int FlushItemField(int item) {
  return item >= 0 && item <= 2 ? item : 0;
}

// b1 of the pump instructions.
int PumpByte(int pumpItem, int flushItem, bool waitDispensed) {
  return NumberedItemField(pumpItem, PumpCount) | FlushItemField(flushItem) << 4 | (waitDispensed ? 0x40 : 0);
}

int PumpItem(const ProgramLine& line) {
  return NumberedItemField(PumpField(line), PumpCount);
}

bool WaitDispensed(const ProgramLine& line) {
  return (line.Param(1) & 0x40) != 0;
}

}  // namespace

InputPanel DecodeInputPanel(const ProgramLine& line) {
  InputPanel panel;
  panel.filter = std::to_string(line.Param(1));
  const auto code = static_cast<Instruction>(line.Instruction());
  panel.nextLineEnabled = code != Instruction::InputEvent && code != Instruction::InputJump;
  panel.nextLineInput = panel.nextLineEnabled ? InputItem(InputField(line, 0)) : NoChoice;
  for (int n = 1; n <= 3; ++n) {
    InputJumpRow& row = panel.jumps[n - 1];
    ChangeInput(row, InputItem(InputField(line, n)));
    if (row.targetEnabled) row.target = TargetItem(TargetField(line, n));
  }
  return panel;
}

void EncodeInputPanel(const InputPanel& panel, ProgramLine& line) {
  std::array<int, 4> inputs{};
  inputs[0] = panel.nextLineEnabled ? NumberedItemField(panel.nextLineInput, InputCount) : 0;
  int targets = 0;
  for (int n = 1; n <= 3; ++n) {
    const InputJumpRow& row = panel.jumps[n - 1];
    inputs[n] = NumberedItemField(row.input, InputCount);
    const int target = inputs[n] != 0 ? TargetItemField(row.target) : ResetTarget;
    targets |= target << (5 * (n - 1));
  }
  SetParams(line, TypedNumber(panel.filter, 0xFF), inputs[0] | inputs[1] << 4, inputs[2] | inputs[3] << 4,
            targets, targets >> 8);
}

void ChangeInput(InputJumpRow& row, int input) {
  row.input = input;
  row.targetEnabled = input >= 1 && input <= InputCount;
  if (!row.targetEnabled) row.target = NoChoice;
}

InputOffPanel DecodeInputOffPanel(const ProgramLine& line) {
  InputOffPanel panel;
  for (int n = 0; n < InputCount; ++n)
    panel.inputs[n] = InputItem(InputOffField(line, n));
  return panel;
}

void EncodeInputOffPanel(const InputOffPanel& panel, ProgramLine& line) {
  std::array<int, InputCount> fields{};
  for (int n = 0; n < InputCount; ++n)
    fields[n] = NumberedItemField(panel.inputs[n], InputCount);
  SetParams(line, fields[0] | fields[1] << 4, fields[2] | fields[3] << 4, fields[4] | fields[5] << 4, 0, 0);
}

JumpPanel DecodeJumpPanel(const ProgramLine& line) {
  const int target = line.Param(1);
  return {target >= 1 && target <= LineCount ? target - 1 : NoChoice};
}

void EncodeJumpPanel(const JumpPanel& panel, ProgramLine& line) {
  const int target = panel.target >= 0 && panel.target < LineCount ? panel.target + 1 : NoTarget;
  SetParams(line, target, 0, 0, 0, 0);
}

WaitPanel DecodeWaitPanel(const ProgramLine& line) {
  return {std::to_string(ParamWord(line, 1))};
}

void EncodeWaitPanel(const WaitPanel& panel, ProgramLine& line) {
  const int seconds = TypedNumber(panel.seconds, 0xFFFF);
  SetParams(line, seconds, seconds >> 8, 0, 0, 0);
}

PumpPanel DecodePumpPanel(const ProgramLine& line) {
  return {PumpItem(line),
          FlushItem(FlushField(line)),
          WaitDispensed(line),
          std::to_string(line.Param(2)),
          {std::to_string(line.Param(3)), std::to_string(line.Param(4)), std::to_string(line.Param(5))}};
}

void EncodePumpPanel(const PumpPanel& panel, ProgramLine& line) {
  SetParams(line, PumpByte(panel.pump, panel.flush, panel.waitDispensed), TypedNumber(panel.delay, 0xFF),
            TypedNumber(panel.volumes[0], 0xFF), TypedNumber(panel.volumes[1], 0xFF),
            TypedNumber(panel.volumes[2], 0xFF));
}

FlushPanel DecodeFlushPanel(const ProgramLine& line) {
  return {(line.Param(1) & 0x01) != 0, (line.Param(1) & 0x02) != 0, std::to_string(line.Param(2)),
          std::to_string(line.Param(3))};
}

void EncodeFlushPanel(const FlushPanel& panel, ProgramLine& line) {
  SetParams(line, (panel.toDrain ? 0x01 : 0) | (panel.waitDone ? 0x02 : 0), TypedNumber(panel.delay, 0xFF),
            TypedNumber(panel.time, 0xFF), 0, 0);
}

PumpHighVolumePanel DecodePumpHighVolumePanel(const ProgramLine& line) {
  return {PumpItem(line),
          FlushItem(FlushField(line)),
          WaitDispensed(line),
          std::to_string(line.Param(2)),
          std::to_string(ParamWord(line, 3)),
          std::to_string(line.Param(5))};
}

void EncodePumpHighVolumePanel(const PumpHighVolumePanel& panel, ProgramLine& line) {
  const int volume = TypedNumber(panel.volume, 0xFFFF);
  SetParams(line, PumpByte(panel.pump, panel.flush, panel.waitDispensed), TypedNumber(panel.delay, 0xFF),
            volume, volume >> 8, TypedNumber(panel.lowAdjust, 0xFF, DefaultLowAdjust));
}

std::string HighAdjustText(std::string_view lowAdjust) {
  const auto percent = ParseWholeNumber(lowAdjust);
  return percent ? std::to_string(2 * static_cast<long long>(*percent)) : "";
}

bool PrepareLineForPanel(ProgramLine& line) {
  const ProgramLine before = line;
  switch (static_cast<Instruction>(line.Instruction())) {
    case Instruction::InputEvent:
    case Instruction::InputJump:
      line.Param(2) &= 0xF0;
      break;
    case Instruction::PumpHighVolume:
      if (PumpItem(line) == 0 && line.Param(5) == 0) line.Param(5) = DefaultLowAdjust;
      break;
    default:
      break;
  }
  return line != before;
}

PanelKind PanelKindOf(int code) {
  using enum PanelKind;
  constexpr std::array<PanelKind, InstructionCount> Kinds = {
      NoParameters, NoParameters, Input, InputOff, Input,        Input,
      Jump,         Wait,         Pump,  Flush,    NoParameters, PumpHighVolume};
  if (code < 0 || code >= InstructionCount) return None;
  return Kinds[code];
}

void DecodePanel(const ProgramLine& line, ProgramPanels& panels) {
  switch (PanelKindOf(line.Instruction())) {
    case PanelKind::Input:
      panels.input = DecodeInputPanel(line);
      break;
    case PanelKind::InputOff:
      panels.inputOff = DecodeInputOffPanel(line);
      break;
    case PanelKind::Jump:
      panels.jump = DecodeJumpPanel(line);
      break;
    case PanelKind::Wait:
      panels.wait = DecodeWaitPanel(line);
      break;
    case PanelKind::Pump:
      panels.pump = DecodePumpPanel(line);
      break;
    case PanelKind::Flush:
      panels.flush = DecodeFlushPanel(line);
      break;
    case PanelKind::PumpHighVolume:
      panels.pumpHighVolume = DecodePumpHighVolumePanel(line);
      break;
    case PanelKind::None:
    case PanelKind::NoParameters:
      break;
  }
}

void EncodePanel(const ProgramPanels& panels, ProgramLine& line) {
  switch (PanelKindOf(line.Instruction())) {
    case PanelKind::Input:
      EncodeInputPanel(panels.input, line);
      break;
    case PanelKind::InputOff:
      EncodeInputOffPanel(panels.inputOff, line);
      break;
    case PanelKind::Jump:
      EncodeJumpPanel(panels.jump, line);
      break;
    case PanelKind::Wait:
      EncodeWaitPanel(panels.wait, line);
      break;
    case PanelKind::Pump:
      EncodePumpPanel(panels.pump, line);
      break;
    case PanelKind::Flush:
      EncodeFlushPanel(panels.flush, line);
      break;
    case PanelKind::PumpHighVolume:
      EncodePumpHighVolumePanel(panels.pumpHighVolume, line);
      break;
    case PanelKind::None:
    case PanelKind::NoParameters:
      break;
  }
}

}  // namespace qd
