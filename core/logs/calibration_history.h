#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "model/working_config.h"

// Every calibration accepted in the pump calibration window, kept in the user's data folder as a CSV file
// with a header line:
//   time,serial,machine,pump,old,new,measured_ml
//   2026-12-09 06:15:30,310001,3,2,30,25,120
namespace qd::logs {

struct CalibrationRecord {
  LocalDateTime when;
  std::uint32_t serial = 0;  // of the controller the configuration was read from (0: none)
  int machine = 0;           // 1..10
  int pump = 0;              // 1..7
  int oldValue = 0;          // seconds per 100 ml
  int newValue = 0;
  int measuredMillilitres = 0;

  bool operator==(const CalibrationRecord& other) const;
};

inline constexpr char CalibrationHistoryHeader[] = "time,serial,machine,pump,old,new,measured_ml";

// One line of the file, without its line break.
std::string CalibrationLine(const CalibrationRecord& record);

// "2026-12-09 06:15  30 -> 25 s/100 ml, 120 ml measured": one entry of a pump as the calibration
// window lists them.
std::string CalibrationHistoryText(const CalibrationRecord& record);
// The same after "controller 310001, machine 3, pump 2: " (qdtool's list of every pump).
std::string CalibrationListText(const CalibrationRecord& record);

// The largest history read; far more calibrations than a lifetime of service visits make.
inline constexpr std::uintmax_t MaxCalibrationHistoryBytes = std::uintmax_t{64} << 20;

// The records of the file, oldest first; lines that are not records are skipped. A missing file holds
// none; a file that cannot be read gives the reason in `error`.
std::vector<CalibrationRecord> ReadCalibrationHistory(const std::filesystem::path& path, std::string& error);

// Adds a record at the end: the file is written anew beside itself and renamed over the old one, so a
// failure never loses the records kept so far, and every line already there stays as it is, also one
// that is not a record. The file is locked from the read to the rename, so programs appending at the same
// time take turns. The file is private to the user (0600), as are the folders created for it (0700).
FileResult AppendCalibration(const std::filesystem::path& path, const CalibrationRecord& record);

// The last `count` records of one pump of one machine of one controller, newest first.
std::vector<CalibrationRecord> LastCalibrations(const std::vector<CalibrationRecord>& records,
                                                std::uint32_t serial, int machine, int pump,
                                                std::size_t count);

}  // namespace qd::logs
