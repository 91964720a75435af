#include <cstdio>

#include "app/text.h"
#include "arguments.h"
#include "input.h"
#include "model/system_commands.h"
#include "review/program_checker.h"
#include "review_commands.h"

namespace qdtool {

const char* const CheckUsage =
    "usage: qdtool check IN\n"
    "\n"
    "Checks the dosing programs and settings of a system file or an image for mistakes, one finding a\n"
    "line with its place: pump lines of pumps whose calibration is 0 or with all volumes 0, jumps and\n"
    "input targets to Empty lines, loops without a wait, active programs without a pump line, default\n"
    "programs that are not active, softener dosing without a softener pump, texts that do not fit.\n"
    "Only enabled machines are checked. Exit status 1 when any finding is an error.\n";

int RunCheck(const std::vector<std::string>& args) {
  const Arguments arguments(args, {}, {});
  if (arguments.Help()) {
    std::fputs(CheckUsage, stdout);
    return 0;
  }
  if (arguments.Positional().size() != 1) throw UsageError("check takes IN");

  qd::WorkingConfig config;
  qd::ResetSystem(config);
  const Input input = LoadInput(config, arguments.Positional()[0], qd::LocalDateTime::Now());
  if (!input.ok) throw Failure(input.failure);

  const auto findings = qd::review::CheckSystem(config);
  int errors = 0;
  for (const auto& finding : findings) {
    std::printf("%s\n", qd::TerminalText(finding.Text()).c_str());
    errors += finding.severity == qd::review::Severity::Error;
  }
  const int warnings = static_cast<int>(findings.size()) - errors;
  std::fprintf(stderr, "%d %s, %d %s\n", errors, errors == 1 ? "error" : "errors", warnings,
               warnings == 1 ? "warning" : "warnings");
  return errors > 0 ? 1 : 0;
}

}  // namespace qdtool
