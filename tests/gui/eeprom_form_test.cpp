// The read/write system data window against the real windows and, end to end, against qd310sim on a
// pseudo-terminal and as a gateway.

#include "gui/link/eeprom_form.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "gui/app/app.h"
#include "gui/app/file_dialog.h"
#include "gui/app/login_form.h"
#include "gui/app/main_form.h"
#include "gui/app/text_codec.h"
#include "gui/editors/machine_form.h"
#include "gui/editors/system_setup_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/remote_login_form.h"
#include "gui/logs/log_data_form.h"
#include "model/image_builder.h"
#include "model/image_parser.h"
#include "model/system_commands.h"
#include "model/system_file.h"
#include "support/gui_test_support.h"

namespace qd::gui::test {
namespace {

using namespace std::chrono_literals;
using qd::link::TransferState;

constexpr auto TransferLimit = 60s;

QString SampleSystem() {
  return TestDataPath(QStringLiteral("sample_system.xml"));
}

// The sample system as the core reads it.
qd::WorkingConfig SampleConfig() {
  qd::WorkingConfig config;
  qd::LoadSystem(config, PathOf(SampleSystem()), qd::LocalDateTime{});
  return config;
}

// Core texts as the windows show them, so that failures print readably.
QString Text(const std::string& bytes) {
  return FromCp1252(bytes);
}

QByteArray ImageBytes(const qd::ControllerImage& image) {
  return QByteArray(reinterpret_cast<const char*>(image.bytes.data()),
                    static_cast<qsizetype>(image.bytes.size()));
}

QString WriteFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes) {
  const QString path = folder.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

// The sample system built with the system login code "SECRET" and the controller clock set.
qd::WorkingConfig CodedSample() {
  qd::WorkingConfig coded = SampleConfig();
  coded.masterLoginMode = true;
  coded.loginCodeEdit = "SECRET";
  qd::BuildImage(coded, qd::LocalDateTime{});
  const std::array<std::uint8_t, 6> clock = {7, 6, 5, 4, 3, 26};  // second .. year - 2000
  std::copy(clock.begin(), clock.end(), coded.image.bytes.begin() + qd::layout::ControllerTime);
  return coded;
}

// One program run: preferences in a temporary store, the App after its first activation, the main
// timer stopped so that the test drives the ticks, and a user who answers the message boxes.
struct Program {
  explicit Program(const QStringList& options = {}) {
    app = std::make_unique<App>(QStringList{QStringLiteral("qdsystem")} + options);
    app->Main().MainTimer100ms().stop();
    app->Main().FormActivate();
  }

  TEEPROMForm& Window() { return app->Eeprom(); }
  template <typename T>
  T* Control(const char* name) {
    return Window().findChild<T*>(QString::fromLatin1(name));
  }
  QPushButton* Button(const char* name) { return Control<QPushButton>(name); }
  QString LabelText(const char* name) { return Control<QLabel>(name)->text(); }
  TransferState State() { return Window().Transfer().State(); }

  // The link to the simulator's bus once the link's open delay has run out.
  bool ConnectLocal(const Simulator& sim) {
    qd::transport::Connection& link = app->Connection();
    for (int i = 0; i < 10; ++i)
      link.Tick();
    app->Communication().SetLinkMode(true);
    app->Communication().SetComPortText(sim.BusPath());
    link.OpenComPort();
    return WaitUntil([&link] { return link.LinkReady(); });
  }

  // Logs in to the simulator's gateway as the default user and takes the first system offered.
  bool ConnectRemote(const Simulator& sim) {
    SetRemoteLoginAnswerer([](TRemoteLoginForm& form) {
      if (form.CurrentMode() == TRemoteLoginForm::Mode::Login) {
        form.findChild<QLineEdit*>(QStringLiteral("UserNameEdit"))->setText(QStringLiteral("service"));
        form.findChild<QLineEdit*>(QStringLiteral("PasswordEdit"))->setText(QStringLiteral("secret"));
      }
      form.OKbtnClick();
    });
    TCommunicationForm& comm = app->Communication();
    qd::transport::Connection& link = app->Connection();
    comm.SetLinkMode(false);
    comm.SetGatewayServerText(sim.GatewayAddress());
    comm.findChild<QPushButton*>(QStringLiteral("RemoteConnectBtn"))->click();
    const bool online =
        WaitUntil([&link] { return link.LinkReady() && link.RemoteOnline() && link.RemoteFullAccess(); });
    SetRemoteLoginAnswerer({});
    return online;
  }

  bool WaitForStatus(const QString& text) {
    return WaitUntil([this, &text] { return Window().StatusPanelText(TEEPROMForm::TransferPanel) == text; },
                     TransferLimit);
  }

  TemporaryPreferences preferences;  // before the App, so that the App uses it
  ScriptedUser user;
  std::unique_ptr<App> app;
};

}  // namespace

class EepromFormTest : public QObject {
  Q_OBJECT

