#include "gui/editors/copy_machine_form.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>
#include <functional>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/editors/machine_form.h"
#include "gui/editors/program_form.h"
#include "gui/editors/trigger_form.h"
#include "model/system_commands.h"
#include "model/trigger_settings.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

struct Fixture : AppFixture {
  TCopyMachineForm& copy = app.CopyMachine();

  qd::MachineConfig& Config(int n) { return app.Config().system.Machines[static_cast<std::size_t>(n - 1)]; }
  QComboBox* Combo(const char* name) { return copy.findChild<QComboBox*>(QString::fromLatin1(name)); }

  // Machine n made different from a new machine in every kind of item.
  void MakeDistinct(int n) {
    qd::MachineConfig& machine = Config(n);
    machine.Comment = "Machine " + std::to_string(n);
    machine.AllowNoProgram = true;
    machine.SoftnerPump = 4;
    machine.DefaultProgram = 2;
    machine.ShortFlushTime = "8";
    machine.Calibration[2] = "61";
    machine.Programs[0].Name = "Cottons " + std::to_string(n);
    machine.Programs[1].Comment = "hot";
    machine.Programs[1].Lines[3].bytes = {8, 1, 2, 3, 4, 5, 0, 0};
    machine.Programs[1].Lines[3].comment = "main wash";
    machine.Trigger.SetType(qd::trigger::TypeElectrolux);
    qd::NoteEdit(app.Config(), qd::ConfigPart::WholeMachine, n - 1);
  }

  // Opens the copy window from the main menu, runs `whileOpen` in it and closes it.
  void WithCopyWindow(const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, &copy, [this, whileOpen] {
      if (!copy.isVisible()) {
        QFAIL("the copy window is not open");
        return;
      }
      whileOpen();
      copy.findChild<QPushButton*>(QStringLiteral("CloseBtn"))->click();
    });
    app.Main().findChild<QAction*>(QStringLiteral("CopyMachine1"))->trigger();
  }
  void Copy(int fromIndex, int toIndex) {
    Combo("CopyFromCombo")->setCurrentIndex(fromIndex);
    Combo("CopyToCombo")->setCurrentIndex(toIndex);
    copy.findChild<QPushButton*>(QStringLiteral("CopyBtn"))->click();
  }
};

}  // namespace

class CopyMachineFormTest : public QObject {
  Q_OBJECT

 private slots:
  void OpensWithMachineOneToMachineTwo() {
    Fixture f;
    f.WithCopyWindow([&] {
      QCOMPARE(f.copy.windowTitle(), QStringLiteral("Copy Machine"));
      QVERIFY(f.copy.isModal());
      QCOMPARE(f.Combo("CopyFromCombo")->currentText(), QStringLiteral("Machine 1"));
      QCOMPARE(f.Combo("CopyToCombo")->currentText(), QStringLiteral("Machine 2"));
      QCOMPARE(f.Combo("CopyFromCombo")->count(), 10);
      QCOMPARE(f.Combo("CopyToCombo")->itemText(10), QStringLiteral("All"));
      QCOMPARE(f.copy.StatusText(), QString());
      f.Copy(0, 0);
    });
    // Shown again: the status is empty and the boxes start over.
    f.WithCopyWindow([&] {
      QCOMPARE(f.copy.StatusText(), QString());
      QCOMPARE(f.Combo("CopyToCombo")->currentIndex(), 1);
    });
  }

  void CopyToAllChangesEveryOtherMachine() {
    Fixture f;
    f.MakeDistinct(4);
    const qd::MachineConfig source = f.Config(4);
    f.app.Machine(3).show();
    f.WithCopyWindow([&] {
      f.Copy(3, TCopyMachineForm::AllEntry);
      QCOMPARE(f.copy.StatusText(), QStringLiteral("Copy Machine 4 to all."));
    });
    for (int n = 1; n <= 10; ++n)
      QCOMPARE(f.Config(n), source);
    // The destinations show what they got.
    TMachineForm& seventh = f.app.Machine(6);
    QCOMPARE(seventh.findChild<QPushButton*>(QStringLiteral("Program1Btn"))->text(),
             QStringLiteral("Cottons 4"));
    QCOMPARE(seventh.ProgramCaption(0), QStringLiteral("Cottons 4"));
  }

