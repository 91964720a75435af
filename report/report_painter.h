#pragma once

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include "review/service_report.h"

namespace qd::report {

// A4 portrait with 15 mm margins all round: what the report is laid out for.
QPageLayout ServiceReportPageLayout();

// Lays the report out on the pages of `device` (whatever its page size) and paints them with `painter`,
// which is active on `device`: a header line with the system name and date, the sections with body text
// of 9 pt, tables that repeat their header row on every page they reach, and "Page N of M" at the foot.
// Gives the number of pages.
int PaintServiceReport(QPainter& painter, QPagedPaintDevice& device, const qd::review::ServiceReport& report);

}  // namespace qd::report
