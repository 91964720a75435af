#include "gui/editors/program_form.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "gui/app/app.h"
#include "gui/app/config_signals.h"
#include "gui/app/label_colours.h"
#include "gui/app/main_form.h"
#include "gui/app/message_dialog.h"
#include "gui/app/text_codec.h"
#include "gui/editors/instruction_panels_widget.h"
#include "gui/editors/machine_form.h"
#include "gui/review/findings_list.h"
#include "model/instruction_panels.h"
#include "model/instruction_set.h"
#include "model/program_lines.h"
#include "model/system_commands.h"
#include "review/program_checker.h"

namespace qd::gui {
namespace {

constexpr std::array<int, TProgramForm::ColumnCount> ColumnWidths = {34, 100, 150, 200};
constexpr int CommentColumn = 3;
constexpr int HighestLevel = 3;

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

template <typename Control>
Control* Named(Control* control, const char* name) {
  control->setObjectName(QString::fromLatin1(name));
  return control;
}

bool IsLineIndex(int index) {
  return index >= 0 && index < TProgramForm::LineCount;
}

}  // namespace

TProgramForm::TProgramForm(App& app, TMachineForm& machine, int programIndex)
    : QWidget(&machine, Qt::Window), app_(app), machine_(machine), programIndex_(programIndex) {
  setObjectName(QStringLiteral("ProgramForm%1").arg(programIndex + 1));
  CreateHeader();
  CreateGrid();
  CreateInstructionGroup();
  CreateProgramMenu();
  ArrangeControls();
  WatchForKeys();
  connect(&app_.Changes(), &ConfigSignals::Changed, this, &TProgramForm::ConfigChanged);
  LoadProgram();
  // Row 2 and then row 1, so that the first line's panel shows through the grid's own change.
  SelectRow(1);
  SelectRow(0);
}

void TProgramForm::CreateHeader() {
  ProgramNameEdit = Named(new QLineEdit(this), "ProgramNameEdit");
  ProgramCommentEdit = Named(new QLineEdit(this), "ProgramCommentEdit");
  ActiveBtn = Named(new QCheckBox(tr("Active"), this), "ActiveBtn");
  SoftnerBtn = Named(new QCheckBox(tr("Softner"), this), "SoftnerBtn");
  DefaultSoftnerBtn = Named(new QCheckBox(tr("Default softner"), this), "DefaultSoftnerBtn");
  DefaultLevelComboBox = Named(new QComboBox(this), "DefaultLevelComboBox");
  DefaultLevelComboBox->addItems({QStringLiteral("-"), tr("Low"), tr("Mid"), tr("High")});
  for (QLineEdit* edit : {ProgramNameEdit, ProgramCommentEdit})
    connect(edit, &QLineEdit::textChanged, this, &TProgramForm::StorePanel);
  for (QCheckBox* check : {ActiveBtn, SoftnerBtn, DefaultSoftnerBtn})
    connect(check, &QCheckBox::toggled, this, &TProgramForm::StorePanel);
  for (QCheckBox* check : {ActiveBtn, SoftnerBtn})
    connect(check, &QCheckBox::toggled, this, &TProgramForm::RefreshFindings);
  connect(DefaultLevelComboBox, &QComboBox::currentIndexChanged, this, &TProgramForm::StorePanel);

  SaveBtn = Named(new QPushButton(tr("Save"), this), "SaveBtn");
  SaveBtn->setEnabled(false);
  connect(SaveBtn, &QPushButton::clicked, this, &TProgramForm::SaveBtnClick);
  DebugBtn = Named(new QCheckBox(tr("Debug"), this), "DebugBtn");
  DebugBtn->setToolTip(tr("Follow the line the controller runs"));
  connect(DebugBtn, &QCheckBox::toggled, this, &TProgramForm::DebugBtnToggled);
  DebugActiveImage = Named(new QLabel(tr("Running"), this), "DebugActiveImage");
  DebugActiveImage->setAccessibleName(tr("Running line"));
  DebugActiveImage->setAccessibleDescription(
      tr("The selected grid line is the line the controller is running"));
  SetLabelBackground(DebugActiveImage, Background::Green);
  DebugActiveImage->hide();
}

void TProgramForm::CreateGrid() {
  SequenceGroup = Named(new QGroupBox(tr(" Sequence "), this), "SequenceGroup");
  ProgramLineGrid = Named(new QTableWidget(LineCount, ColumnCount, SequenceGroup), "ProgramLineGrid");
  ProgramLineGrid->setAccessibleName(tr("Program lines"));
  ProgramLineGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  ProgramLineGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  ProgramLineGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the grid for the instruction box instead of walking its cells.
  ProgramLineGrid->setTabKeyNavigation(false);
  ProgramLineGrid->setWordWrap(false);
  ProgramLineGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ProgramLineGrid->verticalHeader()->hide();
  ProgramLineGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ProgramLineGrid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  ProgramLineGrid->setHorizontalHeaderLabels(
      {tr(" Line"), tr(" Instruction"), tr(" Parameteres"), tr(" Comment")});
  QHeaderView* header = ProgramLineGrid->horizontalHeader();
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setHighlightSections(false);
  header->setMinimumSectionSize(ColumnWidths[0]);
  for (int column = 0; column < ColumnCount; ++column) {
    header->resizeSection(column, ColumnWidths[static_cast<std::size_t>(column)]);
    header->setSectionResizeMode(column,
                                 column == CommentColumn ? QHeaderView::Stretch : QHeaderView::Interactive);
  }
  for (int row = 0; row < LineCount; ++row) {
    for (int column = 0; column < ColumnCount; ++column)
      ProgramLineGrid->setItem(row, column, new QTableWidgetItem);
  }
  // All 24 lines fit without scrolling.
  const int rowsHeight = ProgramLineGrid->verticalHeader()->defaultSectionSize() * LineCount;
  ProgramLineGrid->setMinimumHeight(rowsHeight + header->sizeHint().height() +
                                    2 * ProgramLineGrid->frameWidth());
  int columnsWidth = 0;
  for (int width : ColumnWidths)
    columnsWidth += width;
  ProgramLineGrid->setMinimumWidth(columnsWidth + 2 * ProgramLineGrid->frameWidth());
  connect(ProgramLineGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { GridRowChanged(current.row()); });

  ProgramCheckList = new FindingsList(SequenceGroup, 3);
  ProgramCheckList->setObjectName(QStringLiteral("ProgramCheckList"));
  connect(ProgramCheckList, &FindingsList::LineChosen, this, [this](int index) {
    SelectRow(index);
    ProgramLineGrid->setFocus();
  });

  auto* layout = new QVBoxLayout(SequenceGroup);
  layout->addWidget(ProgramLineGrid);
  layout->addWidget(BuddyLabel(tr("Check"), ProgramCheckList, SequenceGroup));
  layout->addWidget(ProgramCheckList);
}

void TProgramForm::CreateInstructionGroup() {
  InstructionGroup = Named(new QGroupBox(tr(" Instruction "), this), "InstructionGroup");
  InstructionComboBox = Named(new QComboBox(InstructionGroup), "InstructionComboBox");
  for (int code = 0; code < qd::InstructionCount; ++code)
    InstructionComboBox->addItem(FromCp1252(qd::InstructionName(code)));
  InstructionComboBox->setMaxVisibleItems(qd::InstructionCount);
  connect(InstructionComboBox, &QComboBox::currentIndexChanged, this,
          &TProgramForm::InstructionComboBoxChange);
  InstructionCommentEdit = Named(new QLineEdit(InstructionGroup), "InstructionCommentEdit");
  connect(InstructionCommentEdit, &QLineEdit::textChanged, this, &TProgramForm::InstructionCommentEditChange);
  panels_ = new InstructionPanelsWidget(InstructionGroup);
  connect(panels_, &InstructionPanelsWidget::Edited, this, &TProgramForm::StorePanel);

  auto* form = new QFormLayout;
  form->addRow(BuddyLabel(tr("Instruction"), InstructionComboBox, InstructionGroup), InstructionComboBox);
  form->addRow(BuddyLabel(tr("Comment"), InstructionCommentEdit, InstructionGroup), InstructionCommentEdit);
  auto* layout = new QVBoxLayout(InstructionGroup);
  layout->addLayout(form);
  layout->addWidget(panels_, 1);
}

void TProgramForm::CreateProgramMenu() {
  ProgramMenu = Named(new QMenu(this), "ProgramMenu");
  CopyProgramBtn = ProgramMenu->addAction(tr("Copy program"), this, &TProgramForm::CopyProgramBtnClick);
  CopyProgramBtn->setObjectName(QStringLiteral("CopyProgramBtn"));
  InsertProgramBtn = ProgramMenu->addAction(tr("Insert program"), this, &TProgramForm::InsertProgramBtnClick);
  InsertProgramBtn->setObjectName(QStringLiteral("InsertProgramBtn"));
  DeleteProgramBtn = ProgramMenu->addAction(tr("Delete program"), this, &TProgramForm::DeleteProgramBtnClick);
  DeleteProgramBtn->setObjectName(QStringLiteral("DeleteProgramBtn"));
  connect(ProgramMenu, &QMenu::aboutToShow, this,
          [this] { InsertProgramBtn->setEnabled(app_.Main().ProgramClipboard() != nullptr); });
  ProgramLineGrid->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ProgramLineGrid, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ProgramMenu->popup(ProgramLineGrid->viewport()->mapToGlobal(at)); });
}

