#pragma once

#include <string>
#include <vector>

namespace qdtool {

// qdtool report: the printable service report of a system file or an image, as a PDF.
int RunReport(const std::vector<std::string>& args);

extern const char* const ReportUsage;

}  // namespace qdtool
