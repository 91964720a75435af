#pragma once

#include <string>
#include <vector>

namespace qdtool {

int RunDoctor(const std::vector<std::string>& args);
extern const char* const DoctorUsage;

}  // namespace qdtool
