// Shows the windows of qdsystem against the simulated dosing system and saves a picture of each into the
// folder given as the only argument. Run under a display (tools/take-screenshots.sh uses Xvfb).
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <tuple>

#include "gui/app/about_form.h"
#include "gui/app/app.h"
#include "gui/app/file_dialog.h"
#include "gui/app/language.h"
#include "gui/app/login_form.h"
#include "gui/app/main_form.h"
#include "gui/editors/calibration_form.h"
#include "gui/editors/copy_machine_form.h"
#include "gui/editors/machine_form.h"
#include "gui/editors/program_form.h"
#include "gui/editors/system_setup_form.h"
#include "gui/editors/trigger_form.h"
#include "gui/firmware/firmware_update_form.h"
#include "gui/history/site_timeline_page.h"
#include "gui/history/sites_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "gui/link/remote_login_form.h"
#include "gui/logs/alarm_log_form.h"
#include "gui/logs/log_data_form.h"
#include "gui/review/compare_form.h"
#include "gui/review/service_report_form.h"
#include "logs/calibration_history.h"
#include "report/report_pdf.h"
#include "sample_history.h"
#include "transport/data_folder.h"

namespace {

bool WaitUntil(const std::function<bool()>& done, int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (!done() && !deadline.hasExpired())
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

void Settle(int milliseconds) {
  WaitUntil([] { return false; }, milliseconds);
}

bool Save(QWidget& window, const QString& folder, const QString& name) {
  window.raise();
  Settle(300);
  const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
  if (!window.grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// A modal window: saved once it is up, then closed; `open` shows it (and returns when it closes).
bool SaveModal(QDialog& dialog, const QString& folder, const QString& name,
               const std::function<void()>& open) {
  bool saved = false;
  QTimer::singleShot(600, &dialog, [&] {
    saved = Save(dialog, folder, name);
    dialog.reject();
  });
  open();
  return saved;
}

// The simulator on a pseudo-terminal; gives the bus path, or an empty text.
QString StartSimulator(QProcess& sim, const QTemporaryDir& folder) {
  const QString bus = folder.filePath(QStringLiteral("bus"));
  sim.start(QStringLiteral(QD_SIM_PATH),
            {QStringLiteral("--link"), bus, QStringLiteral("--system"), QStringLiteral(QD_DEMO_SYSTEM),
             QStringLiteral("--sample-logs"), QStringLiteral("--trigger"), QStringLiteral("1:qd520"),
             QStringLiteral("--trigger"), QStringLiteral("2:nyborg-w3")});
  QByteArray output;
  const bool up = WaitUntil(
      [&] {
        output += sim.readAllStandardOutput();
        return output.contains("pty: ");
      },
      10000);
  return up ? bus : QString();
}

// Prices for the consumption log window.
void StoreSamplePrices(const QTemporaryDir& scratch) {
  QSettings preferences(scratch.filePath(QStringLiteral("preferences.ini")), QSettings::IniFormat);
  const char* const prices[] = {"2.450", "1.980", "3.200", "0.850", "4.100", "", "1.250"};
  for (int p = 0; p < 7; ++p) {
    if (*prices[p] != '\0')
      preferences.setValue(QStringLiteral("PumpPrice%1").arg(p + 1), QString::fromLatin1(prices[p]));
  }
  preferences.sync();
}

// Two earlier calibrations of pump 3 of machine 1 of the controller read.
void StoreSampleCalibrations(std::uint32_t serial) {
  for (const auto& [day, old, now, measured] : {std::tuple{2, 34, 32, 106}, std::tuple{15, 32, 30, 107}}) {
    qd::logs::CalibrationRecord record;
    record.when = {2026, day == 2 ? 3 : 9, day, 9, 14, 0};
    record.serial = serial;
    record.machine = 1;
    record.pump = 3;
    record.oldValue = old;
    record.newValue = now;
    record.measuredMillilitres = measured;
    qd::logs::AppendCalibration(qd::gui::PathOf(qd::transport::CalibrationHistoryFile()), record);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("QDsystem"));
  qd::gui::InstallLanguage(application, qd::gui::Language::System);  // LANG=de_DE.UTF-8: the German windows
  if (argc != 2) {
    std::fprintf(stderr, "usage: qdsystem_screenshots FOLDER\n");
    return 2;
  }
  const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  QTemporaryDir scratch;
  qputenv("QDSYSTEM_SETTINGS", scratch.filePath(QStringLiteral("preferences.ini")).toLocal8Bit());
  qputenv("QDSYSTEM_DATA", scratch.filePath(QStringLiteral("data")).toLocal8Bit());
  StoreSamplePrices(scratch);
  if (!RecordSampleHistory(QStringLiteral(QD_DEMO_SYSTEM))) return 1;
  QProcess sim;
  const QString bus = StartSimulator(sim, scratch);
  if (bus.isEmpty()) {
    std::fprintf(stderr, "the simulator did not start\n");
    return 1;
  }

  bool ok = true;
  {
    qd::gui::App app(QStringList{QStringLiteral("qdsystem")});
    qd::gui::TMainForm& main = app.Main();
    main.show();
    main.FormActivate();
    qd::gui::TCommunicationForm& comm = app.Communication();
    comm.SetComPortText(bus);
    comm.SetLinkMode(true);
    WaitUntil([&] { return app.Connection().LinkReady(); }, 5000);
    Settle(1500);  // the counters refresh once a second
    ok &= Save(main, folder, QStringLiteral("main_window"));
    comm.show();
    comm.move(main.x() + 40, main.y() + 140);
    Settle(1200);
    ok &= Save(comm, folder, QStringLiteral("communication"));

    qd::gui::TEEPROMForm& eeprom = app.Eeprom();
    eeprom.show();
    eeprom.move(main.x() + 80, main.y() + 180);
    Settle(300);
    eeprom.ReadBtnClick();
    WaitUntil([&] { return eeprom.Transfer().Current() >= 12000; }, 20000);
    ok &= Save(eeprom, folder, QStringLiteral("read_write_during_read"));
    WaitUntil([&] { return eeprom.Transfer().State() == qd::link::TransferState::Idle; }, 20000);
    ok &= Save(eeprom, folder, QStringLiteral("read_write_done"));
    eeprom.hide();
    comm.hide();

    if (auto* setup = main.findChild<QAction*>(QStringLiteral("Systemsetup1"))) setup->trigger();
    Settle(800);
    ok &= Save(app.SystemSetup(), folder, QStringLiteral("system_setup"));
    app.SystemSetup().hide();
    for (QWidget* log : {static_cast<QWidget*>(&app.LogData()), static_cast<QWidget*>(&app.AlarmLog())}) {
      log->show();
      log->move(main.x() + 80, main.y() + 120);
    }
    // The last twelve months.
    if (auto* from = app.LogData().findChild<QComboBox*>(QStringLiteral("FromComboBox")))
      from->setCurrentIndex(std::max(0, from->count() - 12));
    app.LogData().resize(app.LogData().sizeHint().width(), 760);
    Settle(300);
    ok &= Save(app.LogData(), folder, QStringLiteral("consumption_log"));
    app.ServiceReport().ShowForm();
    app.ServiceReport().move(main.x() + 120, main.y() + 160);
    ok &= Save(app.ServiceReport(), folder, QStringLiteral("service_report"));
    // Its pages become pictures in take-screenshots.sh.
    ok &= qd::report::WriteServiceReportPdf(app.ServiceReport().BuildReport(),
                                            qd::gui::PathOf(folder + QStringLiteral("/service_report.pdf")))
              .ok;
    app.ServiceReport().hide();
    ok &= Save(app.AlarmLog(), folder, QStringLiteral("alarm_log"));
    app.LogData().hide();
    app.AlarmLog().hide();

    qd::gui::TMachineForm& machine = app.Machine(0);
    main.MachineBtnClick(1);
    Settle(1500);  // live status from the simulated trigger module
    ok &= Save(machine, folder, QStringLiteral("machine"));
    machine.ProgramBtnClick(2);
    if (qd::gui::TProgramForm* program = machine.ProgramEditor(1)) {
      ok &= Save(*program, folder, QStringLiteral("program"));
      // The checker's findings below the grid: pumps that would dose nothing.
      auto& calibrations = app.Config().system.Machines[0].Calibration;
      const auto kept = calibrations;
      calibrations.fill("0");
      program->DebugTick();
      ok &= Save(*program, folder, QStringLiteral("program_check"));
      calibrations = kept;
      program->hide();
    }

    // Two program lines and a trigger setting changed since the read, as the compare window shows them.
    qd::SystemConfig& system = app.Config().system;
    system.Machines[0].Programs[1].Lines[1].Param(3) += 5;
    system.Machines[0].Programs[1].Lines[3].comment = "checked";
    system.Machines[1].Trigger.bytes[qd::TriggerSettings::AdjustHighOffset] += 5;
    qd::gui::TCompareForm& compare = app.Compare();
    compare.move(main.x() + 60, main.y() + 120);
    compare.CompareWithControllerClick();
    WaitUntil([&] { return !compare.Busy(); }, 20000);
    Settle(300);
    ok &= Save(compare, folder, QStringLiteral("compare"));
    compare.hide();

    // The hotel's history: its consumption by month and year, then what its last reads changed.
    qd::gui::TSitesForm& sites = app.Sites();
    sites.move(main.x() + 40, main.y() + 60);
    sites.resize(1100, 860);
    sites.show();
    WaitUntil([&] { return !sites.Loading(); }, 10000);
    sites.ChooseSite(310118);
    WaitUntil([&] { return !sites.Loading(); }, 10000);
    ok &= Save(sites, folder, QStringLiteral("sites"));
    if (auto* tabs = sites.findChild<QTabWidget*>(QStringLiteral("SitePageTabs"))) tabs->setCurrentIndex(1);
    // The first read and the last: a dose, two calibrations and a trigger setting changed in four years.
    sites.Timeline().ChooseSnapshots({"2022-11-12 08:00:00", "2026-11-20 08:16:00"});
    sites.Timeline().CompareSnapshotsBtnClick();
    WaitUntil([&] { return !sites.Loading(); }, 10000);
    ok &= Save(sites, folder, QStringLiteral("sites_timeline"));
    sites.hide();
    qd::gui::TMachineForm& second = app.Machine(1);
    main.MachineBtnClick(2);
    second.TriggerSetupBtnClick();
    ok &= Save(*second.TriggerForm(), folder, QStringLiteral("trigger"));
    second.TriggerForm()->hide();
    second.hide();
    StoreSampleCalibrations(app.Config().image.SerialNumber());
    ok &= SaveModal(app.Calibration(), folder, QStringLiteral("calibration"),
                    [&] { app.Calibration().Calibrate(1, 3, 30); });
    ok &= SaveModal(app.CopyMachine(), folder, QStringLiteral("copy_machine"),
                    [&] { app.CopyMachine().exec(); });
    ok &= SaveModal(app.Login(), folder, QStringLiteral("login"), [&] { app.Login().exec(); });
    ok &= SaveModal(app.About(), folder, QStringLiteral("about"), [&] { app.About().exec(); });
    ok &= SaveModal(app.RemoteLogin(), folder, QStringLiteral("remote_login"),
                    [&] { app.RemoteLogin().AskLogin(); });

    qd::gui::TFirmwareUpdateForm& firmware = app.FirmwareUpdate();
    firmware.SetLastFirmwareFile(QStringLiteral(QD_FIRMWARE_FILE));
    firmware.ShowFor(qd::gui::TFirmwareUpdateForm::Target::Controller);
    if (auto* load = firmware.findChild<QPushButton*>(QStringLiteral("LoadBtn"))) load->click();
    ok &= Save(firmware, folder, QStringLiteral("firmware_update"));
    firmware.hide();
    main.close();
  }
  sim.terminate();
  sim.waitForFinished(3000);
  return ok ? 0 : 1;
}
