#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>

#include "app/text.h"
#include "arguments.h"
#include "json_output.h"
#include "logs/calibration_history.h"
#include "review_commands.h"
#include "transport/data_folder.h"

namespace qdtool {

const char* const CalibrationsUsage =
    "usage: qdtool calibrations [--serial N] [--machine N] [--pump N] [--json]\n"
    "\n"
    "Lists the calibration history, oldest first: every pump calibration accepted in qdsystem's\n"
    "calibration window, with the controller's serial number (0 when the system was not read from a\n"
    "controller), the machine, the pump, the old and the new calibration in seconds per 100 ml and the\n"
    "volume measured. The history is calibrations.csv in the user's data folder; QDSYSTEM_DATA=FOLDER\n"
    "sets another data folder.\n"
    "\n"
    "  --serial N    only the calibrations of controller N\n"
    "  --machine N   only machine N (1..10)\n"
    "  --pump N      only pump N (1..7)\n"
    "  --json        print the file and the calibrations as one JSON document instead (see\n"
    "                'man qdtool')\n";

namespace {

QJsonObject CalibrationJson(const qd::logs::CalibrationRecord& record) {
  const qd::LocalDateTime& when = record.when;
  return {
      {"time", JsonDateTime(when.year, when.month, when.day, when.hour, when.minute, when.second)},
      {"serial", static_cast<qint64>(record.serial)},
      {"machine", record.machine},
      {"pump", record.pump},
      {"oldSecondsPer100ml", record.oldValue},
      {"newSecondsPer100ml", record.newValue},
      {"measuredLitres", JsonLitres(record.measuredMillilitres)},
  };
}

void PrintCalibrationsJson(const std::string& file, const std::vector<qd::logs::CalibrationRecord>& records) {
  QJsonArray list;
  for (const auto& record : records)
    list.append(CalibrationJson(record));
  PrintJson({{"file", JsonPath(file)}, {"calibrations", list}});
}

}  // namespace

int RunCalibrations(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"serial", "machine", "pump"}, {JsonFlag});
  if (arguments.Help()) {
    std::fputs(CalibrationsUsage, stdout);
    return 0;
  }
  if (!arguments.Positional().empty()) throw UsageError("calibrations takes no file argument");
  std::optional<std::uint32_t> serial;
  if (const auto text = arguments.Value("serial")) {
    const auto number = qd::ParseWholeNumber(*text);
    if (!number || *number < 0) throw UsageError("--serial takes a serial number");
    serial = static_cast<std::uint32_t>(*number);
  }
  const std::optional<int> machine = arguments.Number("machine", 1, 10);
  const std::optional<int> pump = arguments.Number("pump", 1, 7);

  const std::string file = qd::transport::CalibrationHistoryFile().toStdString();
  std::string error;
  std::vector<qd::logs::CalibrationRecord> records = qd::logs::ReadCalibrationHistory(file, error);
  if (!error.empty()) throw Failure(error);
  std::erase_if(records, [&](const qd::logs::CalibrationRecord& record) {
    return (serial && record.serial != *serial) || (machine && record.machine != *machine) ||
           (pump && record.pump != *pump);
  });
  if (arguments.Flag(JsonFlag)) {
    PrintCalibrationsJson(file, records);
    return 0;
  }
  for (const qd::logs::CalibrationRecord& record : records)
    std::printf("%s\n", qd::logs::CalibrationListText(record).c_str());
  if (records.empty()) std::fprintf(stderr, "no calibrations recorded in %s\n", file.c_str());
  return 0;
}

}  // namespace qdtool
