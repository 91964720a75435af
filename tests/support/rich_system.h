#pragma once

#include "model/working_config.h"

namespace qd::test {

// The build time used by the image and system file tests: Friday 2024-03-15 13:45:30.
inline const LocalDateTime kBuildTime{2024, 3, 15, 13, 45, 30, 4};

// A configuration after ResetSystem: the state every load and parse starts from.
WorkingConfig FreshConfig();

// A configuration that sets every item the system file carries, with values that also survive a trip
// through the controller image (numbers in range and written the way the editors show them):
// machines 1, 3 and 10 enabled; machine 1 an Electrolux trigger with map entries 1..15 and a program set
// using every parameter byte count; machine 3 a Miele Logic trigger; machine 10 an Ethernet trigger.
WorkingConfig RichConfig();

// Compares item by item; a failure names the machine, program and line.
void ExpectSameSystem(const SystemConfig& expected, const SystemConfig& actual);

}  // namespace qd::test
