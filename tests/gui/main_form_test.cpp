#include "gui/app/main_form.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/app/about_form.h"
#include "gui/app/app.h"
#include "gui/app/login_form.h"
#include "gui/editors/copy_machine_form.h"
#include "gui/editors/machine_form.h"
#include "gui/editors/system_setup_form.h"
#include "gui/editors/trigger_form.h"
#include "gui/firmware/firmware_update_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "gui/logs/alarm_log_form.h"
#include "gui/logs/log_data_form.h"
#include "model/image_builder.h"
#include "model/image_parser.h"
#include "model/system_commands.h"
#include "model/system_file.h"
#include "model/system_setup.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

// The program after its first activation, with a scripted user and the timer stopped (the test ticks).
struct Fixture {
  explicit Fixture(const QStringList& options = {}) : app(QStringList{QStringLiteral("qdsystem")} + options) {
    main.MainTimer100ms().stop();
    main.FormActivate();
  }

  TemporaryPreferences preferences;
  ScriptedUser user;
  App app;
  TMainForm& main = app.Main();

  QString SamplePath() const { return TestDataPath(QStringLiteral("sample_system.xml")); }
  QString Scratch(const QString& name) const { return preferences.FolderPath() + QLatin1Char('/') + name; }
  void Load(const QString& path) {
    user.ChooseFile(path);
    main.LoadSystemBtnClick();
  }
  QAction* Action(const char* name) { return main.findChild<QAction*>(QString::fromLatin1(name)); }
  QMenu* Menu(const char* name) { return main.findChild<QMenu*>(QString::fromLatin1(name)); }
  qd::MachineConfig& Machine(int number) { return app.Config().system.Machines.at(number - 1); }
};

// A caption without its mnemonic marker.
QString Plain(const QString& text) {
  return QString(text).remove(QLatin1Char('&'));
}

// The action names and captions of a menu, in order; "-" for a separator, submenus by their name.
QStringList Entries(const QMenu* menu) {
  QStringList entries;
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      entries << QStringLiteral("-");
    } else if (action->menu() != nullptr) {
      entries << action->menu()->objectName() + QLatin1Char('=') + Plain(action->text());
    } else {
      entries << action->objectName() + QLatin1Char('=') + Plain(action->text());
    }
  }
  return entries;
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `act` on the modal window that the next call opens, once its event loop runs.
void OnModal(const std::function<void(QWidget*)>& act) {
  QTimer::singleShot(0, [act] { act(QApplication::activeModalWidget()); });
}

// The remote session logged in to one system, as the gateway's accept reply does it.
void LogInRemotely(App& app, const std::string& serial, const std::string& name) {
  app.Communication().SetLinkMode(false);
  qd::transport::Connection& link = app.Connection();
  link.Session().ConnectToSystem({serial, name});
  std::vector<std::uint8_t> reply{'B', 'E', 0};
  reply.insert(reply.end(), serial.begin(), serial.end());
  reply.insert(reply.end(), {0, 'A', 0});
  link.Session().OnConnectResult(reply);
}

}  // namespace

class MainFormTest : public QObject {
  Q_OBJECT

 private slots:
  void OptionsAreWholeCaseExactArguments() {
    {
      Fixture f({QStringLiteral("MasterLogin"), QStringLiteral("QD310setup")});
      QVERIFY(f.main.SetupMode());
      QVERIFY(f.main.MasterLoginMode());
      QVERIFY(f.app.Config().masterLoginMode);
    }
    {
      Fixture f({QStringLiteral("qd310setup"), QStringLiteral("masterlogin"), QStringLiteral("QD310setup "),
                 QStringLiteral("/MasterLogin"), QStringLiteral("MASTERLOGIN")});
      QVERIFY(!f.main.SetupMode());
      QVERIFY(!f.main.MasterLoginMode());
      QVERIFY(!f.app.Config().masterLoginMode);
    }
    {
      Fixture f({QStringLiteral("MasterLogin")});
      QVERIFY(!f.main.SetupMode());
      QVERIFY(f.main.MasterLoginMode());
    }
    // The program name is not an option.
    TemporaryPreferences preferences;
    App app(QStringList{QStringLiteral("QD310setup")});
    QVERIFY(!app.Main().SetupMode());
  }

