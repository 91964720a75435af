#pragma once

#include <string>
#include <vector>

namespace qdtool {

int RunFirmware(const std::vector<std::string>& args);
extern const char* const FirmwareUsage;

}  // namespace qdtool
