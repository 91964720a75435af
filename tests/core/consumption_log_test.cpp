#include "logs/consumption_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "logs/consumption_costs.h"
#include "logs/consumption_csv.h"

namespace qd::logs {
namespace {

// Offsets of the log area, spelled out here rather than taken from the code under test.
constexpr std::size_t kLog = 0x6380;
constexpr std::size_t kLogFirmwareOne = 0x6300;
constexpr std::size_t kLogSize = 7248;
constexpr std::size_t kFirmwareMajor = 0x08;

struct Log {
  ControllerImage image;
  std::size_t base = kLog;

  void PutRecord(int r, int year, int month) {
    image.bytes[base + 302 * r] = static_cast<std::uint8_t>(year - 2000);
    image.bytes[base + 302 * r + 1] = static_cast<std::uint8_t>(month);
  }
  // Counter i of machine m (1..10) in record r.
  void PutCounter(int r, int m, int i, int value) {
    const std::size_t at = base + 302 * r + 2 + 30 * (m - 1) + 2 * i;
    image.bytes[at] = static_cast<std::uint8_t>(value);
    image.bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
  }
  MonthRecords Records() const { return ReadMonthRecords(image); }
  ConsumptionTotals Sum(ConsumptionSelection selection = {}) const {
    return SumConsumption(Records(), selection);
  }
};

// Counter indices as the controller counts them.
constexpr int kNoProgram = 0;
constexpr int kProgram1 = 1;
constexpr int kPump1 = 7;
constexpr int kSoftener = 14;

const NumberSeparators kPoint{'.', ','};
const NumberSeparators kComma{',', '.'};

std::vector<std::string> AllTexts(const ConsumptionTexts& t) {
  std::vector<std::string> all(t.pumpVolumes.begin(), t.pumpVolumes.end());
  all.push_back(t.volumeTotal);
  all.insert(all.end(), t.programWashes.begin(), t.programWashes.end());
  all.push_back(t.noProgramWashes);
  all.push_back(t.washTotal);
  all.push_back(t.softnerCount);
  return all;
}

void ExpectNothingIncluded(const ConsumptionTotals& totals) {
  EXPECT_FALSE(totals.anyIncluded);
  EXPECT_EQ(totals, ConsumptionTotals{});
  for (const NumberSeparators separators : {kPoint, kComma}) {
    const ConsumptionTexts texts = ShowTotals(totals, separators);
    EXPECT_FALSE(texts.enabled);
    const std::vector<std::string> all = AllTexts(texts);
    for (std::size_t k = 0; k < 8; ++k)
      EXPECT_EQ(all[k], "0,00 L") << k;
    for (std::size_t k = 8; k < all.size(); ++k)
      EXPECT_EQ(all[k], "0") << k;
  }
}

TEST(ConsumptionLogWindow, AllRecordsEmptyShowsNoLogDataAndZeroDisabledTotals) {
  Log log;
  // Counters without a month do not make a record count.
  log.PutCounter(0, 1, kPump1, 500);
  ConsumptionLogView view;
  view.Rebuild(log.image);
  EXPECT_FALSE(view.HasData());
  EXPECT_TRUE(view.Entries().empty());
  EXPECT_FALSE(FindLoggedMonths(log.Records()).has_value());
  ExpectNothingIncluded(view.Totals());
  EXPECT_EQ(NoLogDataText, "No log data available");
}

TEST(ConsumptionLogWindow, ListsEveryMonthBetweenTheOldestAndTheNewestAndSelectsTheNewest) {
  Log log;
  log.PutRecord(4, 2013, 5);
  log.PutRecord(17, 2012, 3);
  log.PutCounter(4, 1, kProgram1, 7);
  log.PutCounter(17, 1, kProgram1, 100);
  ConsumptionLogView view;
  view.Rebuild(log.image);
  ASSERT_TRUE(view.HasData());
  ASSERT_EQ(view.Entries().size(), 15u);
  EXPECT_EQ(view.Entries().front(), "March, 2012");
  EXPECT_EQ(view.Entries()[9], "December, 2012");
  EXPECT_EQ(view.Entries()[10], "January, 2013");
  EXPECT_EQ(view.Entries().back(), "May, 2013");
  EXPECT_EQ(view.FromEntry(), 14);
  EXPECT_EQ(view.ToEntry(), 14);
  // Only the newest month is summed at first.
  EXPECT_EQ(view.Totals().programWashes[0], 7u);

  view.Select(log.image, 0, 14, 0);
  EXPECT_EQ(view.Totals().programWashes[0], 107u);
  view.Select(log.image, 0, 13, 0);
  EXPECT_EQ(view.Totals().programWashes[0], 100u);
}

TEST(ConsumptionLogWindow, FromAfterToIncludesNothing) {
  Log log;
  log.PutRecord(0, 2012, 3);
  log.PutRecord(1, 2012, 4);
  log.PutCounter(0, 1, kPump1, 200);
  log.PutCounter(1, 1, kPump1, 200);
  ConsumptionLogView view;
  view.Rebuild(log.image);
  view.Select(log.image, 1, 0, 0);
  ExpectNothingIncluded(view.Totals());
  // The same month as both ends includes that month.
  view.Select(log.image, 1, 1, 0);
  EXPECT_TRUE(view.Totals().anyIncluded);
  EXPECT_EQ(view.Totals().pumpCounts[0], 200u);
}

TEST(ConsumptionLogWindow, SelectedMonthsWithoutRecordsIncludeNothing) {
  Log log;
  log.PutRecord(0, 2012, 1);
  log.PutRecord(1, 2012, 6);
  ConsumptionLogView view;
  view.Rebuild(log.image);
  view.Select(log.image, 1, 4, 0);  // February .. May: no records
  ExpectNothingIncluded(view.Totals());
  // A record of zeros is still included: the labels show zero amounts and are enabled.
  view.Select(log.image, 0, 0, 0);
  EXPECT_TRUE(view.Totals().anyIncluded);
  const ConsumptionTexts texts = ShowTotals(view.Totals(), kPoint);
  EXPECT_TRUE(texts.enabled);
  EXPECT_EQ(texts.volumeTotal, "0.00 L");
}

TEST(ConsumptionLogWindow, MachineSelectionSumsOnlyThatMachine) {
  Log log;
  log.PutRecord(0, 2020, 1);
  log.PutRecord(1, 2020, 2);
  for (int m = 1; m <= 10; ++m) {
    log.PutCounter(0, m, kPump1 + 2, m);          // pump 3
    log.PutCounter(1, m, kProgram1 + 5, 10 * m);  // program 6
  }
  ConsumptionLogView view;
  view.Rebuild(log.image);
  view.Select(log.image, 0, 1, 3);
  EXPECT_EQ(view.Totals().pumpCounts[2], 3u);
  EXPECT_EQ(view.Totals().programWashes[5], 30u);
  EXPECT_EQ(view.Totals().washTotal, 30u);
  view.Select(log.image, 0, 1, 10);
  EXPECT_EQ(view.Totals().pumpCounts[2], 10u);
  view.Select(log.image, 0, 1, 0);
  EXPECT_EQ(view.Totals().pumpCounts[2], 55u);
  EXPECT_EQ(view.Totals().programWashes[5], 550u);

  // A rebuild keeps the machine selection.
  view.Select(log.image, 0, 1, 3);
  view.Rebuild(log.image);
  EXPECT_EQ(view.MachineEntry(), 3);
  EXPECT_EQ(view.Totals().programWashes[5], 30u);  // newest month, machine 3

  EXPECT_EQ(MachineEntryText(0), "All machines");
  EXPECT_EQ(MachineEntryText(3), "Machine 3");
  EXPECT_EQ(MachineEntryText(10), "Machine 10");
}

TEST(ConsumptionLogWindow, SelectionOutsideTheListsIncludesNothing) {
  Log log;
  log.PutRecord(0, 2020, 1);
  log.PutCounter(0, 1, kSoftener, 4);
  ConsumptionLogView view;
  view.Rebuild(log.image);
  view.Select(log.image, -1, 0, 0);
  ExpectNothingIncluded(view.Totals());
  view.Select(log.image, 0, 1, 0);
  ExpectNothingIncluded(view.Totals());
  view.Select(log.image, 0, 0, 11);
  ExpectNothingIncluded(view.Totals());
}

TEST(ConsumptionLogMonths, OrderFollowsTheCalendarNotTheRecordPositions) {
  // A full ring whose newest month (current record 7) is followed by the oldest.
  Log log;
  for (int k = 0; k < 24; ++k) {
    const int r = (8 + k) % 24;  // k = 0 is the oldest, August 2018
    const int months = 2018 * 12 + 7 + k;
    log.PutRecord(r, months / 12, months % 12 + 1);
    log.PutCounter(r, 1, kNoProgram, k + 1);
  }
  const auto months = FindLoggedMonths(log.Records());
  ASSERT_TRUE(months.has_value());
  EXPECT_EQ(months->oldest, (YearMonth{2018, 8}));
  EXPECT_EQ(months->newest, (YearMonth{2020, 7}));
  EXPECT_EQ(months->Count(), 24);
  const std::vector<std::string> entries = MonthEntries(*months);
  ASSERT_EQ(entries.size(), 24u);
  EXPECT_EQ(entries[0], "August, 2018");
  EXPECT_EQ(entries[4], "December, 2018");
  EXPECT_EQ(entries[5], "January, 2019");
  EXPECT_EQ(entries[23], "July, 2020");

  ConsumptionLogView view;
  view.Rebuild(log.image);
  EXPECT_EQ(view.Totals().noProgramWashes, 24u);  // the newest month is record 7
  view.Select(log.image, 4, 5, 0);                // December 2018 .. January 2019
  EXPECT_EQ(view.Totals().noProgramWashes, 5u + 6u);
}

TEST(ConsumptionLogMonths, EntryArithmeticCrossesYearEnds) {
  EXPECT_EQ(MonthOfEntry({2012, 3}, 0), (YearMonth{2012, 3}));
  EXPECT_EQ(MonthOfEntry({2012, 3}, 9), (YearMonth{2012, 12}));
  EXPECT_EQ(MonthOfEntry({2012, 3}, 10), (YearMonth{2013, 1}));
  EXPECT_EQ(MonthOfEntry({2012, 12}, 1), (YearMonth{2013, 1}));
  EXPECT_EQ(MonthOfEntry({2012, 1}, 35), (YearMonth{2014, 12}));
  EXPECT_EQ(MonthEntryText({2000, 1}), "January, 2000");
  EXPECT_EQ(MonthEntryText({2099, 9}), "September, 2099");
}

TEST(ConsumptionLogMonths, OldestAndNewestCompareTheYearFirst) {
  Log log;
  log.PutRecord(0, 2013, 1);
  log.PutRecord(1, 2012, 12);
  log.PutRecord(2, 2012, 11);
  log.PutRecord(3, 2013, 2);
  const auto months = FindLoggedMonths(log.Records());
  ASSERT_TRUE(months.has_value());
  EXPECT_EQ(months->oldest, (YearMonth{2012, 11}));
  EXPECT_EQ(months->newest, (YearMonth{2013, 2}));
  EXPECT_EQ(months->Count(), 4);
}

TEST(ConsumptionLogMonths, RecordsOutsideTheCalendarTakeNoPart) {
  Log log;
  log.PutRecord(0, 2015, 6);
  log.PutCounter(0, 1, kSoftener, 1);
  log.PutRecord(1, 2015, 13);  // no such month
  log.PutCounter(1, 1, kSoftener, 10);
  log.PutRecord(2, 2100, 1);  // year byte 100
  log.PutCounter(2, 1, kSoftener, 100);
  log.PutRecord(3, 2015, 0);  // empty
  log.PutCounter(3, 1, kSoftener, 1000);
  const auto months = FindLoggedMonths(log.Records());
  ASSERT_TRUE(months.has_value());
  EXPECT_EQ(months->oldest, (YearMonth{2015, 6}));
  EXPECT_EQ(months->newest, (YearMonth{2015, 6}));
  EXPECT_EQ(log.Sum().softnerCount, 1u);
  EXPECT_EQ(log.Sum({{2015, 1}, {2016, 12}, 0}).softnerCount, 1u);
  // Year byte 99 is the last one that counts.
  log.PutRecord(4, 2099, 12);
  EXPECT_EQ(FindLoggedMonths(log.Records())->newest, (YearMonth{2099, 12}));
}

TEST(ConsumptionLogMonths, TwoRecordsOfOneMonthAreBothSummed) {
  Log log;
  log.PutRecord(3, 2016, 4);
  log.PutRecord(20, 2016, 4);
  log.PutCounter(3, 2, kPump1, 10);
  log.PutCounter(20, 2, kPump1, 20);
  ConsumptionLogView view;
  view.Rebuild(log.image);
  EXPECT_EQ(view.Entries(), std::vector<std::string>{"April, 2016"});
  EXPECT_EQ(view.Totals().pumpCounts[0], 30u);
}

TEST(ConsumptionLogArea, FirmwareMajorOneTakesTheArea128BytesEarlier) {
  for (const int major : {0, 1, 2}) {
    SCOPED_TRACE(major);
    Log log;
    log.base = major == 1 ? kLogFirmwareOne : kLog;
    log.image.bytes[kFirmwareMajor] = static_cast<std::uint8_t>(major);
    log.PutRecord(0, 2012, 5);
    log.PutCounter(0, 1, kPump1, 200);
    log.PutRecord(23, 2012, 7);
    log.PutCounter(23, 10, kSoftener, 9);  // the last counter of the area
    ConsumptionLogView view;
    view.Rebuild(log.image);
    ASSERT_EQ(view.Entries().size(), 3u);
    view.Select(log.image, 0, 2, 0);
    EXPECT_EQ(view.Totals().pumpCounts[0], 200u);
    EXPECT_EQ(view.Totals().softnerCount, 9u);
  }
  // Firmware major 1 with the records at the map's position sees the bytes of another place.
  Log fixed;
  fixed.PutRecord(0, 2012, 5);
  fixed.image.bytes[kFirmwareMajor] = 1;
  ConsumptionLogView view;
  view.Rebuild(fixed.image);
  EXPECT_FALSE(view.HasData());
}

TEST(ConsumptionLogArea, ConfirmedResetZeroesTheAreaAtItsPositionOnly) {
  for (const int major : {1, 2}) {
    SCOPED_TRACE(major);
    Log log;
    log.base = major == 1 ? kLogFirmwareOne : kLog;
    std::fill(log.image.bytes.begin(), log.image.bytes.end(), std::uint8_t{0xA5});
    log.image.bytes[kFirmwareMajor] = static_cast<std::uint8_t>(major);
    log.PutRecord(0, 2012, 5);
    ConsumptionLogView view;
    view.Rebuild(log.image);
    ASSERT_TRUE(view.HasData());

    view.ResetDone(log.image);
    EXPECT_FALSE(view.HasData());
    ExpectNothingIncluded(view.Totals());
    const auto begin = log.image.bytes.begin() + static_cast<std::ptrdiff_t>(log.base);
    EXPECT_TRUE(std::all_of(begin, begin + kLogSize, [](auto b) { return b == 0; }));
    EXPECT_EQ(*(begin - 1), 0xA5);
    EXPECT_EQ(begin[kLogSize], 0xA5);
    EXPECT_EQ(log.image.bytes[kFirmwareMajor], major);
  }
}

TEST(ConsumptionLogTotals, CountersGoIntoTheirSums) {
  Log log;
  log.PutRecord(0, 2014, 2);
  for (int i = 0; i < 15; ++i)
    log.PutCounter(0, 5, i, 100 + i);
  const ConsumptionTotals t = log.Sum();
  EXPECT_EQ(t.noProgramWashes, 100u);
  EXPECT_EQ(t.programWashes, (std::array<std::uint32_t, 6>{101, 102, 103, 104, 105, 106}));
  EXPECT_EQ(t.washTotal, 100u + 101 + 102 + 103 + 104 + 105 + 106);
  EXPECT_EQ(t.pumpCounts, (std::array<std::uint32_t, 7>{107, 108, 109, 110, 111, 112, 113}));
  EXPECT_EQ(t.volumeCounts, 107u + 108 + 109 + 110 + 111 + 112 + 113);
  EXPECT_EQ(t.softnerCount, 114u);
}

TEST(ConsumptionLogTotals, SumsGoBeyondSixteenBits) {
  Log log;
  for (int r = 0; r < 24; ++r) {
    log.PutRecord(r, 2000 + r / 12, r % 12 + 1);
    for (int m = 1; m <= 10; ++m) {
      for (int i = 0; i < 15; ++i)
        log.PutCounter(r, m, i, 0xFFFF);
    }
  }
  const ConsumptionTotals t = log.Sum();
  EXPECT_EQ(t.pumpCounts[6], 240u * 65535);
  EXPECT_EQ(t.volumeCounts, 7u * 240 * 65535);
  EXPECT_EQ(t.washTotal, 7u * 240 * 65535);
  EXPECT_EQ(t.softnerCount, 240u * 65535);
  const ConsumptionTexts texts = ShowTotals(t, kPoint);
  EXPECT_EQ(texts.pumpVolumes[6], "78,642.00 L");  // 15,728,400 x 5 ml
  EXPECT_EQ(texts.volumeTotal, "550,494.00 L");
  EXPECT_EQ(texts.washTotal, "110098800");
  EXPECT_EQ(texts.softnerCount, "15728400");
  EXPECT_EQ(ShowTotals(t, kComma).volumeTotal, "550.494,00 L");
}

TEST(ConsumptionLogTotals, VolumesInLitresWithTheGivenSeparators) {
  Log log;
  log.PutRecord(0, 2012, 5);
  log.PutCounter(0, 1, kPump1, 200);
  const ConsumptionTexts point = ShowTotals(log.Sum(), kPoint);
  EXPECT_TRUE(point.enabled);
  EXPECT_EQ(point.pumpVolumes[0], "1.00 L");
  EXPECT_EQ(point.pumpVolumes[1], "0.00 L");
  EXPECT_EQ(point.volumeTotal, "1.00 L");
  EXPECT_EQ(ShowTotals(log.Sum(), kComma).pumpVolumes[0], "1,00 L");
}

TEST(ConsumptionLogTotals, LitreTextsRoundHalfAHundredthUpAndGroupThousands) {
  EXPECT_EQ(LitresText(0, kPoint), "0.00 L");
  EXPECT_EQ(LitresText(1, kPoint), "0.01 L");  // 5 ml
  EXPECT_EQ(LitresText(2, kPoint), "0.01 L");
  EXPECT_EQ(LitresText(3, kPoint), "0.02 L");        // 15 ml
  EXPECT_EQ(LitresText(199, kPoint), "1.00 L");      // 995 ml
  EXPECT_EQ(LitresText(19999, kPoint), "100.00 L");  // 99.995 L
  EXPECT_EQ(LitresText(199800, kPoint), "999.00 L");
  EXPECT_EQ(LitresText(199999, kPoint), "1,000.00 L");
  EXPECT_EQ(LitresText(200000000, kPoint), "1,000,000.00 L");
  EXPECT_EQ(LitresText(0xFFFFFFFFu, kPoint), "21,474,836.48 L");
  EXPECT_EQ(LitresText(246913, kComma), "1.234,57 L");
  EXPECT_EQ(LitresText(246913, NumberSeparators{'.', '\0'}), "1234.57 L");
}

TEST(ConsumptionLogCsv, OneRowPerMonthAndMachineOldestFirst) {
  Log log;
  log.PutRecord(5, 2013, 1);
  log.PutRecord(2, 2012, 12);
  for (int i = 0; i < 15; ++i)
    log.PutCounter(2, 2, i, i + 1);
  log.PutCounter(5, 10, kPump1 + 6, 2001);  // 10.005 L
  const std::string header =
      "month,machine,no_program,program_1,program_2,program_3,program_4,program_5,program_6,"
      "pump_1_litres,pump_2_litres,pump_3_litres,pump_4_litres,pump_5_litres,pump_6_litres,pump_7_litres,"
      "softener\n";
  const std::string all = ConsumptionCsv(log.Records(), {});
  EXPECT_EQ(all.substr(0, header.size()), header);
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 1 + 2 * 10);
  EXPECT_NE(all.find("\n2012-12,1,0,0,0,0,0,0,0,0.000,0.000,0.000,0.000,0.000,0.000,0.000,0\n"
                     "2012-12,2,1,2,3,4,5,6,7,0.040,0.045,0.050,0.055,0.060,0.065,0.070,15\n"),
            std::string::npos);
  EXPECT_LT(all.find("2012-12,10,"), all.find("2013-01,1,"));

