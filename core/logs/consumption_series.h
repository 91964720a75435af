#pragma once

#include <vector>

#include "logs/consumption_log.h"

namespace qd::logs {

// The totals of one month of a selection.
struct MonthTotals {
  YearMonth month;
  ConsumptionTotals totals;
  bool operator==(const MonthTotals&) const = default;
};

// One entry per month of the selection, oldest first, months without a record included (nothing
// included); the range is cut to the months the log holds, and a From month after the To month gives
// none. The entries add up to SumConsumption of the same selection.
std::vector<MonthTotals> MonthlyConsumption(const MonthRecords& records,
                                            const ConsumptionSelection& selection);
// One entry per month from the first row's month to the last's (rows oldest first), months without a
// row included.
std::vector<MonthTotals> MonthlyConsumption(const ConsumptionRows& rows);

}  // namespace qd::logs
