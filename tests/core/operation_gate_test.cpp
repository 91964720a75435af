#include "link/operation_gate.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qd::link {
namespace {

// One call on the gate and what it must answer. `repeat` runs a Tick that many times.
struct Step {
  enum Kind { Begin, End, Tick } kind;
  Operation operation = Operation::Read;
  int limit = 0;
  bool answer = false;                 // Begin and End
  std::optional<Operation> expired{};  // Tick
  int repeat = 1;
};

Step B(Operation operation, int limit, bool accepted) {
  return {Step::Begin, operation, limit, accepted};
}
Step E(Operation operation, bool ended) {
  return {Step::End, operation, 0, ended};
}
Step T(std::optional<Operation> expired) {
  return {Step::Tick, Operation::Read, 0, false, expired};
}
// `count` ticks on which nothing ends.
Step Quiet(int count) {
  return {Step::Tick, Operation::Read, 0, false, std::nullopt, count};
}

struct GateCase {
  const char* name;
  std::vector<Step> steps;
  std::optional<Operation> runningAtEnd;
};

TEST(OperationGate, SequencesOfBeginEndAndTick) {
  using enum Operation;
  const GateCase cases[] = {
      {"a second operation is refused and its limit ignored",
       {B(Read, 0, true), B(Write, 2, false), B(FirmwareUpdate, 1, false), Quiet(10)},
       Read},
      {"a refused Begin leaves the running limit alone",
       {B(LogReset, 2, true), B(AlarmLogClear, 100, false), T(std::nullopt), T(LogReset)},
       std::nullopt},
      {"End of an operation that is not running changes nothing",
       {B(LogReset, 4, true), E(Read, false), E(AlarmLogClear, false), Quiet(3), T(LogReset)},
       std::nullopt},
      {"End with nothing running", {E(Read, false), T(std::nullopt)}, std::nullopt},
      {"End frees the controller for another operation",
       {B(ResetMachine, 2, true), E(ResetMachine, true), E(ResetMachine, false), Quiet(5), B(Write, 0, true)},
       Write},
      {"the limit ends the operation on its last tick, not before",
       {B(AlarmLogClear, 3, true), Quiet(2), T(AlarmLogClear), Quiet(5)},
       std::nullopt},
      {"a limit of one tick ends on the first", {B(ResetMachine, 1, true), T(ResetMachine)}, std::nullopt},
      {"an expired operation is over: End refuses, another may begin",
       {B(LogReset, 1, true), T(LogReset), E(LogReset, false), B(CompareRead, 0, true)},
       CompareRead},
      {"limit 0 never expires", {B(Write, 0, true), Quiet(10000)}, Write},
      {"a second Begin of the same operation restarts its limit",
       {B(LogReset, 5, true), Quiet(3), B(LogReset, 5, true), Quiet(4), T(LogReset)},
       std::nullopt},
      {"a restart with limit 0 takes the limit away",
       {B(ResetMachine, 2, true), Quiet(1), B(ResetMachine, 0, true), Quiet(100)},
       ResetMachine},
      {"a restart may give a running operation a limit",
       {B(Read, 0, true), Quiet(50), B(Read, 2, true), Quiet(1), T(Read)},
       std::nullopt},
  };
  for (const GateCase& c : cases) {
    SCOPED_TRACE(c.name);
    OperationGate gate;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i));
      const Step& step = c.steps[i];
      switch (step.kind) {
        case Step::Begin:
          EXPECT_EQ(gate.Begin(step.operation, step.limit), step.answer);
          break;
        case Step::End:
          EXPECT_EQ(gate.End(step.operation), step.answer);
          break;
        case Step::Tick:
          for (int n = 0; n < step.repeat; ++n) {
            const std::optional<Operation> expired = gate.Tick();
            ASSERT_EQ(expired, step.expired) << "tick " << n + 1 << " of " << step.repeat;
          }
          break;
      }
      EXPECT_EQ(gate.Busy(), gate.Running().has_value());
    }
    EXPECT_EQ(gate.Running(), c.runningAtEnd);
  }
}

TEST(OperationGate, BusyTextNamesTheRunningOperation) {
  EXPECT_EQ(
      BusyText(Operation::Read),
      "The controller is busy reading the system data.\n\nWait until this has finished, or stop it first.");
  std::set<std::string_view> texts;
  for (int i = 0; i <= static_cast<int>(Operation::FirmwareUpdate); ++i) {
    const auto operation = static_cast<Operation>(i);
    SCOPED_TRACE("operation " + std::to_string(i));
    const std::string_view text = OperationText(operation);
    EXPECT_FALSE(text.empty());
    EXPECT_TRUE(texts.insert(text).second) << "shared by two operations: " << text;
    EXPECT_EQ(BusyText(operation), "The controller is busy " + std::string(text) +
                                       ".\n\nWait until this has finished, or stop it first.");
  }
}

}  // namespace
}  // namespace qd::link
