// qdsystem's peak memory after a read: every window of the program created as qdsystem creates them, the
// system data read from the simulated controller through the read/write window, then the process's
// maximum resident set size. The baseline is a bare Qt Widgets program with qdsystem's menu and status bars
// (bare_widgets), started the way startup_time starts it, to the first paint of its window: the largest
// maximum resident set size of a few runs. Prints both and their ratio. Runs on the offscreen platform
// unless another one is chosen.
//
// usage: peak_memory [QD310SIM] [SYSTEM.xml] [BARE_WIDGETS]
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"

namespace {

constexpr int BareRuns = 5;

double Megabytes(long kibibytes) {
  return static_cast<double>(kibibytes) / 1024.0;
}

// One run of the bare program to its probe's line and its end; gives its maximum resident set size in KiB.
// A child's maximum counts what it had before exec, a copy of this process: call this while this process
// is still small, before the application exists.
std::optional<long> BareMaxRss(const std::string& program) {
  int out[2];
  if (::pipe(out) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::setenv("QDSYSTEM_STARTUP_PROBE", "1", 1);
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ::close(out[1]);
  std::string output;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  bool ended = false;
  while (!ended && std::chrono::steady_clock::now() < deadline) {
    pollfd p{out[0], POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t n = ::read(out[0], buffer, sizeof buffer);
    if (n > 0)
      output.append(buffer, static_cast<std::size_t>(n));
    else
      ended = true;
  }
  ::close(out[0]);
  if (!ended) ::kill(child, SIGKILL);
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  const bool shown = ended && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
                     output.find("main window shown") != std::string::npos;
  if (!shown) return std::nullopt;
  return usage.ru_maxrss;
}

bool WaitUntil(const std::function<bool()>& done, int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (!done() && !deadline.hasExpired())
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// The simulator on a pseudo-terminal; gives the bus path, or an empty text.
QString StartSimulator(QProcess& sim, const QString& program, const QString& system,
                       const QTemporaryDir& folder) {
  const QString bus = folder.filePath(QStringLiteral("bus"));
  sim.start(program, {QStringLiteral("--link"), bus, QStringLiteral("--system"), system,
                      QStringLiteral("--sample-logs")});
  QByteArray output;
  const bool up = WaitUntil(
      [&] {
        output += sim.readAllStandardOutput();
        return output.contains("pty: ");
      },
      10000);
  return up ? bus : QString();
}

// Reads the system data through the read/write window; gives the transfer's last status text.
QString ReadSystemData(qd::gui::App& app, const QString& bus) {
  qd::gui::TCommunicationForm& comm = app.Communication();
  comm.SetComPortText(bus);
  comm.SetLinkMode(true);
  if (!WaitUntil([&] { return app.Connection().LinkReady(); }, 10000))
    return QStringLiteral("the link did not get ready");
  qd::gui::TEEPROMForm& eeprom = app.Eeprom();
  eeprom.show();
  eeprom.ReadBtnClick();
  WaitUntil([&] { return eeprom.Transfer().State() == qd::link::TransferState::Idle; }, 60000);
  return QString::fromStdString(eeprom.Transfer().View().statusText);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string bareProgram =
      argc > 3 ? argv[3] : (std::filesystem::path(argv[0]).parent_path() / "bare_widgets").string();
  long bareKib = 0;
  for (int i = 0; i < BareRuns; ++i) {
    const auto maxRss = BareMaxRss(bareProgram);
    if (!maxRss) {
      std::fprintf(stderr, "peak_memory: %s did not report its main window\n", bareProgram.c_str());
      return 1;
    }
    bareKib = std::max(bareKib, *maxRss);
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("QDsystem"));
  const QString simProgram = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(QD_SIM_PATH);
  const QString system = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(QD_DEMO_SYSTEM);

  QTemporaryDir scratch;
  qputenv("QDSYSTEM_SETTINGS", scratch.filePath(QStringLiteral("preferences.ini")).toLocal8Bit());
  QProcess sim;
  const QString bus = StartSimulator(sim, simProgram, system, scratch);
  if (bus.isEmpty()) {
    std::fprintf(stderr, "peak_memory: the simulator did not start\n");
    return 1;
  }

  QString outcome;
  qd::gui::App app(QStringList{QStringLiteral("qdsystem")});
  app.Main().show();
  outcome = ReadSystemData(app, bus);
  const bool read = app.Config().system.SystemName.size() > 0;

  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("read: %s (%s)  qdsystem max RSS: %.1f MB\n", read ? "ok" : "failed", qPrintable(outcome),
              Megabytes(usage.ru_maxrss));
  std::printf("bare Qt max RSS: %.1f MB  (largest of %d runs to the first paint)\n", Megabytes(bareKib),
              BareRuns);
  std::printf("qdsystem / bare Qt, ratio: %.2f\n",
              static_cast<double>(usage.ru_maxrss) / static_cast<double>(bareKib));
  sim.terminate();
  sim.waitForFinished(3000);
  return read ? 0 : 1;
}
