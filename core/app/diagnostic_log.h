#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace qd {

// Local date and time as an entry's timestamp shows it.
struct LogTimestamp {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int hundredths = 0;
};

// The clocks the log reads; tests pass their own so that nothing depends on the real time.
struct DiagnosticLogClock {
  std::function<LogTimestamp()> localNow;                // the local date and time
  std::function<std::int64_t()> millisecondsSinceStart;  // a monotonic count for the flush interval
};

// The real clocks: the local time of day and milliseconds since the program started.
DiagnosticLogClock SystemLogClock();

// Where the log may live. The core cannot ask the toolkit for folders, so the caller names them.
struct DiagnosticLogPlace {
  std::filesystem::path executable;      // full path of the running program
  std::filesystem::path fallbackFolder;  // the user's data folder, for a read-only program folder
};

// File names: "Log.<program base name>.txt" and, for the previous log, "Log.<base name>1.txt".
std::filesystem::path DiagnosticLogFileName(const std::filesystem::path& executable);
std::filesystem::path DiagnosticLogRotationFileName(const std::filesystem::path& executable);

// The program's plain-text diagnostic log. A first line holding "NoDebugLog" switches it off; a log grown
// beyond RotationSize is moved aside at start. Every file error is silent: logging never disturbs the
// program. Meant for one thread; the busy counters only drop an entry written while another one is being
// written.
class DiagnosticLog {
 public:
  static constexpr std::int64_t RotationSize = 200'000;     // bytes; a larger log is moved aside at start
  static constexpr std::int64_t FlushIntervalMs = 5'000;    // entries are flushed at most this often
  static constexpr int FirstLineLimit = 99;                 // characters of the first line read at start
  static constexpr const char* SwitchLine = "noDebugLog ";  // first text of a new log
  static constexpr const char* SwitchOffMark = "NoDebugLog";

  explicit DiagnosticLog(DiagnosticLogClock clock = SystemLogClock());
  ~DiagnosticLog();
  DiagnosticLog(const DiagnosticLog&) = delete;
  DiagnosticLog& operator=(const DiagnosticLog&) = delete;

  // The application's log. Its exit entry is written by Stop(), which is also registered with std::atexit
  // by StartApplicationLog.
  static DiagnosticLog& Instance();

  // The build date and time of the log facility, "Mmm dd yyyy hh:mm:ss" as the compiler gives it.
  static const char* CompileDate();

  // Opens (or creates) the log, checks its first line, rotates it when too large, writes the start entry
  // (with ", Version: major.minor" unless both are -1) and closes the file again. Returns whether entries
  // are written in this run.
  bool Start(const DiagnosticLogPlace& place, int major = -1, int minor = -1);

  // Writes the exit entry "Bye..." once if Start opened the file, then closes it. Safe to call again.
  void Stop();

  // A new line: line break, timestamp, then the printf-formatted message.
  void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void WriteV(const char* format, va_list args) __attribute__((format(printf, 2, 0)));

  // The printf-formatted message appended to the current line.
  void Append(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void AppendV(const char* format, va_list args) __attribute__((format(printf, 2, 0)));

  bool Enabled() const { return enabled_; }
  // Start opened the file and Stop has not yet written the exit entry.
  bool ExitEntryDue() const { return exitEntryDue_; }
  // The file in use after Start: in the program's folder or in the fallback folder.
  const std::filesystem::path& Path() const { return path_; }

 private:
  void WriteEntry(bool timestamped, const char* format, va_list args);
  bool OpenFile();
  void CloseFile();
  void Rotate(const std::filesystem::path& rotationPath, const std::string& firstLine);

  DiagnosticLogClock clock_;
  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
  bool enabled_ = false;
  bool exitEntryDue_ = false;  // Start opened the file, so Stop writes "Bye..."
  std::int64_t lastFlushMs_ = 0;
  int writeDepth_ = 0;   // busy counter of the timestamped writer
  int appendDepth_ = 0;  // busy counter of the continuation writer
};

// Starts the application's log and, the first time the file opens, registers its exit entry with std::atexit.
bool StartApplicationLog(const DiagnosticLogPlace& place, int major, int minor);

}  // namespace qd
