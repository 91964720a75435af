// The USB adapter pulled out in the middle of a read, a write and a firmware update (the simulator's
// pseudo-terminal closes): the transfer ends at once with its failure text, the window stays usable, the
// communication window shows the port closed, and after plugging in again a full read works.
//
// The test never drives a tick between the unplug and the check, so an end that waited for a time-out
// would not be seen.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "gui/app/app.h"
#include "gui/firmware/firmware_update_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;
using qd::link::TransferState;

namespace {

// A transfer that has come this far is in the middle (the simulator paces its bytes at 115200 baud).
constexpr int UnplugOffset = 4096;

struct Program : AppFixture {
  ScriptedUser user;
  TEEPROMForm& eeprom = app.Eeprom();
  TCommunicationForm& comm = app.Communication();
  qd::transport::Connection& link = app.Connection();

  QLabel* CommLabel(const char* name) { return comm.findChild<QLabel*>(QString::fromLatin1(name)); }
  QPushButton* EepromButton(const char* name) {
    return eeprom.findChild<QPushButton*>(QString::fromLatin1(name));
  }
  QString TransferStatus() { return eeprom.StatusPanelText(TEEPROMForm::TransferPanel); }
  bool Connected(const Simulator& sim) {
    return OpenPort(sim) && WaitUntil([this] { return link.LinkReady(); });
  }

  // After the unplug: the port is closed and says so, and the read/write window waits for the link.
  void ExpectPortShownClosed() {
    QVERIFY(!link.Port().IsOpen());
    QVERIFY(!link.LinkReady());
    Ticks(1);
    QCOMPARE(CommLabel("ComportStatusLabel")->text(), QStringLiteral("Port closed"));
    QVERIFY(!EepromButton("ReadBtn")->isEnabled());
    QVERIFY(!EepromButton("WriteBtn")->isEnabled());
    QVERIFY(!EepromButton("StopBtn")->isEnabled());
  }

  // A new simulator on the same path, Open, "Ready", and the whole memory read.
  void ExpectReconnectAndRead(Simulator& sim) {
    QVERIFY2(sim.Restart(), qPrintable(sim.Errors()));
    comm.findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
    QVERIFY(link.Port().IsOpen());
    QVERIFY(WaitUntil([this] { return link.LinkReady(); }));
    QCOMPARE(CommLabel("ComportStatusLabel")->text(), QStringLiteral("Ready"));
    eeprom.show();
    QVERIFY(EepromButton("ReadBtn")->isEnabled());
    eeprom.ReadBtnClick();
    QVERIFY(WaitUntil([this] { return TransferStatus() == QStringLiteral("Read completed"); },
                      std::chrono::seconds(60)));
    QCOMPARE(eeprom.Transfer().Current(), 32768);
  }
};

}  // namespace

class FaultUnplugTest : public QObject {
  Q_OBJECT

