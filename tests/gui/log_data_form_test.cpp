// The consumption log window on images built here and, end to end, against qd310sim.

#include "gui/logs/log_data_form.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/app/login_form.h"
#include "gui/app/main_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "gui/logs/consumption_chart.h"
#include "support/gui_test_support.h"

namespace qd::gui::test {
namespace {

using namespace std::chrono_literals;

// The log's layout, spelled out here rather than taken from the code under test.
constexpr std::size_t kConsumptionLog = 0x6380;
constexpr std::size_t kRecordSize = 302;
constexpr std::size_t kMachineSize = 30;
constexpr std::size_t kSystemLoginCode = 0x226;
constexpr int kNoProgram = 0;
constexpr int kProgram1 = 1;
constexpr int kPump1 = 7;
constexpr int kSoftner = 14;

struct Counter {
  int machine;  // 0..9
  int index;    // 0..14
  std::uint16_t value;
};

void PutRecord(qd::ControllerImage& image, int record, int yearByte, int month,
               std::initializer_list<Counter> counters) {
  const std::size_t at = kConsumptionLog + kRecordSize * static_cast<std::size_t>(record);
  image.bytes[at] = static_cast<std::uint8_t>(yearByte);
  image.bytes[at + 1] = static_cast<std::uint8_t>(month);
  for (const Counter& c : counters) {
    const std::size_t field =
        at + 2 + kMachineSize * static_cast<std::size_t>(c.machine) + 2 * static_cast<std::size_t>(c.index);
    image.bytes[field] = static_cast<std::uint8_t>(c.value & 0xFF);
    image.bytes[field + 1] = static_cast<std::uint8_t>(c.value >> 8);
  }
}

// March 2012 and May 2013 in the middle of the ring, and two records that must not count.
void PutSampleLog(qd::ControllerImage& image) {
  PutRecord(image, 7, 12, 3,
            {{0, kPump1, 200},
             {0, kProgram1, 4},
             {0, kNoProgram, 2},
             {0, kSoftner, 3},
             {2, kPump1, 1000},
             {2, kProgram1 + 1, 5},
             {1, kPump1 + 2, 60000},
             {3, kPump1 + 2, 60000},
             {4, kPump1 + 2, 60000},
             {5, kPump1 + 2, 60000}});
  PutRecord(image, 2, 13, 5, {{0, kPump1 + 1, 65535}, {0, kProgram1, 10}, {2, kPump1, 300}});
  PutRecord(image, 0, 12, 13, {{0, kPump1, 50000}});  // no such month
  PutRecord(image, 1, 100, 4, {{0, kPump1, 50000}});  // beyond the year range
}

struct Program : AppFixture {
  TLogDataForm& Window() { return app.LogData(); }
  template <typename T>
  T* Control(const QString& name) {
    return Window().findChild<T*>(name);
  }
  QComboBox* Combo(const char* name) { return Control<QComboBox>(QString::fromLatin1(name)); }
  QLabel* Label(const QString& name) { return Control<QLabel>(name); }
  QString Text(const QString& name) { return Label(name)->text(); }
  QStringList Entries(const char* name) {
    QStringList entries;
    QComboBox* combo = Combo(name);
    for (int i = 0; i < combo->count(); ++i)
      entries << combo->itemText(i);
    return entries;
  }
  QStringList ValueLabels() {
    QStringList names;
    for (int p = 1; p <= 7; ++p)
      names << QStringLiteral("PumpVolumeLabel%1").arg(p);
    for (int p = 1; p <= 6; ++p)
      names << QStringLiteral("ProgramCountLabel%1").arg(p);
    names << QStringLiteral("PumpVolumeLabelTotal") << QStringLiteral("ProgramCountLabelNoProgram")
          << QStringLiteral("ProgramCountLabelTotal") << QStringLiteral("SoftnerCountLabelTotal");
    return names;
  }
  // Every total shows nothing included: fixed zero texts, disabled.
  bool NothingIncluded() {
    for (const QString& name : ValueLabels()) {
      const QString zero =
          name.startsWith(QStringLiteral("PumpVolume")) ? QStringLiteral("0,00 L") : QStringLiteral("0");
      if (Text(name) != zero || Label(name)->isEnabled()) return false;
    }
    return true;
  }

