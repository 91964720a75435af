#include "logs/calibration_history.h"

#include <gtest/gtest.h>

#include <fstream>

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

TEST_F(CalibrationHistoryTest, DamagedLinesAreSkippedAndKeptOut) {
  fs::create_directories(folder_);
  const fs::path file = folder_ / "calibrations.csv";
  std::ofstream(file) << "time,serial,machine,pump,old,new,measured_ml\r\n"
                         "2026-12-09 06:15:30,310001,3,2,30,25,120\r\n"
                         "garbage\n"
                         "2026-12-09 06:15:30,310001,11,2,30,25,120\n"  // no machine 11
                         "2026-13-09 06:15:30,310001,3,2,30,25,120\n"   // no month 13
                         "2026-12-09 06:15:30,310001,3,8,30,25,120\n"   // no pump 8
                         "2026-12-09 06:15:30,310001,3,2,30,25\n";
  std::string error;
  EXPECT_EQ(ReadCalibrationHistory(file, error), (std::vector<CalibrationRecord>{Record(3, 2, 30, 25, 15)}));
  ASSERT_TRUE(AppendCalibration(file, Record(1, 1, 30, 31, 20)).ok);
  EXPECT_EQ(ReadCalibrationHistory(file, error).size(), 2u);
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
