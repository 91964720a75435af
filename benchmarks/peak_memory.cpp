// qdsystem's peak memory after a read: every window of the program created as qdsystem creates them, the
// system data read from the simulated controller through the read/write window, then the process's
// maximum resident set size. Runs on the offscreen platform unless another one is chosen.
//
// usage: peak_memory [QD310SIM] [SYSTEM.xml]
#include <sys/resource.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"

namespace {

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
  std::printf("read: %s (%s)  max RSS: %.1f MB\n", read ? "ok" : "failed", qPrintable(outcome),
              static_cast<double>(usage.ru_maxrss) / 1024.0);
  sim.terminate();
  sim.waitForFinished(3000);
  return read ? 0 : 1;
}
