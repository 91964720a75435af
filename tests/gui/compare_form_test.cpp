#include "gui/review/compare_form.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "model/instruction_set.h"
#include "model/system_file.h"
#include "support/gui_test_support.h"

using qd::gui::TCompareForm;
using qd::gui::TEEPROMForm;
using qd::gui::test::AppFixture;
using qd::gui::test::ScriptedUser;
using qd::gui::test::Simulator;
using qd::gui::test::TestDataPath;
using qd::gui::test::WaitUntil;

namespace {

QStringList Texts(const std::vector<qd::review::Difference>& differences) {
  QStringList texts;
  for (const auto& d : differences)
    texts << QString::fromStdString(d.Text());
  return texts;
}

Simulator SampleController() {
  return Simulator({QStringLiteral("--system"), TestDataPath(QStringLiteral("sample_system.xml"))});
}

// The compare window's read of the controller; true once it has shown its comparison.
bool CompareWithController(TCompareForm& compare) {
  compare.CompareWithControllerClick();
  return WaitUntil([&compare] { return !compare.Busy(); }, std::chrono::seconds(60)) &&
         compare.findChild<QLabel*>(QStringLiteral("SummaryLabel"))->text().endsWith(QLatin1Char('.'));
}

bool Write(AppFixture& f) {
  TEEPROMForm& eeprom = f.app.Eeprom();
  eeprom.show();
  eeprom.WriteBtnClick();
  return WaitUntil(
      [&eeprom] {
        return eeprom.StatusPanelText(TEEPROMForm::TransferPanel) == QStringLiteral("Write completed");
      },
      std::chrono::seconds(60));
}

}  // namespace

class CompareFormTest : public QObject {
  Q_OBJECT

 private slots:
  void showsExactlyWhatAWriteWouldChangeAndNothingAfterIt() {
    Simulator sim = SampleController();
    QVERIFY(sim.Running());
    AppFixture f;
    ScriptedUser user;
    QVERIFY(f.ReadFromController(sim));
    qd::SystemConfig& system = f.app.Config().system;

    // Two program lines and a trigger setting.
    qd::ProgramLine& pump = system.Machines[1].Programs[0].Lines[0];
    pump.SetInstruction(static_cast<int>(qd::Instruction::Pump));
    pump.Param(1) = 3;
    pump.Param(3) = 25;
    system.Machines[1].Programs[0].Lines[10].SetInstruction(static_cast<int>(qd::Instruction::Wait));
    system.Machines[2].Trigger.bytes[qd::TriggerSettings::AdjustHighOffset] = 40;
    const qd::SystemConfig edited = system;

    TCompareForm& compare = f.app.Compare();
    QVERIFY(CompareWithController(compare));
    const QStringList differences = Texts(compare.Differences());
    QCOMPARE(differences.size(), 3);
    QVERIFY(differences[0].startsWith(QStringLiteral("Machine 2 / Program 1 / Line 1: ")));
    QVERIFY(differences[0].endsWith(QStringLiteral("-> Pump: P3, V=25/") + QString::number(pump.Param(4)) +
                                    QLatin1Char('/') + QString::number(pump.Param(5))));
    QVERIFY(differences[1].startsWith(QStringLiteral("Machine 2 / Program 1 / Line 11: ")));
    QVERIFY(differences[2].startsWith(QStringLiteral("Machine 3 / Trigger / High adjust %: ")));
    QVERIFY(differences[2].endsWith(QStringLiteral("-> 40")));
    QVERIFY(system == edited);  // the editors' configuration is untouched
    auto* grid = compare.findChild<QTableWidget*>(QStringLiteral("DifferenceGrid"));
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Controller"));
    QCOMPARE(compare.findChild<QLabel*>(QStringLiteral("SummaryLabel"))->text(),
             QStringLiteral("3 differences."));

    QVERIFY(Write(f));
    QVERIFY(CompareWithController(compare));
    QCOMPARE(Texts(compare.Differences()), QStringList{});
    QCOMPARE(compare.findChild<QLabel*>(QStringLiteral("SummaryLabel"))->text(),
             QStringLiteral("No differences."));
    // The read/write window has its replies back.
    f.app.Eeprom().ReadBtnClick();
    QVERIFY(WaitUntil([&f] {
      return f.app.Eeprom().StatusPanelText(TEEPROMForm::TransferPanel) == QStringLiteral("Read completed");
    }));
  }

