#include "model/system_commands.h"

#include "app/text.h"
#include "model/system_file.h"
#include "model/system_setup.h"

namespace qd {
namespace {

bool IsMachine(int index) {
  return index >= 0 && index < MachineCount;
}

void Tell(const WorkingConfig& config, ChangeCause cause, std::uint8_t parts, int machine = -1,
          std::optional<double> usedTextPercent = std::nullopt) {
  config.observers.Notify(ConfigChange{cause, parts, machine, usedTextPercent});
}

}  // namespace

void ResetSystem(WorkingConfig& config) {
  ResetSystemSetup(config);
  for (MachineConfig& machine : config.system.Machines)
    machine.Clear();
  config.image.imageHeld = false;
}

BuildResult NewSystem(WorkingConfig& config, const LocalDateTime& now) {
  ResetSystemSetup(config);
  for (MachineConfig& machine : config.system.Machines)
    machine.Clear();
  const BuildResult build = BuildImage(config, now);
  Tell(config, ChangeCause::New, ConfigPart::WholeSystem, -1, build.usedTextPercent);
  return build;
}

LoadResult LoadSystem(WorkingConfig& config, const std::filesystem::path& path, const LocalDateTime& now) {
  LoadResult result;
  ResetSystem(config);
  result.file = ReadSystemFile(config, path);
  result.build = BuildImage(config, now);
  FillFromSystemData(config);
  Tell(config, ChangeCause::Load, ConfigPart::WholeSystem, -1, result.build.usedTextPercent);
  return result;
}

LoadResult SaveSystem(WorkingConfig& config, const std::filesystem::path& path, const LocalDateTime& now) {
  LoadResult result;
  result.file = WriteSystemFile(config, path);
  result.build = BuildImage(config, now);
  // The system-wide items as the image holds them: names cut to their fields, numbers to their bytes.
  FillFromSystemData(config);
  Tell(config, ChangeCause::Save, ConfigPart::SystemSettings, -1, result.build.usedTextPercent);
  return result;
}

BuildResult BuildSystemImage(WorkingConfig& config, const LocalDateTime& now) {
  const BuildResult build = BuildImage(config, now);
  Tell(config, ChangeCause::Build, 0, -1, build.usedTextPercent);
  return build;
}

void SettleSystemSetup(WorkingConfig& config) {
  SystemConfig& system = config.system;
  if (system.SystemName.size() > SystemNameLength) system.SystemName.resize(SystemNameLength);
  system.DefaultInputFilter = std::to_string(WholeNumberOr(system.DefaultInputFilter) & 0xFF);
  Tell(config, ChangeCause::Edit, ConfigPart::SystemSettings);
}

void CopyMachine(WorkingConfig& config, int from, int to) {
  if (!IsMachine(from) || !IsMachine(to) || from == to) return;
  config.system.Machines[to].CopyFrom(config.system.Machines[from]);
  Tell(config, ChangeCause::Copy, ConfigPart::WholeMachine, to);
}

void ClearMachine(WorkingConfig& config, int index) {
  if (index != -1 && !IsMachine(index)) return;
  for (int m = 0; m < MachineCount; ++m) {
    if (index == -1 || index == m) config.system.Machines[m].Clear();
  }
  Tell(config, ChangeCause::Clear, ConfigPart::WholeMachine, index);
}

void StoreProgram(WorkingConfig& config, int machine, int program, const DosingProgram& stored) {
  if (!IsMachine(machine) || program < 0 || program >= ProgramCount) return;
  config.system.Machines[machine].Programs[program] = stored;
  Tell(config, ChangeCause::Edit, ConfigPart::MachinePrograms, machine);
}

void StoreTrigger(WorkingConfig& config, int machine, const TriggerSettings& stored) {
  if (!IsMachine(machine)) return;
  config.system.Machines[machine].Trigger = stored;
  Tell(config, ChangeCause::Edit, ConfigPart::MachineTrigger, machine);
}

void ChangeTriggerType(WorkingConfig& config, int machine, int typeCode) {
  if (!IsMachine(machine)) return;
  config.system.Machines[machine].Trigger.ChangeType(typeCode);
  Tell(config, ChangeCause::Edit, ConfigPart::MachineTrigger, machine);
}

void AcceptCalibration(WorkingConfig& config, int machine, int pump, int secondsPer100ml) {
  if (!IsMachine(machine) || pump < 1 || pump > PumpCount) return;
  config.system.Machines[machine].Calibration[pump - 1] = std::to_string(secondsPer100ml);
  Tell(config, ChangeCause::Edit, ConfigPart::MachineCalibrations, machine);
}

void NoteEdit(WorkingConfig& config, std::uint8_t parts, int machine) {
  Tell(config, ChangeCause::Edit, parts, machine);
}

}  // namespace qd
