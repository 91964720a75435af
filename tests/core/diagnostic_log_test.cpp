#include "app/diagnostic_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>

namespace qd {
namespace {

namespace fs = std::filesystem;

// Time stands still unless a test moves it; hooks run inside the log's clock calls.
struct FakeClock {
  LogTimestamp now{2024, 3, 5, 14, 7, 9, 42};
  std::int64_t milliseconds = 0;
  std::function<void()> onLocalNow;
  std::function<void()> onMilliseconds;

  DiagnosticLogClock Clock() {
    return {[this] {
              if (onLocalNow) onLocalNow();
              return now;
            },
            [this] {
              if (onMilliseconds) onMilliseconds();
              return milliseconds;
            }};
  }
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// The entry for the fake clock's default time.
const std::string Stamp = "\n2024-03-05 14:07:09.420> ";

std::string StartEntry(const std::string& program = "qdsystem") {
  return Stamp + program + " loaded, Compile date: " + DiagnosticLog::CompileDate() + ", Version: 3.17";
}

class DiagnosticLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter = 0;
    std::ostringstream name;
    name << "qd_diagnostic_log_" << ::getpid() << "_" << counter++ << "_"
         << ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = fs::temp_directory_path() / name.str();
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "bin");
    place_ = {dir_ / "bin" / "qdsystem", dir_ / "data"};
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  fs::path LogPath() const { return dir_ / "bin" / "Log.qdsystem.txt"; }
  fs::path RotationPath() const { return dir_ / "bin" / "Log.qdsystem1.txt"; }

  fs::path dir_;
  DiagnosticLogPlace place_;
  FakeClock clock_;
  DiagnosticLog log_{clock_.Clock()};
};

std::string Filler(std::size_t size) {
  return std::string(size, 'x');
}

// --- First run, start and exit entries ---------------------------------------------------------------------

TEST_F(DiagnosticLogTest, FirstRunWritesSwitchLineStartEntryAndByeAtStop) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_EQ(log_.Path(), LogPath());
  // Start closes the file, so the entry is on disk although the flush interval has not passed.
  EXPECT_EQ(ReadFile(LogPath()), "noDebugLog " + StartEntry());

  clock_.now = {2024, 3, 5, 18, 30, 0, 5};
  log_.Stop();
  EXPECT_EQ(ReadFile(LogPath()), "noDebugLog " + StartEntry() + "\n2024-03-05 18:30:00.050> Bye...");
}

TEST_F(DiagnosticLogTest, CompileDateIsMonthDayYearAndTime) {
  EXPECT_TRUE(
      std::regex_match(DiagnosticLog::CompileDate(),
                       std::regex(R"([A-Z][a-z]{2} [ 0-3][0-9] [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2})")));
}

TEST_F(DiagnosticLogTest, StartWithoutVersionHasNoVersionContinuation) {
  ASSERT_TRUE(log_.Start(place_));
  EXPECT_EQ(ReadFile(LogPath()),
            "noDebugLog " + Stamp + "qdsystem loaded, Compile date: " + DiagnosticLog::CompileDate());
}

TEST_F(DiagnosticLogTest, ProgramExtensionIsLoggedButNotPartOfTheFileName) {
  EXPECT_EQ(DiagnosticLogFileName("/opt/qd/qdsystem.exe"), "Log.qdsystem.txt");
  EXPECT_EQ(DiagnosticLogRotationFileName("/opt/qd/qdsystem.exe"), "Log.qdsystem1.txt");

  place_.executable = dir_ / "bin" / "qdsystem.exe";
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_EQ(ReadFile(LogPath()), "noDebugLog " + StartEntry("qdsystem.exe"));
}

TEST_F(DiagnosticLogTest, LaterRunsAppendToTheExistingLog) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  log_.Stop();
  const std::string firstRun = ReadFile(LogPath());

  DiagnosticLog second(clock_.Clock());
  ASSERT_TRUE(second.Start(place_, 3, 17));
  EXPECT_EQ(ReadFile(LogPath()), firstRun + StartEntry());
}

TEST_F(DiagnosticLogTest, ByeIsWrittenOnceWhenStopIsCalledTwice) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_TRUE(log_.ExitEntryDue());
  log_.Stop();
  log_.Stop();
  EXPECT_FALSE(log_.ExitEntryDue());
  EXPECT_EQ(ReadFile(LogPath()), "noDebugLog " + StartEntry() + Stamp + "Bye...");
}