  ScriptedUser user;
};

// A locale whose separators differ from the core's.
class GermanLocale {
 public:
  GermanLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
  ~GermanLocale() { QLocale::setDefault(previous_); }

 private:
  QLocale previous_;
};

}  // namespace

class LogDataFormTest : public QObject {
  Q_OBJECT

 private slots:
  void monthListsAndTotalsWithLocaleSeparators();
  void emptyLogShowsNoData();
  void listsAreRebuiltAtTheShowAfterMarkLogChanged();
  void resetButtonFollowsTheAccessRule();
  void resetIsGuardedByTheLoginCodeAndTheQuestion();
  void resetEndToEnd();
  void costsFollowThePricesAndTheSelection();
  void exportWritesTheSelectionWithItsCosts();
  void exportNeedsLogData();
  void chartFollowsTheSelectionAndAddsUpToTheTotals();
};

void LogDataFormTest::monthListsAndTotalsWithLocaleSeparators() {
  const GermanLocale locale;
  Program program;
  PutSampleLog(program.app.Config().image);
  program.Window().show();

  QStringList months;
  const QStringList names = {QStringLiteral("March"),     QStringLiteral("April"),
                             QStringLiteral("May"),       QStringLiteral("June"),
                             QStringLiteral("July"),      QStringLiteral("August"),
                             QStringLiteral("September"), QStringLiteral("October"),
                             QStringLiteral("November"),  QStringLiteral("December")};
  for (const QString& name : names)
    months << name + QStringLiteral(", 2012");
  for (const char* name : {"January", "February", "March", "April", "May"})
    months << QString::fromLatin1(name) + QStringLiteral(", 2013");
  QCOMPARE(program.Entries("FromComboBox"), months);
  QCOMPARE(program.Entries("ToComboBox"), months);
  QCOMPARE(program.Combo("FromComboBox")->currentIndex(), 14);
  QCOMPARE(program.Combo("ToComboBox")->currentIndex(), 14);
  QVERIFY(program.Control<QGroupBox>(QStringLiteral("PeriodGroupBox"))->isVisible());
  QVERIFY(!program.Label(QStringLiteral("NoLogDataAvailableLabel"))->isVisible());
  QCOMPARE(program.Combo("MachineSelectComboBox")->currentText(), QStringLiteral("All machines"));
  QCOMPARE(program.Label(QStringLiteral("FromLabel"))->buddy(), program.Combo("FromComboBox"));

  // May 2013 only; half a hundredth rounds up.
  QCOMPARE(program.Text(QStringLiteral("PumpVolumeLabel1")), QStringLiteral("1,50 L"));
  QCOMPARE(program.Text(QStringLiteral("PumpVolumeLabel2")), QStringLiteral("327,68 L"));
  QCOMPARE(program.Text(QStringLiteral("ProgramCountLabel1")), QStringLiteral("10"));
  QVERIFY(program.Label(QStringLiteral("PumpVolumeLabel1"))->isEnabled());

  // The whole range: the invalid records add nothing.
  program.Combo("FromComboBox")->setCurrentIndex(0);
  QCOMPARE(program.Text(QStringLiteral("PumpVolumeLabel1")), QStringLiteral("7,50 L"));
  QCOMPARE(program.Text(QStringLiteral("PumpVolumeLabel3")), QStringLiteral("1.200,00 L"));
  QCOMPARE(program.Text(QStringLiteral("PumpVolumeLabelTotal")), QStringLiteral("1.535,18 L"));
  QCOMPARE(program.Text(QStringLiteral("ProgramCountLabel1")), QStringLiteral("14"));
  QCOMPARE(program.Text(QStringLiteral("ProgramCountLabel2")), QStringLiteral("5"));
  QCOMPARE(program.Text(QStringLiteral("ProgramCountLabelNoProgram")), QStringLiteral("2"));
  QCOMPARE(program.Text(QStringLiteral("ProgramCountLabelTotal")), QStringLiteral("21"));
  QCOMPARE(program.Text(QStringLiteral("SoftnerCountLabelTotal")), QStringLiteral("3"));

  // "Machine 3" is machine index 2.
  program.Combo("MachineSelectComboBox")->setCurrentIndex(3);
  QCOMPARE(program.Text(QStringLiteral("PumpVolumeLabel1")), QStringLiteral("6,50 L"));
  QCOMPARE(program.Text(QStringLiteral("PumpVolumeLabel3")), QStringLiteral("0,00 L"));
  QVERIFY(program.Label(QStringLiteral("PumpVolumeLabel3"))->isEnabled());
  QCOMPARE(program.Text(QStringLiteral("ProgramCountLabelTotal")), QStringLiteral("5"));

  // From after To includes nothing.
  program.Combo("ToComboBox")->setCurrentIndex(0);
  program.Combo("FromComboBox")->setCurrentIndex(14);
  QVERIFY(program.NothingIncluded());
}

void LogDataFormTest::emptyLogShowsNoData() {
  Program program;
  program.Window().show();
  QCOMPARE(program.Text(QStringLiteral("NoLogDataAvailableLabel")), QStringLiteral("No log data available"));
  QVERIFY(program.Label(QStringLiteral("NoLogDataAvailableLabel"))->isVisible());
  QVERIFY(!program.Control<QGroupBox>(QStringLiteral("PeriodGroupBox"))->isVisible());
  QCOMPARE(program.Combo("FromComboBox")->count(), 0);
  QVERIFY(program.NothingIncluded());
}

void LogDataFormTest::listsAreRebuiltAtTheShowAfterMarkLogChanged() {
  Program program;
  TLogDataForm& window = program.Window();
  window.show();
  QVERIFY(program.Label(QStringLiteral("NoLogDataAvailableLabel"))->isVisible());
  window.close();

  // Data that arrives without the mark is not taken in.
  PutRecord(program.app.Config().image, 4, 20, 6, {{9, kSoftner, 7}});
  window.show();
  QCOMPARE(program.Combo("FromComboBox")->count(), 0);
  window.close();

  window.MarkLogChanged();
  QVERIFY(window.LogChanged());
  window.show();
  QVERIFY(!window.LogChanged());
  QCOMPARE(program.Entries("ToComboBox"), QStringList{QStringLiteral("June, 2020")});
  QVERIFY(!program.Label(QStringLiteral("NoLogDataAvailableLabel"))->isVisible());
  QCOMPARE(program.Text(QStringLiteral("SoftnerCountLabelTotal")), QStringLiteral("7"));

  // Escape closes.
  QTest::keyClick(&window, Qt::Key_Escape);
  QVERIFY(!window.isVisible());
}

void LogDataFormTest::resetButtonFollowsTheAccessRule() {
  Program program;
  TCommunicationForm& link = program.app.Communication();
  auto* reset = program.Control<QPushButton>(QStringLiteral("ResetLogBtn"));
  link.SetLinkMode(false);
  QVERIFY(!reset->isEnabled());
  link.SetLinkMode(true);
  QVERIFY(reset->isEnabled());
}

void LogDataFormTest::resetIsGuardedByTheLoginCodeAndTheQuestion() {
  qd::ControllerImage coded;
  const QByteArray code("SECRET");
  std::copy(code.begin(), code.end(), coded.bytes.begin() + kSystemLoginCode);
  QTemporaryDir folder;
  const QString imagePath = folder.filePath(QStringLiteral("coded.bin"));
  {
    QFile file(imagePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(coded.bytes.data()), static_cast<qint64>(coded.bytes.size()));
  }
  Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--image"), imagePath});
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
  Program program;
  QVERIFY(program.OpenPort(sim));
  qd::transport::Connection& link = program.app.Connection();
  QVERIFY(WaitUntil([&link] { return link.LinkReady(); }));
  TLogDataForm& window = program.Window();
  window.show();

  // The user's code differs from the controller's: no question, nothing queued.
  window.ResetLogBtnClick();
  QCOMPARE(program.user.BoxTexts(), QStringList{QStringLiteral("Wrong System login code")});
  QVERIFY(!link.Link().RequestQueued());

  program.app.Login().SetCode(QStringLiteral("SECRET"));
  program.app.Eeprom().StopBtnClick();
  program.user.AnswerBoxWith(QMessageBox::Cancel);
  window.ResetLogBtnClick();
  QCOMPARE(program.user.BoxTexts().size(), 2);
  const MessageBoxRequest& question = program.user.Boxes().back();
  QCOMPARE(question.text, QStringLiteral("Reset all log data\n\nAre you sure?"));
  QCOMPARE(question.type, DialogType::Warning);
  QCOMPARE(question.buttons, QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::Cancel));
  QVERIFY(question.logged);
  QVERIFY(!link.Link().RequestQueued());