void TProgramForm::ArrangeControls() {
  auto* header = new QGridLayout;
  header->addWidget(BuddyLabel(tr("Name"), ProgramNameEdit, this), 0, 0);
  header->addWidget(ProgramNameEdit, 0, 1);
  header->addWidget(BuddyLabel(tr("Comment"), ProgramCommentEdit, this), 1, 0);
  header->addWidget(ProgramCommentEdit, 1, 1);
  header->setColumnStretch(1, 1);
  auto* switches = new QHBoxLayout;
  switches->addWidget(ActiveBtn);
  switches->addWidget(SoftnerBtn);
  switches->addWidget(DefaultSoftnerBtn);
  switches->addStretch(1);
  header->addLayout(switches, 0, 2, 1, 2);
  header->addWidget(BuddyLabel(tr("Default level"), DefaultLevelComboBox, this), 1, 2, Qt::AlignRight);
  header->addWidget(DefaultLevelComboBox, 1, 3, Qt::AlignLeft);

  auto* actions = new QGridLayout;
  actions->addWidget(SaveBtn, 0, 0, 1, 2);
  actions->addWidget(DebugBtn, 1, 0);
  actions->addWidget(DebugActiveImage, 1, 1);
  // The marker's place is kept while it is hidden, so nothing moves when it comes and goes.
  QSizePolicy keepPlace = DebugActiveImage->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  DebugActiveImage->setSizePolicy(keepPlace);

  auto* top = new QHBoxLayout;
  top->addLayout(header, 1);
  top->addSpacing(12);
  top->addLayout(actions);

  auto* body = new QHBoxLayout;
  body->addWidget(SequenceGroup, 3);
  body->addWidget(InstructionGroup, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(body, 1);

  setTabOrder(ProgramNameEdit, ProgramCommentEdit);
  setTabOrder(ProgramCommentEdit, ActiveBtn);
  setTabOrder(ActiveBtn, SoftnerBtn);
  setTabOrder(SoftnerBtn, DefaultSoftnerBtn);
  setTabOrder(DefaultSoftnerBtn, DefaultLevelComboBox);
  setTabOrder(DefaultLevelComboBox, SaveBtn);
  setTabOrder(SaveBtn, DebugBtn);
  setTabOrder(DebugBtn, ProgramLineGrid);
  setTabOrder(ProgramLineGrid, InstructionComboBox);
  setTabOrder(InstructionComboBox, InstructionCommentEdit);
  setTabOrder(InstructionCommentEdit, panels_);
}

void TProgramForm::WatchForKeys() {
  // The window sees the keys before its controls do.
  for (QWidget* child : findChildren<QWidget*>())
    child->installEventFilter(this);
}

bool TProgramForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->window() == this && FormKeyDown(static_cast<QKeyEvent*>(event)))
      return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TProgramForm::keyPressEvent(QKeyEvent* event) {
  if (!FormKeyDown(event)) QWidget::keyPressEvent(event);
}

