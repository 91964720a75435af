#include "model/working_config.h"

#include <cstdio>

#include "app/local_time.h"
#include "app/text.h"
#include "app/translation.h"

namespace qd {
namespace {

// 0 = Monday .. 6 = Sunday, for a date of the Gregorian calendar.
int WeekdayOf(int year, int month, int day) {
  static constexpr int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) --year;
  const int sundayBased = (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
  return (sundayBased + 6) % 7;
}

int DaysInMonth(int year, int month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

LocalDateTime LocalDateTime::Now() {
  const LocalTime now = LocalTime::Now();
  return {now.year, now.month, now.day, now.hour, now.minute, now.second, now.weekday};
}

std::string LocalDateTime::Text() const {
  return Format("%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
}

bool LocalDateTime::Parse(const std::string& text, LocalDateTime& out) {
  LocalDateTime t;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                  &t.second, &tail) != 6) {
    return false;
  }
  if (t.year < 2000 || t.year > 2255 || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > DaysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59 || t.second > 59) {
    return false;
  }
  t.weekday = WeekdayOf(t.year, t.month, t.day);
  out = t;
  return true;
}

std::string UsedTextLabel(double percent) {
  return Substitute(UiText("WorkingConfig", "Used text: %1%"), {UiDecimal(percent, 1)});
}

}  // namespace qd
