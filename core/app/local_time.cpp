#include "app/local_time.h"

#include <chrono>
#include <ctime>

namespace qd {

LocalTime LocalTime::Now() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto wholeSeconds = floor<seconds>(now);
  const std::time_t t = system_clock::to_time_t(wholeSeconds);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  LocalTime time;
  time.year = local.tm_year + 1900;
  time.month = local.tm_mon + 1;
  time.day = local.tm_mday;
  time.hour = local.tm_hour;
  time.minute = local.tm_min;
  time.second = local.tm_sec;
  time.millisecond = static_cast<int>(duration_cast<milliseconds>(now - wholeSeconds).count());
  time.weekday = (local.tm_wday + 6) % 7;
  return time;
}

}  // namespace qd
