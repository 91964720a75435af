#include "gui/editors/instruction_panels_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "gui/app/text_codec.h"

namespace qd::gui {
namespace {

constexpr int NumberEditWidth = 70;

// "-", then "1" .. "count".
QStringList NoneAndNumbers(int count) {
  QStringList items{QStringLiteral("-")};
  for (int n = 1; n <= count; ++n)
    items << QString::number(n);
  return items;
}

QStringList LineNumbers() {
  QStringList items;
  for (int n = 1; n <= qd::DosingProgram::LineCount; ++n)
    items << QString::number(n);
  return items;
}

QStringList FlushItems() {
  return {QCoreApplication::translate("InstructionPanelsWidget", "No"),
          QCoreApplication::translate("InstructionPanelsWidget", "Short"),
          QCoreApplication::translate("InstructionPanelsWidget", "Long")};
}

// Adds "label control unit" as one row of a panel's grid; the label is the control's buddy.
QLabel* AddRow(QGridLayout* grid, int row, const QString& label, QWidget* control, const QString& unit = {}) {
  auto* caption = new QLabel(label, grid->parentWidget());
  caption->setBuddy(control);
  grid->addWidget(caption, row, 0);
  grid->addWidget(control, row, 1);
  if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, grid->parentWidget()), row, 2);
  return caption;
}

QGridLayout* NewGrid(QWidget* group) {
  auto* grid = new QGridLayout(group);
  grid->setColumnStretch(3, 1);
  return grid;
}

std::string EditText(const QLineEdit* edit) {
  return ToCp1252(edit->text());
}

void SetEditText(QLineEdit* edit, const std::string& text) {
  edit->setText(FromCp1252(text));
}

}  // namespace

InstructionPanelsWidget::InstructionPanelsWidget(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("InstructionPanels"));
  pages_ = new QStackedLayout(this);
  pages_->setContentsMargins(0, 0, 0, 0);
  emptyPage_ = new QWidget(this);
  pages_->addWidget(emptyPage_);
  NoParametersLabel = new QLabel(tr("No parameters for this instruction."), this);
  NoParametersLabel->setObjectName(QStringLiteral("NoParametersLabel"));
  NoParametersLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  NoParametersLabel->setMargin(8);
  pages_->addWidget(NoParametersLabel);
  CreateInputGroup();
  CreateInputOffGroup();
  CreateJumpGroup();
  CreateWaitGroup();
  CreatePumpGroup();
  CreateFlushGroup();
  CreatePumpHighVolumeGroup();
  ShowKind(qd::PanelKind::None);
}

QGroupBox* InstructionPanelsWidget::NewGroup(const char* name, const QString& caption) {
  auto* group = new QGroupBox(caption, this);
  group->setObjectName(QString::fromLatin1(name));
  pages_->addWidget(group);
  return group;
}

QLineEdit* InstructionPanelsWidget::NewEdit(const char* name) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaximumWidth(NumberEditWidth);
  WatchEdit(edit);
  return edit;
}

QComboBox* InstructionPanelsWidget::NewCombo(const char* name, const QStringList& items) {
  auto* combo = new QComboBox(this);
  combo->setObjectName(QString::fromLatin1(name));
  combo->addItems(items);
  combo->setMaxVisibleItems(qd::DosingProgram::LineCount + 1);
  return combo;
}

QCheckBox* InstructionPanelsWidget::NewCheck(const char* name, const QString& text) {
  auto* check = new QCheckBox(text, this);
  check->setObjectName(QString::fromLatin1(name));
  WatchCheck(check);
  return check;
}

void InstructionPanelsWidget::WatchEdit(QLineEdit* edit) {
  connect(edit, &QLineEdit::textChanged, this, &InstructionPanelsWidget::Changed);
}

void InstructionPanelsWidget::WatchCombo(QComboBox* combo) {
  connect(combo, &QComboBox::currentIndexChanged, this, &InstructionPanelsWidget::Changed);
}

void InstructionPanelsWidget::WatchCheck(QCheckBox* check) {
  connect(check, &QCheckBox::toggled, this, &InstructionPanelsWidget::Changed);
}

