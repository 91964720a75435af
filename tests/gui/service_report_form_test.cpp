// The service report window: reached from the File menu, its period lists, and the PDF it saves, read
// back with pdftotext.

#include "gui/review/service_report_form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/bytes.h"
#include "gui/app/main_form.h"
#include "store/history_store.h"
#include "support/gui_test_support.h"

namespace qd::gui::test {
namespace {

// The log's layout, spelled out here rather than taken from the code under test.
constexpr std::size_t kConsumptionLog = 0x6380;
constexpr std::size_t kRecordSize = 302;
constexpr std::size_t kMachineSize = 30;
constexpr int kPump1 = 7;

// Record r holds month 1 + r of 2022 (r = 0..13, so up to February 2023); machine 2 used 1 L of
// pump 1 each month.
void PutFourteenMonths(qd::ControllerImage& image) {
  for (int r = 0; r < 14; ++r) {
    const std::size_t at = kConsumptionLog + kRecordSize * static_cast<std::size_t>(r);
    image.bytes[at] = static_cast<std::uint8_t>(22 + r / 12);
    image.bytes[at + 1] = static_cast<std::uint8_t>(1 + r % 12);
    const std::size_t pump1 = at + 2 + kMachineSize * 1 + 2 * kPump1;
    image.bytes[pump1] = 200;  // 200 x 5 ml
  }
}

QString PdfText(const QString& path) {
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!pdftotext.waitForFinished(30000)) return {};
  return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

struct Program : AppFixture {
  TServiceReportForm& Window() { return app.ServiceReport(); }
  template <typename T>
  T* Control(const char* name) {
    return Window().findChild<T*>(QString::fromLatin1(name));
  }
  void Click(const char* name) { QTest::mouseClick(Control<QPushButton>(name), Qt::LeftButton); }

  ScriptedUser user;
  QTemporaryDir folder;
};

}  // namespace

class ServiceReportFormTest : public QObject {
  Q_OBJECT

