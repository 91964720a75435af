#include "gui/editors/program_form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <array>
#include <initializer_list>
#include <memory>
#include <vector>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/editors/machine_form.h"
#include "model/instruction_set.h"
#include "model/system_commands.h"
#include "support/gui_test_support.h"

using qd::gui::TProgramForm;

namespace {

qd::ProgramLine Line(qd::Instruction code, std::initializer_list<int> params, std::string comment = {}) {
  qd::ProgramLine line;
  line.SetInstruction(static_cast<int>(code));
  int n = 1;
  for (int value : params)
    line.Param(n++) = static_cast<std::uint8_t>(value);
  line.comment = std::move(comment);
  return line;
}

std::array<int, 5> Params(const qd::ProgramLine& line) {
  return {line.Param(1), line.Param(2), line.Param(3), line.Param(4), line.Param(5)};
}

template <typename T>
T* Find(QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) qFatal("no control %s", name);
  return child;
}

// Types `text` over the whole content of the edit, as a user selecting it and typing.
void TypeOver(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

}  // namespace

class ProgramFormTest : public QObject {
  Q_OBJECT

 private:
  qd::DosingProgram& Stored(int machine, int program) {
    return app_->Config()
        .system.Machines.at(static_cast<std::size_t>(machine))
        .Programs.at(static_cast<std::size_t>(program));
  }

  // An editor as the machine window creates it, shown.
  TProgramForm& Open(int machine, int program) {
    auto* editor = new TProgramForm(*app_, app_->Machine(machine), program);
    editors_.emplace_back(editor);
    editor->show();
    return *editor;
  }

  static QTableWidget* Grid(TProgramForm& editor) { return Find<QTableWidget>(editor, "ProgramLineGrid"); }
  static QString Cell(TProgramForm& editor, int row, int column) {
    return Grid(editor)->item(row, column)->text();
  }
  static QComboBox* Combo(TProgramForm& editor, const char* name) { return Find<QComboBox>(editor, name); }
  static QLineEdit* Edit(TProgramForm& editor, const char* name) { return Find<QLineEdit>(editor, name); }
  static QAction* Action(TProgramForm& editor, const char* name) { return Find<QAction>(editor, name); }
  static void SelectLine(TProgramForm& editor, int number) { Grid(editor)->selectRow(number - 1); }
  static QList<int> SelectedRows(TProgramForm& editor) {
    QList<int> rows;
    for (const QModelIndex& index : Grid(editor)->selectionModel()->selectedRows())
      rows << index.row();
    return rows;
  }
  static void ChooseInstruction(TProgramForm& editor, qd::Instruction code) {
    Combo(editor, "InstructionComboBox")->setCurrentIndex(static_cast<int>(code));
  }
  static const qd::ProgramLine& WorkingLine(TProgramForm& editor, int number) {
    return editor.WorkingCopy().Lines.at(static_cast<std::size_t>(number - 1));
  }
  // The panels that show; at most one may.
  static QStringList ShownPanels(TProgramForm& editor) {
    QStringList shown;
    for (const char* name : {"InstructionInputGroup", "InputOffWaitGroupBox", "InstructionJumpToLineGroup",
                             "InstructionWaitGroup", "InstructionPumpGroup", "InstructionFlushGroup",
                             "InstructionPumpHighVolumeGroup"}) {
      if (Find<QGroupBox>(editor, name)->isVisible()) shown << QString::fromLatin1(name);
    }
    if (Find<QLabel>(editor, "NoParametersLabel")->isVisible()) shown << QStringLiteral("NoParametersLabel");
    return shown;
  }

  std::unique_ptr<qd::gui::test::TemporaryPreferences> preferences_;
  std::unique_ptr<qd::gui::App> app_;
  std::unique_ptr<qd::gui::test::ScriptedUser> user_;
  std::vector<QPointer<TProgramForm>> editors_;

