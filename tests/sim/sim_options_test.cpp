#include "sim_options.h"

#include <gtest/gtest.h>

#include "qd_version.h"

namespace qd::sim {
namespace {

std::optional<SimOptions> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string reason;
  auto options = ParseOptions(args, reason);
  if (error) *error = reason;
  return options;
}

TEST(SimOptions, Defaults) {
  const auto options = Parse({});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->baud, 115200);
  EXPECT_EQ(options->pollIntervalMs, 20);
  EXPECT_EQ(options->answerTimeoutMs, 50);
  EXPECT_EQ(options->clockMode, SimOptions::ClockMode::Now);
  EXPECT_EQ(options->buildTime.year, 2000);
  EXPECT_EQ(options->buildTime.weekday, 5);  // a Saturday
  EXPECT_FALSE(options->link);
  EXPECT_FALSE(options->verbose);
}

TEST(SimOptions, EveryOptionBothWays) {
  const auto options = Parse({"--link",
                              "/tmp/bus",
                              "--system=sys.xml",
                              "--serial",
                              "4294967295",
                              "--firmware=1.7",
                              "--hardware",
                              "9",
                              "--verbose",
                              "--poll-interval",
                              "5",
                              "--answer-timeout=80",
                              "--no-pacing",
                              "--fault",
                              "drop-answers:2",
                              "--fault=noise",
                              "--trigger",
                              "3:nyborg-w3",
                              "--trigger",
                              "5:10",
                              "--dump-memory",
                              "out.bin",
                              "--old-status",
                              "--seed",
                              "9",
                              "--clock",
                              "2024-02-29 13:14:15",
                              "--sample-logs",
                              "--build-time",
                              "2023-01-02 03:04:05"});
  ASSERT_TRUE(options);
  EXPECT_EQ(*options->link, "/tmp/bus");
  EXPECT_EQ(*options->systemFile, "sys.xml");
  EXPECT_EQ(*options->serialNumber, 4294967295u);
  EXPECT_EQ(*options->firmwareMajor, 1);
  EXPECT_EQ(*options->firmwareMinor, 7);
  EXPECT_EQ(*options->hardwareVersion, 9);
  EXPECT_TRUE(options->verbose);
  EXPECT_EQ(options->pollIntervalMs, 5);
  EXPECT_EQ(options->answerTimeoutMs, 80);
  EXPECT_EQ(options->baud, 0);
  ASSERT_EQ(options->faults.size(), 2u);
  EXPECT_EQ(options->faults[1].kind, FaultKind::Noise);
  EXPECT_EQ(options->triggers, (std::vector<TriggerOption>{{3, 3}, {5, 10}}));
  EXPECT_EQ(*options->dumpMemory, "out.bin");
  EXPECT_TRUE(options->oldStatus);
  EXPECT_EQ(options->seed, 9u);
  EXPECT_EQ(options->clockMode, SimOptions::ClockMode::From);
  EXPECT_EQ(options->clockStart, (ClockTime{2024, 2, 29, 13, 14, 15}));
  EXPECT_TRUE(options->sampleLogs);
  EXPECT_EQ(options->buildTime.month, 1);
  EXPECT_EQ(options->buildTime.second, 5);
}

TEST(SimOptions, ClockOffAndBaud) {
  const auto options = Parse({"--clock", "off", "--baud", "9600"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->clockMode, SimOptions::ClockMode::Off);
  EXPECT_EQ(options->baud, 9600);
}

TEST(SimOptions, LaterTriggerForTheSameMachineWins) {
  const auto options = Parse({"--trigger", "2:1", "--trigger", "2:electrolux"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->triggers, (std::vector<TriggerOption>{{2, 6}}));
}

TEST(SimOptions, Refusals) {
  const std::vector<std::vector<std::string>> bad = {
      {"--bogus"},
      {"--link"},
      {"--verbose=yes"},
      {"--serial", "4294967296"},
      {"--serial", "12a"},
      {"--firmware", "3"},
      {"--firmware", "3.256"},
      {"--hardware", "-1"},
      {"--trigger", "11:1"},
      {"--trigger", "3:7"},
      {"--trigger", "3"},
      {"--fault", "flood"},
      {"--clock", "yesterday"},
      {"--build-time", "2024-02-30 00:00:00"},
      {"--answer-timeout", "0"},
      {"--system", "a.xml", "--image", "b.bin"},
      {"positional"},
  };
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(Parse(args, &error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
}

TEST(SimOptions, HelpNamesEveryOption) {
  const std::string help = HelpText();
  for (const char* option :
       {"--link",       "--system",     "--image",         "--serial",         "--firmware",
        "--hardware",   "--verbose",    "--poll-interval", "--answer-timeout", "--baud",
        "--no-pacing",  "--fault",      "--trigger",       "--dump-memory",    "--old-status",
        "--seed",       "--clock",      "--sample-logs",   "--build-time",     "drop-answers",
        "bad-checksum", "drop-replies", "noise",           "silence:MS",       "every=M",
        "rate=P",       "nyborg-w3",    "--version",       "--gateway-fleet",  "@SERIAL"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
  EXPECT_TRUE(Parse({"--help"})->help);
}

TEST(SimOptions, Version) {
  EXPECT_FALSE(Parse({})->version);
  const auto options = Parse({"--seed", "3", "--version"});
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->version);
  EXPECT_FALSE(options->help);
  std::string error;
  EXPECT_FALSE(Parse({"--version=1"}, &error));
  EXPECT_NE(error.find("takes no value"), std::string::npos) << error;
  EXPECT_EQ(VersionText(), std::string("qd310sim ") + qd::version::Text + "\n");
  // The numbers the about box shows agree with the text.
  EXPECT_TRUE(
      std::string(qd::version::Text)
          .starts_with(std::to_string(qd::version::Major) + "." + std::to_string(qd::version::Minor)));
}

}  // namespace
}  // namespace qd::sim
