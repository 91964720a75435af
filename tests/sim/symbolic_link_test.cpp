#include "symbolic_link.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace qd::sim {
namespace {

namespace fs = std::filesystem;

class SymbolicLinkTest : public ::testing::Test {
 protected:
  SymbolicLinkTest()
      : dir_(fs::temp_directory_path() / ("qd310sim_link_test_" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
  }
  ~SymbolicLinkTest() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_F(SymbolicLinkTest, ReplacesAnExistingLinkAndRemovesItAtTheEnd) {
  const fs::path link = dir_ / "bus";
  fs::create_symlink("/dev/null", link);
  {
    SymbolicLink made;
    std::string error;
    ASSERT_TRUE(made.Create(link, "/dev/zero", error)) << error;
    EXPECT_EQ(fs::read_symlink(link), "/dev/zero");
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST_F(SymbolicLinkTest, LeavesALinkAloneThatSomeoneElseReplaced) {
  const fs::path link = dir_ / "bus";
  {
    SymbolicLink made;
    std::string error;
    ASSERT_TRUE(made.Create(link, "/dev/zero", error)) << error;
    fs::remove(link);
    fs::create_symlink("/dev/null", link);
  }
  EXPECT_EQ(fs::read_symlink(link), "/dev/null");
}

TEST_F(SymbolicLinkTest, RefusesToReplaceWhatIsNoLink) {
  SymbolicLink made;
  std::string error;
  EXPECT_FALSE(made.Create(dir_, "/dev/zero", error));
  EXPECT_FALSE(error.empty());
  const fs::path file = dir_ / "precious";
  std::ofstream(file) << "keep me";
  error.clear();
  EXPECT_FALSE(made.Create(file, "/dev/zero", error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file)));
  error.clear();
  EXPECT_FALSE(made.Create(dir_ / "missing" / "bus", "/dev/zero", error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace qd::sim
