#include "gui/editors/trigger_form.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "app/text.h"
#include "gui/app/app.h"
#include "gui/app/config_signals.h"
#include "gui/app/message_dialog.h"
#include "gui/app/text_codec.h"
#include "gui/editors/machine_form.h"
#include "model/system_commands.h"
#include "model/trigger_edits.h"

namespace qd::gui {
namespace {

namespace trigger = qd::trigger;
using qd::TriggerSettings;

constexpr int ElectroluxRows = 10;
constexpr int ProgramCount = TMachineForm::ProgramCount;

// One Miele Logic text of the type-specific area with its edit, in trigger::MieleFields order.
struct MieleControl {
  const char* name;
  const char* label;
  int subgroup;  // 0 program, 1 softener, 2 level selection
};
constexpr std::array<MieleControl, trigger::MieleFields.size()> MieleControls = {{
    {"MieleHeader1Edit", QT_TRANSLATE_NOOP("TTriggerForm", "Header"), 0},
    {"MieleHeader2Edit", QT_TRANSLATE_NOOP("TTriggerForm", "Header"), 1},
    {"MieleHeader3Edit", QT_TRANSLATE_NOOP("TTriggerForm", "Header"), 2},
    {"MieleSelection11Edit", QT_TRANSLATE_NOOP("TTriggerForm", "Program 1"), 0},
    {"MieleSelection12Edit", QT_TRANSLATE_NOOP("TTriggerForm", "Program 2"), 0},
    {"MieleSelection13Edit", QT_TRANSLATE_NOOP("TTriggerForm", "Program 3"), 0},
    {"MieleSelection21Edit", QT_TRANSLATE_NOOP("TTriggerForm", "Softner"), 1},
    {"MieleSoftner2Edit", QT_TRANSLATE_NOOP("TTriggerForm", "Softner 2"), 1},
    {"MieleSelection31Edit", QT_TRANSLATE_NOOP("TTriggerForm", "High"), 2},
    {"MieleSelection32Edit", QT_TRANSLATE_NOOP("TTriggerForm", "Mid"), 2},
    {"MieleSelection33Edit", QT_TRANSLATE_NOOP("TTriggerForm", "Low"), 2},
}};
constexpr std::array<const char*, 3> MieleSubgroupTitles = {
    QT_TRANSLATE_NOOP("TTriggerForm", " Program selection "),
    QT_TRANSLATE_NOOP("TTriggerForm", " Farbric softner selection "),
    QT_TRANSLATE_NOOP("TTriggerForm", " Level selection ")};
constexpr std::array<const char*, 3> MieleSubgroupNames = {"MieleProgramGroupBox", "MieleSoftnerGroupBox",
                                                           "MieleLevelGroupBox"};

QString Text(const char* text) {
  return QString::fromLatin1(text);
}

// A text of the tables above in the language of the window.
QString Translated(const char* text) {
  return QCoreApplication::translate("TTriggerForm", text);
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

QLineEdit* Edit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(Text(name));
  return edit;
}

// An edit as wide as `digits` digits.
QLineEdit* NumberEdit(const char* name, int digits, QWidget* parent) {
  QLineEdit* edit = Edit(name, parent);
  const int textWidth = edit->fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('0')));
  edit->setFixedWidth(textWidth + 2 * edit->fontMetrics().averageCharWidth() + 8);
  return edit;
}

QComboBox* Combo(const QString& name, const QStringList& items, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->addItems(items);
  return combo;
}

QStringList InputItems(bool withFallingEdge) {
  QStringList items{QStringLiteral("-")};
  for (int input = 1; input <= TriggerSettings::InputCount; ++input)
    items << QCoreApplication::translate("TTriggerForm", "Input %1").arg(input);
  if (withFallingEdge) {
    for (int input = 1; input <= TriggerSettings::InputCount; ++input)
      items << QCoreApplication::translate("TTriggerForm", "Input %1, falling edge").arg(input);
  }
  return items;
}

QGroupBox* Group(const char* name, const QString& title, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(Text(name));
  return group;
}

QString NumberText(int value) {
  return QString::number(value);
}

// Keeps a window of size `size` at `topLeft` inside `available`, moving it as little as possible.
QPoint OntoScreen(QPoint topLeft, QSize size, const QRect& available) {
  int left = topLeft.x();
  int top = topLeft.y();
  if (top + size.height() > available.bottom() + 1) top = available.bottom() + 1 - size.height();
  if (top < available.top()) top = available.top();
  if (left + size.width() > available.right() + 1) left = available.right() + 1 - size.width();
  if (left < available.left()) left = available.left();
  return {left, top};
}

}  // namespace

