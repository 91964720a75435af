#pragma once

#include <cstdint>
#include <span>

#include "link/bus_link.h"
#include "status_frames.h"

namespace qd::sim {

// The PC's idle answer 0x42 carries which outputs it switches by hand (data bytes 0..5):
//   0 pump on (bits 0..6) | 1 pump PC control | 2..3 word: machine on (bits 0..9), flush water on (10),
//   flush drain on (11) | 4..5 word: machine PC control (0..9), flush water control (10),
//   flush drain control (11), alarm output on (12), alarm output control (13)
// Missing bytes read as 0: nothing under PC control.
link::ManualOutputs DecodeManualOutputs(std::span<const std::uint8_t> data);

// What the outputs do: those under PC control as the PC wants them, the others as the controller runs them.
SystemOutputs ApplyManualOutputs(const SystemOutputs& controller, const link::ManualOutputs& manual);

}  // namespace qd::sim
