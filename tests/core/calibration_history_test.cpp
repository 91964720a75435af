#include "logs/calibration_history.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "support/parallel_programs.h"

namespace qd::logs {
namespace {

namespace fs = std::filesystem;

CalibrationRecord Record(int machine, int pump, int oldValue, int newValue, int minute) {
  CalibrationRecord r;
  r.when = LocalDateTime{2026, 12, 9, 6, minute, 30, 2};
  r.serial = 310001;
  r.machine = machine;
  r.pump = pump;
  r.oldValue = oldValue;
  r.newValue = newValue;
  r.measuredMillilitres = 120;
  return r;
}

class CalibrationHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("qd_calibrations_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_F(CalibrationHistoryTest, RecordsAreAppendedAndReadBackInOrder) {
  const fs::path file = folder_ / "data" / "calibrations.csv";
  ASSERT_TRUE(AppendCalibration(file, Record(3, 2, 30, 25, 15)).ok);
  ASSERT_TRUE(AppendCalibration(file, Record(3, 2, 25, 24, 16)).ok);
  std::string error;
  const auto records = ReadCalibrationHistory(file, error);
  EXPECT_TRUE(error.empty());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], Record(3, 2, 30, 25, 15));
  EXPECT_EQ(records[1], Record(3, 2, 25, 24, 16));
  ASSERT_TRUE(ReadWholeFile(file, error).has_value());
  EXPECT_EQ(*ReadWholeFile(file, error),
            "time,serial,machine,pump,old,new,measured_ml\n"
            "2026-12-09 06:15:30,310001,3,2,30,25,120\n"
            "2026-12-09 06:16:30,310001,3,2,25,24,120\n");
}

TEST_F(CalibrationHistoryTest, DamagedLinesAreSkippedButKeptAsTheyAre) {
  fs::create_directories(folder_);
  const fs::path file = folder_ / "calibrations.csv";
  const std::string text =
      "time,serial,machine,pump,old,new,measured_ml\r\n"
      "2026-12-09 06:15:30,310001,3,2,30,25,120\r\n"
      "garbage\n"
      "2026-12-09 06:15:30,310001,11,2,30,25,120\n"     // no machine 11
      "2026-13-09 06:15:30,310001,3,2,30,25,120\n"      // no month 13
      "2026-12-09 06:15:30,310001,3,8,30,25,120\n"      // no pump 8
      "2026-12-09 06:15:30,4294967296,3,2,30,25,120\n"  // beyond 32 bits
      "2026-12-09 06:15:30,310001,3,2,30,25";           // cut short
  std::ofstream(file, std::ios::binary) << text;
  std::string error;
  EXPECT_EQ(ReadCalibrationHistory(file, error), (std::vector<CalibrationRecord>{Record(3, 2, 30, 25, 15)}));
  ASSERT_TRUE(AppendCalibration(file, Record(1, 1, 30, 31, 20)).ok);
  EXPECT_EQ(ReadCalibrationHistory(file, error).size(), 2u);
  EXPECT_EQ(*ReadWholeFile(file, error), text + "\n2026-12-09 06:20:30,310001,1,1,30,31,120\n");
}

TEST_F(CalibrationHistoryTest, SerialNumbersUseAll32Bits) {
  const fs::path file = folder_ / "calibrations.csv";
  std::vector<CalibrationRecord> written;
  for (const std::uint32_t serial : {0u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    written.push_back(Record(1, 1, 30, 31, 0));
    written.back().serial = serial;
    ASSERT_TRUE(AppendCalibration(file, written.back()).ok);
  }
  std::string error;
  EXPECT_EQ(ReadCalibrationHistory(file, error), written);
}

// Windows files have no such permissions: their folder gives them their access rights.
#ifndef _WIN32
TEST_F(CalibrationHistoryTest, TheHistoryAndItsFoldersArePrivate) {
  const mode_t old = umask(0);
  const fs::path file = folder_ / "data" / "calibrations.csv";
  const bool appended = AppendCalibration(file, Record(3, 2, 30, 25, 15)).ok;
  umask(old);
  ASSERT_TRUE(appended);
  EXPECT_EQ(fs::status(folder_).permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(folder_ / "data").permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

#endif

TEST_F(CalibrationHistoryTest, ProgramsAppendingAtTheSameTimeLoseNoRecord) {
  const fs::path file = folder_ / "calibrations.csv";
  constexpr int Programs = 4, Records = 25;
  EXPECT_TRUE(test::AllSucceedAtOnce(Programs, [&](int p) {
    bool ok = true;
    for (int r = 0; r < Records; ++r)
      ok = AppendCalibration(file, Record(p + 1, 1, r, r + 1, r)).ok && ok;
    return ok;
  }));
  std::string error;
  const auto records = ReadCalibrationHistory(file, error);
  EXPECT_EQ(records.size(), static_cast<std::size_t>(Programs * Records));
  for (int p = 0; p < Programs; ++p)
    EXPECT_EQ(LastCalibrations(records, 310001, p + 1, 1, Records + 1).size(),
              static_cast<std::size_t>(Records));
}

TEST_F(CalibrationHistoryTest, MissingFileHoldsNoneAndAnUnreadableOneIsNotReplaced) {
  std::string error;
  EXPECT_TRUE(ReadCalibrationHistory(folder_ / "none.csv", error).empty());
  EXPECT_TRUE(error.empty());
  // A folder where the file should be: it cannot be read, and nothing is written over it.
  fs::create_directories(folder_ / "calibrations.csv");
  EXPECT_FALSE(AppendCalibration(folder_ / "calibrations.csv", Record(1, 1, 30, 31, 20)).ok);
  EXPECT_TRUE(fs::is_directory(folder_ / "calibrations.csv"));
}

TEST(LastCalibrationsOf, OnePumpOfOneMachineOfOneControllerNewestFirst) {
  std::vector<CalibrationRecord> records;
  for (int k = 0; k < 6; ++k)
    records.push_back(Record(3, 2, 30 + k, 31 + k, k));
  records.push_back(Record(3, 1, 1, 2, 10));
  records.push_back(Record(4, 2, 1, 2, 11));
  CalibrationRecord other = Record(3, 2, 1, 2, 12);
  other.serial = 310002;
  records.push_back(other);
  const auto last = LastCalibrations(records, 310001, 3, 2, 3);
  ASSERT_EQ(last.size(), 3u);
  EXPECT_EQ(last[0].oldValue, 35);
  EXPECT_EQ(last[2].oldValue, 33);
  EXPECT_TRUE(LastCalibrations(records, 310001, 9, 2, 3).empty());
}

}  // namespace
}  // namespace qd::logs