TTriggerForm::TTriggerForm(App& app, TMachineForm& machine)
    : QWidget(&machine, Qt::Window), app_(app), machine_(machine) {
  setObjectName(QStringLiteral("TriggerForm%1").arg(machine.Index() + 1));
  setWindowTitle(tr("Trigger, Machine %1").arg(machine.Index() + 1));
  CreateControls();
  ConnectEdits();
  connect(&app_.Changes(), &ConfigSignals::Changed, this, &TTriggerForm::ConfigChanged);
  ShowTrigger();
}

const qd::TriggerSettings& TTriggerForm::Settings() const {
  return machine_.Machine().Trigger;
}

void TTriggerForm::ConfigChanged(const qd::ConfigChange& change) {
  if (storing_) return;
  const int machine = machine_.Index();
  if (change.Touches(qd::ConfigPart::MachineTrigger, machine)) {
    ShowTrigger();
  } else if (change.Touches(qd::ConfigPart::MachinePrograms, machine)) {
    // The lists name the programs; selections and unsaved edits stay.
    ShowProgramCaptions();
  }
}

void TTriggerForm::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CreateTypeRow());
  VolumeGroupBox = CreateVolumeGroup();
  layout->addWidget(VolumeGroupBox);
  KeyboardLockGroupBox = CreateLockGroup();
  layout->addWidget(KeyboardLockGroupBox);
  MieleGroupBox = CreateMieleGroup();
  layout->addWidget(MieleGroupBox);
  ElectroluxGroupBox = CreateElectroluxGroup();
  layout->addWidget(ElectroluxGroupBox);
  MieleEthernetGroupBox = CreateEthernetGroup();
  layout->addWidget(MieleEthernetGroupBox);
  layout->addStretch(1);
  layout->addWidget(CreateBottomRow());
}

QWidget* TTriggerForm::CreateTypeRow() {
  auto* row = new QWidget(this);
  QStringList names;
  for (std::string_view name : trigger::TypeNames)
    names << FromCp1252(name);
  TriggerTypeComboBox = Combo(QStringLiteral("TriggerTypeComboBox"), names, row);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(BuddyLabel(tr("Type"), TriggerTypeComboBox, row));
  layout->addWidget(TriggerTypeComboBox);
  layout->addStretch(1);
  return row;
}

QGroupBox* TTriggerForm::CreateVolumeGroup() {
  QGroupBox* group = Group("VolumeGroupBox", tr(" Volume by weight adjustment  "), this);
  LowLevelAdjustEdit = NumberEdit("LowLevelAdjustEdit", 3, group);
  HighLevelAdjustEdit = NumberEdit("HighLevelAdjustEdit", 3, group);
  MaxWeightEdit = NumberEdit("MaxWeightEdit", 5, group);
  auto* grid = new QGridLayout(group);
  const auto row = [&](int r, const QString& caption, QLineEdit* edit, const char* unit) {
    grid->addWidget(BuddyLabel(caption, edit, group), r, 0);
    grid->addWidget(edit, r, 1);
    grid->addWidget(new QLabel(Text(unit), group), r, 2);
  };
  // The unit symbols stay as they are in every language.
  row(0, tr("Low level adjust  -"), LowLevelAdjustEdit, "%");
  row(1, tr("High level adjust   +"), HighLevelAdjustEdit, "%");
  row(2, tr("Max. weight"), MaxWeightEdit, "kg.");
  grid->setColumnStretch(3, 1);
  return group;
}

