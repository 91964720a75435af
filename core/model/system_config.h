#pragma once

#include <array>
#include <string>

#include "model/counts.h"
#include "model/dosing_program.h"
#include "model/trigger_settings.h"

namespace qd {

constexpr int SoapAmountPumps = 6;
constexpr int RecipientCount = 8;
constexpr int AlarmGroupCount = 3;

// The five alarms of an alarm group, in mask bit order 1..5.
enum class Alarm { Level, Water, TriggerError, KeyboardError, DispenseError };
constexpr int AlarmKinds = 5;
using AlarmGroup = std::array<bool, AlarmKinds>;

// The settings of one washing machine as its editor holds them: edit texts exactly as typed,
// combo box indexes (-1 for no selection), check states and the stored records.
struct MachineConfig {
  int DefaultProgram = 0;  // DefaultProgramComboBox: 0 "-", 1..6
  bool AllowNoProgram = false;
  int SoftnerPump = 0;  // SoftnerPumpComboBox: 0 "-", 1..7
  std::string ShortFlushTime = "5";
  std::string LongFlushTime = "10";
  std::string ProgramTimeout = "30";
  std::string Comment;
  std::array<std::string, PumpCount> Calibration{"30", "30", "30", "30", "30", "30", "30"};
  TriggerSettings Trigger;
  std::array<DosingProgram, ProgramCount> Programs;

  MachineConfig() { Clear(); }

  // Back to the defaults; AllowNoProgram keeps its state.
  void Clear();
  // Everything of another machine, the trigger block included.
  void CopyFrom(const MachineConfig& source) { *this = source; }

  bool operator==(const MachineConfig&) const = default;
};

// The items of the combo box lists the system file names by their text.
std::string SoftnerPumpItemText(int index);           // "-", "1" .. "7"; "" for no selection
int SoftnerPumpIndexOfText(const std::string& text);  // -1 when no item matches exactly

// The system-wide settings as the system setup window holds them, and the ten machines.
struct SystemConfig {
  std::string SystemName;
  std::string DefaultInputFilter = "5";
  std::array<bool, MachineCount> MachineEnabled{true};
  std::array<AlarmGroup, AlarmGroupCount> AlarmGroups{};
  std::array<std::string, RecipientCount> Recipients;
  bool ActiveHighCommon = false;
  std::array<bool, PumpCount> ActiveHighLevel{};
  bool ActiveHighExtra = false;
  bool AlarmOnAmountEnabled = false;
  std::array<std::string, SoapAmountPumps> AlarmAmount{"0.00", "0.00", "0.00", "0.00", "0.00", "0.00"};
  std::array<std::string, SoapAmountPumps> UsedAmount{"0.00", "0.00", "0.00", "0.00", "0.00", "0.00"};
  std::array<MachineConfig, MachineCount> Machines;

  bool operator==(const SystemConfig&) const = default;
};

}  // namespace qd