 private slots:
  void initTestCase() {
    preferences_ = std::make_unique<qd::gui::test::TemporaryPreferences>();
    app_ = std::make_unique<qd::gui::App>(QStringList{QStringLiteral("qdsystem")});
    app_->Main().FormActivate();
    app_->Main().MainTimer100ms().stop();
  }

  void init() {
    user_ = std::make_unique<qd::gui::test::ScriptedUser>();
    for (qd::MachineConfig& machine : app_->Config().system.Machines)
      machine.Clear();
    app_->Config().system.DefaultInputFilter = "5";
    app_->Main().SetProgramClipboard(nullptr);
  }

  void cleanup() {
    for (const QPointer<TProgramForm>& editor : editors_) {
      if (editor) editor->deleteLater();
    }
    editors_.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    user_.reset();
  }

  void cleanupTestCase() {
    app_.reset();
    preferences_.reset();
  }

  void showsTheProgramInTheGridAndHeader() {
    Stored(2, 3).Name = "Main wash";
    Stored(2, 3).Lines[0] = Line(qd::Instruction::Pump, {0x13, 5, 20, 30, 40}, "detergent");
    Stored(2, 3).Lines[23] = Line(qd::Instruction::Jump, {1});
    TProgramForm& editor = Open(2, 3);

    QCOMPARE(editor.windowTitle(), QStringLiteral("Machine 3, Main wash"));
    QTableWidget* grid = Grid(editor);
    QCOMPARE(grid->rowCount(), 24);
    QCOMPARE(grid->columnCount(), 4);
    const std::array<QString, 4> headings = {QStringLiteral(" Line"), QStringLiteral(" Instruction"),
                                             QStringLiteral(" Parameteres"), QStringLiteral(" Comment")};
    const std::array<int, 3> widths = {34, 100, 150};
    for (int column = 0; column < 4; ++column) {
      QCOMPARE(grid->horizontalHeaderItem(column)->text(), headings[static_cast<std::size_t>(column)]);
      if (column < 3) QCOMPARE(grid->columnWidth(column), widths[static_cast<std::size_t>(column)]);
    }
    QCOMPARE(grid->horizontalHeader()->sectionResizeMode(3), QHeaderView::Stretch);
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(Cell(editor, 0, 0), QStringLiteral("  1"));
    QCOMPARE(Cell(editor, 23, 0), QStringLiteral(" 24"));
    QCOMPARE(Cell(editor, 0, 1), QStringLiteral(" Pump"));
    QCOMPARE(Cell(editor, 0, 2), QStringLiteral("P3, D=5, FS, V=20/30/40"));
    QCOMPARE(Cell(editor, 0, 3), QStringLiteral("detergent"));
    QCOMPARE(Cell(editor, 23, 2), QStringLiteral("Jump L1"));
    QCOMPARE(Cell(editor, 1, 1), QStringLiteral(" Empty"));

    QCOMPARE(Edit(editor, "ProgramNameEdit")->text(), QStringLiteral("Main wash"));
    QCOMPARE(Combo(editor, "DefaultLevelComboBox")->currentText(), QStringLiteral("Mid"));
    QVERIFY(Find<QCheckBox>(editor, "SoftnerBtn")->isChecked());
    QVERIFY(!Find<QCheckBox>(editor, "ActiveBtn")->isChecked());
    QVERIFY(!Find<QPushButton>(editor, "SaveBtn")->isEnabled());
    QVERIFY(!editor.IsModified());

    // Line 1 is current: its panel shows.
    QCOMPARE(SelectedRows(editor), QList<int>{0});
    QCOMPARE(Combo(editor, "InstructionComboBox")->count(), qd::InstructionCount);
    QCOMPARE(Combo(editor, "InstructionComboBox")->currentText(), QStringLiteral("Pump"));
    QCOMPARE(ShownPanels(editor), QStringList{QStringLiteral("InstructionPumpGroup")});
    QCOMPARE(Combo(editor, "PumpPumpCombo")->currentText(), QStringLiteral("3"));
    QCOMPARE(Edit(editor, "PumpVolume3Edit")->text(), QStringLiteral("40"));
    QCOMPARE(Edit(editor, "InstructionCommentEdit")->text(), QStringLiteral("detergent"));

    SelectLine(editor, 2);
    QCOMPARE(ShownPanels(editor), QStringList{QStringLiteral("NoParametersLabel")});
    QCOMPARE(Find<QLabel>(editor, "NoParametersLabel")->text(),
             QStringLiteral("No parameters for this instruction."));
    QVERIFY2(!editor.IsModified(), "showing a line is no edit");
  }

