#include "logs/consumption_log.h"

#include <algorithm>

#include "app/text.h"
#include "app/translation.h"
#include "logs/log_areas.h"

namespace qd::logs {
namespace {

// A byte of the area, 0 beyond its end.
int ByteAt(std::span<const std::uint8_t> area, std::size_t at) {
  return at < area.size() ? area[at] : 0;
}

bool MachineSelected(int machine, int selection) {
  return selection == 0 || selection == machine + 1;
}

bool InRange(YearMonth month, const ConsumptionSelection& selection) {
  return month >= selection.from && month <= selection.to;
}

}  // namespace

int MonthIndex(YearMonth month) {
  return month.year * 12 + (month.month - 1);
}

YearMonth MonthOfIndex(int index) {
  return {index / 12, index % 12 + 1};
}

MonthRecords DecodeMonthRecords(std::span<const std::uint8_t> area) {
  MonthRecords records;
  for (int r = 0; r < MonthRecordCount; ++r) {
    const std::size_t base = MonthRecordSize * static_cast<std::size_t>(r);
    MonthRecord& record = records[static_cast<std::size_t>(r)];
    record.yearByte = ByteAt(area, base);
    record.month = ByteAt(area, base + 1);
    for (int m = 0; m < LoggedMachines; ++m) {
      const std::size_t counters = base + 2 + 2 * CountersPerMachine * static_cast<std::size_t>(m);
      for (int i = 0; i < CountersPerMachine; ++i) {
        const std::size_t at = counters + 2 * static_cast<std::size_t>(i);
        record.machines[static_cast<std::size_t>(m)][static_cast<std::size_t>(i)] =
            static_cast<std::uint16_t>(ByteAt(area, at) | ByteAt(area, at + 1) << 8);
      }
    }
  }
  return records;
}

MonthRecords ReadMonthRecords(const ControllerImage& image) {
  return DecodeMonthRecords(ConsumptionLogArea(image));
}

int LoggedMonths::Count() const {
  return MonthIndex(newest) - MonthIndex(oldest) + 1;
}

std::optional<LoggedMonths> FindLoggedMonths(const MonthRecords& records) {
  std::optional<LoggedMonths> found;
  for (const MonthRecord& record : records) {
    if (!record.Counts()) continue;
    const YearMonth when = record.When();
    if (!found) {
      found = LoggedMonths{when, when};
    } else {
      found->oldest = std::min(found->oldest, when);
      found->newest = std::max(found->newest, when);
    }
  }
  return found;
}

YearMonth MonthOfEntry(YearMonth oldest, int entry) {
  const int months = entry + oldest.month - 1;
  return {oldest.year + months / 12, months % 12 + 1};
}

namespace {

// "%1" is the year: a whole pattern per month lets a language write the month its own way.
std::string MonthPattern(int month) {
  switch (month) {
    case 1:
      return UiText("ConsumptionLog", "January, %1");
    case 2:
      return UiText("ConsumptionLog", "February, %1");
    case 3:
      return UiText("ConsumptionLog", "March, %1");
    case 4:
      return UiText("ConsumptionLog", "April, %1");
    case 5:
      return UiText("ConsumptionLog", "May, %1");
    case 6:
      return UiText("ConsumptionLog", "June, %1");
    case 7:
      return UiText("ConsumptionLog", "July, %1");
    case 8:
      return UiText("ConsumptionLog", "August, %1");
    case 9:
      return UiText("ConsumptionLog", "September, %1");
    case 10:
      return UiText("ConsumptionLog", "October, %1");
    case 11:
      return UiText("ConsumptionLog", "November, %1");
    case 12:
      return UiText("ConsumptionLog", "December, %1");
    default:
      return "?, %1";
  }
}

}  // namespace

std::string MonthEntryText(YearMonth month) {
  return Substitute(MonthPattern(month.month), {std::to_string(month.year)});
}

std::vector<std::string> MonthEntries(const LoggedMonths& months) {
  std::vector<std::string> entries;
  const int count = months.Count();
  entries.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int f = 0; f < count; ++f)
    entries.push_back(MonthEntryText(MonthOfEntry(months.oldest, f)));
  return entries;
}

std::string MachineEntryText(int entry) {
  return entry == 0 ? UiText("ConsumptionLog", "All machines")
                    : Substitute(UiText("ConsumptionLog", "Machine %1"), {std::to_string(entry)});
}

WideCounters Widened(const MachineCounters& counters) {
  WideCounters wide{};
  std::copy(counters.begin(), counters.end(), wide.begin());
  return wide;
}

void AddCounters(ConsumptionTotals& totals, const WideCounters& counters) {
  totals.anyIncluded = true;
  totals.noProgramWashes += counters[NoProgramCounter];
  totals.washTotal += counters[NoProgramCounter];
  for (int p = 0; p < LoggedPrograms; ++p) {
    const std::uint32_t washes = counters[static_cast<std::size_t>(FirstProgramCounter + p)];
    totals.programWashes[static_cast<std::size_t>(p)] += washes;
    totals.washTotal += washes;
  }
  for (int p = 0; p < LoggedPumps; ++p) {
    const std::uint32_t volume = counters[static_cast<std::size_t>(FirstPumpCounter + p)];
    totals.pumpCounts[static_cast<std::size_t>(p)] += volume;
    totals.volumeCounts += volume;
  }
  totals.softnerCount += counters[SoftnerCounter];
}

