#include "gui/editors/calibration_form.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <optional>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/editors/system_setup_form.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

struct Fixture : AppFixture {
  TCalibrationForm& calibration = app.Calibration();

  QLineEdit* Edit(const char* name) { return calibration.findChild<QLineEdit*>(QString::fromLatin1(name)); }
  QLabel* Label(const char* name) { return calibration.findChild<QLabel*>(QString::fromLatin1(name)); }
  QPushButton* Button(const char* name) {
    return calibration.findChild<QPushButton*>(QString::fromLatin1(name));
  }
  bool Shown(const char* label) { return Label(label)->isVisibleTo(&calibration); }
  const qd::link::ManualOutputs& Manual() { return app.SystemSetup().ManualControl(); }

  // Calibrate(pump, current) with `whileOpen` acting on the open window; the window is closed after it
  // if it did not close itself.
  std::optional<int> Calibrate(int pump, int current, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, &calibration, [this, whileOpen] {
      if (!calibration.isVisible()) {
        QFAIL("the calibration window is not open");
        return;
      }
      whileOpen();
      if (calibration.isVisible()) calibration.reject();
    });
    return calibration.Calibrate(3, pump, current);
  }
};

}  // namespace

class CalibrationFormTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QLocale::setDefault(QLocale::c()); }

  void ShowsThePumpAndItsCurrentCalibration() {
    Fixture f;
    f.Calibrate(4, 30, [&] {
      QCOMPARE(f.calibration.windowTitle(), QStringLiteral("Pump 4 calibration"));
      QVERIFY(f.calibration.isModal());
      QCOMPARE(f.Edit("CurrentCalibrationEdit")->text(), QStringLiteral("30"));
      QCOMPARE(f.Edit("MeassuredVolumeEdit")->text(), QString());
      QCOMPARE(f.Edit("NewCalibrationEdit")->text(), QString());
      QCOMPARE(f.Label("MeassuredVolumeLabel")->text(), QStringLiteral("Meassured volume (ml)"));
      QCOMPARE(f.Label("MeassuredVolumeLabel")->buddy(), f.Edit("MeassuredVolumeEdit"));
      QCOMPARE(f.Button("StartTestBtn")->text(), QStringLiteral("F2: Start test"));
      QVERIFY(!f.Shown("TestRunningLabel"));
      QVERIFY(!f.Shown("TestTimerLabel"));
      QVERIFY(!f.Shown("OverFlowLabel"));
    });
  }

  void MeasuredVolumeGivesTheNewCalibration() {
    Fixture f;
    f.Calibrate(1, 30, [&] {
      QLineEdit* measured = f.Edit("MeassuredVolumeEdit");
      QTest::keyClicks(measured, QStringLiteral("120"));
      QCOMPARE(f.Edit("NewCalibrationEdit")->text(), QStringLiteral("25"));
      QVERIFY(!f.Shown("OverFlowLabel"));

      measured->setText(QStringLiteral("7"));
      QCOMPARE(f.Edit("NewCalibrationEdit")->text(), QStringLiteral("250"));
      QVERIFY(f.Shown("OverFlowLabel"));
      QCOMPARE(f.Label("OverFlowLabel")->text(), QStringLiteral("Overflow"));

      measured->setText(QStringLiteral("0"));
      QCOMPARE(f.Edit("NewCalibrationEdit")->text(), QString());
      measured->clear();
      QCOMPARE(f.Edit("NewCalibrationEdit")->text(), QString());
    });
  }

  void TestRunsThePumpForTheNewCalibrationAndHandsItBack() {
    Fixture f;
    const std::uint8_t pumpBit = 1u << 2;
    f.Calibrate(3, 30, [&] {
      f.Edit("NewCalibrationEdit")->setText(QStringLiteral("25"));
      f.Button("StartTestBtn")->click();
      QCOMPARE(f.Edit("CurrentCalibrationEdit")->text(), QStringLiteral("25"));
      QCOMPARE(f.Edit("NewCalibrationEdit")->text(), QString());
      QVERIFY(f.calibration.TestRunning());
      QVERIFY(f.Shown("TestRunningLabel"));
      QCOMPARE(f.Manual().pumpOn, pumpBit);
      QCOMPARE(f.Manual().pumpControl, pumpBit);

      f.Ticks(1);
      QVERIFY(f.Shown("TestTimerLabel"));
      QCOMPARE(f.Label("TestTimerLabel")->text(), QStringLiteral("24.9"));
      f.Ticks(248);
      QCOMPARE(f.Label("TestTimerLabel")->text(), QStringLiteral("0.1"));
      QCOMPARE(f.Manual().pumpOn, pumpBit);

      // 25 s: the pump stops and the volume is asked for.
      f.Ticks(1);
      QCOMPARE(f.Manual().pumpOn, 0);
      QCOMPARE(f.Manual().pumpControl, 0);
      QVERIFY(!f.Shown("TestRunningLabel"));
      QVERIFY(!f.Shown("TestTimerLabel"));
      QCOMPARE(f.calibration.focusWidget(), f.Edit("MeassuredVolumeEdit"));
      QVERIFY(f.calibration.TestRunning());
      f.Ticks(qd::CalibrationRun::AfterTestTicks);
      QVERIFY(!f.calibration.TestRunning());
    });
  }

  void F2StartsWithTheCurrentCalibrationAndTheTimerUsesTheLocale() {
    Fixture f;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    f.Calibrate(7, 2, [&] {
      QTest::keyClick(f.Edit("MeassuredVolumeEdit"), Qt::Key_F2);
      QVERIFY(f.calibration.TestRunning());
      QCOMPARE(f.Manual().pumpOn, 0x40);
      f.Ticks(5);
      QCOMPARE(f.Label("TestTimerLabel")->text(), QStringLiteral("1,5"));
      // A second start restarts the time.
      QTest::keyClick(f.Edit("MeassuredVolumeEdit"), Qt::Key_F2);
      f.Ticks(1);
      QCOMPARE(f.Label("TestTimerLabel")->text(), QStringLiteral("1,9"));
    });
  }

  void StartWithoutAUsableTimeDoesNothing() {
    Fixture f;
    f.Calibrate(2, 0, [&] {
      f.Edit("CurrentCalibrationEdit")->setText(QStringLiteral("abc"));
      f.Button("StartTestBtn")->click();
      QVERIFY(!f.calibration.TestRunning());
      QCOMPARE(f.Manual().pumpOn, 0);
      QVERIFY(!f.Shown("TestRunningLabel"));
    });
  }

  void ClosingDuringATestStopsThePumpAtOnce() {
    Fixture f;
    f.app.SystemSetup().ManualControl().pumpControl = 0x01;  // pump 1 under manual control stays so
    f.Calibrate(5, 30, [&] {
      f.Button("StartTestBtn")->click();
      f.Ticks(3);
      QCOMPARE(f.Manual().pumpOn, 0x10);
      QTest::keyClick(&f.calibration, Qt::Key_Escape);
      QVERIFY(!f.calibration.isVisible());
      QCOMPARE(f.Manual().pumpOn, 0);
      QCOMPARE(f.Manual().pumpControl, 0x01);
    });
    // The test ends with the next tick of the main timer.
    QVERIFY(f.calibration.TestRunning());
    f.Ticks(1 + qd::CalibrationRun::AfterTestTicks);
    QCOMPARE(f.Manual().pumpOn, 0);
    QVERIFY(!f.calibration.TestRunning());
    QCOMPARE(f.Manual().pumpControl, 0x01);
  }

  void OkGivesTheNewCalibrationOnlyWhenThereIsOne() {
    Fixture f;
    std::optional<int> result = f.Calibrate(1, 30, [&] {
      QTest::keyClicks(f.Edit("MeassuredVolumeEdit"), QStringLiteral("150"));
      f.Button("OKBtn")->click();
    });
    QCOMPARE(result, std::optional<int>(20));

    result = f.Calibrate(1, 30, [&] { f.Button("OKBtn")->click(); });
    QCOMPARE(result, std::nullopt);

    result = f.Calibrate(1, 30, [&] {
      QTest::keyClicks(f.Edit("MeassuredVolumeEdit"), QStringLiteral("150"));
      f.Button("CancelBtn")->click();
    });
    QCOMPARE(result, std::nullopt);
  }

  void AcceptedCalibrationsAreRecordedAndListedForTheirPump() {
    Fixture f;
    const QString history = QDir(f.preferences.DataFolder()).filePath(QStringLiteral("calibrations.csv"));
    f.Calibrate(2, 30, [&] {
      QCOMPARE(f.Label("HistoryLabel")->text(), QStringLiteral("None recorded for this pump yet."));
      QTest::keyClicks(f.Edit("MeassuredVolumeEdit"), QStringLiteral("120"));
      f.Button("OKBtn")->click();
    });
    // Cancelled and empty calibrations leave no record.
    f.Calibrate(2, 25, [&] {
      QTest::keyClicks(f.Edit("MeassuredVolumeEdit"), QStringLiteral("90"));
      f.Button("CancelBtn")->click();
    });
    f.Calibrate(2, 25, [&] { f.Button("OKBtn")->click(); });
    f.Calibrate(5, 40, [&] {
      QTest::keyClicks(f.Edit("MeassuredVolumeEdit"), QStringLiteral("100"));
      f.Button("OKBtn")->click();
    });

    const QList<QByteArray> lines = ReadFile(history).trimmed().split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QByteArray("time,serial,machine,pump,old,new,measured_ml"));
    QVERIFY2(lines[1].endsWith(",0,3,2,30,25,120"), lines[1].constData());
    QVERIFY2(lines[2].endsWith(",0,3,5,40,40,100"), lines[2].constData());

    f.Calibrate(2, 25, [&] {
      const QString shown = f.Label("HistoryLabel")->text();
      QVERIFY2(shown.endsWith(QStringLiteral("  30 -> 25 s/100 ml, 120 ml measured")), qPrintable(shown));
      QVERIFY(!shown.contains(QLatin1Char('\n')));  // pump 5's entry is not this pump's
    });
  }

  void AFailedRecordKeepsTheCalibrationAndSaysSo() {
    Fixture f;
    ScriptedUser user;
    // The data folder is a file: the history cannot be written there.
    QFile blocker(f.preferences.DataFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const std::optional<int> result = f.Calibrate(1, 30, [&] {
      QTest::keyClicks(f.Edit("MeassuredVolumeEdit"), QStringLiteral("150"));
      f.Button("OKBtn")->click();
    });
    QCOMPARE(result, std::optional<int>(20));
    QCOMPARE(user.Boxes().size(), std::size_t{1});
    QVERIFY(user.BoxTexts()[0].startsWith(
        QStringLiteral("The calibration was accepted but could not be recorded in the history")));
  }
};

QTEST_MAIN(CalibrationFormTest)
#include "calibration_form_test.moc"
