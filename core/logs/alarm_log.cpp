#include "logs/alarm_log.h"

#include <algorithm>

#include "app/text.h"
#include "app/translation.h"
#include "logs/log_areas.h"
#include "model/trigger_settings.h"

namespace qd::logs {
namespace {

constexpr int StatePumps = 7;
constexpr int StateMachines = 10;

int ByteAt(std::span<const std::uint8_t> data, std::size_t at) {
  return at < data.size() ? data[at] : 0;
}

std::span<const std::uint8_t> EntryBytes(std::span<const std::uint8_t> area, int k) {
  const std::size_t at = AlarmStateSize + AlarmEntrySize * static_cast<std::size_t>(k);
  if (at >= area.size()) return {};
  return area.subspan(at, std::min(AlarmEntrySize, area.size() - at));
}

unsigned Bits(std::uint32_t word, int first, int count) {
  return (word >> first) & ((1u << count) - 1);
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

AlarmEntry DecodeAlarmEntry(std::span<const std::uint8_t> entry) {
  const int head = ByteAt(entry, 0);
  std::uint32_t word = 0;
  for (std::size_t i = 0; i < 4; ++i)
    word |= static_cast<std::uint32_t>(ByteAt(entry, 1 + i)) << (8 * i);
  AlarmEntry decoded;
  decoded.kind = head & 0x0F;
  decoded.number = head >> 4;
  decoded.year = 2000 + static_cast<int>(Bits(word, 0, 6));
  decoded.day = static_cast<int>(Bits(word, 6, 5));
  decoded.triggerType = static_cast<int>(Bits(word, 11, 5));
  decoded.month = static_cast<int>(Bits(word, 16, 4));
  decoded.hour = static_cast<int>(Bits(word, 20, 6));
  decoded.minute = static_cast<int>(Bits(word, 26, 6));
  return decoded;
}

std::string TriggerTypeSuffix(int code) {
  switch (code) {
    case trigger::TypeQd520:
      return UiText("AlarmLog", ", Type= QD520.");
    case trigger::TypeNortec:
      return UiText("AlarmLog", ", Type= Nortec.");
    case trigger::TypeNyborgW3:
      return UiText("AlarmLog", ", Type= Nyborg-W3.");
    case trigger::TypeMieleLogic:
      return UiText("AlarmLog", ", Type= Miele serial.");
    case trigger::TypeElectrolux:
      return UiText("AlarmLog", ", Type= Electrolux-5xx.");
    case trigger::TypeMieleEthernet:
      return UiText("AlarmLog", ", Type= Miele Ethernet.");
    default:
      return "";
  }
}

std::string AlarmKindText(const AlarmEntry& entry) {
  const std::string number = std::to_string(entry.number);
  switch (entry.kind) {
    case alarm_kind::LowSoapLevel:
      return entry.number == 0 ? UiText("AlarmLog", "Low soap level, common input.")
                               : Substitute(UiText("AlarmLog", "Low soap level, Pump: %1."), {number});
    case alarm_kind::Pressure:
      return UiText("AlarmLog", "Pressure alarm.");
    case alarm_kind::TriggerError:
      return Substitute(UiText("AlarmLog", "Trigger error, Machine: %1"), {number}) +
             TriggerTypeSuffix(entry.triggerType);
    case alarm_kind::KeyboardError:
      return Substitute(UiText("AlarmLog", "Keyboard error, Machine: %1."), {number});
    case alarm_kind::DispenseError:
      return Substitute(UiText("AlarmLog", "Dispense error, Machine: %1."), {number});
    case alarm_kind::AlarmOutputReset:
      return UiText("AlarmLog", "Alarm output reset.");
    default:
      return "";
  }
}

std::vector<std::string> AlarmHistoryLines(std::span<const std::uint8_t> area) {
  std::vector<std::string> lines;
  int shown = 0;
  for (int k = 0; k < AlarmEntryCount; ++k) {
    const AlarmEntry entry = DecodeAlarmEntry(EntryBytes(area, k));
    if (entry.Empty()) continue;
    ++shown;
    lines.push_back(Format("%2d: %02d-%02d-%02d %2d:%02d > ", shown, entry.year, entry.month, entry.day,
                           entry.hour, entry.minute) +
                    AlarmKindText(entry));
  }
  lines.push_back(Substitute(UiText("AlarmLog", "Number of alarms: %1."), {std::to_string(shown)}));
  return lines;
}

std::vector<std::string> AlarmHistoryLines(const ControllerImage& image) {
  return AlarmHistoryLines(AlarmLogArea(image));
}

std::vector<std::string> AlarmStateLines(std::span<const std::uint8_t> area) {
  const int alarms = ByteAt(area, 0);
  const int lowSoap = ByteAt(area, 1);
  const int triggerErrors = ByteAt(area, 2) | ByteAt(area, 3) << 8;
  const int keyboardErrors = ByteAt(area, 4) | ByteAt(area, 5) << 8;

  std::vector<std::string> lines;
  auto add = [&lines](const std::string& text) {
    lines.push_back(Format("%3d: ", static_cast<int>(lines.size()) + 1) + text);
  };
  if (alarms & 0x01) add(UiText("AlarmLog", "Pressure alarm"));
  if (alarms & 0x02) add(UiText("AlarmLog", "Common low soap level"));
  for (int p = 0; p < StatePumps; ++p) {
    if (lowSoap & (1 << p))
      add(Substitute(UiText("AlarmLog", "Low soap level, Pump: %1"), {std::to_string(p + 1)}));
  }
  for (int m = 0; m < StateMachines; ++m) {
    if (triggerErrors & (1 << m))
      add(Substitute(UiText("AlarmLog", "Trigger error, Machine: %1"), {std::to_string(m + 1)}));
  }
  for (int m = 0; m < StateMachines; ++m) {
    if (keyboardErrors & (1 << m))
      add(Substitute(UiText("AlarmLog", "Keyboard error, Machine: %1"), {std::to_string(m + 1)}));
  }
  if (alarms & 0x04) add(UiText("AlarmLog", "Miele Logic Ethernet not connected"));
  return lines;
}

std::vector<std::string> AlarmStateLines(const ControllerImage& image) {
  return AlarmStateLines(AlarmLogArea(image));
}

void ClearAlarmHistory(ControllerImage& image) {
  const std::span<std::uint8_t> history = AlarmLogArea(image).subspan(AlarmStateSize);
  std::fill(history.begin(), history.end(), std::uint8_t{0});
}

std::string AlarmHistoryCsv(std::span<const std::uint8_t> area) {
  // Programs read the text column: it stays English.
  const SourceTextScope english;
  std::string csv = "alarm,slot,date,time,kind,number,trigger_type,text\n";
  int shown = 0;
  for (int k = 0; k < AlarmEntryCount; ++k) {
    const AlarmEntry entry = DecodeAlarmEntry(EntryBytes(area, k));
    if (entry.Empty()) continue;
    ++shown;
    csv += Format("%d,%d,%04d-%02d-%02d,%02d:%02d,%d,%d,%d,", shown, k + 1, entry.year, entry.month,
                  entry.day, entry.hour, entry.minute, entry.kind, entry.number, entry.triggerType);
    csv += CsvField(AlarmKindText(entry)) + "\n";
  }
  return csv;
}

std::string AlarmHistoryCsv(const ControllerImage& image) {
  return AlarmHistoryCsv(AlarmLogArea(image));
}

}  // namespace qd::logs
