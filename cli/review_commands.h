#pragma once

#include <string>
#include <vector>

namespace qdtool {

// Commands that look at a configuration before it reaches a controller.
int RunCheck(const std::vector<std::string>& args);
int RunDiff(const std::vector<std::string>& args);
int RunBackups(const std::vector<std::string>& args);
int RunCalibrations(const std::vector<std::string>& args);

extern const char* const CheckUsage;
extern const char* const DiffUsage;
extern const char* const BackupsUsage;
extern const char* const CalibrationsUsage;

}  // namespace qdtool
