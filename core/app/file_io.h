#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qd {

struct FileResult {
  bool ok = false;
  std::string error;  // what failed and where; empty on success
};

// The whole file as bytes, or no value with the reason in `error`.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string& error);

// Writes a temporary file beside the target, flushes it to the disk and renames it over the target:
// the target is always either the old or the new file, never a partial one. A good save also removes
// the temporary files that interrupted saves of the same file left behind.
FileResult WriteFileAtomically(const std::filesystem::path& path, std::string_view data);

}  // namespace qd
