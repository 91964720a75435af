#include "log_command.h"

#include <cstdio>
#include <optional>

#include "app/text.h"
#include "arguments.h"
#include "input.h"
#include "json_output.h"
#include "log_json.h"
#include "logs/alarm_log.h"
#include "logs/consumption_csv.h"
#include "logs/consumption_log.h"
#include "model/system_commands.h"
#include "month_option.h"
#include "transport/pump_prices.h"

namespace qdtool {

const char* const LogUsage =
    "usage: qdtool log consumption IN [--from YYYY-MM] [--to YYYY-MM] [--machine N] [--csv | --json]\n"
    "       qdtool log alarms IN [--state] [--csv | --json]\n"
    "\n"
    "Prints the logs of a system file (its log regions) or an image (as read; with firmware major\n"
    "version 1 the logs are taken 128 bytes earlier).\n"
    "\n"
    "consumption: the totals of the consumption log window over the months from --from to --to\n"
    "  (default: all months) for machine N (1..10; default: all machines): the volume of pumps 1..7\n"
    "  and their total in litres, the washes of programs 1..6, without a program and their total, and\n"
    "  the softener count; \"No log data available\" when the log holds no month. --csv prints one row\n"
    "  per month and machine with all fifteen counters instead. With prices per litre set in qdsystem's\n"
    "  consumption log window (kept in the preferences), the costs follow: per pump, total and per\n"
    "  wash, and in the CSV the costs of each row.\n"
    "alarms: the alarm history as the alarm log window lists it, or with --state the alarms active\n"
    "  now. --csv prints the history as one row per alarm instead.\n"
    "--json prints either as one JSON document instead, with exact litres and costs (see 'man qdtool').\n";

namespace {

const qd::logs::NumberSeparators CliSeparators{'.', ','};

void LoadOrFail(qd::WorkingConfig& config, const std::string& path) {
  qd::ResetSystem(config);
  const Input input = LoadInput(config, path, qd::LocalDateTime::Now());
  if (!input.ok) throw Failure(input.failure);
}

void PrintCosts(const qd::logs::ConsumptionCosts& costs) {
  if (!costs.anyPrice) return;
  for (std::size_t p = 0; p < costs.pumps.size(); ++p) {
    if (costs.pumps[p])
      std::printf("Cost pump %zu: %s\n", p + 1, qd::logs::MoneyText(*costs.pumps[p], CliSeparators).c_str());
  }
  std::printf("Total cost: %s\n", qd::logs::MoneyText(costs.total, CliSeparators).c_str());
  if (costs.perWash)
    std::printf("Cost per wash: %s\n", qd::logs::MoneyText(*costs.perWash, CliSeparators).c_str());
}

int PrintConsumption(const Arguments& arguments) {
  if (arguments.Flag("state")) throw UsageError("--state belongs to log alarms");
  qd::logs::ConsumptionSelection selection;
  selection.from = MonthOption(arguments, "from").value_or(qd::logs::EarliestLogMonth);
  selection.to = MonthOption(arguments, "to").value_or(qd::logs::LatestLogMonth);
  selection.machine = arguments.Number("machine", 1, qd::logs::LoggedMachines).value_or(0);

  qd::WorkingConfig config;
  LoadOrFail(config, arguments.Positional()[1]);
  const qd::logs::MonthRecords records = qd::logs::ReadMonthRecords(config.image);

  const qd::logs::PumpPrices prices = qd::transport::StoredPumpPrices();
  if (arguments.Flag(JsonFlag)) {
    PrintJson(ConsumptionJson(records, selection, prices));
    return 0;
  }
  if (arguments.Flag("csv")) {
    std::fputs(qd::logs::ConsumptionCsv(records, selection, prices).c_str(), stdout);
    return 0;
  }
  if (!qd::logs::FindLoggedMonths(records)) {
    std::printf("%s\n", std::string(qd::logs::NoLogDataText).c_str());
    return 0;
  }
  const qd::logs::ConsumptionTexts texts =
      qd::logs::ShowTotals(qd::logs::SumConsumption(records, selection), CliSeparators);
  for (std::size_t p = 0; p < texts.pumpVolumes.size(); ++p)
    std::printf("Pump %zu: %s\n", p + 1, texts.pumpVolumes[p].c_str());
  std::printf("Total volume: %s\n", texts.volumeTotal.c_str());
  for (std::size_t p = 0; p < texts.programWashes.size(); ++p)
    std::printf("Program %zu: %s\n", p + 1, texts.programWashes[p].c_str());
  std::printf("No program: %s\n", texts.noProgramWashes.c_str());
  std::printf("Total washes: %s\n", texts.washTotal.c_str());
  std::printf("Softner count: %s\n", texts.softnerCount.c_str());
  PrintCosts(qd::logs::SelectionCosts(records, selection, prices));
  return 0;
}

int PrintAlarms(const Arguments& arguments) {
  if (arguments.Value("from") || arguments.Value("to") || arguments.Value("machine")) {
    throw UsageError("--from, --to and --machine belong to log consumption");
  }
  const bool state = arguments.Flag("state");
  const bool csv = arguments.Flag("csv");
  if (state && csv) throw UsageError("--csv prints the history; it does not go with --state");

  qd::WorkingConfig config;
  LoadOrFail(config, arguments.Positional()[1]);
  if (csv) {
    std::fputs(qd::logs::AlarmHistoryCsv(config.image).c_str(), stdout);
    return 0;
  }
  if (arguments.Flag(JsonFlag)) {
    PrintJson(state ? AlarmStateJson(config.image) : AlarmHistoryJson(config.image));
    return 0;
  }
  const auto lines =
      state ? qd::logs::AlarmStateLines(config.image) : qd::logs::AlarmHistoryLines(config.image);
  for (const std::string& line : lines)
    std::printf("%s\n", line.c_str());
  return 0;
}

}  // namespace

int RunLog(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"from", "to", "machine"}, {"csv", "state", JsonFlag});
  if (arguments.Help()) {
    std::fputs(LogUsage, stdout);
    return 0;
  }
  const auto& positional = arguments.Positional();
  if (positional.empty()) throw UsageError("log takes consumption or alarms, then IN");
  if (positional[0] != "consumption" && positional[0] != "alarms") {
    throw UsageError("unknown log '" + positional[0] + "': consumption or alarms");
  }
  if (positional.size() != 2) throw UsageError("log " + positional[0] + " takes IN");
  if (arguments.Flag("csv") && arguments.Flag(JsonFlag))
    throw UsageError("--csv and --json do not go together");
  return positional[0] == "consumption" ? PrintConsumption(arguments) : PrintAlarms(arguments);
}

}  // namespace qdtool
