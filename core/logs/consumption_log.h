#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/translation.h"
#include "model/controller_image.h"

// The consumption log: per month and machine, the washes of each dosing program, the volume of each
// pump and the softener dosings, and the totals the consumption log window shows over a range of months.
//
// Area: 24 month records of 302 bytes, in no particular order (the controller keeps them as a ring).
//   0      1  year - 2000 (0..99)
//   1      1  month 1..12, 0 = empty record
//   2 + 30 x m  machine m = 0..9: fifteen 16-bit little-endian counters
//        0 washes without a program, 1..6 washes with program 1..6, 7..13 pump 1..7 in 5 ml, 14 softener
namespace qd::logs {

constexpr int MonthRecordCount = 24;
constexpr std::size_t MonthRecordSize = 302;
constexpr int LoggedMachines = 10;
constexpr int CountersPerMachine = 15;
constexpr int LoggedPrograms = 6;
constexpr int LoggedPumps = 7;
constexpr int NoProgramCounter = 0;
constexpr int FirstProgramCounter = 1;
constexpr int FirstPumpCounter = 7;
constexpr int SoftnerCounter = 14;
constexpr int MillilitresPerCount = 5;

static_assert(MonthRecordSize * MonthRecordCount == layout::ConsumptionLogSize);
static_assert(2 + 2 * CountersPerMachine * LoggedMachines == MonthRecordSize);

inline constexpr std::string_view NoLogDataText = QD_TRANSLATABLE("ConsumptionLog", "No log data available");
inline constexpr std::string_view ResetDoneText = QD_TRANSLATABLE("ConsumptionLog", "Reset done");
inline constexpr std::string_view ResetLogQuestion =
    QD_TRANSLATABLE("ConsumptionLog", "Reset all log data\n\nAre you sure?");
// The window shows these fixed texts, whatever the separators, when nothing is included.
inline constexpr std::string_view NothingIncludedVolumeText = "0,00 L";
inline constexpr std::string_view NothingIncludedCountText = "0";

struct YearMonth {
  int year = 0;   // full year
  int month = 0;  // 1..12
  auto operator<=>(const YearMonth&) const = default;
};

// Months as one whole number (year x 12 + month - 1), for counting and stepping through them.
int MonthIndex(YearMonth month);
YearMonth MonthOfIndex(int index);

// The widest range a log can hold: year bytes 0..99.
inline constexpr YearMonth EarliestLogMonth{2000, 1};
inline constexpr YearMonth LatestLogMonth{2099, 12};

using MachineCounters = std::array<std::uint16_t, CountersPerMachine>;
// Counters summed over several records or reads (a month's history across log resets) outgrow 16 bits.
using WideCounters = std::array<std::uint32_t, CountersPerMachine>;
WideCounters Widened(const MachineCounters& counters);

struct MonthRecord {
  int yearByte = 0;  // year - 2000
  int month = 0;     // 0 = empty
  std::array<MachineCounters, LoggedMachines> machines{};