QGroupBox* TTriggerForm::CreateLockGroup() {
  // "&&" shows as one ampersand in a group box title.
  QGroupBox* group = Group("KeyboardLockGroupBox", tr(" Keyboard lock && machine reset "), this);
  auto* grid = new QGridLayout(group);
  for (int slot = 0; slot < LockSlots; ++slot) {
    QComboBox* combo =
        Combo(QStringLiteral("KeyboardLock%1ComboBox").arg(slot + 1), InputItems(false), group);
    combo->setAccessibleName(tr("Keyboard lock %1").arg(slot + 1));
    KeyboardLockComboBox[static_cast<std::size_t>(slot)] = combo;
    grid->addWidget(combo, 0, 1 + slot);
  }
  grid->addWidget(BuddyLabel(tr("Keyboard lock"), KeyboardLockComboBox[0], group), 0, 0);
  KeyboardLockDelayEdit = NumberEdit("KeyboardLockDelayEdit", 3, group);
  KeyboardLockDelayEdit->setAccessibleName(tr("Keyboard lock delay"));
  grid->addWidget(BuddyLabel(tr("Delay:"), KeyboardLockDelayEdit, group), 0, 4);
  grid->addWidget(KeyboardLockDelayEdit, 0, 5);
  grid->addWidget(new QLabel(tr("sec."), group), 0, 6);

  MachineResetComboBox = Combo(QStringLiteral("MachineResetComboBox"), InputItems(true), group);
  grid->addWidget(BuddyLabel(tr("Machine reset"), MachineResetComboBox, group), 1, 0);
  grid->addWidget(MachineResetComboBox, 1, 1, 1, LockSlots);
  MachineResetDelayEdit = NumberEdit("MachineResetDelayEdit", 3, group);
  MachineResetDelayEdit->setAccessibleName(tr("Machine reset delay"));
  grid->addWidget(BuddyLabel(tr("Delay:"), MachineResetDelayEdit, group), 1, 4);
  grid->addWidget(MachineResetDelayEdit, 1, 5);
  grid->addWidget(new QLabel(tr("sec."), group), 1, 6);
  grid->setColumnStretch(7, 1);
  return group;
}

QGroupBox* TTriggerForm::CreateMieleGroup() {
  // The trigger type's brand name stays as it is in every language.
  QGroupBox* group = Group("MieleGroupBox", QStringLiteral(" Miele Logic "), this);
  auto* row = new QHBoxLayout(group);
  std::array<QGridLayout*, 3> grids{};
  std::array<QGroupBox*, 3> subgroups{};
  for (std::size_t s = 0; s < subgroups.size(); ++s) {
    subgroups[s] = Group(MieleSubgroupNames[s], Translated(MieleSubgroupTitles[s]), group);
    grids[s] = new QGridLayout(subgroups[s]);
    row->addWidget(subgroups[s], 0, Qt::AlignTop);
  }
  // Created subgroup by subgroup, so that Tab walks down each selection in turn.
  for (std::size_t s = 0; s < subgroups.size(); ++s) {
    for (std::size_t i = 0; i < MieleControls.size(); ++i) {
      const MieleControl& control = MieleControls[i];
      if (control.subgroup != static_cast<int>(s)) continue;
      QLineEdit* edit = Edit(control.name, subgroups[s]);
      edit->setMaxLength(trigger::MieleFields[i].width);
      //: Accessible name of a Miele Logic text: its selection group, then its label.
      edit->setAccessibleName(tr("%1, %2").arg(subgroups[s]->title().trimmed(), Translated(control.label)));
      mieleEdits_[i] = edit;
      const int r = grids[s]->rowCount();
      grids[s]->addWidget(BuddyLabel(Translated(control.label), edit, subgroups[s]), r, 0);
      grids[s]->addWidget(edit, r, 1);
    }
    if (s == 1) {
      MieleSoftner2Btn = new QCheckBox(tr("Softner 2"), subgroups[s]);
      MieleSoftner2Btn->setObjectName(QStringLiteral("MieleSoftner2Btn"));
      SoftnerPump7label = new QLabel(tr("Pump 7"), subgroups[s]);
      SoftnerPump7label->setObjectName(QStringLiteral("SoftnerPump7label"));
      auto* check = new QHBoxLayout;
      check->addWidget(MieleSoftner2Btn);
      check->addWidget(SoftnerPump7label);
      check->addStretch(1);
      grids[s]->addLayout(check, grids[s]->rowCount(), 1);
    }
  }
  return group;
}

