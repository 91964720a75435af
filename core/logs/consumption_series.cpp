#include "logs/consumption_series.h"

#include <algorithm>
#include <optional>

namespace qd::logs {
namespace {

// The first real month not before `month`, so that a month 0 or 13 of a selection compares as the
// records do.
YearMonth FirstMonthFrom(YearMonth month) {
  if (month.month < 1) return {month.year, 1};
  if (month.month > 12) return {month.year + 1, 1};
  return month;
}

// The last real month not after `month`.
YearMonth LastMonthUpTo(YearMonth month) {
  if (month.month > 12) return {month.year, 12};
  if (month.month < 1) return {month.year - 1, 12};
  return month;
}

void AddRows(std::vector<MonthTotals>& months, int first, const ConsumptionRows& rows) {
  const int count = static_cast<int>(months.size());
  for (const ConsumptionRow& row : rows) {
    const int at = MonthIndex(row.month) - first;
    if (at >= 0 && at < count) AddCounters(months[static_cast<std::size_t>(at)].totals, row.counters);
  }
}

}  // namespace

std::vector<MonthTotals> MonthlyConsumption(const MonthRecords& records,
                                            const ConsumptionSelection& selection) {
  const std::optional<LoggedMonths> logged = FindLoggedMonths(records);
  if (!logged) return {};
  const YearMonth from = std::max(FirstMonthFrom(selection.from), logged->oldest);
  const YearMonth to = std::min(LastMonthUpTo(selection.to), logged->newest);
  if (from > to) return {};

  const int first = MonthIndex(from);
  const int count = MonthIndex(to) - first + 1;
  std::vector<MonthTotals> months;
  months.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k)
    months.push_back({MonthOfIndex(first + k), {}});

  AddRows(months, first, SelectedRows(records, selection));
  return months;
}

std::vector<MonthTotals> MonthlyConsumption(const ConsumptionRows& rows) {
  if (rows.empty()) return {};
  const int first = MonthIndex(rows.front().month);
  const int count = MonthIndex(rows.back().month) - first + 1;
  std::vector<MonthTotals> months;
  for (int k = 0; k < count; ++k)
    months.push_back({MonthOfIndex(first + k), {}});
  AddRows(months, first, rows);
  return months;
}

}  // namespace qd::logs
