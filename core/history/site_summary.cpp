#include "history/site_summary.h"

#include <charconv>

namespace qd::history {

logs::ConsumptionRows TwelveMonthsUpTo(const logs::ConsumptionRows& rows, logs::YearMonth newest) {
  return logs::SelectedRows(rows, {logs::MonthOfIndex(logs::MonthIndex(newest) - 11), newest, 0});
}

std::optional<logs::YearMonth> MonthOfTime(const std::string& time) {
  int year = 0;
  int month = 0;
  if (time.size() < 7 || time[4] != '-') return std::nullopt;
  if (std::from_chars(time.data(), time.data() + 4, year).ptr != time.data() + 4) return std::nullopt;
  if (std::from_chars(time.data() + 5, time.data() + 7, month).ptr != time.data() + 7) return std::nullopt;
  if (month < 1 || month > 12) return std::nullopt;
  return logs::YearMonth{year, month};
}

int AlarmsSince(const std::vector<AlarmEvent>& alarms, const std::string& contact) {
  const std::string minute = contact.substr(0, 16);
  int count = 0;
  for (const AlarmEvent& alarm : alarms)
    count += alarm.time > minute ? 1 : 0;
  return count;
}

SiteSummary SummarizeSite(const Site& site, const logs::ConsumptionRows& rows,
                          const std::vector<AlarmEvent>& alarms, const logs::PumpPrices& prices) {
  SiteSummary summary;
  summary.site = site;
  summary.alarmsSincePrevious = AlarmsSince(alarms, site.previousContact);
  if (const auto newest = MonthOfTime(site.lastContact)) {
    const logs::ConsumptionRows lastYear = TwelveMonthsUpTo(rows, *newest);
    summary.lastYear = logs::SumRows(lastYear);
    summary.lastYearCosts = logs::RowsCosts(lastYear, prices);
  }
  return summary;
}

std::vector<logs::ConsumptionRows> RowsByPeriod(const logs::ConsumptionRows& rows, Period period) {
  std::vector<logs::ConsumptionRows> groups;
  for (const logs::ConsumptionRow& row : rows) {
    const bool same =
        !groups.empty() && (period == Period::Year ? groups.back().back().month.year == row.month.year
                                                   : groups.back().back().month == row.month);
    if (!same) groups.emplace_back();
    groups.back().push_back(row);
  }
  return groups;
}

}  // namespace qd::history