QGroupBox* TTriggerForm::CreateElectroluxGroup() {
  QGroupBox* group = Group("ElectroluxGroupBox", tr(" Electrolux, 5xxx  Program mapping "), this);
  auto* grid = new QGridLayout(group);
  // Three columns of ten, numbered down each column.
  for (int n = 1; n <= ElectroluxEntries; ++n) {
    auto* combo = new QComboBox(group);
    combo->setObjectName(QStringLiteral("ElectroluxMachineProgramCombo%1").arg(n));
    combo->setAccessibleName(tr("Electrolux program %1").arg(n));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ElectroluxMachineProgramCombo[static_cast<std::size_t>(n - 1)] = combo;
    const int r = (n - 1) % ElectroluxRows;
    const int column = 2 * ((n - 1) / ElectroluxRows);
    auto* label = BuddyLabel(QStringLiteral("%1:").arg(n), combo, group);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(label, r, column);
    grid->addWidget(combo, r, column + 1);
  }
  grid->setColumnMinimumWidth(2, 24);
  grid->setColumnMinimumWidth(4, 24);
  ElectroluxCompassProProgramNumberLabel1 = new QLabel(tr("Selected program number:"), group);
  ElectroluxCompassProProgramNumberLabel1->setObjectName(
      QStringLiteral("ElectroluxCompassProProgramNumberLabel1"));
  ElectroluxCompassProProgramNumberLabel2 = new QLabel(group);
  ElectroluxCompassProProgramNumberLabel2->setObjectName(
      QStringLiteral("ElectroluxCompassProProgramNumberLabel2"));
  QSizePolicy keepPlace = ElectroluxCompassProProgramNumberLabel2->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  ElectroluxCompassProProgramNumberLabel2->setSizePolicy(keepPlace);
  auto* number = new QHBoxLayout;
  number->addWidget(ElectroluxCompassProProgramNumberLabel1);
  number->addWidget(ElectroluxCompassProProgramNumberLabel2);
  number->addStretch(1);
  grid->addLayout(number, ElectroluxRows, 0, 1, 6);
  return group;
}

QGroupBox* TTriggerForm::CreateEthernetGroup() {
  QGroupBox* group = Group("MieleEthernetGroupBox", tr(" Miele Logic, Ethernet Trigger "), this);
  MieleEthernetSerialNumberEdit = NumberEdit("MieleEthernetSerialNumberEdit", 11, group);
  MieleEthernetSerialMachineIDedit = NumberEdit("MieleEthernetSerialMachineIDedit", 11, group);
  auto* grid = new QGridLayout(group);
  grid->addWidget(BuddyLabel(tr("Serial number"), MieleEthernetSerialNumberEdit, group), 0, 0);
  grid->addWidget(MieleEthernetSerialNumberEdit, 0, 1);
  grid->addWidget(BuddyLabel(tr("Machine ID"), MieleEthernetSerialMachineIDedit, group), 1, 0);
  grid->addWidget(MieleEthernetSerialMachineIDedit, 1, 1);
  grid->setColumnStretch(2, 1);
  return group;
}

QWidget* TTriggerForm::CreateBottomRow() {
  auto* row = new QWidget(this);
  VersionLabel1 = new QLabel(tr("Version:"), row);
  VersionLabel1->setObjectName(QStringLiteral("VersionLabel1"));
  VersionLabel2 = new QLabel(row);
  VersionLabel2->setObjectName(QStringLiteral("VersionLabel2"));
  VersionLabel2->setAccessibleDescription(tr("Trigger module version"));
  SaveBtn = new QPushButton(tr("Save"), row);
  SaveBtn->setObjectName(QStringLiteral("SaveBtn"));
  CloseBtn = new QPushButton(tr("Close"), row);
  CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(VersionLabel1);
  layout->addWidget(VersionLabel2);
  layout->addStretch(1);
  layout->addWidget(SaveBtn);
  layout->addWidget(CloseBtn);
  return row;
}

void TTriggerForm::ConnectEdits() {
  connect(TriggerTypeComboBox, &QComboBox::currentIndexChanged, this,
          [this] { TriggerTypeComboBoxChange(); });
  const auto edited = [this] { EditChange(); };
  for (QLineEdit* edit : findChildren<QLineEdit*>())
    connect(edit, &QLineEdit::textChanged, this, edited);
  for (QComboBox* combo : findChildren<QComboBox*>()) {
    if (combo != TriggerTypeComboBox) connect(combo, &QComboBox::currentIndexChanged, this, edited);
  }
  connect(MieleSoftner2Btn, &QCheckBox::toggled, this, [this] { MieleSoftner2BtnClick(); });
  connect(SaveBtn, &QPushButton::clicked, this, [this] { SaveBtnClick(); });
  connect(CloseBtn, &QPushButton::clicked, this, [this] { CloseBtnClick(); });
}

