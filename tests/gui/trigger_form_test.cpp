#include "gui/editors/trigger_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <string>
#include <vector>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/editors/machine_form.h"
#include "link/bus_payload.h"
#include "model/system_commands.h"
#include "model/system_file.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;
using qd::TriggerSettings;
namespace trigger = qd::trigger;

namespace {

constexpr int MachineIndex = 2;  // machine 3: the caption must carry the machine's own number

// The app with its timer stopped, and the trigger window of machine 3.
struct Fixture {
  TemporaryPreferences preferences;
  App app{QStringList{QStringLiteral("qdsystem")}};

  Fixture() {
    app.Main().FormActivate();
    app.Main().MainTimer100ms().stop();
  }

  TMachineForm& Machine() { return app.Machine(MachineIndex); }
  TTriggerForm& Form() { return *Machine().TriggerForm(); }
  TriggerSettings& Stored() { return app.Config().system.Machines[MachineIndex].Trigger; }

  // Opens the machine window from the main window, then this window with its "Setup..." button.
  void Open() {
    if (!Machine().isVisible()) app.Main().MachineBtnClick(MachineIndex + 1);
    auto* setup = Machine().findChild<QPushButton*>(QStringLiteral("TriggerSetupBtn"));
    QVERIFY(setup != nullptr);
    QTest::mouseClick(setup, Qt::LeftButton);
    QVERIFY(Form().isVisible());
  }
  // The stored block changed from outside (a load or a read): the window shows it.
  void SetStored(const TriggerSettings& settings) {
    qd::StoreTrigger(app.Config(), Machine().Index(), settings);
  }

  template <typename T>
  T* Child(const QString& name) {
    T* child = Form().findChild<T*>(name);
    if (child == nullptr) qFatal("no control %s", qPrintable(name));
    return child;
  }
  QLineEdit* Edit(const char* name) { return Child<QLineEdit>(QString::fromLatin1(name)); }
  QComboBox* Combo(const char* name) { return Child<QComboBox>(QString::fromLatin1(name)); }
  QComboBox* LockCombo(int n) { return Child<QComboBox>(QStringLiteral("KeyboardLock%1ComboBox").arg(n)); }
  QComboBox* ElectroluxCombo(int n) {
    return Child<QComboBox>(QStringLiteral("ElectroluxMachineProgramCombo%1").arg(n));
  }
  QGroupBox* Group(const char* name) { return Child<QGroupBox>(QString::fromLatin1(name)); }
  QLabel* Label(const char* name) { return Child<QLabel>(QString::fromLatin1(name)); }
  QPushButton* Button(const char* name) { return Child<QPushButton>(QString::fromLatin1(name)); }

  // As a user types: the old text selected and replaced.
  void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    bool ascii = true;
    for (QChar ch : text)
      ascii = ascii && ch.unicode() < 0x80;
    if (text.isEmpty()) {
      QTest::keyClick(edit, Qt::Key_Delete);
    } else if (ascii) {
      QTest::keyClicks(edit, text);
    } else {
      edit->insert(text);  // pasted: key clicks carry ASCII only
    }
  }
  void ChooseType(int code) { Combo("TriggerTypeComboBox")->setCurrentIndex(trigger::EntryOfTypeCode(code)); }
  void Save() {
    QVERIFY(Button("SaveBtn")->isEnabled());
    QTest::mouseClick(Button("SaveBtn"), Qt::LeftButton);
  }
};

TriggerSettings OfType(int code) {
  TriggerSettings settings;
  settings.ChangeType(code);
  return settings;
}

std::string AreaBytes(const TriggerSettings& settings, int from, int count) {
  const auto begin = settings.bytes.begin() + TriggerSettings::AreaOffset + from;
  return std::string(begin, begin + count);
}

