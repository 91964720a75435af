#pragma once

#include <string>
#include <vector>

#include "model/system_config.h"
#include "model/working_config.h"

namespace qd::review {

enum class Severity { Warning, Error };

// A mistake found in a configuration, with the place it concerns (numbers from 1; 0 where the place is
// not that precise: a machine-wide finding has program 0, a program-wide one line 0).
struct Finding {
  Severity severity = Severity::Warning;
  int machine = 0;
  int program = 0;
  int line = 0;
  std::string message;  // in the desktop tool's language, as Place() and Text() are

  // "Machine 3 / Program 2 / Line 5", "Machine 3", "System"
  std::string Place() const;
  // "error: Machine 3 / Program 2 / Line 5: pump 4 has calibration 0"
  std::string Text() const;

  bool operator==(const Finding&) const = default;
};

// The findings of one program of machine `machine` (1..10), program `number` (1..6), as `program` holds
// it now (an editor's working copy, say), in the context of its machine's stored settings.
std::vector<Finding> CheckProgram(const SystemConfig& system, int machine, int number,
                                  const DosingProgram& program);

// Every finding of the enabled machines and their programs, and of the text area: the whole
// configuration as a write would send it.
std::vector<Finding> CheckSystem(const WorkingConfig& config);

bool HasErrors(const std::vector<Finding>& findings);

}  // namespace qd::review
