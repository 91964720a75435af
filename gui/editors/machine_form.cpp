#include "gui/editors/machine_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "app/text.h"
#include "gui/app/app.h"
#include "gui/app/config_signals.h"
#include "gui/app/text_codec.h"
#include "gui/editors/calibration_form.h"
#include "gui/editors/program_form.h"
#include "gui/editors/trigger_form.h"
#include "link/status_records.h"
#include "model/system_commands.h"
#include "model/trigger_edits.h"

namespace qd::gui {
namespace {

constexpr int EditorStep = 15;        // each program editor opens this far from the previous one
constexpr int MinVisibleHeight = 20;  // of a program editor on the work area
constexpr int MinVisibleWidth = 100;
constexpr int NumberEditWidth = 56;

char DecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.isEmpty() ? '.' : point.front().toLatin1();
}

template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

QLineEdit* NumberEdit(const QString& name, QWidget* parent) {
  auto* edit = Named(new QLineEdit(parent), name);
  edit->setMaximumWidth(NumberEditWidth);
  return edit;
}

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

// A letter shown while a link state holds, with its meaning for tooltips and screen readers.
QLabel* IndicatorLabel(const char* name, const QString& letter, const QString& meaning, QWidget* parent) {
  auto* label = Named(new QLabel(letter, parent), QString::fromLatin1(name));
  label->setToolTip(meaning);
  label->setAccessibleDescription(meaning);
  label->setAlignment(Qt::AlignCenter);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(22);
  QSizePolicy policy = label->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  label->setSizePolicy(policy);
  label->hide();
  return label;
}

// '&' in a program name is text, not a mnemonic.
QString ButtonText(const QString& caption) {
  QString text = caption;
  return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Where a program editor opens: beside the machine window, kept on the work area.
QPoint EditorPlace(const QRect& machine, int programIndex, const QRect& workArea) {
  int top = machine.top() + EditorStep * programIndex;
  int left = machine.left() + machine.width() + EditorStep * programIndex;
  if (workArea.top() + workArea.height() < top + MinVisibleHeight)
    top = workArea.top() + workArea.height() - MinVisibleHeight;
  if (workArea.left() + workArea.width() < left + MinVisibleWidth)
    left = workArea.left() + workArea.width() - MinVisibleWidth;
  return {left, top};
}

// Left so that `window` is centred on `around`. A hidden window takes the size it will show with first.
int CentredLeft(const QRect& around, QWidget& window) {
  if (!window.isVisible()) {
    window.ensurePolished();
    window.adjustSize();
  }
  return around.left() + (around.width() - window.frameGeometry().width()) / 2;
}

}  // namespace

TMachineForm::TMachineForm(App& app, int index, QWidget* parent)
    : QWidget(parent, Qt::Window), app_(app), index_(index), status_(DecimalSeparator()) {
  setObjectName(QStringLiteral("MachineForm%1").arg(index + 1));
  setWindowTitle(tr("Machine %1").arg(index + 1));

  auto* left = new QVBoxLayout;
  left->addWidget(CreateProgramGroup());
  left->addWidget(CreateSettings());
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(CreateCalibrationGroup());
  right->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addLayout(left, 1);
  top->addLayout(right);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(CreateTriggerRow());

  ConnectWriteThrough();
  connect(&app_.Changes(), &ConfigSignals::Changed, this, &TMachineForm::ConfigChanged);
  SetTabOrder();
  // The window sees keys before its controls do.
  for (QWidget* child : findChildren<QWidget*>())
    child->installEventFilter(this);
  ShowSettings();
  ShowProgramCaptions();
  ShowTriggerType(TriggerTypeName());
}

TMachineForm::~TMachineForm() = default;

QString TMachineForm::TriggerTypeName() const {
  return FromCp1252(qd::trigger::TypeName(Machine().Trigger.Type()));
}

QGroupBox* TMachineForm::CreateProgramGroup() {
  ProgramGroupBox =
      Named(new QGroupBox(CoreText("MachineStatusView", qd::link::MachineStatusView::ProgramCaption), this),
            QStringLiteral("ProgramGroupBox"));
  auto* grid = new QGridLayout(ProgramGroupBox);
  for (int i = 0; i < ProgramCount; ++i) {
    auto* button = Named(new QPushButton(ProgramGroupBox), QStringLiteral("Program%1Btn").arg(i + 1));
    button->setMinimumWidth(120);
    connect(button, &QPushButton::clicked, this, [this, i] { ProgramBtnClick(i + 1); });
    grid->addWidget(button, i % 3, i / 3);
    ProgramBtn[i] = button;
  }
  return ProgramGroupBox;
}

QWidget* TMachineForm::CreateSettings() {
  auto* settings = new QWidget(this);
  ShortFlushTimeEdit = NumberEdit(QStringLiteral("ShortFlushTimeEdit"), settings);
  LongFlushTimeEdit = NumberEdit(QStringLiteral("LongFlushTimeEdit"), settings);
  ProgramTimeoutEdit = NumberEdit(QStringLiteral("ProgramTimeoutEdit"), settings);
  SoftnerPumpComboBox = Named(new QComboBox(settings), QStringLiteral("SoftnerPumpComboBox"));
  SoftnerPumpComboBox->addItem(QStringLiteral("-"));
  for (int pump = 1; pump <= PumpCount; ++pump)
    SoftnerPumpComboBox->addItem(QString::number(pump));
  DefaultProgramComboBox = Named(new QComboBox(settings), QStringLiteral("DefaultProgramComboBox"));
  DefaultProgramComboBox->addItem(QStringLiteral("-"));
  for (int p = 1; p <= ProgramCount; ++p)
    DefaultProgramComboBox->addItem(tr("Program %1").arg(p));
  DefaultProgramComboBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  DefaultProgramComboBox->setMinimumContentsLength(16);
  AllowNoProgramBtn =
      Named(new QCheckBox(tr("Allow no program"), settings), QStringLiteral("AllowNoProgramBtn"));
  CommentEdit = Named(new QLineEdit(settings), QStringLiteral("CommentEdit"));

  auto* grid = new QGridLayout(settings);
  grid->setContentsMargins(0, 0, 0, 0);
  int row = 0;
  const auto addRow = [&](const QString& caption, QWidget* field, const QString& unit) {
    grid->addWidget(BuddyLabel(caption, field, settings), row, 0);
    auto* line = new QHBoxLayout;
    line->addWidget(field);
    if (!unit.isEmpty()) line->addWidget(new QLabel(unit, settings));
    line->addStretch(1);
    grid->addLayout(line, row, 1);
    ++row;
  };
  addRow(tr("Short flush time"), ShortFlushTimeEdit, tr("sec."));
  addRow(tr("Long flush time"), LongFlushTimeEdit, tr("sec."));
  addRow(tr("Program timeout"), ProgramTimeoutEdit, tr("min."));
  addRow(tr("Fabric softner"), SoftnerPumpComboBox, {});
  addRow(tr("Default program"), DefaultProgramComboBox, {});
  grid->addWidget(AllowNoProgramBtn, row++, 1);
  grid->addWidget(BuddyLabel(tr("Comment"), CommentEdit, settings), row, 0);
  grid->addWidget(CommentEdit, row, 1);
  grid->setColumnStretch(1, 1);
  return settings;
}

QGroupBox* TMachineForm::CreateCalibrationGroup() {
  CalibrationGroup = Named(new QGroupBox(tr(" Calibration "), this), QStringLiteral("CalibrationGroup"));
  auto* grid = new QGridLayout(CalibrationGroup);
  for (int i = 0; i < PumpCount; ++i) {
    const int pump = i + 1;
    CalibrationEdit[i] = NumberEdit(QStringLiteral("Calibration%1Edit").arg(pump), CalibrationGroup);
    CalibrationTestBtn[i] = Named(new QPushButton(tr("^%1:Test").arg(pump), CalibrationGroup),
                                  QStringLiteral("CalibrationTest%1Btn").arg(pump));
    CalibrationTestBtn[i]->setToolTip(tr("Calibrate pump %1 (Ctrl+%1)").arg(pump));
    CalibrationTestBtn[i]->setAccessibleName(tr("Test pump %1").arg(pump));
    connect(CalibrationTestBtn[i], &QPushButton::clicked, this,
            [this, pump] { CalibrationTestBtnClick(pump); });
    grid->addWidget(BuddyLabel(tr("Pump %1").arg(pump), CalibrationEdit[i], CalibrationGroup), i, 0);
    grid->addWidget(CalibrationEdit[i], i, 1);
    grid->addWidget(new QLabel(tr("sec./100ml"), CalibrationGroup), i, 2);
    grid->addWidget(CalibrationTestBtn[i], i, 3);
  }
  return CalibrationGroup;
}

QLayout* TMachineForm::CreateTriggerRow() {
  TriggerGroup = Named(new QGroupBox(this), QStringLiteral("TriggerGroup"));
  auto* inputs = new QGridLayout(TriggerGroup);
  for (int i = 0; i < InputCount; ++i) {
    const QString input = tr("Input %1").arg(i + 1);
    auto* button = Named(new QPushButton(TriggerGroup), QStringLiteral("TriggerInput%1Btn").arg(i + 1));
    button->setCheckable(true);
    // Display only, but not greyed out: the state must stay readable.
    button->setFocusPolicy(Qt::NoFocus);
    button->setAttribute(Qt::WA_TransparentForMouseEvents);
    button->setFixedSize(40, 24);
    button->setStyleSheet(
        QStringLiteral("QPushButton { border: 1px solid #8a8a8a; border-radius: 3px; }"
                       "QPushButton:checked { background-color: #2f8f2f; color: white;"
                       " font-weight: bold; border: 2px inset #1d5c1d; }"));
    button->setAccessibleName(input);
    auto* weight =
        Named(new QLabel(QString::fromLatin1(qd::link::MachineStatusView::InitialWeightText), TriggerGroup),
              QStringLiteral("TriggerWeightlabel%1").arg(i + 1));
    weight->setAccessibleDescription(tr("Input %1 weight").arg(i + 1));
    weight->setAlignment(Qt::AlignCenter);
    weight->setMinimumWidth(60);
    QSizePolicy policy = weight->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    weight->setSizePolicy(policy);
    weight->hide();
    auto* caption = new QLabel(input, TriggerGroup);
    caption->setAlignment(Qt::AlignCenter);
    inputs->addWidget(caption, 0, i, Qt::AlignHCenter);
    inputs->addWidget(button, 1, i, Qt::AlignHCenter);
    inputs->addWidget(weight, 2, i, Qt::AlignHCenter);
    TriggerInputBtn[i] = button;
    TriggerWeightlabel[i] = weight;
  }
  //: One-letter indicator: a keyboard is connected.
  KeyboardConnectedLabel =
      IndicatorLabel("KeyboardConnectedLabel", tr("K"), tr("Keyboard connected"), TriggerGroup);
  //: One-letter indicator: the trigger module is online.
  TriggerOnlineLabel = IndicatorLabel("TriggerOnlineLabel", tr("T"), tr("Trigger online"), TriggerGroup);
  //: One-letter indicator: serial connection to the machine.
  SerialConnectionLabel =
      IndicatorLabel("SerialConnectionLabel", tr("S"), tr("Serial connection to the machine"), TriggerGroup);
  auto* links = new QHBoxLayout;
  links->addWidget(KeyboardConnectedLabel);
  links->addWidget(TriggerOnlineLabel);
  links->addWidget(SerialConnectionLabel);
  inputs->addLayout(links, 1, InputCount, Qt::AlignVCenter);
  inputs->setColumnStretch(InputCount, 1);

  // Outside the group, which is disabled.
  TriggerSetupBtn = Named(new QPushButton(tr("Setup..."), this), QStringLiteral("TriggerSetupBtn"));
  TriggerSetupBtn->setAccessibleName(tr("Trigger setup"));
  connect(TriggerSetupBtn, &QPushButton::clicked, this, &TMachineForm::TriggerSetupBtnClick);
  auto* row = new QHBoxLayout;
  row->addWidget(TriggerGroup, 1);
  row->addWidget(TriggerSetupBtn, 0, Qt::AlignBottom);
  return row;
}

void TMachineForm::ConnectWriteThrough() {
  const auto text = [this](QLineEdit* edit, std::string qd::MachineConfig::*item) {
    connect(edit, &QLineEdit::textChanged, this, [this, item](const QString& typed) {
      Machine().*item = ToCp1252(typed);
      NoteOwnEdit(qd::ConfigPart::MachineSettings);
    });
  };
  text(ShortFlushTimeEdit, &qd::MachineConfig::ShortFlushTime);
  text(LongFlushTimeEdit, &qd::MachineConfig::LongFlushTime);
  text(ProgramTimeoutEdit, &qd::MachineConfig::ProgramTimeout);
  text(CommentEdit, &qd::MachineConfig::Comment);
  for (int i = 0; i < PumpCount; ++i) {
    connect(CalibrationEdit[i], &QLineEdit::textChanged, this, [this, i](const QString& typed) {
      Machine().Calibration[static_cast<std::size_t>(i)] = ToCp1252(typed);
      NoteOwnEdit(qd::ConfigPart::MachineCalibrations);
    });
  }
  const auto index = [this](QComboBox* combo, int qd::MachineConfig::*item) {
    connect(combo, &QComboBox::currentIndexChanged, this, [this, item](int chosen) {
      Machine().*item = chosen;
      NoteOwnEdit(qd::ConfigPart::MachineSettings);
    });
  };
  index(SoftnerPumpComboBox, &qd::MachineConfig::SoftnerPump);
  index(DefaultProgramComboBox, &qd::MachineConfig::DefaultProgram);
  connect(AllowNoProgramBtn, &QCheckBox::toggled, this, [this](bool checked) {
    Machine().AllowNoProgram = checked;
    NoteOwnEdit(qd::ConfigPart::MachineSettings);
  });
}

void TMachineForm::NoteOwnEdit(std::uint8_t part) {
  const QScopedValueRollback<bool> storing(storingOwnEdit_, true);
  qd::NoteEdit(app_.Config(), part, index_);
}

void TMachineForm::ConfigChanged(const qd::ConfigChange& change) {
  if (storingOwnEdit_) return;
  const bool settings =
      change.Touches(qd::ConfigPart::MachineSettings | qd::ConfigPart::MachineCalibrations, index_);
  const bool programs = change.Touches(qd::ConfigPart::MachinePrograms, index_);
  if (!settings && !programs && !change.Touches(qd::ConfigPart::MachineTrigger, index_)) return;
  // A new machine, or another system: the live state shown belonged to the previous one.
  if (change.cause == qd::ChangeCause::Clear || change.cause == qd::ChangeCause::New ||
      change.cause == qd::ChangeCause::Load) {
    status_.Clear();
    ShowStatus();
  }
  if (settings) ShowSettings();
  if (programs) ShowProgramCaptions();
  if (change.Touches(qd::ConfigPart::MachineTrigger, index_)) ShowTriggerType(TriggerTypeName());
}

void TMachineForm::SetTabOrder() {
  QWidget* previous = ProgramBtn[0];
  const auto next = [&previous](QWidget* widget) {
    setTabOrder(previous, widget);
    previous = widget;
  };
  for (int i = 1; i < ProgramCount; ++i)
    next(ProgramBtn[i]);
  for (QWidget* widget : std::initializer_list<QWidget*>{
           ShortFlushTimeEdit, LongFlushTimeEdit, ProgramTimeoutEdit, SoftnerPumpComboBox,
           DefaultProgramComboBox, AllowNoProgramBtn, CommentEdit}) {
    next(widget);
  }
  for (int i = 0; i < PumpCount; ++i) {
    next(CalibrationEdit[i]);
    next(CalibrationTestBtn[i]);
  }
  next(TriggerSetupBtn);
}

qd::MachineConfig& TMachineForm::Machine() {
  return app_.Config().system.Machines.at(static_cast<std::size_t>(index_));
}

const qd::MachineConfig& TMachineForm::Machine() const {
  return app_.Config().system.Machines.at(static_cast<std::size_t>(index_));
}

TTriggerForm* TMachineForm::TriggerForm() {
  if (triggerForm_ == nullptr) {
    triggerForm_ = new TTriggerForm(app_, *this);
    triggerForm_->SetStatusReceived(moduleHeard_);
  }
  return triggerForm_;
}

bool TMachineForm::IsModified() const {
  if (triggerForm_ != nullptr && triggerForm_->IsModified()) return true;
  return std::any_of(programEditors_.begin(), programEditors_.end(),
                     [](const QPointer<TProgramForm>& editor) { return editor && editor->IsModified(); });
}

bool TMachineForm::CommitEditors() {
  bool stored = true;
  if (triggerForm_ != nullptr) stored = triggerForm_->StoreTrigger() && stored;
  // Only edits still pending: an editor holds nothing else worth storing.
  for (const QPointer<TProgramForm>& editor : programEditors_) {
    if (editor && editor->IsModified()) stored = editor->StoreProgram() && stored;
  }
  return stored;
}

void TMachineForm::CommitTrigger() {
  if (triggerForm_ != nullptr) triggerForm_->StoreTrigger();
}

bool TMachineForm::DiscardEditors() {
  for (const QPointer<TProgramForm>& editor : programEditors_) {
    if (editor) editor->DropPendingEdits();
  }
  return true;
}

void TMachineForm::ShowTriggerType(const QString& text) {
  TriggerGroup->setTitle(QLatin1Char(' ') + text + QLatin1Char(' '));
  status_.HideWeights();
  ShowStatus();
}

void TMachineForm::ApplyStatus(qd::link::PayloadView frame) {
  if (!isVisible()) return;
  status_.SetDecimalSeparator(DecimalSeparator());
  if (frame.Command() == qd::link::command::Status) {
    ApplyControllerStatus(frame);
  } else {
    ApplyTriggerReport(frame);
  }
}

void TMachineForm::ApplyControllerStatus(qd::link::PayloadView frame) {
  const qd::link::ControllerStatus status(frame.Bytes());
  HandOver(status_.ApplyControllerStatus(status, index_, Machine().Trigger.Type()));
  ShowStatus();
}

void TMachineForm::ApplyTriggerReport(qd::link::PayloadView frame) {
  const std::optional<qd::link::TriggerReport> report = qd::link::DecodeTriggerReport(frame.Bytes());
  if (!report || report->machine != index_) return;
  const auto update = status_.ApplyTriggerReport(*report, Machine().Trigger.Type());
  HandOver(update);
  ShowStatus();
  if (update.module && triggerForm_ != nullptr && triggerForm_->isVisible())
    triggerForm_->ShowTriggerStatus(frame);
}

void TMachineForm::ApplyRemoteStatus(std::span<const std::uint8_t> record) {
  if (!isVisible()) return;
  HandOver(status_.ApplyGatewayRecord(qd::link::MachineStatus::FromGatewayRecord(record)));
  ShowStatus();
}

void TMachineForm::HandOver(const qd::link::MachineStatusView::Update& update) {
  if (update.runningLine) {
    if (TProgramForm* editor = programEditors_[static_cast<std::size_t>(update.runningLine->program)])
      editor->ShowRunningLine(update.runningLine->line);
  }
  if (update.module) {
    // The trigger block keeps the module last heard; its window shows it.
    qd::RecordTriggerModule(Machine().Trigger, update.module->kind, update.module->firmwareVersion);
    moduleHeard_ = true;
    if (triggerForm_ != nullptr) triggerForm_->SetStatusReceived(true);
  }
}

void TMachineForm::TickStatus() {
  if (status_.Tick()) {
    moduleHeard_ = false;
    if (triggerForm_ != nullptr) triggerForm_->SetStatusReceived(false);
    ShowStatus();
  }
  for (const QPointer<TProgramForm>& editor : programEditors_) {
    if (editor) editor->DebugTick();
  }
}

void TMachineForm::ShowSettings() {
  const qd::MachineConfig& machine = Machine();
  const auto show = [](QLineEdit* edit, const std::string& text) {
    const QSignalBlocker blocker(edit);
    edit->setText(FromCp1252(text));
  };
  show(ShortFlushTimeEdit, machine.ShortFlushTime);
  show(LongFlushTimeEdit, machine.LongFlushTime);
  show(ProgramTimeoutEdit, machine.ProgramTimeout);
  show(CommentEdit, machine.Comment);
  for (int i = 0; i < PumpCount; ++i)
    show(CalibrationEdit[i], machine.Calibration[static_cast<std::size_t>(i)]);
  {
    const QSignalBlocker blocker(SoftnerPumpComboBox);
    SoftnerPumpComboBox->setCurrentIndex(machine.SoftnerPump);
  }
  {
    const QSignalBlocker blocker(DefaultProgramComboBox);
    DefaultProgramComboBox->setCurrentIndex(machine.DefaultProgram);
  }
  const QSignalBlocker blocker(AllowNoProgramBtn);
  AllowNoProgramBtn->setChecked(machine.AllowNoProgram);
}

void TMachineForm::ShowProgramCaptions() {
  for (int i = 0; i < ProgramCount; ++i) {
    const QString caption = ProgramCaption(i);
    ProgramBtn[i]->setText(ButtonText(caption));
    DefaultProgramComboBox->setItemText(i + 1, caption);
  }
}

void TMachineForm::ShowStatus() {
  ProgramGroupBox->setTitle(FromCp1252(status_.GroupCaption()));
  for (int i = 0; i < InputCount; ++i) {
    const bool active = status_.InputActive(i);
    TriggerInputBtn[i]->setChecked(active);
    TriggerInputBtn[i]->setText(active ? tr("On") : QString());
    TriggerInputBtn[i]->setAccessibleDescription(active ? tr("active") : tr("inactive"));
    const auto& weight = status_.Weight(i);
    TriggerWeightlabel[i]->setText(FromCp1252(weight.text));
    TriggerWeightlabel[i]->setVisible(weight.visible);
  }
  KeyboardConnectedLabel->setVisible(status_.KeyboardConnectedShown());
  TriggerOnlineLabel->setVisible(status_.TriggerOnlineShown());
  SerialConnectionLabel->setVisible(status_.SerialConnectionShown());
  ShowHighlight();
}

void TMachineForm::ShowHighlight() {
  for (int i = 0; i < ProgramCount; ++i) {
    const bool running = i == status_.RunningProgram();
    QPushButton* button = ProgramBtn[i];
    if (button->font().bold() == running && button->font().underline() == running) continue;
    QFont font = button->font();
    font.setBold(running);
    font.setUnderline(running);
    button->setFont(font);
    button->setAccessibleDescription(running ? tr("running") : QString());
  }
}

QString TMachineForm::ProgramCaption(int programIndex) const {
  if (programIndex < 0 || programIndex >= ProgramCount) return {};
  const std::string& name = Machine().Programs[static_cast<std::size_t>(programIndex)].Name;
  if (name.empty()) return tr("Program %1").arg(programIndex + 1);
  return FromCp1252(name);
}

TProgramForm* TMachineForm::ProgramEditor(int programIndex) {
  if (programIndex < 0 || programIndex >= ProgramCount) return nullptr;
  return programEditors_[static_cast<std::size_t>(programIndex)];
}

void TMachineForm::ProgramBtnClick(int tag) {
  if (tag < 1 || tag > ProgramCount) return;
  const int index = tag - 1;
  QPointer<TProgramForm>& editor = programEditors_[static_cast<std::size_t>(index)];
  if (!editor) {
    editor = new TProgramForm(app_, *this, index);
    // The editor belongs to this window, which destroys it when it closes.
    if (editor->parentWidget() != this) editor->setParent(this, Qt::Window);
    const QScreen* screen = this->screen();
    const QRect workArea = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    editor->move(EditorPlace(frameGeometry(), index, workArea));
  }
  editor->show();
  editor->raise();
  editor->activateWindow();
}

void TMachineForm::CalibrationTestBtnClick(int tag) {
  TCalibrationForm& calibration = app_.Calibration();
  if (calibration.isVisible() || tag < 1 || tag > PumpCount) return;
  const int current = qd::WholeNumberOr(Machine().Calibration[static_cast<std::size_t>(tag - 1)]);
  calibration.move(CentredLeft(frameGeometry(), calibration), frameGeometry().top());
  if (const std::optional<int> accepted = calibration.Calibrate(index_ + 1, tag, current))
    qd::AcceptCalibration(app_.Config(), index_, tag, *accepted);
}

void TMachineForm::TriggerSetupBtnClick() {
  TriggerForm();
  const QRect frame = frameGeometry();
  const QPoint placed(CentredLeft(frame, *triggerForm_), frame.top() + frame.height());
  triggerForm_->move(placed);
  triggerForm_->show();
  // Showing settles the window's size; centre it again unless it moved itself onto the screen.
  if (triggerForm_->pos() == placed) triggerForm_->move(CentredLeft(frame, *triggerForm_), placed.y());
  triggerForm_->raise();
  triggerForm_->activateWindow();
}

bool TMachineForm::CloseProgramEditors() {
  for (QPointer<TProgramForm>& editor : programEditors_) {
    if (!editor) continue;
    // An editor asked about its unsaved edits may stay open (Cancel); the machine window then stays too.
    if (!editor->close()) return false;
    editor->deleteLater();
    editor = nullptr;
  }
  return true;
}

void TMachineForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  status_.ResetIndicators();
  ShowStatus();
  ShowSettings();
  ShowProgramCaptions();
}

void TMachineForm::closeEvent(QCloseEvent* event) {
  if (!CloseProgramEditors()) {
    event->ignore();
    return;
  }
  if (triggerForm_ != nullptr) triggerForm_->close();
  QWidget::closeEvent(event);
}

bool TMachineForm::HandleKey(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
    close();
    return true;
  }
  if ((key.modifiers() & Qt::ControlModifier) != 0 && key.key() >= Qt::Key_1 &&
      key.key() < Qt::Key_1 + PumpCount) {
    CalibrationTestBtnClick(key.key() - Qt::Key_1 + 1);
    return true;
  }
  return false;
}

void TMachineForm::keyPressEvent(QKeyEvent* event) {
  if (!HandleKey(*event)) QWidget::keyPressEvent(event);
}

bool TMachineForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && HandleKey(static_cast<const QKeyEvent&>(*event))) return true;
  return QWidget::eventFilter(watched, event);
}

}  // namespace qd::gui
