// ParseImage on a controller image made from arbitrary bytes (cut or padded with zeros to 32768 bytes),
// the log windows' decoders on the same image, and the round trip: an image that parsed is built; the
// built image must parse, and building that again must give the same bytes. (The editors may still
// differ: a value the builder brings into its range keeps its text as read, as a typed one does.)
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "logs/alarm_log.h"
#include "logs/consumption_costs.h"
#include "logs/consumption_csv.h"
#include "logs/consumption_log.h"
#include "logs/consumption_series.h"
#include "model/image_builder.h"
#include "model/image_parser.h"
#include "model/manual_control.h"

namespace {

using namespace qd;

const LocalDateTime BuildTime{2024, 5, 6, 7, 8, 9, 0};

void ReadLogs(const ControllerImage& image) {
  std::string sink;
  const logs::MonthRecords records = logs::ReadMonthRecords(image);
  if (const auto months = logs::FindLoggedMonths(records)) {
    if (months->Count() < 1) __builtin_trap();
    for (const std::string& entry : logs::MonthEntries(*months))
      sink += entry;
  }
  const logs::NumberSeparators separators{',', '.'};
  for (int machine = 0; machine < logs::MachineEntryCount; machine += 5) {
    const logs::ConsumptionSelection selection{logs::EarliestLogMonth, logs::LatestLogMonth, machine};
    const logs::ConsumptionTexts texts =
        logs::ShowTotals(logs::SumConsumption(records, selection), separators);
    sink += texts.volumeTotal + texts.washTotal;
  }
  sink += logs::ConsumptionCsv(records, {});
  // The largest prices with every counter: the costs must stay exact (no overflow) and add up.
  logs::PumpPrices prices{};
  prices.fill(999'999'999);
  const logs::ConsumptionSelection everything{};
  sink += logs::ConsumptionCsv(records, everything, prices);
  const logs::ConsumptionCosts costs = logs::SelectionCosts(records, everything, prices);
  std::int64_t pumps = 0;
  for (const auto& cost : costs.pumps)
    pumps += cost.value_or(-1);
  if (pumps != costs.total || costs.total < 0) __builtin_trap();
  std::size_t monthly = 0;
  for (const logs::MonthTotals& month : logs::MonthlyConsumption(records, everything))
    monthly += month.totals.washTotal;
  if (monthly != logs::SumConsumption(records, everything).washTotal) __builtin_trap();

  logs::ConsumptionLogView view;
  view.Rebuild(image);
  const int last = static_cast<int>(view.Entries().size()) - 1;
  view.Select(image, 0, last, 3);
  view.Select(image, last, 0, 0);
  view.Select(image, -1, last + 1, logs::MachineEntryCount);

  for (const std::string& line : logs::AlarmHistoryLines(image))
    sink += line;
  for (const std::string& line : logs::AlarmStateLines(image))
    sink += line;
  sink += logs::AlarmHistoryCsv(image);
  sink += ControllerDateText(image) + ControllerClockText(image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WorkingConfig config;
  std::copy_n(data, std::min(size, layout::ImageSize), config.image.bytes.begin());
  ReadLogs(config.image);
  const ParseResult parsed = ParseImage(config);
  if (!parsed.ok) return 0;
  if (parsed.textInUse > layout::TextAreaSize) __builtin_trap();

  BuildImage(config, BuildTime);
  WorkingConfig again;
  again.image.bytes = config.image.bytes;
  if (!ParseImage(again).ok) __builtin_trap();
  BuildImage(again, BuildTime);
  if (again.image.bytes != config.image.bytes) __builtin_trap();
  return 0;
}