 private slots:
  void buttonsFollowTheLinkRule();
  void setupModeShowsTheSerialControls();
  void masterLoginShowsTheLoginCodeAndBuildsItIn();
  void escapeClosesOnlyWhenIdle();
  void buildImageShowsUsedTextAndFormat();

  void localReadTakesTheSystemIn();
  void localWriteStoresTheBuiltImage();
  void writeSerialWritesTheWholeImageWithTheNumber();
  void stopRestartsARead();
  void readTimesOutWhenTheControllerIsSilent();
  void loginCodeGuardsTheRead();
  void badImageFormatIsRefused();

  void remoteReadAndWrite();
  void remoteReadWithAnotherCodeShowsAnEmptySystem();
};

void EepromFormTest::buttonsFollowTheLinkRule() {
  Program program;
  program.Window().show();
  // No port is open: nothing may start.
  QVERIFY(!program.app->Connection().LinkReady());
  QVERIFY(!program.Button("ReadBtn")->isEnabled());
  QVERIFY(!program.Button("WriteBtn")->isEnabled());
  QVERIFY(!program.Button("StopBtn")->isEnabled());
  QVERIFY(program.Button("CloseBtn")->isEnabled());
  QCOMPARE(program.Control<QProgressBar>("ProgressBar")->maximum(), 100);
  QVERIFY(!program.Control<QLabel>("StateInfoLabel")->isVisible());
}

void EepromFormTest::setupModeShowsTheSerialControls() {
  {
    Program program;
    program.Window().show();
    QVERIFY(!program.Button("WriteSerialNumberBtn")->isVisible());
    QVERIFY(!program.Control<QLineEdit>("SerialNumberEdit")->isEnabled());
    QVERIFY(program.Control<QLineEdit>("SerialNumberEdit")->isVisible());
    QVERIFY(!program.Control<QLineEdit>("LoginCodeEdit")->isVisible());
    QVERIFY(!program.Control<QLabel>("LoginCodeLabel")->isVisible());
    QCOMPARE(program.LabelText("Label1"), QStringLiteral("Serial number"));
    QCOMPARE(program.Control<QLabel>("Label1")->buddy(), program.Control<QLineEdit>("SerialNumberEdit"));
  }
  Program setup({QStringLiteral("QD310setup")});
  setup.Window().show();
  QVERIFY(setup.Button("WriteSerialNumberBtn")->isVisible());
  QCOMPARE(setup.Button("WriteSerialNumberBtn")->text(), QStringLiteral("Write serial"));
  QVERIFY(setup.Control<QLineEdit>("SerialNumberEdit")->isEnabled());
  QVERIFY(!setup.Control<QLineEdit>("LoginCodeEdit")->isVisible());
}

void EepromFormTest::masterLoginShowsTheLoginCodeAndBuildsItIn() {
  Program program({QStringLiteral("MasterLogin")});
  TEEPROMForm& window = program.Window();
  window.show();
  auto* code = program.Control<QLineEdit>("LoginCodeEdit");
  QVERIFY(code->isVisible());
  QCOMPARE(program.LabelText("LoginCodeLabel"), QStringLiteral("System login code"));
  QCOMPARE(code->maxLength(), 8);

  QTest::keyClicks(code, QStringLiteral("SECRET123"));
  QCOMPARE(code->text(), QStringLiteral("SECRET12"));
  // Minimise and restore are no new show: a later write must not store an empty code.
  window.showMinimized();
  window.showNormal();
  QCOMPARE(code->text(), QStringLiteral("SECRET12"));
  window.BuildImage();
  QCOMPARE(Text(program.app->Config().image.SystemLoginCode()), QStringLiteral("SECRET12"));

  // Emptied at each show; an empty field builds an image without a code.
  window.close();
  window.show();
  QVERIFY(code->text().isEmpty());
  window.BuildImage();
  QVERIFY(program.app->Config().image.SystemLoginCode().empty());
}

void EepromFormTest::escapeClosesOnlyWhenIdle() {
  // Master login skips the code check, so a read starts even without a link and waits.
  Program program({QStringLiteral("MasterLogin")});
  TEEPROMForm& window = program.Window();
  program.app->Communication().SetLinkMode(true);
  window.show();
  window.ReadBtnClick();
  QCOMPARE(program.State(), TransferState::ReadingLocal);
  QTest::keyClick(&window, Qt::Key_Escape);
  QVERIFY(window.isVisible());

  window.StopBtnClick();
  QCOMPARE(program.LabelText("StateInfoLabel"), QStringLiteral("Stopped"));
  QVERIFY(program.Control<QLabel>("StateInfoLabel")->isVisible());
  QTest::keyClick(&window, Qt::Key_Escape);
  QVERIFY(!window.isVisible());
  // Shown again, the last state is not.
  window.show();
  QVERIFY(!program.Control<QLabel>("StateInfoLabel")->isVisible());
  QVERIFY(window.StatusPanelText(TEEPROMForm::TransferPanel).isEmpty());
}

void EepromFormTest::buildImageShowsUsedTextAndFormat() {
  Program program;
  TEEPROMForm& window = program.Window();
  QVERIFY(program.app->Main().StatusPanelText(0).isEmpty());
  program.app->Main().NewSystemBtnClick();
  QCOMPARE(window.StatusPanelText(TEEPROMForm::UsedTextPanel), QStringLiteral("Used text: 0.0%"));
  QCOMPARE(program.app->Main().StatusPanelText(0), QStringLiteral("Format: 1.1"));
  QCOMPARE(program.app->Config().image.dataLength, 0x3D20);

  program.user.ChooseFile(SampleSystem());
  program.app->Main().LoadSystemBtnClick();
  qd::WorkingConfig expected = SampleConfig();
  const qd::BuildResult built = qd::BuildImage(expected, qd::LocalDateTime{});
  QVERIFY(built.usedTextPercent > 0);
  QCOMPARE(window.StatusPanelText(TEEPROMForm::UsedTextPanel),
           FromCp1252(qd::UsedTextLabel(built.usedTextPercent)));
}

void EepromFormTest::localReadTakesTheSystemIn() {
  Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--system"), SampleSystem()});
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
  Program program;
  TEEPROMForm& window = program.Window();
  window.show();
  QVERIFY(program.ConnectLocal(sim));
  QVERIFY(program.Button("ReadBtn")->isEnabled());
  QVERIFY(program.Button("WriteBtn")->isEnabled());
  QVERIFY(!program.Button("StopBtn")->isEnabled());

  QTest::mouseClick(program.Button("ReadBtn"), Qt::LeftButton);
  QCOMPARE(program.State(), TransferState::ReadingLocal);
  QCOMPARE(window.StatusPanelText(TEEPROMForm::TransferPanel), QStringLiteral("Reading 32768 bytes."));
  QVERIFY(!program.Button("ReadBtn")->isEnabled());
  QVERIFY(!program.Button("WriteBtn")->isEnabled());
  QVERIFY(program.Button("StopBtn")->isEnabled());
  QVERIFY(program.WaitForStatus(QStringLiteral("Read completed")));

  QCOMPARE(program.State(), TransferState::Idle);
  QCOMPARE(program.Control<QProgressBar>("ProgressBar")->value(), 100);
  QCOMPARE(program.LabelText("ProgessLabel"), QStringLiteral("100.0 %"));
  QVERIFY(program.Button("ReadBtn")->isEnabled());
  QCOMPARE(window.StatusPanelText(TEEPROMForm::DatePanel), QStringLiteral("Date: 2000-00-00 00:00:00"));
  QVERIFY(window.StatusPanelText(TEEPROMForm::UsedTextPanel).startsWith(QStringLiteral("Used text: ")));
  QCOMPARE(program.Control<QLineEdit>("SerialNumberEdit")->text(), QStringLiteral("310001"));
  QCOMPARE(program.app->Main().StatusPanelText(0), QStringLiteral("Format: 1.1"));

  const qd::WorkingConfig expected = SampleConfig();
  const qd::SystemConfig& read = program.app->Config().system;
  QCOMPARE(Text(read.SystemName), Text(expected.system.SystemName));
  QVERIFY(read.Recipients == expected.system.Recipients);
  QVERIFY(read.MachineEnabled == expected.system.MachineEnabled);
  const qd::MachineConfig& machine = read.Machines[1];
  QCOMPARE(Text(machine.Comment), QStringLiteral("Washer 2"));
  QCOMPARE(Text(machine.Programs[0].Name), QStringLiteral("Towels"));
  QCOMPARE(Text(machine.Programs[2].Comment), QStringLiteral("Sheets"));
  for (int k = 0; k < qd::DosingProgram::LineCount; ++k) {
    const qd::ProgramLine& line = expected.system.Machines[1].Programs[2].Lines[k];
    // Bytes 6 and 7 hold the comment's place in the image, not part of the instruction.
    const auto& got = machine.Programs[2].Lines[k].bytes;
    QVERIFY(std::equal(got.begin(), got.begin() + 6, line.bytes.begin()));
    QCOMPARE(Text(machine.Programs[2].Lines[k].comment), Text(line.comment));
  }
  QVERIFY(machine.Trigger.bytes == expected.system.Machines[1].Trigger.bytes);
  QVERIFY(program.user.Boxes().empty());
}

void EepromFormTest::localWriteStoresTheBuiltImage() {
  QTemporaryDir folder;
  const QString dump = folder.filePath(QStringLiteral("memory.bin"));
  Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--dump-memory"), dump});
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
  Program program;
  TEEPROMForm& window = program.Window();
  program.user.ChooseFile(SampleSystem());
  program.app->Main().LoadSystemBtnClick();
  window.show();
  QVERIFY(program.ConnectLocal(sim));

  QTest::mouseClick(program.Button("WriteBtn"), Qt::LeftButton);
  const qd::ControllerImage& image = program.app->Config().image;
  QCOMPARE(program.State(), TransferState::WritingLocal);
  QCOMPARE(window.StatusPanelText(TEEPROMForm::TransferPanel),
           QStringLiteral("Writing %1 bytes.").arg(image.dataLength));

  // A log reset asked for meanwhile is refused: its login check would land in the middle of the write.
  TLogDataForm& log = program.app->LogData();
  QVERIFY(!log.findChild<QPushButton*>(QStringLiteral("ResetLogBtn"))->isEnabled());
  const qsizetype boxes = program.user.BoxTexts().size();
  log.ResetLogBtnClick();
  QCOMPARE(program.user.BoxTexts().size(), boxes + 1);  // no login check, no question
  QCOMPARE(program.user.BoxTexts().last(), Text(qd::link::BusyText(qd::link::Operation::Write)));
  QCOMPARE(program.State(), TransferState::WritingLocal);

  QVERIFY(program.WaitForStatus(QStringLiteral("Write completed")));
  QCOMPARE(program.State(), TransferState::Idle);
  QCOMPARE(program.Control<QProgressBar>("ProgressBar")->value(), 100);
  QVERIFY(log.findChild<QPushButton*>(QStringLiteral("ResetLogBtn"))->isEnabled());
  // Restored after minimising, the window still says how the write ended.
  window.showMinimized();
  window.showNormal();
  QCOMPARE(window.StatusPanelText(TEEPROMForm::TransferPanel), QStringLiteral("Write completed"));

  sim.Stop();
  const QByteArray memory = ReadFile(dump);
  QCOMPARE(memory.size(), 32768);
  const QByteArray built = ImageBytes(image);
  const qsizetype header = 32;
  QCOMPARE(memory.mid(header, image.dataLength - header), built.mid(header, image.dataLength - header));
  // The header is the controller's own: a write leaves it alone.
  QVERIFY(memory.mid(0, 5) == QByteArray("QD310"));
  QCOMPARE(static_cast<quint8>(memory[10]) | static_cast<quint8>(memory[11]) << 8, 310001 & 0xFFFF);
}

void EepromFormTest::writeSerialWritesTheWholeImageWithTheNumber() {
  QTemporaryDir folder;
  const QString dump = folder.filePath(QStringLiteral("memory.bin"));
  Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--dump-memory"), dump});
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
  Program program({QStringLiteral("QD310setup")});
  program.app->Main().NewSystemBtnClick();
  TEEPROMForm& window = program.Window();
  window.show();
  QVERIFY(program.ConnectLocal(sim));
  QVERIFY(program.Button("WriteSerialNumberBtn")->isEnabled());

  auto* serial = program.Control<QLineEdit>("SerialNumberEdit");
  serial->clear();
  QTest::keyClicks(serial, QStringLiteral(" 12345 "));
  QTest::mouseClick(program.Button("WriteSerialNumberBtn"), Qt::LeftButton);
  QCOMPARE(serial->text(), QStringLiteral("12345"));
  QVERIFY(program.WaitForStatus(QStringLiteral("Write completed")));

  sim.Stop();
  const QByteArray memory = ReadFile(dump);
  const qd::ControllerImage& image = program.app->Config().image;
  QCOMPARE(memory.mid(0x0A, 4), QByteArray::fromHex("39300000"));
  QCOMPARE(memory.left(image.dataLength), ImageBytes(image).left(image.dataLength));
}

void EepromFormTest::stopRestartsARead() {
  Simulator sim({QStringLiteral("--no-pacing")});
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
  Program program;
  program.user.ChooseFile(SampleSystem());
  program.app->Main().LoadSystemBtnClick();
  const std::string loadedName = program.app->Config().system.SystemName;
  TEEPROMForm& window = program.Window();
  auto* stateInfo = program.Control<QLabel>("StateInfoLabel");
  window.show();
  QVERIFY(program.ConnectLocal(sim));

  window.ReadBtnClick();
  QVERIFY(WaitUntil([&window] { return window.Transfer().Current() >= 1024; }, TransferLimit));
  for (int i = 0; i < qd::link::SystemTransfer::LocalReadLimitTicks / 2; ++i)
    window.Tick();
  QTest::mouseClick(program.Button("StopBtn"), Qt::LeftButton);
  QCOMPARE(program.State(), TransferState::Idle);
  QCOMPARE(stateInfo->text(), QStringLiteral("Stopped"));
  QVERIFY(stateInfo->isVisible());
  QVERIFY(program.Button("ReadBtn")->isEnabled());
  QVERIFY(!program.Button("StopBtn")->isEnabled());
  QCOMPARE(Text(program.app->Config().system.SystemName), Text(loadedName));

  // Read again: from the start, with a fresh limit, to the end.
  window.ReadBtnClick();
  QCOMPARE(window.Transfer().Current(), 0);
  QVERIFY(!stateInfo->isVisible());
  for (int i = 0; i < qd::link::SystemTransfer::LocalReadLimitTicks - 1; ++i)
    window.Tick();
  QCOMPARE(program.State(), TransferState::ReadingLocal);
  QVERIFY(program.WaitForStatus(QStringLiteral("Read completed")));
  QVERIFY(!stateInfo->isVisible());

  // Shown again, the window no longer shows how the last transfer ended; Stop still says so.
  window.close();
  window.show();
  QVERIFY(window.StatusPanelText(TEEPROMForm::TransferPanel).isEmpty());
  QVERIFY(!stateInfo->isVisible());
  window.StopBtnClick();
  QVERIFY(stateInfo->isVisible());
  QVERIFY(window.StatusPanelText(TEEPROMForm::TransferPanel).isEmpty());
  QVERIFY(program.user.Boxes().empty());
}

void EepromFormTest::readTimesOutWhenTheControllerIsSilent() {
  // Every reply is lost: the controller falls silent for the PC. Master login skips the code check,
  // which would fail first. The limit counts ticks, not blocks.
  Simulator sim(
      {QStringLiteral("--no-pacing"), QStringLiteral("--fault"), QStringLiteral("drop-replies:every=1")});
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
  Program program({QStringLiteral("MasterLogin")});
  program.user.ChooseFile(SampleSystem());
  program.app->Main().LoadSystemBtnClick();
  const std::string loadedName = program.app->Config().system.SystemName;
  TEEPROMForm& window = program.Window();
  auto* stateInfo = program.Control<QLabel>("StateInfoLabel");
  window.show();
  QVERIFY(program.ConnectLocal(sim));

  window.ReadBtnClick();
  QCOMPARE(program.State(), TransferState::ReadingLocal);
  QCOMPARE(window.Transfer().Current(), 0);

  // Whatever arrives between the ticks is handled.
  for (int i = 0; i < qd::link::SystemTransfer::LocalReadLimitTicks - 1; ++i) {
    QCoreApplication::processEvents();
    window.Tick();
  }
  QCOMPARE(program.State(), TransferState::ReadingLocal);
  QVERIFY(!stateInfo->isVisible());
  window.Tick();
  QCOMPARE(program.State(), TransferState::Idle);
  QCOMPARE(stateInfo->text(), QStringLiteral("Timeout!"));
  QVERIFY(stateInfo->isVisible());
  QVERIFY(program.Button("ReadBtn")->isEnabled());
  // The editors keep what they held.
  QCOMPARE(Text(program.app->Config().system.SystemName), Text(loadedName));
  QVERIFY(program.user.Boxes().empty());
}

void EepromFormTest::loginCodeGuardsTheRead() {
  const qd::WorkingConfig coded = CodedSample();
  QTemporaryDir folder;
  const QString image = WriteFile(folder, QStringLiteral("coded.bin"), ImageBytes(coded.image));
  Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--image"), image});
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));

  Program program;
  program.app->Main().NewSystemBtnClick();
  TEEPROMForm& window = program.Window();
  window.show();
  QVERIFY(program.ConnectLocal(sim));

  // The user's code is the Login window's initial one.
  window.ReadBtnClick();
  QCOMPARE(program.user.BoxTexts(), QStringList{QStringLiteral("Wrong System login code")});
  QVERIFY(program.user.Boxes().front().logged);
  // Refused, the window is idle again: Read can be pressed at once.
  QCOMPARE(program.State(), TransferState::Idle);
  QVERIFY(program.Button("ReadBtn")->isEnabled());
  QVERIFY(window.StatusPanelText(TEEPROMForm::TransferPanel).isEmpty());
  QCOMPARE(window.Transfer().Current(), 0);
  QVERIFY(program.app->Config().system.SystemName.empty());

  program.app->Login().SetCode(QStringLiteral("SECRET"));
  window.ReadBtnClick();
  QVERIFY(program.WaitForStatus(QStringLiteral("Read completed")));
  QCOMPARE(program.user.Boxes().size(), std::size_t{1});
  QCOMPARE(Text(program.app->Config().system.SystemName), Text(coded.system.SystemName));
  QCOMPARE(window.StatusPanelText(TEEPROMForm::DatePanel), QStringLiteral("Date: 2026-03-04 05:06:07"));
  QCOMPARE(program.Control<QLineEdit>("LoginCodeEdit")->text(), QStringLiteral("SECRET"));
}

