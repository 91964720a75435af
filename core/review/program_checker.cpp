#include "review/program_checker.h"

#include <algorithm>

#include "app/text.h"
#include "app/translation.h"
#include "model/calibration.h"
#include "model/instruction_set.h"
#include "model/system_file.h"
#include "review/config_diff.h"

namespace qd::review {
namespace {

bool Is(const ProgramLine& line, Instruction instruction) {
  return line.Instruction() == static_cast<int>(instruction);
}

bool IsPumpLine(const ProgramLine& line) {
  return Is(line, Instruction::Pump) || Is(line, Instruction::PumpHighVolume);
}

bool AllVolumesZero(const ProgramLine& line) {
  if (Is(line, Instruction::PumpHighVolume)) return ParamWord(line, 3) == 0;
  return line.Param(3) == 0 && line.Param(4) == 0 && line.Param(5) == 0;
}

constexpr std::uint8_t WaitUntilDispensedBit = 0x40;

// A line that lets time pass before the next one runs.
bool TakesTime(const ProgramLine& line) {
  if (Is(line, Instruction::Wait) || Is(line, Instruction::InputWait) || Is(line, Instruction::InputOffWait))
    return true;
  if (IsPumpLine(line)) return (line.Param(1) & WaitUntilDispensedBit) != 0;
  return Is(line, Instruction::Flush) && line.Param(3) != 0;
}

// A line through which the program may leave a loop.
bool MayLeave(const ProgramLine& line) {
  return Is(line, Instruction::InputJump) || Is(line, Instruction::InputEvent) ||
         Is(line, Instruction::Reset);
}

bool HasInputTargets(const ProgramLine& line) {
  return Is(line, Instruction::InputWait) || Is(line, Instruction::InputEvent) ||
         Is(line, Instruction::InputJump);
}

// Line numbers (1..24) a line may continue at besides the next one.
std::vector<int> Targets(const ProgramLine& line) {
  std::vector<int> targets;
  if (Is(line, Instruction::Jump)) targets.push_back(line.Param(1));
  if (HasInputTargets(line)) {
    for (int n = 1; n <= 3; ++n) {
      if (InputField(line, n) != 0) targets.push_back(TargetField(line, n));
    }
  }
  std::erase_if(targets, [](int t) { return t < 1 || t > DosingProgram::LineCount; });
  return targets;
}

// The number (1..24) of the last line that is not "Empty"; 0 when all are.
int LastInstruction(const DosingProgram& program) {
  for (int k = DosingProgram::LineCount; k >= 1; --k) {
    if (!Is(program.Lines[k - 1], Instruction::Empty)) return k;
  }
  return 0;
}

class ProgramCheck {
 public:
  ProgramCheck(const SystemConfig& system, int machine, int number, const DosingProgram& program,
               std::vector<Finding>& out)
      : system_(system),
        machineConfig_(system.Machines[machine - 1]),
        machine_(machine),
        number_(number),
        program_(program),
        out_(out) {}

  void Run() {
    for (int k = 1; k <= DosingProgram::LineCount; ++k)
      CheckLine(k, program_.Lines[k - 1]);
    CheckProgramWide();
  }

 private:
  bool Runs() const { return program_.Active && system_.MachineEnabled[machine_ - 1]; }

  void Add(Severity severity, int line, std::string message) {
    out_.push_back({severity, machine_, number_, line, std::move(message)});
  }

  void CheckLine(int k, const ProgramLine& line) {
    if (IsPumpLine(line)) CheckPumpLine(k, line);
    for (int target : Targets(line))
      CheckTarget(k, target);
    if (Is(line, Instruction::Jump) && line.Param(1) >= 1 && line.Param(1) <= k) CheckLoop(line.Param(1), k);
  }

  void CheckPumpLine(int k, const ProgramLine& line) {
    const int pump = PumpField(line);
    if (pump >= 1 && pump <= PumpCount && StoredCalibration(machineConfig_.Calibration[pump - 1]) == 0) {
      Add(Runs() ? Severity::Error : Severity::Warning, k,
          Substitute(UiText("ProgramChecker", "pump %1 has calibration 0: this line doses nothing"),
                     {std::to_string(pump)}));
    }
    if (AllVolumesZero(line)) Add(Severity::Warning, k, UiText("ProgramChecker", "all volumes are 0"));
  }

  void CheckTarget(int k, int target) {
    if (!Is(program_.Lines[target - 1], Instruction::Empty)) return;
    if (target > LastInstruction(program_)) {
      Add(Severity::Warning, k,
          Substitute(UiText("ProgramChecker", "continues at line %1, after the last instruction"),
                     {std::to_string(target)}));
    } else {
      Add(Severity::Warning, k,
          Substitute(UiText("ProgramChecker", "continues at line %1, which is Empty"),
                     {std::to_string(target)}));
    }
  }

  // The jump on line `last` back to line `first` repeats lines first..last.
  void CheckLoop(int first, int last) {
    bool takesTime = false;
    bool mayLeave = false;
    for (int k = first; k <= last; ++k) {
      takesTime = takesTime || TakesTime(program_.Lines[k - 1]);
      mayLeave = mayLeave || MayLeave(program_.Lines[k - 1]);
    }
    if (takesTime) return;
    if (mayLeave) {
      Add(Severity::Warning, last,
          Substitute(UiText("ProgramChecker", "loop from line %1 has no wait and no input wait"),
                     {std::to_string(first)}));
    } else {
      Add(Severity::Error, last,
          Substitute(
              UiText("ProgramChecker", "loop from line %1 runs forever with no wait and no input wait"),
              {std::to_string(first)}));
    }
  }

