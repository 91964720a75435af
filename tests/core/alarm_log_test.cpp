#include "logs/alarm_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace qd::logs {
namespace {

// Offsets of the log area, spelled out here rather than taken from the code under test.
constexpr std::size_t kAlarmLog = 0x6280;
constexpr std::size_t kAlarmLogFirmwareOne = 0x6200;
constexpr std::size_t kFirmwareMajor = 0x08;

struct Alarm {
  int kind = 0;
  int number = 0;
  int year = 2012;
  int month = 5;
  int day = 17;
  int hour = 14;
  int minute = 5;
  int triggerType = 0;
};

struct AlarmArea {
  ControllerImage image;
  std::size_t base = kAlarmLog;

  void PutEntry(int k, const Alarm& a) {
    const std::uint32_t word = static_cast<std::uint32_t>(a.year - 2000) | a.day << 6 | a.triggerType << 11 |
                               a.month << 16 | a.hour << 20 | static_cast<std::uint32_t>(a.minute) << 26;
    const std::size_t at = base + 16 + 5 * k;
    image.bytes[at] = static_cast<std::uint8_t>(a.kind | a.number << 4);
    for (int i = 0; i < 4; ++i)
      image.bytes[at + 1 + i] = static_cast<std::uint8_t>(word >> (8 * i));
  }
  void PutState(int byte, int value) { image.bytes[base + byte] = static_cast<std::uint8_t>(value); }
  std::vector<std::string> History() const { return AlarmHistoryLines(image); }
  std::vector<std::string> State() const { return AlarmStateLines(image); }
};

// The text after the time stamp of the only entry.
std::string TextOf(const Alarm& alarm) {
  AlarmArea area;
  area.PutEntry(0, alarm);
  const std::vector<std::string> lines = area.History();
  const std::string prefix = " 1: 2012-05-17 14:05 > ";
  if (lines.size() != 2 || lines[0].compare(0, prefix.size(), prefix) != 0) return "<" + lines[0] + ">";
  return lines[0].substr(prefix.size());
}

TEST(AlarmHistory, EmptyHistoryShowsOnlyTheSummary) {
  AlarmArea area;
  area.PutState(0, 0x07);  // the state does not show in the history
  EXPECT_EQ(area.History(), std::vector<std::string>{"Number of alarms: 0."});
}

TEST(AlarmHistory, LowSoapLevelNamesThePumpOrTheCommonInput) {
  EXPECT_EQ(TextOf({.kind = 1, .number = 0}), "Low soap level, common input.");
  EXPECT_EQ(TextOf({.kind = 1, .number = 3}), "Low soap level, Pump: 3.");
  EXPECT_EQ(TextOf({.kind = 1, .number = 7}), "Low soap level, Pump: 7.");
}

TEST(AlarmHistory, EveryKindHasItsText) {
  EXPECT_EQ(TextOf({.kind = 2, .number = 4}), "Pressure alarm.");
  EXPECT_EQ(TextOf({.kind = 4, .number = 10}), "Keyboard error, Machine: 10.");
  EXPECT_EQ(TextOf({.kind = 5, .number = 7}), "Dispense error, Machine: 7.");
  EXPECT_EQ(TextOf({.kind = 6}), "Alarm output reset.");
  for (const int kind : {0, 7, 15}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(TextOf({.kind = kind, .number = 2}), "");
  }
}

TEST(AlarmHistory, TriggerErrorAddsTheTypeItKnows) {
  EXPECT_EQ(TextOf({.kind = 3, .number = 2, .triggerType = 1}), "Trigger error, Machine: 2, Type= QD520.");
  EXPECT_EQ(TextOf({.kind = 3, .number = 2, .triggerType = 2}), "Trigger error, Machine: 2, Type= Nortec.");
  EXPECT_EQ(TextOf({.kind = 3, .number = 2, .triggerType = 3}),
            "Trigger error, Machine: 2, Type= Nyborg-W3.");
  EXPECT_EQ(TextOf({.kind = 3, .number = 2, .triggerType = 5}),
            "Trigger error, Machine: 2, Type= Miele serial.");
  EXPECT_EQ(TextOf({.kind = 3, .number = 2, .triggerType = 6}),
            "Trigger error, Machine: 2, Type= Electrolux-5xx.");
  EXPECT_EQ(TextOf({.kind = 3, .number = 9, .triggerType = 10}),
            "Trigger error, Machine: 9, Type= Miele Ethernet.");
  for (const int code : {0, 4, 7, 31}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(TextOf({.kind = 3, .number = 2, .triggerType = code}), "Trigger error, Machine: 2");
  }
  // The type code is read for trigger errors only.
  EXPECT_EQ(TextOf({.kind = 4, .number = 2, .triggerType = 1}), "Keyboard error, Machine: 2.");
}

TEST(AlarmHistory, EntriesWithDayZeroAreSkippedAndTheRestNumberedOnwards) {
  AlarmArea area;
  area.PutEntry(0, {.kind = 2, .day = 0});
  area.image.bytes[kAlarmLog + 16 + 5 * 0 + 4] = 0xFF;  // minute and hour bits set, day still 0
  area.PutEntry(1, {.kind = 2, .year = 2009, .month = 1, .day = 2, .hour = 7, .minute = 3});
  area.PutEntry(2, {.kind = 15,
                    .number = 15,
                    .year = 2063,
                    .month = 15,
                    .day = 0,
                    .hour = 63,
                    .minute = 63,
                    .triggerType = 31});
  area.PutEntry(47, {.kind = 6, .year = 2000, .month = 12, .day = 31, .hour = 23, .minute = 59});
  EXPECT_EQ(area.History(),
            (std::vector<std::string>{" 1: 2009-01-02  7:03 > Pressure alarm.",
                                      " 2: 2000-12-31 23:59 > Alarm output reset.", "Number of alarms: 2."}));
}

TEST(AlarmHistory, AllFortyEightEntriesWithTwoDigitNumbers) {
  AlarmArea area;
  for (int k = 0; k < 48; ++k)
    area.PutEntry(k, {.kind = 1, .number = k % 8, .day = 1 + k % 31});
  const std::vector<std::string> lines = area.History();
  ASSERT_EQ(lines.size(), 49u);
  EXPECT_EQ(lines[8], " 9: 2012-05-09 14:05 > Low soap level, common input.");
  EXPECT_EQ(lines[9], "10: 2012-05-10 14:05 > Low soap level, Pump: 1.");
  EXPECT_EQ(lines[47], "48: 2012-05-17 14:05 > Low soap level, Pump: 7.");
  EXPECT_EQ(lines[48], "Number of alarms: 48.");
}

TEST(AlarmHistory, FieldsDoNotBleedIntoEachOther) {
  // Every other field at its largest value around the one under test.
  AlarmArea area;
  area.PutEntry(0, {.kind = 3,
                    .number = 15,
                    .year = 2063,
                    .month = 15,
                    .day = 31,
                    .hour = 63,
                    .minute = 63,
                    .triggerType = 31});
  area.PutEntry(1, {.kind = 3,
                    .number = 1,
                    .year = 2000,
                    .month = 1,
                    .day = 1,
                    .hour = 0,
                    .minute = 0,
                    .triggerType = 10});
  EXPECT_EQ(area.History(), (std::vector<std::string>{" 1: 2063-15-31 63:63 > Trigger error, Machine: 15",
                                                      " 2: 2000-01-01  0:00 > Trigger error, Machine: 1, "
                                                      "Type= Miele Ethernet.",
                                                      "Number of alarms: 2."}));
  const AlarmEntry decoded =
      DecodeAlarmEntry(std::span<const std::uint8_t>(area.image.bytes).subspan(kAlarmLog + 16, 5));
  EXPECT_EQ(decoded.kind, 3);
  EXPECT_EQ(decoded.number, 15);
  EXPECT_EQ(decoded.triggerType, 31);
  // A cut entry reads its missing bytes as 0: an empty entry.
  EXPECT_TRUE(
      DecodeAlarmEntry(std::span<const std::uint8_t>(area.image.bytes).subspan(kAlarmLog + 16, 1)).Empty());
}

TEST(AlarmState, OneNumberedLinePerActiveConditionInTheWindowsOrder) {
  AlarmArea area;
  area.PutState(0, 0x07);
  area.PutState(1, 0x7F);
  area.PutState(2, 0xFF);
  area.PutState(3, 0x03);
  area.PutState(4, 0xFF);
  area.PutState(5, 0x03);
  std::vector<std::string> expected = {"  1: Pressure alarm", "  2: Common low soap level"};
  auto add = [&expected](const std::string& text) {
    const std::size_t n = expected.size() + 1;
    expected.push_back((n < 10 ? "  " : " ") + std::to_string(n) + ": " + text);
  };
  for (int p = 1; p <= 7; ++p)
    add("Low soap level, Pump: " + std::to_string(p));
  for (int m = 1; m <= 10; ++m)
    add("Trigger error, Machine: " + std::to_string(m));
  for (int m = 1; m <= 10; ++m)
    add("Keyboard error, Machine: " + std::to_string(m));
  expected.push_back(" 30: Miele Logic Ethernet not connected");
  EXPECT_EQ(area.State(), expected);
}

TEST(AlarmState, UnusedBitsShowNothing) {
  AlarmArea area;
  EXPECT_TRUE(area.State().empty());
  area.PutState(0, 0xF8);
  area.PutState(1, 0x80);
  area.PutState(3, 0xFC);
  area.PutState(5, 0xFC);
  for (int b = 6; b < 16; ++b)
    area.PutState(b, 0xFF);
  EXPECT_TRUE(area.State().empty());
}

TEST(AlarmState, NumbersFollowTheConditionsThatAreActive) {
  AlarmArea area;
  area.PutState(0, 0x04);
  area.PutState(1, 0x04);  // pump 3
  area.PutState(5, 0x02);  // keyboard error, machine 10
  EXPECT_EQ(area.State(),
            (std::vector<std::string>{"  1: Low soap level, Pump: 3", "  2: Keyboard error, Machine: 10",
                                      "  3: Miele Logic Ethernet not connected"}));
}

TEST(AlarmLogArea, FirmwareMajorOneTakesTheArea128BytesEarlier) {
  for (const int major : {0, 1, 2, 3}) {
    SCOPED_TRACE(major);
    AlarmArea area;
    area.base = major == 1 ? kAlarmLogFirmwareOne : kAlarmLog;
    area.image.bytes[kFirmwareMajor] = static_cast<std::uint8_t>(major);
    area.PutState(0, 0x01);
    area.PutEntry(47, {.kind = 2});
    EXPECT_EQ(area.State(), std::vector<std::string>{"  1: Pressure alarm"});
    EXPECT_EQ(area.History(),
              (std::vector<std::string>{" 1: 2012-05-17 14:05 > Pressure alarm.", "Number of alarms: 1."}));
  }
  AlarmArea fixed;
  fixed.PutState(0, 0x01);
  fixed.image.bytes[kFirmwareMajor] = 1;
  EXPECT_TRUE(fixed.State().empty());
}

TEST(AlarmLogArea, ConfirmedClearZeroesTheHistoryAndKeepsTheState) {
  for (const int major : {1, 2}) {
    SCOPED_TRACE(major);
    AlarmArea area;
    area.base = major == 1 ? kAlarmLogFirmwareOne : kAlarmLog;
    std::fill(area.image.bytes.begin(), area.image.bytes.end(), std::uint8_t{0x5A});
    area.image.bytes[kFirmwareMajor] = static_cast<std::uint8_t>(major);
    area.PutState(0, 0x01);
    area.PutState(1, 0x00);
    area.PutState(2, 0x00);
    area.PutState(3, 0x00);
    area.PutState(4, 0x00);
    area.PutState(5, 0x02);
    const std::vector<std::uint8_t> stateBefore(area.image.bytes.begin() + area.base,
                                                area.image.bytes.begin() + area.base + 16);

    ClearAlarmHistory(area.image);
    EXPECT_EQ(area.History(), std::vector<std::string>{"Number of alarms: 0."});
    EXPECT_EQ(area.State(),
              (std::vector<std::string>{"  1: Pressure alarm", "  2: Keyboard error, Machine: 10"}));
    const auto begin = area.image.bytes.begin() + static_cast<std::ptrdiff_t>(area.base);
    EXPECT_EQ(std::vector<std::uint8_t>(begin, begin + 16), stateBefore);
    EXPECT_TRUE(std::all_of(begin + 16, begin + 256, [](auto b) { return b == 0; }));
    EXPECT_EQ(begin[256], 0x5A);
    EXPECT_EQ(*(begin - 1), 0x5A);
  }
}

TEST(AlarmHistoryCsv, OneRowPerShownAlarmWithTheTextQuoted) {
  AlarmArea area;
  area.PutEntry(1, {.kind = 1, .number = 3, .hour = 7});
  area.PutEntry(2, {.kind = 2, .day = 0});
  area.PutEntry(4, {.kind = 3,
                    .number = 4,
                    .year = 2013,
                    .month = 1,
                    .day = 2,
                    .hour = 9,
                    .minute = 41,
                    .triggerType = 3});
  area.PutEntry(5, {.kind = 6});
  area.PutEntry(6, {.kind = 9, .number = 1, .triggerType = 2});
  EXPECT_EQ(AlarmHistoryCsv(area.image),
            "alarm,slot,date,time,kind,number,trigger_type,text\n"
            "1,2,2012-05-17,07:05,1,3,0,\"Low soap level, Pump: 3.\"\n"
            "2,5,2013-01-02,09:41,3,4,3,\"Trigger error, Machine: 4, Type= Nyborg-W3.\"\n"
            "3,6,2012-05-17,14:05,6,0,0,Alarm output reset.\n"
            "4,7,2012-05-17,14:05,9,1,2,\n");
  EXPECT_EQ(AlarmHistoryCsv(AlarmArea{}.image), "alarm,slot,date,time,kind,number,trigger_type,text\n");
}

}  // namespace
}  // namespace qd::logs
