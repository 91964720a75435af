#include "review/program_checker.h"

#include <gtest/gtest.h>

#include "review_test_lines.h"

namespace qd::review {
namespace {

using test::JumpLine;
using test::Line;
using test::PumpLine;
using test::WaitLine;

// Machine 1 enabled with a softener pump, program 1 active: dose, wait, flush.
SystemConfig GoodSystem() {
  SystemConfig system;
  MachineConfig& machine = system.Machines[0];
  machine.SoftnerPump = 7;
  machine.DefaultProgram = 1;
  DosingProgram& program = machine.Programs[0];
  program.Active = true;
  program.Lines[0] = PumpLine(1, 20, 30, 40);
  program.Lines[1] = WaitLine(60);
  program.Lines[2] = PumpLine(7, 10, 10, 10);
  return system;
}

std::vector<std::string> Texts(const std::vector<Finding>& findings) {
  std::vector<std::string> texts;
  for (const Finding& f : findings)
    texts.push_back(f.Text());
  return texts;
}

std::vector<std::string> CheckFirstProgram(const SystemConfig& system) {
  return Texts(CheckProgram(system, 1, 1, system.Machines[0].Programs[0]));
}

TEST(ProgramChecker, AGoodProgramHasNoFindings) {
  const SystemConfig system = GoodSystem();
  EXPECT_TRUE(CheckFirstProgram(system).empty());
  WorkingConfig config;
  config.system = system;
  EXPECT_TRUE(CheckSystem(config).empty()) << Texts(CheckSystem(config)).front();
}

TEST(ProgramChecker, PumpWithCalibrationZeroIsAnErrorWhereTheProgramRuns) {
  SystemConfig system = GoodSystem();
  system.Machines[0].Calibration[0] = "0";
  EXPECT_EQ(
      CheckFirstProgram(system),
      (std::vector<std::string>{"error: Machine 1 / Program 1 / Line 1: pump 1 has calibration 0: this line "
                                "doses nothing"}));
  for (const char* none : {"abc", "-30"}) {  // stored as 0 as well
    system.Machines[0].Calibration[0] = none;
    EXPECT_EQ(CheckFirstProgram(system).size(), 1u) << none;
  }
  system.Machines[0].Programs[0].Active = false;  // does not run: only a warning
  ASSERT_EQ(CheckProgram(system, 1, 1, system.Machines[0].Programs[0]).size(), 1u);
  EXPECT_EQ(CheckProgram(system, 1, 1, system.Machines[0].Programs[0])[0].severity, Severity::Warning);
  system.Machines[0].Calibration[0] = "256";  // limited to 250, not 0
  EXPECT_TRUE(CheckProgram(system, 1, 1, system.Machines[0].Programs[0]).empty());
}

TEST(ProgramChecker, ElectroluxProgramsThatASystemFileDoesNotKeepAreAWarning) {
  WorkingConfig config;
  config.system = GoodSystem();
  TriggerSettings& trigger = config.system.Machines[0].Trigger;
  trigger.ChangeType(trigger::TypeElectrolux);
  trigger.SetElectroluxEntry(15, 2);  // kept
  EXPECT_TRUE(CheckSystem(config).empty());
  trigger.SetElectroluxEntry(16, 2);
  EXPECT_EQ(Texts(CheckSystem(config)),
            (std::vector<std::string>{
                "warning: Machine 1: Electrolux programs 16..30 are set: a system file does not keep them"}));
  trigger.ChangeType(trigger::TypeMieleLogic);  // the same bytes mean texts now
  trigger.SetFieldText(16, 16, "Wash program 16+");
  EXPECT_TRUE(CheckSystem(config).empty());
}

TEST(ProgramChecker, PumpLineWithAllVolumesZero) {
  SystemConfig system = GoodSystem();
  system.Machines[0].Programs[0].Lines[2] = PumpLine(7, 0, 0, 0);
  EXPECT_EQ(CheckFirstProgram(system),
            (std::vector<std::string>{"warning: Machine 1 / Program 1 / Line 3: all volumes are 0"}));
  system.Machines[0].Programs[0].Lines[2] = PumpLine(7, 0, 0, 1);
  EXPECT_TRUE(CheckFirstProgram(system).empty());
  system.Machines[0].Programs[0].Lines[2] = Line(Instruction::PumpHighVolume, 7, 0, 0, 0, 0);
  EXPECT_EQ(CheckFirstProgram(system).size(), 1u);
  system.Machines[0].Programs[0].Lines[2] = Line(Instruction::PumpHighVolume, 7, 0, 0, 1, 0);  // 256 ml
  EXPECT_TRUE(CheckFirstProgram(system).empty());
}

TEST(ProgramChecker, TargetsOnEmptyLinesOrAfterTheLastInstruction) {
  SystemConfig system = GoodSystem();
  DosingProgram& program = system.Machines[0].Programs[0];
  program.Lines[3] = test::InputJumpLine(2, 10);  // beyond the last instruction (line 5)
  program.Lines[4] = Line(Instruction::Reset);
  program.Lines[5] = Line(Instruction::Empty);
  program.Lines[6] = WaitLine(1);
  program.Lines[7] = JumpLine(6);  // line 6 is Empty although instructions follow
  EXPECT_EQ(CheckFirstProgram(system),
            (std::vector<std::string>{
                "warning: Machine 1 / Program 1 / Line 4: continues at line 10, after the last instruction",
                "warning: Machine 1 / Program 1 / Line 8: continues at line 6, which is Empty",
            }));
  program.Lines[3] = test::InputJumpLine(2, 7);
  program.Lines[7] = JumpLine(7);
  EXPECT_TRUE(CheckFirstProgram(system).empty());
}

TEST(ProgramChecker, LoopsWithoutAWait) {
  SystemConfig system = GoodSystem();
  DosingProgram& program = system.Machines[0].Programs[0];
  program.Lines[3] = JumpLine(3);  // repeats line 3 (a pump) and itself forever
  EXPECT_EQ(CheckFirstProgram(system),
            (std::vector<std::string>{"error: Machine 1 / Program 1 / Line 4: loop from line 3 runs forever "
                                      "with no wait and no input wait"}));
  program.Lines[2] = test::InputJumpLine(1, 5);  // the loop may be left through an input
  program.Lines[4] = Line(Instruction::Reset);
  EXPECT_EQ(CheckFirstProgram(system),
            (std::vector<std::string>{
                "warning: Machine 1 / Program 1 / Line 4: loop from line 3 has no wait and no input wait"}));
  program.Lines[3] = JumpLine(2);  // the loop holds the wait of line 2
  EXPECT_TRUE(CheckFirstProgram(system).empty());
  program.Lines[1] = PumpLine(1, 1, 1, 1);
  program.Lines[1].Param(1) |= 0x40;  // waits until dispensed
  EXPECT_TRUE(CheckFirstProgram(system).empty());
}

TEST(ProgramChecker, ActiveProgramWithoutAPumpLine) {
  SystemConfig system = GoodSystem();
  DosingProgram& program = system.Machines[0].Programs[0];
  program.Lines.fill(ProgramLine{});
  program.Lines[0] = WaitLine(10);
  EXPECT_EQ(CheckFirstProgram(system),
            (std::vector<std::string>{"warning: Machine 1 / Program 1: active program without a pump line"}));
  program.Active = false;
  EXPECT_TRUE(CheckFirstProgram(system).empty());
}

TEST(ProgramChecker, SoftenerWithoutASoftenerPump) {
  SystemConfig system = GoodSystem();
  system.Machines[0].SoftnerPump = 0;
  EXPECT_EQ(CheckFirstProgram(system),
            (std::vector<std::string>{
                "warning: Machine 1 / Program 1: doses softener, but the machine has no softener pump"}));
  system.Machines[0].Programs[0].Softner = false;
  EXPECT_TRUE(CheckFirstProgram(system).empty());
}

TEST(SystemChecker, DefaultProgramThatIsNotActive) {
  WorkingConfig config;
  config.system = GoodSystem();
  config.system.Machines[0].DefaultProgram = 2;
  EXPECT_EQ(Texts(CheckSystem(config)),
            (std::vector<std::string>{"warning: Machine 1: default program 2 is not active"}));
  config.system.Machines[0].DefaultProgram = 0;  // none
  EXPECT_TRUE(CheckSystem(config).empty());
}

TEST(SystemChecker, OnlyEnabledMachinesAreChecked) {
  WorkingConfig config;
  config.system = GoodSystem();
  config.system.Machines[4] = config.system.Machines[0];
  config.system.Machines[4].Calibration[0] = "0";
  EXPECT_TRUE(CheckSystem(config).empty());
  config.system.MachineEnabled[4] = true;
  const auto findings = CheckSystem(config);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].Place(), "Machine 5 / Program 1 / Line 1");
  EXPECT_TRUE(HasErrors(findings));
}

TEST(SystemChecker, FullTextAreaLosesTexts) {
  WorkingConfig config;
  config.system = GoodSystem();
  for (auto& program : config.system.Machines[0].Programs) {
    for (int k = 0; k < DosingProgram::LineCount; ++k) {
      program.Lines[k] = WaitLine(1);
      program.Lines[k].comment = std::string(70, 'x') + std::to_string(k);
    }
  }
  const auto findings = CheckSystem(config);
  ASSERT_FALSE(findings.empty());
  EXPECT_EQ(findings[0].Text(),
            "error: System: the text area is full (\"Used text\" at 100%): 12 texts will be lost on the next "
            "write");
  config.system = GoodSystem();
  EXPECT_TRUE(CheckSystem(config).empty());
}

}  // namespace
}  // namespace qd::review
