#pragma once

#include <filesystem>

#include "app/file_io.h"
#include "model/image_builder.h"
#include "model/working_config.h"

// The commands that change the working configuration. Each tells the configuration's observers what
// changed; windows call them instead of changing the configuration themselves.
namespace qd {

// Every editor back to an empty system; the buffer no longer counts as a held image. Tells no one:
// the command that calls it does.
void ResetSystem(WorkingConfig& config);

// A new system, built into the image at once.
BuildResult NewSystem(WorkingConfig& config, const LocalDateTime& now);

struct LoadResult {
  FileResult file;  // a failed read keeps what was read before the failure
  BuildResult build;
};

// Reset, read the system file, build the image and refresh; the build runs whether or not the read failed.
LoadResult LoadSystem(WorkingConfig& config, const std::filesystem::path& path, const LocalDateTime& now);

// Write the system file, then build the image and refresh.
LoadResult SaveSystem(WorkingConfig& config, const std::filesystem::path& path, const LocalDateTime& now);

// The image built from the configuration, as a write sends it.
BuildResult BuildSystemImage(WorkingConfig& config, const LocalDateTime& now);

// The system setup closes: the name cut to its field and the filter time to its byte, as the image
// will hold them.
void SettleSystemSetup(WorkingConfig& config);

// Machine `to` (0..9) becomes a copy of machine `from`, the trigger block included.
void CopyMachine(WorkingConfig& config, int from, int to);
// Machine `index` (0..9), or every machine for -1, back to a new machine ("Allow no program" stays).
void ClearMachine(WorkingConfig& config, int index);

// Program `program` (0..5) of machine `machine` (0..9) becomes `stored`.
void StoreProgram(WorkingConfig& config, int machine, int program, const DosingProgram& stored);
// The trigger block of machine `machine` (0..9) becomes `stored`.
void StoreTrigger(WorkingConfig& config, int machine, const TriggerSettings& stored);
// The trigger type of machine `machine` (0..9) changes at once: its type-specific area starts anew.
void ChangeTriggerType(WorkingConfig& config, int machine, int typeCode);
// The calibration of pump `pump` (1..7) of machine `machine` (0..9), as a calibration window accepted it.
void AcceptCalibration(WorkingConfig& config, int machine, int pump, int secondsPer100ml);

// A window stored an edit of its own controls in the configuration: the other observers learn of it.
void NoteEdit(WorkingConfig& config, std::uint8_t parts, int machine = -1);

}  // namespace qd