  EXPECT_EQ(ConsumptionCsv(log.Records(), {{2013, 1}, {2013, 1}, 10}),
            header + "2013-01,10,0,0,0,0,0,0,0,0.000,0.000,0.000,0.000,0.000,0.000,10.005,0\n");
  EXPECT_EQ(ConsumptionCsv(log.Records(), {{2013, 2}, {2013, 1}, 0}), header);
  EXPECT_EQ(ConsumptionCsv(Log{}.Records(), {}), header);
}

// A CSV cell of row `line` by column name.
std::string Cell(const std::vector<std::string>& header, const std::vector<std::string>& row,
                 const std::string& column) {
  const auto at = std::find(header.begin(), header.end(), column);
  return at == header.end() ? std::string("<missing>")
                            : row.at(static_cast<std::size_t>(at - header.begin()));
}

std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> cells(1);
  for (const char c : line) {
    if (c == ',') {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  return cells;
}

// "12.34" as hundredths.
std::int64_t Hundredths(const std::string& text) {
  const std::size_t point = text.find('.');
  return std::stoll(text.substr(0, point)) * 100 + std::stoll(text.substr(point + 1));
}

TEST(ConsumptionLogCsv, CostColumnsOnlyWithPricesAndEmptyForPumpsWithoutOne) {
  Log log;
  log.PutRecord(0, 2013, 1);
  log.PutCounter(0, 1, kPump1, 200);    // 1 L
  log.PutCounter(0, 1, kPump1 + 1, 3);  // 15 ml
  PumpPrices prices{};
  prices[0] = 2450;
  prices[1] = 1000;
  const std::string csv = ConsumptionCsv(log.Records(), {{2013, 1}, {2013, 1}, 1}, prices);
  const std::string header =
      "month,machine,no_program,program_1,program_2,program_3,program_4,program_5,program_6,"
      "pump_1_litres,pump_2_litres,pump_3_litres,pump_4_litres,pump_5_litres,pump_6_litres,pump_7_litres,"
      "softener,pump_1_cost,pump_2_cost,pump_3_cost,pump_4_cost,pump_5_cost,pump_6_cost,pump_7_cost,"
      "cost_total\n";
  EXPECT_EQ(
      csv,
      header + "2013-01,1,0,0,0,0,0,0,0,1.000,0.015,0.000,0.000,0.000,0.000,0.000,0,2.45,0.02,,,,,,2.47\n");
  EXPECT_EQ(ConsumptionCsv(log.Records(), {{2013, 1}, {2013, 1}, 1}, PumpPrices{}),
            ConsumptionCsv(log.Records(), {{2013, 1}, {2013, 1}, 1}));
}

TEST(ConsumptionLogCsv, AYearOfRowsAddsUpToTheTotalsAndCostsOfTheSelection) {
  Log log;
  // Twelve months in ring order (the newest in the middle), every counter varied; a thirteenth month
  // outside the selection.
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 8) % 4000);
  };
  for (int r = 0; r < 13; ++r) {
    const int month = (r + 5) % 13;  // 0 = December 2012, 1..12 = 2013
    log.PutRecord(r, month == 0 ? 2012 : 2013, month == 0 ? 12 : month);
    for (int m = 1; m <= 10; ++m) {
      for (int i = 0; i < 15; ++i)
        log.PutCounter(r, m, i, next());
    }
  }
  PumpPrices prices{};
  prices[0] = 2450;
  prices[2] = 1333;
  prices[6] = 999'999;
  for (int machine : {0, 4}) {
    const ConsumptionSelection year{{2013, 1}, {2013, 12}, machine};
    const ConsumptionTotals totals = SumConsumption(log.Records(), year);
    const ConsumptionCosts costs = SelectionCosts(log.Records(), year, prices);

    std::vector<std::string> lines;
    std::string line;
    for (const char c : ConsumptionCsv(log.Records(), year, prices)) {
      if (c == '\n') {
        lines.push_back(line);
        line.clear();
      } else {
        line += c;
      }
    }
    ASSERT_EQ(lines.size(), 1u + 12u * (machine == 0 ? 10u : 1u));
    const std::vector<std::string> header = SplitCsvLine(lines[0]);
    std::array<std::int64_t, LoggedPumps> millilitres{};
    std::array<std::int64_t, LoggedPumps> pumpCosts{};
    std::int64_t washes = 0;
    std::int64_t costTotal = 0;
    for (std::size_t k = 1; k < lines.size(); ++k) {
      const std::vector<std::string> row = SplitCsvLine(lines[k]);
      ASSERT_EQ(row.size(), header.size());
      washes += std::stoll(Cell(header, row, "no_program"));
      for (int p = 1; p <= LoggedPrograms; ++p)
        washes += std::stoll(Cell(header, row, "program_" + std::to_string(p)));
      for (int p = 0; p < LoggedPumps; ++p) {
        const std::string litres = Cell(header, row, "pump_" + std::to_string(p + 1) + "_litres");
        millilitres[static_cast<std::size_t>(p)] += std::stoll(litres.substr(0, litres.find('.'))) * 1000 +
                                                    std::stoll(litres.substr(litres.find('.') + 1));
        const std::string cost = Cell(header, row, "pump_" + std::to_string(p + 1) + "_cost");
        EXPECT_EQ(cost.empty(), !prices[static_cast<std::size_t>(p)].has_value());
        if (!cost.empty()) pumpCosts[static_cast<std::size_t>(p)] += Hundredths(cost);
      }
      costTotal += Hundredths(Cell(header, row, "cost_total"));
    }
    EXPECT_EQ(washes, totals.washTotal);
    for (std::size_t p = 0; p < millilitres.size(); ++p) {
      EXPECT_EQ(millilitres[p], 5 * static_cast<std::int64_t>(totals.pumpCounts[p])) << p;
      EXPECT_EQ(pumpCosts[p], costs.pumps[p].value_or(0)) << p;
    }
    EXPECT_EQ(costTotal, costs.total);
    ASSERT_TRUE(costs.perWash.has_value());
    EXPECT_EQ(*costs.perWash, (2 * costs.total + totals.washTotal) / (2 * totals.washTotal));
    // Rounding row by row stays within half a hundredth per row of the exact cost of the totals.
    const ConsumptionCosts exact = CostsOf(totals, prices);
    EXPECT_LE(std::abs(exact.total - costs.total), static_cast<std::int64_t>(lines.size()));
  }
}

TEST(ConsumptionLogCosts, EmptySelectionCostsNothingForPricedPumps) {
  PumpPrices prices{};
  prices[3] = 1500;
  const ConsumptionCosts costs = SelectionCosts(Log{}.Records(), {}, prices);
  EXPECT_TRUE(costs.anyPrice);
  EXPECT_EQ(costs.pumps[3], 0);
  EXPECT_FALSE(costs.pumps[0].has_value());
  EXPECT_EQ(costs.total, 0);
  EXPECT_FALSE(costs.perWash.has_value());
}

}  // namespace
}  // namespace qd::logs
