#include <QJsonArray>

#include "json_output.h"
#include "log_json.h"
#include "logs/alarm_log.h"
#include "logs/log_areas.h"

namespace qdtool {

namespace {

using namespace qd::logs;

constexpr int StatePumps = 7;
constexpr int StateMachines = 10;

const char* KindName(int kind) {
  switch (kind) {
    case alarm_kind::LowSoapLevel:
      return "lowSoapLevel";
    case alarm_kind::Pressure:
      return "pressure";
    case alarm_kind::TriggerError:
      return "triggerError";
    case alarm_kind::KeyboardError:
      return "keyboardError";
    case alarm_kind::DispenseError:
      return "dispenseError";
    case alarm_kind::AlarmOutputReset:
      return "alarmOutputReset";
    default:
      return "unknown";
  }
}

// Every alarm has both places, null where the kind names none (pump null: the common input).
QJsonObject Alarm(const char* kind, int pump, int machine) {
  return {{"kind", kind}, {"pump", JsonNumberOrNull(pump)}, {"machine", JsonNumberOrNull(machine)}};
}

bool NamesMachine(int kind) {
  return kind == alarm_kind::TriggerError || kind == alarm_kind::KeyboardError ||
         kind == alarm_kind::DispenseError;
}

QJsonObject HistoryEntry(const AlarmEntry& entry, int number, int slot) {
  QJsonObject alarm = Alarm(KindName(entry.kind), entry.kind == alarm_kind::LowSoapLevel ? entry.number : 0,
                            NamesMachine(entry.kind) ? entry.number : 0);
  alarm.insert("number", number);
  alarm.insert("slot", slot);
  alarm.insert("time", JsonDateTime(entry.year, entry.month, entry.day, entry.hour, entry.minute, 0));
  alarm.insert("kindCode", entry.kind);
  alarm.insert("triggerType",
               entry.kind == alarm_kind::TriggerError ? QJsonValue(entry.triggerType) : QJsonValue());
  return alarm;
}

// Bits 0..count-1 of `bits` set, each as an alarm of `kind` at pump or machine bit + 1.
void AddEach(QJsonArray& alarms, const char* kind, int bits, int count, bool machines) {
  for (int i = 0; i < count; ++i) {
    if (bits & (1 << i)) alarms.append(Alarm(kind, machines ? 0 : i + 1, machines ? i + 1 : 0));
  }
}

}  // namespace

QJsonObject AlarmHistoryJson(const qd::ControllerImage& image) {
  const std::span<const std::uint8_t> area = AlarmLogArea(image);
  QJsonArray alarms;
  for (int k = 0; k < AlarmEntryCount; ++k) {
    const AlarmEntry entry = DecodeAlarmEntry(
        area.subspan(AlarmStateSize + AlarmEntrySize * static_cast<std::size_t>(k), AlarmEntrySize));
    if (!entry.Empty()) alarms.append(HistoryEntry(entry, static_cast<int>(alarms.size()) + 1, k + 1));
  }
  return {{"log", "alarmHistory"}, {"alarms", alarms}};
}

// The state bytes as alarm_log.h lays them out, in the order the alarm log window lists them.
QJsonObject AlarmStateJson(const qd::ControllerImage& image) {
  const std::span<const std::uint8_t> area = AlarmLogArea(image);
  QJsonArray alarms;
  if (area[0] & 0x01) alarms.append(Alarm("pressure", 0, 0));
  if (area[0] & 0x02) alarms.append(Alarm("lowSoapLevel", 0, 0));
  AddEach(alarms, "lowSoapLevel", area[1], StatePumps, false);
  AddEach(alarms, "triggerError", area[2] | area[3] << 8, StateMachines, true);
  AddEach(alarms, "keyboardError", area[4] | area[5] << 8, StateMachines, true);
  if (area[0] & 0x04) alarms.append(Alarm("ethernetNotConnected", 0, 0));
  return {{"log", "alarmState"}, {"alarms", alarms}};
}

}  // namespace qdtool
