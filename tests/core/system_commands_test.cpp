#include "model/system_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "model/image_parser.h"
#include "model/system_file.h"
#include "model/system_setup.h"

namespace qd {
namespace {

const LocalDateTime BuildTime{2026, 12, 9, 10, 0, 0, 2};

// Records what the configuration tells its observers.
struct Recorder {
  explicit Recorder(WorkingConfig& config) {
    config.observers.Add([this](const ConfigChange& change) { heard.push_back(change); });
  }
  std::vector<ConfigChange> heard;
};

struct CommandCase {
  const char* name;
  std::function<void(WorkingConfig&)> command;
  ChangeCause cause;
  std::uint8_t parts;
  int machine;
  bool usedText;  // the change reports the text area in use
};

TEST(SystemCommands, EachCommandTellsWhatItChanged) {
  const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "commands_test.xml";
  const DosingProgram program;
  const std::vector<CommandCase> cases = {
      {"new", [](WorkingConfig& c) { NewSystem(c, BuildTime); }, ChangeCause::New, ConfigPart::WholeSystem,
       -1, true},
      {"save", [&](WorkingConfig& c) { SaveSystem(c, file, BuildTime); }, ChangeCause::Save,
       ConfigPart::SystemSettings, -1, true},
      {"load", [&](WorkingConfig& c) { LoadSystem(c, file, BuildTime); }, ChangeCause::Load,
       ConfigPart::WholeSystem, -1, true},
      {"build", [](WorkingConfig& c) { BuildSystemImage(c, BuildTime); }, ChangeCause::Build, 0, -1, true},
      {"read", [](WorkingConfig& c) { ParseImage(c); }, ChangeCause::Read, ConfigPart::WholeSystem, -1, true},
      {"refused read",
       [](WorkingConfig& c) {
         c.image.bytes.fill(0);
         ParseImage(c);
       },
       ChangeCause::ReadRefused, ConfigPart::WholeSystem, -1, false},
      {"copy", [](WorkingConfig& c) { CopyMachine(c, 2, 5); }, ChangeCause::Copy, ConfigPart::WholeMachine, 5,
       false},
      {"clear one", [](WorkingConfig& c) { ClearMachine(c, 9); }, ChangeCause::Clear,
       ConfigPart::WholeMachine, 9, false},
      {"clear all", [](WorkingConfig& c) { ClearMachine(c, -1); }, ChangeCause::Clear,
       ConfigPart::WholeMachine, -1, false},
      {"program", [&](WorkingConfig& c) { StoreProgram(c, 3, 5, program); }, ChangeCause::Edit,
       ConfigPart::MachinePrograms, 3, false},
      {"trigger", [](WorkingConfig& c) { StoreTrigger(c, 0, TriggerSettings{}); }, ChangeCause::Edit,
       ConfigPart::MachineTrigger, 0, false},
      {"trigger type", [](WorkingConfig& c) { ChangeTriggerType(c, 4, trigger::TypeMieleLogic); },
       ChangeCause::Edit, ConfigPart::MachineTrigger, 4, false},
      {"calibration", [](WorkingConfig& c) { AcceptCalibration(c, 7, 7, 44); }, ChangeCause::Edit,
       ConfigPart::MachineCalibrations, 7, false},
      {"setup closed", [](WorkingConfig& c) { SettleSystemSetup(c); }, ChangeCause::Edit,
       ConfigPart::SystemSettings, -1, false},
  };
  for (const CommandCase& test : cases) {
    WorkingConfig config;
    NewSystem(config, BuildTime);
    Recorder recorder(config);
    test.command(config);
    ASSERT_EQ(recorder.heard.size(), 1u) << test.name;
    const ConfigChange& change = recorder.heard.front();
    EXPECT_EQ(change.cause, test.cause) << test.name;
    EXPECT_EQ(change.parts, test.parts) << test.name;
    EXPECT_EQ(change.machine, test.machine) << test.name;
    EXPECT_EQ(change.usedTextPercent.has_value(), test.usedText) << test.name;
  }
  std::filesystem::remove(file);
}

TEST(SystemCommands, CommandsOnMachinesThatDoNotExistChangeAndTellNothing) {
  WorkingConfig config;
  config.system.Machines[0].Comment = "kept";
  const SystemConfig before = config.system;
  Recorder recorder(config);
  CopyMachine(config, 0, 10);
  CopyMachine(config, -1, 0);
  CopyMachine(config, 3, 3);
  ClearMachine(config, 10);
  ClearMachine(config, -2);
  StoreProgram(config, 0, 6, DosingProgram{});
  StoreTrigger(config, 10, TriggerSettings{});
  AcceptCalibration(config, 0, 8, 10);
  AcceptCalibration(config, 0, 0, 10);
  EXPECT_EQ(config.system, before);
  EXPECT_TRUE(recorder.heard.empty());
}

TEST(SystemCommands, CopyAndClearTouchOnlyTheirMachines) {
  WorkingConfig config;
  config.system.Machines[1].ShortFlushTime = "17";
  config.system.Machines[1].Trigger.SetType(trigger::TypeElectrolux);
  config.system.Machines[2].Comment = "other";
  config.system.Machines[1].AllowNoProgram = true;
  CopyMachine(config, 1, 4);
  EXPECT_EQ(config.system.Machines[4], config.system.Machines[1]);
  EXPECT_EQ(config.system.Machines[2].Comment, "other");

  ClearMachine(config, 1);
  EXPECT_EQ(config.system.Machines[1].ShortFlushTime, "5");
  EXPECT_EQ(config.system.Machines[1].Trigger.Type(), trigger::TypeQd520);
  EXPECT_TRUE(config.system.Machines[1].AllowNoProgram) << "Allow no program stays";
  EXPECT_EQ(config.system.Machines[4].ShortFlushTime, "17");
}

TEST(SystemCommands, ClosingTheSetupCutsTheNameAndTheFilterTimeToTheirFields) {
  WorkingConfig config;
  config.system.SystemName = std::string(SystemNameLength, 'a') + "bcd";
  for (const auto& [typed, stored] : std::vector<std::pair<std::string, std::string>>{
           {"300", "44"}, {"-1", "255"}, {"abc", "0"}, {" 12 ", "12"}}) {
    config.system.DefaultInputFilter = typed;
    SettleSystemSetup(config);
    EXPECT_EQ(config.system.DefaultInputFilter, stored) << typed;
  }
  EXPECT_EQ(config.system.SystemName, std::string(SystemNameLength, 'a'));
}

TEST(ConfigObservers, FollowTheObjectTheyRegisteredWithNotItsCopies) {
  WorkingConfig config;
  int told = 0;
  const int key = config.observers.Add([&told](const ConfigChange&) { ++told; });
  WorkingConfig copy = config;
  NoteEdit(copy, ConfigPart::SystemSettings);
  EXPECT_EQ(told, 0);
  copy = config;
  NoteEdit(copy, ConfigPart::SystemSettings);
  EXPECT_EQ(told, 0);
  NoteEdit(config, ConfigPart::MachineSettings, 2);
  EXPECT_EQ(told, 1);
  config.observers.Remove(key);
  NoteEdit(config, ConfigPart::SystemSettings);
  EXPECT_EQ(told, 1);
}

TEST(ConfigObservers, AnObserverMayLeaveOrAddAnotherWhileItIsTold) {
  WorkingConfig config;
  int first = 0, added = 0;
  int key = 0;
  key = config.observers.Add([&](const ConfigChange&) {
    ++first;
    config.observers.Remove(key);
    config.observers.Add([&added](const ConfigChange&) { ++added; });
  });
  NoteEdit(config, ConfigPart::SystemSettings);
  NoteEdit(config, ConfigPart::SystemSettings);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(added, 1);
}

TEST(ConfigChange, TouchesThePartsOfItsMachineOrOfEveryMachine) {
  const ConfigChange one{ChangeCause::Edit, ConfigPart::MachinePrograms, 3, std::nullopt};
  EXPECT_TRUE(one.Touches(ConfigPart::MachinePrograms, 3));
  EXPECT_FALSE(one.Touches(ConfigPart::MachinePrograms, 2));
  EXPECT_FALSE(one.Touches(ConfigPart::MachineTrigger, 3));
  EXPECT_TRUE(one.Touches(ConfigPart::MachineTrigger | ConfigPart::MachinePrograms, 3));
  const ConfigChange all{ChangeCause::Load, ConfigPart::WholeSystem, -1, 1.0};
  EXPECT_TRUE(all.Replaces());
  EXPECT_FALSE(one.Replaces());
  for (int m = 0; m < MachineCount; ++m)
    EXPECT_TRUE(all.Touches(ConfigPart::MachineCalibrations, m));
}

}  // namespace
}  // namespace qd