TEST_F(DiagnosticLogTest, ApplicationLogWritesByeAtProgramExit) {
  DiagnosticLogPlace place = place_;
#ifdef _WIN32
  // Windows runs the program that exits as a new copy of this one, which starts this test anew in a test
  // folder of its own: it is told to use this one.
  if (const char* first = std::getenv("QD_EXITING_PROGRAM")) {
    fs::remove_all(dir_);
    place.executable = first;
  } else {
    _putenv_s("QD_EXITING_PROGRAM", place.executable.string().c_str());
  }
#endif
  EXPECT_EXIT(
      {
        StartApplicationLog(place, 3, 17);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
#ifdef _WIN32
  _putenv_s("QD_EXITING_PROGRAM", "");
#endif
  const std::string content = ReadFile(LogPath());
  EXPECT_TRUE(std::regex_search(content, std::regex(R"(, Version: 3\.17\n[-0-9 :.]{23}> Bye\.\.\.$)")))
      << content;
}

// --- Switching the log off ---------------------------------------------------------------------------------

TEST_F(DiagnosticLogTest, FirstLineBeginningWithNoDebugLogGetsNoEntries) {
  const std::string content = "NoDebugLog \n2024-01-01 10:00:00.000> qdsystem loaded";
  WriteFile(LogPath(), content);
  EXPECT_FALSE(log_.Start(place_, 3, 17));
  log_.Write("MsgDialog: %s", "Wrong System login code");
  log_.Append("more");
  log_.Stop();
  EXPECT_EQ(ReadFile(LogPath()), content);
}

TEST_F(DiagnosticLogTest, SwitchOffMarkCountsAnywhereInTheFirstLineOnly) {
  WriteFile(LogPath(), "log off: NoDebugLog please\n");
  EXPECT_FALSE(log_.Start(place_, 3, 17));

  WriteFile(LogPath(), "noDebugLog \nNoDebugLog\n");
  EXPECT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_EQ(ReadFile(LogPath()), "noDebugLog \nNoDebugLog\n" + StartEntry());
}

TEST_F(DiagnosticLogTest, SwitchOffMarkIsCaseSensitive) {
  WriteFile(LogPath(), "nodebuglog NODEBUGLOG");
  EXPECT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_EQ(ReadFile(LogPath()), "nodebuglog NODEBUGLOG" + StartEntry());
}

TEST_F(DiagnosticLogTest, OnlyTheFirst99CharactersOfTheFirstLineAreSearched) {
  WriteFile(LogPath(), Filler(89) + "NoDebugLog\n");  // the mark ends at character 99
  EXPECT_FALSE(log_.Start(place_, 3, 17));

  WriteFile(LogPath(), Filler(90) + "NoDebugLog\n");  // the mark ends at character 100
  EXPECT_TRUE(log_.Start(place_, 3, 17));
}

TEST_F(DiagnosticLogTest, SwitchedOffLogIsStillRotatedAndStaysOff) {
  const std::string firstLine = "NoDebugLog \n";
  const std::string old = firstLine + Filler(200'001 - firstLine.size());
  WriteFile(LogPath(), old);
  EXPECT_FALSE(log_.Start(place_, 3, 17));
  log_.Stop();
  EXPECT_EQ(ReadFile(RotationPath()), old);
  EXPECT_EQ(ReadFile(LogPath()), firstLine);
}

// --- Rotation ----------------------------------------------------------------------------------------------

TEST_F(DiagnosticLogTest, LogAbove200000BytesIsMovedToTheRotationFile) {
  const std::string firstLine = "noDebugLog \n";
  const std::string old = firstLine + Filler(200'001 - firstLine.size());
  WriteFile(LogPath(), old);
  WriteFile(RotationPath(), "an older rotation file");
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_EQ(ReadFile(RotationPath()), old);
  EXPECT_EQ(ReadFile(LogPath()), firstLine + StartEntry());
}

TEST_F(DiagnosticLogTest, LogOfExactly200000BytesIsKept) {
  const std::string old = "noDebugLog \n" + Filler(200'000 - 12);
  WriteFile(LogPath(), old);
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_FALSE(fs::exists(RotationPath()));
  EXPECT_EQ(ReadFile(LogPath()), old + StartEntry());
}

TEST_F(DiagnosticLogTest, RotatedLogKeepsTheFirstLineAsReadUpTo99Characters) {
  const std::string old = Filler(150) + "\n" + Filler(200'000);
  WriteFile(LogPath(), old);
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_EQ(ReadFile(RotationPath()), old);
  EXPECT_EQ(ReadFile(LogPath()), Filler(99) + StartEntry());
}

TEST_F(DiagnosticLogTest, FailedCopyKeepsAppendingToTheOldLog) {
  const std::string old = "noDebugLog \n" + Filler(200'001);
  WriteFile(LogPath(), old);
  fs::create_directory(RotationPath());  // nothing can be copied over a folder
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_TRUE(fs::is_directory(RotationPath()));
  const std::string content = ReadFile(LogPath());
  EXPECT_EQ(content.substr(0, old.size()), old);
  EXPECT_TRUE(content.ends_with(StartEntry()));
}

// --- Entries -----------------------------------------------------------------------------------------------

TEST_F(DiagnosticLogTest, TimestampHasBlankPaddedHourAndHundredthsWithTrailingZero) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  clock_.now = {2025, 1, 2, 7, 8, 9, 4};
  log_.Write("morning");
  clock_.now = {2025, 12, 31, 23, 59, 59, 99};
  log_.Write("night");
  clock_.now = {2026, 1, 1, 0, 0, 0, 0};
  log_.Write("midnight");
  log_.Stop();
  const std::string content = ReadFile(LogPath());
  EXPECT_NE(content.find("\n2025-01-02  7:08:09.040> morning\n2025-12-31 23:59:59.990> night\n"
                         "2026-01-01  0:00:00.000> midnight\n"),
            std::string::npos)
      << content;
}

TEST_F(DiagnosticLogTest, ContinuationExtendsTheCurrentLine) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  log_.Write("Connect %s", "COM3");
  log_.Append(", %d tries", 2);
  log_.Append("%s", "");
  log_.Stop();
  EXPECT_EQ(ReadFile(LogPath()),
            "noDebugLog " + StartEntry() + Stamp + "Connect COM3, 2 tries" + Stamp + "Bye...");
}

TEST_F(DiagnosticLogTest, EmptyDialogTextLogsThePrefixOnly) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  log_.Write("MsgDialog: %s", "");
  log_.Stop();
  EXPECT_EQ(ReadFile(LogPath()), "noDebugLog " + StartEntry() + Stamp + "MsgDialog: " + Stamp + "Bye...");
}

// --- Flushing ----------------------------------------------------------------------------------------------

TEST_F(DiagnosticLogTest, EntriesAreFlushedOnlyAfterMoreThan5000Ms) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  const std::string started = ReadFile(LogPath());

  clock_.milliseconds = 5'000;
  log_.Write("a");
  EXPECT_EQ(ReadFile(LogPath()), started);  // still buffered

  clock_.milliseconds = 5'001;
  log_.Write("b");
  EXPECT_EQ(ReadFile(LogPath()), started + Stamp + "a" + Stamp + "b");

  clock_.milliseconds = 10'001;  // exactly 5000 ms after the last flush
  log_.Append("c");
  EXPECT_EQ(ReadFile(LogPath()), started + Stamp + "a" + Stamp + "b");

  clock_.milliseconds = 10'002;
  log_.Append("d");
  EXPECT_EQ(ReadFile(LogPath()), started + Stamp + "a" + Stamp + "bcd");
}

// --- Re-entrancy -------------------------------------------------------------------------------------------

TEST_F(DiagnosticLogTest, EntryWrittenFromInsideAnEntryIsDropped) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  int calls = 0;
  clock_.onLocalNow = [&] {
    ++calls;
    log_.Write("inner");
  };
  log_.Write("outer");
  clock_.onLocalNow = nullptr;
  log_.Write("after");  // the writer is usable again
  log_.Stop();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(ReadFile(LogPath()),
            "noDebugLog " + StartEntry() + Stamp + "outer" + Stamp + "after" + Stamp + "Bye...");
}

TEST_F(DiagnosticLogTest, ContinuationWrittenFromInsideAContinuationIsDropped) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  log_.Write("line");
  clock_.onMilliseconds = [&] { log_.Append(" inner"); };
  log_.Append(" outer");
  clock_.onMilliseconds = nullptr;
  log_.Append(" after");
  log_.Stop();
  EXPECT_EQ(ReadFile(LogPath()),
            "noDebugLog " + StartEntry() + Stamp + "line outer after" + Stamp + "Bye...");
}

TEST_F(DiagnosticLogTest, EachWriterHasItsOwnBusyCounter) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  clock_.onLocalNow = [&] { log_.Append(" [inner]"); };
  log_.Write("outer");
  clock_.onLocalNow = nullptr;
  log_.Stop();
  EXPECT_EQ(ReadFile(LogPath()),
            "noDebugLog " + StartEntry() + " [inner]" + Stamp + "outer" + Stamp + "Bye...");
}