  void pumpToHighVolumeStartsWithALowAdjustmentOf25() {
    qd::ProgramLine pump = Line(qd::Instruction::Pump, {0x53, 4, 20, 30, 40}, "dose");
    pump.bytes[0] |= 0x30;  // reserved bits, kept by every edit
    Stored(0, 1).Lines[0] = pump;
    TProgramForm& editor = Open(0, 1);

    ChooseInstruction(editor, qd::Instruction::PumpHighVolume);
    const qd::ProgramLine& line = WorkingLine(editor, 1);
    QCOMPARE(line.bytes[0], std::uint8_t{0x3B});
    QCOMPARE(Params(line), (std::array{0, 0, 0, 0, 25}));
    QCOMPARE(line.comment, std::string());
    QCOMPARE(Edit(editor, "PumpHighVolumeLowEdit")->text(), QStringLiteral("25"));
    QCOMPARE(Find<QLabel>(editor, "PumpHighVolumeHighLabel")->text(), QStringLiteral("50"));
    QCOMPARE(ShownPanels(editor), QStringList{QStringLiteral("InstructionPumpHighVolumeGroup")});
    QCOMPARE(Cell(editor, 0, 1), QStringLiteral(" Pump, high volume"));
    QCOMPARE(Cell(editor, 0, 2), QStringLiteral("P?, V=0"));
    QCOMPARE(Cell(editor, 0, 3), QString());
    QVERIFY(editor.IsModified());
    QVERIFY(Find<QPushButton>(editor, "SaveBtn")->isEnabled());
    // The stored program changes only on save.
    QCOMPARE(Stored(0, 1).Lines[0], pump);

    // The high adjustment follows the low one; a text that is not a number stores 25.
    TypeOver(Edit(editor, "PumpHighVolumeLowEdit"), QStringLiteral("30"));
    QCOMPARE(Find<QLabel>(editor, "PumpHighVolumeHighLabel")->text(), QStringLiteral("60"));
    QCOMPARE(WorkingLine(editor, 1).Param(5), 30);
    TypeOver(Edit(editor, "PumpHighVolumeLowEdit"), QStringLiteral("x"));
    QCOMPARE(Find<QLabel>(editor, "PumpHighVolumeHighLabel")->text(), QString());
    QCOMPARE(WorkingLine(editor, 1).Param(5), 25);
  }

  void anInputInstructionTakesTheSystemsDefaultFilter() {
    app_->Config().system.DefaultInputFilter = "7";
    TProgramForm& editor = Open(0, 0);
    SelectLine(editor, 3);
    ChooseInstruction(editor, qd::Instruction::InputWait);
    // Filter 7, no inputs, and 31 ("Reset") for each of the three targets.
    QCOMPARE(Params(WorkingLine(editor, 3)), (std::array{7, 0, 0, 0xFF, 0x7F}));
    QCOMPARE(Edit(editor, "InputFilterEdit")->text(), QStringLiteral("7"));
    QCOMPARE(Cell(editor, 2, 2), QStringLiteral("F7"));
    QVERIFY(Combo(editor, "InputInput1Combo")->isEnabled());
    QVERIFY(!Combo(editor, "InputLine2Combo")->isEnabled());
    QCOMPARE(ShownPanels(editor), QStringList{QStringLiteral("InstructionInputGroup")});

    ChooseInstruction(editor, qd::Instruction::InputEvent);
    QCOMPARE(Params(WorkingLine(editor, 3)), (std::array{7, 0, 0, 0xFF, 0x7F}));
    QVERIFY2(!Combo(editor, "InputInput1Combo")->isEnabled(), "input events have no next-line input");
    QCOMPARE(Combo(editor, "InputInput1Combo")->currentIndex(), -1);

    // Other instructions keep their parameters clear.
    ChooseInstruction(editor, qd::Instruction::Wait);
    QCOMPARE(Params(WorkingLine(editor, 3)), (std::array{0, 0, 0, 0, 0}));
    QCOMPARE(Cell(editor, 2, 2), QStringLiteral("Wait: 0 sec"));
  }