  program.app.Eeprom().StopBtnClick();
  program.user.AnswerBoxWith(QMessageBox::Yes);
  window.ResetLogBtnClick();
  QVERIFY(link.Link().RequestQueued());
  auto* done = program.Label(QStringLiteral("ResetLogDoneLabel"));
  QVERIFY(WaitUntil([done] { return done->isVisible(); }));
  QCOMPARE(done->text(), QStringLiteral("Reset done"));
}

void LogDataFormTest::resetEndToEnd() {
  QTemporaryDir folder;
  const QString dump = folder.filePath(QStringLiteral("memory.bin"));
  Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--sample-logs"),
                 QStringLiteral("--dump-memory"), dump});
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
  Program program;
  QVERIFY(program.ReadFromController(sim));

  TLogDataForm& window = program.Window();
  window.show();
  // The simulator logs the fourteen months up to its clock's month.
  QCOMPARE(program.Combo("FromComboBox")->count(), 14);
  QVERIFY(program.Label(QStringLiteral("PumpVolumeLabelTotal"))->isEnabled());
  const QByteArray alarmsBefore =
      QByteArray(reinterpret_cast<const char*>(program.app.Config().image.bytes.data()), 32768)
          .mid(0x6280, 256);

  program.user.AnswerBoxWith(QMessageBox::Yes);
  QTest::mouseClick(program.Control<QPushButton>(QStringLiteral("ResetLogBtn")), Qt::LeftButton);
  auto* done = program.Label(QStringLiteral("ResetLogDoneLabel"));
  QVERIFY(WaitUntil([done] { return done->isVisible(); }));
  QVERIFY(program.Label(QStringLiteral("NoLogDataAvailableLabel"))->isVisible());
  QCOMPARE(program.Combo("FromComboBox")->count(), 0);
  QVERIFY(program.NothingIncluded());

  sim.Stop();
  const QByteArray memory = ReadFile(dump);
  QCOMPARE(memory.size(), 32768);
  QCOMPARE(memory.mid(kConsumptionLog, 24 * kRecordSize), QByteArray(24 * kRecordSize, '\0'));
  // Only the consumption log was reset.
  QCOMPARE(memory.mid(0x6280, 256), alarmsBefore);
  QVERIFY(alarmsBefore.count('\0') < 256);
  QCOMPARE(program.user.BoxTexts(), QStringList{QStringLiteral("Reset all log data\n\nAre you sure?")});
}

