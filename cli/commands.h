#pragma once

#include <string>
#include <vector>

namespace qdtool {

// One subcommand: its name, a line for the overview, its usage text and what it does.
struct Command {
  const char* name;
  const char* summary;
  const char* usage;
  int (*run)(const std::vector<std::string>& args);
};

int RunConvert(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);
int RunProgram(const std::vector<std::string>& args);
int RunRead(const std::vector<std::string>& args);
int RunWrite(const std::vector<std::string>& args);
int RunMonitor(const std::vector<std::string>& args);
int RunPorts(const std::vector<std::string>& args);

extern const char* const ConvertUsage;
extern const char* const InfoUsage;
extern const char* const ProgramUsage;
extern const char* const ReadUsage;
extern const char* const WriteUsage;
extern const char* const MonitorUsage;
extern const char* const PortsUsage;

}  // namespace qdtool
