#include "model/system_commands.h"

#include "model/system_file.h"
#include "model/system_setup.h"

namespace qd {

void ResetSystem(WorkingConfig& config) {
  ResetSystemSetup(config);
  for (MachineConfig& machine : config.system.Machines)
    machine.Clear();
  config.image.imageHeld = false;
}

void RefreshViews(WorkingConfig& config) {
  FillFromSystemData(config);
}

BuildResult NewSystem(WorkingConfig& config, const LocalDateTime& now) {
  ResetSystemSetup(config);
  for (MachineConfig& machine : config.system.Machines)
    machine.Clear();
  return BuildImage(config, now);
}

LoadResult LoadSystem(WorkingConfig& config, const std::filesystem::path& path, const LocalDateTime& now) {
  LoadResult result;
  ResetSystem(config);
  result.file = ReadSystemFile(config, path);
  result.build = BuildImage(config, now);
  RefreshViews(config);
  return result;
}

LoadResult SaveSystem(WorkingConfig& config, const std::filesystem::path& path, const LocalDateTime& now) {
  LoadResult result;
  result.file = WriteSystemFile(config, path);
  result.build = BuildImage(config, now);
  RefreshViews(config);
  return result;
}

}  // namespace qd