  void aChangedHeaderKeepsTheCurrentLinesInputFilter() {
    Stored(0, 0).Lines[0] = Line(qd::Instruction::InputWait, {3, 0x01, 0, 0xFF, 0x7F});
    TProgramForm& editor = Open(0, 0);
    Combo(editor, "DefaultLevelComboBox")->setCurrentIndex(3);
    QVERIFY(editor.IsModified());
    QCOMPARE(Params(WorkingLine(editor, 1)), (std::array{3, 0x01, 0, 0xFF, 0x7F}));
  }

  void editingAPanelEncodesTheLine() {
    TProgramForm& editor = Open(0, 0);
    ChooseInstruction(editor, qd::Instruction::Pump);
    Combo(editor, "PumpPumpCombo")->setCurrentIndex(3);
    Combo(editor, "PumpFlushCombo")->setCurrentIndex(2);
    Find<QCheckBox>(editor, "PumpWaitDispenseDoneBtn")->setChecked(true);
    TypeOver(Edit(editor, "PumpDelayEdit"), QStringLiteral("5"));
    TypeOver(Edit(editor, "PumpVolume1Edit"), QStringLiteral("300"));
    TypeOver(Edit(editor, "PumpVolume3Edit"), QStringLiteral("12"));
    QCOMPARE(Params(WorkingLine(editor, 1)), (std::array{0x63, 5, 44, 0, 12}));
    QCOMPARE(Cell(editor, 0, 2), QStringLiteral("P3, D=5, FL, V=44/0/12"));

    SelectLine(editor, 2);
    ChooseInstruction(editor, qd::Instruction::InputWait);
    QComboBox* inputB = Combo(editor, "InputInput2Combo");
    QComboBox* targetB = Combo(editor, "InputLine2Combo");
    inputB->setCurrentIndex(2);
    QVERIFY(targetB->isEnabled());
    QCOMPARE(targetB->currentIndex(), -1);
    // An enabled target box with no choice stores 0.
    QCOMPARE(Cell(editor, 1, 2), QStringLiteral("F5, I2->L0"));
    targetB->setCurrentIndex(6);
    QCOMPARE(Cell(editor, 1, 2), QStringLiteral("F5, I2->L7"));
    targetB->setCurrentIndex(24);
    QCOMPARE(Cell(editor, 1, 2), QStringLiteral("F5, I2->Reset"));
    Combo(editor, "InputInput1Combo")->setCurrentIndex(1);
    QCOMPARE(Cell(editor, 1, 2), QStringLiteral("F5, I1->Nxt, I2->Reset"));
    inputB->setCurrentIndex(0);
    QVERIFY(!targetB->isEnabled());
    QCOMPARE(targetB->currentIndex(), -1);
    QCOMPARE(TargetField(WorkingLine(editor, 2), 1), qd::ResetTarget);
    QCOMPARE(Cell(editor, 1, 2), QStringLiteral("F5, I1->Nxt"));

    QTest::keyClicks(Edit(editor, "InstructionCommentEdit"), QStringLiteral("rinse"));
    QCOMPARE(WorkingLine(editor, 2).comment, std::string("rinse"));
    QCOMPARE(Cell(editor, 1, 3), QStringLiteral("rinse"));

    // Back on line 1 the panel shows what was entered there.
    SelectLine(editor, 1);
    QCOMPARE(Combo(editor, "PumpFlushCombo")->currentText(), QStringLiteral("Long"));
    QCOMPARE(Edit(editor, "PumpVolume1Edit")->text(), QStringLiteral("44"));
    QCOMPARE(Edit(editor, "InstructionCommentEdit")->text(), QString());
  }