// A trigger module status report (command 3) of machine 3 with the Electrolux program number.
std::vector<std::uint8_t> StatusReport(std::uint8_t programNumber) {
  const std::array<std::uint8_t, 6> data = {0x01, 0x00, 0x00, 0x02, 0x21, programNumber};
  return qd::link::MakePayload(qd::link::command::TriggerStatusReport, 1, qd::link::ControllerAddress,
                               qd::link::FirstTriggerAddress + MachineIndex, data);
}

}  // namespace

class TriggerFormTest : public QObject {
  Q_OBJECT

 private slots:
  void ControlsCarryTheirCaptionsAndLabels() {
    Fixture f;
    f.Open();
    QCOMPARE(f.Form().windowTitle(), QStringLiteral("Trigger, Machine 3"));
    QComboBox* type = f.Combo("TriggerTypeComboBox");
    QCOMPARE(type->count(), 8);
    QCOMPARE(type->itemText(0), QStringLiteral("Trigger - none"));
    QCOMPARE(type->itemText(6), QStringLiteral("QD310, Electrolux: 5xx"));
    QCOMPARE(type->itemText(7), QStringLiteral("Ethernet, Miele Logic"));
    QCOMPARE(f.Group("VolumeGroupBox")->title(), QStringLiteral(" Volume by weight adjustment  "));
    // "&&" is how a group box title shows a single ampersand.
    QCOMPARE(f.Group("KeyboardLockGroupBox")->title(), QStringLiteral(" Keyboard lock && machine reset "));
    QCOMPARE(f.Group("MieleGroupBox")->title(), QStringLiteral(" Miele Logic "));
    QCOMPARE(f.Group("MieleSoftnerGroupBox")->title(), QStringLiteral(" Farbric softner selection "));
    QCOMPARE(f.Group("ElectroluxGroupBox")->title(), QStringLiteral(" Electrolux, 5xxx  Program mapping "));
    QCOMPARE(f.Group("MieleEthernetGroupBox")->title(), QStringLiteral(" Miele Logic, Ethernet Trigger "));

    QCOMPARE(f.LockCombo(3)->count(), 7);
    QCOMPARE(f.LockCombo(3)->itemText(6), QStringLiteral("Input 6"));
    QComboBox* reset = f.Combo("MachineResetComboBox");
    QCOMPARE(reset->count(), 13);
    QCOMPARE(reset->itemText(7), QStringLiteral("Input 1, falling edge"));
    QCOMPARE(reset->itemText(12), QStringLiteral("Input 6, falling edge"));
    QCOMPARE(f.Button("SaveBtn")->text(), QStringLiteral("Save"));
    QCOMPARE(f.Button("CloseBtn")->text(), QStringLiteral("Close"));
    QCOMPARE(f.Label("VersionLabel1")->text(), QStringLiteral("Version:"));

    // Every edit and list is named by its label or, where labels are shared, by an accessible name.
    QList<QWidget*> inputs;
    for (QLineEdit* edit : f.Form().findChildren<QLineEdit*>())
      inputs << edit;
    for (QComboBox* combo : f.Form().findChildren<QComboBox*>())
      inputs << combo;
    QCOMPARE(inputs.size(), 3 + 2 + 11 + 2 + 1 + 3 + 1 + 30);
    for (QWidget* input : inputs) {
      bool labelled = !input->accessibleName().isEmpty();
      for (QLabel* label : f.Form().findChildren<QLabel*>())
        labelled = labelled || label->buddy() == input;
      QVERIFY2(labelled, qPrintable(input->objectName()));
    }
  }

