#include "sample_history.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/bytes.h"
#include "app/text.h"
#include "history/site_read.h"
#include "logs/alarm_log.h"
#include "model/image_builder.h"
#include "model/system_file.h"
#include "store/history_store.h"

namespace {

using qd::logs::YearMonth;

struct SampleSite {
  std::uint32_t serial;
  const char* name;  // windows-1252
  int machines;
  double litresPerMachine;  // a month's detergent of one machine, all pumps
  double summerPeak;        // how much more the summer months take (a hotel's linen)
  YearMonth firstMonth;
};

// Lasts from the first month until November 2026, read every half year and once more at the end.
const SampleSite Sites[] = {
    {310118, "Hotel Seeblick W\xE4scherei", 4, 38.0, 0.45, {2022, 5}},
    {310204, "Laverie du Port", 3, 22.0, 0.10, {2023, 2}},
    {310377, "Textilservice Kr\xFCger", 6, 61.0, 0.05, {2021, 9}},
    {310412, "Campus Laundry North", 2, 15.0, -0.35, {2024, 1}},
    {310509, "Pflegeheim Am Park", 3, 27.0, 0.0, {2022, 11}},
    {310623, "Blanchisserie Alpine", 2, 18.0, 0.30, {2025, 4}},
};
constexpr YearMonth LastMonth{2026, 11};

YearMonth Next(YearMonth m) {
  return m.month == 12 ? YearMonth{m.year + 1, 1} : YearMonth{m.year, m.month + 1};
}

YearMonth Back(YearMonth m, int months) {
  const int key = m.year * 12 + m.month - 1 - months;
  return {key / 12, key % 12 + 1};
}

// Repeatable noise of a site's month: -1..1.
double Noise(std::uint32_t serial, YearMonth m, int machine) {
  std::uint32_t x = serial * 2654435761u ^ static_cast<std::uint32_t>(m.year * 12 + m.month) * 40503u ^
                    static_cast<std::uint32_t>(machine) * 9176u;
  x ^= x >> 13;
  x *= 0x5bd1e995u;
  x ^= x >> 15;
  return static_cast<double>(x % 2001) / 1000.0 - 1.0;
}

qd::logs::ConsumptionRows MonthsOf(const SampleSite& site, YearMonth from, YearMonth to) {
  qd::logs::ConsumptionRows rows;
  for (YearMonth m = std::max(from, site.firstMonth); m <= to; m = Next(m)) {
    const bool summer = m.month >= 5 && m.month <= 9;
    for (int machine = 1; machine <= site.machines; ++machine) {
      const double litres = site.litresPerMachine *
                            (1.0 + (summer ? site.summerPeak : 0.0) + 0.12 * Noise(site.serial, m, machine));
      const auto counts = static_cast<std::uint32_t>(litres * 1000.0 / qd::logs::MillilitresPerCount);
      qd::logs::ConsumptionRow row{m, machine, {}};
      // Main wash, pre-wash, softener and a little bleach; washes spread over three programs.
      const double shares[] = {0.52, 0.23, 0.17, 0.08};
      for (int p = 0; p < 4; ++p)
        row.counters[static_cast<std::size_t>(qd::logs::FirstPumpCounter + p)] =
            static_cast<std::uint32_t>(counts * shares[p]);
      const std::uint32_t washes = counts / 310;
      row.counters[qd::logs::FirstProgramCounter] = washes * 5 / 10;
      row.counters[qd::logs::FirstProgramCounter + 1] = washes * 3 / 10;
      row.counters[qd::logs::FirstProgramCounter + 2] = washes * 2 / 10;
      row.counters[qd::logs::NoProgramCounter] = washes / 25;
      row.counters[qd::logs::SoftnerCounter] = washes * 7 / 10;
      rows.push_back(row);
    }
  }
  return rows;
}

std::vector<qd::history::AlarmEvent> AlarmsUpTo(const SampleSite& site, YearMonth to) {
  namespace kind = qd::logs::alarm_kind;
  std::vector<qd::history::AlarmEvent> alarms;
  int n = 0;
  for (YearMonth m = site.firstMonth; m <= to; m = Next(m), ++n) {
    if (Noise(site.serial, m, 99) < 0.55) continue;
    const int kinds[] = {kind::LowSoapLevel, kind::DispenseError, kind::Pressure, kind::TriggerError};
    const int k = kinds[n % 4];
    const int number = k == kind::Pressure ? 0 : 1 + n % site.machines;
    alarms.push_back(
        {qd::Format("%04d-%02d-%02d %02d:%02d", m.year, m.month, 3 + n % 24, 6 + n % 14, (n * 7) % 60), k,
         number, 0});
  }
  return alarms;
}

// The configuration at the read `index`: now and then a technician changed a dose, a calibration or a
// trigger setting.
void EditFor(qd::SystemConfig& system, const SampleSite& site, int index) {
  system.SystemName = site.name;
  if (index >= 2) system.Machines[0].Programs[1].Lines[1].Param(3) += 4;
  if (index >= 3) system.Machines[0].Calibration[2] = "32";
  if (index >= 3) system.Machines[1].Calibration[2] = "31";
  if (index >= 5) system.Machines[1].Trigger.bytes[qd::TriggerSettings::AdjustHighOffset] += 5;
}

}  // namespace

bool RecordSampleHistory(const QString& systemFile) {
  QString error;
  const auto store = qd::store::HistoryStore::Open(qd::store::DefaultStoreLocation(), error);
  if (!store) {
    std::fprintf(stderr, "history store: %s\n", qPrintable(error));
    return false;
  }
  for (const SampleSite& site : Sites) {
    // Reads every six months from half a year after the first month, and one in the last month.
    std::vector<YearMonth> readMonths;
    for (YearMonth m = Back(site.firstMonth, -6); m < LastMonth; m = Back(m, -6))
      readMonths.push_back(m);
    readMonths.push_back(LastMonth);
    for (std::size_t i = 0; i < readMonths.size(); ++i) {
      const YearMonth at = readMonths[i];
      qd::WorkingConfig config;
      if (!qd::ReadSystemFile(config, systemFile.toStdString()).ok) return false;
      EditFor(config.system, site, static_cast<int>(i));
      qd::BuildImage(config, qd::LocalDateTime{at.year, at.month, 10, 9, 0, 0, 0});
      qd::bytes::PutU32LE(config.image.Span(), qd::layout::SerialNumber, site.serial);
      // As a controller with firmware 2.14 on hardware 3 reports itself.
      config.image.bytes[qd::layout::HardwareVersion] = 3;
      config.image.bytes[qd::layout::FirmwareMajor] = 2;
      config.image.bytes[qd::layout::FirmwareMinor] = 14;
      auto read = qd::history::RecordOfRead(
          config.image,
          qd::Format("%04d-%02d-%02d %02d:%02d:00", at.year, at.month, 12 + static_cast<int>(i) % 9,
                     8 + static_cast<int>(i) % 8, (static_cast<int>(i) * 17) % 60));
      if (!read) return false;
      read->months = MonthsOf(site, Back(at, 23), at);
      read->alarms = AlarmsUpTo(site, at);
      if (!store->Record(*read, error)) {
        std::fprintf(stderr, "history store: %s\n", qPrintable(error));
        return false;
      }
    }
  }
  return true;
}