  void aLineWithoutAnInstructionShowsNoPanelAndKeepsItsCode() {
    Stored(0, 0).Lines[4] = Line(static_cast<qd::Instruction>(13), {1, 2, 3, 4, 5});
    TProgramForm& editor = Open(0, 0);
    SelectLine(editor, 5);
    QCOMPARE(Cell(editor, 4, 1), QStringLiteral("13 ???"));
    QCOMPARE(Combo(editor, "InstructionComboBox")->currentIndex(), -1);
    QVERIFY(ShownPanels(editor).isEmpty());
    Combo(editor, "DefaultLevelComboBox")->setCurrentIndex(1);
    QCOMPARE(WorkingLine(editor, 5).Instruction(), 13);
    QCOMPARE(Params(WorkingLine(editor, 5)), (std::array{1, 2, 3, 4, 5}));
    ChooseInstruction(editor, qd::Instruction::Reset);
    QCOMPARE(WorkingLine(editor, 5).Instruction(), 1);
    QCOMPARE(Params(WorkingLine(editor, 5)), (std::array{0, 0, 0, 0, 0}));
  }

  void saveWritesTheStoredProgram() {
    TProgramForm& editor = Open(0, 1);
    TypeOver(Edit(editor, "ProgramNameEdit"), QStringLiteral("Prewash"));
    TypeOver(Edit(editor, "ProgramCommentEdit"), QStringLiteral("short"));
    Find<QCheckBox>(editor, "ActiveBtn")->setChecked(true);
    Find<QCheckBox>(editor, "SoftnerBtn")->setChecked(false);
    Combo(editor, "DefaultLevelComboBox")->setCurrentIndex(-1);
    ChooseInstruction(editor, qd::Instruction::Jump);
    Combo(editor, "JumpToLineCombo")->setCurrentIndex(2);
    QVERIFY(Find<QPushButton>(editor, "SaveBtn")->isEnabled());

    QTest::mouseClick(Find<QPushButton>(editor, "SaveBtn"), Qt::LeftButton);
    const qd::DosingProgram& stored = Stored(0, 1);
    QCOMPARE(stored.Name, std::string("Prewash"));
    QCOMPARE(stored.Comment, std::string("short"));
    QVERIFY(stored.Active);
    QVERIFY(!stored.Softner);
    QVERIFY(stored.DefaultSoftner);
    // No level chosen is stored as High.
    QCOMPARE(stored.DefaultLevel, 3);
    QCOMPARE(stored.Lines[0], Line(qd::Instruction::Jump, {3}));
    QCOMPARE(stored.Lines, editor.WorkingCopy().Lines);
    QVERIFY(!editor.IsModified());
    QVERIFY(!Find<QPushButton>(editor, "SaveBtn")->isEnabled());
    QCOMPARE(editor.windowTitle(), QStringLiteral("Machine 1, Prewash"));
    // The machine window's program button follows the name, once it has its buttons.
    if (auto* button = app_->Machine(0).findChild<QPushButton*>(QStringLiteral("Program2Btn")))
      QCOMPARE(button->text().remove(QLatin1Char('&')), QStringLiteral("Prewash"));
    QVERIFY(user_->Boxes().empty());
  }

