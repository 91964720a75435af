#pragma once

#include <QByteArray>
#include <filesystem>
#include <optional>
#include <string>

#include "app/file_io.h"
#include "review/service_report.h"

namespace qd::report {

// The report as the bytes of a PDF document on A4 pages, or no value when Qt could not draw it (no font
// or paint engine), with the reason in `error` (UTF-8, translated). Needs a QGuiApplication.
std::optional<QByteArray> ServiceReportPdf(const qd::review::ServiceReport& report, std::string& error);

// The PDF saved over `path` atomically: a failed save leaves the file there before untouched.
qd::FileResult WriteServiceReportPdf(const qd::review::ServiceReport& report,
                                     const std::filesystem::path& path);

}  // namespace qd::report