// --- Where the log lives -----------------------------------------------------------------------------------

TEST_F(DiagnosticLogTest, UnwritableProgramFolderFallsBackToTheDataFolder) {
  // As root every existing folder is writable, so the program's folder here is one that cannot be created in.
  place_.executable = dir_ / "missing" / "qdsystem";
  place_.fallbackFolder = dir_ / "data" / "QDsystem";
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_EQ(log_.Path(), place_.fallbackFolder / "Log.qdsystem.txt");
  log_.Write("entry");
  log_.Stop();
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  EXPECT_EQ(ReadFile(place_.fallbackFolder / "Log.qdsystem.txt"),
            "noDebugLog " + StartEntry() + Stamp + "entry" + Stamp + "Bye...");
}

TEST_F(DiagnosticLogTest, WritableProgramFolderIsPreferred) {
  ASSERT_TRUE(log_.Start(place_, 3, 17));
  EXPECT_TRUE(fs::exists(LogPath()));
  EXPECT_FALSE(fs::exists(place_.fallbackFolder));
}

TEST_F(DiagnosticLogTest, LogThatCannotBeOpenedAnywhereStaysOffWithoutExitEntry) {
  WriteFile(dir_ / "file", "not a folder");
  place_.executable = dir_ / "missing" / "qdsystem";
  place_.fallbackFolder = dir_ / "file" / "QDsystem";
  EXPECT_FALSE(log_.Start(place_, 3, 17));
  EXPECT_FALSE(log_.ExitEntryDue());
  log_.Write("entry");
  log_.Stop();
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  EXPECT_EQ(ReadFile(dir_ / "file"), "not a folder");
}

}  // namespace
}  // namespace qd