 private slots:
  void unplugDuringReadEndsTheRead_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("pulled out") << int{SIGKILL};
    QTest::newRow("simulator ended") << int{SIGTERM};
  }

  void unplugDuringReadEndsTheRead() {
    QFETCH(int, signal);
    Simulator sim({QStringLiteral("--system"), TestDataPath(QStringLiteral("sample_system.xml"))});
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Program p;
    QVERIFY(p.Connected(sim));
    p.eeprom.show();
    p.eeprom.ReadBtnClick();
    QCOMPARE(p.eeprom.Transfer().State(), TransferState::ReadingLocal);
    QVERIFY(WaitUntil([&] { return p.eeprom.Transfer().Current() >= UnplugOffset; }));

    sim.Kill(signal);
    QVERIFY(WaitUntil([&] { return p.eeprom.Transfer().State() == TransferState::Idle; }));
    const int reached = p.eeprom.Transfer().Current();
    QVERIFY(reached >= UnplugOffset && reached < 32768);
    QCOMPARE(p.TransferStatus(), QStringLiteral("Transfer faild at: %1").arg(reached));
    p.ExpectPortShownClosed();
    QVERIFY(p.user.Boxes().empty());

    p.ExpectReconnectAndRead(sim);
    QVERIFY(p.user.Boxes().empty());
  }

  void unplugDuringWriteEndsTheWrite() {
    Simulator sim;
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Program p;
    QVERIFY(p.Connected(sim));
    p.eeprom.show();
    p.eeprom.WriteBtnClick();
    QCOMPARE(p.eeprom.Transfer().State(), TransferState::WritingLocal);
    QVERIFY(WaitUntil([&] { return p.eeprom.Transfer().Current() >= UnplugOffset; }));

    sim.Kill(SIGKILL);
    // A local write has no time-out: before, it waited for a Stop that the closed port had disabled.
    QVERIFY(WaitUntil([&] { return p.eeprom.Transfer().State() == TransferState::Idle; }));
    const int reached = p.eeprom.Transfer().Current();
    QCOMPARE(p.TransferStatus(), QStringLiteral("Transfer faild at: %1").arg(reached));
    p.ExpectPortShownClosed();
    QVERIFY(!p.link.Link().RequestQueued());
    QVERIFY(!p.link.Link().RetransmissionKept());

    // Plugged into another dosing system: nothing of the lost write reaches it.
    QTemporaryDir folder;
    const QString before = folder.filePath(QStringLiteral("before.bin"));
    const QString after = folder.filePath(QStringLiteral("after.bin"));
    const QStringList system = {QStringLiteral("--system"),
                                TestDataPath(QStringLiteral("sample_system.xml"))};
    Simulator(system + QStringList{QStringLiteral("--dump-memory"), before}).Stop();
    Simulator other(system + QStringList{QStringLiteral("--dump-memory"), after});
    QVERIFY2(other.Running(), qPrintable(other.Errors()));
    p.comm.SetComPortText(other.BusPath());
    p.comm.findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
    QVERIFY(WaitUntil([&] { return p.link.LinkReady(); }));
    const int heard = p.link.Link().Counters().framesHeard;
    QVERIFY(WaitUntil([&] { return p.link.Link().Counters().framesHeard > heard + 20; }));
    other.Stop();
    QCOMPARE(ReadFile(after), ReadFile(before));
    QVERIFY(!ReadFile(before).isEmpty());

    p.comm.SetComPortText(sim.BusPath());
    p.ExpectReconnectAndRead(sim);
    QVERIFY(p.user.Boxes().empty());
  }

  void unplugDuringFirmwareUpdateEndsIt() {
    Simulator sim;
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Program p;
    QVERIFY(p.Connected(sim));
    TFirmwareUpdateForm& window = p.app.FirmwareUpdate();
    window.ShowFor(TFirmwareUpdateForm::Target::Trigger);
    window.findChild<QComboBox*>(QStringLiteral("FileNameComboBox"))
        ->setCurrentText(TestDataPath(QStringLiteral("firmware/firmware_3700.hex")));
    window.findChild<QPushButton*>(QStringLiteral("StartBtn"))->click();
    // The blocks run from 80h to 3800h.
    QVERIFY(WaitUntil([&] { return window.Loader().Progress() >= 0x800; }));
    QCOMPARE(window.Loader().State(), qd::firmware::FirmwareState::SendingBlocks);
    QVERIFY(window.Loader().ProgrammingActive());

    sim.Kill(SIGKILL);
    QVERIFY(WaitUntil([&] { return window.Loader().State() == qd::firmware::FirmwareState::Idle; }));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("StateLabel"))->text(),
             QStringLiteral("Timeout error!"));
    QVERIFY(!window.Loader().ProgrammingActive());
    QVERIFY(window.findChild<QWidget*>(QStringLiteral("FileGroup"))->isEnabled());
    p.ExpectPortShownClosed();
    window.close();

    p.ExpectReconnectAndRead(sim);
    // The file's data reaches beyond the trigger's memory: the only box is the warning before the start.
    QCOMPARE(p.user.Boxes().size(), std::size_t{1});
    QVERIFY(p.user.BoxTexts().front().startsWith(QStringLiteral("The file holds data up to")));
  }
};

QTEST_MAIN(FaultUnplugTest)
#include "fault_unplug_test.moc"