  void deletedProgramClosedWithNoLeavesTheStoredProgram() {
    Stored(0, 1).Name = "Main wash";
    Stored(0, 1).Active = true;
    Stored(0, 1).DefaultLevel = 3;
    Stored(0, 1).Lines[0] = Line(qd::Instruction::Wait, {30, 0}, "soak");
    const qd::DosingProgram before = Stored(0, 1);
    TProgramForm& editor = Open(0, 1);

    Action(editor, "DeleteProgramBtn")->trigger();
    QCOMPARE(Edit(editor, "ProgramNameEdit")->text(), QStringLiteral("Program 2"));
    QCOMPARE(Edit(editor, "ProgramCommentEdit")->text(), QString());
    QVERIFY(!Find<QCheckBox>(editor, "ActiveBtn")->isChecked());
    QVERIFY(Find<QCheckBox>(editor, "SoftnerBtn")->isChecked());
    QVERIFY(Find<QCheckBox>(editor, "DefaultSoftnerBtn")->isChecked());
    QCOMPARE(Combo(editor, "DefaultLevelComboBox")->currentText(), QStringLiteral("Mid"));
    QCOMPARE(Cell(editor, 0, 1), QStringLiteral(" Empty"));
    QCOMPARE(Cell(editor, 0, 3), QString());
    QVERIFY(editor.IsModified());
    QCOMPARE(Stored(0, 1), before);

    user_->AnswerBoxWith(QMessageBox::No);
    QVERIFY(editor.close());
    QVERIFY(!editor.isVisible());
    QCOMPARE(user_->Boxes().size(), std::size_t{1});
    const qd::gui::MessageBoxRequest& box = user_->Boxes().front();
    QCOMPARE(box.text, QStringLiteral("Program modfied, save?"));
    QCOMPARE(box.type, qd::gui::DialogType::Warning);
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QVERIFY(box.logged);
    QCOMPARE(Stored(0, 1), before);

    editor.show();
    QCOMPARE(Cell(editor, 0, 2), QStringLiteral("Wait: 30 sec"));
    QCOMPARE(Cell(editor, 0, 3), QStringLiteral("soak"));
    QCOMPARE(Edit(editor, "ProgramNameEdit")->text(), QStringLiteral("Main wash"));
    QVERIFY(!editor.IsModified());
  }

  void theCloseQuestion() {
    TProgramForm& editor = Open(0, 2);
    QVERIFY2(editor.close(), "without edits the window closes without asking");
    QVERIFY(user_->Boxes().empty());

    editor.show();
    TypeOver(Edit(editor, "ProgramCommentEdit"), QStringLiteral("rinse twice"));
    user_->AnswerBoxWith(QMessageBox::Cancel);
    QVERIFY(!editor.close());
    QVERIFY(editor.isVisible());
    QVERIFY(editor.IsModified());
    QCOMPARE(Stored(0, 2).Comment, std::string());

    // Esc closes too; Yes saves.
    user_->AnswerBoxWith(QMessageBox::Yes);
    QTest::keyClick(Grid(editor), Qt::Key_Escape);
    QVERIFY(!editor.isVisible());
    QCOMPARE(user_->Boxes().size(), std::size_t{2});
    QCOMPARE(Stored(0, 2).Comment, std::string("rinse twice"));
  }

  void droppingPendingEditsShowsTheStoredProgram() {
    Stored(0, 0).Name = "Kept";
    TProgramForm& editor = Open(0, 0);
    TypeOver(Edit(editor, "ProgramNameEdit"), QStringLiteral("Dropped"));
    ChooseInstruction(editor, qd::Instruction::KeyboardLock);
    QVERIFY(editor.DropPendingEdits());
    QVERIFY(!editor.IsModified());
    QVERIFY(!Find<QPushButton>(editor, "SaveBtn")->isEnabled());
    QCOMPARE(Edit(editor, "ProgramNameEdit")->text(), QStringLiteral("Kept"));
    QCOMPARE(Cell(editor, 0, 1), QStringLiteral(" Empty"));
    // A later save cannot bring the dropped edits back.
    TypeOver(Edit(editor, "ProgramCommentEdit"), QStringLiteral("new"));
    editor.StoreProgram();
    QCOMPARE(Stored(0, 0).Name, std::string("Kept"));
    QCOMPARE(Stored(0, 0).Lines[0].Instruction(), 0);
  }

