#include "report/consumption_chart_series.h"

#include <QCoreApplication>

namespace qd::report {
namespace {

// Grey levels 40, 156, 69, 185, 98, 212, 128: about 30 apart, and 90 to 115 apart between neighbours.
constexpr std::array<QRgb, ChartSeriesCount> Palette = {
    0x0F2A55,  // navy
    0xE8892B,  // orange
    0x8E1F2F,  // maroon
    0x8EC7F0,  // light blue
    0x2F8F3F,  // green
    0xF7DE6A,  // yellow
    0x9A5FB5,  // purple
};

constexpr double LitresPerCount = qd::logs::MillilitresPerCount / 1000.0;

}  // namespace

SeriesValues MonthSeries(const qd::logs::ConsumptionTotals& totals, ChartMode mode) {
  SeriesValues values{};
  if (mode == ChartMode::PumpVolumes) {
    for (std::size_t p = 0; p < totals.pumpCounts.size(); ++p)
      values[p] = totals.pumpCounts[p] * LitresPerCount;
  } else {
    for (std::size_t p = 0; p < totals.programWashes.size(); ++p)
      values[p] = totals.programWashes[p];
    values[qd::logs::LoggedPrograms] = totals.noProgramWashes;
  }
  return values;
}

double MonthTotal(const qd::logs::ConsumptionTotals& totals, ChartMode mode) {
  return mode == ChartMode::PumpVolumes ? totals.volumeCounts * LitresPerCount : totals.washTotal;
}

QString SeriesName(ChartMode mode, int series) {
  if (mode == ChartMode::PumpVolumes)
    return QCoreApplication::translate("ConsumptionChart", "Pump %1").arg(series + 1);
  if (series == qd::logs::LoggedPrograms)
    return QCoreApplication::translate("ConsumptionChart", "No program");
  return QCoreApplication::translate("ConsumptionChart", "Program %1").arg(series + 1);
}

// The litre's symbol is the same in every language.
QString UnitText(ChartMode mode) {
  return mode == ChartMode::PumpVolumes ? QStringLiteral("L")
                                        : QCoreApplication::translate("ConsumptionChart", "Washes");
}

int MinimumStepExponent(ChartMode mode) {
  return mode == ChartMode::PumpVolumes ? -3 : 0;
}

QColor SeriesColour(int series) {
  if (series < 0 || series >= ChartSeriesCount) return QColor(Qt::gray);
  return QColor::fromRgb(Palette[static_cast<std::size_t>(series)]);
}

}  // namespace qd::report
