#pragma once

#include <cstdint>

#include "model/counts.h"
#include "sim_time.h"

namespace qd::sim {

// One washing machine as the controller runs it. Between washes the machine stands idle; a wash runs
// one dosing program line by line, locks the machine's keyboard for part of it, runs a pump on its
// dosing lines and flushes. Programs take turns from wash to wash, and machines start out of step,
// so a status shows different machines in different places.
class MachineActivity {
 public:
  static constexpr SimTime LineTime = Milliseconds(1500);
  static constexpr int WashLines = 10;
  static constexpr int ProgramCount = qd::ProgramCount;

  explicit MachineActivity(int machine);  // 0..9

  // Time passes. A wash begins only while `enabled` (the controller serves the machine).
  void Advance(SimTime now, bool enabled);
  // The running wash ends at once; the machine waits for its next one.
  void Reset(SimTime now);

  bool Washing() const { return washing_; }
  int RunningProgram() const { return washing_ ? program_ : 0; }  // 1..6, 0 none
  int RunningLine() const { return washing_ ? line_ : 0; }        // 1..WashLines, 0 none
  bool KeyboardLocked() const { return washing_ && line_ >= 3 && line_ <= 7; }
  // The program-selection input the machine holds during a wash: bit p - 1 for program p.
  std::uint8_t ProgramInputs() const;
  // Bit i = pump i + 1 running.
  std::uint8_t PumpsRunning() const;
  bool FlushWater() const { return washing_ && (line_ == 4 || line_ == 9); }
  bool FlushDrain() const { return washing_ && line_ == WashLines; }

  SimTime IdleTime() const;

 private:
  int machine_;
  bool washing_ = false;
  SimTime phaseStart_{};
  int washes_ = 0;
  int program_ = 0;
  int line_ = 0;
};

}  // namespace qd::sim
