#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

#include "app/text.h"
#include "arguments.h"
#include "input.h"
#include "json_output.h"
#include "model/system_commands.h"
#include "review/program_checker.h"
#include "review_commands.h"

namespace qdtool {

const char* const CheckUsage =
    "usage: qdtool check IN [--json]\n"
    "\n"
    "Checks the dosing programs and settings of a system file or an image for mistakes, one finding a\n"
    "line with its place: pump lines of pumps whose calibration is 0 or with all volumes 0, jumps and\n"
    "input targets to Empty lines, loops without a wait, active programs without a pump line, default\n"
    "programs that are not active, softener dosing without a softener pump, texts that do not fit.\n"
    "Only enabled machines are checked. Exit status 1 when any finding is an error.\n"
    "\n"
    "  --json   print the findings and their counts as one JSON document instead (see 'man qdtool')\n";

namespace {

QJsonObject FindingJson(const qd::review::Finding& finding) {
  return {
      {"severity", finding.severity == qd::review::Severity::Error ? "error" : "warning"},
      {"machine", JsonNumberOrNull(finding.machine)},
      {"program", JsonNumberOrNull(finding.program)},
      {"line", JsonNumberOrNull(finding.line)},
      {"place", JsonText(finding.Place())},
      {"message", JsonText(finding.message)},
  };
}

void PrintFindingsJson(const std::vector<qd::review::Finding>& findings, int errors) {
  QJsonArray list;
  for (const auto& finding : findings)
    list.append(FindingJson(finding));
  PrintJson(
      {{"errors", errors}, {"warnings", static_cast<int>(findings.size()) - errors}, {"findings", list}});
}

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
  const Arguments arguments(args, {}, {JsonFlag});
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
  const int errors = static_cast<int>(std::count_if(findings.begin(), findings.end(), [](const auto& f) {
    return f.severity == qd::review::Severity::Error;
  }));
  if (arguments.Flag(JsonFlag)) {
    PrintFindingsJson(findings, errors);
    return errors > 0 ? 1 : 0;
  }
  for (const auto& finding : findings)
    std::printf("%s\n", qd::TerminalText(finding.Text()).c_str());
  const int warnings = static_cast<int>(findings.size()) - errors;
  std::fprintf(stderr, "%d %s, %d %s\n", errors, errors == 1 ? "error" : "errors", warnings,
               warnings == 1 ? "warning" : "warnings");
  return errors > 0 ? 1 : 0;
}

}  // namespace qdtool