void TTriggerForm::ShowTrigger() {
  showing_ = true;
  ShowCommon(qd::EditsOf(Settings()));
  ShowTypeSpecific();
  showing_ = false;
  SetModified(false);
}

void TTriggerForm::ShowCommon(const qd::TriggerEdits& edits) {
  LowLevelAdjustEdit->setText(FromCp1252(edits.adjustLow));
  HighLevelAdjustEdit->setText(FromCp1252(edits.adjustHigh));
  MaxWeightEdit->setText(FromCp1252(edits.maxWeight));
  for (std::size_t slot = 0; slot < edits.lockInputs.size(); ++slot)
    KeyboardLockComboBox[slot]->setCurrentIndex(edits.lockInputs[slot]);
  MachineResetComboBox->setCurrentIndex(edits.resetEntry);
  KeyboardLockDelayEdit->setText(FromCp1252(edits.lockDelay));
  MachineResetDelayEdit->setText(FromCp1252(edits.resetDelay));
}

void TTriggerForm::ShowTypeSpecific() {
  ElectroluxCompassProProgramNumberLabel1->setEnabled(false);
  ElectroluxCompassProProgramNumberLabel2->hide();
  const int code = Settings().Type();
  const int entry = trigger::EntryOfTypeCode(code);
  TriggerTypeComboBox->setCurrentIndex(entry);
  typeText_ = entry < 0 ? QString() : TriggerTypeComboBox->itemText(entry);
  ShowGroupsOfType(code);
  const qd::TriggerEdits edits = qd::EditsOf(Settings());
  if (code == trigger::TypeMieleLogic) ShowMiele(edits);
  if (code == trigger::TypeElectrolux) ShowElectrolux(edits);
  if (code == trigger::TypeMieleEthernet) ShowEthernet(edits);
  ShowTriggerStatus();
  adjustSize();
  MoveOntoScreen();
}

void TTriggerForm::ShowGroupsOfType(int code) {
  const bool volume =
      code == trigger::TypeNyborgW3 || code == trigger::TypeNyborgHs || code == trigger::TypeMieleLogic;
  VolumeGroupBox->setVisible(volume);
  MieleGroupBox->setVisible(code == trigger::TypeMieleLogic);
  ElectroluxGroupBox->setVisible(code == trigger::TypeElectrolux);
  MieleEthernetGroupBox->setVisible(code == trigger::TypeMieleEthernet);
}

void TTriggerForm::ShowMiele(const qd::TriggerEdits& edits) {
  for (std::size_t i = 0; i < mieleEdits_.size(); ++i)
    mieleEdits_[i]->setText(FromCp1252(edits.miele[i]));
  MieleSoftner2Btn->setChecked(edits.softner2);
  SoftnerPump7label->setVisible(MieleSoftner2Btn->isChecked());
}

void TTriggerForm::ShowElectrolux(const qd::TriggerEdits& edits) {
  QStringList items{tr("Not in use")};
  for (int program = 0; program < ProgramCount; ++program)
    items << machine_.ProgramCaption(program);
  for (int n = 1; n <= ElectroluxEntries; ++n) {
    QComboBox* combo = ElectroluxMachineProgramCombo[static_cast<std::size_t>(n - 1)];
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(edits.electrolux[static_cast<std::size_t>(n - 1)]);
  }
}

void TTriggerForm::ShowProgramCaptions() {
  for (QComboBox* combo : ElectroluxMachineProgramCombo) {
    for (int program = 0; program < ProgramCount && program + 1 < combo->count(); ++program)
      combo->setItemText(program + 1, machine_.ProgramCaption(program));
  }
}

void TTriggerForm::ShowEthernet(const qd::TriggerEdits& edits) {
  MieleEthernetSerialNumberEdit->setText(FromCp1252(edits.machineSerialNumber));
  MieleEthernetSerialMachineIDedit->setText(FromCp1252(edits.machineId));
}

void TTriggerForm::MoveOntoScreen() {
  const QScreen* shownOn = screen();
  if (shownOn == nullptr) return;
  const QRect frame = frameGeometry();
  const QPoint onScreen = OntoScreen(frame.topLeft(), frame.size(), shownOn->availableGeometry());
  if (onScreen != frame.topLeft()) move(onScreen);
}

