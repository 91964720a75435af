#pragma once

#include <QLocale>
#include <QPainter>
#include <QRectF>
#include <QtGlobal>
#include <vector>

#include "logs/consumption_series.h"
#include "report/consumption_chart_series.h"

namespace qd::report {

// The text of a chart of months of which none holds a record; shown translated (context "ConsumptionChart").
inline constexpr const char* NoChartDataText =
    QT_TRANSLATE_NOOP("ConsumptionChart", "No log data for this selection");

// Monthly stacked bars of `months` with both axes, their labels and a legend, drawn inside `area`.
// Sizes follow the painter's font, so the chart reads the same on screen and on a printed page. The
// background is left as it is (white on paper; the chart widget fills it white).
void PaintConsumptionChart(QPainter& painter, const QRectF& area,
                           const std::vector<qd::logs::MonthTotals>& months, ChartMode mode);
// The same, with numbers written with the separators of `locale` rather than of the default locale.
void PaintConsumptionChart(QPainter& painter, const QRectF& area,
                           const std::vector<qd::logs::MonthTotals>& months, ChartMode mode,
                           const QLocale& locale);

}  // namespace qd::report