  void theClipboardRefersToTheStoredProgram() {
    Stored(0, 1).Name = "Source";
    Stored(0, 1).Lines[2] = Line(qd::Instruction::Flush, {1, 0, 30}, "drain");
    TProgramForm& source = Open(0, 1);
    TProgramForm& target = Open(1, 0);
    QMenu* menu = Find<QMenu>(target, "ProgramMenu");
    emit menu->aboutToShow();
    QVERIFY2(!Action(target, "InsertProgramBtn")->isEnabled(), "nothing copied yet");

    Action(source, "CopyProgramBtn")->trigger();
    QCOMPARE(app_->Main().ProgramClipboard(), &Stored(0, 1));
    emit menu->aboutToShow();
    QVERIFY(Action(target, "InsertProgramBtn")->isEnabled());

    // Unsaved edits of the source are not copied.
    TypeOver(Edit(source, "ProgramNameEdit"), QStringLiteral("Unsaved"));
    Action(target, "InsertProgramBtn")->trigger();
    QCOMPARE(Stored(1, 0).Name, std::string("Source"));
    QCOMPARE(Stored(1, 0).Lines[2], Stored(0, 1).Lines[2]);
    QCOMPARE(Cell(target, 2, 2), QStringLiteral("T=30, To drain"));
    QVERIFY(!target.IsModified());
    QCOMPARE(target.windowTitle(), QStringLiteral("Machine 2, Source"));

    // Clearing the source machine clears what the clipboard refers to.
    qd::ClearMachine(app_->Config(), 0);
    Action(target, "InsertProgramBtn")->trigger();
    qd::DosingProgram cleared;
    cleared.Reset(2);
    QCOMPARE(Stored(1, 0), cleared);
    QCOMPARE(Edit(target, "ProgramNameEdit")->text(), QStringLiteral("Program 2"));
    QCOMPARE(Cell(target, 2, 1), QStringLiteral(" Empty"));
  }

  void theRunningLineIsShownForTenTicks() {
    TProgramForm& editor = Open(0, 0);
    auto* marker = Find<QLabel>(editor, "DebugActiveImage");
    auto* debug = Find<QCheckBox>(editor, "DebugBtn");
    QVERIFY(debug->isChecked());
    QVERIFY(!marker->isVisible());
    QVERIFY(!marker->text().isEmpty());
    QVERIFY(!marker->accessibleDescription().isEmpty());

    editor.ShowRunningLine(5);
    QCOMPARE(SelectedRows(editor), QList<int>{4});
    QCOMPARE(editor.CurrentLine(), 4);
    QVERIFY(marker->isVisible());
    for (int tick = 1; tick < TProgramForm::DebugHoldTicks; ++tick)
      editor.DebugTick();
    QVERIFY(marker->isVisible());
    editor.DebugTick();
    QVERIFY(!marker->isVisible());
    QCOMPARE(SelectedRows(editor), QList<int>{0});
    editor.DebugTick();
    SelectLine(editor, 7);
    editor.DebugTick();
    // An expired hold no longer moves the selection.
    QCOMPARE(SelectedRows(editor), QList<int>{6});

    for (const int none : {0, 25, -1}) {
      editor.ShowRunningLine(none);
      QVERIFY(!marker->isVisible());
      QCOMPARE(SelectedRows(editor), QList<int>{6});
    }

    debug->setChecked(false);
    editor.ShowRunningLine(3);
    QVERIFY(!marker->isVisible());
    QCOMPARE(SelectedRows(editor), QList<int>{6});
    debug->setChecked(true);
    editor.ShowRunningLine(24);
    QCOMPARE(SelectedRows(editor), QList<int>{23});
    QVERIFY(marker->isVisible());
    debug->setChecked(false);
    QVERIFY2(!marker->isVisible(), "unchecking Debug removes the marker at once");

    editor.hide();
    editor.ShowRunningLine(2);
    // A hidden editor shows no running line.
    QCOMPARE(SelectedRows(editor), QList<int>{23});
    editor.show();
    QVERIFY(debug->isChecked());
    QVERIFY(!marker->isVisible());
  }

