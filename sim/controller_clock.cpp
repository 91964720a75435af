#include "controller_clock.h"

namespace qd::sim {

using namespace std::chrono;

ControllerClock::ControllerClock(const ClockTime& start, SimTime startAt) : startAt_(startAt) {
  const sys_days day = year_month_day(year(start.year), month(static_cast<unsigned>(start.month)),
                                      std::chrono::day(static_cast<unsigned>(start.day)));
  start_ = day + hours(start.hour) + minutes(start.minute) + seconds(start.second);
}

ClockTime ControllerClock::At(SimTime now) const {
  const sys_seconds t = start_ + floor<seconds>(now - startAt_);
  const sys_days day = floor<days>(t);
  const year_month_day date(day);
  const hh_mm_ss<seconds> time(t - day);
  return {static_cast<int>(date.year()),
          static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day())),
          static_cast<int>(time.hours().count()),
          static_cast<int>(time.minutes().count()),
          static_cast<int>(time.seconds().count())};
}

std::array<std::uint8_t, 6> ControllerClock::Encode(const ClockTime& time) {
  return {static_cast<std::uint8_t>(time.second), static_cast<std::uint8_t>(time.minute),
          static_cast<std::uint8_t>(time.hour),   static_cast<std::uint8_t>(time.day),
          static_cast<std::uint8_t>(time.month),  static_cast<std::uint8_t>(time.year - 2000)};
}

}  // namespace qd::sim