void InstructionPanelsWidget::CreateInputGroup() {
  InstructionInputGroup = NewGroup("InstructionInputGroup", tr(" Inputs "));
  QGridLayout* grid = NewGrid(InstructionInputGroup);
  InputFilterEdit = NewEdit("InputFilterEdit");
  AddRow(grid, 0, tr("Filter"), InputFilterEdit, tr("0..250 sec."));

  static constexpr std::array<const char*, 4> InputNames = {"InputInput1Combo", "InputInput2Combo",
                                                            "InputInput3Combo", "InputInput4Combo"};
  static constexpr std::array<const char*, 3> LineNames = {"InputLine2Combo", "InputLine3Combo",
                                                           "InputLine4Combo"};
  for (std::size_t n = 0; n < InputInputCombos.size(); ++n) {
    QComboBox* input = NewCombo(InputNames[n], NoneAndNumbers(6));
    InputInputCombos[n] = input;
    const int row = static_cast<int>(n) + 1;
    QLabel* caption = AddRow(grid, row, tr("Input"), input);
    if (n == 0) {
      WatchCombo(input);
      input->setAccessibleName(tr("Input to the next line"));
      nextLineLabels_ = {caption, new QLabel(tr("-> Next line"), InstructionInputGroup)};
      grid->addWidget(nextLineLabels_[1], row, 2, 1, 2);
      continue;
    }
    const int jump = row - 2;
    input->setAccessibleName(tr("Jump input %1").arg(jump + 1));
    connect(input, &QComboBox::currentIndexChanged, this, [this, jump] { JumpInputChanged(jump); });
    QComboBox* target = NewCombo(LineNames[static_cast<std::size_t>(jump)], LineNumbers() << tr("Reset"));
    target->setAccessibleName(tr("Jump line %1").arg(jump + 1));
    WatchCombo(target);
    InputLineCombos[static_cast<std::size_t>(jump)] = target;
    auto* arrow = new QLabel(tr("-> Line"), InstructionInputGroup);
    arrow->setBuddy(target);
    grid->addWidget(arrow, row, 2);
    grid->addWidget(target, row, 3, Qt::AlignLeft);
  }
  grid->setRowStretch(5, 1);
}

void InstructionPanelsWidget::CreateInputOffGroup() {
  InputOffWaitGroupBox = NewGroup("InputOffWaitGroupBox", tr(" Input off wait "));
  QGridLayout* grid = NewGrid(InputOffWaitGroupBox);
  grid->addWidget(new QLabel(tr("Next line when all selected inputs"), InputOffWaitGroupBox), 0, 0, 1, 4);
  grid->addWidget(new QLabel(tr("are off."), InputOffWaitGroupBox), 1, 0, 1, 4);
  for (std::size_t n = 0; n < InputOffComboBoxes.size(); ++n) {
    const QByteArray name = QByteArrayLiteral("InputOff") + QByteArray::number(static_cast<int>(n) + 1) +
                            QByteArrayLiteral("ComboBox");
    QComboBox* combo = NewCombo(name.constData(), NoneAndNumbers(6));
    WatchCombo(combo);
    InputOffComboBoxes[n] = combo;
    AddRow(grid, static_cast<int>(n) + 2, tr("Input %1").arg(n + 1), combo);
  }
  grid->setRowStretch(8, 1);
}

void InstructionPanelsWidget::CreateJumpGroup() {
  InstructionJumpToLineGroup = NewGroup("InstructionJumpToLineGroup", tr(" Jump "));
  QGridLayout* grid = NewGrid(InstructionJumpToLineGroup);
  JumpToLineCombo = NewCombo("JumpToLineCombo", LineNumbers());
  WatchCombo(JumpToLineCombo);
  AddRow(grid, 0, tr("Jump to Line "), JumpToLineCombo);
  grid->setRowStretch(1, 1);
}

