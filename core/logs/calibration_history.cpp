#include "logs/calibration_history.h"

#include <charconv>
#include <sstream>
#include <system_error>

#include "app/text.h"
#include "app/translation.h"

namespace qd::logs {
namespace {

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t comma; (comma = line.find(',', start)) != std::string_view::npos; start = comma + 1)
    fields.push_back(line.substr(start, comma - start));
  fields.push_back(line.substr(start));
  return fields;
}

// A serial number: an unsigned 32-bit decimal, with blanks around as the other numbers may have.
bool SerialIn(std::string_view text, std::uint32_t& out) {
  text = TrimBlanks(text);
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, out);
  return failure == std::errc{} && stop == end;
}

bool NumberIn(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t& out) {
  const auto number = ParseWholeNumber(text);
  if (!number || *number < low || *number > high) return false;
  out = *number;
  return true;
}

// A record from one line; false for anything else (the header, a damaged line).
bool ParseLine(std::string_view line, CalibrationRecord& record) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const auto fields = Fields(line);
  if (fields.size() != 7 || !LocalDateTime::Parse(std::string(fields[0]), record.when)) return false;
  std::uint32_t serial;
  std::int64_t machine, pump, oldValue, newValue, measured;
  if (!SerialIn(fields[1], serial) || !NumberIn(fields[2], 1, MachineCount, machine) ||
      !NumberIn(fields[3], 1, PumpCount, pump) || !NumberIn(fields[4], 0, 0x7FFFFFFF, oldValue) ||
      !NumberIn(fields[5], 0, 0x7FFFFFFF, newValue) || !NumberIn(fields[6], 0, 0x7FFFFFFF, measured))
    return false;
  record.serial = serial;
  record.machine = static_cast<int>(machine);
  record.pump = static_cast<int>(pump);
  record.oldValue = static_cast<int>(oldValue);
  record.newValue = static_cast<int>(newValue);
  record.measuredMillilitres = static_cast<int>(measured);
  return true;
}

}  // namespace

bool CalibrationRecord::operator==(const CalibrationRecord& other) const {
  return CalibrationLine(*this) == CalibrationLine(other);
}

std::string CalibrationLine(const CalibrationRecord& r) {
  return Format("%s,%u,%d,%d,%d,%d,%d", r.when.Text().c_str(), static_cast<unsigned>(r.serial), r.machine,
                r.pump, r.oldValue, r.newValue, r.measuredMillilitres);
}

std::vector<CalibrationRecord> ReadCalibrationHistory(const std::filesystem::path& path, std::string& error) {
  std::vector<CalibrationRecord> records;
  std::error_code missing;
  if (!std::filesystem::exists(path, missing)) return records;
  const auto text = ReadWholeFile(path, error, MaxCalibrationHistoryBytes);
  if (!text) return records;
  std::istringstream lines(*text);
  for (std::string line; std::getline(lines, line);) {
    CalibrationRecord record;
    if (ParseLine(line, record)) records.push_back(record);
  }
  return records;
}

FileResult AppendCalibration(const std::filesystem::path& path, const CalibrationRecord& record) {
  if (path.has_parent_path()) {
    const FileResult folder = CreateFolders(path.parent_path(), FileAccess::Private);
    if (!folder.ok) return folder;
  }
  // A file that exists but cannot be read is never replaced: the update only runs on what was read.
  const std::string line = CalibrationLine(record) + "\n";
  const auto append = [&](const std::string& old, std::string&) -> std::optional<std::string> {
    if (old.empty()) return std::string(CalibrationHistoryHeader) + "\n" + line;
    return old + (old.back() == '\n' ? "" : "\n") + line;
  };
  return UpdateFileAtomically(path, append, FileAccess::Private, MaxCalibrationHistoryBytes);
}

std::string CalibrationHistoryText(const CalibrationRecord& r) {
  return Substitute(
      UiText("CalibrationHistory", "%1  %2 -> %3 s/100 ml, %4 ml measured"),
      {Format("%04d-%02d-%02d %02d:%02d", r.when.year, r.when.month, r.when.day, r.when.hour, r.when.minute),
       std::to_string(r.oldValue), std::to_string(r.newValue), std::to_string(r.measuredMillilitres)});
}

std::string CalibrationListText(const CalibrationRecord& r) {
  return Format("controller %u, machine %d, pump %d: ", static_cast<unsigned>(r.serial), r.machine, r.pump) +
         CalibrationHistoryText(r);
}

std::vector<CalibrationRecord> LastCalibrations(const std::vector<CalibrationRecord>& records,
                                                std::uint32_t serial, int machine, int pump,
                                                std::size_t count) {
  std::vector<CalibrationRecord> last;
  for (auto it = records.rbegin(); it != records.rend() && last.size() < count; ++it) {
    if (it->serial == serial && it->machine == machine && it->pump == pump) last.push_back(*it);
  }
  return last;
}

}  // namespace qd::logs