void EepromFormTest::badImageFormatIsRefused() {
  qd::ControllerImage wrong;
  std::copy_n("QD310", 5, wrong.bytes.begin());
  wrong.bytes[qd::layout::VersionMajor] = 2;
  QTemporaryDir folder;
  const QString image = WriteFile(folder, QStringLiteral("wrong.bin"), ImageBytes(wrong));
  Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--image"), image});
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));

  Program program;
  program.user.ChooseFile(SampleSystem());
  program.app->Main().LoadSystemBtnClick();
  // The system setup shows the loaded system while the read is refused.
  TSystemSetupForm& setup = program.app->SystemSetup();
  setup.show();
  auto* name = setup.findChild<QLineEdit*>(QStringLiteral("SystemNameEdit"));
  QVERIFY(!name->text().isEmpty());
  TEEPROMForm& window = program.Window();
  window.show();
  QVERIFY(program.ConnectLocal(sim));
  setup.findChild<QComboBox*>(QStringLiteral("ResetmachineCombo"))->setCurrentIndex(2);
  window.ReadBtnClick();
  QVERIFY(program.WaitForStatus(QStringLiteral("Read completed")));

  QCOMPARE(program.user.BoxTexts(), QStringList{QStringLiteral("Bad data format or version: 2.0")});
  const MessageBoxRequest& box = program.user.Boxes().front();
  QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Abort));
  QVERIFY(!box.logged);
  // The editors are left as a new system.
  QVERIFY(program.app->Config().system.SystemName.empty());
  QVERIFY(program.app->Config().system.Machines[1].Comment.empty());
  QVERIFY(program.app->Main().StatusPanelText(0).isEmpty());
  QVERIFY(window.StatusPanelText(TEEPROMForm::UsedTextPanel).isEmpty());
  // So does the system setup, and closing it carries nothing of the previous system over.
  QCOMPARE(name->text(), QString());
  QVERIFY(!setup.findChild<QLabel*>(QStringLiteral("SerialNumberLabel2"))->isVisible());
  QCOMPARE(setup.findChild<QComboBox*>(QStringLiteral("ResetmachineCombo"))->currentIndex(), -1);
  setup.close();
  QVERIFY(program.app->Config().system.SystemName.empty());
  QCOMPARE(program.app->Config().system.DefaultInputFilter, qd::SystemConfig{}.DefaultInputFilter);
}