  void everyReadLeavesABackupToCompareWith() {
    Simulator sim = SampleController();
    AppFixture f;
    ScriptedUser user;
    QVERIFY(f.ReadFromController(sim));
    const QString backups = f.preferences.DataFolder() + QStringLiteral("/backups");
    QVERIFY(WaitUntil([&backups] { return QDir(backups).entryList({QStringLiteral("*.xml")}).size() == 1; }));
    QCOMPARE(QDir(backups).entryList({QStringLiteral("*.bin")}).size(), 1);

    TCompareForm& compare = f.app.Compare();
    compare.ShowBackups();
    auto* list = compare.findChild<QListWidget*>(QStringLiteral("BackupList"));
    QCOMPARE(list->count(), 1);
    QVERIFY(list->item(0)->text().endsWith(QStringLiteral("   controller 310001")));
    QCOMPARE(list->currentRow(), 0);

    f.app.Config().system.Recipients[0] = "tech@example.com";
    compare.CompareWithBackupClick();
    QCOMPARE(Texts(compare.Differences()).size(), 1);
    QVERIFY(Texts(compare.Differences())[0].startsWith(QStringLiteral("System / Recipient 1: ")));
  }

  void comparesWithAFileAndReportsOneItCannotRead() {
    AppFixture f;
    ScriptedUser user;
    const QString folder = f.preferences.FolderPath();
    qd::WriteSystemFile(f.app.Config(), (folder + QStringLiteral("/same.xml")).toStdString());
    f.app.Config().system.SystemName = "Other";
    user.ChooseFile(folder + QStringLiteral("/same.xml"));
    f.app.Compare().CompareWithFileClick();
    QCOMPARE(Texts(f.app.Compare().Differences()),
             QStringList{QStringLiteral("System / Name: \"\" -> \"Other\"")});
    QCOMPARE(f.app.Compare()
                 .findChild<QTableWidget*>(QStringLiteral("DifferenceGrid"))
                 ->horizontalHeaderItem(1)
                 ->text(),
             QStringLiteral("File"));

    user.ChooseFile(folder + QStringLiteral("/missing.xml"));
    f.app.Compare().CompareWithFileClick();
    QCOMPARE(user.Boxes().size(), std::size_t{1});
    QVERIFY(user.Boxes()[0].text.startsWith(QStringLiteral("Unable to compare with \"") + folder));
  }

  void withoutAControllerNothingIsRead() {
    AppFixture f;
    ScriptedUser user;
    f.app.Compare().CompareWithControllerClick();
    QVERIFY(!f.app.Compare().Busy());
    QCOMPARE(user.BoxTexts(),
             QStringList{QStringLiteral("Unable to compare with the controller\n\nSystem not connected.")});
  }

  void writeAsksFirstWhenTheCheckFindsSomething() {
    Simulator sim = SampleController();
    AppFixture f;
    ScriptedUser user;
    QVERIFY(f.ReadFromController(sim));
    qd::MachineConfig& machine = f.app.Config().system.Machines[0];
    machine.Calibration.fill("0");
    machine.Programs[0].Active = true;
    machine.Programs[0].Lines[0] = {};
    machine.Programs[0].Lines[0].SetInstruction(static_cast<int>(qd::Instruction::Pump));
    machine.Programs[0].Lines[0].Param(1) = 1;
    machine.Programs[0].Lines[0].Param(3) = 10;

    user.AnswerBoxWith(QMessageBox::No);
    TEEPROMForm& eeprom = f.app.Eeprom();
    eeprom.show();
    eeprom.WriteBtnClick();
    QCOMPARE(user.Boxes().size(), std::size_t{1});
    const auto& box = user.Boxes()[0];
    QVERIFY(box.text.startsWith(QStringLiteral("The program check found ")));
    QVERIFY(box.text.contains(
        QStringLiteral("\nerror: Machine 1 / Program 1 / Line 1: pump 1 has calibration 0")));
    QVERIFY(box.text.endsWith(QStringLiteral("\n\nWrite anyway?")));
    QCOMPARE(box.defaultButton, QMessageBox::No);
    QCOMPARE(eeprom.Transfer().State(), qd::link::TransferState::Idle);

    user.AnswerBoxWith(QMessageBox::Yes);
    eeprom.WriteBtnClick();
    QCOMPARE(eeprom.Transfer().State(), qd::link::TransferState::WritingLocal);
    QVERIFY(WaitUntil(
        [&eeprom] {
          return eeprom.StatusPanelText(TEEPROMForm::TransferPanel) == QStringLiteral("Write completed");
        },
        std::chrono::seconds(60)));
  }
};

QTEST_MAIN(CompareFormTest)
#include "compare_form_test.moc"