void LogDataFormTest::costsFollowThePricesAndTheSelection() {
  Program program;
  program.preferences.Set(QStringLiteral("PumpPrice1"), QStringLiteral("2.000"));
  program.preferences.Set(QStringLiteral("PumpPrice3"), QStringLiteral("no price"));
  PutSampleLog(program.app.Config().image);
  program.Window().show();
  auto* edit1 = program.Control<QLineEdit>(QStringLiteral("PumpPriceEdit1"));
  auto* edit2 = program.Control<QLineEdit>(QStringLiteral("PumpPriceEdit2"));
  QCOMPARE(edit1->text(), QStringLiteral("2.000"));
  QVERIFY(program.Control<QLineEdit>(QStringLiteral("PumpPriceEdit3"))->text().isEmpty());

  // May 2013: 1.5 L of pump 1 at 2.00, ten washes.
  QCOMPARE(program.Text(QStringLiteral("PumpCostLabel1")), QStringLiteral("3.00"));
  QCOMPARE(program.Text(QStringLiteral("PumpCostLabel2")), QStringLiteral("\u2013"));
  QCOMPARE(program.Text(QStringLiteral("CostLabelTotal")), QStringLiteral("3.00"));
  QCOMPARE(program.Text(QStringLiteral("CostPerWashLabel")), QStringLiteral("0.30"));

  // A price typed with a decimal comma is kept in the preferences at once: 327.675 L at 0.50.
  edit2->setFocus();
  QTest::keyClicks(edit2, QStringLiteral("0,5"));
  QCOMPARE(program.preferences.Get(QStringLiteral("PumpPrice2")).toString(), QStringLiteral("0.500"));
  QCOMPARE(program.Text(QStringLiteral("PumpCostLabel2")), QStringLiteral("163.84"));
  QCOMPARE(program.Text(QStringLiteral("CostLabelTotal")), QStringLiteral("166.84"));
  QCOMPARE(program.Text(QStringLiteral("CostPerWashLabel")), QStringLiteral("16.68"));

  // Letters cannot be typed; a text that is no price is marked and the pump has none.
  QTest::keyClicks(edit2, QStringLiteral("x,"));
  QCOMPARE(edit2->text(), QStringLiteral("0,5,"));
  QVERIFY(!edit2->styleSheet().isEmpty());
  QVERIFY(!program.Window().Prices()[1].has_value());
  QVERIFY(!program.preferences.Contains(QStringLiteral("PumpPrice2")));
  QCOMPARE(program.Text(QStringLiteral("CostLabelTotal")), QStringLiteral("3.00"));

  // The whole range and machine 3: 6.5 L of pump 1, five washes.
  program.Combo("FromComboBox")->setCurrentIndex(0);
  program.Combo("MachineSelectComboBox")->setCurrentIndex(3);
  QCOMPARE(program.Text(QStringLiteral("PumpCostLabel1")), QStringLiteral("13.00"));
  QCOMPARE(program.Text(QStringLiteral("CostPerWashLabel")), QStringLiteral("2.60"));

  // Nothing included: the costs are zero and disabled like the totals.
  program.Combo("ToComboBox")->setCurrentIndex(0);
  program.Combo("FromComboBox")->setCurrentIndex(14);
  QCOMPARE(program.Text(QStringLiteral("CostLabelTotal")), QStringLiteral("0.00"));
  QVERIFY(!program.Label(QStringLiteral("CostLabelTotal"))->isEnabled());
  QCOMPARE(program.Text(QStringLiteral("CostPerWashLabel")), QStringLiteral("\u2013"));
}

