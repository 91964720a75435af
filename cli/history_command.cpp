#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>

#include "app/cp1252_text.h"
#include "app/text.h"
#include "event_loop.h"
#include "history/site_summary.h"
#include "history_commands.h"
#include "json_output.h"
#include "log_json.h"
#include "logs/consumption_csv.h"
#include "logs/consumption_series.h"
#include "month_option.h"
#include "transport/pump_prices.h"

namespace qdtool {

const char* const HistoryUsage =
    "usage: qdtool history SERIAL [--from YYYY-MM] [--to YYYY-MM] [--machine N] [--csv | --json]\n"
    "                             [--store WHERE]\n"
    "\n"
    "Prints the consumption of one site over every month the history store holds (also those a\n"
    "controller no longer keeps, and across log resets): the volume, the washes and the cost of each\n"
    "month, then the totals of each year and of the whole range.\n"
    "\n"
    "  --from, --to   the first and the last month (default: all months stored)\n"
    "  --machine N    machine N (1..10) only\n"
    "  --csv          one row per month and machine with all fifteen counters, as 'qdtool log\n"
    "                 consumption --csv' writes them\n"
    "  --json         the months, the years and the totals as one JSON document\n";

namespace {

constexpr qd::logs::NumberSeparators CliSeparators{'.', ','};

std::string CostText(const qd::logs::ConsumptionCosts& costs) {
  return costs.anyPrice ? qd::logs::MoneyText(costs.total, CliSeparators) : std::string("-");
}

void PrintLine(const std::string& when, const qd::logs::ConsumptionRows& rows,
               const qd::logs::PumpPrices& prices) {
  const qd::logs::ConsumptionTotals totals = qd::logs::SumRows(rows);
  std::printf("%-8s  %14s  %8u  %12s\n", when.c_str(),
              qd::logs::LitresText(totals.volumeCounts, CliSeparators).c_str(),
              static_cast<unsigned>(totals.washTotal), CostText(qd::logs::RowsCosts(rows, prices)).c_str());
}

QJsonArray GroupsJson(const std::vector<qd::logs::ConsumptionRows>& groups, bool byYear,
                      const qd::logs::PumpPrices& prices) {
  QJsonArray list;
  for (const auto& group : groups) {
    QJsonObject json = TotalsJson(qd::logs::SumRows(group), qd::logs::RowsCosts(group, prices));
    const qd::logs::YearMonth month = group.front().month;
    if (byYear)
      json.insert("year", month.year);
    else
      json.insert("month", JsonMonth(month));
    list.append(json);
  }
  return list;
}

}  // namespace

int RunHistory(const std::vector<std::string>& args) {
  const Arguments arguments(args, {StoreOption, "from", "to", "machine"}, {"csv", JsonFlag});
  if (arguments.Help()) {
    std::fputs(HistoryUsage, stdout);
    std::fputs(StoreOptionHelp, stdout);
    return 0;
  }
  if (arguments.Positional().size() != 1) throw UsageError("history takes SERIAL");
  if (arguments.Flag("csv") && arguments.Flag(JsonFlag))
    throw UsageError("--csv and --json do not go together");
  const std::uint32_t serial = SerialArgument(arguments.Positional()[0]);
  qd::logs::ConsumptionSelection selection;
  selection.from = MonthOption(arguments, "from").value_or(qd::logs::EarliestLogMonth);
  selection.to = MonthOption(arguments, "to").value_or(qd::logs::LatestLogMonth);
  selection.machine = arguments.Number("machine", 1, qd::logs::LoggedMachines).value_or(0);

  const EventLoopApp app;
  const auto store = OpenStore(arguments);
  const auto site = store->FindSite(serial);
  if (!site) {
    if (!store->LastError().isEmpty()) throw Failure(store->LastError().toStdString());
    throw Failure("no site with serial number " + std::to_string(serial) + " in " +
                  store->Location().Text().toStdString());
  }
  const qd::logs::ConsumptionRows rows =
      qd::logs::SelectedRows(store->Months(serial, selection.from, selection.to), selection);
  if (!store->LastError().isEmpty()) throw Failure(store->LastError().toStdString());
  const qd::logs::PumpPrices prices = qd::transport::StoredPumpPrices();

  if (arguments.Flag("csv")) {
    std::fputs(qd::logs::ConsumptionCsv(rows, prices).c_str(), stdout);
    return 0;
  }
  const auto months = qd::history::RowsByPeriod(rows, qd::history::Period::Month);
  const auto years = qd::history::RowsByPeriod(rows, qd::history::Period::Year);
  if (arguments.Flag(JsonFlag)) {
    PrintJson({{"serial", static_cast<qint64>(serial)},
               {"name", JsonText(site->identity.name)},
               {"machine", JsonNumberOrNull(selection.machine)},
               {"months", GroupsJson(months, false, prices)},
               {"years", GroupsJson(years, true, prices)},
               {"total", TotalsJson(qd::logs::SumRows(rows), qd::logs::RowsCosts(rows, prices))}});
    return 0;
  }
  std::printf("%u  %s\n", static_cast<unsigned>(serial),
              qd::TerminalText(qd::Utf8OfCp1252(site->identity.name)).c_str());
  if (rows.empty()) {
    std::printf("No log data available\n");
    return 0;
  }
  std::printf("%-8s  %14s  %8s  %12s\n", "month", "volume", "washes", "cost");
  for (const auto& month : months)
    PrintLine(qd::Format("%04d-%02d", month.front().month.year, month.front().month.month), month, prices);
  std::printf("\n");
  for (const auto& year : years)
    PrintLine(std::to_string(year.front().month.year), year, prices);
  PrintLine("total", rows, prices);
  return 0;
}

}  // namespace qdtool
