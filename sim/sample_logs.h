#pragma once

#include "controller_clock.h"
#include "controller_memory.h"

namespace qd::sim {

// Plausible log content as a controller in service would have recorded it up to `now`: a current alarm
// state, a short alarm history and fourteen months of consumption, at the positions the memory's
// firmware version implies.
void FillSampleLogs(ControllerMemory& memory, const ClockTime& now);

}  // namespace qd::sim
