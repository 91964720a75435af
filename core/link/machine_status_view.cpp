#include "link/machine_status_view.h"

#include "app/tenths_text.h"
#include "app/text.h"
#include "app/translation.h"
#include "link/bus_payload.h"
#include "model/dosing_program.h"
#include "model/trigger_settings.h"

namespace qd::link {

namespace {

constexpr int MaxPercent = 200;
constexpr int Input6 = 5;

// The lowest active input 0..5, or -1.
int LowestInput(std::uint8_t inputs) {
  for (int i = 0; i < MachineStatusView::InputCount; ++i) {
    if ((inputs >> i & 1) != 0) return i;
  }
  return -1;
}

}  // namespace

MachineStatusView::Update MachineStatusView::ApplyControllerStatus(const ControllerStatus& status,
                                                                   int machine, int triggerType) {
  const MachineStatus record = status.Machine(machine);
  Update update = ShowRunningProgram(record);
  ShowKeyboardLocked(record.KeyboardLocked());
  if (status.IsCurrentForm() && triggerType == trigger::TypeMieleEthernet) {
    ShowPercent(0, record.Percent());
    triggerOnline_ = record.TriggerOnline();
    inputs_ = record.Inputs();
  }
  return update;
}

MachineStatusView::Update MachineStatusView::ApplyTriggerReport(const TriggerReport& report,
                                                                int triggerType) {
  holdTime_ = HoldTicks;
  triggerOnline_ = true;
  inputs_ = report.inputs;
  switch (triggerType) {
    case trigger::TypeNyborgW3:
    case trigger::TypeNyborgHs:
      ShowNyborgWeight(report);
      break;
    case trigger::TypeElectrolux:
      ShowElectroluxWeight(report);
      break;
    case trigger::TypeMieleLogic:
      ShowMieleLogicPercent(report);
      break;
    default:
      break;
  }

  Update update;
  if (report.command == command::TriggerStatusReport) {
    // Status bytes that did not arrive read as 0.
    const TriggerModuleStatus module = report.module.value_or(TriggerModuleStatus{});
    keyboardConnected_ = module.keyboardConnected;
    serialConnection_ = module.serialConnection;
    update.module = module;
  }
  return update;
}

MachineStatusView::Update MachineStatusView::ApplyGatewayRecord(const MachineStatus& record) {
  holdTime_ = HoldTicks;
  if (record.TriggerOnline()) {
    triggerOnline_ = true;
    keyboardConnected_ = record.KeyboardConnected();
    serialConnection_ = record.SerialConnection();
    ShowKeyboardLocked(record.KeyboardLocked());
    inputs_ = record.Inputs();
  } else {
    triggerOnline_ = keyboardConnected_ = serialConnection_ = false;
    inputs_ = 0;
  }
  return ShowRunningProgram(record);
}

bool MachineStatusView::Tick() {
  if (holdTime_ <= 0) return false;
  if (--holdTime_ > 0) return false;
  keyboardConnected_ = triggerOnline_ = serialConnection_ = false;
  keyboardLocked_ = false;
  return true;
}

void MachineStatusView::ResetIndicators() {
  keyboardConnected_ = triggerOnline_ = serialConnection_ = false;
  keyboardLocked_ = false;
}

void MachineStatusView::HideWeights() {
  HideAllWeights();
  weightIndex_ = -1;
}

void MachineStatusView::Clear() {
  HideWeights();
  runningProgram_ = -1;
}

MachineStatusView::Update MachineStatusView::ShowRunningProgram(const MachineStatus& record) {
  Update update;
  const int program = record.RunningProgram();
  const int line = record.RunningLine();
  if (program >= 0 && line >= 1 && line <= DosingProgram::LineCount)
    update.runningLine = RunningLineReport{program, line};
  if (program != runningProgram_) {
    runningProgram_ = program;
    update.highlightChanged = true;
  }
  return update;
}

std::string MachineStatusView::GroupCaption() const {
  return keyboardLocked_ ? UiText("MachineStatusView", " Program, Keyboard locked ")
                         : UiText("MachineStatusView", " Program ");
}

void MachineStatusView::ShowKeyboardLocked(bool locked) {
  keyboardLocked_ = locked;
}

void MachineStatusView::ShowNyborgWeight(const TriggerReport& report) {
  if (report.weightFlag) {
    // Bit 5 says "no weight" here, although it is input 6 as well.
    HideWeights();
    return;
  }
  const int input = LowestInput(report.inputs);
  if (input >= 0) {
    if (input != weightIndex_) {
      weightIndex_ = input;
      HideAllWeights();
    }
    storedWeight_ = report.value;
  }
  // With no input active the last weight stays shown.
  if (weightIndex_ >= 0) ShowWeight(weightIndex_, storedWeight_);
}

void MachineStatusView::ShowElectroluxWeight(const TriggerReport& report) {
  HideAllWeights();
  weightIndex_ = -1;
  // Bit 5 carries the weight of input 6.
  if (report.weightFlag && report.value != 0) ShowWeight(Input6, report.value);
}

void MachineStatusView::ShowMieleLogicPercent(const TriggerReport& report) {
  storedWeight_ = report.value;
  if (report.value >= 1 && report.value <= MaxPercent) {
    ShowPercent(0, report.value);
  } else {
    weights_[0].visible = false;
  }
}

void MachineStatusView::ShowPercent(int label, int percent) {
  weights_.at(static_cast<std::size_t>(label)) = {true, Format("%d%%", percent)};
}

void MachineStatusView::ShowWeight(int label, std::uint8_t halfKilograms) {
  weights_.at(static_cast<std::size_t>(label)) = {true,
                                                  FormatTenths(halfKilograms * 5, decimalSeparator_) + "kg"};
}

void MachineStatusView::HideAllWeights() {
  for (WeightLabel& label : weights_)
    label.visible = false;
}

}  // namespace qd::link
