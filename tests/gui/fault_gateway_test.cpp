// The gateway connection dropped in the middle of a remote read and a remote write: the transfer ends at
// once with its failure text, the communication window shows the gateway disconnected, and connecting
// again gives a full read.
//
// No tick is driven between the drop and the check, so an end that waited for a time-out would not be seen.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "gui/app/app.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "gui/link/remote_login_form.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;
using qd::link::TransferState;

namespace {

struct Program : AppFixture {
  ScriptedUser user;
  TEEPROMForm& eeprom = app.Eeprom();
  TCommunicationForm& comm = app.Communication();
  qd::transport::Connection& link = app.Connection();

  QString TransferStatus() { return eeprom.StatusPanelText(TEEPROMForm::TransferPanel); }
  QString RemoteState() { return comm.findChild<QLabel*>(QStringLiteral("RemoteStateLabel"))->text(); }

  // Logs in to the simulator's gateway as the default user and takes the first system offered.
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

  // The transfer ended as failed where the connection went, and nothing waits for the link.
  void ExpectEndedByTheDrop() {
    QVERIFY(WaitUntil([this] { return eeprom.Transfer().State() == TransferState::Idle; }));
    QCOMPARE(TransferStatus(), QStringLiteral("Transfer faild at: %1").arg(eeprom.Transfer().Current()));
    QVERIFY(WaitUntil([this] { return !link.LinkReady(); }));
    QCOMPARE(RemoteState(), QStringLiteral("Disconnected"));
    QVERIFY(!eeprom.findChild<QPushButton*>(QStringLiteral("StopBtn"))->isEnabled());
    // The gateway ending the connection is told by the windows' texts, not by a box on top of them.
    QVERIFY2(user.Boxes().empty(), qPrintable(user.BoxTexts().join(QStringLiteral(" | "))));
  }

  void ExpectReconnectAndRead(const Simulator& sim) {
    QVERIFY(ConnectRemote(sim));
    eeprom.ReadBtnClick();
    QVERIFY(WaitUntil([this] { return TransferStatus() == QStringLiteral("Transfer completed"); },
                      std::chrono::seconds(60)));
    QCOMPARE(eeprom.Transfer().Current(), 32768);
  }
};

}  // namespace

class FaultGatewayTest : public QObject {
  Q_OBJECT

 private slots:
  void droppedDuringReadEndsTheRead() {
    Simulator sim({QStringLiteral("--system"), TestDataPath(QStringLiteral("sample_system.xml")),
                   QStringLiteral("--gateway-block"), QStringLiteral("500"),
                   QStringLiteral("--gateway-fault"), QStringLiteral("drop-read:3")},
                  /*gateway=*/true);
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Program p;
    p.eeprom.show();
    QVERIFY(p.ConnectRemote(sim));
    p.eeprom.ReadBtnClick();
    p.ExpectEndedByTheDrop();
    QCOMPARE(p.eeprom.Transfer().Current(), 1500);

    p.ExpectReconnectAndRead(sim);
  }

  void droppedDuringWriteEndsTheWrite() {
    Simulator sim({QStringLiteral("--gateway-fault"), QStringLiteral("drop-write:5")}, /*gateway=*/true);
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Program p;
    p.eeprom.show();
    QVERIFY(p.ConnectRemote(sim));
    p.eeprom.SetRemoteBlockPauseMs(20);
    p.eeprom.WriteBtnClick();
    p.ExpectEndedByTheDrop();
    // Sending stopped with the connection instead of pausing through every remaining block.
    QVERIFY(p.eeprom.Transfer().Current() < p.app.Config().image.dataLength);

    p.ExpectReconnectAndRead(sim);
  }
};

QTEST_MAIN(FaultGatewayTest)
#include "fault_gateway_test.moc"
