// qdsystem's cold start against a bare Qt Widgets program's: from exec of the program to its main window's
// first paint on the offscreen platform, with fresh preferences each run. Both programs report the paint
// themselves (QDSYSTEM_STARTUP_PROBE=1) and quit. The two run in turn, so that a change of load meets
// both; one run of each warms the file cache first. Prints the median of the runs after it of each, and
// their ratio.
//
// usage: startup_time [QDSYSTEM] [RUNS] [BARE_WIDGETS]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
  double toShownMs = 0;  // exec to the probe's line
  double inMainMs = 0;   // the part of it after main() began, as the program measured it
};

struct Program {
  const char* name;
  std::string path;
  std::vector<double> toShown;
  std::vector<double> inMain;
};

// Reads the child's output until the probe's line came or the deadline passed.
std::optional<std::string> ReadProbeLine(int fd, Clock::time_point deadline) {
  std::string output;
  while (Clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) return std::nullopt;  // ended without the line
    output.append(buffer, static_cast<std::size_t>(n));
    const auto at = output.find("main window shown");
    if (at != std::string::npos && output.find('\n', at) != std::string::npos) return output.substr(at);
  }
  return std::nullopt;
}

std::optional<Run> RunOnce(const std::string& program, const std::filesystem::path& settings) {
  std::filesystem::remove(settings);
  int out[2];
  if (::pipe(out) != 0) return std::nullopt;
  const auto started = Clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::setenv("QDSYSTEM_SETTINGS", settings.c_str(), 1);
    ::setenv("QDSYSTEM_STARTUP_PROBE", "1", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ::close(out[1]);
  const auto line = ReadProbeLine(out[0], started + std::chrono::seconds(20));
  const auto shown = Clock::now();
  ::close(out[0]);
  if (!line) ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!line) return std::nullopt;
  Run run;
  run.toShownMs = std::chrono::duration<double, std::milli>(shown - started).count();
  std::sscanf(line->c_str(), "main window shown: %lf", &run.inMainMs);
  return run;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path here = std::filesystem::path(argv[0]).parent_path();
  const int runs = argc > 2 ? std::max(1, std::stoi(argv[2])) : 9;
  std::vector<Program> programs = {
      {"qdsystem", argc > 1 ? argv[1] : (here / "qdsystem").string(), {}, {}},
      {"bare Qt", argc > 3 ? argv[3] : (here / "bare_widgets").string(), {}, {}},
  };

  std::string folder = (std::filesystem::temp_directory_path() / "qd-startup-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) return 1;
  const auto settings = std::filesystem::path(folder) / "preferences.ini";

  for (int i = 0; i <= runs; ++i) {
    for (Program& program : programs) {
      const auto run = RunOnce(program.path, settings);
      if (!run) {
        std::fprintf(stderr, "startup_time: %s did not report its main window\n", program.path.c_str());
        std::filesystem::remove_all(folder);
        return 1;
      }
      if (i == 0) continue;  // warms the file cache
      program.toShown.push_back(run->toShownMs);
      program.inMain.push_back(run->inMainMs);
    }
  }
  std::filesystem::remove_all(folder);
  for (const Program& program : programs)
    std::printf("%s median: %.1f ms  min: %.1f ms  max: %.1f ms  (after main: %.1f ms median; %d runs)\n",
                program.name, Median(program.toShown),
                *std::min_element(program.toShown.begin(), program.toShown.end()),
                *std::max_element(program.toShown.begin(), program.toShown.end()), Median(program.inMain),
                runs);
  std::printf("qdsystem / bare Qt, ratio: %.2f\n", Median(programs[0].toShown) / Median(programs[1].toShown));
  return 0;
}