void TTriggerForm::ShowTriggerStatus(std::optional<qd::link::PayloadView> report) {
  // The Electrolux program number arrives in byte 11 of a module status report.
  constexpr std::size_t ProgramNumberOffset = 11;
  const bool programNumber = statusReceived_ && report.has_value() && report->Has(ProgramNumberOffset + 1) &&
                             Settings().Type() == trigger::TypeElectrolux;
  if (statusReceived_) {
    VersionLabel2->setText(
        FromCp1252(trigger::ModuleVersionText(Settings().ModuleKind(), Settings().ModuleVersion())));
  }
  VersionLabel1->setEnabled(statusReceived_);
  VersionLabel2->setVisible(statusReceived_);
  if (programNumber)
    ElectroluxCompassProProgramNumberLabel2->setText(NumberText(report->At(ProgramNumberOffset)));
  ElectroluxCompassProProgramNumberLabel1->setEnabled(programNumber);
  ElectroluxCompassProProgramNumberLabel2->setVisible(programNumber);
}

bool TTriggerForm::StoreTrigger() {
  if (modified_) {
    const QScopedValueRollback<bool> storing(storing_, true);
    qd::StoreTrigger(app_.Config(), machine_.Index(), qd::WithEdits(Settings(), Edits()));
  }
  ShowTrigger();
  return true;
}

qd::TriggerEdits TTriggerForm::Edits() const {
  qd::TriggerEdits edits;
  edits.adjustLow = ToCp1252(LowLevelAdjustEdit->text());
  edits.adjustHigh = ToCp1252(HighLevelAdjustEdit->text());
  edits.maxWeight = ToCp1252(MaxWeightEdit->text());
  for (std::size_t slot = 0; slot < edits.lockInputs.size(); ++slot)
    edits.lockInputs[slot] = KeyboardLockComboBox[slot]->currentIndex();  // entry n is input n
  edits.resetEntry = MachineResetComboBox->currentIndex();
  edits.lockDelay = ToCp1252(KeyboardLockDelayEdit->text());
  edits.resetDelay = ToCp1252(MachineResetDelayEdit->text());
  for (std::size_t i = 0; i < mieleEdits_.size(); ++i)
    edits.miele[i] = ToCp1252(mieleEdits_[i]->text());
  edits.softner2 = MieleSoftner2Btn->isChecked();
  for (std::size_t n = 0; n < edits.electrolux.size(); ++n)
    edits.electrolux[n] = ElectroluxMachineProgramCombo[n]->currentIndex();
  edits.machineSerialNumber = ToCp1252(MieleEthernetSerialNumberEdit->text());
  edits.machineId = ToCp1252(MieleEthernetSerialMachineIDedit->text());
  return edits;
}

void TTriggerForm::TriggerTypeComboBoxChange() {
  if (showing_) return;
  const int code = trigger::TypeCodeOfEntry(TriggerTypeComboBox->currentIndex());
  if (code < 0 || code == Settings().Type()) return;
  // The type is stored at once; unsaved edits of the settings every type has stay in their controls.
  {
    const QScopedValueRollback<bool> storing(storing_, true);
    qd::ChangeTriggerType(app_.Config(), machine_.Index(), code);
  }
  showing_ = true;
  ShowTypeSpecific();
  showing_ = false;
  SaveBtn->setEnabled(modified_);
}

void TTriggerForm::EditChange() {
  if (!showing_) SetModified(true);
}

void TTriggerForm::MieleSoftner2BtnClick() {
  SoftnerPump7label->setVisible(MieleSoftner2Btn->isChecked());
  EditChange();
}

void TTriggerForm::SaveBtnClick() {
  StoreTrigger();
}

void TTriggerForm::CloseBtnClick() {
  close();
}

void TTriggerForm::SetModified(bool modified) {
  modified_ = modified;
  SaveBtn->setEnabled(modified);
}

void TTriggerForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;  // restored by the window system, not shown by the program
  setWindowTitle(tr("Trigger, Machine %1").arg(machine_.Index() + 1));
  ShowTrigger();
  machine_.ShowTriggerType(typeText_);
}

void TTriggerForm::closeEvent(QCloseEvent* event) {
  if (modified_) {
    const auto answer = ShowMessageDialog(tr("Save modifications?"), DialogType::Information,
                                          QMessageBox::Yes | QMessageBox::No);
    // Either way the controls show the stored block afterwards: Yes stores the edits, No drops them.
    if (answer == QMessageBox::Yes) {
      StoreTrigger();
    } else {
      ShowTrigger();
    }
  }
  event->accept();
}

void TTriggerForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace qd::gui
