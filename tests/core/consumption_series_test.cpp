#include "logs/consumption_series.h"

#include <gtest/gtest.h>

#include <vector>

namespace qd::logs {
namespace {

// Counter indices as the controller counts them.
constexpr int kNoProgram = 0;
constexpr int kProgram1 = 1;
constexpr int kPump1 = 7;
constexpr int kSoftener = 14;

struct Log {
  MonthRecords records{};

  // Record r holds `month` of `year`; machine m (1..10) counter i gets `value`.
  void PutRecord(int r, int year, int month) {
    records[static_cast<std::size_t>(r)].yearByte = year - 2000;
    records[static_cast<std::size_t>(r)].month = month;
  }
  void PutCounter(int r, int m, int i, std::uint16_t value) {
    records[static_cast<std::size_t>(r)]
        .machines[static_cast<std::size_t>(m - 1)][static_cast<std::size_t>(i)] = value;
  }
  std::vector<MonthTotals> Monthly(ConsumptionSelection selection = {}) const {
    return MonthlyConsumption(records, selection);
  }
};

std::vector<YearMonth> MonthsOf(const std::vector<MonthTotals>& entries) {
  std::vector<YearMonth> months;
  for (const MonthTotals& entry : entries)
    months.push_back(entry.month);
  return months;
}

ConsumptionTotals Added(const std::vector<MonthTotals>& entries) {
  ConsumptionTotals sum;
  for (const MonthTotals& entry : entries) {
    const ConsumptionTotals& t = entry.totals;
    sum.anyIncluded = sum.anyIncluded || t.anyIncluded;
    for (std::size_t p = 0; p < sum.pumpCounts.size(); ++p)
      sum.pumpCounts[p] += t.pumpCounts[p];
    sum.volumeCounts += t.volumeCounts;
    sum.noProgramWashes += t.noProgramWashes;
    for (std::size_t p = 0; p < sum.programWashes.size(); ++p)
      sum.programWashes[p] += t.programWashes[p];
    sum.washTotal += t.washTotal;
    sum.softnerCount += t.softnerCount;
  }
  return sum;
}

// March 2012 .. May 2013 with a gap, records out of order in the ring, full counters on every machine
// in one month, and records that must not count.
Log SampleLog() {
  Log log;
  log.PutRecord(5, 2012, 3);
  log.PutCounter(5, 1, kPump1, 200);
  log.PutCounter(5, 1, kProgram1, 4);
  log.PutCounter(5, 3, kNoProgram, 2);
  log.PutCounter(5, 3, kSoftener, 3);
  log.PutRecord(1, 2013, 5);
  log.PutCounter(1, 2, kPump1 + 6, 700);
  log.PutCounter(1, 10, kProgram1 + 5, 9);
  log.PutRecord(9, 2012, 11);
  for (int m = 1; m <= LoggedMachines; ++m) {
    for (int i = 0; i < CountersPerMachine; ++i)
      log.PutCounter(9, m, i, 65535);
  }
  log.PutRecord(0, 2012, 13);  // no such month
  log.PutCounter(0, 1, kPump1, 50000);
  log.PutRecord(2, 2100, 4);  // beyond the year range
  log.PutCounter(2, 1, kPump1, 50000);
  return log;
}

TEST(MonthlyConsumption, EntriesAddUpToTheSumOfTheSameSelection) {
  const Log log = SampleLog();
  const std::vector<ConsumptionSelection> selections = {
      {},
      {{2012, 3}, {2013, 5}, 0},
      {{2012, 4}, {2013, 4}, 0},
      {{2012, 11}, {2012, 11}, 10},
      {{2013, 1}, {2013, 5}, 2},
      {{2012, 1}, {2012, 12}, 3},
  };
  for (const ConsumptionSelection& selection : selections) {
    const std::vector<MonthTotals> monthly = log.Monthly(selection);
    EXPECT_EQ(Added(monthly), SumConsumption(log.records, selection))
        << selection.from.year << "-" << selection.from.month << " .. " << selection.to.year << "-"
        << selection.to.month << " machine " << selection.machine;
  }
}

TEST(MonthlyConsumption, ListsEveryMonthOfTheLoggedSpanWithEmptyMonthsPresent) {
  const std::vector<MonthTotals> monthly = SampleLog().Monthly();
  // The widest selection gives the logged span, not the 1200 months a log could hold.
  ASSERT_EQ(monthly.size(), 15u);
  EXPECT_EQ(monthly.front().month, (YearMonth{2012, 3}));
  EXPECT_EQ(monthly.back().month, (YearMonth{2013, 5}));
  for (std::size_t k = 1; k < monthly.size(); ++k)
    EXPECT_LT(monthly[k - 1].month, monthly[k].month);

  const MonthTotals& april = monthly[1];
  EXPECT_EQ(april.month, (YearMonth{2012, 4}));
  EXPECT_FALSE(april.totals.anyIncluded);
  EXPECT_EQ(april.totals, ConsumptionTotals{});

  EXPECT_EQ(monthly[0].totals.pumpCounts[0], 200u);
  EXPECT_EQ(monthly[0].totals.programWashes[0], 4u);
  EXPECT_EQ(monthly[0].totals.noProgramWashes, 2u);
  EXPECT_EQ(monthly[0].totals.softnerCount, 3u);
  EXPECT_EQ(monthly[14].totals.pumpCounts[6], 700u);
  EXPECT_EQ(monthly[14].totals.programWashes[5], 9u);
}

TEST(MonthlyConsumption, FullCountersOnAllMachinesDoNotOverflow) {
  const std::vector<MonthTotals> monthly = SampleLog().Monthly({{2012, 11}, {2012, 11}, 0});
  ASSERT_EQ(monthly.size(), 1u);
  const ConsumptionTotals& t = monthly[0].totals;
  EXPECT_EQ(t.pumpCounts[3], 10u * 65535u);
  EXPECT_EQ(t.volumeCounts, 7u * 10u * 65535u);
  EXPECT_EQ(t.washTotal, 7u * 10u * 65535u);
}

TEST(MonthlyConsumption, RangeIsCutToTheLoggedMonths) {
  const Log log = SampleLog();
  EXPECT_EQ(log.Monthly({{2000, 1}, {2012, 5}, 0}).size(), 3u);
  EXPECT_EQ(log.Monthly({{2013, 4}, {2099, 12}, 0}).size(), 2u);
  EXPECT_EQ(MonthsOf(log.Monthly({{2012, 12}, {2013, 2}, 0})),
            (std::vector<YearMonth>{{2012, 12}, {2013, 1}, {2013, 2}}));
  // A selection wholly outside the log, before or after it.
  EXPECT_TRUE(log.Monthly({{2005, 1}, {2011, 12}, 0}).empty());
  EXPECT_TRUE(log.Monthly({{2014, 1}, {2020, 12}, 0}).empty());
}

TEST(MonthlyConsumption, FromAfterToGivesNone) {
  const Log log = SampleLog();
  EXPECT_TRUE(log.Monthly({{2013, 5}, {2012, 3}, 0}).empty());
  EXPECT_TRUE(log.Monthly({{2012, 4}, {2012, 3}, 0}).empty());
}

TEST(MonthlyConsumption, NoRecordsGivesNone) {
  EXPECT_TRUE(Log{}.Monthly().empty());
  Log onlyInvalid;
  onlyInvalid.PutRecord(3, 2012, 13);
  onlyInvalid.PutCounter(3, 1, kPump1, 10);
  EXPECT_TRUE(onlyInvalid.Monthly().empty());
}

TEST(MonthlyConsumption, MonthsOutsideOneToTwelveInTheSelectionMatchTheSums) {
  const Log log = SampleLog();
  // Month 0 and 13 are not months; they compare before January and after December of their year.
  const std::vector<ConsumptionSelection> selections = {
      {{2012, 0}, {2012, 13}, 0}, {{2012, 13}, {2013, 0}, 0}, {{2013, 0}, {2013, 13}, 0}};
  for (const ConsumptionSelection& selection : selections) {
    const std::vector<MonthTotals> monthly = log.Monthly(selection);
    for (const MonthTotals& entry : monthly) {
      EXPECT_GE(entry.month.month, 1);
      EXPECT_LE(entry.month.month, 12);
    }
    EXPECT_EQ(Added(monthly), SumConsumption(log.records, selection));
  }
  EXPECT_EQ(log.Monthly({{2012, 0}, {2012, 13}, 0}).size(), 10u);  // March .. December 2012
  EXPECT_TRUE(log.Monthly({{2012, 13}, {2013, 0}, 0}).empty());
}

TEST(MonthlyConsumption, TwoRecordsOfTheSameMonthAreSummed) {
  Log log;
  log.PutRecord(4, 2020, 6);
  log.PutCounter(4, 1, kPump1, 100);
  log.PutCounter(4, 1, kProgram1, 1);
  log.PutRecord(17, 2020, 6);
  log.PutCounter(17, 1, kPump1, 250);
  log.PutCounter(17, 2, kProgram1, 2);
  const std::vector<MonthTotals> monthly = log.Monthly();
  ASSERT_EQ(monthly.size(), 1u);
  EXPECT_EQ(monthly[0].totals.pumpCounts[0], 350u);
  EXPECT_EQ(monthly[0].totals.programWashes[0], 3u);
}

TEST(MonthlyConsumption, MachineSelectionIsHonoured) {
  Log log;
  log.PutRecord(0, 2020, 1);
  log.PutRecord(1, 2020, 2);
  log.PutCounter(0, 1, kPump1, 10);
  log.PutCounter(0, 4, kPump1, 40);
  log.PutCounter(1, 10, kPump1, 1000);
  EXPECT_EQ(log.Monthly({{2020, 1}, {2020, 2}, 0})[0].totals.pumpCounts[0], 50u);
  const std::vector<MonthTotals> machine4 = log.Monthly({{2020, 1}, {2020, 2}, 4});
  ASSERT_EQ(machine4.size(), 2u);
  EXPECT_EQ(machine4[0].totals.pumpCounts[0], 40u);
  // A record of the month took part, though this machine had nothing.
  EXPECT_TRUE(machine4[1].totals.anyIncluded);
  EXPECT_EQ(machine4[1].totals.pumpCounts[0], 0u);
  EXPECT_EQ(log.Monthly({{2020, 1}, {2020, 2}, 10})[1].totals.pumpCounts[0], 1000u);
}

TEST(MonthlyConsumption, RunsAcrossTheYearBoundary) {
  Log log;
  log.PutRecord(20, 2025, 11);
  log.PutRecord(3, 2026, 2);
  log.PutRecord(11, 2025, 12);
  log.PutCounter(20, 1, kPump1, 11);
  log.PutCounter(11, 1, kPump1, 12);
  log.PutCounter(3, 1, kPump1, 2);
  const std::vector<MonthTotals> monthly = log.Monthly({{2025, 11}, {2026, 2}, 0});
  EXPECT_EQ(MonthsOf(monthly), (std::vector<YearMonth>{{2025, 11}, {2025, 12}, {2026, 1}, {2026, 2}}));
  ASSERT_EQ(monthly.size(), 4u);
  EXPECT_EQ(monthly[0].totals.pumpCounts[0], 11u);
  EXPECT_EQ(monthly[1].totals.pumpCounts[0], 12u);
  EXPECT_FALSE(monthly[2].totals.anyIncluded);
  EXPECT_EQ(monthly[3].totals.pumpCounts[0], 2u);
}

}  // namespace
}  // namespace qd::logs
