#pragma once

#include <chrono>

namespace qd::sim {

// Simulated time: nanoseconds since the simulator started. The event loop passes its monotonic clock,
// tests pass whatever instant they want to look at. Nothing in the simulator's logic reads a clock.
using SimTime = std::chrono::nanoseconds;

constexpr SimTime Milliseconds(long long ms) {
  return std::chrono::milliseconds(ms);
}

}  // namespace qd::sim
