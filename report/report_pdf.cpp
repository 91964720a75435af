#include "report/report_pdf.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <string_view>

#include "report/report_painter.h"

namespace qd::report {

std::optional<QByteArray> ServiceReportPdf(const qd::review::ServiceReport& report, std::string& error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setPageLayout(ServiceReportPageLayout());
    writer.setResolution(600);
    writer.setTitle(QCoreApplication::translate("ServiceReport", "Service report: %1")
                        .arg(QString::fromUtf8(report.systemName.c_str())));
    writer.setCreator(QStringLiteral("QDsystem"));
    QPainter painter;
    if (!painter.begin(&writer)) {
      error = QCoreApplication::translate("ServiceReport", "The PDF document could not be started.")
                  .toStdString();
      return std::nullopt;
    }
    PaintServiceReport(painter, writer, report);
    if (!painter.end()) {
      error = QCoreApplication::translate("ServiceReport", "The PDF document could not be completed.")
                  .toStdString();
      return std::nullopt;
    }
  }
  if (bytes.isEmpty()) {
    error = QCoreApplication::translate("ServiceReport", "The PDF document came out empty.").toStdString();
    return std::nullopt;
  }
  return bytes;
}

qd::FileResult WriteServiceReportPdf(const qd::review::ServiceReport& report,
                                     const std::filesystem::path& path) {
  std::string error;
  const std::optional<QByteArray> pdf = ServiceReportPdf(report, error);
  if (!pdf) return {false, error};
  return qd::WriteFileAtomically(path,
                                 std::string_view(pdf->constData(), static_cast<std::size_t>(pdf->size())));
}

}  // namespace qd::report
