#include "gui/editors/machine_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <functional>
#include <vector>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/editors/calibration_form.h"
#include "gui/editors/program_form.h"
#include "gui/editors/system_setup_form.h"
#include "gui/editors/trigger_form.h"
#include "gui/link/communication_form.h"
#include "link/bus_payload.h"
#include "link/frame_codec.h"
#include "link/gateway_codec.h"
#include "link/status_records.h"
#include "model/system_commands.h"
#include "model/trigger_settings.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The app with its timer stopped: the test drives the ticks.
struct Fixture : AppFixture {
  // Machine n (1..10) opened from the main menu.
  TMachineForm& Open(int n) {
    app.Main().MachineBtnClick(n);
    return app.Machine(n - 1);
  }
  qd::MachineConfig& Config(int n) { return app.Config().system.Machines[static_cast<std::size_t>(n - 1)]; }

  // A controller status frame through the reply dispatch, as the link delivers it.
  void Status(const Bytes& frame) {
    app.Connection().Dispatch().DispatchBusFrame(qd::link::PayloadView(frame));
  }
  // A trigger module's report to the controller, heard on the bus.
  void Heard(std::uint8_t command, int machine, const Bytes& data) {
    const Bytes payload =
        qd::link::MakePayload(command, 1, qd::link::ControllerAddress,
                              static_cast<std::uint8_t>(qd::link::FirstTriggerAddress + machine - 1), data);
    app.Connection().Link().Receive(qd::link::EncodeFrame(payload));
  }
};

template <typename T>
T* Find(QWidget& window, const QString& name) {
  T* widget = window.findChild<T*>(name);
  if (widget == nullptr) qWarning("no control %s", qPrintable(name));
  return widget;
}

QPushButton* Button(QWidget& window, const QString& name) {
  return Find<QPushButton>(window, name);
}
QLineEdit* Edit(QWidget& window, const QString& name) {
  return Find<QLineEdit>(window, name);
}
QLabel* Label(QWidget& window, const QString& name) {
  return Find<QLabel>(window, name);
}

// Machine `machine`'s (1..10) record in a 64-byte controller status.
Bytes CurrentStatus(int machine, const Bytes& record) {
  Bytes frame(qd::link::ControllerStatus::Size, 0);
  frame[0] = qd::link::command::Status;
  frame[1] = qd::link::ControllerStatus::Size;
  for (std::size_t i = 0; i < record.size(); ++i)
    frame[qd::link::ControllerStatus::MachineOffset + 5 * static_cast<std::size_t>(machine - 1) + i] =
        record[i];
  return frame;
}

// The same in the older 44-byte form, a 3-byte record.
Bytes OlderStatus(int machine, const Bytes& record) {
  Bytes frame(qd::link::ControllerStatus::OlderSize, 0);
  frame[0] = qd::link::command::Status;
  frame[1] = qd::link::ControllerStatus::OlderSize;
  for (std::size_t i = 0; i < record.size(); ++i)
    frame[qd::link::ControllerStatus::MachineOffset + 3 * static_cast<std::size_t>(machine - 1) + i] =
        record[i];
  return frame;
}

// Which program buttons are bold and underlined, as a string of '1' and '0'.
QString Highlight(TMachineForm& machine) {
  QString marks;
  for (int i = 1; i <= TMachineForm::ProgramCount; ++i) {
    const QFont font = Button(machine, QStringLiteral("Program%1Btn").arg(i))->font();
    marks += font.bold() && font.underline() ? QLatin1Char('1') : QLatin1Char('0');
  }
  return marks;
}

QString Inputs(TMachineForm& machine) {
  QString marks;
  for (int i = 1; i <= TMachineForm::InputCount; ++i)
    marks += Button(machine, QStringLiteral("TriggerInput%1Btn").arg(i))->isChecked() ? QLatin1Char('1')
                                                                                      : QLatin1Char('0');
  return marks;
}

// The weight labels shown, as "index:text" items.
QStringList Weights(TMachineForm& machine) {
  QStringList shown;
  for (int i = 1; i <= TMachineForm::InputCount; ++i) {
    QLabel* label = Label(machine, QStringLiteral("TriggerWeightlabel%1").arg(i));
    if (label->isVisibleTo(&machine)) shown << QStringLiteral("%1:%2").arg(i).arg(label->text());
  }
  return shown;
}

