// The alarm log window on images built here and, end to end, against qd310sim.

#include "gui/logs/alarm_log_form.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "logs/alarm_log.h"
#include "support/gui_test_support.h"

namespace qd::gui::test {
namespace {

using namespace std::chrono_literals;

// The log's layout, spelled out here rather than taken from the code under test.
constexpr std::size_t kAlarmLog = 0x6280;
constexpr std::size_t kHistory = kAlarmLog + 16;
constexpr std::size_t kConsumptionLog = 0x6380;

// History entry k: kind and number, then year - 2000, day, month, hour and minute packed.
void PutAlarm(qd::ControllerImage& image, int k, int kind, int number, int day) {
  const std::uint32_t word = 12u | static_cast<std::uint32_t>(day) << 6 | 5u << 16 | 14u << 20 | 5u << 26;
  const std::size_t at = kHistory + 5 * static_cast<std::size_t>(k);
  image.bytes[at] = static_cast<std::uint8_t>(kind | number << 4);
  for (int b = 0; b < 4; ++b)
    image.bytes[at + 1 + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(word >> (8 * b));
}

struct Program : AppFixture {
  TAlarmLogForm& Window() { return app.AlarmLog(); }
  template <typename T>
  T* Control(const char* name) {
    return Window().findChild<T*>(QString::fromLatin1(name));
  }
  QStringList Lines() {
    const QString text = Control<QPlainTextEdit>("Memo")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
  }
  QLabel* Done() { return Control<QLabel>("AlarmResetDoneLabel"); }

  ScriptedUser user;
};

}  // namespace

class AlarmLogFormTest : public QObject {
  Q_OBJECT