  void CaptionShowsSetupModeAndTheRemoteSystem() {
    {
      Fixture f;
      QCOMPARE(f.main.windowTitle(), QStringLiteral("QD System, Version: 3.17,  Miele Ethernet"));
    }
    Fixture f({QStringLiteral("QD310setup")});
    const QString setup = QStringLiteral("QD System, Version: 3.17,  Miele Ethernet,  QD310 setup");
    QCOMPARE(f.main.windowTitle(), setup);

    // The system's name is a windows-1252 text.
    LogInRemotely(f.app, "1234", "Caf\xE9 North");
    QVERIFY(f.app.Connection().RemoteLoggedIn());
    QCOMPARE(f.main.windowTitle(), setup + QStringLiteral("        System: Caf\u00E9 North (1234)."));
    f.app.Connection().Session().Disconnect();
    QCOMPARE(f.main.windowTitle(), setup);
  }

  void StatusBarShowsTheImageFormat() {
    Fixture f;
    for (int panel = 0; panel < 3; ++panel)
      QCOMPARE(f.main.StatusPanelText(panel), QString());
    f.main.NewSystemBtnClick();
    QVERIFY(f.app.Config().image.imageHeld);
    QCOMPARE(f.main.StatusPanelText(0), QStringLiteral("Format: 1.1"));

    // Panels 1 and 2 belong to others while an image is held; without one all three are emptied.
    f.main.findChild<QLabel*>(QStringLiteral("StatusPanel1"))->setText(QStringLiteral("one"));
    f.main.findChild<QLabel*>(QStringLiteral("StatusPanel2"))->setText(QStringLiteral("two"));
    f.main.UpdateStatusBar();
    QCOMPARE(f.main.StatusPanelText(1), QStringLiteral("one"));
    // A refused read leaves no image.
    f.app.Config().image.bytes.fill(0);
    qd::ParseImage(f.app.Config());
    QVERIFY(!f.app.Config().image.imageHeld);
    for (int panel = 0; panel < 3; ++panel)
      QCOMPARE(f.main.StatusPanelText(panel), QString());
  }

  void NewSystemClearsTheEditorsOnly() {
    Fixture f;
    f.Load(f.SamplePath());
    TLogDataForm& log = f.app.LogData();
    log.show();
    QVERIFY(!f.Machine(2).Comment.empty());
    f.main.SetProgramClipboard(&f.Machine(2).Programs[0]);

    f.main.NewSystemBtnClick();
    QVERIFY(f.user.Boxes().empty());
    QCOMPARE(f.main.ProgramClipboard(), nullptr);
    QCOMPARE(f.main.LastSystemFileName(), f.SamplePath());
    QVERIFY(log.isVisible());
    QVERIFY(log.LogChanged());
    QCOMPARE(f.Machine(2), qd::MachineConfig());
    QCOMPARE(f.app.Config().system.SystemName, std::string());
    QCOMPARE(f.main.StatusPanelText(0), QStringLiteral("Format: 1.1"));
  }

