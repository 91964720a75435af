// The windows against the working configuration's changes: every way of replacing or changing it with
// every window open, and the edits that a missed change used to lose or store wrong.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/app/text_codec.h"
#include "gui/editors/copy_machine_form.h"
#include "gui/editors/machine_form.h"
#include "gui/editors/program_form.h"
#include "gui/editors/system_setup_form.h"
#include "gui/editors/trigger_form.h"
#include "gui/link/eeprom_form.h"
#include "gui/logs/alarm_log_form.h"
#include "model/image_parser.h"
#include "model/system_commands.h"
#include "model/system_file.h"
#include "support/gui_test_support.h"

namespace qd::gui::test {
namespace {

// Two machines that differ in everything a window shows.
qd::WorkingConfig Configuration(const std::string& name, const std::string& suffix, int firstTrigger) {
  qd::WorkingConfig config;
  qd::NewSystem(config, qd::LocalDateTime{});
  config.system.SystemName = name;
  config.system.MachineEnabled[1] = true;
  qd::MachineConfig& first = config.system.Machines[0];
  first.ShortFlushTime = "11";
  first.Programs[0].Name = "First " + suffix;
  first.Trigger.SetType(firstTrigger);
  qd::MachineConfig& second = config.system.Machines[1];
  second.ShortFlushTime = "23";
  second.Programs[0].Name = "Second " + suffix;
  second.Trigger.SetType(qd::trigger::TypeElectrolux);
  qd::BuildImage(config, qd::LocalDateTime{});
  return config;
}

QString SavedFile(const QTemporaryDir& folder, const qd::WorkingConfig& config, const QString& name) {
  const QString path = folder.filePath(name);
  if (!qd::WriteSystemFile(config, PathOf(path)).ok) qFatal("cannot write %s", qPrintable(path));
  return path;
}

template <typename T>
T* Find(QWidget& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) qFatal("no control %s", name);
  return found;
}

// What the windows should show of machine 1 and of the system.
struct Shown {
  QString systemName;
  QString shortFlush;
  QString program;
  QString trigger;
};

using Change = std::function<void(AppFixture&, ScriptedUser&, const QTemporaryDir&)>;

}  // namespace
}  // namespace qd::gui::test

Q_DECLARE_METATYPE(qd::gui::test::Change)
Q_DECLARE_METATYPE(qd::gui::test::Shown)

namespace qd::gui::test {

class ConfigChangeTest : public QObject {
  Q_OBJECT

