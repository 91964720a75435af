#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/translation.h"
#include "link/status_records.h"
#include "model/counts.h"

namespace qd::link {

// What a machine window shows of its machine's live state: the running program's highlight, the
// keyboard-locked caption, the six trigger inputs, the weight or percent labels and the "K", "T" and
// "S" indicators. Fed with the controller's status frames, the trigger module's reports overheard on the
// bus and the gateway's machine records; 100 ms ticks let the link indicators go stale.
class MachineStatusView {
 public:
  static constexpr int ProgramCount = qd::ProgramCount;
  static constexpr int InputCount = 6;
  // A trigger report or gateway record keeps the indicators alive for 5 s of 100 ms ticks.
  static constexpr int HoldTicks = 50;
  static constexpr std::string_view ProgramCaption = QD_TRANSLATABLE("MachineStatusView", " Program ");
  static constexpr std::string_view KeyboardLockedCaption = " Program, Keyboard locked ";
  static constexpr std::string_view InitialWeightText = "75%";

  struct WeightLabel {
    bool visible = false;
    std::string text{InitialWeightText};

    bool operator==(const WeightLabel&) const = default;
  };

  // The running program's editor shows the running line.
  struct RunningLineReport {
    int program = 0;  // 0..5
    int line = 0;     // 1..24

    bool operator==(const RunningLineReport&) const = default;
  };

  // What an update asks of the window beyond showing the state again.
  struct Update {
    bool highlightChanged = false;
    std::optional<RunningLineReport> runningLine;
    // A status report (command 3): the trigger module's kind and version for the trigger window.
    std::optional<TriggerModuleStatus> module;
  };

  // `decimalSeparator` is the one weights are shown with.
  explicit MachineStatusView(char decimalSeparator = '.') : decimalSeparator_(decimalSeparator) {}
  void SetDecimalSeparator(char separator) { decimalSeparator_ = separator; }

  // A controller status frame; `machine` 0..9 picks the record, `triggerType` is the machine's trigger
  // type code. Frames converted from the older form carry no valid percent value nor inputs.
  Update ApplyControllerStatus(const ControllerStatus& status, int machine, int triggerType);
  // A trigger module's report for this machine.
  Update ApplyTriggerReport(const TriggerReport& report, int triggerType);
  // The gateway's record of this machine.
  Update ApplyGatewayRecord(const MachineStatus& record);
  // One 100 ms tick; true on the tick on which the hold time runs out (the indicators went stale).
  bool Tick();

  // The window is shown again: "K", "T" and "S" hidden, the keyboard caption back to normal.
  void ResetIndicators();
  // The trigger type is shown anew: no weight label.
  void HideWeights();
  // The machine was cleared: no weight label and no running program.
  void Clear();

  int RunningProgram() const { return runningProgram_; }  // 0..5, -1 for none
  bool KeyboardLocked() const { return keyboardLocked_; }
  // ProgramCaption or KeyboardLockedCaption, in the desktop tool's language.
  std::string GroupCaption() const;
  bool InputActive(int input) const {
    return input >= 0 && input < InputCount && (inputs_ >> input & 1) != 0;
  }
  std::uint8_t Inputs() const { return inputs_; }
  const WeightLabel& Weight(int label) const { return weights_.at(static_cast<std::size_t>(label)); }
  int WeightIndex() const { return weightIndex_; }  // 0..5, -1 for none
  std::uint8_t StoredWeight() const { return storedWeight_; }
  bool KeyboardConnectedShown() const { return keyboardConnected_; }  // "K"
  bool TriggerOnlineShown() const { return triggerOnline_; }          // "T"
  bool SerialConnectionShown() const { return serialConnection_; }    // "S"
  int HoldTime() const { return holdTime_; }

 private:
  Update ShowRunningProgram(const MachineStatus& record);
  void ShowKeyboardLocked(bool locked);
  void ShowNyborgWeight(const TriggerReport& report);
  void ShowElectroluxWeight(const TriggerReport& report);
  void ShowMieleLogicPercent(const TriggerReport& report);
  void ShowPercent(int label, int percent);
  void ShowWeight(int label, std::uint8_t halfKilograms);
  void HideAllWeights();

  char decimalSeparator_;
  int runningProgram_ = -1;
  bool keyboardLocked_ = false;
  std::uint8_t inputs_ = 0;
  std::array<WeightLabel, InputCount> weights_{};
  int weightIndex_ = -1;
  std::uint8_t storedWeight_ = 0;
  bool keyboardConnected_ = false;
  bool triggerOnline_ = false;
  bool serialConnection_ = false;
  int holdTime_ = 0;
};

}  // namespace qd::link
