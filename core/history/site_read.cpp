#include "history/site_read.h"

#include <algorithm>
#include <map>

#include "app/text.h"
#include "logs/alarm_log.h"
#include "logs/log_areas.h"

namespace qd::history {

logs::ConsumptionRows MonthRowsOf(const logs::MonthRecords& records) {
  std::map<std::pair<logs::YearMonth, int>, logs::WideCounters> sums;
  for (const logs::MonthRecord& record : records) {
    if (!record.Counts()) continue;
    for (int m = 0; m < logs::LoggedMachines; ++m) {
      logs::WideCounters& sum = sums[{record.When(), m + 1}];
      const logs::MachineCounters& counters = record.machines[static_cast<std::size_t>(m)];
      for (std::size_t c = 0; c < counters.size(); ++c)
        sum[c] += counters[c];
    }
  }
  logs::ConsumptionRows rows;
  rows.reserve(sums.size());
  for (const auto& [key, counters] : sums)
    rows.push_back({key.first, key.second, counters});
  return rows;
}

std::vector<AlarmEvent> AlarmEventsOf(const ControllerImage& image) {
  const std::span<const std::uint8_t> area = logs::AlarmLogArea(image);
  std::vector<AlarmEvent> events;
  for (int k = 0; k < logs::AlarmEntryCount; ++k) {
    const std::size_t at = logs::AlarmStateSize + logs::AlarmEntrySize * static_cast<std::size_t>(k);
    if (at >= area.size()) break;
    const logs::AlarmEntry entry =
        logs::DecodeAlarmEntry(area.subspan(at, std::min(logs::AlarmEntrySize, area.size() - at)));
    if (entry.Empty()) continue;
    events.push_back(
        {Format("%04d-%02d-%02d %02d:%02d", entry.year, entry.month, entry.day, entry.hour, entry.minute),
         entry.kind, entry.number, entry.triggerType});
  }
  std::sort(events.begin(), events.end());
  events.erase(std::unique(events.begin(), events.end()), events.end());
  return events;
}

std::string AlarmEventText(const AlarmEvent& event) {
  logs::AlarmEntry entry;
  entry.kind = event.kind;
  entry.number = event.number;
  entry.triggerType = event.triggerType;
  const std::string text = logs::AlarmKindText(entry);
  return text.empty() ? Format("Alarm %d.", event.kind) : text;
}

std::optional<ReadRecord> RecordOfRead(const ControllerImage& image, const std::string& readAt) {
  if (!image.FormatAccepted()) return std::nullopt;
  ReadRecord record;
  record.site = {image.SerialNumber(), image.FieldText(layout::SystemName, layout::SystemNameField),
                 image.HardwareVersion(), image.FirmwareMajor(), image.FirmwareMinor()};
  record.readAt = readAt;
  record.months = MonthRowsOf(logs::ReadMonthRecords(image));
  record.alarms = AlarmEventsOf(image);
  record.image.assign(image.bytes.begin(), image.bytes.end());
  return record;
}

}  // namespace qd::history