 private slots:
  void everyWindowShowsTheConfigurationThatReplacedIt_data();
  void everyWindowShowsTheConfigurationThatReplacedIt();
  void declinedProgramEditsStayDeclined();
  void controlBoxesAreReleasedAtEveryRefillWhileControlIsUnavailable();
  void savingSaysOnceThatElectroluxProgramsSixteenToThirtyAreNotKept();
};

void ConfigChangeTest::everyWindowShowsTheConfigurationThatReplacedIt_data() {
  QTest::addColumn<Change>("change");
  QTest::addColumn<Shown>("shown");
  const Shown empty{{}, QStringLiteral("5"), QStringLiteral("Program 1"), QStringLiteral("QD520, Standard")};
  const Shown other{QStringLiteral("Other"), QStringLiteral("11"), QStringLiteral("First other"),
                    QStringLiteral("QD740, Nyborg: W3xxH")};
  const auto read = [](AppFixture& f, const qd::ControllerImage& image) {
    f.app.Config().image.bytes = image.bytes;
    qd::ParseImage(f.app.Config());
  };
  QTest::newRow("new") << Change([](AppFixture& f, ScriptedUser&, const QTemporaryDir&) {
    f.app.Main().NewSystemBtnClick();
  }) << empty;
  QTest::newRow("load") << Change([](AppFixture& f, ScriptedUser& user, const QTemporaryDir& folder) {
    user.ChooseFile(SavedFile(folder, Configuration("Other", "other", qd::trigger::TypeNyborgW3), "o.xml"));
    f.app.Main().LoadSystemBtnClick();
  }) << other;
  QTest::newRow("read") << Change([read](AppFixture& f, ScriptedUser&, const QTemporaryDir&) {
    read(f, Configuration("Other", "other", qd::trigger::TypeNyborgW3).image);
  }) << other;
  QTest::newRow("refused read") << Change([read](AppFixture& f, ScriptedUser&, const QTemporaryDir&) {
    read(f, qd::ControllerImage{});
  }) << empty;
  QTest::newRow("copy") << Change([](AppFixture& f, ScriptedUser& user, const QTemporaryDir&) {
    TCopyMachineForm& copy = f.app.CopyMachine();
    Find<QComboBox>(copy, "CopyFromCombo")->setCurrentIndex(1);
    Find<QComboBox>(copy, "CopyToCombo")->setCurrentIndex(0);
    user.AnswerBoxWith(QMessageBox::No);  // the pending program edit is dropped
    copy.CopyBtnClick();
  })
                        << Shown{QStringLiteral("Before"), QStringLiteral("23"),
                                 QStringLiteral("Second before"), QStringLiteral("QD310, Electrolux: 5xx")};
  QTest::newRow("clear") << Change([](AppFixture& f, ScriptedUser& user, const QTemporaryDir&) {
    user.AnswerBoxWith(QMessageBox::Yes);
    f.app.Main().ClearMachineBtnClick(1);
  })
                         << Shown{QStringLiteral("Before"), QStringLiteral("5"), QStringLiteral("Program 1"),
                                  QStringLiteral("QD520, Standard")};
}

void ConfigChangeTest::everyWindowShowsTheConfigurationThatReplacedIt() {
  QFETCH(Change, change);
  QFETCH(Shown, shown);
  QTemporaryDir folder;
  ScriptedUser user;
  AppFixture f;
  user.ChooseFile(SavedFile(folder, Configuration("Before", "before", qd::trigger::TypeNortec), "b.xml"));
  f.app.Main().LoadSystemBtnClick();

  // Every window that shows the configuration is open, with an edit pending in a program editor.
  f.app.Main().show();
  TMachineForm& machine = f.app.Machine(0);
  f.app.Main().MachineBtnClick(1);
  f.app.Main().MachineBtnClick(2);
  machine.ProgramBtnClick(1);
  TProgramForm& editor = *machine.ProgramEditor(0);
  Find<QLineEdit>(editor, "ProgramNameEdit")->setText(QStringLiteral("Pending"));
  QVERIFY(editor.IsModified());
  machine.TriggerSetupBtnClick();
  TSystemSetupForm& setup = f.app.SystemSetup();
  setup.show();
  f.app.Eeprom().show();
  f.app.AlarmLog().show();

  change(f, user, folder);

  const qd::WorkingConfig& config = f.app.Config();
  QCOMPARE(FromCp1252(config.system.SystemName), shown.systemName);
  QCOMPARE(Find<QLineEdit>(setup, "SystemNameEdit")->text(), shown.systemName);
  QCOMPARE(Find<QLineEdit>(machine, "ShortFlushTimeEdit")->text(), shown.shortFlush);
  QCOMPARE(Find<QPushButton>(machine, "Program1Btn")->text(), shown.program);
  QCOMPARE(Find<QGroupBox>(machine, "TriggerGroup")->title().trimmed(), shown.trigger);
  QCOMPARE(machine.TriggerForm()->TypeText(), shown.trigger);
  // The editor shows what is stored: the pending edit went with the configuration it was made on.
  QCOMPARE(Find<QLineEdit>(editor, "ProgramNameEdit")->text(), shown.program);
  QVERIFY(!editor.IsModified());
  QCOMPARE(FromCp1252(config.system.Machines[0].Programs[0].Name), shown.program);
  QCOMPARE(f.app.Main().StatusPanelText(0).isEmpty(), !config.image.imageHeld);
  QCOMPARE(Find<QAction>(f.app.Main(), "Machine2Btn")->isEnabled(), config.system.MachineEnabled[1]);
}

void ConfigChangeTest::declinedProgramEditsStayDeclined() {
  QTemporaryDir folder;
  ScriptedUser user;
  AppFixture f;
  user.ChooseFile(SavedFile(folder, Configuration("Before", "before", qd::trigger::TypeNyborgW3), "b.xml"));
  f.app.Main().LoadSystemBtnClick();
  const qd::DosingProgram kept = f.app.Config().system.Machines[0].Programs[0];

  f.app.Main().MachineBtnClick(1);
  TMachineForm& machine = f.app.Machine(0);
  machine.ProgramBtnClick(1);
  TProgramForm& editor = *machine.ProgramEditor(0);
  editor.DeleteProgramBtnClick();
  user.AnswerBoxWith(QMessageBox::No);  // "Program modfied, save?"
  QVERIFY(editor.close());

  // An unsaved trigger edit makes the save ask about unsaved data; Yes stores what is pending.
  machine.TriggerSetupBtnClick();
  QLineEdit* low = Find<QLineEdit>(*machine.TriggerForm(), "LowLevelAdjustEdit");
  low->setText(QStringLiteral("40"));
  user.AnswerBoxWith(QMessageBox::Yes);
  const QString saved = folder.filePath(QStringLiteral("saved.xml"));
  user.ChooseFile(saved);
  f.app.Main().SaveSystemBtnClick();
  QCOMPARE(user.BoxTexts().back(), QStringLiteral("Unsaved program data, update before save?"));

  QCOMPARE(f.app.Config().system.Machines[0].Trigger.bytes[qd::TriggerSettings::AdjustLowOffset], 40);
  QVERIFY(f.app.Config().system.Machines[0].Programs[0] == kept);
  qd::WorkingConfig reloaded;
  QVERIFY(qd::LoadSystem(reloaded, PathOf(saved), qd::LocalDateTime{}).file.ok);
  QCOMPARE(reloaded.system.Machines[0].Programs[0].Name, kept.Name);
  QVERIFY(reloaded.system.Machines[0].Programs[0].Lines == kept.Lines);
}

void ConfigChangeTest::controlBoxesAreReleasedAtEveryRefillWhileControlIsUnavailable() {
  AppFixture f;
  TSystemSetupForm& setup = f.app.SystemSetup();
  setup.show();
  // Left over from an earlier link: a pump under the PC's control although there is no link now.
  QCheckBox* pump = Find<QCheckBox>(setup, "PumpControl3Btn");
  QCheckBox* machine = Find<QCheckBox>(setup, "MachineControl2Btn");
  pump->setChecked(true);
  machine->setChecked(true);
  setup.ManualControl().pumpControl = 0x04;
  setup.ManualControl().pumpOn = 0x04;

  f.app.Main().NewSystemBtnClick();

  QVERIFY(!pump->isChecked());
  QVERIFY(!pump->isEnabled());
  QVERIFY(!machine->isChecked());
  QVERIFY(!machine->isEnabled());
  QVERIFY(setup.ManualControl() == qd::link::ManualOutputs{});
}

void ConfigChangeTest::savingSaysOnceThatElectroluxProgramsSixteenToThirtyAreNotKept() {
  QTemporaryDir folder;
  ScriptedUser user;
  AppFixture f;
  for (const int machine : {0, 2}) {
    qd::TriggerSettings trigger;
    trigger.SetType(qd::trigger::TypeElectrolux);
    trigger.SetElectroluxEntry(3, 1);
    trigger.SetElectroluxEntry(20 + machine, 4);
    qd::StoreTrigger(f.app.Config(), machine, trigger);
  }
  user.ChooseFile(folder.filePath(QStringLiteral("a.xml")));
  f.app.Main().SaveSystemBtnClick();
  QCOMPARE(user.BoxTexts().size(), qsizetype{1});
  QVERIFY2(user.BoxTexts().front().contains(QStringLiteral("16..30 of machine 1, 3 are not kept")),
           qPrintable(user.BoxTexts().front()));

  // Entries the file keeps say nothing.
  qd::ClearMachine(f.app.Config(), -1);
  qd::TriggerSettings kept;
  kept.SetType(qd::trigger::TypeElectrolux);
  kept.SetElectroluxEntry(15, 6);
  qd::StoreTrigger(f.app.Config(), 1, kept);
  user.ChooseFile(folder.filePath(QStringLiteral("b.xml")));
  f.app.Main().SaveSystemBtnClick();
  QCOMPARE(user.BoxTexts().size(), qsizetype{1});
}

}  // namespace qd::gui::test

QTEST_MAIN(qd::gui::test::ConfigChangeTest)
#include "config_change_test.moc"