  void LoadSystemReadsTheFileAndBuildsTheImage() {
    Fixture f;
    TLogDataForm& log = f.app.LogData();
    log.show();
    f.Load(f.SamplePath());
    QCOMPARE(f.user.FileDialogs().size(), std::size_t{1});
    const FileDialogRequest& dialog = f.user.FileDialogs().front();
    QCOMPARE(dialog.kind, FileDialogRequest::Kind::Open);
    QCOMPARE(dialog.title, QStringLiteral("Load system data"));
    QCOMPARE(dialog.filter, QStringLiteral("XML-file (*.xml)|*.xml|Any file (*.*)|*.*"));
    QCOMPARE(dialog.defaultSuffix, QStringLiteral("xml"));
    QCOMPARE(dialog.fileName, QString());
    QVERIFY(f.user.Boxes().empty());
    QVERIFY(!log.isVisible());
    QCOMPARE(f.main.LastSystemFileName(), f.SamplePath());

    // The file as read, built into an image and shown again by the system setup (amounts re-formatted).
    qd::WorkingConfig expected;
    QVERIFY(qd::ReadSystemFile(expected, PathOf(f.SamplePath())).ok);
    qd::BuildImage(expected, qd::LocalDateTime{});
    qd::FillFromSystemData(expected);
    QVERIFY(f.app.Config().system == expected.system);
    QVERIFY(f.app.Config().image.imageHeld);
    QCOMPARE(f.main.StatusPanelText(0), QStringLiteral("Format: 1.1"));
    QCOMPARE(qd::SystemFileText(f.app.Config()), qd::SystemFileText(expected));

    // Cancel: the dialog offers the last file, and nothing changes.
    f.app.Config().system.SystemName = "Edited";
    log.show();
    f.main.LoadSystemBtnClick();
    QCOMPARE(f.user.FileDialogs().size(), std::size_t{2});
    QCOMPARE(f.user.FileDialogs().back().fileName, f.SamplePath());
    QCOMPARE(f.app.Config().system.SystemName, std::string("Edited"));
    QVERIFY(log.isVisible());
    QCOMPARE(f.main.LastSystemFileName(), f.SamplePath());
  }

  void SaveSystemWritesTheSystemFile() {
    Fixture f;
    f.Load(f.SamplePath());
    const QString target = f.Scratch(QStringLiteral("saved.xml"));
    f.user.ChooseFile(target);
    f.main.SaveSystemBtnClick();
    QCOMPARE(f.user.FileDialogs().size(), std::size_t{2});
    const FileDialogRequest& dialog = f.user.FileDialogs().back();
    QCOMPARE(dialog.kind, FileDialogRequest::Kind::Save);
    QCOMPARE(dialog.title, QStringLiteral("Save System data"));
    QCOMPARE(dialog.filter, QStringLiteral("XML-file|*.xml|Any file|*.*"));
    QCOMPARE(dialog.defaultSuffix, QStringLiteral("xml"));
    QCOMPARE(dialog.fileName, f.SamplePath());
    QVERIFY(f.user.Boxes().empty());
    QCOMPARE(f.main.LastSystemFileName(), target);

    const QString reference = f.Scratch(QStringLiteral("reference.xml"));
    QVERIFY(qd::WriteSystemFile(f.app.Config(), PathOf(reference)).ok);
    QVERIFY(!FileBytes(target).isEmpty());
    QCOMPARE(FileBytes(target), FileBytes(reference));

    // Cancel writes nothing and keeps the last file.
    f.main.SaveSystemBtnClick();
    QCOMPARE(f.user.FileDialogs().size(), std::size_t{3});
    QCOMPARE(f.user.FileDialogs().back().fileName, target);
    QCOMPARE(f.main.LastSystemFileName(), target);
  }

  void FailedFilesAreReported() {
    Fixture f;
    // A folder that does not exist.
    const QString unreachable = f.Scratch(QStringLiteral("missing/saved.xml"));
    f.user.ChooseFile(unreachable);
    f.main.SaveSystemBtnClick();
    QCOMPARE(f.user.Boxes().size(), std::size_t{1});
    const MessageBoxRequest& saveBox = f.user.Boxes().back();
    QCOMPARE(saveBox.type, DialogType::Error);
    QVERIFY(saveBox.text.startsWith(QStringLiteral("Unable to save the system file")));
    QVERIFY(saveBox.text.contains(unreachable));
    QVERIFY(!QFile::exists(unreachable));

    // A file that is not a system file: the reason is given, and the editors hold a new system.
    const QString broken = f.Scratch(QStringLiteral("broken.xml"));
    {
      QFile file(broken);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("<QDsystem Version=\"1.0\"><MainSetup><SystemName>x</Sys");
    }
    f.app.Config().system.SystemName = "Before";
    f.Load(broken);
    QCOMPARE(f.user.Boxes().size(), std::size_t{2});
    const MessageBoxRequest& loadBox = f.user.Boxes().back();
    QCOMPARE(loadBox.type, DialogType::Error);
    QVERIFY(!loadBox.logged);
    QVERIFY(loadBox.text.startsWith(QStringLiteral("Unable to load the system file")));
    QVERIFY(loadBox.text.contains(broken));
    QVERIFY2(loadBox.text.section(QStringLiteral("\n\n"), 1).size() > 0, qPrintable(loadBox.text));
    QCOMPARE(f.main.LastSystemFileName(), broken);
    QVERIFY(f.app.Config().image.imageHeld);

    f.Load(f.Scratch(QStringLiteral("absent.xml")));
    QCOMPARE(f.user.Boxes().size(), std::size_t{3});
    QVERIFY(f.user.Boxes().back().text.contains(QStringLiteral("absent.xml")));
  }

