#include "app/diagnostic_log.h"

#include <chrono>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "app/local_time.h"
#include "app/windows_api.h"

namespace qd {
namespace {

namespace fs = std::filesystem;

const auto programStart = std::chrono::steady_clock::now();

LogTimestamp LocalNow() {
  const LocalTime t = LocalTime::Now();
  return {t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond / 10};
}

std::int64_t MillisecondsSinceStart() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now() - programStart).count();
}

// "a+": reads from anywhere, writes always at the end, creates a missing file. Binary on Windows too, so
// that the file holds the same bytes everywhere and its size is what the rotation limit counts.
std::FILE* OpenForAppend(const fs::path& path) {
#ifdef _WIN32
  return _wfopen(path.c_str(), L"a+b");
#else
  return std::fopen(path.c_str(), "a+");
#endif
}

// Copies `from` over `to`. libstdc++'s copy_file on Windows takes any two files of one drive for the
// same file (Windows gives no inode numbers) and so refuses to overwrite.
bool CopyOver(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
#else
  std::error_code error;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  return !error;
#endif
}

// The first line with its line break, at most FirstLineLimit characters; empty for an empty file.
std::string ReadFirstLine(std::FILE* file) {
  char buffer[DiagnosticLog::FirstLineLimit + 1] = {};
  std::fseek(file, 0, SEEK_SET);
  if (!std::fgets(buffer, sizeof buffer, file)) return {};
  return buffer;
}

}  // namespace

DiagnosticLogClock SystemLogClock() {
  return {LocalNow, MillisecondsSinceStart};
}

fs::path DiagnosticLogFileName(const fs::path& executable) {
  return "Log." + executable.stem().string() + ".txt";
}

fs::path DiagnosticLogRotationFileName(const fs::path& executable) {
  return "Log." + executable.stem().string() + "1.txt";
}

DiagnosticLog::DiagnosticLog(DiagnosticLogClock clock) : clock_(std::move(clock)) {}

DiagnosticLog::~DiagnosticLog() {
  CloseFile();
}

DiagnosticLog& DiagnosticLog::Instance() {
  static DiagnosticLog log;
  return log;
}

const char* DiagnosticLog::CompileDate() {
  return __DATE__ " " __TIME__;
}

bool DiagnosticLog::Start(const DiagnosticLogPlace& place, int major, int minor) {
  CloseFile();
  enabled_ = false;
  exitEntryDue_ = false;
  lastFlushMs_ = 0;

  // Beside the program when its folder takes the file, otherwise in the user's data folder.
  fs::path folder = place.executable.parent_path();
  path_ = folder / DiagnosticLogFileName(place.executable);
  if (!OpenFile()) {
    if (place.fallbackFolder.empty()) return false;
    std::error_code ignored;
    fs::create_directories(place.fallbackFolder, ignored);
    folder = place.fallbackFolder;
    path_ = folder / DiagnosticLogFileName(place.executable);
    if (!OpenFile()) return false;
  }

  enabled_ = true;
  const std::string firstLine = ReadFirstLine(file_);
  std::fseek(file_, 0, SEEK_END);
  if (firstLine.empty()) {
    // A technician turns the log off by capitalising the first letter.
    std::fputs(SwitchLine, file_);
  } else if (firstLine.find(SwitchOffMark) != std::string::npos) {
    enabled_ = false;
  }

  std::fseek(file_, 0, SEEK_END);
  if (std::ftell(file_) > RotationSize)
    Rotate(folder / DiagnosticLogRotationFileName(place.executable), firstLine);

  if (file_) {
    if (enabled_) {
      std::fseek(file_, 0, SEEK_END);
      const std::string extension = place.executable.extension().string();
      Write("%s%s loaded, Compile date: %s", place.executable.stem().string().c_str(), extension.c_str(),
            CompileDate());
      if (major != -1 || minor != -1) Append(", Version: %d.%02d", major, minor);
    }
    CloseFile();
  }
  exitEntryDue_ = true;
  return enabled_;
}

// The old log becomes the rotation file; the new one keeps the old first line so that a switched-off log
// stays off. A failed copy keeps the old file, which is then appended to.
void DiagnosticLog::Rotate(const fs::path& rotationPath, const std::string& firstLine) {
  CloseFile();
  std::error_code error;
  if (CopyOver(path_, rotationPath)) fs::remove(path_, error);
  if (!OpenFile()) {
    enabled_ = false;
    return;
  }
  std::fputs(firstLine.c_str(), file_);
}

void DiagnosticLog::Stop() {
  if (exitEntryDue_) {
    exitEntryDue_ = false;
    Write("Bye...");
  }
  CloseFile();
}

void DiagnosticLog::Write(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteEntry(true, format, args);
  va_end(args);
}

void DiagnosticLog::WriteV(const char* format, va_list args) {
  WriteEntry(true, format, args);
}

void DiagnosticLog::Append(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteEntry(false, format, args);
  va_end(args);
}

void DiagnosticLog::AppendV(const char* format, va_list args) {
  WriteEntry(false, format, args);
}

void DiagnosticLog::WriteEntry(bool timestamped, const char* format, va_list args) {
  if (!enabled_) return;
  // Something called while an entry is being written (a clock, a dialog) must not interleave its own.
  int& depth = timestamped ? writeDepth_ : appendDepth_;
  if (++depth > 1) return;

  if (file_ || OpenFile()) {
    if (timestamped) {
      const LogTimestamp t = clock_.localNow();
      std::fprintf(file_, "\n%d-%02d-%02d %2d:%02d:%02d.%02d0> ", t.year, t.month, t.day, t.hour, t.minute,
                   t.second, t.hundredths);
    }
    std::vfprintf(file_, format, args);

    // Flushing every entry would slow the program down; a crash loses at most the last few seconds.
    const std::int64_t now = clock_.millisecondsSinceStart();
    if (now - lastFlushMs_ > FlushIntervalMs) {
      std::fflush(file_);
      lastFlushMs_ = now;
    }
  }
  depth = 0;
}

bool DiagnosticLog::OpenFile() {
  file_ = OpenForAppend(path_);
  return file_ != nullptr;
}

void DiagnosticLog::CloseFile() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

bool StartApplicationLog(const DiagnosticLogPlace& place, int major, int minor) {
  DiagnosticLog& log = DiagnosticLog::Instance();
  const bool enabled = log.Start(place, major, minor);
  static bool exitRegistered = false;
  if (log.ExitEntryDue() && !exitRegistered) {
    exitRegistered = true;
    std::atexit([] { DiagnosticLog::Instance().Stop(); });
  }
  return enabled;
}

}  // namespace qd
