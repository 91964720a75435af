#include "logs/consumption_csv.h"

#include <algorithm>

#include "app/text.h"

namespace qd::logs {
namespace {

constexpr NumberSeparators CsvSeparators{'.', '\0'};

std::string VolumeCsvText(std::uint32_t counts) {
  const unsigned long long millilitres = static_cast<unsigned long long>(counts) * MillilitresPerCount;
  return Format("%llu.%03llu", millilitres / 1000, millilitres % 1000);
}

}  // namespace

std::string ConsumptionCsv(const MonthRecords& records, const ConsumptionSelection& selection,
                           const PumpPrices& prices) {
  return ConsumptionCsv(SelectedRows(records, selection), prices);
}

std::string ConsumptionCsv(const ConsumptionRows& rows, const PumpPrices& prices) {
  const bool withCosts = std::any_of(prices.begin(), prices.end(), [](const auto& price) { return price; });
  std::string csv = "month,machine,no_program";
  for (int p = 1; p <= LoggedPrograms; ++p)
    csv += Format(",program_%d", p);
  for (int p = 1; p <= LoggedPumps; ++p)
    csv += Format(",pump_%d_litres", p);
  csv += ",softener";
  if (withCosts) {
    for (int p = 1; p <= LoggedPumps; ++p)
      csv += Format(",pump_%d_cost", p);
    csv += ",cost_total";
  }
  csv += "\n";

  for (const ConsumptionRow& row : rows) {
    const WideCounters& counters = row.counters;
    csv += Format("%04d-%02d,%d", row.month.year, row.month.month, row.machine);
    for (int i = NoProgramCounter; i < FirstPumpCounter; ++i)
      csv += Format(",%u", static_cast<unsigned>(counters[static_cast<std::size_t>(i)]));
    for (int i = FirstPumpCounter; i < SoftnerCounter; ++i)
      csv += "," + VolumeCsvText(counters[static_cast<std::size_t>(i)]);
    csv += Format(",%u", static_cast<unsigned>(counters[SoftnerCounter]));
    if (withCosts) {
      const ConsumptionCosts costs = RowCosts(counters, prices);
      for (const auto& cost : costs.pumps)
        csv += "," + (cost ? MoneyText(*cost, CsvSeparators) : std::string());
      csv += "," + MoneyText(costs.total, CsvSeparators);
    }
    csv += "\n";
  }
  return csv;
}

}  // namespace qd::logs
