// Saving a system file when the process dies half way, when the disk is full and when the place cannot
// be written: the target is always the old or the new file, and the reason is given.

#include <gtest/gtest.h>
#include <unistd.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "model/system_file.h"
#include "support/rich_system.h"

namespace qd {
namespace {

using test::RichConfig;

#ifndef _WIN32
// A system as large as the editors allow: every machine, program and line carries a comment, so the
// text area is full and the file is about 200 KB.
WorkingConfig LargeConfig(char mark) {
  WorkingConfig config = RichConfig();
  config.system.SystemName = std::string(30, mark);
  for (std::size_t m = 0; m < config.system.Machines.size(); ++m) {
    MachineConfig& machine = config.system.Machines[m];
    config.system.MachineEnabled[m] = true;
    machine.Comment = std::string(40, mark);
    for (DosingProgram& program : machine.Programs) {
      program.Name = std::string(16, mark);
      program.Comment = std::string(40, mark);
      for (ProgramLine& line : program.Lines)
        line.comment = std::string(60, mark);
    }
  }
  return config;
}
#endif

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in `folder` other than `keep`.
std::vector<std::string> OtherFiles(const std::filesystem::path& folder, const std::string& keep) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
  }
  return names;
}

#ifndef _WIN32
// Runs `save` in a child process; gives its exit status, or -1 when it did not exit by itself.
template <typename Save>
int SaveInChild(Save save) {
  const pid_t child = fork();
  if (child == 0) _exit(save() ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

class SaveInterrupted : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("qd_save_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

#ifndef _WIN32
TEST_F(SaveInterrupted, KilledAtRandomPointsLeavesTheOldOrTheNewFile) {
  const std::array<WorkingConfig, 2> configs = {LargeConfig('a'), LargeConfig('b')};
  const std::array<std::string, 2> texts = {SystemFileText(configs[0]), SystemFileText(configs[1])};
  ASSERT_GT(texts[0].size(), 150'000u);
  const auto path = folder_ / "system.xml";
  ASSERT_TRUE(WriteSystemFile(configs[0], path).ok);

  // Kill points spread over one whole save, from before the temporary file exists to after the rename.
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(SaveInChild([&] { return WriteSystemFile(configs[1], path).ok; }), 0);
  const auto saveMicroseconds =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started)
          .count();
  std::mt19937 random(20261209);
  std::uniform_int_distribution<long> delay(0, std::max<long>(200, saveMicroseconds * 3 / 2));

  int current = 1;
  int replaced = 0;
  int leftovers = 0;
  for (int trial = 0; trial < 100; ++trial) {
    const int next = 1 - current;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(WriteSystemFile(configs[next], path).ok ? 0 : 1);
    usleep(static_cast<useconds_t>(delay(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    const std::string now = ReadText(path);
    ASSERT_TRUE(now == texts[current] || now == texts[next])
        << "trial " << trial << ": " << now.size() << " bytes, neither the old nor the new file";
    if (now == texts[next]) {
      current = next;
      ++replaced;
    }
    // Whatever an interrupted save left is its own temporary file, never something with the target's name.
    const std::vector<std::string> left = OtherFiles(folder_, "system.xml");
    if (!left.empty()) ++leftovers;
    for (const std::string& name : left) {
      EXPECT_EQ(name.rfind("system.xml.", 0), 0u) << name;
      EXPECT_EQ(name.size(), std::string("system.xml.01234567.tmp").size()) << name;
    }
  }
  RecordProperty("saves_completed_before_the_kill", replaced);
  RecordProperty("kills_that_left_a_temporary_file", leftovers);

  // The next save trips over no leftovers, and tidies those old enough to be sure no save is writing them.
  for (const std::string& name : OtherFiles(folder_, "system.xml"))
    std::filesystem::last_write_time(folder_ / name,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(2));
  ASSERT_TRUE(WriteSystemFile(configs[0], path).ok);
  EXPECT_EQ(ReadText(path), texts[0]);
  EXPECT_TRUE(OtherFiles(folder_, "system.xml").empty());
}

#endif  // !_WIN32

TEST_F(SaveInterrupted, NextSaveKeepsRecentLeftoversAndFilesThatOnlyLookLikeThem) {
  const auto path = folder_ / "system.xml";
  for (const char* name : {"system.xml.tmp", "system.xml.0123456g.tmp", "other.xml.01234567.tmp",
                           "system.xml.01234567.tmp.bak", "system.xml.bak"}) {
    std::ofstream(folder_ / name) << "keep";
  }
  std::ofstream(folder_ / "system.xml.89abcdef.tmp") << "<QDsystem";
  std::filesystem::last_write_time(folder_ / "system.xml.89abcdef.tmp",
                                   std::filesystem::file_time_type::clock::now() - std::chrono::hours(2));
  // Another program's save in progress.
  std::ofstream(folder_ / "system.xml.fedcba98.tmp") << "<QDsystem";
  ASSERT_TRUE(WriteFileAtomically(path, "new").ok);
  EXPECT_EQ(ReadText(path), "new");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "system.xml.89abcdef.tmp"));
  EXPECT_TRUE(std::filesystem::exists(folder_ / "system.xml.fedcba98.tmp"));
  EXPECT_EQ(OtherFiles(folder_, "system.xml").size(), 6u);
}

#ifndef _WIN32
TEST_F(SaveInterrupted, FullDiskKeepsTheOldFileAndSaysWhy) {
  const auto path = folder_ / "system.xml";
  const WorkingConfig old = RichConfig();
  ASSERT_TRUE(WriteSystemFile(old, path).ok);
  const std::string oldText = ReadText(path);

  // The file size limit makes the disk "full" after 4 KiB, also for root.
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  const int status = SaveInChild([&] {
    close(pipe_ends[0]);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const FileResult result = WriteSystemFile(LargeConfig('x'), path);
    (void)!write(pipe_ends[1], result.error.data(), result.error.size());
    return result.ok;
  });
  close(pipe_ends[1]);
  std::string error;
  char buffer[512];
  for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;)
    error.append(buffer, static_cast<std::size_t>(n));
  close(pipe_ends[0]);

  EXPECT_EQ(status, 1);
  EXPECT_NE(error.find(path.string()), std::string::npos) << error;
  EXPECT_NE(error.find("File too large"), std::string::npos) << error;
  EXPECT_EQ(ReadText(path), oldText);
  EXPECT_TRUE(OtherFiles(folder_, "system.xml").empty());
}

#endif  // !_WIN32

TEST_F(SaveInterrupted, PlacesThatCannotBeWrittenAreReportedWithTheFileAndTheReason) {
  const std::string text = SystemFileText(RichConfig());

  // A folder on the way that is a file.
  std::ofstream(folder_ / "plain") << "not a folder";
  const auto throughFile = folder_ / "plain" / "system.xml";
  const FileResult notFolder = WriteFileAtomically(throughFile, text);
  EXPECT_FALSE(notFolder.ok);
#ifdef _WIN32
  // Windows finds no such folder.
  EXPECT_EQ(notFolder.error, "cannot write " + throughFile.string() + ": No such file or directory");
#else
  EXPECT_EQ(notFolder.error, "cannot write " + throughFile.string() + ": Not a directory");
#endif
  EXPECT_EQ(ReadText(folder_ / "plain"), "not a folder");

  // A target that is a folder: the rename fails, the folder stays and the temporary file goes.
  const auto folderTarget = folder_ / "system.xml";
  std::filesystem::create_directories(folderTarget / "inside");
  const FileResult replaced = WriteFileAtomically(folderTarget, text);
  EXPECT_FALSE(replaced.ok);
  EXPECT_EQ(replaced.error.rfind("cannot replace " + folderTarget.string() + ": ", 0), 0u) << replaced.error;
  EXPECT_TRUE(std::filesystem::is_directory(folderTarget / "inside"));
  EXPECT_EQ(OtherFiles(folder_, "system.xml"), std::vector<std::string>{"plain"});

#ifndef _WIN32
  // sysfs takes no new files, not even from root; its existing file stays as it was.
  std::filesystem::path existing;
  for (const char* name : {"address_bits", "cpu_byteorder", "fscaps", "profiling"}) {
    const std::filesystem::path candidate = std::filesystem::path("/sys/kernel") / name;
    if (!ReadText(candidate).empty()) {
      existing = candidate;
      break;
    }
  }
  if (existing.empty()) GTEST_SKIP() << "no sysfs here";
  const std::string before = ReadText(existing);
  const FileResult readOnly = WriteFileAtomically(existing, text);
  EXPECT_FALSE(readOnly.ok);
  EXPECT_EQ(readOnly.error.rfind("cannot write " + existing.string() + ": ", 0), 0u) << readOnly.error;
  EXPECT_GT(readOnly.error.size(), ("cannot write " + existing.string() + ": ").size());
  EXPECT_EQ(ReadText(existing), before);
#endif
}

}  // namespace
}  // namespace qd
