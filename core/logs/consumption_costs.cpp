#include "logs/consumption_costs.h"

#include <algorithm>

#include "app/text.h"

namespace qd::logs {
namespace {

// A million per litre, in thousandths: the largest sum of a selection (32 bits) times a price stays far
// inside 64 bits.
constexpr std::int64_t PriceLimit = 1'000'000'000;
constexpr int PriceDecimals = 3;

// Digits grouped by three from the right with `thousands` (none when '\0').
std::string Grouped(std::int64_t whole, char thousands) {
  std::string digits = std::to_string(whole);
  if (thousands == '\0') return digits;
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), 1, thousands);
  return digits;
}

// Half up: (numerator / denominator) rounded to the nearest whole, both not negative.
std::int64_t RoundedQuotient(std::int64_t numerator, std::int64_t denominator) {
  return (2 * numerator + denominator) / (2 * denominator);
}

}  // namespace

std::optional<std::int64_t> ParsePricePerLitre(std::string_view text) {
  const std::optional<DecimalText> number = ParseDecimalText(text);
  if (!number) return std::nullopt;
  // |value| x 1000 = digits x 10^(exponent + 3): whole digits first, then the first dropped one rounds.
  const int shift = number->exponent + PriceDecimals;
  const std::string& digits = number->digits;
  const std::int64_t kept = static_cast<std::int64_t>(digits.size()) + shift;
  std::int64_t value = 0;
  for (std::int64_t k = 0; k < kept; ++k) {
    const int digit =
        k < static_cast<std::int64_t>(digits.size()) ? digits[static_cast<std::size_t>(k)] - '0' : 0;
    value = value * 10 + digit;
    if (value >= PriceLimit) return std::nullopt;
  }
  if (kept >= 0 && kept < static_cast<std::int64_t>(digits.size()) &&
      digits[static_cast<std::size_t>(kept)] >= '5')
    ++value;
  if (value >= PriceLimit) return std::nullopt;
  if (number->negative && value != 0) return std::nullopt;
  return value;
}

std::string PriceText(std::int64_t thousandths, char decimalSeparator) {
  return std::to_string(thousandths / 1000) + decimalSeparator +
         Format("%03d", static_cast<int>(thousandths % 1000));
}

ConsumptionCosts CostsOf(const ConsumptionTotals& totals, const PumpPrices& prices) {
  ConsumptionCosts costs;
  for (int p = 0; p < LoggedPumps; ++p) {
    const auto& price = prices[static_cast<std::size_t>(p)];
    if (!price) continue;
    costs.anyPrice = true;
    // counts x 5 ml x price/1000 per litre = counts x price / 200 thousandths = counts x price / 2000
    // hundredths
    const std::int64_t counts = totals.pumpCounts[static_cast<std::size_t>(p)];
    const std::int64_t cost = RoundedQuotient(counts * *price, 2000);
    costs.pumps[static_cast<std::size_t>(p)] = cost;
    costs.total += cost;
  }
  if (totals.washTotal > 0) costs.perWash = RoundedQuotient(costs.total, totals.washTotal);
  return costs;
}

ConsumptionCosts RowCosts(const WideCounters& counters, const PumpPrices& prices) {
  ConsumptionTotals totals;
  AddCounters(totals, counters);
  return CostsOf(totals, prices);
}

ConsumptionCosts SelectionCosts(const MonthRecords& records, const ConsumptionSelection& selection,
                                const PumpPrices& prices) {
  return RowsCosts(SelectedRows(records, selection), prices);
}

ConsumptionCosts RowsCosts(const ConsumptionRows& rows, const PumpPrices& prices) {
  ConsumptionCosts costs;
  costs.anyPrice = std::any_of(prices.begin(), prices.end(), [](const auto& price) { return price; });
  ConsumptionTotals totals;
  for (const ConsumptionRow& row : rows) {
    AddCounters(totals, row.counters);
    const ConsumptionCosts rowCosts = RowCosts(row.counters, prices);
    for (std::size_t p = 0; p < costs.pumps.size(); ++p) {
      if (rowCosts.pumps[p]) costs.pumps[p] = costs.pumps[p].value_or(0) + *rowCosts.pumps[p];
    }
    costs.total += rowCosts.total;
  }
  // A priced pump of an empty selection costs nothing rather than nothing known.
  for (std::size_t p = 0; p < costs.pumps.size(); ++p) {
    if (prices[p] && !costs.pumps[p]) costs.pumps[p] = 0;
  }
  if (totals.washTotal > 0) costs.perWash = RoundedQuotient(costs.total, totals.washTotal);
  return costs;
}

std::string MoneyText(std::int64_t hundredths, NumberSeparators separators) {
  return Grouped(hundredths / 100, separators.thousands) + separators.decimal +
         Format("%02d", static_cast<int>(hundredths % 100));
}

}  // namespace qd::logs
