#pragma once

#include <string>

#include "model/working_config.h"

namespace qd {

struct ParseResult {
  bool ok = false;
  std::string error;           // "Bad data format or version: %d.%d"
  std::size_t textInUse = 0;   // 1 + the first offset where two zero bytes follow each other
  double usedTextPercent = 0;  // textInUse in percent of the area
};

// Take an image just read from a controller into the working configuration.
ParseResult ParseImage(WorkingConfig& config);

// "Date: %04d-%02d-%02d %02d:%02d:%02d" of the controller clock in the image.
std::string ControllerDateText(const ControllerImage& image);

}  // namespace qd