  void UnsavedEditsAreAskedAboutOnce() {
    Fixture f;
    TTriggerForm* second = f.app.Machine(1).TriggerForm();
    TTriggerForm* seventh = f.app.Machine(6).TriggerForm();
    QVERIFY(second != nullptr && seventh != nullptr);
    second->EditChange();
    seventh->EditChange();
    const QString question = QStringLiteral("Unsaved program data, update before save?");

    // Cancel stops the save before the file dialog.
    f.user.AnswerBoxWith(QMessageBox::Cancel);
    f.main.SaveSystemBtnClick();
    QCOMPARE(f.user.BoxTexts(), QStringList{question});
    const MessageBoxRequest& box = f.user.Boxes().front();
    QCOMPARE(box.type, DialogType::Warning);
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QVERIFY(box.logged);
    QVERIFY(f.user.FileDialogs().empty());
    QVERIFY(second->IsModified());

    // No: the save goes on; the trigger windows keep their edits.
    f.user.AnswerBoxWith(QMessageBox::No);
    f.main.SaveSystemBtnClick();
    QCOMPARE(f.user.Boxes().size(), std::size_t{2});
    QCOMPARE(f.user.FileDialogs().size(), std::size_t{1});
    QVERIFY(second->IsModified());

    // Yes stores every window's edits.
    f.user.AnswerBoxWith(QMessageBox::Yes);
    QVERIFY(!f.main.CheckUnsavedPrograms());
    QVERIFY(!second->IsModified());
    QVERIFY(!seventh->IsModified());
    f.main.SaveSystemBtnClick();
    QCOMPARE(f.user.Boxes().size(), std::size_t{3});
    QCOMPARE(f.user.FileDialogs().size(), std::size_t{2});
  }