void EepromFormTest::remoteReadAndWrite() {
  QTemporaryDir folder;
  const QString dump = folder.filePath(QStringLiteral("memory.bin"));
  Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--system"), SampleSystem(),
                 QStringLiteral("--dump-memory"), dump},
                /*gateway=*/true);
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
  Program program;
  TEEPROMForm& window = program.Window();
  window.show();
  QVERIFY(program.ConnectRemote(sim));
  QVERIFY(program.Button("ReadBtn")->isEnabled());
  QVERIFY(program.Button("WriteBtn")->isEnabled());
  // The serial number goes over the bus only.
  QVERIFY(!program.Button("WriteSerialNumberBtn")->isEnabled());

  program.app->Machine(1).show();
  window.ReadBtnClick();
  QCOMPARE(program.State(), TransferState::ReadingRemote);
  QVERIFY(!program.app->Machine(1).isVisible());
  QVERIFY(program.WaitForStatus(QStringLiteral("Transfer completed")));
  QCOMPARE(program.State(), TransferState::Idle);
  QCOMPARE(Text(program.app->Config().system.SystemName), Text(SampleConfig().system.SystemName));
  QCOMPARE(program.Control<QLineEdit>("SerialNumberEdit")->text(), QStringLiteral("310001"));

  // Write back with a changed comment.
  program.app->Config().system.Machines[1].Comment = "Washer two";
  window.SetRemoteBlockPauseMs(1);
  program.user.AnswerBoxWith(QMessageBox::Yes);  // the sample's programs have warnings
  window.WriteBtnClick();
  QVERIFY(WaitUntil(
      [&program] { return program.LabelText("ProgessLabel") == QStringLiteral("Confirm received - OK"); },
      TransferLimit));
  QCOMPARE(program.State(), TransferState::Idle);
  const qd::ControllerImage& image = program.app->Config().image;
  QCOMPARE(window.StatusPanelText(TEEPROMForm::TransferPanel),
           QStringLiteral("Writing %1 bytes.").arg(image.dataLength));

  sim.Stop();
  const QByteArray memory = ReadFile(dump);
  const qsizetype header = 32;
  QCOMPARE(memory.mid(header, image.dataLength - header),
           ImageBytes(image).mid(header, image.dataLength - header));
  QVERIFY(memory.contains("Washer two"));
  QCOMPARE(program.user.Boxes().size(), std::size_t{1});
  QVERIFY(program.user.Boxes()[0].text.startsWith(
      QStringLiteral("The program check found 0 errors and 3 warnings:")));
}

