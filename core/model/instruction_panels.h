#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/dosing_program.h"

namespace qd {

// The parameter panels of the program editor, one per instruction kind, as plain values in the form
// their controls hold them: a combo box's item index (NoChoice when nothing is selected), an edit box's
// text as typed, a check box's state. Each Decode fills a panel from a line's bytes; each Encode writes
// b1..b5 of a line from a panel and leaves byte 0, the comment and bytes 6..7 alone. Default-constructed
// panels hold the start values that the controls get when the instruction of a line changes.
//
// Combo box items:
//   input boxes   0 "-", 1..6 the trigger input
//   target boxes  0..23 the lines "1".."24", 24 "Reset"
//   jump box      0..23 the lines "1".."24"
//   pump boxes    0 "-", 1..7 the pump
//   flush boxes   0 "No", 1 "Short", 2 "Long"

constexpr int NoChoice = -1;
constexpr int ResetTargetItem = 24;

// An input that jumps when it comes on, with its target: InputInputNCombo and InputLineNCombo, N = 2..4.
struct InputJumpRow {
  int input = 0;
  int target = NoChoice;
  bool targetEnabled = false;  // only while an input 1..6 is chosen

  bool operator==(const InputJumpRow&) const = default;
};

// InstructionInputGroup: "Input wait", "Input event", "Input jump".
struct InputPanel {
  std::string filter = "0";             // InputFilterEdit
  int nextLineInput = 0;                // InputInput1Combo ("-> Next line")
  bool nextLineEnabled = true;          // InputInput1Combo and its labels; off for codes 4 and 5
  std::array<InputJumpRow, 3> jumps{};  // inputs B, C, D

  bool operator==(const InputPanel&) const = default;
};

// InputOffWaitGroupBox: InputOff1ComboBox .. InputOff6ComboBox.
struct InputOffPanel {
  std::array<int, 6> inputs{};

  bool operator==(const InputOffPanel&) const = default;
};

// InstructionJumpToLineGroup: JumpToLineCombo.
struct JumpPanel {
  int target = NoChoice;

  bool operator==(const JumpPanel&) const = default;
};

// InstructionWaitGroup: WaitSecondsEdit.
struct WaitPanel {
  std::string seconds = "0";

  bool operator==(const WaitPanel&) const = default;
};

// InstructionPumpGroup.
struct PumpPanel {
  int pump = 0;                                          // PumpPumpCombo
  int flush = 1;                                         // PumpFlushCombo
  bool waitDispensed = true;                             // PumpWaitDispenseDoneBtn
  std::string delay = "0";                               // PumpDelayEdit
  std::array<std::string, 3> volumes = {"0", "0", "0"};  // PumpVolume1Edit .. PumpVolume3Edit: low, mid, high

  bool operator==(const PumpPanel&) const = default;
};

// InstructionFlushGroup.
struct FlushPanel {
  bool toDrain = false;     // FlushToDrainBtn
  bool waitDone = false;    // FlushWaitDoneBtn
  std::string delay = "0";  // FlushDelayEdit
  std::string time = "0";   // FlushTimeEdit

  bool operator==(const FlushPanel&) const = default;
};

// InstructionPumpHighVolumeGroup.
struct PumpHighVolumePanel {
  int pump = 0;                 // PumpHighPumpCombo
  int flush = 1;                // PumpHighFlushCombo
  bool waitDispensed = true;    // PumpHighWaitDispenseDoneBtn
  std::string delay = "0";      // PumpHighDelayEdit
  std::string volume = "0";     // PumpHighVolumeEdit, mid level
  std::string lowAdjust = "0";  // PumpHighVolumeLowEdit

  bool operator==(const PumpHighVolumePanel&) const = default;
};

InputPanel DecodeInputPanel(const ProgramLine& line);
void EncodeInputPanel(const InputPanel& panel, ProgramLine& line);
// A new choice in an input box of the row: its target box is enabled for an input 1..6, otherwise
// disabled with no choice.
void ChangeInput(InputJumpRow& row, int input);

InputOffPanel DecodeInputOffPanel(const ProgramLine& line);
void EncodeInputOffPanel(const InputOffPanel& panel, ProgramLine& line);

JumpPanel DecodeJumpPanel(const ProgramLine& line);
void EncodeJumpPanel(const JumpPanel& panel, ProgramLine& line);

WaitPanel DecodeWaitPanel(const ProgramLine& line);
void EncodeWaitPanel(const WaitPanel& panel, ProgramLine& line);

PumpPanel DecodePumpPanel(const ProgramLine& line);
void EncodePumpPanel(const PumpPanel& panel, ProgramLine& line);

FlushPanel DecodeFlushPanel(const ProgramLine& line);
void EncodeFlushPanel(const FlushPanel& panel, ProgramLine& line);

PumpHighVolumePanel DecodePumpHighVolumePanel(const ProgramLine& line);
void EncodePumpHighVolumePanel(const PumpHighVolumePanel& panel, ProgramLine& line);
// PumpHighVolumeHighLabel: twice the typed low adjustment, or "" when the text is not a number.
std::string HighAdjustText(std::string_view lowAdjust);

// The line changes that showing its panel makes, before the panel is decoded: an "Input event" or
// "Input jump" line loses its input A (that box is disabled for them), and a "Pump, high volume" line
// whose pump field is not 1..7 and whose b5 is 0 gets the low adjustment 25. Kept apart from the Decode
// functions so that decoding never changes a line. Returns whether the line changed.
bool PrepareLineForPanel(ProgramLine& line);

// Which panel shows a line: NoParameters for codes 0, 1 and 10, None for codes 12..15.
enum class PanelKind { None, NoParameters, Input, InputOff, Jump, Wait, Pump, Flush, PumpHighVolume };

PanelKind PanelKindOf(int code);

// One of each panel, as the editor holds them; a default-constructed set holds the start values.
struct ProgramPanels {
  InputPanel input;
  InputOffPanel inputOff;
  JumpPanel jump;
  WaitPanel wait;
  PumpPanel pump;
  FlushPanel flush;
  PumpHighVolumePanel pumpHighVolume;

  bool operator==(const ProgramPanels&) const = default;
};

// Fills the panel of the line's kind; the other panels keep their values.
void DecodePanel(const ProgramLine& line, ProgramPanels& panels);
// Writes b1..b5 from the panel of the line's kind; a line without parameters or with an invalid code
// is left as it is.
void EncodePanel(const ProgramPanels& panels, ProgramLine& line);

}  // namespace qd