bool TProgramForm::FormKeyDown(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  const bool inGrid = ProgramLineGrid->hasFocus();
  switch (event->key()) {
    case Qt::Key_Escape:
      close();
      return true;
    case Qt::Key_Left:
      if (modifiers != Qt::NoModifier) return false;
      ProgramLineGrid->setFocus();
      return false;
    case Qt::Key_Right:
      if (!inGrid || modifiers != Qt::NoModifier) return false;
      InstructionComboBox->setFocus();
      return true;
    case Qt::Key_Backspace:
      if (modifiers != Qt::AltModifier) return false;
      LoadProgram();
      return true;
    case Qt::Key_Insert:
      if (!inGrid) return false;
      InsertLine();
      return true;
    case Qt::Key_Delete:
      if (!inGrid) return false;
      DeleteLine();
      return true;
    default:
      return false;
  }
}

const qd::DosingProgram& TProgramForm::StoredProgram() const {
  return machine_.Machine().Programs.at(static_cast<std::size_t>(programIndex_));
}

void TProgramForm::ConfigChanged(const qd::ConfigChange& change) {
  if (storing_) return;
  const int machine = machine_.Index();
  if (change.Touches(qd::ConfigPart::MachinePrograms, machine)) {
    // The stored program changed under the editor: what it shows is what is stored.
    LoadProgram();
  } else if (change.Touches(qd::ConfigPart::MachineSettings | qd::ConfigPart::MachineCalibrations, machine) ||
             change.Touches(qd::ConfigPart::SystemSettings)) {
    RefreshFindings();
  }
}

