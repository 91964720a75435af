#include "machine_activity.h"

namespace qd::sim {

MachineActivity::MachineActivity(int machine) : machine_(machine) {}

SimTime MachineActivity::IdleTime() const {
  return Milliseconds(2000 + 700 * machine_);
}

void MachineActivity::Advance(SimTime now, bool enabled) {
  // Catches up phase by phase; a long pause of the caller only runs through whole washes.
  for (int guard = 0; guard < 1000; ++guard) {
    if (washing_) {
      const auto line = 1 + (now - phaseStart_) / LineTime;
      if (line <= WashLines) {
        line_ = static_cast<int>(line);
        return;
      }
      washing_ = false;
      line_ = 0;
      phaseStart_ += LineTime * WashLines;
    } else {
      if (now - phaseStart_ < IdleTime()) return;
      if (!enabled) {
        phaseStart_ = now;
        return;
      }
      washing_ = true;
      phaseStart_ += IdleTime();
      program_ = (machine_ + washes_) % ProgramCount + 1;
      ++washes_;
    }
  }
  phaseStart_ = now;
}

void MachineActivity::Reset(SimTime now) {
  washing_ = false;
  line_ = 0;
  phaseStart_ = now;
}

std::uint8_t MachineActivity::ProgramInputs() const {
  return washing_ ? static_cast<std::uint8_t>(1u << (program_ - 1)) : 0;
}

std::uint8_t MachineActivity::PumpsRunning() const {
  if (!washing_) return 0;
  int pump = 0;  // 1..7
  if (line_ == 2) pump = machine_ % 7 + 1;
  if (line_ == 5) pump = (machine_ + 2) % 7 + 1;
  if (line_ == 8) pump = 7;
  return pump == 0 ? 0 : static_cast<std::uint8_t>(1u << (pump - 1));
}

}  // namespace qd::sim
