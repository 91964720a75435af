#include "gui/link/communication_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/link/communication_error_form.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

// The app with its timer stopped: the test drives the ticks.
struct Fixture : AppFixture {
  TCommunicationForm& comm = app.Communication();
  qd::transport::Connection& link = app.Connection();

  QLabel* Label(const char* name) { return comm.findChild<QLabel*>(QString::fromLatin1(name)); }
};

}  // namespace

class CommunicationFormTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsWithNoModeAndTheNonePort() {
    Fixture f;
    auto* combo = f.comm.findChild<QComboBox*>(QStringLiteral("ComPortCombo"));
    QCOMPARE(combo->itemText(0), QStringLiteral("None"));
    QCOMPARE(f.comm.ComPortText(), QStringLiteral("COM1"));
    QVERIFY(!f.comm.findChild<QRadioButton*>(QStringLiteral("LocalBtn"))->isChecked());
    QVERIFY(!f.comm.findChild<QRadioButton*>(QStringLiteral("RemoteBtn"))->isChecked());
    QVERIFY(!f.link.Port().IsOpen());
    auto* gateway = f.comm.findChild<QComboBox*>(QStringLiteral("GatewayServerAddressCombo"));
    QCOMPARE(gateway->currentText(), QString());
    // No host under somebody else's domain: this build names none, and none was used yet.
    QCOMPARE(gateway->count(), 1);
    QCOMPARE(gateway->itemText(0), QStringLiteral("127.0.0.1"));

    // The last host used comes first next time; the text itself starts empty.
    f.comm.SetLastGatewayHost(QStringLiteral("gw.example.net"));
    QCOMPARE(gateway->itemText(0), QStringLiteral("gw.example.net"));
    QCOMPARE(gateway->itemText(1), QStringLiteral("127.0.0.1"));
    QCOMPARE(gateway->currentText(), QString());
  }

  void PortOpensAfterTheDelayAndShowsReady() {
    Simulator sim;
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Fixture f;
    f.comm.SetComPortText(sim.BusPath());
    f.comm.SetLinkMode(true);
    f.Ticks(qd::link::BusLink::OpenDelayTicks - 1);
    QVERIFY(!f.link.Port().IsOpen());
    f.Ticks(1);
    QVERIFY(f.link.Port().IsOpen());
    QSignalSpy linkState(&f.link, &qd::transport::Connection::LinkStateChanged);
    QVERIFY(WaitUntil([&] { return f.link.LinkReady(); }));
    QVERIFY(linkState.count() >= 1);
    QLabel* status = f.Label("ComportStatusLabel");
    QCOMPARE(status->text(), QStringLiteral("Ready"));
    QVERIFY(status->isVisibleTo(&f.comm));
    QVERIFY(status->styleSheet().contains(QStringLiteral("#7ed67e")));

    // The first frame after the open always resynchronises.
    f.comm.show();
    f.Ticks(10);
    QCOMPARE(f.comm.CounterPanelText(2), QStringLiteral("Sync: 1"));
    QVERIFY(f.comm.CounterPanelText(0).startsWith(QStringLiteral("Rx: ")));
    QVERIFY(f.comm.CounterPanelText(0) != QStringLiteral("Rx:      0"));
    QCOMPARE(f.comm.CounterPanelText(3), QString());
    QCOMPARE(f.comm.CounterPanelText(4), QString());

    // Two seconds without a frame to the PC: the link is no longer ready.
    sim.Stop();
    f.Ticks(qd::link::BusLink::LinkAliveTicks);
    QVERIFY(!f.link.LinkReady());
    QCOMPARE(status->text(), QStringLiteral("Port open"));
    QVERIFY(status->styleSheet().contains(QStringLiteral("#ffe36b")));
  }

  void ClosedAndMissingPortsAreShown() {
    Fixture f;
    f.comm.SetComPortText(QStringLiteral("/nonexistent/ttyUSB9"));
    f.comm.SetLinkMode(true);
    f.Ticks(qd::link::BusLink::OpenDelayTicks);
    QVERIFY(!f.link.Port().IsOpen());
    QCOMPARE(f.Label("ComportStatusLabel")->text(), QStringLiteral("Port closed"));
    f.comm.findChild<QPushButton*>(QStringLiteral("CloseBtn"))->click();
    QCOMPARE(f.Label("ComportStatusLabel")->text(), QStringLiteral("Closed"));
    QCOMPARE(f.Label("ComportStatusLabel")->styleSheet(), QString());

    // "None" closes the port instead of opening one.
    f.comm.SetComPortText(QStringLiteral("None"));
    QVERIFY(!f.link.OpenComPort());
  }

  void ModeSwitchEnablesOneGroup() {
    Fixture f;
    f.comm.findChild<QRadioButton*>(QStringLiteral("RemoteBtn"))->click();
    QVERIFY(!f.link.LocalMode());
    QVERIFY(!f.comm.findChild<QComboBox*>(QStringLiteral("ComPortCombo"))->isEnabled());
    QVERIFY(f.comm.findChild<QPushButton*>(QStringLiteral("RemoteConnectBtn"))->isEnabled());
    f.comm.findChild<QRadioButton*>(QStringLiteral("LocalBtn"))->click();
    QVERIFY(f.link.LocalMode());
    QVERIFY(f.comm.findChild<QComboBox*>(QStringLiteral("ComPortCombo"))->isEnabled());
    QVERIFY(!f.comm.findChild<QComboBox*>(QStringLiteral("GatewayServerAddressCombo"))->isEnabled());
  }

  void ChecksumErrorsOpenTheErrorWindowWhenAsked() {
    // Every fourth frame to the PC is broken, so errors keep coming however late the port opens.
    Simulator sim({QStringLiteral("--fault"), QStringLiteral("bad-checksum:every=4")});
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Fixture f;
    f.comm.findChild<QCheckBox*>(QStringLiteral("ShowChecksumErrorBtn"))->setChecked(true);
    QVERIFY(f.OpenPort(sim));
    TCommunicationErrorForm& errors = f.app.CommunicationError();
    QVERIFY(WaitUntil([&] { return errors.isVisible(); }));
    QVERIFY(WaitUntil([&] { return f.link.Link().Counters().checksumErrorCount >= 2; }));
    // The ticks run no event loop: the count cannot change while they run.
    f.comm.show();
    f.Ticks(10);
    QCOMPARE(f.comm.CounterPanelText(4),
             QStringLiteral("Checksum error: %1").arg(f.link.Link().Counters().checksumErrorCount));
    errors.close();
    QCOMPARE(f.link.Link().Counters().checksumErrorCount, 0);
  }
};

QTEST_MAIN(CommunicationFormTest)
#include "communication_form_test.moc"