void InstructionPanelsWidget::CreateWaitGroup() {
  InstructionWaitGroup = NewGroup("InstructionWaitGroup", tr(" Wait "));
  QGridLayout* grid = NewGrid(InstructionWaitGroup);
  WaitSecondsEdit = NewEdit("WaitSecondsEdit");
  AddRow(grid, 0, tr("Wait"), WaitSecondsEdit, tr("(1..5000 seconds)"));
  grid->setRowStretch(1, 1);
}

void InstructionPanelsWidget::CreatePumpGroup() {
  InstructionPumpGroup = NewGroup("InstructionPumpGroup", tr(" Pump "));
  QGridLayout* grid = NewGrid(InstructionPumpGroup);
  PumpPumpCombo = NewCombo("PumpPumpCombo", NoneAndNumbers(7));
  WatchCombo(PumpPumpCombo);
  AddRow(grid, 0, tr("Pump"), PumpPumpCombo, QStringLiteral("1..7"));
  PumpFlushCombo = NewCombo("PumpFlushCombo", FlushItems());
  WatchCombo(PumpFlushCombo);
  AddRow(grid, 1, tr("Flush"), PumpFlushCombo);
  PumpWaitDispenseDoneBtn = NewCheck("PumpWaitDispenseDoneBtn", tr("Wait until dispense done."));
  grid->addWidget(PumpWaitDispenseDoneBtn, 2, 0, 1, 4);
  PumpDelayEdit = NewEdit("PumpDelayEdit");
  AddRow(grid, 3, tr("Delay"), PumpDelayEdit, tr("0..250 sec."));
  static constexpr std::array<const char*, 3> VolumeNames = {"PumpVolume1Edit", "PumpVolume2Edit",
                                                             "PumpVolume3Edit"};
  static constexpr std::array<const char*, 3> VolumeLabels = {
      QT_TRANSLATE_NOOP("InstructionPanelsWidget", "Volume, low"),
      QT_TRANSLATE_NOOP("InstructionPanelsWidget", "Volume, mid"),
      QT_TRANSLATE_NOOP("InstructionPanelsWidget", "Volume, high")};
  for (std::size_t n = 0; n < PumpVolumeEdits.size(); ++n) {
    PumpVolumeEdits[n] = NewEdit(VolumeNames[n]);
    AddRow(grid, static_cast<int>(n) + 4,
           QCoreApplication::translate("InstructionPanelsWidget", VolumeLabels[n]), PumpVolumeEdits[n],
           QStringLiteral("ml"));
  }
  grid->setRowStretch(7, 1);
}

void InstructionPanelsWidget::CreateFlushGroup() {
  InstructionFlushGroup = NewGroup("InstructionFlushGroup", tr(" Flush "));
  QGridLayout* grid = NewGrid(InstructionFlushGroup);
  FlushToDrainBtn = NewCheck("FlushToDrainBtn", tr("Drain flush"));
  grid->addWidget(FlushToDrainBtn, 0, 0, 1, 4);
  FlushWaitDoneBtn = NewCheck("FlushWaitDoneBtn", tr("Wait until flush done."));
  grid->addWidget(FlushWaitDoneBtn, 1, 0, 1, 4);
  FlushDelayEdit = NewEdit("FlushDelayEdit");
  AddRow(grid, 2, tr("Delay"), FlushDelayEdit, tr("0..250 sec."));
  FlushTimeEdit = NewEdit("FlushTimeEdit");
  AddRow(grid, 3, tr("Flush time"), FlushTimeEdit, tr("0..250 sec."));
  grid->setRowStretch(4, 1);
}