  // A record takes part when its month is 1..12 and its year byte below 100.
  bool Counts() const { return month >= 1 && month <= 12 && yearByte < 100; }
  YearMonth When() const { return {2000 + yearByte, month}; }
};

using MonthRecords = std::array<MonthRecord, MonthRecordCount>;

// The 24 records of a log area; bytes beyond a short area read as 0.
MonthRecords DecodeMonthRecords(std::span<const std::uint8_t> area);
// The 24 records at the image's firmware-dependent position.
MonthRecords ReadMonthRecords(const ControllerImage& image);

// The oldest and newest month of the records that take part.
struct LoggedMonths {
  YearMonth oldest;
  YearMonth newest;
  // Months from the oldest to the newest inclusive: the number of entries of the From and To lists.
  int Count() const;
};
std::optional<LoggedMonths> FindLoggedMonths(const MonthRecords& records);

// The month of list entry `entry` (0 = the oldest month); entries go on month by month.
YearMonth MonthOfEntry(YearMonth oldest, int entry);
// "May, 2012"
std::string MonthEntryText(YearMonth month);
// The From and To lists: one entry per month from the oldest to the newest, logged or not.
std::vector<std::string> MonthEntries(const LoggedMonths& months);
// The machine list: entry 0 "All machines", entries 1..10 "Machine 1" .. "Machine 10".
constexpr int MachineEntryCount = LoggedMachines + 1;
std::string MachineEntryText(int entry);

// Which records and machines are summed: months from..to inclusive, machine 0 for all or 1..10.
struct ConsumptionSelection {
  YearMonth from = EarliestLogMonth;
  YearMonth to = LatestLogMonth;
  int machine = 0;
};

// 32-bit sums of the selected counters.
struct ConsumptionTotals {
  bool anyIncluded = false;                             // at least one machine of one record was summed
  std::array<std::uint32_t, LoggedPumps> pumpCounts{};  // in 5 ml
  std::uint32_t volumeCounts = 0;                       // all pumps, in 5 ml
  std::uint32_t noProgramWashes = 0;
  std::array<std::uint32_t, LoggedPrograms> programWashes{};
  std::uint32_t washTotal = 0;  // with and without a program
  std::uint32_t softnerCount = 0;
  bool operator==(const ConsumptionTotals&) const = default;
};

// Adds the counters of one machine of one month.
void AddCounters(ConsumptionTotals& totals, const WideCounters& counters);

// One machine of one month, as the CSV lists them.
struct ConsumptionRow {
  YearMonth month;
  int machine = 0;  // 1..10
  WideCounters counters{};
  bool operator==(const ConsumptionRow&) const = default;
};
using ConsumptionRows = std::vector<ConsumptionRow>;
// The rows of every record that takes part and lies within the selection's months, for the selected
// machines; oldest month first, records of the same month in stored order. A From month after the To
// month selects none.
ConsumptionRows SelectedRows(const MonthRecords& records, const ConsumptionSelection& selection);
// The rows of any source (the history of a site) that lie within the selection, in their order.
ConsumptionRows SelectedRows(const ConsumptionRows& rows, const ConsumptionSelection& selection);

// The sums of the selected rows.
ConsumptionTotals SumConsumption(const MonthRecords& records, const ConsumptionSelection& selection);
ConsumptionTotals SumRows(const ConsumptionRows& rows);

struct NumberSeparators {
  char decimal = '.';
  char thousands = ',';  // '\0' for no grouping
};

// A volume of `counts` x 5 ml in litres, format "#,##0.00 'L'": "1,234.50 L". Half a hundredth rounds up.
std::string LitresText(std::uint32_t counts, NumberSeparators separators);

// The label texts of the window for a set of totals.
struct ConsumptionTexts {
  std::array<std::string, LoggedPumps> pumpVolumes;
  std::string volumeTotal;
  std::array<std::string, LoggedPrograms> programWashes;
  std::string noProgramWashes;
  std::string washTotal;
  std::string softnerCount;
  bool enabled = false;  // the labels are disabled when nothing was included
};
ConsumptionTexts ShowTotals(const ConsumptionTotals& totals, NumberSeparators separators);

// The PC's copy of the log after the controller confirmed a reset: the whole area at its
// firmware-dependent position is zero.
void ClearConsumptionLog(ControllerImage& image);

// The consumption log window's state without its widgets: the From/To lists, the three selections and
// the totals of the last computation.
class ConsumptionLogView {
 public:
  // Rebuilds the lists from the image; both select their last entry (the newest month); the machine
  // selection stays. Computes the totals.
  void Rebuild(const ControllerImage& image);
  // A change of one of the three combo boxes; recomputes the totals from the image. An entry outside
  // its list selects nothing, and nothing is included.
  void Select(const ControllerImage& image, int fromEntry, int toEntry, int machineEntry);
  // The controller confirmed a reset: the PC's copy is cleared and the lists rebuilt.
  void ResetDone(ControllerImage& image);

  // Entries of both the From and the To list.
  const std::vector<std::string>& Entries() const { return entries_; }
  // False: "No log data available" shown, the period group hidden.
  bool HasData() const { return !entries_.empty(); }
  int FromEntry() const { return from_; }
  int ToEntry() const { return to_; }
  int MachineEntry() const { return machine_; }
  const ConsumptionTotals& Totals() const { return totals_; }
  // The months and machines of the last computation; none when an entry lies outside its list.
  const std::optional<ConsumptionSelection>& Selection() const { return selection_; }

 private:
  void Compute(const ControllerImage& image);

  YearMonth oldest_{};
  std::vector<std::string> entries_;
  int from_ = -1;
  int to_ = -1;
  int machine_ = 0;
  ConsumptionTotals totals_;
  std::optional<ConsumptionSelection> selection_;
};

}  // namespace qd::logs
