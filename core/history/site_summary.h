#pragma once

#include <string>
#include <vector>

#include "history/site_read.h"
#include "logs/consumption_costs.h"

// What the history shows of a site at a glance, and its consumption by year.
namespace qd::history {

// A site as the store knows it.
struct Site {
  SiteIdentity identity;
  std::string firstContact;     // "YYYY-MM-DD HH:MM:SS" of the oldest read recorded
  std::string lastContact;      // and of the newest
  std::string previousContact;  // of the read before the newest; empty after one read
};

struct SiteSummary {
  Site site;
  int alarmsSincePrevious = 0;       // alarms after the previous contact (all of them after one read)
  logs::ConsumptionTotals lastYear;  // the twelve months up to the month of the last contact
  logs::ConsumptionCosts lastYearCosts;
};

// The rows of the twelve months that end with `newest`.
logs::ConsumptionRows TwelveMonthsUpTo(const logs::ConsumptionRows& rows, logs::YearMonth newest);

// The month of a time "YYYY-MM-DD ..."; none when the text does not start with a date.
std::optional<logs::YearMonth> MonthOfTime(const std::string& time);

// Alarms after `contact`, to the minute; every alarm when there was no such contact.
int AlarmsSince(const std::vector<AlarmEvent>& alarms, const std::string& contact);

SiteSummary SummarizeSite(const Site& site, const logs::ConsumptionRows& rows,
                          const std::vector<AlarmEvent>& alarms, const logs::PumpPrices& prices);

// The rows (oldest first) cut into runs of one month or of one calendar year, for totals and costs of
// each; periods without rows are left out.
enum class Period { Month, Year };
std::vector<logs::ConsumptionRows> RowsByPeriod(const logs::ConsumptionRows& rows, Period period);

}  // namespace qd::history
