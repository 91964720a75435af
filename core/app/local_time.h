#pragma once

namespace qd {

// The local date and time of the operating system's clock.
struct LocalTime {
  int year = 2000;  // full year
  int month = 1, day = 1, hour = 0, minute = 0, second = 0, millisecond = 0;
  int weekday = 5;  // 0 = Monday .. 6 = Sunday

  static LocalTime Now();
};

}  // namespace qd
