#pragma once

#include <optional>
#include <string>

#include "controller_memory.h"
#include "sim_options.h"

namespace qd::sim {

// The memory the controller starts with: a memory image as it is, or the image built from a system file
// or as an empty new system; then the controller's identity and, if asked for, sample logs. Nothing,
// with the reason in `error`, when a file cannot be used.
std::optional<ControllerMemory> InitialMemory(const SimOptions& options, const ClockTime& now,
                                              std::string& error);

// The time sample logs end at: the clock's start, or 2024-01-01 00:00:00 for a controller without a clock.
ClockTime SampleLogTime(const std::optional<ClockTime>& clockStart);

// The identity a built memory gets: the defaults, with what the options give.
ControllerIdentity IdentityFromOptions(const SimOptions& options, ControllerIdentity base = {});

}  // namespace qd::sim
