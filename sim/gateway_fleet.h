#pragma once

#include <string>
#include <vector>

#include "controller_clock.h"
#include "controller_memory.h"

namespace qd::sim {

// The systems the gateway lists after the simulated controller, each answering from a memory of its
// own. System k (1..count) is `base` with the serial number of `base` + k, the system name
// FleetSystemName(k) and the sample logs of variant k up to `logTime`, so that a reader can tell from
// any of them which system it has read.
std::vector<ControllerMemory> MakeFleet(const ControllerMemory& base, int count, const ClockTime& logTime);

// "Laundry 07"; three digits from 100 on.
std::string FleetSystemName(int k);

}  // namespace qd::sim