  void ShowsOnlyTheGroupsOfTheTypeAndResizes() {
    Fixture f;
    f.Open();
    struct Expected {
      int code;
      bool volume, miele, electrolux, ethernet;
    };
    const std::array<Expected, 9> table = {{{0, false, false, false, false},
                                            {1, false, false, false, false},
                                            {2, false, false, false, false},
                                            {3, true, false, false, false},
                                            {4, true, false, false, false},
                                            {5, true, true, false, false},
                                            {6, false, false, true, false},
                                            {10, false, false, false, true},
                                            {8, false, false, false, false}}};
    for (const Expected& row : table) {
      f.SetStored(OfType(row.code));
      const QString at = QStringLiteral("type %1").arg(row.code);
      QVERIFY2(f.Group("KeyboardLockGroupBox")->isVisible(), qPrintable(at));
      QCOMPARE(f.Group("VolumeGroupBox")->isVisible(), row.volume);
      QCOMPARE(f.Group("MieleGroupBox")->isVisible(), row.miele);
      QCOMPARE(f.Group("ElectroluxGroupBox")->isVisible(), row.electrolux);
      QCOMPARE(f.Group("MieleEthernetGroupBox")->isVisible(), row.ethernet);
      QCOMPARE(f.Combo("TriggerTypeComboBox")->currentIndex(), trigger::EntryOfTypeCode(row.code));
      QCOMPARE(f.Form().TypeText(), QString::fromLatin1(trigger::TypeName(row.code)));
    }

    // The window fits what it shows: the mapping makes it taller, and it shrinks again without.
    f.SetStored(OfType(trigger::TypeQd520));
    const QSize plain = f.Form().size();
    f.SetStored(OfType(trigger::TypeElectrolux));
    const QSize electrolux = f.Form().size();
    QVERIFY(electrolux.height() > plain.height() + 100);
    f.SetStored(OfType(trigger::TypeQd520));
    QCOMPARE(f.Form().size(), plain);
  }

  void TypeChangeStoresTheTypeAndKeepsUnsavedCommonEdits() {
    Fixture f;
    TriggerSettings electrolux = OfType(trigger::TypeElectrolux);
    for (int n = 1; n <= trigger::ElectroluxEntries; ++n)
      electrolux.SetElectroluxEntry(n, 1 + n % 6);
    f.SetStored(electrolux);
    f.Open();
    f.TypeInto(f.Edit("LowLevelAdjustEdit"), QStringLiteral("40"));

    f.ChooseType(trigger::TypeMieleLogic);
    QCOMPARE(f.Stored().Type(), trigger::TypeMieleLogic);
    QCOMPARE(AreaBytes(f.Stored(), 0, 16), std::string("Wash program\0\0\0\0", 16));
    QCOMPARE(f.Stored().FieldText(128, 8), std::string("Low"));
    QCOMPARE(f.Edit("MieleHeader1Edit")->text(), QStringLiteral("Wash program"));
    QCOMPARE(f.Edit("MieleSelection13Edit")->text(), QStringLiteral("Prgm 3"));
    QCOMPARE(f.Edit("MieleHeader2Edit")->text(), QStringLiteral("Fabric softner"));
    QCOMPARE(f.Edit("MieleSoftner2Edit")->text(), QString());
    QCOMPARE(f.Edit("MieleSelection31Edit")->text(), QStringLiteral("High"));
    QVERIFY(f.Group("MieleGroupBox")->isVisible());
    QVERIFY(!f.Group("ElectroluxGroupBox")->isVisible());
    // The unsaved adjustment is still in its edit, not yet stored, and Save still offered.
    QCOMPARE(f.Edit("LowLevelAdjustEdit")->text(), QStringLiteral("40"));
    QCOMPARE(f.Stored().bytes[TriggerSettings::AdjustLowOffset], 25);
    QVERIFY(f.Form().IsModified());
    QVERIFY(f.Button("SaveBtn")->isEnabled());

    // The same type again changes nothing, not even an edited text.
    f.TypeInto(f.Edit("MieleHeader1Edit"), QStringLiteral("Programs"));
    const TriggerSettings before = f.Stored();
    f.Form().TriggerTypeComboBoxChange();
    QCOMPARE(f.Stored(), before);
    QCOMPARE(f.Edit("MieleHeader1Edit")->text(), QStringLiteral("Programs"));

    f.Save();
    QCOMPARE(f.Stored().bytes[TriggerSettings::AdjustLowOffset], 40);
    QCOMPARE(f.Stored().FieldText(16, 16), std::string("Programs"));
    QVERIFY(!f.Form().IsModified());
  }

