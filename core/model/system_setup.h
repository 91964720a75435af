#pragma once

#include "model/working_config.h"

namespace qd {

// The longest texts the image's fields hold (each field ends with a zero byte).
constexpr std::size_t SystemNameLength = layout::SystemNameField - 1;
constexpr std::size_t RecipientLength = layout::RecipientField - 1;

// Refill the system-wide items from the image buffer. The machine-enabled flags are the setup's own.
void FillFromSystemData(WorkingConfig& config);

// Every alarm that a message is sent for is also logged: group 1 or 2 checks group 0.
void ApplyGroupZeroRule(SystemConfig& system);
// Group 0 alarms that groups 1 and 2 force on (their boxes cannot be changed).
AlarmGroup ForcedGroupZeroAlarms(const SystemConfig& system);

// The system-wide items of a new system. Soap amount settings keep what the buffer holds.
void ResetSystemSetup(WorkingConfig& config);

}  // namespace qd