  void MenuTreeHasItsNamesAndCaptions() {
    Fixture f;
    QStringList top;
    for (const QAction* action : f.main.menuBar()->actions()) {
      top << (action->menu() != nullptr ? action->menu()->objectName() : action->objectName()) +
                 QLatin1Char('=') + Plain(action->text());
    }
    QStringList expectedTop{QStringLiteral("FileBtn=File"), QStringLiteral("SetupBtn=System")};
    for (int n = 1; n <= 10; ++n)
      expectedTop << QStringLiteral("Machine%1Btn=Machine %1...").arg(n);
    // Our own menu comes just before Help.
    expectedTop << QStringLiteral("CompareMenu=Compare") << QStringLiteral("HelpBtn=Help");
    QCOMPARE(top, expectedTop);
    QCOMPARE(Entries(f.Menu("CompareMenu")),
             (QStringList{QStringLiteral("CompareWithControllerBtn=Compare with controller..."),
                          QStringLiteral("CompareWithFileBtn=Compare with file..."),
                          QStringLiteral("CompareWithBackupBtn=Compare with backup..."), QStringLiteral("-"),
                          QStringLiteral("SitesBtn=Sites...")}));

    QCOMPARE(Entries(f.Menu("FileBtn")),
             (QStringList{QStringLiteral("LoginBtn=Login..."), QStringLiteral("NewSystemBtn=New System..."),
                          QStringLiteral("LoadSystemBtn=Load System..."),
                          QStringLiteral("SaveSystemBtn=Save System..."),
                          QStringLiteral("FirmwareUpdateQD310Btn=Firmware update, QD310..."),
                          QStringLiteral("FirmwareUpdateTriggerBtn=Firmware update, Trigger..."),
                          QStringLiteral("PrintServiceReportBtn=Print service report..."),
                          QStringLiteral("ExitBtn=Exit")}));
    QCOMPARE(
        Entries(f.Menu("SetupBtn")),
        (QStringList{QStringLiteral("ReadWriteSystemDataBtn=Read/write system data..."),
                     QStringLiteral("Systemsetup1=System setup..."),
                     QStringLiteral("Communication1=Communication..."),
                     QStringLiteral("LogDataBtn=Log data..."), QStringLiteral("AlarmLogBtn=Alarm log..."),
                     QStringLiteral("-"), QStringLiteral("CopyMachine1=Copy Machine..."),
                     QStringLiteral("ClearMachineBtn=Clear Machine"), QStringLiteral("-"),
                     QStringLiteral("LanguageMenu=Language")}));
    QVERIFY(f.main.findChild<QAction*>(QStringLiteral("N1"))->isSeparator());
    QStringList clear;
    for (int n = 1; n <= 10; ++n)
      clear << QStringLiteral("ClearMachine%1Btn=Machine %1").arg(n);
    clear << QStringLiteral("ClearMachineAllBtn=All");
    QCOMPARE(Entries(f.Menu("ClearMachineBtn")), clear);
  }

  void MenuEntriesShowTheirWindows() {
    Fixture f;
    f.main.show();
    f.main.move(60, 20);

    // A new system has machine 1 only; the entry of a disabled machine is disabled.
    QVERIFY(!f.Action("Machine3Btn")->isEnabled());
    f.app.Config().system.MachineEnabled[2] = true;
    qd::NoteEdit(f.app.Config(), qd::ConfigPart::SystemSettings);
    QVERIFY(f.Action("Machine3Btn")->isEnabled());
    f.Action("Machine3Btn")->trigger();
    TMachineForm& third = f.app.Machine(2);
    QVERIFY(third.isVisible());
    QCOMPARE(third.pos(), f.main.pos() + QPoint(75, 70 + 75));
    f.main.MachineBtnClick(0);
    f.main.MachineBtnClick(11);
    for (int i = 0; i < TMainForm::MachineCount; ++i)
      QCOMPARE(f.app.Machine(i).isVisible(), i == 2);

    f.Action("Systemsetup1")->trigger();
    TSystemSetupForm& setup = f.app.SystemSetup();
    QVERIFY(setup.isVisible());
    QCOMPARE(setup.frameGeometry().top(), f.main.frameGeometry().bottom() + 1);
    QVERIFY(std::abs(setup.frameGeometry().center().x() - f.main.frameGeometry().center().x()) <= 1);

    const std::pair<const char*, QWidget*> modeless[] = {{"ReadWriteSystemDataBtn", &f.app.Eeprom()},
                                                         {"Communication1", &f.app.Communication()},
                                                         {"LogDataBtn", &f.app.LogData()},
                                                         {"AlarmLogBtn", &f.app.AlarmLog()}};
    for (const auto& [name, window] : modeless) {
      QVERIFY2(!window->isVisible(), name);
      f.Action(name)->trigger();
      QVERIFY2(window->isVisible(), name);
    }

    TFirmwareUpdateForm& firmware = f.app.FirmwareUpdate();
    f.Action("FirmwareUpdateQD310Btn")->trigger();
    QVERIFY(firmware.isVisible());
    QCOMPARE(firmware.windowTitle(), QStringLiteral("Firmware update, QD310."));
    f.Action("FirmwareUpdateTriggerBtn")->trigger();
    QCOMPARE(firmware.windowTitle(), QStringLiteral("Firmware update, QD520 / QD740 trigger."));

    // The modal ones: copy machine, About and Login (placed below and right of the main window's corner).
    const std::pair<const char*, QWidget*> modal[] = {
        {"CopyMachine1", &f.app.CopyMachine()}, {"HelpBtn", &f.app.About()}, {"LoginBtn", &f.app.Login()}};
    for (const auto& [name, window] : modal) {
      QWidget* shown = nullptr;
      QPoint pos;
      OnModal([&](QWidget* w) {
        shown = w;
        pos = w != nullptr ? w->pos() : QPoint();
        if (w != nullptr) w->close();
      });
      f.Action(name)->trigger();
      QVERIFY2(shown == window, name);
      if (window == &f.app.Login()) QCOMPARE(pos, f.main.pos() + QPoint(100, 50));
    }

    // Exit closes the program: the preferences are written and every window goes.
    f.Action("ExitBtn")->trigger();
    QVERIFY(!f.main.isVisible());
    QVERIFY(!third.isVisible());
    QVERIFY(!firmware.isVisible());
    QVERIFY(f.preferences.Contains(QStringLiteral("Width")));
  }

