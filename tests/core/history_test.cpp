#include <gtest/gtest.h>

#include <vector>

#include "app/bytes.h"
#include "history/month_merge.h"
#include "history/site_read.h"
#include "history/site_summary.h"
#include "history/timeline.h"
#include "logs/alarm_log.h"
#include "model/image_builder.h"
#include "review_test_lines.h"
#include "support/rich_system.h"

namespace qd::history {
namespace {

using logs::WideCounters;
using logs::YearMonth;

WideCounters Filled(std::uint32_t value) {
  WideCounters counters{};
  counters.fill(value);
  return counters;
}

TEST(MergeMonth, NewerReadsReplaceOlderOnesAndResetsCarryTheCountsOver) {
  struct Step {
    const char* readAt;
    std::uint32_t value;
    std::uint32_t total;  // what the month adds up to afterwards
  };
  // Read at 100, read again higher, an older backup imported late, the log reset (lower), read twice.
  const std::vector<Step> steps = {{"2025-03-10 08:00:00", 100, 100}, {"2025-03-20 08:00:00", 150, 150},
                                   {"2025-03-15 08:00:00", 120, 150}, {"2025-03-25 08:00:00", 20, 170},
                                   {"2025-03-25 08:00:00", 20, 170},  {"2025-03-30 08:00:00", 45, 195}};
  std::optional<StoredMonth> month;
  for (const Step& step : steps) {
    month = MergeMonth(month, Filled(step.value), step.readAt);
    EXPECT_EQ(month->Total(), Filled(step.total)) << step.readAt;
  }
  EXPECT_EQ(month->readAt, "2025-03-30 08:00:00");
}

TEST(MergeMonth, CountersRoundTripAsTextAndRefuseAnythingElse) {
  WideCounters counters{};
  for (std::size_t c = 0; c < counters.size(); ++c)
    counters[c] = static_cast<std::uint32_t>(c * 70001);
  EXPECT_EQ(ParseCounters(CountersText(counters)), counters);
  for (const char* bad : {"", "1 2 3", "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "0 0 0 0 0 0 0 0 0 0 0 0 0 0 x",
                          " 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "0 0 0 0 0 0 0 0 0 0 0 0 0 0 99999999999"})
    EXPECT_FALSE(ParseCounters(bad)) << bad;
  EXPECT_EQ(logs::MonthOfIndex(logs::MonthIndex({2031, 12})), (YearMonth{2031, 12}));
  EXPECT_EQ(logs::MonthIndex({2025, 1}) - logs::MonthIndex({2024, 12}), 1);
}

// An image the tool reads, with a serial, a name, month records and alarms put in place.
struct Image {
  ControllerImage image;
  Image() {
    image.WriteFormat();
    image.bytes[layout::FirmwareMajor] = 2;
    bytes::PutU32LE(image.Span(), layout::SerialNumber, 4711);
    const std::string name = "Laundry \xC4rhus";  // windows-1252
    std::copy(name.begin(), name.end(), image.bytes.begin() + layout::SystemName);
  }
  void PutMonth(int r, YearMonth month, int machine, std::uint16_t value) {
    const std::size_t at = layout::ConsumptionLog + logs::MonthRecordSize * static_cast<std::size_t>(r);
    image.bytes[at] = static_cast<std::uint8_t>(month.year - 2000);
    image.bytes[at + 1] = static_cast<std::uint8_t>(month.month);
    bytes::PutU16LE(image.Span(), at + 2 + 30 * static_cast<std::size_t>(machine - 1), value);
  }
  void PutAlarm(int k, int kind, int number, int day, int minute) {
    const std::size_t at =
        layout::AlarmLog + logs::AlarmStateSize + logs::AlarmEntrySize * static_cast<std::size_t>(k);
    image.bytes[at] = static_cast<std::uint8_t>(kind | number << 4);
    // year 2025 (bits 0..5), day (6..10), month 3 (16..19), hour 10 (20..25), minute (26..31)
    const std::uint32_t when = 25u | static_cast<std::uint32_t>(day) << 6 | 3u << 16 | 10u << 20 |
                               static_cast<std::uint32_t>(minute) << 26;
    bytes::PutU32LE(image.Span(), at + 1, when);
  }
};

TEST(RecordOfRead, TakesTheSiteItsMonthsAndItsAlarmsOnce) {
  Image read;
  read.PutMonth(0, {2025, 2}, 1, 10);
  read.PutMonth(1, {2025, 3}, 2, 7);
  read.PutMonth(5, {2025, 2}, 1, 5);  // the same month twice in the ring: added up
  read.PutAlarm(0, 2, 0, 17, 5);
  read.PutAlarm(3, 2, 0, 17, 5);  // the same alarm in two slots
  read.PutAlarm(1, 1, 3, 16, 0);
  const auto record = RecordOfRead(read.image, "2025-03-20 09:00:00");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->site, (SiteIdentity{4711, "Laundry \xC4rhus", 0, 2, 0}));
  ASSERT_EQ(record->months.size(), 20u);  // two months, ten machines each
  EXPECT_EQ(record->months[0].month, (YearMonth{2025, 2}));
  EXPECT_EQ(record->months[0].counters[0], 15u);
  EXPECT_EQ(record->months[11].counters[0], 7u);
  EXPECT_EQ(record->alarms,
            (std::vector<AlarmEvent>{{"2025-03-16 10:00", 1, 3, 0}, {"2025-03-17 10:05", 2, 0, 0}}));
  EXPECT_EQ(AlarmEventText(record->alarms[1]), "Pressure alarm.");
  EXPECT_EQ(record->image.size(), layout::ImageSize);

  ControllerImage foreign;
  EXPECT_FALSE(RecordOfRead(foreign, "2025-03-20 09:00:00"));
}

logs::ConsumptionRow Row(YearMonth month, int machine, std::uint32_t value) {
  return {month, machine, Filled(value)};
}

TEST(SiteSummary, CountsTheLastTwelveMonthsAndTheAlarmsSinceThePreviousContact) {
  const logs::ConsumptionRows rows = {Row({2023, 12}, 1, 1000), Row({2024, 3}, 1, 1),
                                      Row({2024, 4}, 2, 2),     Row({2025, 1}, 1, 4),
                                      Row({2025, 3}, 3, 8),     Row({2025, 4}, 1, 1000)};
  Site site;
  site.lastContact = "2025-03-20 09:00:00";
  site.previousContact = "2025-03-16 10:00:30";
  const std::vector<AlarmEvent> alarms = {{"2025-03-16 10:00", 1, 3, 0}, {"2025-03-17 10:05", 2, 0, 0}};
  logs::PumpPrices prices{};
  prices[0] = 2000;  // 2.000 a litre
  const SiteSummary summary = SummarizeSite(site, rows, alarms, prices);
  EXPECT_EQ(summary.alarmsSincePrevious, 1);
  EXPECT_EQ(summary.lastYear.pumpCounts[0], 2u + 4 + 8);  // April 2024 .. March 2025
  EXPECT_EQ(summary.lastYearCosts.pumps[0], 14);          // 14 x 5 ml = 0.07 l at 2.000
  EXPECT_EQ(AlarmsSince(alarms, ""), 2);

  const std::vector<logs::ConsumptionRows> years = RowsByPeriod(rows, Period::Year);
  ASSERT_EQ(years.size(), 3u);
  EXPECT_EQ(years[1].front().month.year, 2024);
  EXPECT_EQ(logs::SumRows(years[1]).washTotal, 7u * 3);
  EXPECT_EQ(RowsByPeriod(rows, Period::Month).size(), rows.size());
  EXPECT_EQ(MonthOfTime("2025-13-01"), std::nullopt);
  EXPECT_EQ(MonthOfTime("x"), std::nullopt);
}

TEST(SnapshotChanges, NamesWhatChangedBetweenTwoReads) {
  WorkingConfig before = test::RichConfig();
  WorkingConfig after = before;
  after.system.Machines[2].Programs[1].Lines[4] = test::PumpLine(3, 25, 30, 40);
  const LocalDateTime when{2025, 3, 20, 9, 0, 0};
  BuildImage(before, when);
  BuildImage(after, when);
  const auto changes = SnapshotChanges(before.image.bytes, after.image.bytes);
  ASSERT_TRUE(changes);
  ASSERT_EQ(changes->size(), 1u);
  EXPECT_EQ((*changes)[0].place, "Machine 3 / Program 2 / Line 5");
  EXPECT_EQ(SnapshotChanges(before.image.bytes, before.image.bytes), std::vector<review::Difference>{});
  const std::vector<std::uint8_t> cut(100, 0);
  EXPECT_FALSE(SnapshotChanges(cut, after.image.bytes));

  // A read whose image is not readable is passed over: the next compares with the one before it.
  const auto image = [](const WorkingConfig& config) {
    return std::optional(std::vector<std::uint8_t>(config.image.bytes.begin(), config.image.bytes.end()));
  };
  TimelineBuilder timeline;
  const TimelineStep first = timeline.Add("2025-01-01 10:00:00", image(before));
  EXPECT_TRUE(first.readable);
  EXPECT_FALSE(first.changes);
  EXPECT_FALSE(timeline.Add("2025-02-01 10:00:00", cut).readable);
  EXPECT_FALSE(timeline.Add("2025-02-02 10:00:00", std::nullopt).readable);
  const TimelineStep third = timeline.Add("2025-03-01 10:00:00", image(after));
  ASSERT_TRUE(third.changes);
  EXPECT_EQ(third.changes->size(), 1u);
}

}  // namespace
}  // namespace qd::history
