#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/translation.h"
#include "model/controller_image.h"

// The alarm log: the alarms active now and the history of the last 48 alarms, as the alarm log
// window lists them.
//
// Area (256 bytes):
//   0      1  state: bit 0 pressure alarm, bit 1 common low soap level, bit 2 Miele Logic Ethernet not
//   connected 1      1  state: bits 0..6 low soap level of pump 1..7 2      2  state, little-endian: bits
//   0..9 trigger error of machine 1..10 4      2  state, little-endian: bits 0..9 keyboard error of
//   machine 1..10 6     10  not shown 16 + 5 x k  history entry k = 0..47:
//          byte 0: kind (bits 0..3), pump or machine number (bits 4..7)
//          bytes 1..4, little-endian: year - 2000 (0..5), day (6..10, 0 = empty), trigger type (11..15),
//                                      month (16..19), hour (20..25), minute (26..31)
namespace qd::logs {

constexpr std::size_t AlarmStateSize = 16;
constexpr std::size_t AlarmEntrySize = 5;
constexpr int AlarmEntryCount = 48;
static_assert(AlarmStateSize + AlarmEntrySize * AlarmEntryCount == layout::AlarmLogSize);

inline constexpr std::string_view ClearAlarmLogQuestion =
    QD_TRANSLATABLE("AlarmLog", "Reset alarm log\n\nAre you sure?");
inline constexpr std::string_view ClearAlarmLogNotConnected =
    QD_TRANSLATABLE("AlarmLog", "Unable to reset alarm log\n\nSystem not connected.");

namespace alarm_kind {
constexpr int LowSoapLevel = 1;
constexpr int Pressure = 2;
constexpr int TriggerError = 3;
constexpr int KeyboardError = 4;
constexpr int DispenseError = 5;
constexpr int AlarmOutputReset = 6;
}  // namespace alarm_kind

struct AlarmEntry {
  int kind = 0;    // 1..6 known
  int number = 0;  // pump (kind 1; 0 = the common input) or machine (kinds 3, 4, 5)
  int year = 0;    // full year
  int month = 0;
  int day = 0;  // 0 = empty entry
  int hour = 0;
  int minute = 0;
  int triggerType = 0;  // kind 3

  bool Empty() const { return day == 0; }
};

// One 5-byte entry; missing bytes read as 0.
AlarmEntry DecodeAlarmEntry(std::span<const std::uint8_t> entry);

// "Low soap level, Pump: 3.", "Trigger error, Machine: 2, Type= QD520.", ...; "" for an unknown kind.
std::string AlarmKindText(const AlarmEntry& entry);
// ", Type= QD520." for the trigger types the history names; "" for any other code.
std::string TriggerTypeSuffix(int code);

// The memo with "Alarm history" checked: " 1: 2012-05-17 14:05 > Pressure alarm." for each non-empty
// entry in stored order, then "Number of alarms: n.".
std::vector<std::string> AlarmHistoryLines(std::span<const std::uint8_t> area);
std::vector<std::string> AlarmHistoryLines(const ControllerImage& image);

// The memo with "Alarm state" checked: "  1: Pressure alarm" for each active condition; none leaves it
// empty.
std::vector<std::string> AlarmStateLines(std::span<const std::uint8_t> area);
std::vector<std::string> AlarmStateLines(const ControllerImage& image);

// The PC's copy after the controller confirmed a clear: the history bytes (16..255 of the area at its
// firmware-dependent position) are zero, the state bytes stay.
void ClearAlarmHistory(ControllerImage& image);

// One row per non-empty history entry, under a header row:
//   alarm,slot,date,time,kind,number,trigger_type,text
// alarm = the number the memo shows, slot = the entry's position 1..48, date YYYY-MM-DD, time HH:MM,
// kind/number/trigger_type the raw fields, text the kind's English text (quoted when it holds a comma).
std::string AlarmHistoryCsv(std::span<const std::uint8_t> area);
std::string AlarmHistoryCsv(const ControllerImage& image);

}  // namespace qd::logs