qd::ProgramLine& TProgramForm::Line(int index) {
  return working_.Lines.at(static_cast<std::size_t>(index));
}

void TProgramForm::LoadProgram() {
  const qd::DosingProgram& stored = StoredProgram();
  ++updating_;
  ShowHeader(stored);
  --updating_;
  working_ = stored;
  UpdateCaption();
  SetModified(false);
  ShowAllLines();
  ShowPanel(currentLine_);
}

bool TProgramForm::StoreProgram() {
  qd::DosingProgram stored = StoredProgram();
  stored.Active = ActiveBtn->isChecked();
  stored.Name = ToCp1252(ProgramNameEdit->text());
  stored.Comment = ToCp1252(ProgramCommentEdit->text());
  stored.Softner = SoftnerBtn->isChecked();
  stored.DefaultSoftner = DefaultSoftnerBtn->isChecked();
  const int level = DefaultLevelComboBox->currentIndex();
  stored.DefaultLevel = level >= 0 && level <= HighestLevel ? level : HighestLevel;
  stored.Lines = working_.Lines;
  {
    const QScopedValueRollback<bool> storing(storing_, true);
    qd::StoreProgram(app_.Config(), machine_.Index(), programIndex_, stored);
  }
  SetModified(false);
  UpdateCaption();
  return true;
}

bool TProgramForm::DropPendingEdits() {
  // Everything goes back, not only the comment: what stays on screen is what is stored, and a later
  // save cannot bring the dropped edits back.
  LoadProgram();
  return true;
}

void TProgramForm::ShowHeader(const qd::DosingProgram& program) {
  ProgramNameEdit->setText(FromCp1252(program.Name));
  ActiveBtn->setChecked(program.Active);
  ProgramCommentEdit->setText(FromCp1252(program.Comment));
  SoftnerBtn->setChecked(program.Softner);
  DefaultSoftnerBtn->setChecked(program.DefaultSoftner);
  DefaultLevelComboBox->setCurrentIndex(
      program.DefaultLevel >= 0 && program.DefaultLevel <= HighestLevel ? program.DefaultLevel : -1);
}

void TProgramForm::UpdateCaption() {
  setWindowTitle(
      tr("Machine %1, %2").arg(QString::number(machine_.Index() + 1), FromCp1252(StoredProgram().Name)));
}

void TProgramForm::ShowLine(int index) {
  const qd::LineTexts texts = qd::ShowLine(Line(index));
  const std::array<QString, ColumnCount> cells = {QString::asprintf("%3d", index + 1),
                                                  FromCp1252(texts.instruction), FromCp1252(texts.parameters),
                                                  FromCp1252(texts.comment)};
  for (int column = 0; column < ColumnCount; ++column)
    ProgramLineGrid->item(index, column)->setText(cells[static_cast<std::size_t>(column)]);
  RefreshFindings();
}

void TProgramForm::ShowAllLines() {
  for (int index = 0; index < LineCount; ++index)
    ShowLine(index);
}

void TProgramForm::RefreshFindings() {
  if (ProgramCheckList == nullptr) return;
  qd::DosingProgram program = working_;
  program.Active = ActiveBtn->isChecked();
  program.Softner = SoftnerBtn->isChecked();
  ProgramCheckList->ShowFindings(
      qd::review::CheckProgram(app_.Config().system, machine_.Index() + 1, programIndex_ + 1, program));
}

void TProgramForm::SelectRow(int index) {
  ProgramLineGrid->selectRow(index);
}

void TProgramForm::GridRowChanged(int row) {
  if (IsLineIndex(row) && row != currentLine_) ShowPanel(row);
}

void TProgramForm::ShowPanel(int index) {
  if (!IsLineIndex(index)) return;
  ++updating_;
  currentLine_ = index;
  qd::ProgramLine& line = Line(index);
  if (qd::PrepareLineForPanel(line)) ShowLine(index);
  const qd::PanelKind kind = qd::PanelKindOf(line.Instruction());
  if (kind == qd::PanelKind::None) {
    InstructionComboBox->setCurrentIndex(-1);
  } else {
    InstructionComboBox->setCurrentIndex(line.Instruction());
    qd::ProgramPanels values = panels_->Values();
    qd::DecodePanel(line, values);
    panels_->SetValues(values);
  }
  panels_->ShowKind(kind);
  InstructionCommentEdit->setText(FromCp1252(line.comment));
  --updating_;
}

