#pragma once

#include <QColor>
#include <QString>
#include <array>

#include "logs/consumption_log.h"

// What the consumption chart shows of one month: seven stacked series, either the volume of each pump in
// litres or the washes of each program and those without one.
namespace qd::report {

enum class ChartMode { PumpVolumes, ProgramWashes };

constexpr int ChartSeriesCount = 7;
static_assert(ChartSeriesCount == qd::logs::LoggedPumps && ChartSeriesCount == qd::logs::LoggedPrograms + 1);

using SeriesValues = std::array<double, ChartSeriesCount>;

// Litres per pump, or washes of programs 1..6 followed by those without a program.
SeriesValues MonthSeries(const qd::logs::ConsumptionTotals& totals, ChartMode mode);
// The height of the month's whole bar: all pumps' litres or all washes.
double MonthTotal(const qd::logs::ConsumptionTotals& totals, ChartMode mode);

// "Pump 1".."Pump 7"; "Program 1".."Program 6", "No program"; translated, English without a translator.
QString SeriesName(ChartMode mode, int series);
// The value axis' unit: "L" or "Washes" (translated).
QString UnitText(ChartMode mode);
// The finest axis step is 10^this: a thousandth of a litre (a count is 5 ml), a whole wash.
int MinimumStepExponent(ChartMode mode);

// A fixed colour per series. Hues tell them apart on screen; their grey levels differ too (and
// neighbours in a stack differ a lot), so that a greyscale print still reads.
QColor SeriesColour(int series);

}  // namespace qd::report
