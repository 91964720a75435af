#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "logs/consumption_log.h"

// What the detergents of the consumption log cost: a price per litre for each pump, kept by the user (not
// in the system file), gives the cost per pump, the total and the cost per wash of a selection.
namespace qd::logs {

// Prices in thousandths of the currency per litre; no value: the pump has no price.
using PumpPrices = std::array<std::optional<std::int64_t>, LoggedPumps>;

// A price typed as text: a decimal number with ',' or '.', blanks around, at most three decimals kept
// (the fourth rounds half up), not negative and below a million. No value for anything else.
std::optional<std::int64_t> ParsePricePerLitre(std::string_view text);
// "2.450" with the decimal separator given: the text that reads back as the same price.
std::string PriceText(std::int64_t thousandths, char decimalSeparator);

// Costs in hundredths of the currency, each rounded half up from the exact product.
struct ConsumptionCosts {
  std::array<std::optional<std::int64_t>, LoggedPumps> pumps;  // no value where the pump has no price
  std::int64_t total = 0;                                      // of the pumps with a price
  std::optional<std::int64_t> perWash;                         // none without washes
  bool anyPrice = false;
  bool operator==(const ConsumptionCosts&) const = default;
};
ConsumptionCosts CostsOf(const ConsumptionTotals& totals, const PumpPrices& prices);

// The costs of one machine of one month: one row of the CSV.
ConsumptionCosts RowCosts(const WideCounters& counters, const PumpPrices& prices);
// The costs of a selection: the sums of its rows' costs, so that the cost columns of its CSV add up to
// exactly these; the cost per wash from that total and the selection's washes.
ConsumptionCosts SelectionCosts(const MonthRecords& records, const ConsumptionSelection& selection,
                                const PumpPrices& prices);
ConsumptionCosts RowsCosts(const ConsumptionRows& rows, const PumpPrices& prices);

// "1,234.50" (grouping as the separators say; no currency sign).
std::string MoneyText(std::int64_t hundredths, NumberSeparators separators);

}  // namespace qd::logs
