#pragma once

#include <string>

#include "model/working_config.h"
#include "target_options.h"

namespace qdtool {

struct ReadOptions {
  std::string loginCode;
  bool masterLogin = false;
  bool verbose = false;  // print the link's byte counters at the end
  std::string store;     // the history store the read goes to (--store); empty: the chosen one
};

// Reads the controller's system data into `config` (reset first) as `qdtool read` does, leaves a
// backup of what was read in the backup folder and records it in the history store (a backup or a
// store that fails is reported on standard error, the read still succeeds). Throws Failure when the
// read does not complete.
void ReadFromController(qd::WorkingConfig& config, const Target& target, const ReadOptions& options);

}  // namespace qdtool
