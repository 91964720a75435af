#pragma once

#include <QFontMetricsF>
#include <QLocale>
#include <QRectF>
#include <QString>
#include <vector>

#include "logs/consumption_series.h"
#include "report/chart_axis.h"
#include "report/consumption_chart_series.h"

// Where the consumption chart puts its parts. Every size derives from the font's line height on the
// painted device, so that a screen and a 1200 dpi page get the same proportions.
namespace qd::report {

struct ConsumptionChartLayout {
  QRectF area;    // all of the chart
  QRectF plot;    // the bars; the value axis runs up its left edge, the months along its bottom
  QRectF legend;  // the legend's entries, in columns of `legendRows`
  NiceAxis axis;
  int months = 0;
  double slot = 0;      // width per month
  double barWidth = 0;  // of each month's bar, centred in its slot
  int labelStep = 1;    // a month label every this many months
  double line = 0;      // the font's line height
  double pen = 0;       // width of the axis lines
  double tick = 0;      // length of the tick marks
  double swatch = 0;    // side of a legend entry's colour square
  double legendColumnWidth = 0;
  int legendRows = ChartSeriesCount;

  // False when the area is too small to draw into.
  bool Fits() const { return plot.width() > 0 && plot.height() > 0; }
  // The device y of a value, clamped to the plot.
  double Y(double value) const;
  // The x of the centre of month `index`'s slot.
  double SlotCentre(int index) const;
  // The part of month `index`'s bar from value `from` up to `to`.
  QRectF BarRect(int index, double from, double to) const;
  // The month whose slot holds x, or -1.
  int SlotAt(double x) const;
  // The top-left of legend entry `series`.
  QPointF LegendEntry(int series) const;
};

// A tick label of the value axis: "0", "250", "0.5" with the locale's separators.
QString TickText(double value, const NiceAxis& axis, const QLocale& locale);

// A month's label on the month axis: MonthAbbreviation translated.
QString MonthLabel(int month);

ConsumptionChartLayout LayOutConsumptionChart(const QFontMetricsF& metrics, const QRectF& area,
                                              const std::vector<qd::logs::MonthTotals>& months,
                                              ChartMode mode, const QLocale& locale);

}  // namespace qd::report