bool Shown(TMachineForm& machine, const char* label) {
  return Label(machine, QString::fromLatin1(label))->isVisibleTo(&machine);
}

// Runs `whileOpen` once the modal window is up, then makes sure it closes.
void WhenModal(QDialog& dialog, std::function<void()> whileOpen) {
  QTimer::singleShot(0, &dialog, [&dialog, whileOpen] {
    if (!dialog.isVisible()) {
      QFAIL("the window is not open");
      return;
    }
    whileOpen();
    if (dialog.isVisible()) dialog.reject();
  });
}

}  // namespace

class MachineFormTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QLocale::setDefault(QLocale::c()); }

  void ControlsShowTheNewMachineAndWriteEveryEditThrough() {
    Fixture f;
    TMachineForm& machine = f.Open(2);
    QCOMPARE(machine.windowTitle(), QStringLiteral("Machine 2"));
    QCOMPARE(Button(machine, QStringLiteral("Program6Btn"))->text(), QStringLiteral("Program 6"));
    QCOMPARE(Edit(machine, QStringLiteral("ShortFlushTimeEdit"))->text(), QStringLiteral("5"));
    QCOMPARE(Edit(machine, QStringLiteral("LongFlushTimeEdit"))->text(), QStringLiteral("10"));
    QCOMPARE(Edit(machine, QStringLiteral("ProgramTimeoutEdit"))->text(), QStringLiteral("30"));
    QCOMPARE(Edit(machine, QStringLiteral("Calibration7Edit"))->text(), QStringLiteral("30"));
    QCOMPARE(Button(machine, QStringLiteral("CalibrationTest3Btn"))->text(), QStringLiteral("^3:Test"));
    QCOMPARE(Button(machine, QStringLiteral("TriggerSetupBtn"))->text(), QStringLiteral("Setup..."));
    QCOMPARE(Find<QGroupBox>(machine, QStringLiteral("ProgramGroupBox"))->title(),
             QStringLiteral(" Program "));
    auto* softner = Find<QComboBox>(machine, QStringLiteral("SoftnerPumpComboBox"));
    auto* defaultProgram = Find<QComboBox>(machine, QStringLiteral("DefaultProgramComboBox"));
    QCOMPARE(softner->count(), 8);
    QCOMPARE(softner->currentText(), QStringLiteral("-"));
    QCOMPARE(defaultProgram->itemText(3), QStringLiteral("Program 3"));
    QCOMPARE(defaultProgram->currentIndex(), 0);

    QLineEdit* shortFlush = Edit(machine, QStringLiteral("ShortFlushTimeEdit"));
    shortFlush->selectAll();
    QTest::keyClicks(shortFlush, QStringLiteral("12x"));
    QCOMPARE(f.Config(2).ShortFlushTime, std::string("12x"));
    QLineEdit* comment = Edit(machine, QStringLiteral("CommentEdit"));
    QTest::keyClicks(comment, QStringLiteral("Caf"));
    comment->insert(QStringLiteral("\u00e9"));
    QCOMPARE(f.Config(2).Comment, std::string("Caf\xe9"));
    QTest::keyClicks(Edit(machine, QStringLiteral("Calibration4Edit")), QStringLiteral("5"));
    QCOMPARE(f.Config(2).Calibration[3], std::string("305"));
    softner->setCurrentIndex(7);
    defaultProgram->setCurrentIndex(2);
    Find<QCheckBox>(machine, QStringLiteral("AllowNoProgramBtn"))->click();
    QCOMPARE(f.Config(2).SoftnerPump, 7);
    QCOMPARE(f.Config(2).DefaultProgram, 2);
    QVERIFY(f.Config(2).AllowNoProgram);
    // Nothing leaked into another machine.
    QCOMPARE(f.Config(1), qd::MachineConfig());
  }

  void RefreshShowsAConfigurationChangedFromOutside() {
    Fixture f;
    TMachineForm& machine = f.Open(1);
    qd::MachineConfig& config = f.Config(1);
    config.LongFlushTime = "77";
    config.Comment = "Hall \xe9";
    config.Calibration[6] = "42";
    config.SoftnerPump = 3;
    config.DefaultProgram = 5;
    config.AllowNoProgram = true;
    config.Programs[0].Name = "Whites & Towels";
    config.Programs[4].Name = "Wool";
    config.Programs[5].Name.clear();
    qd::NoteEdit(f.app.Config(), qd::ConfigPart::WholeMachine, machine.Index());

    QCOMPARE(Edit(machine, QStringLiteral("LongFlushTimeEdit"))->text(), QStringLiteral("77"));
    QCOMPARE(Edit(machine, QStringLiteral("CommentEdit"))->text(), QStringLiteral("Hall \u00e9"));
    QCOMPARE(Edit(machine, QStringLiteral("Calibration7Edit"))->text(), QStringLiteral("42"));
    QCOMPARE(Find<QComboBox>(machine, QStringLiteral("SoftnerPumpComboBox"))->currentText(),
             QStringLiteral("3"));
    auto* defaultProgram = Find<QComboBox>(machine, QStringLiteral("DefaultProgramComboBox"));
    QCOMPARE(defaultProgram->currentText(), QStringLiteral("Wool"));
    QCOMPARE(defaultProgram->itemText(1), QStringLiteral("Whites & Towels"));
    QVERIFY(Find<QCheckBox>(machine, QStringLiteral("AllowNoProgramBtn"))->isChecked());
    // '&' is shown, not taken as a mnemonic.
    QCOMPARE(Button(machine, QStringLiteral("Program1Btn"))->text(), QStringLiteral("Whites && Towels"));
    QCOMPARE(machine.ProgramCaption(0), QStringLiteral("Whites & Towels"));
    QCOMPARE(machine.ProgramCaption(5), QStringLiteral("Program 6"));
    // Showing the controls wrote nothing back.
    QCOMPARE(config.Comment, std::string("Hall \xe9"));

    qd::DosingProgram renamed = config.Programs[4];
    renamed.Name = "Delicates";
    qd::StoreProgram(f.app.Config(), machine.Index(), 4, renamed);
    QCOMPARE(Button(machine, QStringLiteral("Program5Btn"))->text(), QStringLiteral("Delicates"));
  }

  void ClearMachineKeepsAllowNoProgram() {
    Fixture f;
    ScriptedUser user;
    TMachineForm& machine = f.Open(5);
    Find<QCheckBox>(machine, QStringLiteral("AllowNoProgramBtn"))->click();
    QTest::keyClicks(Edit(machine, QStringLiteral("CommentEdit")), QStringLiteral("Old"));
    Edit(machine, QStringLiteral("Calibration1Edit"))->setText(QStringLiteral("99"));
    f.Config(5).Programs[2].Name = "Jeans";
    f.Config(5).Trigger.SetType(qd::trigger::TypeNyborgW3);
    qd::NoteEdit(f.app.Config(), qd::ConfigPart::WholeMachine, machine.Index());

    user.AnswerBoxWith(QMessageBox::No);
    f.app.Main().ClearMachineBtnClick(5);
    QCOMPARE(f.Config(5).Comment, std::string("Old"));

    user.AnswerBoxWith(QMessageBox::Yes);
    f.app.Main().ClearMachineBtnClick(5);
    QCOMPARE(user.BoxTexts().last(), QStringLiteral("Clear all data for Machine 5\n\nAre you sure?"));
    QVERIFY(Find<QCheckBox>(machine, QStringLiteral("AllowNoProgramBtn"))->isChecked());
    QVERIFY(f.Config(5).AllowNoProgram);
    QCOMPARE(Edit(machine, QStringLiteral("CommentEdit"))->text(), QString());
    QCOMPARE(Edit(machine, QStringLiteral("Calibration1Edit"))->text(), QStringLiteral("30"));
    QCOMPARE(Button(machine, QStringLiteral("Program3Btn"))->text(), QStringLiteral("Program 3"));
    QCOMPARE(f.Config(5).Trigger.Type(), qd::trigger::TypeQd520);
    qd::MachineConfig expected;
    expected.AllowNoProgram = true;
    QCOMPARE(f.Config(5), expected);
  }

  void ControllerStatusMovesTheRunningHighlightAndKeyboardCaption() {
    Fixture f;
    TMachineForm& machine = f.Open(3);
    auto* group = Find<QGroupBox>(machine, QStringLiteral("ProgramGroupBox"));
    QCOMPARE(Highlight(machine), QStringLiteral("000000"));

    f.Status(CurrentStatus(3, {5, 2, 0x04}));
    QCOMPARE(Highlight(machine), QStringLiteral("010000"));
    QCOMPARE(group->title(), QStringLiteral(" Program, Keyboard locked "));

    f.Status(CurrentStatus(3, {5, 6, 0x00}));
    QCOMPARE(Highlight(machine), QStringLiteral("000001"));
    QCOMPARE(group->title(), QStringLiteral(" Program "));

    // Program 7 is none.
    f.Status(CurrentStatus(3, {5, 7, 0x00}));
    QCOMPARE(Highlight(machine), QStringLiteral("000000"));

    // The older form moves the highlight and the caption but not the inputs or the percent.
    f.Config(3).Trigger.SetType(qd::trigger::TypeMieleEthernet);
    f.Status(OlderStatus(3, {1, 4, 0x05}));
    QCOMPARE(Highlight(machine), QStringLiteral("000100"));
    QCOMPARE(group->title(), QStringLiteral(" Program, Keyboard locked "));
    QCOMPARE(Inputs(machine), QStringLiteral("000000"));
    QVERIFY(Weights(machine).isEmpty());
    QVERIFY(!Shown(machine, "TriggerOnlineLabel"));

    // The current form with an Ethernet trigger shows them.
    f.Status(CurrentStatus(3, {1, 4, 0x01, 0x21, 60}));
    QCOMPARE(Inputs(machine), QStringLiteral("100001"));
    QCOMPARE(Weights(machine), QStringList{QStringLiteral("1:60%")});
    QVERIFY(Shown(machine, "TriggerOnlineLabel"));

    // Another machine's record does not touch this one.
    f.Status(CurrentStatus(4, {1, 1, 0x04}));
    QCOMPARE(Highlight(machine), QStringLiteral("000000"));
    QCOMPARE(group->title(), QStringLiteral(" Program "));
  }

  void RunningProgramsEditorFollowsTheRunningLine() {
    Fixture f;
    TMachineForm& machine = f.Open(6);
    Button(machine, QStringLiteral("Program2Btn"))->click();
    TProgramForm* editor = machine.ProgramEditor(1);
    QCOMPARE(editor->CurrentLine(), 0);
    f.Status(CurrentStatus(6, {5, 2}));
    QCOMPARE(editor->CurrentLine(), 4);
    // Another program's line does not reach this editor.
    f.Status(CurrentStatus(6, {9, 3}));
    QCOMPARE(editor->CurrentLine(), 4);
    // The machine window's ticks age the editor's marker.
    f.Ticks(TProgramForm::DebugHoldTicks);
    QCOMPARE(editor->CurrentLine(), 0);
  }

  void EditorsWithUnsavedEditsAreCommittedDiscardedOrKeepTheWindowOpen() {
    Fixture f;
    ScriptedUser user;
    TMachineForm& machine = f.Open(1);
    QVERIFY(!machine.IsModified());
    Button(machine, QStringLiteral("Program4Btn"))->click();
    TProgramForm* editor = machine.ProgramEditor(3);
    QLineEdit* comment = Edit(*editor, QStringLiteral("ProgramCommentEdit"));
    QTest::keyClicks(comment, QStringLiteral("rinse twice"));
    QVERIFY(machine.IsModified());

    QVERIFY(machine.DiscardEditors());
    QVERIFY(!machine.IsModified());
    QCOMPARE(comment->text(), QString());

    QTest::keyClicks(comment, QStringLiteral("rinse twice"));
    QVERIFY(machine.CommitEditors());
    QVERIFY(!machine.IsModified());
    QCOMPARE(f.Config(1).Programs[3].Comment, std::string("rinse twice"));

    // Cancel in the editor's question keeps the editor and the machine window open.
    QTest::keyClicks(comment, QStringLiteral("!"));
    user.AnswerBoxWith(QMessageBox::Cancel);
    machine.close();
    QVERIFY(machine.isVisible());
    QCOMPARE(machine.ProgramEditor(3), editor);
    user.AnswerBoxWith(QMessageBox::No);
    machine.close();
    QVERIFY(!machine.isVisible());
    QVERIFY(machine.ProgramEditor(3) == nullptr);
    QCOMPARE(f.Config(1).Programs[3].Comment, std::string("rinse twice"));
  }

  void HiddenWindowIgnoresStatus() {
    Fixture f;
    TMachineForm& machine = f.app.Machine(0);
    f.Status(CurrentStatus(1, {1, 1, 0x04}));
    f.Heard(qd::link::command::TriggerReport, 1, {0x01, 0, 0});
    machine.ApplyRemoteStatus(Bytes{1, 1, 0x0F, 0x3F, 0, 0, 0, 0, 0, 0});
    machine.show();
    QCOMPARE(Highlight(machine), QStringLiteral("000000"));
    QCOMPARE(Inputs(machine), QStringLiteral("000000"));
    QVERIFY(!Shown(machine, "TriggerOnlineLabel"));
  }

  void TriggerReportsShowInputsWeightsAndLinkIndicatorsUntilTheyGoStale() {
    Fixture f;
    f.Config(2).Trigger.SetType(qd::trigger::TypeNyborgW3);
    TMachineForm& machine = f.Open(2);
    TMachineForm& other = f.Open(1);

    f.Heard(qd::link::command::TriggerReport, 2, {0x06, 0, 255});
    QCOMPARE(Inputs(machine), QStringLiteral("011000"));
    QCOMPARE(Weights(machine), QStringList{QStringLiteral("2:127.5kg")});
    QVERIFY(Shown(machine, "TriggerOnlineLabel"));
    QVERIFY(!Shown(machine, "KeyboardConnectedLabel"));
    QCOMPARE(Inputs(other), QStringLiteral("000000"));

    // No input: the last weight stays; bit 5: no weight at all.
    f.Heard(qd::link::command::TriggerReport, 2, {0x00, 0, 10});
    QCOMPARE(Weights(machine), QStringList{QStringLiteral("2:127.5kg")});
    f.Heard(qd::link::command::TriggerReport, 2, {0x22, 0, 10});
    QVERIFY(Weights(machine).isEmpty());
    QCOMPARE(Inputs(machine), QStringLiteral("010001"));

    // The weight follows the locale's decimal separator.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    f.Heard(qd::link::command::TriggerReport, 2, {0x01, 0, 3});
    QCOMPARE(Weights(machine), QStringList{QStringLiteral("1:1,5kg")});

    // A status report: "K" and "S", and the trigger window learns the module.
    f.Heard(qd::link::command::TriggerStatusReport, 2, {0x01, 0, 3, 0x32, 0x41, 0});
    QVERIFY(Shown(machine, "KeyboardConnectedLabel"));
    QVERIFY(Shown(machine, "SerialConnectionLabel"));
    QVERIFY(machine.TriggerForm()->StatusReceived());
    QCOMPARE(f.Config(2).Trigger.bytes[qd::TriggerSettings::ModuleKindOffset] & 0x0F, 2);
    QCOMPARE(f.Config(2).Trigger.bytes[qd::TriggerSettings::ModuleVersionOffset], 0x41);

    // Five seconds without a report: the indicators go, the weights and inputs stay.
    f.Ticks(qd::link::MachineStatusView::HoldTicks - 1);
    QVERIFY(Shown(machine, "TriggerOnlineLabel"));
    f.Ticks(1);
    QVERIFY(!Shown(machine, "TriggerOnlineLabel"));
    QVERIFY(!Shown(machine, "KeyboardConnectedLabel"));
    QVERIFY(!Shown(machine, "SerialConnectionLabel"));
    QVERIFY(!machine.TriggerForm()->StatusReceived());
    QCOMPARE(Weights(machine), QStringList{QStringLiteral("1:1,5kg")});
  }

  void PercentOfMieleLogicTrigger() {
    Fixture f;
    f.Config(4).Trigger.SetType(qd::trigger::TypeMieleLogic);
    TMachineForm& machine = f.Open(4);
    f.Heard(qd::link::command::TriggerReport, 4, {0x01, 0, 200});
    QCOMPARE(Weights(machine), QStringList{QStringLiteral("1:200%")});
    f.Heard(qd::link::command::TriggerReport, 4, {0x01, 0, 201});
    QVERIFY(Weights(machine).isEmpty());
    f.Heard(qd::link::command::TriggerReport, 4, {0x01, 0, 50});
    // Showing the trigger type again hides the weights.
    machine.ShowTriggerType(QStringLiteral("QD740, Miele Logic"));
    QVERIFY(Weights(machine).isEmpty());
    QCOMPARE(Find<QGroupBox>(machine, QStringLiteral("TriggerGroup"))->title(),
             QStringLiteral(" QD740, Miele Logic "));
  }

  void GatewayRecordShowsTheMachine() {
    Fixture f;
    TMachineForm& machine = f.Open(2);
    Bytes message(qd::link::gateway::StatusRecordOffset + 10 * qd::link::gateway::StatusRecordSize, 0);
    message[0] = qd::link::gateway::SystemClass;
    message[1] = qd::link::gateway::Status;
    const std::size_t record = qd::link::gateway::StatusRecordOffset + qd::link::gateway::StatusRecordSize;
    message[record + 1] = 3;
    message[record + 2] = 0x0F;
    message[record + 3] = 0x12;
    f.app.Connection().Dispatch().DispatchGatewayMessage(message);
    QCOMPARE(Highlight(machine), QStringLiteral("001000"));
    QCOMPARE(Inputs(machine), QStringLiteral("010010"));
    QVERIFY(Shown(machine, "TriggerOnlineLabel"));
    QVERIFY(Shown(machine, "KeyboardConnectedLabel"));
    QVERIFY(Shown(machine, "SerialConnectionLabel"));
    QCOMPARE(Find<QGroupBox>(machine, QStringLiteral("ProgramGroupBox"))->title(),
             QStringLiteral(" Program, Keyboard locked "));

    // Trigger offline: the indicators go and the inputs are up.
    message[record + 2] = 0x00;
    f.app.Connection().Dispatch().DispatchGatewayMessage(message);
    QVERIFY(!Shown(machine, "TriggerOnlineLabel"));
    QVERIFY(!Shown(machine, "KeyboardConnectedLabel"));
    QCOMPARE(Inputs(machine), QStringLiteral("000000"));
  }

  void ProgramEditorsOpenBesideTheWindowAndCloseWithIt() {
    Fixture f;
    TMachineForm& machine = f.Open(1);
    const QRect work = machine.screen()->availableGeometry();
    machine.move(work.topLeft() + QPoint(0, 50));
    const QRect frame = machine.frameGeometry();
    QVERIFY2(frame.right() + 2 * 15 + 100 < work.right(), "the screen is too small for this test");
    Button(machine, QStringLiteral("Program3Btn"))->click();
    TProgramForm* editor = machine.ProgramEditor(2);
    QVERIFY(editor != nullptr);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->parentWidget(), static_cast<QWidget*>(&machine));
    QCOMPARE(editor->pos(), QPoint(frame.left() + frame.width() + 30, frame.top() + 30));
    QVERIFY(machine.ProgramEditor(0) == nullptr);

    // A second click shows the same editor where it is.
    editor->move(10, 10);
    editor->hide();
    Button(machine, QStringLiteral("Program3Btn"))->click();
    QCOMPARE(machine.ProgramEditor(2), editor);
    QCOMPARE(editor->pos(), QPoint(10, 10));

    // Near the corner of the work area the editor stays reachable.
    machine.move(work.right() - 50, work.bottom() - 10);
    Button(machine, QStringLiteral("Program6Btn"))->click();
    TProgramForm* corner = machine.ProgramEditor(5);
    QCOMPARE(corner->pos(), QPoint(work.left() + work.width() - 100, work.top() + work.height() - 20));

    QPointer<TProgramForm> watched(editor);
    machine.close();
    QVERIFY(machine.ProgramEditor(2) == nullptr);
    QVERIFY(machine.ProgramEditor(5) == nullptr);
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(watched.isNull());
    // The machine's data stays when the window closes.
    QVERIFY(!machine.isVisible());
  }

  void TriggerWindowOpensBelowTheMachine() {
    Fixture f;
    TMachineForm& machine = f.Open(1);
    machine.move(200, 100);
    Button(machine, QStringLiteral("TriggerSetupBtn"))->click();
    TTriggerForm* trigger = machine.TriggerForm();
    QVERIFY(trigger->isVisible());
    const QRect frame = machine.frameGeometry();
    QCOMPARE(trigger->frameGeometry().top(), frame.top() + frame.height());
    QCOMPARE(trigger->frameGeometry().left(),
             frame.left() + (frame.width() - trigger->frameGeometry().width()) / 2);
    machine.close();
    QVERIFY(!trigger->isVisible());
  }

  void EscapeClosesAndCtrlDigitsStartCalibrationTests() {
    Fixture f;
    TMachineForm& machine = f.Open(1);
    TCalibrationForm& calibration = f.app.Calibration();
    QStringList captions;
    WhenModal(calibration, [&] {
      captions << calibration.windowTitle();
      // Ctrl+3 while the calibration window is open does nothing (it returns at once).
      machine.CalibrationTestBtnClick(3);
      QTest::keyClick(Edit(machine, QStringLiteral("CommentEdit")), Qt::Key_3, Qt::ControlModifier);
      captions << calibration.windowTitle();
    });
    QTest::keyClick(Edit(machine, QStringLiteral("CommentEdit")), Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(captions,
             (QStringList{QStringLiteral("Pump 2 calibration"), QStringLiteral("Pump 2 calibration")}));
    QVERIFY(!calibration.isVisible());
    // The digit alone is text.
    QTest::keyClick(Edit(machine, QStringLiteral("CommentEdit")), Qt::Key_3);
    QCOMPARE(Edit(machine, QStringLiteral("CommentEdit"))->text(), QStringLiteral("3"));

    // Ctrl+8 is no pump.
    QTest::keyClick(&machine, Qt::Key_8, Qt::ControlModifier);
    QVERIFY(!calibration.isVisible());
    QTest::keyClick(Edit(machine, QStringLiteral("ShortFlushTimeEdit")), Qt::Key_Escape);
    QVERIFY(!machine.isVisible());
  }

  void AcceptedCalibrationIsWrittenIntoThePumpsEdit() {
    Fixture f;
    TMachineForm& machine = f.Open(1);
    TCalibrationForm& calibration = f.app.Calibration();
    Edit(machine, QStringLiteral("Calibration4Edit"))->setText(QStringLiteral("40"));
    WhenModal(calibration, [&] {
      QCOMPARE(Edit(calibration, QStringLiteral("CurrentCalibrationEdit"))->text(), QStringLiteral("40"));
      QTest::keyClicks(Edit(calibration, QStringLiteral("MeassuredVolumeEdit")), QStringLiteral("80"));
      Button(calibration, QStringLiteral("OKBtn"))->click();
    });
    Button(machine, QStringLiteral("CalibrationTest4Btn"))->click();
    QCOMPARE(Edit(machine, QStringLiteral("Calibration4Edit"))->text(), QStringLiteral("50"));
    QCOMPARE(f.Config(1).Calibration[3], std::string("50"));

    // OK without a new calibration leaves the pump's value.
    WhenModal(calibration, [&] { Button(calibration, QStringLiteral("OKBtn"))->click(); });
    Button(machine, QStringLiteral("CalibrationTest4Btn"))->click();
    QCOMPARE(Edit(machine, QStringLiteral("Calibration4Edit"))->text(), QStringLiteral("50"));

    // The window opens at the machine's top, centred on it.
    machine.move(300, 120);
    QPoint where;
    WhenModal(calibration, [&] { where = calibration.frameGeometry().topLeft(); });
    Button(machine, QStringLiteral("CalibrationTest1Btn"))->click();
    const QRect frame = machine.frameGeometry();
    QCOMPARE(where.y(), frame.top());
    QCOMPARE(where.x(), frame.left() + (frame.width() - calibration.frameGeometry().width()) / 2);
  }

  void SimulatedTriggersAreShownLive() {
    Simulator sim({QStringLiteral("--trigger"), QStringLiteral("1:qd520"), QStringLiteral("--trigger"),
                   QStringLiteral("2:nyborg-w3")});
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Fixture f;
    f.Config(2).Trigger.SetType(qd::trigger::TypeNyborgW3);
    TMachineForm& first = f.Open(1);
    TMachineForm& second = f.Open(2);
    QVERIFY(f.OpenPort(sim));

    QVERIFY(WaitUntil([&] { return Shown(first, "TriggerOnlineLabel"); }));
    QVERIFY(WaitUntil([&] { return Inputs(first) != QStringLiteral("000000"); }));
    // The QD740 reports its keyboard and serial connection and a weight.
    QVERIFY(WaitUntil(
        [&] { return Shown(second, "KeyboardConnectedLabel") && Shown(second, "SerialConnectionLabel"); }));
    QVERIFY(WaitUntil([&] { return !Weights(second).isEmpty(); }));
    QVERIFY(Weights(second).first().endsWith(QStringLiteral("kg")));
    QVERIFY(second.TriggerForm()->StatusReceived());
  }
};

QTEST_MAIN(MachineFormTest)
#include "machine_form_test.moc"