 private slots:
  void historyAndStateFromTheImage();
  void clearNeedsAConnection();
  void clearButtonFollowsTheAccessRule();
  void clearEndToEnd();
  void exportWritesTheHistoryCsv();
};

void AlarmLogFormTest::historyAndStateFromTheImage() {
  Program program;
  qd::ControllerImage& image = program.app.Config().image;
  PutAlarm(image, 0, 1, 0, 17);
  PutAlarm(image, 1, 2, 9, 0);  // day 0: empty, whatever else it holds
  PutAlarm(image, 2, 3, 2, 18);
  image.bytes[kAlarmLog] = 0x05;      // pressure alarm, Ethernet not connected
  image.bytes[kAlarmLog + 2] = 0x00;  // no trigger errors
  image.bytes[kAlarmLog + 5] = 0x02;  // keyboard error of machine 10
  TAlarmLogForm& window = program.Window();

  // Hidden, the window draws nothing.
  window.ShowAlarmLog();
  QVERIFY(program.Lines().isEmpty());

  window.show();
  QVERIFY(program.Control<QRadioButton>("AlarmHistoryBtn")->isChecked());
  QCOMPARE(program.Lines(),
           (QStringList{QStringLiteral(" 1: 2012-05-17 14:05 > Low soap level, common input."),
                        QStringLiteral(" 2: 2012-05-18 14:05 > Trigger error, Machine: 2"),
                        QStringLiteral("Number of alarms: 2.")}));

  QTest::mouseClick(program.Control<QRadioButton>("AlarmStateBtn"), Qt::LeftButton);
  QCOMPARE(program.Lines(), (QStringList{QStringLiteral("  1: Pressure alarm"),
                                         QStringLiteral("  2: Keyboard error, Machine: 10"),
                                         QStringLiteral("  3: Miele Logic Ethernet not connected")}));

  // The main window redraws a shown window when the system data changed.
  image.bytes[kAlarmLog] = 0;
  window.ShowAlarmLog();
  QCOMPARE(program.Lines(), QStringList{QStringLiteral("  1: Keyboard error, Machine: 10")});

  // Escape closes; the next show starts with the history again.
  QTest::keyClick(&window, Qt::Key_Escape);
  QVERIFY(!window.isVisible());
  window.show();
  QVERIFY(program.Control<QRadioButton>("AlarmHistoryBtn")->isChecked());
  QCOMPARE(program.Lines().last(), QStringLiteral("Number of alarms: 2."));
}

void AlarmLogFormTest::clearNeedsAConnection() {
  Program program;
  program.app.Communication().SetLinkMode(false);  // remote, no gateway
  TAlarmLogForm& window = program.Window();
  window.show();
  program.user.AnswerBoxWith(QMessageBox::Yes);
  window.ClearAlarmLogBtnClick();
  QCOMPARE(program.user.BoxTexts(),
           (QStringList{QStringLiteral("Reset alarm log\n\nAre you sure?"),
                        QStringLiteral("Unable to reset alarm log\n\nSystem not connected.")}));
  const std::vector<MessageBoxRequest>& boxes = program.user.Boxes();
  QVERIFY(boxes[0].logged);
  QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::Cancel));
  QCOMPARE(boxes[1].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QVERIFY(!program.Done()->isVisible());

  // Any answer but Yes stops before the connection is looked at.
  program.user.AnswerBoxWith(QMessageBox::Cancel);
  window.ClearAlarmLogBtnClick();
  QCOMPARE(program.user.Boxes().size(), std::size_t{3});
}

void AlarmLogFormTest::clearButtonFollowsTheAccessRule() {
  Program program;
  TCommunicationForm& link = program.app.Communication();
  auto* clear = program.Control<QPushButton>("ClearAlarmLogBtn");
  link.SetLinkMode(false);
  QVERIFY(!clear->isEnabled());
  link.SetLinkMode(true);
  QVERIFY(clear->isEnabled());
}

void AlarmLogFormTest::clearEndToEnd() {
  QTemporaryDir folder;
  const QString dump = folder.filePath(QStringLiteral("memory.bin"));
  Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--sample-logs"),
                 QStringLiteral("--dump-memory"), dump});
  QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
  Program program;
  QVERIFY(program.ReadFromController(sim));

  TAlarmLogForm& window = program.Window();
  window.show();
  QCOMPARE(program.Lines().size(), 8);
  QCOMPARE(program.Lines().last(), QStringLiteral("Number of alarms: 7."));
  const QByteArray consumptionBefore =
      QByteArray(reinterpret_cast<const char*>(program.app.Config().image.bytes.data()), 32768)
          .mid(kConsumptionLog, 7248);

  program.user.AnswerBoxWith(QMessageBox::Yes);
  QTest::mouseClick(program.Control<QPushButton>("ClearAlarmLogBtn"), Qt::LeftButton);
  QVERIFY(WaitUntil([&program] { return program.Done()->isVisible(); }));
  QCOMPARE(program.Done()->text(), QStringLiteral("Reset done"));
  QCOMPARE(program.Lines(), QStringList{QStringLiteral("Number of alarms: 0.")});
  // The alarms active now stay.
  QTest::mouseClick(program.Control<QRadioButton>("AlarmStateBtn"), Qt::LeftButton);
  QCOMPARE(program.Lines(), (QStringList{QStringLiteral("  1: Low soap level, Pump: 3"),
                                         QStringLiteral("  2: Trigger error, Machine: 4")}));

  sim.Stop();
  const QByteArray memory = ReadFile(dump);
  QCOMPARE(memory.size(), 32768);
  QCOMPARE(memory.mid(kHistory, 240), QByteArray(240, '\0'));
  QCOMPARE(static_cast<quint8>(memory[kAlarmLog + 1]), quint8{0x04});
  QCOMPARE(memory.mid(kConsumptionLog, 7248), consumptionBefore);
  QCOMPARE(program.user.BoxTexts(), QStringList{QStringLiteral("Reset alarm log\n\nAre you sure?")});
}

void AlarmLogFormTest::exportWritesTheHistoryCsv() {
  Program program;
  qd::ControllerImage& image = program.app.Config().image;
  PutAlarm(image, 0, 1, 0, 17);
  PutAlarm(image, 1, 3, 2, 18);
  program.Window().show();
  const QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("alarms.csv"));
  program.user.ChooseFile(path);
  QTest::mouseClick(program.Control<QPushButton>("ExportCsvBtn"), Qt::LeftButton);
  QCOMPARE(program.user.FileDialogs().size(), std::size_t{1});
  QVERIFY(program.user.FileDialogs()[0].fileName.endsWith(QStringLiteral("alarm_history.csv")));
  QCOMPARE(ReadFile(path), QByteArray::fromStdString(qd::logs::AlarmHistoryCsv(image)));
  QCOMPARE(ReadFile(path).count('\n'), 3);  // the header and two alarms

  // A place that cannot be written: a clear message, nothing else touched.
  program.user.ChooseFile(folder.filePath(QStringLiteral("alarms.csv/inside.csv")));
  program.Window().ExportCsvBtnClick();
  QCOMPARE(program.user.Boxes().size(), std::size_t{1});
  QVERIFY(program.user.BoxTexts()[0].startsWith(QStringLiteral("Unable to export")));
  QCOMPARE(ReadFile(path), QByteArray::fromStdString(qd::logs::AlarmHistoryCsv(image)));
}

}  // namespace qd::gui::test

QTEST_MAIN(qd::gui::test::AlarmLogFormTest)
#include "alarm_log_form_test.moc"
