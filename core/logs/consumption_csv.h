#pragma once

#include <string>

#include "logs/consumption_costs.h"
#include "logs/consumption_log.h"

namespace qd::logs {

// One row per selected record and machine (see SelectedRows) under a header row:
//   month,machine,no_program,program_1,..,program_6,pump_1_litres,..,pump_7_litres,softener
// month as YYYY-MM, machine 1..10, counts in decimal, volumes in litres with three decimals and '.'.
// With a price for at least one pump the costs of each row follow, in the currency with two decimals
// (empty for a pump without a price):
//   ...,pump_1_cost,..,pump_7_cost,cost_total
std::string ConsumptionCsv(const MonthRecords& records, const ConsumptionSelection& selection,
                           const PumpPrices& prices = {});
// The same for rows of any source (the history of a site), in their order.
std::string ConsumptionCsv(const ConsumptionRows& rows, const PumpPrices& prices = {});

}  // namespace qd::logs