void InstructionPanelsWidget::CreatePumpHighVolumeGroup() {
  InstructionPumpHighVolumeGroup = NewGroup("InstructionPumpHighVolumeGroup", tr(" Pump, high volume "));
  QGridLayout* grid = NewGrid(InstructionPumpHighVolumeGroup);
  PumpHighPumpCombo = NewCombo("PumpHighPumpCombo", NoneAndNumbers(7));
  WatchCombo(PumpHighPumpCombo);
  AddRow(grid, 0, tr("Pump"), PumpHighPumpCombo, QStringLiteral("1..7"));
  PumpHighFlushCombo = NewCombo("PumpHighFlushCombo", FlushItems());
  WatchCombo(PumpHighFlushCombo);
  AddRow(grid, 1, tr("Flush"), PumpHighFlushCombo);
  PumpHighWaitDispenseDoneBtn = NewCheck("PumpHighWaitDispenseDoneBtn", tr("Wait until dispense done."));
  grid->addWidget(PumpHighWaitDispenseDoneBtn, 2, 0, 1, 4);
  PumpHighDelayEdit = NewEdit("PumpHighDelayEdit");
  AddRow(grid, 3, tr("Delay"), PumpHighDelayEdit, tr("0..250 sec."));
  PumpHighVolumeEdit = NewEdit("PumpHighVolumeEdit");
  AddRow(grid, 4, tr("Volume (mid)"), PumpHighVolumeEdit, QStringLiteral("ml"));

  // The high adjustment follows the low one before the edit counts as a change.
  PumpHighVolumeLowEdit = new QLineEdit(this);
  PumpHighVolumeLowEdit->setObjectName(QStringLiteral("PumpHighVolumeLowEdit"));
  PumpHighVolumeLowEdit->setMaximumWidth(NumberEditWidth);
  connect(PumpHighVolumeLowEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
    PumpHighVolumeHighLabel->setText(FromCp1252(qd::HighAdjustText(ToCp1252(text))));
    Changed();
  });
  AddRow(grid, 5, tr("Low adjust (-%)"), PumpHighVolumeLowEdit);
  PumpHighVolumeHighLabel = new QLabel(InstructionPumpHighVolumeGroup);
  PumpHighVolumeHighLabel->setObjectName(QStringLiteral("PumpHighVolumeHighLabel"));
  AddRow(grid, 6, tr("High adjust (+%)"), PumpHighVolumeHighLabel);
  grid->setRowStretch(7, 1);
}

void InstructionPanelsWidget::Changed() {
  if (filling_ == 0) emit Edited();
}

void InstructionPanelsWidget::JumpInputChanged(int row) {
  if (filling_ != 0) return;
  qd::InputJumpRow values = Values().input.jumps.at(static_cast<std::size_t>(row));
  qd::ChangeInput(values, values.input);
  ++filling_;
  ShowJumpRow(row, values);
  --filling_;
  Changed();
}

void InstructionPanelsWidget::ShowJumpRow(int row, const qd::InputJumpRow& values) {
  const auto n = static_cast<std::size_t>(row);
  InputInputCombos[n + 1]->setCurrentIndex(values.input);
  targetEnabled_[n] = values.targetEnabled;
  InputLineCombos[n]->setEnabled(values.targetEnabled);
  InputLineCombos[n]->setCurrentIndex(values.target);
}

void InstructionPanelsWidget::SetNextLineEnabled(bool enabled) {
  nextLineEnabled_ = enabled;
  InputInputCombos[0]->setEnabled(enabled);
  for (QLabel* label : nextLineLabels_)
    label->setEnabled(enabled);
}

qd::ProgramPanels InstructionPanelsWidget::Values() const {
  qd::ProgramPanels panels;
  panels.input.filter = EditText(InputFilterEdit);
  panels.input.nextLineInput = InputInputCombos[0]->currentIndex();
  panels.input.nextLineEnabled = nextLineEnabled_;
  for (std::size_t n = 0; n < panels.input.jumps.size(); ++n)
    panels.input.jumps[n] = {InputInputCombos[n + 1]->currentIndex(), InputLineCombos[n]->currentIndex(),
                             targetEnabled_[n]};
  for (std::size_t n = 0; n < InputOffComboBoxes.size(); ++n)
    panels.inputOff.inputs[n] = InputOffComboBoxes[n]->currentIndex();
  panels.jump.target = JumpToLineCombo->currentIndex();
  panels.wait.seconds = EditText(WaitSecondsEdit);
  panels.pump = {PumpPumpCombo->currentIndex(),
                 PumpFlushCombo->currentIndex(),
                 PumpWaitDispenseDoneBtn->isChecked(),
                 EditText(PumpDelayEdit),
                 {EditText(PumpVolumeEdits[0]), EditText(PumpVolumeEdits[1]), EditText(PumpVolumeEdits[2])}};
  panels.flush = {FlushToDrainBtn->isChecked(), FlushWaitDoneBtn->isChecked(), EditText(FlushDelayEdit),
                  EditText(FlushTimeEdit)};
  panels.pumpHighVolume = {PumpHighPumpCombo->currentIndex(),
                           PumpHighFlushCombo->currentIndex(),
                           PumpHighWaitDispenseDoneBtn->isChecked(),
                           EditText(PumpHighDelayEdit),
                           EditText(PumpHighVolumeEdit),
                           EditText(PumpHighVolumeLowEdit)};
  return panels;
}

