#include "initial_memory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/bytes.h"
#include "model/system_commands.h"
#include "sample_logs.h"

namespace qd::sim {
namespace {

const std::string SampleSystem = std::string(QD_TEST_DATA_DIR) + "/sample_system.xml";

SimOptions Options(std::vector<std::string> args) {
  std::string error;
  auto options = ParseOptions(args, error);
  EXPECT_TRUE(options) << error;
  return options.value_or(SimOptions{});
}

TEST(InitialMemory, NewSystemWithTheDefaultIdentity) {
  std::string error;
  const auto memory = InitialMemory(Options({}), {}, error);
  ASSERT_TRUE(memory) << error;
  WorkingConfig config;
  NewSystem(config, Options({}).buildTime);
  EXPECT_TRUE(
      std::equal(config.image.bytes.begin() + 32, config.image.bytes.end(), memory->Bytes().begin() + 32));
  EXPECT_EQ(memory->Identity(), ControllerIdentity{});
  EXPECT_EQ(memory->At(0), 'Q');
}

TEST(InitialMemory, SystemFileIsBuiltAtTheFixedBuildTime) {
  std::string error;
  const auto memory = InitialMemory(Options({"--system", SampleSystem, "--serial", "777"}), {}, error);
  ASSERT_TRUE(memory) << error;
  WorkingConfig config;
  LocalDateTime buildTime;
  ASSERT_TRUE(LocalDateTime::Parse("2000-01-01 00:00:00", buildTime));
  ASSERT_TRUE(LoadSystem(config, SampleSystem, buildTime).file.ok);
  EXPECT_TRUE(
      std::equal(config.image.bytes.begin() + 32, config.image.bytes.end(), memory->Bytes().begin() + 32));
  EXPECT_EQ(memory->Identity().serialNumber, 777u);
  // BuildTime 2000-01-01 00:00:00, a Saturday.
  EXPECT_EQ(memory->At(0x67), 5);
  EXPECT_EQ(memory->At(0x6B), 1);
}

TEST(InitialMemory, ImageKeepsItsIdentityUnlessGiven) {
  const auto path = std::filesystem::temp_directory_path() / "qd310sim_initial_memory_test.bin";
  std::vector<char> image(ControllerMemory::Size, 0x11);
  image[0x08] = 5;
  std::ofstream(path, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
  std::string error;
  const auto kept = InitialMemory(Options({"--image", path.string()}), {}, error);
  ASSERT_TRUE(kept) << error;
  EXPECT_EQ(kept->At(0x08), 5);
  EXPECT_EQ(kept->At(0x07), 0x11);
  const auto given = InitialMemory(Options({"--image", path.string(), "--hardware", "2"}), {}, error);
  ASSERT_TRUE(given);
  EXPECT_EQ(given->At(0x07), 2);
  EXPECT_EQ(given->At(0x08), 5);
  std::filesystem::remove(path);
}

TEST(InitialMemory, UnusableFilesAreReported) {
  std::string error;
  EXPECT_FALSE(InitialMemory(Options({"--image", "/nonexistent/x.bin"}), {}, error));
  EXPECT_FALSE(error.empty());
  const auto path = std::filesystem::temp_directory_path() / "qd310sim_short_image_test.bin";
  std::ofstream(path, std::ios::binary) << "short";
  error.clear();
  EXPECT_FALSE(InitialMemory(Options({"--image", path.string()}), {}, error));
  EXPECT_NE(error.find("32768"), std::string::npos);
  std::filesystem::remove(path);
  error.clear();
  EXPECT_FALSE(InitialMemory(Options({"--system", "/nonexistent/x.xml"}), {}, error));
  EXPECT_FALSE(error.empty());
}

TEST(SampleLogs, MonthsAndAlarmsAreValidAndEndAtTheClock) {
  ControllerMemory memory;
  FillSampleLogs(memory, ClockTime{2024, 3, 15, 10, 0, 0});
  const auto log = memory.Read(memory.ConsumptionLogOffset(), layout::ConsumptionLogSize);
  int records = 0;
  int newest = 0;
  for (std::size_t r = 0; r < 24; ++r) {
    const int year = log[302 * r];
    const int month = log[302 * r + 1];
    if (month == 0) continue;
    ++records;
    EXPECT_LE(month, 12);
    newest = std::max(newest, year * 12 + month);
  }
  EXPECT_EQ(records, 14);
  EXPECT_EQ(newest, 24 * 12 + 3);

  const auto alarms = memory.Read(memory.AlarmLogOffset(), layout::AlarmLogSize);
  int entries = 0;
  for (std::size_t k = 0; k < 48; ++k) {
    const std::uint32_t word = bytes::GetU32LE(alarms, 16 + 5 * k + 1);
    const int day = (word >> 6) & 0x1F;
    if (day == 0) continue;
    ++entries;
    const int kind = alarms[16 + 5 * k] & 0x0F;
    EXPECT_GE(kind, 1);
    EXPECT_LE(kind, 6);
    EXPECT_GE((word >> 16) & 0x0F, 1u);
    EXPECT_LE((word >> 16) & 0x0F, 12u);
    EXPECT_LE((word >> 20) & 0x3F, 23u);
    EXPECT_LE((word >> 26) & 0x3F, 59u);
  }
  EXPECT_EQ(entries, 7);
}

TEST(SampleLogs, FollowTheFirmwareOneShift) {
  ControllerMemory memory;
  memory.SetIdentity({1, 1, 0, 0});
  FillSampleLogs(memory, ClockTime{2024, 3, 15, 10, 0, 0});
  EXPECT_EQ(memory.At(0x6300 + 302 * 5 + 1), 3);  // the newest month, March, in record 5
  EXPECT_EQ(memory.At(0x6200 + 1), 0x04);
}

}  // namespace
}  // namespace qd::sim
