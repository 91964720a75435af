#pragma once

#include "app/text.h"
#include "model/working_config.h"

namespace qd::bench {

// Every machine enabled, every text filled, every program line a pump line with a comment.
inline qd::WorkingConfig MaximalConfig() {
  qd::WorkingConfig config;
  qd::SystemConfig& system = config.system;
  system.SystemName = std::string(40, 'N');
  for (auto& recipient : system.Recipients)
    recipient = std::string(50, 'r');
  for (int m = 0; m < qd::MachineCount; ++m) {
    qd::MachineConfig& machine = system.Machines[m];
    system.MachineEnabled[m] = true;
    machine.Comment = qd::Format("Machine %d <&> comment", m + 1);
    machine.Trigger.ChangeType(qd::trigger::TypeMieleLogic);
    for (int p = 0; p < qd::ProgramCount; ++p) {
      qd::DosingProgram& program = machine.Programs[p];
      program.Name = qd::Format("Wash %d.%d", m + 1, p + 1);
      program.Comment = "Program comment with 'quotes' & \"more\"";
      for (int k = 0; k < qd::DosingProgram::LineCount; ++k) {
        qd::ProgramLine& line = program.Lines[k];
        line.SetInstruction(8);
        line.bytes = {8, 0x13, 5, 20, 30, 40, 0, 0};
        line.comment = qd::Format("Line %d of program %d", k + 1, p + 1);
      }
    }
  }
  return config;
}

}  // namespace qd::bench