void InstructionPanelsWidget::SetValues(const qd::ProgramPanels& panels) {
  ++filling_;
  SetEditText(InputFilterEdit, panels.input.filter);
  SetNextLineEnabled(panels.input.nextLineEnabled);
  InputInputCombos[0]->setCurrentIndex(panels.input.nextLineInput);
  for (std::size_t n = 0; n < panels.input.jumps.size(); ++n)
    ShowJumpRow(static_cast<int>(n), panels.input.jumps[n]);
  for (std::size_t n = 0; n < InputOffComboBoxes.size(); ++n)
    InputOffComboBoxes[n]->setCurrentIndex(panels.inputOff.inputs[n]);
  JumpToLineCombo->setCurrentIndex(panels.jump.target);
  SetEditText(WaitSecondsEdit, panels.wait.seconds);
  PumpPumpCombo->setCurrentIndex(panels.pump.pump);
  PumpFlushCombo->setCurrentIndex(panels.pump.flush);
  PumpWaitDispenseDoneBtn->setChecked(panels.pump.waitDispensed);
  SetEditText(PumpDelayEdit, panels.pump.delay);
  for (std::size_t n = 0; n < PumpVolumeEdits.size(); ++n)
    SetEditText(PumpVolumeEdits[n], panels.pump.volumes[n]);
  FlushToDrainBtn->setChecked(panels.flush.toDrain);
  FlushWaitDoneBtn->setChecked(panels.flush.waitDone);
  SetEditText(FlushDelayEdit, panels.flush.delay);
  SetEditText(FlushTimeEdit, panels.flush.time);
  PumpHighPumpCombo->setCurrentIndex(panels.pumpHighVolume.pump);
  PumpHighFlushCombo->setCurrentIndex(panels.pumpHighVolume.flush);
  PumpHighWaitDispenseDoneBtn->setChecked(panels.pumpHighVolume.waitDispensed);
  SetEditText(PumpHighDelayEdit, panels.pumpHighVolume.delay);
  SetEditText(PumpHighVolumeEdit, panels.pumpHighVolume.volume);
  SetEditText(PumpHighVolumeLowEdit, panels.pumpHighVolume.lowAdjust);
  PumpHighVolumeHighLabel->setText(FromCp1252(qd::HighAdjustText(panels.pumpHighVolume.lowAdjust)));
  --filling_;
}

void InstructionPanelsWidget::ShowKind(qd::PanelKind kind) {
  shownKind_ = kind;
  QWidget* page = emptyPage_;
  switch (kind) {
    case qd::PanelKind::None:
      break;
    case qd::PanelKind::NoParameters:
      page = NoParametersLabel;
      break;
    case qd::PanelKind::Input:
      page = InstructionInputGroup;
      break;
    case qd::PanelKind::InputOff:
      page = InputOffWaitGroupBox;
      break;
    case qd::PanelKind::Jump:
      page = InstructionJumpToLineGroup;
      break;
    case qd::PanelKind::Wait:
      page = InstructionWaitGroup;
      break;
    case qd::PanelKind::Pump:
      page = InstructionPumpGroup;
      break;
    case qd::PanelKind::Flush:
      page = InstructionFlushGroup;
      break;
    case qd::PanelKind::PumpHighVolume:
      page = InstructionPumpHighVolumeGroup;
      break;
  }
  pages_->setCurrentWidget(page);
}

}  // namespace qd::gui