void LogDataFormTest::exportWritesTheSelectionWithItsCosts() {
  Program program;
  program.preferences.Set(QStringLiteral("PumpPrice1"), QStringLiteral("2.000"));
  qd::ControllerImage& image = program.app.Config().image;
  PutSampleLog(image);
  program.Window().show();
  program.Combo("FromComboBox")->setCurrentIndex(0);
  program.Combo("MachineSelectComboBox")->setCurrentIndex(3);

  const QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("consumption.csv"));
  program.user.ChooseFile(path);
  QTest::mouseClick(program.Control<QPushButton>(QStringLiteral("ExportCsvBtn")), Qt::LeftButton);
  QCOMPARE(program.user.FileDialogs().size(), std::size_t{1});
  QVERIFY(program.user.FileDialogs()[0].fileName.endsWith(
      QStringLiteral("consumption_2012-03_2013-05_machine_3.csv")));
  const QList<QByteArray> rows = ReadFile(path).split('\n');
  QCOMPARE(rows.size(), 4);  // header, March 2012, May 2013 and the end of the last line
  QVERIFY(
      rows[0].endsWith(",softener,pump_1_cost,pump_2_cost,pump_3_cost,pump_4_cost,pump_5_cost,pump_6_cost,"
                       "pump_7_cost,cost_total"));
  QCOMPARE(
      rows[1],
      QByteArray("2012-03,3,0,0,5,0,0,0,0,5.000,0.000,0.000,0.000,0.000,0.000,0.000,0,10.00,,,,,,,10.00"));
  QCOMPARE(rows[2],
           QByteArray("2013-05,3,0,0,0,0,0,0,0,1.500,0.000,0.000,0.000,0.000,0.000,0.000,0,3.00,,,,,,,3.00"));
  // The costs of the rows add up to the window's total.
  QCOMPARE(program.Text(QStringLiteral("CostLabelTotal")), QStringLiteral("13.00"));

  // Cancelled: nothing written.
  QVERIFY(QFile::remove(path));
  program.Window().ExportCsvBtnClick();
  QVERIFY(!QFile::exists(path));
  QVERIFY(program.user.Boxes().empty());
}