  void CheckProgramWide() {
    if (!program_.Active) return;
    const bool pumps = std::any_of(program_.Lines.begin(), program_.Lines.end(), IsPumpLine);
    if (!pumps) Add(Severity::Warning, 0, UiText("ProgramChecker", "active program without a pump line"));
    if (program_.Softner && machineConfig_.SoftnerPump == 0) {
      Add(Severity::Warning, 0,
          UiText("ProgramChecker", "doses softener, but the machine has no softener pump"));
    }
  }

  const SystemConfig& system_;
  const MachineConfig& machineConfig_;
  int machine_;
  int number_;
  const DosingProgram& program_;
  std::vector<Finding>& out_;
};

void CheckMachine(const SystemConfig& system, int machine, std::vector<Finding>& out) {
  const MachineConfig& config = system.Machines[machine - 1];
  const int defaultProgram = config.DefaultProgram;
  if (defaultProgram >= 1 && defaultProgram <= ProgramCount && !config.Programs[defaultProgram - 1].Active) {
    out.push_back({Severity::Warning, machine, 0, 0,
                   Substitute(UiText("ProgramChecker", "default program %1 is not active"),
                              {std::to_string(defaultProgram)})});
  }
  if (SetsUnkeptElectroluxEntries(config.Trigger)) {
    out.push_back(
        {Severity::Warning, machine, 0, 0,
         UiText("ProgramChecker", "Electrolux programs 16..30 are set: a system file does not keep them")});
  }
  for (int p = 1; p <= ProgramCount; ++p)
    ProgramCheck(system, machine, p, config.Programs[p - 1], out).Run();
}

// Texts the text area has no room for: a build leaves them out, so they come back empty.
int DroppedTexts(const SystemConfig& typed, const SystemConfig& built) {
  int dropped = 0;
  const auto count = [&dropped](const std::string& before, const std::string& after) {
    dropped += !before.empty() && after.empty();
  };
  for (int m = 0; m < MachineCount; ++m) {
    const MachineConfig& a = typed.Machines[m];
    const MachineConfig& b = built.Machines[m];
    count(a.Comment, b.Comment);
    for (int p = 0; p < ProgramCount; ++p) {
      // A program keeping its default name stores no text.
      const bool defaultName = a.Programs[p].Name == DefaultProgramName(p + 1);
      count(defaultName ? std::string() : a.Programs[p].Name, b.Programs[p].Name);
      count(a.Programs[p].Comment, b.Programs[p].Comment);
      for (int k = 0; k < DosingProgram::LineCount; ++k)
        count(a.Programs[p].Lines[k].comment, b.Programs[p].Lines[k].comment);
    }
  }
  return dropped;
}

void CheckTextArea(const WorkingConfig& config, std::vector<Finding>& out) {
  const int dropped = DroppedTexts(config.system, CanonicalSystem(config));
  if (dropped == 0) return;
  const std::string pattern =
      dropped == 1 ? UiText("ProgramChecker",
                            "the text area is full (\"Used text\" at 100%): %1 text will be lost on the "
                            "next write")
                   : UiText("ProgramChecker",
                            "the text area is full (\"Used text\" at 100%): %1 texts will be lost on "
                            "the next write");
  out.push_back({Severity::Error, 0, 0, 0, Substitute(pattern, {std::to_string(dropped)})});
}

}  // namespace

std::string Finding::Place() const {
  if (machine == 0) return UiText("ProgramChecker", "System");
  const std::string m = std::to_string(machine);
  const std::string p = std::to_string(program);
  const std::string l = std::to_string(line);
  if (program != 0 && line != 0)
    return Substitute(UiText("ProgramChecker", "Machine %1 / Program %2 / Line %3"), {m, p, l});
  if (program != 0) return Substitute(UiText("ProgramChecker", "Machine %1 / Program %2"), {m, p});
  if (line != 0) return Substitute(UiText("ProgramChecker", "Machine %1 / Line %2"), {m, l});
  return Substitute(UiText("ProgramChecker", "Machine %1"), {m});
}

std::string Finding::Text() const {
  const std::string pattern = severity == Severity::Error ? UiText("ProgramChecker", "error: %1: %2")
                                                          : UiText("ProgramChecker", "warning: %1: %2");
  return Substitute(pattern, {Place(), message});
}

std::vector<Finding> CheckProgram(const SystemConfig& system, int machine, int number,
                                  const DosingProgram& program) {
  std::vector<Finding> out;
  if (machine < 1 || machine > MachineCount || number < 1 || number > ProgramCount) return out;
  ProgramCheck(system, machine, number, program, out).Run();
  return out;
}

std::vector<Finding> CheckSystem(const WorkingConfig& config) {
  std::vector<Finding> out;
  CheckTextArea(config, out);
  for (int m = 1; m <= MachineCount; ++m) {
    if (config.system.MachineEnabled[m - 1]) CheckMachine(config.system, m, out);
  }

  return out;
}

bool HasErrors(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.severity == Severity::Error; });
}

}  // namespace qd::review
