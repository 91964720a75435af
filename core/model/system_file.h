#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_io.h"
#include "app/text.h"
#include "model/working_config.h"

namespace qd {

// A name ending in ".xml" (any case) is a system file; the tools take any other name for a raw image.
inline bool IsSystemFileName(std::string_view name) {
  return name.size() >= 4 && EqualsIgnoringCase(name.substr(name.size() - 4), ".xml");
}

// The system file as bytes (windows-1252, CR LF), from the working configuration and the held image.
std::string SystemFileText(const WorkingConfig& config);

// Writes a temporary file beside the target and renames it over the target, so that a failed save
// leaves the previous file as it was.
FileResult WriteSystemFile(const WorkingConfig& config, const std::filesystem::path& path);

// Reads a system file into the working configuration, value by value. A failure stops the reading where
// it stands: what was read before stays, the rest keeps its value.
FileResult ReadSystemFile(WorkingConfig& config, const std::filesystem::path& path);
FileResult ReadSystemFileText(WorkingConfig& config, std::string_view text);

// An Electrolux trigger whose program map sets entries that a system file does not keep (16..30): they
// live in the image only.
bool SetsUnkeptElectroluxEntries(const TriggerSettings& trigger);
// The machines (1..10) with such a trigger.
std::vector<int> MachinesWithUnkeptElectroluxEntries(const SystemConfig& system);

}  // namespace qd
