#pragma once

#include <filesystem>

#include "app/file_io.h"
#include "model/image_builder.h"
#include "model/working_config.h"

// The system-level commands of the tool, on the working configuration.
namespace qd {

// Every editor back to an empty system; the buffer no longer counts as a held image.
void ResetSystem(WorkingConfig& config);

// The editors show the data again after a load, save or read.
void RefreshViews(WorkingConfig& config);

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

}  // namespace qd
