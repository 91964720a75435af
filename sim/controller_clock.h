#pragma once

#include <array>
#include <chrono>
#include <cstdint>

#include "sim_time.h"

namespace qd::sim {

// A calendar date and time as the controller's clock shows it.
struct ClockTime {
  int year = 2000;  // full year, 2000..2255 fit the memory's byte
  int month = 1, day = 1, hour = 0, minute = 0, second = 0;

  bool operator==(const ClockTime&) const = default;
};

// The controller's real-time clock: set once, then running with the simulated time.
class ControllerClock {
 public:
  // The clock shows `start` at the simulated instant `startAt`.
  ControllerClock(const ClockTime& start, SimTime startAt);

  ClockTime At(SimTime now) const;

  // The six clock bytes of the memory: second, minute, hour, day, month, year - 2000.
  static std::array<std::uint8_t, 6> Encode(const ClockTime& time);

 private:
  std::chrono::sys_seconds start_;
  SimTime startAt_;
};

}  // namespace qd::sim