  void ATypeChangeWithoutEditsLeavesNothingUnsaved() {
    Fixture f;
    f.Open();
    f.ChooseType(trigger::TypeMieleEthernet);
    QCOMPARE(f.Stored().Type(), trigger::TypeMieleEthernet);
    QVERIFY(!f.Form().IsModified());
    QVERIFY(!f.Button("SaveBtn")->isEnabled());
  }

  void TheTypeShownReachesTheMachineWindow() {
    Fixture f;
    f.Open();
    f.ChooseType(trigger::TypeNyborgHs);
    QCOMPARE(f.Form().TypeText(), QStringLiteral("QD740, Nyborg: HSxxx"));
    auto* group = f.Machine().findChild<QGroupBox*>(QStringLiteral("TriggerGroup"));
    QVERIFY(group != nullptr);
    QCOMPARE(group->title(), QStringLiteral(" QD740, Nyborg: HSxxx "));
    f.SetStored(OfType(9));  // a code without an entry shows an empty type
    QCOMPARE(group->title(), QStringLiteral("  "));
  }

  void ShowsTheLowestThreeLockInputsAndTheResetEntry() {
    Fixture f;
    TriggerSettings settings;
    settings.bytes[TriggerSettings::LockInputMaskOffset] = 0b111010;  // inputs 2, 4, 5 and 6
    settings.bytes[TriggerSettings::ResetOffset] = 0x0B;              // input 3, falling edge
    settings.bytes[TriggerSettings::LockInputDelayOffset] = 12;
    settings.bytes[TriggerSettings::ResetMachineDelayOffset] = 34;
    f.SetStored(settings);
    f.Open();
    QCOMPARE(f.LockCombo(1)->currentText(), QStringLiteral("Input 2"));
    QCOMPARE(f.LockCombo(2)->currentText(), QStringLiteral("Input 4"));
    QCOMPARE(f.LockCombo(3)->currentText(), QStringLiteral("Input 5"));
    QCOMPARE(f.Combo("MachineResetComboBox")->currentText(), QStringLiteral("Input 3, falling edge"));
    QCOMPARE(f.Edit("KeyboardLockDelayEdit")->text(), QStringLiteral("12"));
    QCOMPARE(f.Edit("MachineResetDelayEdit")->text(), QStringLiteral("34"));

    // Committing without an edit keeps the input the lists cannot show.
    QVERIFY(f.Form().StoreTrigger());
    QCOMPARE(f.Stored().bytes[TriggerSettings::LockInputMaskOffset], 0b111010);

    // Saving an edit stores what the lists show; the same input twice is one bit.
    f.LockCombo(3)->setCurrentIndex(2);
    f.Combo("MachineResetComboBox")->setCurrentIndex(5);
    f.TypeInto(f.Edit("MachineResetDelayEdit"), QStringLiteral("300"));
    f.Save();
    QCOMPARE(f.Stored().bytes[TriggerSettings::LockInputMaskOffset], 0b001010);
    QCOMPARE(f.Stored().bytes[TriggerSettings::ResetOffset], 0x05);
    QCOMPARE(f.Stored().bytes[TriggerSettings::ResetMachineDelayOffset], 300 % 256);
    QCOMPARE(f.LockCombo(3)->currentText(), QStringLiteral("-"));
  }

  void MaxWeightShowsHalfKilogramsWithAComma() {
    Fixture f;
    TriggerSettings settings = OfType(trigger::TypeNyborgW3);
    settings.bytes[TriggerSettings::MaxWeightOffset] = 15;
    f.SetStored(settings);
    f.Open();
    QCOMPARE(f.Edit("MaxWeightEdit")->text(), QStringLiteral("7,5"));

    const std::array<std::pair<const char*, int>, 4> typed = {
        {{"7.5", 15}, {"7,5", 15}, {"abc", 0}, {"7,7", 15}}};
    for (const auto& [text, halves] : typed) {
      f.TypeInto(f.Edit("MaxWeightEdit"), QString::fromLatin1(text));
      f.Save();
      QCOMPARE(int{f.Stored().bytes[TriggerSettings::MaxWeightOffset]}, halves);
    }
    QCOMPARE(f.Edit("MaxWeightEdit")->text(), QStringLiteral("7,5"));
    f.TypeInto(f.Edit("LowLevelAdjustEdit"), QStringLiteral("x1"));
    f.Save();
    QCOMPARE(f.Stored().bytes[TriggerSettings::AdjustLowOffset], 0);
  }