void EepromFormTest::remoteReadWithAnotherCodeShowsAnEmptySystem() {
  const qd::WorkingConfig coded = CodedSample();
  QTemporaryDir folder;
  const QString image = WriteFile(folder, QStringLiteral("coded.bin"), ImageBytes(coded.image));
  Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--image"), image}, /*gateway=*/true);
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
  Program program;
  program.user.ChooseFile(SampleSystem());
  program.app->Main().LoadSystemBtnClick();
  TEEPROMForm& window = program.Window();
  window.show();
  QVERIFY(program.ConnectRemote(sim));

  // Through the gateway the code is compared after the read.
  window.ReadBtnClick();
  QVERIFY(program.WaitForStatus(QStringLiteral("Transfer completed")));
  QCOMPARE(program.user.BoxTexts(), QStringList{QStringLiteral("Wrong System login code")});
  QVERIFY(program.app->Config().system.SystemName.empty());
  QVERIFY(program.app->Config().system.Machines[1].Comment.empty());
  QCOMPARE(program.app->Main().StatusPanelText(0), QStringLiteral("Format: 1.1"));
  QCOMPARE(window.StatusPanelText(TEEPROMForm::DatePanel), QStringLiteral("Date: 2000-00-00 00:00:00"));

  // The refused read left no backup (it would hold the code): the right code's read is the only one.
  program.app->Login().SetCode(QStringLiteral("SECRET"));
  window.ReadBtnClick();
  QVERIFY(program.WaitForStatus(QStringLiteral("Transfer completed")));
  const QDir backups(program.preferences.DataFolder() + QStringLiteral("/backups"));
  QVERIFY(
      WaitUntil([&backups] { return !backups.entryList({QStringLiteral("*.bin")}, QDir::Files).isEmpty(); }));
  QCOMPARE(backups.entryList({QStringLiteral("*.bin")}, QDir::Files).size(), qsizetype{1});
}

}  // namespace qd::gui::test

QTEST_MAIN(qd::gui::test::EepromFormTest)
#include "eeprom_form_test.moc"
