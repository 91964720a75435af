#include "model/system_config.h"

namespace qd {

void MachineConfig::Clear() {
  DefaultProgram = 0;
  SoftnerPump = 0;
  ShortFlushTime = "5";
  LongFlushTime = "10";
  ProgramTimeout = "30";
  Comment.clear();
  Calibration.fill("30");
  Trigger.Reset();
  for (int p = 0; p < ProgramCount; ++p)
    Programs[p].Reset(p + 1);
}

std::string SoftnerPumpItemText(int index) {
  if (index == 0) return "-";
  if (index >= 1 && index <= PumpCount) return std::to_string(index);
  return {};
}

int SoftnerPumpIndexOfText(const std::string& text) {
  for (int index = 0; index <= PumpCount; ++index) {
    if (SoftnerPumpItemText(index) == text) return index;
  }
  return -1;
}

}  // namespace qd
