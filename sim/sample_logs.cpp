#include "sample_logs.h"

#include <array>
#include <chrono>
#include <vector>

#include "app/bytes.h"

namespace qd::sim {

namespace {

using namespace std::chrono;

// Alarm history entry: byte 0 kind (bits 0..3) and pump or machine (bits 4..7); bytes 1..4 a
// little-endian word: year - 2000 (bits 0..5), day (6..10), trigger type (11..15), month (16..19),
// hour (20..25), minute (26..31).
struct Alarm {
  int kind;
  int number;
  int triggerType;
  int daysAgo;
  int hour;
  int minute;
};

constexpr std::size_t HistoryOffset = 16;
constexpr std::size_t EntrySize = 5;
constexpr std::size_t MonthRecordSize = 302;
constexpr std::size_t MachineCounters = 15;
constexpr int Months = 14;
constexpr int MinutesADay = 24 * 60;

std::array<std::uint8_t, EntrySize> EncodeAlarm(const Alarm& alarm, const year_month_day& date) {
  const auto year = static_cast<std::uint32_t>(static_cast<int>(date.year()) - 2000) & 0x3F;
  const std::uint32_t word = year | (static_cast<unsigned>(date.day()) << 6) |
                             (static_cast<std::uint32_t>(alarm.triggerType & 0x1F) << 11) |
                             (static_cast<unsigned>(date.month()) << 16) |
                             (static_cast<std::uint32_t>(alarm.hour) << 20) |
                             (static_cast<std::uint32_t>(alarm.minute) << 26);
  std::array<std::uint8_t, EntrySize> entry{};
  entry[0] = static_cast<std::uint8_t>(alarm.kind | (alarm.number << 4));
  bytes::PutU32LE(entry, 1, word);
  return entry;
}

void FillAlarmLog(ControllerMemory& memory, const sys_days& today, int variant) {
  std::vector<std::uint8_t> area(256, 0);
  area[1] = 0x04;                    // low soap level of pump 3
  bytes::PutU16LE(area, 2, 0x0008);  // trigger error of machine 4
  const std::array<Alarm, 7> history = {{{1, 3, 0, 95, 6, 12},
                                         {2, 0, 0, 71, 14, 5},
                                         {3, 4, 3, 40, 9, 41},
                                         {4, 2, 0, 22, 17, 30},
                                         {5, 7, 0, 9, 11, 2},
                                         {6, 0, 0, 9, 11, 20},
                                         {1, 0, 0, 1, 7, 55}}};
  for (std::size_t k = 0; k < history.size(); ++k) {
    Alarm alarm = history[k];
    const int minuteOfDay =
        ((alarm.hour * 60 + alarm.minute + variant) % MinutesADay + MinutesADay) % MinutesADay;
    alarm.hour = minuteOfDay / 60;
    alarm.minute = minuteOfDay % 60;
    const year_month_day date(today - days(alarm.daysAgo));
    const auto entry = EncodeAlarm(alarm, date);
    std::copy(entry.begin(), entry.end(),
              area.begin() + static_cast<std::ptrdiff_t>(HistoryOffset + EntrySize * k));
  }
  memory.Write(memory.AlarmLogOffset(), area);
}

void FillConsumptionLog(ControllerMemory& memory, const year_month_day& today, int variant) {
  std::vector<std::uint8_t> area(layout::ConsumptionLogSize, 0);
  year_month month = today.year() / today.month();
  for (int r = 0; r < Months; ++r, month -= std::chrono::months(1)) {
    // Records are kept in a ring; the newest month is not necessarily the last record.
    const std::size_t record = MonthRecordSize * static_cast<std::size_t>((r + 5) % 24);
    area[record] = static_cast<std::uint8_t>(static_cast<int>(month.year()) - 2000);
    area[record + 1] = static_cast<std::uint8_t>(static_cast<unsigned>(month.month()));
    for (int m = 0; m < 10; ++m) {
      const std::size_t counters = record + 2 + 30 * static_cast<std::size_t>(m);
      for (std::size_t i = 0; i < MachineCounters; ++i) {
        // Washes per program, pump volumes in 5 ml and softener dosings, varying by machine and month.
        const int base = i == 0 ? 3 : i <= 6 ? 20 + 7 * static_cast<int>(i) : i <= 13 ? 400 : 50;
        const int value = base + (m * 13 + r * 7 + static_cast<int>(i) * 5) % (base / 2 + 1) + variant;
        bytes::PutU16LE(area, counters + 2 * i, static_cast<std::uint16_t>(value));
      }
    }
  }
  memory.Write(memory.ConsumptionLogOffset(), area);
}

}  // namespace

void FillSampleLogs(ControllerMemory& memory, const ClockTime& now, int variant) {
  const year_month_day today(year(now.year), month(static_cast<unsigned>(now.month)),
                             day(static_cast<unsigned>(now.day)));
  FillAlarmLog(memory, sys_days(today), variant);
  FillConsumptionLog(memory, today, variant);
}

}  // namespace qd::sim
