#include <cstdio>

#include "app/text.h"
#include "arguments.h"
#include "commands.h"
#include "input.h"
#include "model/instruction_set.h"
#include "model/system_commands.h"

namespace qdtool {

const char* const ProgramUsage =
    "usage: qdtool program IN --machine M --program P\n"
    "\n"
    "Prints the 24 lines of program P (1..6) of machine M (1..10) as the program editor shows them:\n"
    "line number, instruction, parameters and comment, separated by TABs.\n";

int RunProgram(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"machine", "program"}, {});
  if (arguments.Help()) {
    std::fputs(ProgramUsage, stdout);
    return 0;
  }
  if (arguments.Positional().size() != 1) throw UsageError("program takes IN");
  const auto machine = arguments.Number("machine", 1, qd::MachineCount);
  const auto program = arguments.Number("program", 1, qd::ProgramCount);
  if (!machine || !program) throw UsageError("program needs --machine and --program");

  qd::WorkingConfig config;
  qd::ResetSystem(config);
  const Input input = LoadInput(config, arguments.Positional()[0], qd::LocalDateTime::Now());
  if (!input.ok) throw Failure(input.failure);

  const qd::DosingProgram& lines = config.system.Machines[*machine - 1].Programs[*program - 1];
  for (int k = 0; k < qd::DosingProgram::LineCount; ++k) {
    const qd::LineTexts texts = qd::ShowLine(lines.Lines[k]);
    std::printf("%d\t%s\t%s\t%s\n", k + 1, texts.instruction.c_str(), texts.parameters.c_str(),
                qd::TerminalText(texts.comment).c_str());
  }
  return 0;
}

}  // namespace qdtool
