#include "report/consumption_chart_painter.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <algorithm>

#include "report/chart_axis.h"
#include "report/consumption_chart_layout.h"

namespace qd::report {
namespace {

using qd::logs::MonthTotals;

const QColor InkColour(Qt::black);
const QColor GridColour(0xD0, 0xD0, 0xD0);
const QColor SeparatorColour(Qt::white);
const QColor SwatchFrameColour(0x40, 0x40, 0x40);

bool AnyIncluded(const std::vector<MonthTotals>& months) {
  return std::any_of(months.begin(), months.end(), [](const MonthTotals& m) { return m.totals.anyIncluded; });
}

QPen Pen(const QColor& colour, double width) {
  QPen pen(colour, width);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

void PaintGrid(QPainter& painter, const ConsumptionChartLayout& layout) {
  painter.setPen(Pen(GridColour, layout.pen * 0.75));
  for (int k = 1; k <= layout.axis.intervals; ++k) {
    const double y = layout.Y(k * layout.axis.step);
    painter.drawLine(QPointF(layout.plot.left(), y), QPointF(layout.plot.right(), y));
  }
}

// Series 0 on top, so that a stack reads top down in the legend's order.
void PaintBar(QPainter& painter, const ConsumptionChartLayout& layout, int index,
              const SeriesValues& values) {
  // White lines between the parts only where a bar is wide enough to show them.
  const bool separate = layout.barWidth >= 6 * layout.pen;
  double from = 0;
  for (int s = ChartSeriesCount - 1; s >= 0; --s) {
    const double value = values[static_cast<std::size_t>(s)];
    if (value <= 0) continue;
    const QRectF part = layout.BarRect(index, from, from + value);
    painter.fillRect(part, SeriesColour(s));
    if (separate && from > 0) {
      painter.setPen(Pen(SeparatorColour, layout.pen));
      painter.drawLine(part.bottomLeft(), part.bottomRight());
    }
    from += value;
  }
}

void PaintBars(QPainter& painter, const ConsumptionChartLayout& layout,
               const std::vector<MonthTotals>& months, ChartMode mode) {
  for (int i = 0; i < layout.months; ++i)
    PaintBar(painter, layout, i, MonthSeries(months[static_cast<std::size_t>(i)].totals, mode));
}

// Without data only the axis line and the unit: a scale would suggest values.
void PaintValueAxis(QPainter& painter, const ConsumptionChartLayout& layout, ChartMode mode,
                    const QLocale& locale, bool withScale) {
  const QRectF& plot = layout.plot;
  painter.setPen(Pen(InkColour, layout.pen));
  painter.drawLine(plot.topLeft(), plot.bottomLeft());
  const double labelRight = plot.left() - layout.tick - layout.line * 0.25;
  for (int k = 0; withScale && k <= layout.axis.intervals; ++k) {
    const double value = k * layout.axis.step;
    const double y = layout.Y(value);
    painter.drawLine(QPointF(plot.left() - layout.tick, y), QPointF(plot.left(), y));
    const QRectF box(QPointF(layout.area.left(), y - layout.line / 2),
                     QPointF(labelRight, y + layout.line / 2));
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, TickText(value, layout.axis, locale));
  }
  const double padding = layout.line / 2;
  const QRectF unit(layout.area.left() + padding, layout.area.top() + padding,
                    plot.right() - layout.area.left(), layout.line);
  painter.drawText(unit, Qt::AlignLeft | Qt::AlignVCenter, UnitText(mode));
}

// Month abbreviations along the bottom; the year below the first label and below each first label of
// a year.
void PaintMonthAxis(QPainter& painter, const ConsumptionChartLayout& layout,
                    const std::vector<MonthTotals>& months) {
  const QRectF& plot = layout.plot;
  painter.setPen(Pen(InkColour, layout.pen));
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  const bool anyAligned = std::any_of(months.begin(), months.end(), [&](const MonthTotals& m) {
    return MonthLabelled(m.month, layout.labelStep);
  });
  const double width = std::max(layout.slot * layout.labelStep, layout.line * 4);
  int shownYear = -1;
  for (int i = 0; i < layout.months; ++i) {
    const qd::logs::YearMonth month = months[static_cast<std::size_t>(i)].month;
    if (!(MonthLabelled(month, layout.labelStep) || (!anyAligned && i == 0))) continue;
    const double x = layout.SlotCentre(i);
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + layout.tick));
    const QRectF name(x - width / 2, plot.bottom() + layout.tick, width, layout.line);
    painter.drawText(name, Qt::AlignCenter, MonthLabel(month.month));
    if (month.year != shownYear) {
      painter.drawText(name.translated(0, layout.line), Qt::AlignCenter, QString::number(month.year));
      shownYear = month.year;
    }
  }
}

void PaintLegend(QPainter& painter, const ConsumptionChartLayout& layout, ChartMode mode) {
  for (int s = 0; s < ChartSeriesCount; ++s) {
    const QPointF at = layout.LegendEntry(s);
    const QRectF swatch(at.x(), at.y() + (layout.line - layout.swatch) / 2, layout.swatch, layout.swatch);
    painter.fillRect(swatch, SeriesColour(s));
    painter.setPen(Pen(SwatchFrameColour, layout.pen * 0.75));
    painter.drawRect(swatch);
    painter.setPen(InkColour);
    const double textLeft = swatch.right() + layout.line * 0.4;
    const QRectF name(QPointF(textLeft, at.y()),
                      QPointF(at.x() + layout.legendColumnWidth, at.y() + layout.line));
    painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter, SeriesName(mode, s));
  }
}

}  // namespace

void PaintConsumptionChart(QPainter& painter, const QRectF& area, const std::vector<MonthTotals>& months,
                           ChartMode mode) {
  PaintConsumptionChart(painter, area, months, mode, QLocale());
}

void PaintConsumptionChart(QPainter& painter, const QRectF& area, const std::vector<MonthTotals>& months,
                           ChartMode mode, const QLocale& locale) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const ConsumptionChartLayout layout = LayOutConsumptionChart(metrics, area, months, mode, locale);
  if (!layout.Fits()) return;

  painter.save();
  painter.setClipRect(area, Qt::IntersectClip);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const bool anyIncluded = AnyIncluded(months);
  if (anyIncluded) PaintGrid(painter, layout);
  PaintBars(painter, layout, months, mode);
  PaintValueAxis(painter, layout, mode, locale, anyIncluded);
  PaintMonthAxis(painter, layout, months);
  PaintLegend(painter, layout, mode);
  if (!anyIncluded) {
    painter.setPen(InkColour);
    painter.drawText(layout.plot, Qt::AlignCenter | Qt::TextWordWrap,
                     QCoreApplication::translate("ConsumptionChart", NoChartDataText));
  }
  painter.restore();
}

}  // namespace qd::report
