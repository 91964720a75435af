#include "gui/link/eeprom_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include "gui/app/app.h"
#include "gui/app/config_signals.h"
#include "gui/app/main_form.h"
#include "gui/app/message_dialog.h"
#include "gui/app/status_text.h"
#include "gui/app/text_codec.h"
#include "gui/editors/machine_form.h"
#include "gui/link/transfer_environment.h"
#include "gui/logs/log_data_form.h"
#include "gui/review/backup_writer.h"
#include "gui/review/compare_form.h"
#include "model/image_parser.h"
#include "model/system_commands.h"
#include "review/program_checker.h"
#include "transport/process_events.h"

namespace qd::gui {
namespace {

using qd::link::TransferState;

constexpr int LoginCodeMaxLength = 8;
constexpr int TraceByteCount = 5;

bool IsReading(TransferState state) {
  return state == TransferState::ReadingLocal || state == TransferState::ReadingRemote;
}

QString ProgressStyle(qd::link::ProgressColour colour) {
  switch (colour) {
    case qd::link::ProgressColour::Good:
      return QStringLiteral("QLabel { color: #007000; }");
    case qd::link::ProgressColour::Bad:
      return QStringLiteral("QLabel { color: #c00000; }");
    case qd::link::ProgressColour::Normal:
      break;
  }
  return {};
}

}  // namespace

TEEPROMForm::TEEPROMForm(App& app) : app_(app), transfer_(app.Config(), MakeEnvironment()) {
  setObjectName(QStringLiteral("EEPROMForm"));
  setWindowTitle(tr("Read / write"));
  CreateControls();
  SetTabOrder();
  ConnectEvents();
  connect(&app_.Changes(), &ConfigSignals::Changed, this, &TEEPROMForm::ConfigChanged);
  ShowView();
  // An unplugged adapter or a dropped gateway connection ends the transfer at once.
  connect(&app_.Connection(), &qd::transport::Connection::ConnectionLost, this, [this] {
    stateInfoDismissed_ = false;
    transfer_.ConnectionLost();
  });
}

TEEPROMForm::~TEEPROMForm() {
  transfer_.events = {};
}

void TEEPROMForm::CreateControls() {
  const auto button = [this](const char* name, const QString& caption) {
    auto* widget = new QPushButton(caption, this);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAutoDefault(false);
    return widget;
  };
  ReadBtn = button("ReadBtn", tr("Read"));
  WriteBtn = button("WriteBtn", tr("Write"));
  StopBtn = button("StopBtn", tr("Stop"));
  CloseBtn = button("CloseBtn", tr("Close"));
  WriteSerialNumberBtn = button("WriteSerialNumberBtn", tr("Write serial"));

  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setAccessibleName(tr("Progress"));
  ProgessLabel = new QLabel(this);
  ProgessLabel->setObjectName(QStringLiteral("ProgessLabel"));
  ProgessLabel->setMinimumWidth(220);
  ProgessLabel->setAccessibleDescription(tr("Transfer result"));
  StateInfoLabel = new QLabel(this);
  StateInfoLabel->setObjectName(QStringLiteral("StateInfoLabel"));
  StateInfoLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  StateInfoLabel->setAccessibleDescription(tr("Transfer state"));
  StateInfoLabel->hide();

  Label1 = new QLabel(tr("Serial number"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  SerialNumberEdit = new QLineEdit(this);
  SerialNumberEdit->setObjectName(QStringLiteral("SerialNumberEdit"));
  Label1->setBuddy(SerialNumberEdit);
  LoginCodeLabel = new QLabel(tr("System login code"), this);
  LoginCodeLabel->setObjectName(QStringLiteral("LoginCodeLabel"));
  LoginCodeEdit = new QLineEdit(this);
  LoginCodeEdit->setObjectName(QStringLiteral("LoginCodeEdit"));
  LoginCodeEdit->setMaxLength(LoginCodeMaxLength);
  LoginCodeLabel->setBuddy(LoginCodeEdit);

  auto* statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("StatusBar"));
  statusBar->setSizeGripEnabled(false);
  const std::array<QString, StatusPanelCount> panelNames = {tr("Controller date"), tr("Used text"),
                                                            tr("Transfer status")};
  for (int i = 0; i < StatusPanelCount; ++i) {
    auto* panel = new QLabel(statusBar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setAccessibleDescription(panelNames[static_cast<std::size_t>(i)]);
    panel->setMinimumWidth(i == DatePanel ? 200 : i == UsedTextPanel ? 120 : 170);
    statusBar->addWidget(panel, i == TransferPanel ? 1 : 0);
    statusPanels_[static_cast<std::size_t>(i)] = panel;
  }

  auto* buttons = new QHBoxLayout;
  for (QPushButton* widget : {ReadBtn, WriteBtn, StopBtn})
    buttons->addWidget(widget);
  buttons->addStretch(1);
  buttons->addWidget(CloseBtn);

  auto* progressText = new QHBoxLayout;
  progressText->addWidget(ProgessLabel, 1);
  progressText->addWidget(StateInfoLabel);

  auto* fields = new QGridLayout;
  fields->addWidget(Label1, 0, 0);
  fields->addWidget(SerialNumberEdit, 0, 1);
  fields->addWidget(WriteSerialNumberBtn, 0, 2);
  fields->addWidget(LoginCodeLabel, 1, 0);
  fields->addWidget(LoginCodeEdit, 1, 1);
  fields->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(ProgressBar);
  layout->addLayout(progressText);
  layout->addLayout(fields);
  layout->addStretch(1);
  layout->addWidget(statusBar);

  connect(ReadBtn, &QPushButton::clicked, this, &TEEPROMForm::ReadBtnClick);
  connect(WriteBtn, &QPushButton::clicked, this, &TEEPROMForm::WriteBtnClick);
  connect(StopBtn, &QPushButton::clicked, this, &TEEPROMForm::StopBtnClick);
  connect(CloseBtn, &QPushButton::clicked, this, &TEEPROMForm::CloseBtnClick);
  connect(WriteSerialNumberBtn, &QPushButton::clicked, this, &TEEPROMForm::WriteSerialNumberBtnClick);
  // The image builder takes the code from the configuration, also when the transfer builds.
  connect(LoginCodeEdit, &QLineEdit::textChanged, this,
          [this](const QString& text) { app_.Config().loginCodeEdit = ToCp1252(text); });
}

void TEEPROMForm::SetTabOrder() {
  QWidget::setTabOrder(ReadBtn, WriteBtn);
  QWidget::setTabOrder(WriteBtn, StopBtn);
  QWidget::setTabOrder(StopBtn, CloseBtn);
  QWidget::setTabOrder(CloseBtn, SerialNumberEdit);
  QWidget::setTabOrder(SerialNumberEdit, WriteSerialNumberBtn);
  QWidget::setTabOrder(WriteSerialNumberBtn, LoginCodeEdit);
}

qd::link::SystemTransfer::Environment TEEPROMForm::MakeEnvironment() {
  qd::link::SystemTransfer::Environment env = ControllerEnvironment(app_);
  env.pauseBetweenBlocks = [this] { PauseBetweenBlocks(); };
  env.settleUnsavedEdits = [this] { return !app_.Main().CheckUnsavedPrograms(); };
  env.buildImage = [this] { BuildImage(); };
  return env;
}

void TEEPROMForm::ConnectEvents() {
  qd::link::SystemTransfer::Events& events = transfer_.events;
  events.changed = [this] {
    ShowView();
    UpdateButtons();
  };
  events.error = [](const std::string& text) {
    ShowMessageDialog(FromCp1252(text), DialogType::Error, QMessageBox::Ok);
  };
  events.imageRead = [this](const qd::ParseResult& result) { ImageRead(result); };
  events.remoteTransferStarts = [this] { CloseMachineWindows(); };
  events.gatewayTrace = [](std::span<const std::uint8_t> message) {
    std::array<std::uint8_t, TraceByteCount> head{};
    std::copy_n(message.begin(), std::min(message.size(), head.size()), head.begin());
    qDebug().noquote() << QString::asprintf("Rx: %02X %02X %02X %02X %02X", head[0], head[1], head[2],
                                            head[3], head[4]);
  };
}

void TEEPROMForm::PauseBetweenBlocks() {
  // The window repaints and the socket flows, but the user cannot act in the middle of the write.
  qd::transport::ProcessEventsFor(remoteBlockPauseMs_, QEventLoop::ExcludeUserInputEvents);
  repaint();
}

qd::BuildResult TEEPROMForm::BuildImage() {
  app_.Config().loginCodeEdit = ToCp1252(LoginCodeEdit->text());
  return qd::BuildSystemImage(app_.Config(), qd::LocalDateTime::Now());
}

void TEEPROMForm::ConfigChanged(const qd::ConfigChange& change) {
  if (change.usedTextPercent) SetStatusPanel(UsedTextPanel, qd::UsedTextLabel(*change.usedTextPercent));
}

bool TEEPROMForm::CheckLoginCode() {
  return transfer_.CheckLoginCode();
}

void TEEPROMForm::UpdateButtons() {
  const qd::transport::Connection& link = app_.Connection();
  const bool localMode = link.LocalMode();
  const qd::link::TransferButtons buttons = qd::link::ButtonsFor(
      transfer_.State(), link.LinkReady(), localMode, link.RemoteOnline(), link.RemoteFullAccess());
  // Another window's operation has the controller meanwhile.
  const bool otherRunning = link.RunningOperation() && !qd::link::IsBusy(transfer_.State());
  ReadBtn->setEnabled(buttons.read && !otherRunning);
  WriteBtn->setEnabled(buttons.write && !otherRunning);
  StopBtn->setEnabled(buttons.stop);
  // The serial number is written on the bus only; through the gateway nothing would be sent.
  WriteSerialNumberBtn->setEnabled(buttons.write && localMode && !otherRunning);
}

void TEEPROMForm::Tick() {
  const TransferState before = transfer_.State();
  transfer_.Tick();
  if (transfer_.State() != before) {
    stateInfoDismissed_ = false;
    ShowView();
  }
}

void TEEPROMForm::ReadBtnClick() {
  stateInfoDismissed_ = false;
  transfer_.Read();
  if (IsReading(transfer_.State())) {
    SetStatusPanel(DatePanel, {});
    SetStatusPanel(UsedTextPanel, {});
  }
}

void TEEPROMForm::WriteBtnClick() {
  if (!ConfirmFindings()) return;
  stateInfoDismissed_ = false;
  transfer_.Write();
}

bool TEEPROMForm::ConfirmFindings() {
  const std::vector<qd::review::Finding> findings = qd::review::CheckSystem(app_.Config());
  if (findings.empty()) return true;
  constexpr std::size_t Listed = 8;
  int errors = 0;
  QString list;
  for (std::size_t k = 0; k < findings.size(); ++k) {
    errors += findings[k].severity == qd::review::Severity::Error;
    if (k < Listed) list += QStringLiteral("\n") + FromCp1252(findings[k].Text());
  }
  if (findings.size() > Listed)
    list += QStringLiteral("\n") + tr("... and %1 more").arg(findings.size() - Listed);
  const int warnings = static_cast<int>(findings.size()) - errors;
  // Singular and plural apart rather than "%n", which would change the English source texts.
  const QString errorCount = errors == 1 ? tr("%1 error").arg(errors) : tr("%1 errors").arg(errors);
  const QString warningCount =
      warnings == 1 ? tr("%1 warning").arg(warnings) : tr("%1 warnings").arg(warnings);
  const QString text =
      tr("The program check found %1 and %2:\n%3\n\nWrite anyway?").arg(errorCount, warningCount, list);
  return ShowMessageBox(text, DialogType::Warning, QMessageBox::Yes | QMessageBox::No, tr("Program check"),
                        QMessageBox::No) == QMessageBox::Yes;
}

void TEEPROMForm::WriteSerialNumberBtnClick() {
  stateInfoDismissed_ = false;
  const std::string number = transfer_.WriteSerial(ToCp1252(SerialNumberEdit->text()));
  SerialNumberEdit->setText(FromCp1252(number));
}

void TEEPROMForm::StopBtnClick() {
  stateInfoDismissed_ = false;
  transfer_.Stop();
}

void TEEPROMForm::CloseBtnClick() {
  StopBtnClick();
  close();
}

QString TEEPROMForm::StatusPanelText(int panel) const {
  return statusPanels_.at(static_cast<std::size_t>(panel))->text();
}

void TEEPROMForm::SetStatusPanel(int panel, const std::string& text) {
  ShowStatusText(statusPanels_.at(static_cast<std::size_t>(panel)), FromCp1252(text));
}

void TEEPROMForm::ShowView() {
  const qd::link::TransferView& view = transfer_.View();
  ShowStatusText(ProgessLabel, FromCp1252(view.progressText));
  ProgessLabel->setStyleSheet(ProgressStyle(view.progressColour));
  ProgressBar->setValue(view.progressBar);
  ShowStatusText(StateInfoLabel, FromCp1252(view.stateInfo));
  StateInfoLabel->setVisible(!view.stateInfo.empty() && !stateInfoDismissed_);
  ShowTransferStatus(view);
}

void TEEPROMForm::ShowTransferStatus(const qd::link::TransferView& view) {
  if (dismissedStatusText_ &&
      (view.statusText != *dismissedStatusText_ || qd::link::IsTransferring(transfer_.State()))) {
    dismissedStatusText_.reset();
  }
  SetStatusPanel(TransferPanel, dismissedStatusText_ ? std::string() : view.statusText);
}

void TEEPROMForm::ImageRead(const qd::ParseResult& result) {
  // The core has already taken the image in (or refused it) and told the windows.
  LoginCodeEdit->setText(FromCp1252(app_.Config().loginCodeEdit));
  if (!result.ok) {
    ShowMessageBox(FromCp1252(result.error), DialogType::Error, QMessageBox::Abort);
    return;
  }
  ShowReadImage(result);
  // A read refused for its login code is no read: nothing of it, the code least of all, goes to disk.
  if (transfer_.Outcome() != qd::link::TransferOutcome::ReadCompleted) return;
  StoreBackupInBackground(app_.Config(), this, [this](const qd::review::StoredBackup&) {
    if (app_.HasCompare()) app_.Compare().RefreshBackups();
  });
}

void TEEPROMForm::ShowReadImage(const qd::ParseResult& result) {
  const qd::ControllerImage& image = app_.Config().image;
  SetStatusPanel(DatePanel, qd::ControllerDateText(image));
  SetStatusPanel(UsedTextPanel, qd::UsedTextLabel(result.usedTextPercent));
  SerialNumberEdit->setText(QString::number(image.SerialNumber()));
}

void TEEPROMForm::CloseMachineWindows() {
  for (int i = 0; i < TMainForm::MachineCount; ++i) {
    if (TMachineForm* machine = app_.MachineIfCreated(i)) machine->close();
  }
}

void TEEPROMForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A restore after minimising is no new show: the status and the login code stay.
  if (event->spontaneous()) return;
  stateInfoDismissed_ = true;
  dismissedStatusText_ = transfer_.View().statusText;
  const bool setupMode = app_.Main().SetupMode();
  const bool masterLogin = app_.Main().MasterLoginMode();
  WriteSerialNumberBtn->setVisible(setupMode);
  SerialNumberEdit->setEnabled(setupMode);
  LoginCodeLabel->setVisible(masterLogin);
  LoginCodeEdit->setVisible(masterLogin);
  LoginCodeEdit->clear();
  ShowView();
  UpdateButtons();
}

void TEEPROMForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    if (transfer_.State() == TransferState::Idle) close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TEEPROMForm::closeEvent(QCloseEvent* event) {
  transfer_.Stop();
  QWidget::closeEvent(event);
}

}  // namespace qd::gui