 private slots:
  void fileMenuOpensTheWindowBeforeExit();
  void savesThePdfOfTheChosenPeriodAndMachine();
  void withoutLogDataSaysSo();
  void failedSaveIsReported();
  void takesTheMonthsOfTheHistoryStore();
};

void ServiceReportFormTest::fileMenuOpensTheWindowBeforeExit() {
  Program program;
  auto* file = program.app.Main().menuBar()->findChild<QMenu*>(QStringLiteral("FileBtn"));
  QVERIFY(file);
  const QList<QAction*> actions = file->actions();
  qsizetype report = -1;
  for (qsizetype i = 0; i < actions.size(); ++i) {
    if (actions[i]->objectName() == QLatin1String("PrintServiceReportBtn")) report = i;
  }
  QVERIFY(report >= 0);
  QCOMPARE(actions[report]->text(), QStringLiteral("Print service report..."));
  QCOMPARE(actions[report + 1]->objectName(), QStringLiteral("ExitBtn"));

  actions[report]->trigger();
  QVERIFY(program.Window().isVisible());
  QCOMPARE(program.Window().windowTitle(), QStringLiteral("Service report"));
  program.Click("CloseBtn");
  QVERIFY(!program.Window().isVisible());
}

void ServiceReportFormTest::savesThePdfOfTheChosenPeriodAndMachine() {
  Program program;
  program.preferences.Set(QStringLiteral("PumpPrice1"), QStringLiteral("2.450"));
  program.app.Config().system.SystemName = "Laundry caf\xE9";
  PutFourteenMonths(program.app.Config().image);
  program.Window().ShowForm();

  auto* from = program.Control<QComboBox>("FromComboBox");
  auto* to = program.Control<QComboBox>("ToComboBox");
  QCOMPARE(from->count(), 14);
  QCOMPARE(from->currentText(), QStringLiteral("March, 2022"));  // the last 12 logged months
  QCOMPARE(to->currentText(), QStringLiteral("February, 2023"));
  QVERIFY(!program.Control<QLabel>("NoLogDataAvailableLabel")->isVisible());
  auto* machine = program.Control<QComboBox>("MachineSelectComboBox");
  QCOMPARE(machine->count(), 11);
  QCOMPARE(machine->itemText(0), QStringLiteral("All machines"));
  from->setCurrentIndex(9);  // October 2022
  machine->setCurrentIndex(2);

  const QString path = program.folder.filePath(QStringLiteral("report.pdf"));
  program.user.ChooseFile(path);
  program.Click("SavePdfBtn");
  QVERIFY2(program.user.Boxes().empty(), qPrintable(program.user.BoxTexts().join(QLatin1Char('|'))));
  QCOMPARE(program.user.FileDialogs().size(), std::size_t{1});
  QCOMPARE(program.user.FileDialogs()[0].kind, FileDialogRequest::Kind::Save);
  QVERIFY(ReadFile(path).startsWith("%PDF"));

  const QString text = PdfText(path);
  QVERIFY2(text.contains(QStringLiteral("Laundry café")), qPrintable(text));
  QVERIFY(text.contains(QStringLiteral("Period: 2022-10 to 2023-02, Machine 2")));
  // Five months of 1 L at 2.450 a litre.
  QVERIFY(QRegularExpression(QStringLiteral("Pump 1 +5.00 L +2.450 +12.25")).match(text).hasMatch());
  QVERIFY(text.contains(QStringLiteral("Page 1 of ")));
}

void ServiceReportFormTest::withoutLogDataSaysSo() {
  Program program;
  program.Window().ShowForm();
  QVERIFY(program.Control<QLabel>("NoLogDataAvailableLabel")->isVisible());
  QCOMPARE(program.Control<QLabel>("NoLogDataAvailableLabel")->text(),
           QStringLiteral("No log data available"));
  QVERIFY(!program.Control<QGroupBox>("PeriodGroupBox")->isVisible());

  const QString path = program.folder.filePath(QStringLiteral("empty.pdf"));
  program.user.ChooseFile(path);
  program.Click("SavePdfBtn");
  QVERIFY(PdfText(path).contains(QStringLiteral("No log data available")));

  // Cancelled: nothing written, nothing said.
  QVERIFY(QFile::remove(path));
  program.Click("SavePdfBtn");
  QVERIFY(!QFile::exists(path));
  QVERIFY(program.user.Boxes().empty());
}

void ServiceReportFormTest::failedSaveIsReported() {
  Program program;
  program.Window().ShowForm();
  program.user.ChooseFile(program.folder.filePath(QStringLiteral("no/such/folder/report.pdf")));
  program.Click("SavePdfBtn");
  QCOMPARE(program.user.Boxes().size(), std::size_t{1});
  QVERIFY(program.user.Boxes()[0].text.startsWith(QStringLiteral("Unable to save the service report\n\n")));
  QCOMPARE(program.user.Boxes()[0].type, DialogType::Error);
}

void ServiceReportFormTest::takesTheMonthsOfTheHistoryStore() {
  Program program;
  PutFourteenMonths(program.app.Config().image);
  qd::bytes::PutU32LE(program.app.Config().image.Span(), qd::layout::SerialNumber, 4711);
  {
    // 30 months, January 2020 to June 2022, 1 L of pump 1 each on machine 2.
    qd::history::ReadRecord read;
    read.site.serial = 4711;
    read.readAt = "2022-06-30 10:00:00";
    for (int key = qd::logs::MonthIndex({2020, 1}); key <= qd::logs::MonthIndex({2022, 6}); ++key) {
      qd::logs::WideCounters counters{};
      counters[kPump1] = 200;
      read.months.push_back({qd::logs::MonthOfIndex(key), 2, counters});
    }
    QString error;
    const auto store = qd::store::HistoryStore::Open(qd::store::DefaultStoreLocation(), error);
    QVERIFY2(store && store->Record(read, error), qPrintable(error));
  }
  program.Window().ShowForm();
  auto* history = program.Control<QCheckBox>("HistoryMonthsCheck");
  QVERIFY(history->isEnabled());
  history->setChecked(true);
  QCOMPARE(program.Control<QComboBox>("FromComboBox")->count(), 30);
  QCOMPARE(program.Control<QLabel>("HistoryStatusLabel")->text(),
           QStringLiteral("30 months of controller 4711 in the history store."));

  const QString path = program.folder.filePath(QStringLiteral("history.pdf"));
  program.user.ChooseFile(path);
  program.Click("SavePdfBtn");
  const QString text = PdfText(path);
  QVERIFY2(text.contains(QStringLiteral("Period: 2021-07 to 2022-06, All machines")), qPrintable(text));
  QVERIFY(QRegularExpression(QStringLiteral("Pump 1 +12.00 L")).match(text).hasMatch());

  // Back to the controller's own log.
  history->setChecked(false);
  QCOMPARE(program.Control<QComboBox>("FromComboBox")->count(), 14);
}

}  // namespace qd::gui::test

QTEST_MAIN(qd::gui::test::ServiceReportFormTest)
#include "service_report_form_test.moc"