void TProgramForm::StorePanel() {
  if (updating_ > 0) return;
  SetModified(true);
  if (!IsLineIndex(currentLine_)) return;
  qd::EncodePanel(panels_->Values(), Line(currentLine_));
  ShowLine(currentLine_);
}

void TProgramForm::InstructionComboBoxChange() {
  if (updating_ > 0) return;
  StorePanel();
  const int code = InstructionComboBox->currentIndex();
  if (!IsLineIndex(currentLine_) || code < 0) return;
  qd::ProgramLine& line = Line(currentLine_);
  if (code == line.Instruction()) return;
  line.ChangeInstruction(code);
  ++updating_;
  panels_->SetValues(qd::ProgramPanels{});
  --updating_;
  ShowLine(currentLine_);
  ShowPanel(currentLine_);
  // A changed filter text counts as an edit: a new input line takes the system's filter time, and 31
  // for each target without an input.
  panels_->FilterEdit()->setText(FromCp1252(app_.Config().system.DefaultInputFilter));
}

void TProgramForm::InstructionCommentEditChange() {
  if (updating_ > 0) return;
  StorePanel();
  if (!IsLineIndex(currentLine_)) return;
  Line(currentLine_).comment = ToCp1252(InstructionCommentEdit->text());
  ShowLine(currentLine_);
}

void TProgramForm::SetModified(bool modified) {
  modified_ = modified;
  SaveBtn->setEnabled(modified);
}

void TProgramForm::SaveBtnClick() {
  StoreProgram();
}

void TProgramForm::InsertLine() {
  if (!IsLineIndex(currentLine_)) return;
  qd::InsertProgramLine(working_.Lines, currentLine_);
  ShowAllLines();
  ShowPanel(currentLine_);
  InstructionComboBox->setFocus();
  StorePanel();
}

void TProgramForm::DeleteLine() {
  if (!IsLineIndex(currentLine_)) return;
  qd::DeleteProgramLine(working_.Lines, currentLine_);
  ShowAllLines();
  ShowPanel(currentLine_);
  ProgramLineGrid->setFocus();
  StorePanel();
}

void TProgramForm::CopyProgramBtnClick() {
  app_.Main().SetProgramClipboard(&StoredProgram());
}

void TProgramForm::InsertProgramBtnClick() {
  const qd::DosingProgram* clipboard = app_.Main().ProgramClipboard();
  if (clipboard == nullptr) return;
  // A copy, as the clipboard may be this editor's own stored record.
  const qd::DosingProgram source = *clipboard;
  ++updating_;
  ShowHeader(source);
  --updating_;
  working_.Lines = source.Lines;
  StoreProgram();
  ShowAllLines();
  ShowPanel(currentLine_);
}

void TProgramForm::DeleteProgramBtnClick() {
  qd::DosingProgram fresh;
  fresh.Reset(programIndex_ + 1);
  ++updating_;
  ShowHeader(fresh);
  --updating_;
  working_.Lines = fresh.Lines;
  SetModified(true);
  ShowAllLines();
  ShowPanel(currentLine_);
}

void TProgramForm::ShowRunningLine(int line) {
  if (!isVisible() || !DebugBtn->isChecked()) return;
  if (line < 1 || line > LineCount) return;
  SelectRow(line - 1);
  DebugActiveImage->show();
  debugHold_ = DebugHoldTicks;
}

void TProgramForm::DebugTick() {
  if (debugHold_ <= 0) return;
  if (--debugHold_ > 0) return;
  DebugActiveImage->hide();
  SelectRow(0);
}

void TProgramForm::DebugBtnToggled(bool checked) {
  if (checked) return;
  // The marker goes at once, and the grid no longer jumps back to line 1 when the hold runs out.
  DebugActiveImage->hide();
  debugHold_ = 0;
}

void TProgramForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window restored from the task bar keeps its edits; only showing the window loads the program.
  if (event->spontaneous()) return;
  LoadProgram();
  DebugBtn->setChecked(true);
  DebugActiveImage->hide();
  debugHold_ = 0;
}

void TProgramForm::closeEvent(QCloseEvent* event) {
  if (!modified_) {
    event->accept();
    return;
  }
  switch (ShowMessageDialog(tr("Program modfied, save?"), DialogType::Warning,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      StoreProgram();
      event->accept();
      break;
    case QMessageBox::No:
      // The declined edits go: a later "update before save" must not store them.
      LoadProgram();
      event->accept();
      break;
    default:
      event->ignore();
      break;
  }
}

}  // namespace qd::gui