  void theKeys() {
    Stored(0, 0).Lines[9] = Line(qd::Instruction::Jump, {15});
    Stored(0, 0).Name = "Keys";
    TProgramForm& editor = Open(0, 0);
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    QTableWidget* grid = Grid(editor);
    QComboBox* instruction = Combo(editor, "InstructionComboBox");

    grid->setFocus();
    SelectLine(editor, 5);
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(Cell(editor, 10, 2), QStringLiteral("Jump L16"));
    QCOMPARE(Cell(editor, 4, 1), QStringLiteral(" Empty"));
    QVERIFY(instruction->hasFocus());
    QVERIFY(editor.IsModified());

    // Left goes to the grid from anywhere; Right goes back from the grid only.
    QTest::keyClick(instruction, Qt::Key_Left);
    QVERIFY(grid->hasFocus());
    QCOMPARE(WorkingLine(editor, 5).Instruction(), 0);
    Edit(editor, "ProgramNameEdit")->setFocus();
    QTest::keyClick(Edit(editor, "ProgramNameEdit"), Qt::Key_Right);
    QVERIFY(Edit(editor, "ProgramNameEdit")->hasFocus());
    QTest::keyClick(Edit(editor, "ProgramNameEdit"), Qt::Key_Left);
    QVERIFY(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Right);
    QVERIFY(instruction->hasFocus());

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(Cell(editor, 9, 2), QStringLiteral("Jump L15"));
    QVERIFY(grid->hasFocus());

    // Insert and Delete act on lines only in the grid.
    QLineEdit* comment = Edit(editor, "InstructionCommentEdit");
    comment->setFocus();
    QTest::keyClick(comment, Qt::Key_Insert);
    QCOMPARE(Cell(editor, 9, 2), QStringLiteral("Jump L15"));

    // Alt+Backspace drops every unsaved edit.
    TypeOver(Edit(editor, "ProgramNameEdit"), QStringLiteral("Other"));
    QTest::keyClick(Edit(editor, "ProgramNameEdit"), Qt::Key_Backspace, Qt::AltModifier);
    QCOMPARE(Edit(editor, "ProgramNameEdit")->text(), QStringLiteral("Keys"));
    QVERIFY(!editor.IsModified());
    QCOMPARE(editor.WorkingCopy().Lines, Stored(0, 0).Lines);
  }

  void listsTheCheckersFindingsOfTheProgramAsEdited() {
    qd::MachineConfig& machine = app_->Config().system.Machines[0];
    machine.Calibration[0] = "0";
    Stored(0, 0).Active = true;
    Stored(0, 0).Softner = false;
    Stored(0, 0).Lines[0] = Line(qd::Instruction::Pump, {1, 0, 20, 20, 20});
    Stored(0, 0).Lines[1] = Line(qd::Instruction::Wait, {10, 0});
    TProgramForm& editor = Open(0, 0);
    auto* list = Find<QListWidget>(editor, "ProgramCheckList");
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(),
             QStringLiteral("Line 1: pump 1 has calibration 0: this line doses nothing"));

    // The machine's calibration is followed when it changes.
    machine.Calibration[0] = "30";
    qd::NoteEdit(app_->Config(), qd::ConfigPart::MachineCalibrations, 0);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("No findings"));

    // Edits show before they are saved: with its only pump line gone the program is active without one;
    // a program that is not active has nothing to report here.
    SelectLine(editor, 1);
    ChooseInstruction(editor, qd::Instruction::Empty);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Program: active program without a pump line"));
    Find<QCheckBox>(editor, "ActiveBtn")->setChecked(false);
    QCOMPARE(list->item(0)->text(), QStringLiteral("No findings"));
    QCOMPARE(Stored(0, 0).Lines[0].Instruction(), static_cast<int>(qd::Instruction::Pump));

    // A finding on a line leads to it.
    Find<QCheckBox>(editor, "ActiveBtn")->setChecked(true);
    ChooseInstruction(editor, qd::Instruction::Pump);
    machine.Calibration[0] = "0";
    editor.DebugTick();
    SelectLine(editor, 2);
    QCOMPARE(list->count(), 1);
    emit list->itemActivated(list->item(0));
    QCOMPARE(SelectedRows(editor), QList<int>{0});
  }
};

QTEST_MAIN(ProgramFormTest)
#include "program_form_test.moc"
