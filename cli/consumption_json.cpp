#include <QJsonArray>
#include <cstdint>

#include "json_output.h"
#include "log_json.h"

namespace qdtool {

namespace {

using namespace qd::logs;

// Counters hold 5 ml steps; 32-bit sums of them need more than 32 bits in millilitres.
QJsonValue LitresOfCounts(std::uint32_t counts) {
  return JsonLitres(std::int64_t{counts} * MillilitresPerCount);
}

QJsonValue LoggedMonthsJson(const MonthRecords& records) {
  const auto months = FindLoggedMonths(records);
  if (!months) return QJsonValue();
  return QJsonObject{{"oldest", JsonMonth(months->oldest)}, {"newest", JsonMonth(months->newest)}};
}

QJsonArray PumpsJson(const ConsumptionTotals& totals, const ConsumptionCosts& costs) {
  QJsonArray pumps;
  for (std::size_t p = 0; p < totals.pumpCounts.size(); ++p) {
    pumps.append(QJsonObject{{"pump", static_cast<int>(p) + 1},
                             {"litres", LitresOfCounts(totals.pumpCounts[p])},
                             {"cost", JsonMoney(costs.pumps[p])}});
  }
  return pumps;
}

QJsonArray ProgramsJson(const ConsumptionTotals& totals) {
  QJsonArray programs;
  for (std::size_t p = 0; p < totals.programWashes.size(); ++p) {
    programs.append(QJsonObject{{"program", static_cast<int>(p) + 1},
                                {"washes", static_cast<qint64>(totals.programWashes[p])}});
  }
  return programs;
}

}  // namespace

QJsonObject ConsumptionJson(const MonthRecords& records, const ConsumptionSelection& selection,
                            const PumpPrices& prices) {
  QJsonObject json =
      TotalsJson(SumConsumption(records, selection), SelectionCosts(records, selection, prices));
  json.insert("log", "consumption");
  json.insert("loggedMonths", LoggedMonthsJson(records));
  json.insert("from", selection.from == EarliestLogMonth ? QJsonValue() : JsonMonth(selection.from));
  json.insert("to", selection.to == LatestLogMonth ? QJsonValue() : JsonMonth(selection.to));
  json.insert("machine", JsonNumberOrNull(selection.machine));
  return json;
}

QJsonObject TotalsJson(const ConsumptionTotals& totals, const ConsumptionCosts& costs) {
  return {
      {"pumps", PumpsJson(totals, costs)},
      {"totalLitres", LitresOfCounts(totals.volumeCounts)},
      {"programs", ProgramsJson(totals)},
      {"washesWithoutProgram", static_cast<qint64>(totals.noProgramWashes)},
      {"totalWashes", static_cast<qint64>(totals.washTotal)},
      {"softenerCount", static_cast<qint64>(totals.softnerCount)},
      {"totalCost", costs.anyPrice ? JsonMoney(costs.total) : QJsonValue()},
      {"costPerWash", costs.anyPrice ? JsonMoney(costs.perWash) : QJsonValue()},
  };
}

}  // namespace qdtool
