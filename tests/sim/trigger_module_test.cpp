#include "trigger_module.h"

#include <gtest/gtest.h>

#include <set>

#include "link/bus_payload.h"
#include "link/frame_codec.h"
#include "link/status_records.h"

namespace qd::sim {
namespace {

TEST(TriggerTypes, NamesAndCodes) {
  EXPECT_EQ(ParseTriggerType("qd520"), 1);
  EXPECT_EQ(ParseTriggerType("nyborg-hs"), 4);
  EXPECT_EQ(ParseTriggerType("ethernet"), 10);
  EXPECT_EQ(ParseTriggerType("6"), 6);
  EXPECT_EQ(ParseTriggerType("10"), 10);
  EXPECT_FALSE(ParseTriggerType("0"));
  EXPECT_FALSE(ParseTriggerType("7"));
  EXPECT_FALSE(ParseTriggerType("6x"));
  EXPECT_FALSE(ParseTriggerType(""));
}

TEST(TriggerModule, ReportsAreSealedFramesFromItsAddressToTheController) {
  TriggerModule module(9, trigger_type::Qd520);
  EXPECT_EQ(module.Address(), 11);
  const auto report = module.TakeReport(SimTime{});
  const link::PayloadView view(report);
  EXPECT_TRUE(link::SumIsValid(report));
  EXPECT_EQ(view.Command(), link::command::TriggerReport);
  EXPECT_EQ(view.Destination(), link::ControllerAddress);
  EXPECT_EQ(view.Source(), 11);
  EXPECT_EQ(report.size(), link::TriggerReportMinSize);
  EXPECT_EQ(report[link::LengthOffset], report.size());
  EXPECT_NE(view.Sequence(), 0);
}

TEST(TriggerModule, EveryFourthReportCarriesTheModuleStatus) {
  TriggerModule module(2, trigger_type::MieleLogic);
  for (int i = 1; i <= 8; ++i) {
    const auto report = module.TakeReport(TriggerModule::ReportInterval * i);
    const auto decoded = link::DecodeTriggerReport(report);
    ASSERT_TRUE(decoded);
    const bool status = i % TriggerModule::StatusEvery == 0;
    EXPECT_EQ(decoded->command, status ? 3 : 2);
    EXPECT_EQ(decoded->module.has_value(), status);
    if (status) {
      EXPECT_EQ(decoded->module->kind, link::TriggerModuleStatus::KindQD740);
      EXPECT_TRUE(decoded->module->serialConnection);
      EXPECT_EQ(decoded->module->VersionMajor(), 1);
      EXPECT_EQ(decoded->module->VersionMinor(), 4);
    }
  }
}

TEST(TriggerModule, ReportsFollowTheirInterval) {
  TriggerModule module(1, trigger_type::Qd520);
  const SimTime first = Milliseconds(37);
  EXPECT_FALSE(module.Due(first - SimTime(1)));
  EXPECT_TRUE(module.Due(first));
  module.TakeReport(first);
  EXPECT_FALSE(module.Due(first + TriggerModule::ReportInterval - SimTime(1)));
  EXPECT_TRUE(module.Due(first + TriggerModule::ReportInterval));
  EXPECT_FALSE(TriggerModule(1, trigger_type::MieleEthernet).Due(Milliseconds(100000)));
}

TEST(TriggerModule, InputsAndWeightChangeOverAWashCycle) {
  TriggerModule module(3, trigger_type::NyborgW3);
  std::set<int> inputs;
  std::set<int> weights;
  bool noWeight = false;
  for (int s = 0; s < 80; ++s) {
    const auto report = link::DecodeTriggerReport(module.TakeReport(Milliseconds(500) * s));
    ASSERT_TRUE(report);
    inputs.insert(report->inputs);
    // Input 6 means "no weight" on this interface: it never comes with a weight.
    if (report->weightFlag) {
      EXPECT_EQ(report->value, 0);
    }
    weights.insert(report->value);
    noWeight = noWeight || report->weightFlag;
  }
  EXPECT_GE(inputs.size(), 4u);
  EXPECT_GE(weights.size(), 5u);
  EXPECT_TRUE(noWeight);
}

TEST(TriggerModule, MieleLogicReportsPercentWithinItsRange) {
  TriggerModule module(5, trigger_type::MieleLogic);
  for (int s = 0; s < 40; ++s) {
    const auto report = link::DecodeTriggerReport(module.TakeReport(Milliseconds(500) * s));
    ASSERT_TRUE(report);
    EXPECT_LE(report->value, 200);
  }
}

TEST(TriggerModule, ElectroluxStatusNamesTheMachineProgram) {
  TriggerModule module(1, trigger_type::Electrolux);
  std::optional<link::TriggerReport> status;
  for (int i = 1; i <= 4; ++i)
    status = link::DecodeTriggerReport(module.TakeReport(Milliseconds(3000)));
  ASSERT_TRUE(status && status->electroluxProgram);
  EXPECT_GE(*status->electroluxProgram, 1);
  EXPECT_LE(*status->electroluxProgram, 30);
}

}  // namespace
}  // namespace qd::sim
