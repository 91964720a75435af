#include "review/backups.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "app/bytes.h"
#include "model/image_builder.h"
#include "model/image_parser.h"
#include "model/system_file.h"
#include "review/config_diff.h"
#include "support/parallel_programs.h"
#include "support/rich_system.h"

namespace qd::review {
namespace {

namespace fs = std::filesystem;

class BackupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("qd_backups_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // A configuration as a read from controller 310042 leaves it.
  static WorkingConfig ReadConfig() {
    WorkingConfig config = test::RichConfig();
    // A line of code 13 is "15 ???" once through a system file (its format keeps no invalid codes).
    config.system.Machines[0].Programs[0].Lines[5] = ProgramLine{};
    BuildImage(config, test::kBuildTime);
    bytes::PutU32LE(config.image.Span(), layout::SerialNumber, 310042);
    ParseImage(config);
    return config;
  }

  fs::path folder_;
};

TEST_F(BackupsTest, NamedBySerialAndTime) {
  EXPECT_EQ(BackupBaseName(310042, LocalDateTime{2026, 12, 9, 6, 5, 4, 2}), "310042_2026-12-09_06-05-04");
}

TEST_F(BackupsTest, StoresTheImageAndItsSystemFile) {
  const WorkingConfig config = ReadConfig();
  const StoredBackup stored =
      StoreBackup(folder_ / "backups", config, LocalDateTime{2026, 12, 9, 6, 5, 4, 2});
  ASSERT_TRUE(stored.result.ok) << stored.result.error;
  EXPECT_EQ(stored.backup.image.filename(), "310042_2026-12-09_06-05-04.bin");
  EXPECT_EQ(stored.backup.systemFile.filename(), "310042_2026-12-09_06-05-04.xml");
  EXPECT_EQ(stored.backup.serial, 310042u);
  EXPECT_EQ(stored.backup.time, "2026-12-09 06:05:04");

  std::string error;
  const auto image = ReadWholeFile(stored.backup.image, error);
  ASSERT_TRUE(image) << error;
  EXPECT_TRUE(std::equal(image->begin(), image->end(), config.image.bytes.begin(),
                         [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
  EXPECT_EQ(image->size(), layout::ImageSize);
  WorkingConfig loaded = test::FreshConfig();
  ASSERT_TRUE(ReadSystemFile(loaded, stored.backup.systemFile).ok);
  for (const Difference& d : CompareSystems(config.system, loaded.system))
    ADD_FAILURE() << d.Text();
}

TEST_F(BackupsTest, ReadsInTheSameSecondGetNamesOfTheirOwn) {
  const WorkingConfig config = ReadConfig();
  const LocalDateTime when{2026, 12, 9, 6, 5, 4, 2};
  const auto first = StoreBackup(folder_, config, when);
  const auto second = StoreBackup(folder_, config, when);
  const auto third = StoreBackup(folder_, config, when);
  ASSERT_TRUE(first.result.ok && second.result.ok && third.result.ok);
  EXPECT_EQ(second.backup.image.filename(), "310042_2026-12-09_06-05-04-2.bin");
  EXPECT_EQ(third.backup.image.filename(), "310042_2026-12-09_06-05-04-3.bin");
  EXPECT_EQ(ListBackups(folder_).size(), 3u);
}

TEST_F(BackupsTest, ListsNewestFirstAndIgnoresOtherFiles) {
  const WorkingConfig config = ReadConfig();
  StoreBackup(folder_, config, LocalDateTime{2025, 1, 2, 3, 4, 5, 3});
  StoreBackup(folder_, config, LocalDateTime{2026, 12, 9, 6, 5, 4, 2});
  StoreBackup(folder_, config, LocalDateTime{2026, 1, 1, 0, 0, 0, 3});
  std::ofstream(folder_ / "notes.bin") << "x";
  std::ofstream(folder_ / "310042_2026-13-01_00-00-00.bin") << "x";  // no such month
  std::ofstream(folder_ / "12ab_2026-01-01_00-00-00.bin") << "x";
  fs::remove(folder_ / "310042_2025-01-02_03-04-05.xml");

  const auto backups = ListBackups(folder_);
  ASSERT_EQ(backups.size(), 3u);
  EXPECT_EQ(backups[0].time, "2026-12-09 06:05:04");
  EXPECT_EQ(backups[1].time, "2026-01-01 00:00:00");
  EXPECT_EQ(backups[2].time, "2025-01-02 03:04:05");
  EXPECT_EQ(backups[0].serial, 310042u);
  EXPECT_TRUE(backups[2].systemFile.empty());
  EXPECT_FALSE(backups[0].systemFile.empty());
}

// Windows files have no such permissions: their folder gives them their access rights.
#ifndef _WIN32
TEST_F(BackupsTest, BackupsAndTheirFoldersArePrivate) {
  const mode_t old = umask(0);
  const auto stored =
      StoreBackup(folder_ / "data" / "backups", ReadConfig(), LocalDateTime{2026, 1, 1, 0, 0, 0, 3});
  umask(old);
  ASSERT_TRUE(stored.result.ok) << stored.result.error;
  for (const fs::path& made : {folder_, folder_ / "data", folder_ / "data" / "backups"})
    EXPECT_EQ(fs::status(made).permissions(), fs::perms::owner_all) << made;
  for (const fs::path& made : {stored.backup.image, stored.backup.systemFile})
    EXPECT_EQ(fs::status(made).permissions(), fs::perms::owner_read | fs::perms::owner_write) << made;
}

#endif

TEST_F(BackupsTest, ProgramsStoringAtTheSameTimeGetNamesOfTheirOwn) {
  const WorkingConfig config = ReadConfig();
  const LocalDateTime when{2026, 12, 9, 6, 5, 4, 2};
  constexpr int Programs = 4, Stores = 3;
  EXPECT_TRUE(test::AllSucceedAtOnce(Programs, [&](int) {
    bool ok = true;
    for (int s = 0; s < Stores; ++s)
      ok = StoreBackup(folder_, config, when).result.ok && ok;
    return ok;
  }));
  const auto backups = ListBackups(folder_);
  ASSERT_EQ(backups.size(), static_cast<std::size_t>(Programs * Stores));
  for (const Backup& backup : backups) {
    EXPECT_EQ(fs::file_size(backup.image), layout::ImageSize) << backup.image;
    EXPECT_FALSE(backup.systemFile.empty()) << backup.image;
  }
}

TEST_F(BackupsTest, ImagesStillBeingStoredAreNotListed) {
  StoreBackup(folder_, ReadConfig(), LocalDateTime{2026, 12, 9, 6, 5, 4, 2});
  std::ofstream(folder_ / "310042_2026-12-09_06-05-05.bin");
  ASSERT_EQ(ListBackups(folder_).size(), 1u);
  EXPECT_EQ(ListBackups(folder_)[0].time, "2026-12-09 06:05:04");
}

TEST_F(BackupsTest, MissingFolderHoldsNoneAndAnUnusableOneIsReported) {
  EXPECT_TRUE(ListBackups(folder_ / "none").empty());
  fs::create_directories(folder_);
  std::ofstream(folder_ / "file") << "x";
  const auto stored = StoreBackup(folder_ / "file" / "backups", ReadConfig(), LocalDateTime{});
  EXPECT_FALSE(stored.result.ok);
  EXPECT_NE(stored.result.error.find("backups"), std::string::npos) << stored.result.error;
}

}  // namespace
}  // namespace qd::review