  void ClearMachineAsksFirst() {
    Fixture f;
    for (int n = 1; n <= 10; ++n)
      f.Machine(n).Comment = "Washer " + std::to_string(n);
    f.Machine(5).AllowNoProgram = true;

    f.user.AnswerBoxWith(QMessageBox::No);
    f.Action("ClearMachine5Btn")->trigger();
    QCOMPARE(f.user.BoxTexts(), QStringList{QStringLiteral("Clear all data for Machine 5\n\nAre you sure?")});
    const MessageBoxRequest& box = f.user.Boxes().front();
    QCOMPARE(box.type, DialogType::Warning);
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(!box.logged);
    QCOMPARE(f.Machine(5).Comment, std::string("Washer 5"));

    f.user.AnswerBoxWith(QMessageBox::Yes);
    f.Action("ClearMachine5Btn")->trigger();
    QCOMPARE(f.Machine(5).Comment, std::string());
    QVERIFY(f.Machine(5).AllowNoProgram);
    QCOMPARE(f.Machine(4).Comment, std::string("Washer 4"));
    QCOMPARE(f.Machine(6).Comment, std::string("Washer 6"));

    f.user.AnswerBoxWith(QMessageBox::No);
    f.Action("ClearMachineAllBtn")->trigger();
    QCOMPARE(f.user.BoxTexts().back(), QStringLiteral("Clear all data for all Machines\n\nAre you sure?"));
    QCOMPARE(f.Machine(10).Comment, std::string("Washer 10"));
    f.user.AnswerBoxWith(QMessageBox::Yes);
    f.Action("ClearMachineAllBtn")->trigger();
    for (int n = 1; n <= 10; ++n)
      QCOMPARE(f.Machine(n).Comment, std::string());

    // Tags outside the menu's do nothing.
    const std::size_t asked = f.user.Boxes().size();
    f.main.ClearMachineBtnClick(0);
    f.main.ClearMachineBtnClick(12);
    QCOMPARE(f.user.Boxes().size(), asked);
  }

  void CountersRefreshOnEveryTenthTick() {
    Fixture f;
    TCommunicationForm& comm = f.app.Communication();
    qd::transport::Connection& link = f.app.Connection();
    comm.show();
    link.Link().CountGatewayBytes(5, 0);
    for (int tick = 1; tick <= 9; ++tick)
      f.main.MainTimer100msTimer();
    QCOMPARE(comm.CounterPanelText(0), QString());
    f.main.MainTimer100msTimer();
    QCOMPARE(comm.CounterPanelText(0), QStringLiteral("Rx:      5"));

    link.Link().CountGatewayBytes(2, 0);
    for (int tick = 1; tick <= 9; ++tick)
      f.main.MainTimer100msTimer();
    QCOMPARE(comm.CounterPanelText(0), QStringLiteral("Rx:      5"));
    f.main.MainTimer100msTimer();
    QCOMPARE(comm.CounterPanelText(0), QStringLiteral("Rx:      7"));
  }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