  void ElectroluxMapNamesThePrograms() {
    Fixture f;
    TriggerSettings settings = OfType(trigger::TypeElectrolux);
    settings.SetElectroluxEntry(3, 9);
    settings.SetElectroluxEntry(4, 2);
    settings.SetElectroluxEntry(30, 6);
    f.SetStored(settings);
    f.Open();
    QComboBox* fourth = f.ElectroluxCombo(4);
    QCOMPARE(fourth->count(), 7);
    QCOMPARE(fourth->itemText(0), QStringLiteral("Not in use"));
    for (int program = 0; program < 6; ++program)
      QCOMPARE(fourth->itemText(program + 1), f.Machine().ProgramCaption(program));
    QCOMPARE(fourth->currentIndex(), 2);
    QCOMPARE(f.ElectroluxCombo(30)->currentIndex(), 6);
    QCOMPARE(f.ElectroluxCombo(1)->currentText(), QStringLiteral("Not in use"));
    QCOMPARE(f.ElectroluxCombo(3)->currentIndex(), -1);  // nibble 9 names no program

    // A commit without edits keeps the unknown program; saving an edit stores "Not in use" for it.
    f.Form().StoreTrigger();
    QCOMPARE(f.Stored().ElectroluxEntry(3), 9);
    f.ElectroluxCombo(5)->setCurrentIndex(1);
    f.Save();
    QCOMPARE(f.Stored().ElectroluxEntry(4), 2);
    QCOMPARE(f.Stored().ElectroluxEntry(5), 1);
    QCOMPARE(f.Stored().ElectroluxEntry(30), 6);
    QCOMPARE(f.ElectroluxCombo(3)->currentText(), QStringLiteral("Not in use"));

    // A renamed program shows by its name; an unsaved choice stays.
    f.ElectroluxCombo(6)->setCurrentIndex(2);
    f.app.Config().system.Machines[MachineIndex].Programs[1].Name = "Cotton 60";
    f.Form().ShowProgramCaptions();
    QCOMPARE(f.ElectroluxCombo(6)->currentText(), QStringLiteral("Cotton 60"));
    QCOMPARE(f.ElectroluxCombo(30)->itemText(2), QStringLiteral("Cotton 60"));
    QVERIFY(f.Form().IsModified());
    f.Save();
    QCOMPARE(f.Stored().ElectroluxEntry(6), 2);
  }

