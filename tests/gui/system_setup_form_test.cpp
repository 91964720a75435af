#include "gui/editors/system_setup_form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <vector>

#include "app/bytes.h"
#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "gui/link/remote_login_form.h"
#include "link/status_records.h"
#include "model/system_commands.h"
#include "model/system_setup.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

enum Page { MainSetupPage, AlarmPage, SoapAmountPage, TestPage, EthernetPage };

// The app with its timer stopped: the test drives the ticks.
struct Fixture {
  TemporaryPreferences preferences;
  App app{QStringList{QStringLiteral("qdsystem")}};
  TSystemSetupForm& setup = app.SystemSetup();
  TCommunicationForm& comm = app.Communication();
  qd::transport::Connection& link = app.Connection();

  Fixture() {
    app.Main().MainTimer100ms().stop();
    app.Main().FormActivate();
  }

  template <typename Widget>
  Widget* Control(const QString& name) {
    auto* widget = setup.findChild<Widget*>(name);
    if (widget == nullptr) qWarning() << "no control" << name;
    return widget;
  }
  QCheckBox* Check(const QString& name) { return Control<QCheckBox>(name); }
  QPushButton* Button(const QString& name) { return Control<QPushButton>(name); }
  QLineEdit* Edit(const QString& name) { return Control<QLineEdit>(name); }
  QLabel* Label(const QString& name) { return Control<QLabel>(name); }
  QTabWidget* Pages() { return Control<QTabWidget>(QStringLiteral("PageControl")); }
  // The system-wide items taken from the image again, as after a read.
  void Refill() {
    qd::FillFromSystemData(app.Config());
    qd::NoteEdit(app.Config(), qd::ConfigPart::SystemSettings);
  }
  QAction* MenuEntry(int machine) {
    return app.Main().findChild<QAction*>(QStringLiteral("Machine%1Btn").arg(machine));
  }
  void Show(Page page = MainSetupPage) {
    setup.show();
    Pages()->setCurrentIndex(page);
  }
  // Local mode with no port: the on/off buttons act, the bytes go nowhere.
  void LocalWithoutPort() { comm.SetLinkMode(true); }

  // The link to the simulator's bus once the link's open delay has run out.
  bool ConnectLocal(const Simulator& sim) {
    for (int i = 0; i < qd::link::BusLink::OpenDelayTicks; ++i)
      link.Tick();
    comm.SetLinkMode(true);
    comm.SetComPortText(sim.BusPath());
    link.OpenComPort();
    return WaitUntil([this] { return link.LinkReady(); });
  }

  bool ConnectRemote(const Simulator& sim) {
    SetRemoteLoginAnswerer([](TRemoteLoginForm& form) {
      if (form.CurrentMode() == TRemoteLoginForm::Mode::Login) {
        form.findChild<QLineEdit*>(QStringLiteral("UserNameEdit"))->setText(QStringLiteral("service"));
        form.findChild<QLineEdit*>(QStringLiteral("PasswordEdit"))->setText(QStringLiteral("secret"));
      }
      form.OKbtnClick();
    });
    comm.SetLinkMode(false);
    comm.SetGatewayServerText(sim.GatewayAddress());
    comm.findChild<QPushButton*>(QStringLiteral("RemoteConnectBtn"))->click();
    const bool online =
        WaitUntil([this] { return link.LinkReady() && link.RemoteOnline() && link.RemoteFullAccess(); });
    SetRemoteLoginAnswerer({});
    return online;
  }
};

// A bus status frame (current form) with the system outputs in bytes 6..9.
std::vector<std::uint8_t> StatusFrame(std::uint8_t pumps, std::uint16_t word) {
  std::vector<std::uint8_t> frame(qd::link::ControllerStatus::Size, 0);
  frame[0] = 0x43;
  frame[1] = qd::link::ControllerStatus::Size;
  frame[6] = pumps;
  frame[8] = static_cast<std::uint8_t>(word);
  frame[9] = static_cast<std::uint8_t>(word >> 8);
  return frame;
}

}  // namespace

class SystemSetupFormTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QLocale::setDefault(QLocale::c()); }

  void PagesAndCaptions() {
    Fixture f;
    QTabWidget* pages = f.Pages();
    QCOMPARE(pages->count(), 5);
    QCOMPARE(pages->tabText(TestPage), QStringLiteral(" Test"));
    QCOMPARE(pages->tabText(EthernetPage), QStringLiteral("Ethernet trigger test"));
    QCOMPARE(f.Check(QStringLiteral("Group1KeyboardErrorAlarmBtn"))->text(), QStringLiteral("Keybord error"));
    QCOMPARE(f.Check(QStringLiteral("AlarmActiveHigh7_Btn"))->text(), QStringLiteral("#7"));
    QCOMPARE(f.Button(QStringLiteral("ResetMachineBtn"))->text(), QStringLiteral("Reset machine"));
    auto* combo = f.Control<QComboBox>(QStringLiteral("ResetmachineCombo"));
    QCOMPARE(combo->count(), 11);
    QCOMPARE(combo->itemText(10), QStringLiteral("All"));
    QCOMPARE(f.Edit(QStringLiteral("SystemNameEdit"))->maxLength(), 40);
    QCOMPARE(f.Edit(QStringLiteral("AlarmRecipient8Edit"))->maxLength(), 50);
    for (QLabel* label : f.setup.findChildren<QLabel*>()) {
      if (label->text() == QStringLiteral("System name"))
        QCOMPARE(label->buddy(), f.Edit(QStringLiteral("SystemNameEdit")));
    }
  }

  // Group 1 or 2 forces group 0's box on; with neither, it is free again and keeps its state.
  void GroupZeroRule() {
    Fixture f;
    f.Show(AlarmPage);
    QCheckBox* logged = f.Check(QStringLiteral("Group0LevelAlarmBtn"));
    QVERIFY(!logged->isChecked());
    QVERIFY(logged->isEnabled());
    f.Check(QStringLiteral("Group2LevelAlarmBtn"))->click();
    QVERIFY(logged->isChecked());
    QVERIFY(!logged->isEnabled());
    QVERIFY(f.app.Config().system.AlarmGroups[0][0]);
    f.Check(QStringLiteral("Group1LevelAlarmBtn"))->click();
    f.Check(QStringLiteral("Group2LevelAlarmBtn"))->click();
    QVERIFY(!logged->isEnabled());  // group 1 still sends it
    f.Check(QStringLiteral("Group1LevelAlarmBtn"))->click();
    QVERIFY(logged->isEnabled());
    QVERIFY(logged->isChecked());
    // Other kinds are untouched.
    QVERIFY(f.Check(QStringLiteral("Group0DispenseErrorAlarmBtn"))->isEnabled());
    QVERIFY(!f.Check(QStringLiteral("Group0DispenseErrorAlarmBtn"))->isChecked());
  }

  void MachineBoxesDriveTheMainMenuEntries() {
    Fixture f;
    f.Show();
    // A new system has machine 1 only.
    QVERIFY(f.Check(QStringLiteral("Machine1Btn"))->isChecked());
    QVERIFY(f.MenuEntry(1)->isEnabled());
    QVERIFY(!f.MenuEntry(3)->isEnabled());
    f.Check(QStringLiteral("Machine3Btn"))->click();
    QVERIFY(f.app.Config().system.MachineEnabled[2]);
    QVERIFY(f.MenuEntry(3)->isEnabled());
    f.Check(QStringLiteral("Machine1Btn"))->click();
    QVERIFY(!f.app.Config().system.MachineEnabled[0]);
    QVERIFY(!f.MenuEntry(1)->isEnabled());
    // A refill from the image and a new show keep the choice.
    f.Refill();
    f.setup.close();
    f.Show();
    QVERIFY(!f.Check(QStringLiteral("Machine1Btn"))->isChecked());
    QVERIFY(f.Check(QStringLiteral("Machine3Btn"))->isChecked());
    QVERIFY(!f.MenuEntry(1)->isEnabled());
  }

  void SoapAmountsUseTheLocaleSeparator() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Fixture f;
    auto b = f.app.Config().image.Span();
    qd::bytes::PutU16LE(b, qd::layout::AlarmAmounts, 1234);
    qd::bytes::PutU16LE(b, qd::layout::UsedAmounts + 2 * 5, 7);
    f.Refill();
    QCOMPARE(f.Edit(QStringLiteral("AlarmSoapAmountEdit1"))->text(), QStringLiteral("12,34"));
    QCOMPARE(f.Edit(QStringLiteral("AlarmSoapUsedAmountEdit6"))->text(), QStringLiteral("0,07"));
    f.Show(SoapAmountPage);
    QLineEdit* amount = f.Edit(QStringLiteral("AlarmSoapAmountEdit2"));
    amount->selectAll();
    QTest::keyClicks(amount, QStringLiteral("3,5"));
    f.Check(QStringLiteral("AlarmOnUsedSoapAmountBtn"))->click();
    f.app.Eeprom().BuildImage();
    QCOMPARE(qd::bytes::GetU16LE(f.app.Config().image.Span(), qd::layout::AlarmAmounts + 2), 350);
    QCOMPARE(f.app.Config().image.bytes[qd::layout::AlarmOnAmountEnabled], 1);
    f.Refill();
    QCOMPARE(amount->text(), QStringLiteral("3,50"));
  }

  void IdentityAndClock() {
    Fixture f;
    // A new system hides the identity and shows no clock.
    QVERIFY(!f.Label(QStringLiteral("SerialNumberLabel2"))->isVisibleTo(&f.setup));
    QCOMPARE(f.Label(QStringLiteral("QD310watchLabel"))->text(), QString());
    // What a read puts into the image.
    auto b = f.app.Config().image.Span();
    b[qd::layout::HardwareVersion] = 3;
    b[qd::layout::FirmwareMajor] = 2;
    b[qd::layout::FirmwareMinor] = 14;
    qd::bytes::PutU32LE(b, qd::layout::SerialNumber, 3000000123u);
    const std::uint8_t clock[] = {9, 8, 7, 6, 5, 24};
    std::copy(std::begin(clock), std::end(clock), b.begin() + qd::layout::ControllerTime);
    f.Refill();
    QCOMPARE(f.Label(QStringLiteral("SerialNumberLabel2"))->text(), QStringLiteral("3000000123"));
    QVERIFY(f.Label(QStringLiteral("SerialNumberLabel2"))->isVisibleTo(&f.setup));
    QCOMPARE(f.Label(QStringLiteral("HardwareVersionLabel2"))->text(), QStringLiteral("3"));
    QCOMPARE(f.Label(QStringLiteral("FirmwareVersionLabel2"))->text(), QStringLiteral("2.14"));
    QCOMPARE(f.Label(QStringLiteral("QD310watchLabel"))->text(), QStringLiteral("2024-05-06  07:08:09"));
    b[qd::layout::ControllerTime + 4] = 0;  // month 0
    f.Refill();
    QCOMPARE(f.Label(QStringLiteral("QD310watchLabel"))->text(), QString());
    // New system: hidden until the window is shown again, then the built image's identity.
    f.app.Main().NewSystemBtnClick();
    QVERIFY(!f.Label(QStringLiteral("FirmwareVersionLabel2"))->isVisibleTo(&f.setup));
    f.Show();
    QVERIFY(f.Label(QStringLiteral("FirmwareVersionLabel2"))->isVisible());
    QCOMPARE(f.Label(QStringLiteral("FirmwareVersionLabel2"))->text(),
             QStringLiteral("%1.%2")
                 .arg(f.app.Config().image.FirmwareMajor())
                 .arg(f.app.Config().image.FirmwareMinor()));
  }

  // The configuration is the store: closing and showing again keeps what was typed and checked.
  void EditsSurviveCloseAndReopen() {
    Fixture f;
    f.Show();
    QTest::keyClicks(f.Edit(QStringLiteral("SystemNameEdit")), QStringLiteral("Laundry North"));
    QLineEdit* filter = f.Edit(QStringLiteral("DefaultInputFilterTimeEdit"));
    filter->selectAll();
    QTest::keyClicks(filter, QStringLiteral("300"));
    f.Pages()->setCurrentIndex(AlarmPage);
    QTest::keyClicks(f.Edit(QStringLiteral("AlarmRecipient6Edit")), QStringLiteral("+4512345678"));
    f.Check(QStringLiteral("Group1TriggerErrorAlarmBtn"))->click();
    f.Check(QStringLiteral("AlarmActiveHighCommonBtn"))->click();
    f.Pages()->setCurrentIndex(SoapAmountPage);
    QLineEdit* used = f.Edit(QStringLiteral("AlarmSoapUsedAmountEdit3"));
    used->selectAll();
    QTest::keyClicks(used, QStringLiteral("1.25"));
    f.setup.close();
    f.Show();
    QCOMPARE(f.Edit(QStringLiteral("SystemNameEdit"))->text(), QStringLiteral("Laundry North"));
    QCOMPARE(filter->text(), QStringLiteral("44"));  // one byte: 300 & 0xFF
    QCOMPARE(f.Edit(QStringLiteral("AlarmRecipient6Edit"))->text(), QStringLiteral("+4512345678"));
    QVERIFY(f.Check(QStringLiteral("Group1TriggerErrorAlarmBtn"))->isChecked());
    QVERIFY(f.Check(QStringLiteral("Group0TriggerErrorAlarmBtn"))->isChecked());
    QVERIFY(f.Check(QStringLiteral("AlarmActiveHighCommonBtn"))->isChecked());
    QCOMPARE(used->text(), QStringLiteral("1.25"));
    // And they go into the next image.
    f.app.Eeprom().BuildImage();
    const qd::ControllerImage& image = f.app.Config().image;
    QCOMPARE(image.FieldText(qd::layout::SystemName, qd::layout::SystemNameField),
             std::string("Laundry North"));
    QCOMPARE(image.bytes[qd::layout::DefaultInputFilter], 44);
    QCOMPARE(
        image.FieldText(qd::layout::Recipients + 5 * qd::layout::RecipientField, qd::layout::RecipientField),
        std::string("+4512345678"));
  }

  void ResetSystemSetupGivesNewSystemDefaults() {
    Fixture f;
    f.Show(AlarmPage);
    f.Check(QStringLiteral("Group2DispenseErrorAlarmBtn"))->click();
    QTest::keyClicks(f.Edit(QStringLiteral("AlarmRecipient1Edit")), QStringLiteral("a@b.c"));
    f.app.Main().NewSystemBtnClick();
    QVERIFY(!f.Check(QStringLiteral("Group2DispenseErrorAlarmBtn"))->isChecked());
    QVERIFY(!f.Check(QStringLiteral("Group0DispenseErrorAlarmBtn"))->isChecked());
    QVERIFY(f.Check(QStringLiteral("Group0DispenseErrorAlarmBtn"))->isEnabled());
    QCOMPARE(f.Edit(QStringLiteral("AlarmRecipient1Edit"))->text(), QString());
    QCOMPARE(f.Edit(QStringLiteral("DefaultInputFilterTimeEdit"))->text(), QStringLiteral("5"));
    QCOMPARE(f.Control<QComboBox>(QStringLiteral("ResetmachineCombo"))->currentIndex(), -1);
  }

  void PumpSwitchedByHandIsInTheIdleAnswerAndReleasedOnPageChangeAndClose() {
    Fixture f;
    f.LocalWithoutPort();
    f.Show(TestPage);
    QPushButton* pump = f.Button(QStringLiteral("PumpOn3Btn"));
    pump->click();
    QVERIFY(pump->isChecked());
    QCOMPARE(pump->text(), QStringLiteral("On"));
    QVERIFY(f.Check(QStringLiteral("PumpControl3Btn"))->isChecked());
    f.Button(QStringLiteral("FlushDrainOnBtn"))->click();
    f.Button(QStringLiteral("MachineOn10Btn"))->click();
    const qd::link::ManualOutputs& manual = f.setup.ManualControl();
    QCOMPARE(manual.pumpOn, 0x04);
    QCOMPARE(manual.pumpControl, 0x04);
    const std::array<std::uint8_t, 6> idle = {0x04, 0x04, 0x00, 0x0A, 0x00, 0x0A};
    QCOMPARE(manual.Encode(), idle);
    // The controller's status cannot override an output under PC control.
    const auto off = StatusFrame(0x00, 0x0000);
    f.setup.ApplySystemStatus(qd::link::PayloadView(off));
    QVERIFY(pump->isChecked());
    // Without a ready link the control boxes cannot be changed by hand.
    QVERIFY(!f.Check(QStringLiteral("PumpControl3Btn"))->isEnabled());

    f.Pages()->setCurrentIndex(AlarmPage);
    QCOMPARE(manual, qd::link::ManualOutputs{});
    QVERIFY(!pump->isChecked());
    QVERIFY(!f.Check(QStringLiteral("PumpControl3Btn"))->isChecked());

    f.Pages()->setCurrentIndex(TestPage);
    f.Button(QStringLiteral("AlarmOutputOnBtn"))->click();
    QVERIFY(manual.alarmOutputControl);
    f.setup.close();
    QCOMPARE(manual, qd::link::ManualOutputs{});
  }

  void OnButtonsDoNothingOutsideLocalMode() {
    Fixture f;
    f.comm.SetLinkMode(false);
    f.Show(TestPage);
    QPushButton* pump = f.Button(QStringLiteral("PumpOn1Btn"));
    pump->click();
    QVERIFY(!pump->isChecked());
    QCOMPARE(f.setup.ManualControl(), qd::link::ManualOutputs{});
    // The gateway's status shows every output as reported.
    const std::vector<std::uint8_t> message = {'C', 'X', 0x01, 0x00, 0x00, 0x04};
    f.setup.ApplyRemoteSystemStatus(message);
    QVERIFY(pump->isChecked());
    QVERIFY(f.Button(QStringLiteral("FlushWaterOnBtn"))->isChecked());
  }

  void MonitorLinesAndDelete() {
    Fixture f;
    f.Show(EthernetPage);
    auto* monitor = f.Check(QStringLiteral("EthernetMieleLogicMonitorBtn"));
    monitor->click();
    QVERIFY(f.link.Link().handlers.monitorOn());
    std::vector<std::uint8_t> reply(20, 0);
    reply[0] = 0x51;
    reply[1] = 20;
    reply[6] = 0x10;
    reply[10] = 7;
    f.link.Dispatch().DispatchBusFrame(qd::link::PayloadView(reply));
    reply[6] = 0x03;  // not valid: no line
    f.link.Dispatch().DispatchBusFrame(qd::link::PayloadView(reply));
    auto* memo = f.Control<QPlainTextEdit>(QStringLiteral("EthernetMieleLogicMemo"));
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].contains(QStringLiteral("> M= ?, Serial=00000007, UnitID=00000000")),
             qPrintable(lines[0]));
    f.Pages()->setCurrentIndex(TestPage);
    QVERIFY(!monitor->isChecked());
    QTest::keyClick(&f.setup, Qt::Key_Delete);  // only on the monitor's page
    QVERIFY(!memo->toPlainText().isEmpty());
    f.Pages()->setCurrentIndex(EthernetPage);
    QTest::keyClick(&f.setup, Qt::Key_Delete);
    QVERIFY(memo->toPlainText().isEmpty());
  }

  void ResetControlsFollowTheAccess() {
    Fixture f;
    f.Show(TestPage);
    f.comm.SetLinkMode(false);  // remote and offline
    QVERIFY(!f.Button(QStringLiteral("ResetMachineBtn"))->isEnabled());
    QVERIFY(!f.Control<QComboBox>(QStringLiteral("ResetmachineCombo"))->isEnabled());
    f.comm.SetLinkMode(true);
    QVERIFY(f.Button(QStringLiteral("ResetMachineBtn"))->isEnabled());
    // No machine chosen: nothing to reset, nothing confirmed.
    f.Button(QStringLiteral("ResetMachineBtn"))->click();
    QVERIFY(!f.setup.ResetMachinePending());
    QVERIFY(!f.link.Link().handlers.takeResetMachineRequest());
    // Chosen: the link takes the entry once and "OK" shows.
    f.Control<QComboBox>(QStringLiteral("ResetmachineCombo"))->setCurrentIndex(10);
    f.Button(QStringLiteral("ResetMachineBtn"))->click();
    QCOMPARE(f.link.Link().handlers.takeResetMachineRequest(), std::optional<int>(10));
    QVERIFY(f.Label(QStringLiteral("ResetMachineOKlabel"))->isVisible());
    QCOMPARE(f.Label(QStringLiteral("ResetMachineOKlabel"))->text(), QStringLiteral("OK"));
    QVERIFY(!f.link.Link().handlers.takeResetMachineRequest());
    QVERIFY(!f.link.RunningOperation());

    // While another operation holds the controller the button is off; a reset that no poll takes in
    // time lets go of the controller.
    QVERIFY(f.link.Begin(qd::link::Operation::Write));
    QVERIFY(!f.Button(QStringLiteral("ResetMachineBtn"))->isEnabled());
    f.link.End(qd::link::Operation::Write, true);
    QVERIFY(f.Button(QStringLiteral("ResetMachineBtn"))->isEnabled());
    f.Button(QStringLiteral("ResetMachineBtn"))->click();
    QCOMPARE(f.link.RunningOperation(), qd::link::Operation::ResetMachine);
    for (int tick = 0; tick < qd::link::ConfirmationLimitTicks; ++tick)
      f.link.Tick();
    QVERIFY(!f.link.RunningOperation());
    QVERIFY(!f.setup.ResetMachinePending());
    QVERIFY(!f.link.Link().handlers.takeResetMachineRequest());
  }

  // The simulated controller runs a pump switched on in the test page and stops it on a page change.
  void PumpRunsInTheSimulatedController() {
    Simulator sim({QStringLiteral("--no-pacing")});
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Fixture f;
    // Watch the status frames on their way to the window.
    std::uint8_t reported = 0xFF;
    auto& handler = f.link.Dispatch().handlers.systemStatus;
    handler = [&reported, window = handler](qd::link::PayloadView frame) {
      reported = qd::link::ControllerStatus(frame.Bytes()).PumpsRunning();
      window(frame);
    };
    QVERIFY(f.ConnectLocal(sim));
    f.Show(TestPage);
    QVERIFY(f.Check(QStringLiteral("PumpControl2Btn"))->isEnabled());
    QPushButton* pump = f.Button(QStringLiteral("PumpOn2Btn"));
    pump->click();
    QVERIFY(WaitUntil([&] { return reported == 0x02; }));
    QVERIFY(pump->isChecked());
    // Handed back to the controller, which stops it; the indicator follows the controller's status.
    f.Check(QStringLiteral("PumpControl2Btn"))->click();
    QVERIFY(WaitUntil([&] { return reported == 0x00 && !pump->isChecked(); }));
    QCOMPARE(f.setup.ManualControl().pumpOn, 0x02);  // the wanted state stays
    // Taken again, then released by leaving the page.
    f.Check(QStringLiteral("PumpControl2Btn"))->click();
    QVERIFY(WaitUntil([&] { return reported == 0x02 && pump->isChecked(); }));
    f.Pages()->setCurrentIndex(AlarmPage);
    QVERIFY(WaitUntil([&] { return reported == 0x00; }));
    QVERIFY(!pump->isChecked());
  }

  void ResetMachineLocallyShowsOk() {
    Simulator sim({QStringLiteral("--no-pacing")});
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Fixture f;
    QVERIFY(f.ConnectLocal(sim));
    f.Show(TestPage);
    f.Control<QComboBox>(QStringLiteral("ResetmachineCombo"))->setCurrentIndex(1);
    f.Button(QStringLiteral("ResetMachineBtn"))->click();
    QVERIFY(!f.Label(QStringLiteral("ResetMachineOKlabel"))->isVisible());
    QVERIFY(WaitUntil([&] { return f.Label(QStringLiteral("ResetMachineOKlabel"))->isVisible(); }));
    QVERIFY(!f.setup.ResetMachinePending());
    // The link goes on polling afterwards.
    QVERIFY(WaitUntil([&] { return !f.link.Link().RequestQueued(); }));
    QVERIFY(f.link.LinkReady());
  }

  void ResetMachineThroughTheGatewayShowsOkWhenConfirmed() {
    Simulator sim({QStringLiteral("--no-pacing")}, /*gateway=*/true);
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Fixture f;
    QVERIFY(f.ConnectRemote(sim));
    f.Show(TestPage);
    QVERIFY(f.Button(QStringLiteral("ResetMachineBtn"))->isEnabled());
    f.Control<QComboBox>(QStringLiteral("ResetmachineCombo"))->setCurrentIndex(4);
    f.Button(QStringLiteral("ResetMachineBtn"))->click();
    QVERIFY(f.setup.ResetMachinePending());
    QVERIFY(WaitUntil([&] { return f.Label(QStringLiteral("ResetMachineOKlabel"))->isVisible(); }));
    QVERIFY(!f.setup.ResetMachinePending());
  }
};

QTEST_MAIN(SystemSetupFormTest)
#include "system_setup_form_test.moc"