ConsumptionRows SelectedRows(const MonthRecords& records, const ConsumptionSelection& selection) {
  std::vector<const MonthRecord*> months;
  for (const MonthRecord& record : records) {
    if (record.Counts() && InRange(record.When(), selection)) months.push_back(&record);
  }
  std::stable_sort(months.begin(), months.end(),
                   [](const MonthRecord* a, const MonthRecord* b) { return a->When() < b->When(); });
  ConsumptionRows rows;
  for (const MonthRecord* record : months) {
    for (int m = 0; m < LoggedMachines; ++m) {
      if (MachineSelected(m, selection.machine))
        rows.push_back({record->When(), m + 1, Widened(record->machines[static_cast<std::size_t>(m)])});
    }
  }
  return rows;
}

ConsumptionRows SelectedRows(const ConsumptionRows& rows, const ConsumptionSelection& selection) {
  ConsumptionRows selected;
  for (const ConsumptionRow& row : rows) {
    if (InRange(row.month, selection) && MachineSelected(row.machine - 1, selection.machine))
      selected.push_back(row);
  }
  return selected;
}

ConsumptionTotals SumConsumption(const MonthRecords& records, const ConsumptionSelection& selection) {
  return SumRows(SelectedRows(records, selection));
}

ConsumptionTotals SumRows(const ConsumptionRows& rows) {
  ConsumptionTotals totals;
  for (const ConsumptionRow& row : rows)
    AddCounters(totals, row.counters);
  return totals;
}

std::string LitresText(std::uint32_t counts, NumberSeparators separators) {
  // counts x 5 ml = counts / 2 hundredths of a litre; an odd count is half a hundredth, rounded up.
  const std::uint64_t hundredths = (static_cast<std::uint64_t>(counts) + 1) / 2;
  const std::string digits = std::to_string(hundredths / 100);
  std::string text;
  for (std::size_t k = 0; k < digits.size(); ++k) {
    if (k > 0 && (digits.size() - k) % 3 == 0 && separators.thousands != '\0') text += separators.thousands;
    text += digits[k];
  }
  text += separators.decimal;
  text += Format("%02u L", static_cast<unsigned>(hundredths % 100));
  return text;
}

ConsumptionTexts ShowTotals(const ConsumptionTotals& totals, NumberSeparators separators) {
  ConsumptionTexts texts;
  texts.enabled = totals.anyIncluded;
  auto volume = [&](std::uint32_t counts) {
    return totals.anyIncluded ? LitresText(counts, separators) : std::string(NothingIncludedVolumeText);
  };
  auto count = [&](std::uint32_t n) {
    return totals.anyIncluded ? std::to_string(n) : std::string(NothingIncludedCountText);
  };
  for (std::size_t p = 0; p < texts.pumpVolumes.size(); ++p)
    texts.pumpVolumes[p] = volume(totals.pumpCounts[p]);
  texts.volumeTotal = volume(totals.volumeCounts);
  for (std::size_t p = 0; p < texts.programWashes.size(); ++p)
    texts.programWashes[p] = count(totals.programWashes[p]);
  texts.noProgramWashes = count(totals.noProgramWashes);
  texts.washTotal = count(totals.washTotal);
  texts.softnerCount = count(totals.softnerCount);
  return texts;
}

void ClearConsumptionLog(ControllerImage& image) {
  const std::span<std::uint8_t> area = ConsumptionLogArea(image);
  std::fill(area.begin(), area.end(), std::uint8_t{0});
}

void ConsumptionLogView::Rebuild(const ControllerImage& image) {
  const std::optional<LoggedMonths> months = FindLoggedMonths(ReadMonthRecords(image));
  entries_.clear();
  oldest_ = {};
  if (months) {
    oldest_ = months->oldest;
    entries_ = MonthEntries(*months);
  }
  from_ = to_ = static_cast<int>(entries_.size()) - 1;
  Compute(image);
}

void ConsumptionLogView::Select(const ControllerImage& image, int fromEntry, int toEntry, int machineEntry) {
  from_ = fromEntry;
  to_ = toEntry;
  machine_ = machineEntry;
  Compute(image);
}

void ConsumptionLogView::ResetDone(ControllerImage& image) {
  ClearConsumptionLog(image);
  Rebuild(image);
}

void ConsumptionLogView::Compute(const ControllerImage& image) {
  const int count = static_cast<int>(entries_.size());
  if (from_ < 0 || from_ >= count || to_ < 0 || to_ >= count || machine_ < 0 ||
      machine_ >= MachineEntryCount) {
    totals_ = {};
    selection_.reset();
    return;
  }
  selection_ = ConsumptionSelection{MonthOfEntry(oldest_, from_), MonthOfEntry(oldest_, to_), machine_};
  totals_ = SumConsumption(ReadMonthRecords(image), *selection_);
}

}  // namespace qd::logs