void LogDataFormTest::exportNeedsLogData() {
  Program program;
  program.Window().show();
  QVERIFY(!program.Control<QPushButton>(QStringLiteral("ExportCsvBtn"))->isEnabled());
}

void LogDataFormTest::chartFollowsTheSelectionAndAddsUpToTheTotals() {
  Program program;
  PutSampleLog(program.app.Config().image);
  program.Window().show();
  auto* chart = program.Control<ConsumptionChart>(QStringLiteral("ConsumptionChart"));
  QVERIFY(chart != nullptr);
  QVERIFY(chart->isVisible());
  // May 2013 only.
  QCOMPARE(chart->Months().size(), std::size_t{1});
  QCOMPARE(chart->Months()[0].month, (qd::logs::YearMonth{2013, 5}));

  // Every month of the range, logged or not, for the selected machine; the bars add up to the totals.
  program.Combo("FromComboBox")->setCurrentIndex(0);
  program.Combo("MachineSelectComboBox")->setCurrentIndex(3);
  QCOMPARE(chart->Months().size(), std::size_t{15});
  qd::logs::ConsumptionTotals sum;
  for (const qd::logs::MonthTotals& month : chart->Months()) {
    for (std::size_t p = 0; p < sum.pumpCounts.size(); ++p)
      sum.pumpCounts[p] += month.totals.pumpCounts[p];
    sum.washTotal += month.totals.washTotal;
  }
  QCOMPARE(sum.pumpCounts[0], 1300u);  // 6.50 L of pump 1, as the window shows
  QCOMPARE(program.Text(QStringLiteral("PumpVolumeLabel1")), QStringLiteral("6.50 L"));
  QCOMPARE(sum.washTotal, 5u);

  // The switch changes what the bars show.
  auto* washes = program.Control<QRadioButton>(QStringLiteral("WashesModeButton"));
  QTest::mouseClick(washes, Qt::LeftButton);
  QCOMPARE(chart->Mode(), qd::report::ChartMode::ProgramWashes);

  // Nothing selected: an empty chart.
  program.Combo("ToComboBox")->setCurrentIndex(0);
  program.Combo("FromComboBox")->setCurrentIndex(14);
  QVERIFY(chart->Months().empty());
}

}  // namespace qd::gui::test

QTEST_MAIN(qd::gui::test::LogDataFormTest)
#include "log_data_form_test.moc"
