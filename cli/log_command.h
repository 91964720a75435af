#pragma once

#include <string>
#include <vector>

namespace qdtool {

// qdtool log consumption|alarms: the consumption log totals and the alarm log lines of a system file
// or an image, as the log windows show them.
int RunLog(const std::vector<std::string>& args);

extern const char* const LogUsage;

}  // namespace qdtool
