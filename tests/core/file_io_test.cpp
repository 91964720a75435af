// Saves over read-only files, links and files with their own permissions; whole-file reads that refuse
// devices, FIFOs and files beyond their limit.

#include "app/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/wait.h>
#endif

#include <algorithm>
#include <fstream>
#include <iterator>

#include "firmware/intel_hex.h"
#include "model/system_file.h"
#include "review/config_diff.h"

namespace qd {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

#ifndef _WIN32
unsigned ModeOf(const fs::path& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status.st_mode & 07777;
}
#endif

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("qd_file_io_" + std::to_string(getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "sub");
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
};

#ifndef _WIN32

TEST_F(FileIo, SavesRefuseReadOnlyFilesFollowLinksAndKeepPermissions) {
  const fs::path file = folder_ / "system.xml";
  for (const unsigned mode : {0444u, 0000u}) {
    fs::remove(file);
    std::ofstream(file) << "old";
    chmod(file.c_str(), mode);
    EXPECT_EQ(WriteFileAtomically(file, "new").error,
              "cannot write " + file.string() + ": the file is read-only");
    EXPECT_EQ(ModeOf(file), mode);
    chmod(file.c_str(), 0600);
    EXPECT_EQ(ReadText(file), "old");
  }
  for (const unsigned mode : {0600u, 0640u, 0755u}) {
    chmod(file.c_str(), mode);
    ASSERT_TRUE(WriteFileAtomically(file, "new").ok);
    EXPECT_EQ(ModeOf(file), mode);
  }
  ASSERT_TRUE(WriteFileAtomically(file, "private", FileAccess::Private).ok);
  EXPECT_EQ(ModeOf(file), 0700u);

  fs::create_symlink("system.xml", folder_ / "link.xml");
  fs::create_symlink(folder_ / "sub" / "new.xml", folder_ / "sub" / "dangling.xml");
  for (const fs::path& link : {folder_ / "link.xml", folder_ / "sub" / "dangling.xml"}) {
    ASSERT_TRUE(WriteFileAtomically(link, link.string()).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadText(link), link.string());
  }
  EXPECT_EQ(ModeOf(file), 0700u);

  const struct {
    mode_t umask;
    FileAccess access;
    unsigned mode;
  } fresh[] = {
      {022, FileAccess::Shared, 0644}, {077, FileAccess::Shared, 0600}, {0, FileAccess::Private, 0600}};
  for (const auto& f : fresh) {
    const mode_t old = umask(f.umask);
    fs::remove(folder_ / "fresh.xml");
    EXPECT_TRUE(WriteFileAtomically(folder_ / "fresh.xml", "new", f.access).ok);
    umask(old);
    EXPECT_EQ(ModeOf(folder_ / "fresh.xml"), f.mode) << std::oct << f.umask;
  }
}

// Runs `work` in a child that may take neither long nor much memory: a read that hangs or swallows a
// device fails the test instead of stopping it.
template <typename Work>
std::string InChild(Work work) {
  int ends[2];
  if (pipe(ends) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    alarm(10);
#if !defined(__SANITIZE_ADDRESS__)
    // The address sanitizer reserves far more address space than this for its shadow memory.
    const rlimit memory{512u << 20, 512u << 20};
    setrlimit(RLIMIT_AS, &memory);
#endif
    try {
      const std::string answer = work();
      (void)!write(ends[1], answer.data(), answer.size());
    } catch (...) {
    }
    _exit(0);
  }
  close(ends[1]);
  std::string answer;
  char buffer[512];
  for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;)
    answer.append(buffer, static_cast<std::size_t>(n));
  close(ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? answer : "killed";
}

TEST_F(FileIo, WholeFileReadsTakeOnlyRegularFilesWithinTheirLimit) {
  const auto sized = [&](const char* name, std::size_t size) {
    std::ofstream(folder_ / name) << std::string(size, ' ');
    return folder_ / name;
  };
  const auto bytes = [](const fs::path& path, std::uintmax_t limit) {
    std::string error;
    const auto data = ReadWholeFile(path, error, limit);
    return data ? "read " + std::to_string(data->size()) : error;
  };
  const auto system = [](const fs::path& path) {
    WorkingConfig config;
    return ReadSystemFile(config, path).error;
  };
  const auto hex = [](const fs::path& path) {
    return firmware::LoadIntelHexFile(path, firmware::ControllerTarget).error.text;
  };
  const auto image = [](const fs::path& path) { return review::LoadSystemForComparison(path).error; };
  ASSERT_EQ(mkfifo((folder_ / "fifo").c_str(), 0600), 0);
  const fs::path fifo = folder_ / "fifo", four = sized("four", 4);

  const struct {
    std::function<std::string()> read;
    std::string answer;
  } cases[] = {
      {[&] { return bytes("/dev/zero", 1u << 30); }, "cannot read /dev/zero: not a regular file"},
      {[&] { return bytes(fifo, 100); }, "cannot read " + fifo.string() + ": not a regular file"},
      {[&] { return bytes(folder_, 100); }, "cannot read " + folder_.string() + ": Is a directory"},
      {[&] { return bytes(four, 3); }, "cannot read " + four.string() + ": the file is larger than 3 bytes"},
      {[&] { return bytes(four, 4); }, "read 4"},
      // Its size is 0 until read: the limit holds for what is read.
      {[&] { return bytes("/proc/self/maps", 10); },
       "cannot read /proc/self/maps: the file is larger than 10 bytes"},
      {[&] { return system("/dev/zero"); }, "cannot read /dev/zero: not a regular file"},
      {[&] { return system(sized("big.xml", (16u << 20) + 1)); },
       "cannot read " + (folder_ / "big.xml").string() + ": the file is larger than 16 MB"},
      {[&] { return hex(sized("big.hex", (4u << 20) + 1)); },
       "Unable to open Intel hex file: it is larger than 4 MB."},
      {[&] { return hex(fifo); }, "Unable to open Intel hex file: it is not a regular file."},
      {[&] { return hex(folder_ / "missing.hex"); }, "Unable to open Intel hex file."},
      {[&] { return image(sized("big.bin", 32769)); },
       "cannot read " + (folder_ / "big.bin").string() + ": the file is larger than 32768 bytes"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(InChild(c.read), c.answer);
}

#endif  // !_WIN32

#ifdef _WIN32

// Windows renames over an existing file only when asked to, and marks a file read-only by an attribute.
TEST_F(FileIo, SavesReplaceExistingFilesAndRefuseReadOnlyOnes) {
  const fs::path file = folder_ / "system.xml";
  for (const std::string text : {"old", "new", "newer"}) {
    ASSERT_TRUE(WriteFileAtomically(file, text).ok) << text;
    EXPECT_EQ(ReadText(file), text);
  }
  const auto updated = UpdateFileAtomically(file, [](const std::string& old, std::string&) {
    return std::optional<std::string>(old + " and updated");
  });
  ASSERT_TRUE(updated.ok) << updated.error;
  EXPECT_EQ(ReadText(file), "newer and updated");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);  // sub, the file

  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(WriteFileAtomically(file, "lost").error,
            "cannot write " + file.string() + ": the file is read-only");
  EXPECT_EQ(ReadText(file), "newer and updated");
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A file dialog gives "C:/folder/name.xml", a technician types "C:\folder\name.xml": both name one file.
TEST_F(FileIo, PathsWithDriveLettersTakeEitherSlash) {
  std::string forward = fs::absolute(folder_).string(), backward = forward;
  std::replace(forward.begin(), forward.end(), '\\', '/');
  std::replace(backward.begin(), backward.end(), '/', '\\');
  ASSERT_EQ(forward[1], ':');

  ASSERT_TRUE(CreateFolders(forward + "/made/deeper").ok);
  EXPECT_TRUE(fs::is_directory(folder_ / "made" / "deeper"));
  ASSERT_TRUE(WriteFileAtomically(forward + "/made/deeper/system.xml", "first").ok);
  std::string error;
  EXPECT_EQ(ReadWholeFile(backward + "\\made\\deeper\\system.xml", error), "first") << error;
  ASSERT_TRUE(WriteFileAtomically(backward + "\\made\\deeper\\system.xml", "second").ok);
  EXPECT_EQ(ReadText(folder_ / "made" / "deeper" / "system.xml"), "second");
  EXPECT_EQ(CreateEmptyFile(forward + "/made/deeper/system.xml", FileAccess::Private, error),
            NewFile::NameTaken);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "made" / "deeper"), fs::directory_iterator()), 1);
}

TEST_F(FileIo, DevicesAreNoFiles) {
  std::string error;
  EXPECT_FALSE(ReadWholeFile("NUL", error));
  EXPECT_EQ(error, "cannot read NUL: not a regular file");
  const FileResult saved = WriteFileAtomically("NUL", "data");
  EXPECT_FALSE(saved.ok);
  EXPECT_EQ(saved.error, "cannot replace NUL: not a regular file");
}

#endif  // _WIN32

}  // namespace
}  // namespace qd
