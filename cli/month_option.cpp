#include "month_option.h"

namespace qdtool {

std::optional<qd::logs::YearMonth> MonthOption(const Arguments& arguments, const std::string& name) {
  const auto text = arguments.Value(name);
  if (!text) return std::nullopt;
  const auto digitsAt = [&](std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
      const char c = (*text)[i];
      if (c < '0' || c > '9') return -1;
      value = value * 10 + (c - '0');
    }
    return value;
  };
  const int year = text->size() == 7 && (*text)[4] == '-' ? digitsAt(0, 4) : -1;
  const int month = year >= 0 ? digitsAt(5, 2) : -1;
  if (year < 0 || month < 1 || month > 12) throw UsageError("--" + name + " takes a month as YYYY-MM");
  return qd::logs::YearMonth{year, month};
}

}  // namespace qdtool
