#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/app/app.h"
#include "gui/link/communication_form.h"
#include "support/gui_test_support.h"
#include "transport/serial_latency.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

// A fake sysfs tree, in force while the object lives, that gives the simulator's terminal a latency timer.
class FakeAdapterLatency {
 public:
  FakeAdapterLatency(const Simulator& sim, const QByteArray& milliseconds) {
    const QString tty = qd::transport::TtyNameOf(sim.BusPath());
    const QString folder = root_.filePath(QStringLiteral("bus/usb-serial/devices/") + tty);
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/latency_timer"));
    if (file.open(QIODevice::WriteOnly)) file.write(milliseconds + '\n');
    qputenv(qd::transport::SysfsRootVariable, root_.path().toLocal8Bit());
  }
  ~FakeAdapterLatency() { qunsetenv(qd::transport::SysfsRootVariable); }
  FakeAdapterLatency(const FakeAdapterLatency&) = delete;
  FakeAdapterLatency& operator=(const FakeAdapterLatency&) = delete;

 private:
  QTemporaryDir root_;
};

struct Fixture : AppFixture {
  TCommunicationForm& comm = app.Communication();
  qd::transport::Connection& link = app.Connection();
  QLabel* note = comm.findChild<QLabel*>(QStringLiteral("AdapterLatencyLabel"));

  bool NoteShown() const { return note->isVisibleTo(&comm); }
};

}  // namespace

class CommunicationLatencyTest : public QObject {
  Q_OBJECT

 private slots:
  void ASlowAdapterGetsANoteWhileItsPortIsOpen() {
    Simulator sim;
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    const FakeAdapterLatency latency(sim, "16");
    Fixture f;
    QVERIFY(f.note != nullptr);
    QVERIFY(!f.NoteShown());
    QVERIFY(f.OpenPort(sim));
    QVERIFY(f.NoteShown());
    QCOMPARE(f.note->text(),
             QStringLiteral(
                 "Adapter latency 16 ms: answers are slow. Install the udev rule or run 'qdtool doctor'."));
    QVERIFY(WaitUntil([&] { return f.link.LinkReady(); }));
    f.Ticks(3);
    QVERIFY(f.NoteShown());

    f.comm.findChild<QPushButton*>(QStringLiteral("CloseBtn"))->click();
    QVERIFY(!f.NoteShown());
    QVERIFY(f.link.OpenComPort());
    QVERIFY(f.NoteShown());

    f.comm.SetLinkMode(false);
    QVERIFY(!f.NoteShown());
  }

  void AFastOrUnknownAdapterGetsNone() {
    Simulator sim;
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    {
      const FakeAdapterLatency latency(sim, "1");
      Fixture f;
      QVERIFY(f.OpenPort(sim));
      f.Ticks(1);
      QVERIFY(!f.NoteShown());
    }
    Fixture f;  // no tree: a pseudo-terminal has no latency timer
    QVERIFY(f.OpenPort(sim));
    f.Ticks(1);
    QVERIFY(!f.NoteShown());
  }

  void TheNoteFollowsThePortItWasReadFor() {
    Simulator slow;
    Simulator other;
    QVERIFY2(slow.Running() && other.Running(), qPrintable(slow.Errors() + other.Errors()));
    const FakeAdapterLatency latency(slow, "16");
    Fixture f;
    QVERIFY(f.OpenPort(slow));
    QVERIFY(f.NoteShown());
    f.comm.SetComPortText(other.BusPath());
    QVERIFY(f.link.OpenComPort());
    QVERIFY(!f.NoteShown());
  }
};

QTEST_MAIN(CommunicationLatencyTest)
#include "communication_latency_test.moc"