  void MieleTextsFillTheirFieldsWithoutTerminator() {
    Fixture f;
    TriggerSettings settings = OfType(trigger::TypeMieleLogic);
    settings.SetFieldText(16, 16, "ABCDEFGHIJKLMNOP");
    f.SetStored(settings);
    f.Open();
    QCOMPARE(f.Edit("MieleHeader1Edit")->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
    QVERIFY(!f.Label("SoftnerPump7label")->isVisible());

    f.TypeInto(f.Edit("MieleHeader3Edit"), QStringLiteral("0123456789abcdefXYZ"));  // three too many
    f.TypeInto(f.Edit("MieleSoftner2Edit"), QString::fromUtf8("Weichsp\u00fcl"));
    f.TypeInto(f.Edit("MieleSelection11Edit"), QString());
    QTest::mouseClick(f.Child<QCheckBox>(QStringLiteral("MieleSoftner2Btn")), Qt::LeftButton);
    QVERIFY(f.Label("SoftnerPump7label")->isVisible());
    f.Save();
    QCOMPARE(AreaBytes(f.Stored(), 80, 24), std::string("0123456789abcdefHigh\0\0\0\0", 24));
    QCOMPARE(AreaBytes(f.Stored(), 72, 8), std::string("Weichsp\xFC"));
    QCOMPARE(AreaBytes(f.Stored(), 16, 8), std::string(8, '\0'));
    QVERIFY(f.Stored().SoftnerActive2());
    QCOMPARE(f.Edit("MieleHeader3Edit")->text(), QStringLiteral("0123456789abcdef"));
    QCOMPARE(f.Edit("MieleSoftner2Edit")->text(), QString::fromUtf8("Weichsp\u00fcl").left(8));

    QTest::mouseClick(f.Child<QCheckBox>(QStringLiteral("MieleSoftner2Btn")), Qt::LeftButton);
    QVERIFY(!f.Label("SoftnerPump7label")->isVisible());
    QVERIFY(f.Form().IsModified());
  }

  void EthernetNumbersAreStoredMostSignificantByteFirst() {
    Fixture f;
    TriggerSettings settings = OfType(trigger::TypeMieleEthernet);
    settings.SetMachineSerialNumber(0xFFFFFFFF);
    f.SetStored(settings);
    f.Open();
    QCOMPARE(f.Edit("MieleEthernetSerialNumberEdit")->text(), QStringLiteral("-1"));
    QCOMPARE(f.Edit("MieleEthernetSerialMachineIDedit")->text(), QStringLiteral("0"));
    f.TypeInto(f.Edit("MieleEthernetSerialNumberEdit"), QStringLiteral("305419896"));
    f.TypeInto(f.Edit("MieleEthernetSerialMachineIDedit"), QStringLiteral("-2"));
    f.Save();
    QCOMPARE(AreaBytes(f.Stored(), 0, 8), std::string("\x12\x34\x56\x78\xFF\xFF\xFF\xFE", 8));
    QCOMPARE(f.Edit("MieleEthernetSerialMachineIDedit")->text(), QStringLiteral("-2"));

    f.TypeInto(f.Edit("MieleEthernetSerialNumberEdit"), QStringLiteral("serial"));
    f.Save();
    QCOMPARE(f.Stored().MachineSerialNumber(), 0u);
  }

  void ModifiedMarkFollowsEditsAndSaving() {
    Fixture f;
    f.Open();
    QVERIFY(!f.Form().IsModified());
    QVERIFY(!f.Button("SaveBtn")->isEnabled());
    QVERIFY(!f.Machine().IsModified());
    f.TypeInto(f.Edit("KeyboardLockDelayEdit"), QStringLiteral("5"));
    QVERIFY(f.Form().IsModified());
    QVERIFY(f.Button("SaveBtn")->isEnabled());
    QVERIFY(f.Machine().IsModified());
    f.Save();
    QVERIFY(!f.Form().IsModified());
    QVERIFY(!f.Button("SaveBtn")->isEnabled());
    QCOMPARE(f.Stored().bytes[TriggerSettings::LockInputDelayOffset], 5);

    f.LockCombo(1)->setCurrentIndex(4);
    QVERIFY(f.Form().IsModified());
    // A refresh from the stored block drops the edit.
    f.Form().ShowTrigger();
    QVERIFY(!f.Form().IsModified());
    QCOMPARE(f.LockCombo(1)->currentIndex(), 0);

    // The machine window's commit stores pending edits.
    f.TypeInto(f.Edit("KeyboardLockDelayEdit"), QStringLiteral("9"));
    QVERIFY(f.Machine().CommitEditors());
    QCOMPARE(f.Stored().bytes[TriggerSettings::LockInputDelayOffset], 9);
    QVERIFY(!f.Form().IsModified());
  }

  void ClosingAsksToSaveModifications() {
    Fixture f;
    ScriptedUser user;
    f.Open();
    QTest::mouseClick(f.Button("CloseBtn"), Qt::LeftButton);
    QVERIFY(!f.Form().isVisible());
    QVERIFY(user.Boxes().empty());  // nothing to save, nothing asked

    f.Open();
    f.TypeInto(f.Edit("KeyboardLockDelayEdit"), QStringLiteral("7"));
    user.AnswerBoxWith(QMessageBox::Yes);
    QTest::mouseClick(f.Button("CloseBtn"), Qt::LeftButton);
    QVERIFY(!f.Form().isVisible());
    QCOMPARE(user.BoxTexts(), QStringList{QStringLiteral("Save modifications?")});
    QCOMPARE(user.Boxes()[0].type, DialogType::Information);
    QCOMPARE(user.Boxes()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(user.Boxes()[0].logged);
    QCOMPARE(f.Stored().bytes[TriggerSettings::LockInputDelayOffset], 7);
    QVERIFY(!f.Form().IsModified());

    f.Open();
    f.TypeInto(f.Edit("KeyboardLockDelayEdit"), QStringLiteral("8"));
    user.AnswerBoxWith(QMessageBox::No);
    QTest::keyClick(f.Edit("KeyboardLockDelayEdit"), Qt::Key_Escape);
    QVERIFY(!f.Form().isVisible());
    QCOMPARE(user.Boxes().size(), std::size_t{2});
    QCOMPARE(f.Stored().bytes[TriggerSettings::LockInputDelayOffset], 7);
    QVERIFY(!f.Form().IsModified());
    QVERIFY(!f.Machine().IsModified());
    QCOMPARE(f.Edit("KeyboardLockDelayEdit")->text(), QStringLiteral("7"));
  }

  void StatusShowsTheModuleAndTheElectroluxProgramNumber() {
    Fixture f;
    TriggerSettings settings = OfType(trigger::TypeElectrolux);
    settings.bytes[TriggerSettings::ModuleKindOffset] = 0x12;  // QD740; the high nibble is no kind
    settings.bytes[TriggerSettings::ModuleVersionOffset] = 0x31;
    f.SetStored(settings);
    f.Open();
    QLabel* version1 = f.Label("VersionLabel1");
    QLabel* version2 = f.Label("VersionLabel2");
    QLabel* number1 = f.Label("ElectroluxCompassProProgramNumberLabel1");
    QLabel* number2 = f.Label("ElectroluxCompassProProgramNumberLabel2");
    QVERIFY(!version1->isEnabled());
    QVERIFY(!version2->isVisible());
    QVERIFY(!number1->isEnabled());
    QVERIFY(!number2->isVisible());

    f.Form().SetStatusReceived(true);
    const std::vector<std::uint8_t> report = StatusReport(17);
    f.Form().ShowTriggerStatus(qd::link::PayloadView(report));
    QVERIFY(version1->isEnabled());
    QVERIFY(version2->isVisible());
    QCOMPARE(version2->text(), QStringLiteral("QD740, version: 1.3"));
    QVERIFY(number1->isEnabled());
    QVERIFY(number2->isVisible());
    QCOMPARE(number2->text(), QStringLiteral("17"));

    // A report cut before byte 11 carries no program number.
    const std::vector<std::uint8_t> cut(report.begin(), report.begin() + 11);
    f.Form().ShowTriggerStatus(qd::link::PayloadView(cut));
    QVERIFY(!number2->isVisible());

    // Without a report, or for another type, only the version is shown.
    f.Form().ShowTriggerStatus(qd::link::PayloadView(report));
    f.Form().ShowTrigger();
    QVERIFY(version2->isVisible());
    QVERIFY(!number2->isVisible());
    QVERIFY(!number1->isEnabled());
    settings.ChangeType(trigger::TypeQd520);
    settings.bytes[TriggerSettings::ModuleKindOffset] = 1;
    settings.bytes[TriggerSettings::ModuleVersionOffset] = 0x02;
    f.SetStored(settings);
    f.Form().ShowTriggerStatus(qd::link::PayloadView(report));
    QCOMPARE(version2->text(), QStringLiteral("QD520, version: 2.0"));
    QVERIFY(!number2->isVisible());

    f.Form().SetStatusReceived(false);
    f.Form().ShowTriggerStatus();
    QVERIFY(!version1->isEnabled());
    QVERIFY(!version2->isVisible());
  }

  void ShowingMovesTheWindowOntoTheScreen() {
    Fixture f;
    f.Open();
    const QRect available = f.Form().screen()->availableGeometry();
    f.Form().move(available.right() - 20, available.bottom() - 20);
    f.Form().ShowTrigger();
    QVERIFY(available.contains(f.Form().frameGeometry()));
    f.Form().move(available.left() - 300, available.top() - 300);
    f.Form().ShowTrigger();
    QCOMPARE(f.Form().frameGeometry().topLeft(), available.topLeft());
  }

  void SavedSettingsSurviveTheSystemFile() {
    const std::array<int, 4> types = {trigger::TypeMieleLogic, trigger::TypeElectrolux,
                                      trigger::TypeMieleEthernet, trigger::TypeNyborgHs};
    for (int code : types) {
      Fixture f;
      f.Open();
      f.ChooseType(code);
      f.TypeInto(f.Edit("HighLevelAdjustEdit"), QStringLiteral("33"));
      f.TypeInto(f.Edit("MaxWeightEdit"), QStringLiteral("12,5"));
      f.LockCombo(1)->setCurrentIndex(6);
      f.LockCombo(2)->setCurrentIndex(1);
      f.TypeInto(f.Edit("KeyboardLockDelayEdit"), QStringLiteral("4"));
      f.Combo("MachineResetComboBox")->setCurrentIndex(9);
      f.TypeInto(f.Edit("MachineResetDelayEdit"), QStringLiteral("15"));
      if (code == trigger::TypeMieleLogic) {
        f.TypeInto(f.Edit("MieleHeader1Edit"), QStringLiteral("Programme wash16"));
        f.TypeInto(f.Edit("MieleSelection32Edit"), QStringLiteral("Medium"));
        QTest::mouseClick(f.Child<QCheckBox>(QStringLiteral("MieleSoftner2Btn")), Qt::LeftButton);
      }
      if (code == trigger::TypeElectrolux) {
        // The system file carries map entries 1..15 only.
        for (int n = 1; n <= 15; n += 2)
          f.ElectroluxCombo(n)->setCurrentIndex(n % 7);
        f.ElectroluxCombo(14)->setCurrentIndex(6);
      }
      if (code == trigger::TypeMieleEthernet) {
        f.TypeInto(f.Edit("MieleEthernetSerialNumberEdit"), QStringLiteral("-123456789"));
        f.TypeInto(f.Edit("MieleEthernetSerialMachineIDedit"), QStringLiteral("4242"));
      }
      f.Save();
      const TriggerSettings saved = f.Stored();
      QCOMPARE(saved.Type(), code);
      QCOMPARE(saved.bytes[TriggerSettings::MaxWeightOffset], 25);
      QCOMPARE(saved.bytes[TriggerSettings::LockInputMaskOffset], 0b100001);
      QCOMPARE(saved.bytes[TriggerSettings::ResetOffset] & 0x0F, 0x0B);

      QTemporaryDir folder;
      const std::filesystem::path path = folder.filePath(QStringLiteral("system.xml")).toStdString();
      const qd::FileResult written = qd::WriteSystemFile(f.app.Config(), path);
      QVERIFY2(written.ok, written.error.c_str());
      qd::WorkingConfig fresh;
      const qd::FileResult read = qd::ReadSystemFile(fresh, path);
      QVERIFY2(read.ok, read.error.c_str());
      const TriggerSettings& back = fresh.system.Machines[MachineIndex].Trigger;
      for (int i = 0; i < TriggerSettings::Size; ++i)
        QVERIFY2(back.bytes[i] == saved.bytes[i],
                 qPrintable(QStringLiteral("type %1, byte %2").arg(code).arg(i)));
    }
  }
};

QTEST_MAIN(TriggerFormTest)
#include "trigger_form_test.moc"
