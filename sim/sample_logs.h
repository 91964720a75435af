#pragma once

#include "controller_clock.h"
#include "controller_memory.h"

namespace qd::sim {

// Plausible log content as a controller in service would have recorded it up to `now`: a current alarm
// state, a short alarm history and fourteen months of consumption, at the positions the memory's
// firmware version implies. A `variant` above 0 tells one system's logs from another's: every
// consumption counter is `variant` higher and every alarm `variant` minutes later in its day (wrapping
// at midnight).
void FillSampleLogs(ControllerMemory& memory, const ClockTime& now, int variant = 0);

}  // namespace qd::sim
