#pragma once

#include "model/working_config.h"

namespace qd {

struct BuildResult {
  int dataLength = 0;          // where the written data ends
  double usedTextPercent = 0;  // highest text byte in use, in percent of the area
};

// Where the data of an image ends whose text area has `textInUse` bytes in use (byte 0 included):
// the area is padded with zeros to a multiple of 16, at least 17 bytes, while there is room.
int DataLengthForText(std::size_t textInUse);

// Build the system data of the image from the working configuration. The log areas and, unless
// master-login mode is on, the system login code keep what the buffer holds.
BuildResult BuildImage(WorkingConfig& config, const LocalDateTime& buildTime);

}  // namespace qd
