#pragma once

#include <string>

#include "model/working_config.h"

namespace qdtool {

// A name ending in ".xml" is a system file; any other name a raw 32768-byte image.
bool IsSystemFile(const std::string& path);

struct Input {
  bool ok = false;
  std::string failure;  // why a system file failed to read, or why an image was refused
  double usedTextPercent = 0;
  int dataLength = 0;
};

// What the desktop tool holds after taking the file in: Load System for a system file (reset, read,
// build, refresh), ParseImage for an image. A system file that fails to read leaves what was read
// before the failure, built into the image. A file that cannot be read at all throws Failure.
Input LoadInput(qd::WorkingConfig& config, const std::string& path, const qd::LocalDateTime& buildTime);

// The image's bytes written to a file, all 32768 of them.
void WriteImageFile(const qd::ControllerImage& image, const std::string& path);
void WriteSystemFileOrFail(const qd::WorkingConfig& config, const std::string& path);

}  // namespace qdtool
