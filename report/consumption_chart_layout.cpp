#include "report/consumption_chart_layout.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace qd::report {
namespace {

constexpr double BarShare = 0.7;         // of a month's slot; the rest is the gap between bars
constexpr double MaxBarLines = 4;        // a few months do not make slabs
constexpr double TickSpacingLines = 2;   // least distance of two value ticks, in lines
constexpr double PaddingLines = 0.5;     // around the chart and between its parts
constexpr double TickLines = 0.3;        // length of a tick mark
constexpr double SwatchLines = 0.7;      // side of a legend colour square
constexpr double SwatchGapLines = 0.4;   // between a colour square and its name
constexpr double LabelGapLines = 0.6;    // least space between two month labels
constexpr double PenLines = 1.0 / 16.0;  // axis line width: a pixel on screen, a quarter millimetre in print

double MaxNameWidth(const QFontMetricsF& metrics, ChartMode mode) {
  double width = 0;
  for (int s = 0; s < ChartSeriesCount; ++s)
    width = std::max(width, metrics.horizontalAdvance(SeriesName(mode, s)));
  return width;
}

// The widest month label: an abbreviation or a year below it.
double MonthLabelWidth(const QFontMetricsF& metrics) {
  double width = metrics.horizontalAdvance(QStringLiteral("2000"));
  for (int m = 1; m <= 12; ++m)
    width = std::max(width, metrics.horizontalAdvance(MonthLabel(m)));
  return width;
}

double MaxTickTextWidth(const QFontMetricsF& metrics, const NiceAxis& axis, const QLocale& locale) {
  double width = 0;
  for (int k = 0; k <= axis.intervals; ++k)
    width = std::max(width, metrics.horizontalAdvance(TickText(k * axis.step, axis, locale)));
  return width;
}

double HighestBar(const std::vector<qd::logs::MonthTotals>& months, ChartMode mode) {
  double highest = 0;
  for (const qd::logs::MonthTotals& month : months)
    highest = std::max(highest, MonthTotal(month.totals, mode));
  return highest;
}

// The legend at the top right, in as many columns as its height needs.
void PlaceLegend(ConsumptionChartLayout& layout, const QFontMetricsF& metrics, ChartMode mode, double top) {
  const double padding = layout.line * PaddingLines;
  layout.swatch = layout.line * SwatchLines;
  layout.legendColumnWidth = layout.swatch + layout.line * SwatchGapLines + MaxNameWidth(metrics, mode);
  const double height = layout.area.bottom() - padding - top;
  layout.legendRows = std::clamp(static_cast<int>(height / layout.line), 1, ChartSeriesCount);
  const int columns = (ChartSeriesCount + layout.legendRows - 1) / layout.legendRows;
  const double width = columns * layout.legendColumnWidth + (columns - 1) * padding;
  layout.legend = QRectF(layout.area.right() - padding - width, top, width, layout.legendRows * layout.line);
}

}  // namespace

double ConsumptionChartLayout::Y(double value) const {
  const double top = axis.Top();
  const double share = top > 0 ? std::clamp(value / top, 0.0, 1.0) : 0.0;
  return plot.bottom() - share * plot.height();
}

double ConsumptionChartLayout::SlotCentre(int index) const {
  return plot.left() + (index + 0.5) * slot;
}

QRectF ConsumptionChartLayout::BarRect(int index, double from, double to) const {
  const double left = SlotCentre(index) - barWidth / 2;
  return QRectF(QPointF(left, Y(to)), QPointF(left + barWidth, Y(from)));
}

int ConsumptionChartLayout::SlotAt(double x) const {
  if (months <= 0 || slot <= 0 || !(x >= plot.left()) || !(x < plot.right())) return -1;
  return std::clamp(static_cast<int>((x - plot.left()) / slot), 0, months - 1);
}

QPointF ConsumptionChartLayout::LegendEntry(int series) const {
  const int column = series / legendRows;
  const int row = series % legendRows;
  return {legend.left() + column * (legendColumnWidth + line * PaddingLines), legend.top() + row * line};
}

QString TickText(double value, const NiceAxis& axis, const QLocale& locale) {
  return locale.toString(value, 'f', axis.decimals);
}

QString MonthLabel(int month) {
  return QCoreApplication::translate("ConsumptionChart", MonthAbbreviation(month));
}

ConsumptionChartLayout LayOutConsumptionChart(const QFontMetricsF& metrics, const QRectF& area,
                                              const std::vector<qd::logs::MonthTotals>& months,
                                              ChartMode mode, const QLocale& locale) {
  ConsumptionChartLayout layout;
  layout.area = area;
  layout.line = metrics.height();
  layout.pen = layout.line * PenLines;
  layout.tick = layout.line * TickLines;
  layout.months = static_cast<int>(months.size());
  const double padding = layout.line * PaddingLines;

  // The unit above the value axis, and half a line for the top tick label.
  const double top = area.top() + padding + layout.line * 1.5;
  // A month over its year below the month axis.
  const double bottom = area.bottom() - padding - 2 * layout.line - layout.tick;
  PlaceLegend(layout, metrics, mode, top);

  const int maxIntervals = static_cast<int>((bottom - top) / (layout.line * TickSpacingLines));
  layout.axis = NiceScale(HighestBar(months, mode), maxIntervals, MinimumStepExponent(mode));
  const double left =
      area.left() + padding + MaxTickTextWidth(metrics, layout.axis, locale) + layout.tick + padding;
  const double right = layout.legend.left() - 2 * padding;
  layout.plot = QRectF(QPointF(left, top), QPointF(right, bottom));
  if (!layout.Fits()) return layout;

  layout.slot = layout.plot.width() / std::max(layout.months, 1);
  layout.barWidth = std::min(layout.slot * BarShare, layout.line * MaxBarLines);
  layout.labelStep = MonthLabelStep(layout.slot, MonthLabelWidth(metrics) + layout.line * LabelGapLines);
  return layout;
}

}  // namespace qd::report