  void SameMachineCopiesNothing() {
    Fixture f;
    f.MakeDistinct(3);
    const qd::SystemConfig before = f.app.Config().system;
    f.WithCopyWindow([&] {
      f.Copy(2, 2);
      QCOMPARE(f.copy.StatusText(), QStringLiteral("Copy ?"));
    });
    QVERIFY(f.app.Config().system == before);
  }

  void CopyCarriesProgramNamesToTheDestinationsButtons() {
    Fixture f;
    f.MakeDistinct(1);
    f.Config(2).Programs[0].Name = "Old name";
    qd::NoteEdit(f.app.Config(), qd::ConfigPart::WholeMachine, 1);
    f.WithCopyWindow([&] {
      f.Copy(0, 1);
      QCOMPARE(f.copy.StatusText(), QStringLiteral("Copy Machine 1 to Machine 2."));
    });
    TMachineForm& second = f.app.Machine(1);
    QCOMPARE(second.findChild<QPushButton*>(QStringLiteral("Program1Btn"))->text(),
             QStringLiteral("Cottons 1"));
    QCOMPARE(second.findChild<QComboBox*>(QStringLiteral("DefaultProgramComboBox"))->itemText(1),
             QStringLiteral("Cottons 1"));
    QCOMPARE(f.Config(2), f.Config(1));
    // Only machine 2 changed.
    QCOMPARE(f.Config(3), qd::MachineConfig());
  }

  void UnsavedEditsAreAskedAboutFirst() {
    Fixture f;
    ScriptedUser user;
    f.MakeDistinct(1);
    TMachineForm& second = f.app.Machine(1);
    second.show();
    second.ProgramBtnClick(1);
    TProgramForm* editor = second.ProgramEditor(0);
    auto* name = editor->findChild<QLineEdit*>(QStringLiteral("ProgramNameEdit"));
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Pending"));

    user.AnswerBoxWith(QMessageBox::Cancel);
    f.WithCopyWindow([&] {
      f.Copy(0, 1);
      QCOMPARE(f.copy.StatusText(), QString());
    });
    QCOMPARE(user.BoxTexts(), QStringList{QStringLiteral("Unsaved program data, update before save?")});
    QCOMPARE(f.Config(2), qd::MachineConfig());
    QVERIFY(editor->IsModified());

    // No: the edits go, and the open editor shows the copied program.
    user.AnswerBoxWith(QMessageBox::No);
    f.WithCopyWindow([&] { f.Copy(0, 1); });
    QCOMPARE(f.Config(2), f.Config(1));
    QVERIFY(!editor->IsModified());
    QCOMPARE(name->text(), QStringLiteral("Cottons 1"));
  }

  void CopyCarriesTheTriggerSettingsAsShownInTheSourceWindow() {
    Fixture f;
    ScriptedUser user;
    f.Config(1).Trigger.SetType(qd::trigger::TypeNyborgW3);
    qd::NoteEdit(f.app.Config(), qd::ConfigPart::WholeMachine, 0);
    TTriggerForm* trigger = f.app.Machine(0).TriggerForm();
    auto* low = trigger->findChild<QLineEdit*>(QStringLiteral("LowLevelAdjustEdit"));
    QVERIFY(low != nullptr);
    low->selectAll();
    QTest::keyClicks(low, QStringLiteral("40"));
    QVERIFY(trigger->IsModified());

    user.AnswerBoxWith(QMessageBox::No);
    f.WithCopyWindow([&] { f.Copy(0, 2); });
    QCOMPARE(f.Config(3).Trigger.Type(), qd::trigger::TypeNyborgW3);
    QCOMPARE(f.Config(3).Trigger.bytes[qd::TriggerSettings::AdjustLowOffset], 40);
    QCOMPARE(f.app.Machine(2).TriggerForm()->TypeText(), QStringLiteral("QD740, Nyborg: W3xxH"));
  }
};

QTEST_MAIN(CopyMachineFormTest)
#include "copy_machine_form_test.moc"
