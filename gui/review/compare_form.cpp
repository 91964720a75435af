#include "gui/review/compare_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/text.h"
#include "gui/app/app.h"
#include "gui/app/file_dialog.h"
#include "gui/app/label_colours.h"
#include "gui/app/main_form.h"
#include "gui/app/message_dialog.h"
#include "gui/app/text_codec.h"
#include "gui/link/eeprom_form.h"
#include "gui/link/transfer_environment.h"
#include "gui/review/backup_writer.h"
#include "transport/data_folder.h"

namespace qd::gui {
namespace {

enum Column { ItemColumn, OtherColumn, WorkingColumn, ColumnCount };

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QString ChooseText() {
  return QCoreApplication::translate("qd::gui::TCompareForm",
                                     "Choose what to compare the working configuration with.");
}

}  // namespace

TCompareForm::TCompareForm(App& app)
    : QWidget(nullptr, Qt::Window), app_(app), transfer_(controller_, MakeEnvironment()) {
  setObjectName(QStringLiteral("CompareForm"));
  setWindowTitle(tr("Compare"));
  CreateControls();
  ArrangeControls();
  transfer_.events.changed = [this] { TransferChanged(); };
  transfer_.events.imageRead = [this](const qd::ParseResult& result) { ControllerRead(result); };
  transfer_.events.error = [](const std::string& text) {
    ShowMessageBox(FromCp1252(text), DialogType::Error);
  };
  qd::transport::Connection& link = app_.Connection();
  connect(&link, &qd::transport::Connection::ConnectionLost, this, [this] { transfer_.ConnectionLost(); });
  connect(&link, &qd::transport::Connection::LinkStateChanged, this, [this] { UpdateButtons(); });
  connect(&link, &qd::transport::Connection::OperationsChanged, this, [this] { UpdateButtons(); });
  RefreshBackups();
  UpdateButtons();
}

TCompareForm::~TCompareForm() {
  transfer_.events = {};
}

void TCompareForm::CreateControls() {
  SourceLabel = new QLabel(ChooseText(), this);
  // File names and system names are text, never markup.
  SourceLabel->setTextFormat(Qt::PlainText);
  SourceLabel->setObjectName(QStringLiteral("SourceLabel"));
  SourceLabel->setWordWrap(true);

  DifferenceGrid = new QTableWidget(0, ColumnCount, this);
  DifferenceGrid->setObjectName(QStringLiteral("DifferenceGrid"));
  DifferenceGrid->setAccessibleName(tr("Differences"));
  DifferenceGrid->setHorizontalHeaderLabels({tr("Item"), tr("Other"), tr("Working configuration")});
  DifferenceGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DifferenceGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  DifferenceGrid->setAlternatingRowColors(true);
  DifferenceGrid->setWordWrap(false);
  DifferenceGrid->verticalHeader()->hide();
  DifferenceGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  DifferenceGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  DifferenceGrid->horizontalHeader()->setStretchLastSection(true);
  DifferenceGrid->setColumnWidth(ItemColumn, 300);
  DifferenceGrid->setColumnWidth(OtherColumn, 260);
  DifferenceGrid->setMinimumSize(820, 320);

  SummaryLabel = new QLabel(this);
  SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
  SummaryLabel->setMargin(3);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar->setRange(0, 100);
  ProgressBar->setAccessibleName(tr("Progress"));
  ProgressLabel = new QLabel(this);
  ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));

  BackupList = new QListWidget(this);
  BackupList->setObjectName(QStringLiteral("BackupList"));
  BackupList->setAccessibleName(tr("Backups"));
  BackupList->setMinimumWidth(290);
  connect(BackupList, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
  connect(BackupList, &QListWidget::itemActivated, this, [this] { CompareWithBackupClick(); });

  CompareControllerBtn = Button(this, "CompareControllerBtn", tr("Compare with controller"));
  CompareFileBtn = Button(this, "CompareFileBtn", tr("Compare with file..."));
  CompareBackupBtn = Button(this, "CompareBackupBtn", tr("Compare with backup"));
  StopBtn = Button(this, "StopBtn", tr("Stop"));
  CloseBtn = Button(this, "CloseBtn", tr("Close"));
  connect(CompareControllerBtn, &QPushButton::clicked, this, &TCompareForm::CompareWithControllerClick);
  connect(CompareFileBtn, &QPushButton::clicked, this, &TCompareForm::CompareWithFileClick);
  connect(CompareBackupBtn, &QPushButton::clicked, this, &TCompareForm::CompareWithBackupClick);
  connect(StopBtn, &QPushButton::clicked, this, &TCompareForm::StopBtnClick);
  connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
}

void TCompareForm::ArrangeControls() {
  auto* progress = new QHBoxLayout;
  progress->addWidget(ProgressBar, 1);
  progress->addWidget(ProgressLabel, 1);

  auto* left = new QVBoxLayout;
  left->addWidget(SourceLabel);
  left->addWidget(DifferenceGrid, 1);
  left->addWidget(SummaryLabel);
  left->addLayout(progress);

  auto* backupsLabel = new QLabel(tr("&Backups (newest first)"), this);
  backupsLabel->setBuddy(BackupList);
  auto* right = new QVBoxLayout;
  right->addWidget(backupsLabel);
  right->addWidget(BackupList, 1);
  right->addWidget(CompareBackupBtn);

  auto* body = new QHBoxLayout;
  body->addLayout(left, 1);
  body->addLayout(right);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CompareControllerBtn);
  buttons->addWidget(CompareFileBtn);
  buttons->addWidget(StopBtn);
  buttons->addStretch(1);
  buttons->addWidget(CloseBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(buttons);
}

qd::link::SystemTransfer::Environment TCompareForm::MakeEnvironment() {
  qd::link::SystemTransfer::Environment env = ControllerEnvironment(app_);
  // Only reads: the editors are not touched, and nothing is built or written.
  env.buildImage = [] {};
  env.readOperation = qd::link::Operation::CompareRead;
  return env;
}

void TCompareForm::OnBusReply(qd::link::PayloadView frame) {
  transfer_.OnBusReply(frame);
}

void TCompareForm::OnGatewayData(std::span<const std::uint8_t> message) {
  transfer_.OnGatewayData(message);
}

void TCompareForm::CompareWithControllerClick() {
  if (Busy()) return;
  if (!app_.Connection().LinkReady()) {
    ShowMessageBox(tr("Unable to compare with the controller\n\nSystem not connected."), DialogType::Warning);
    return;
  }
  SourceLabel->setText(tr("Reading the controller's system data (the editors are not touched)..."));
  // Refused, with the reason, while another operation holds the controller.
  transfer_.Read();
  if (!Busy()) SourceLabel->setText(ChooseText());
  TransferChanged();
}

void TCompareForm::StopBtnClick() {
  transfer_.Stop();
}

void TCompareForm::Tick() {
  transfer_.Tick();
}

void TCompareForm::TransferChanged() {
  const qd::link::TransferView& view = transfer_.View();
  ProgressBar->setValue(view.progressBar);
  ProgressLabel->setText(FromCp1252(view.stateInfo.empty() ? view.statusText : view.stateInfo));
  UpdateButtons();
}

void TCompareForm::ControllerRead(const qd::ParseResult& result) {
  if (!result.ok) {
    ShowMessageBox(FromCp1252(result.error), DialogType::Error);
    return;
  }
  // A read refused for its login code holds nothing to compare, and nothing for a backup.
  if (transfer_.Outcome() != qd::link::TransferOutcome::ReadCompleted) return;
  StoreBackupInBackground(controller_, this, [this](const qd::review::StoredBackup&) { RefreshBackups(); });
  const QString source = tr("The working configuration compared with the controller (serial %1), read %2.")
                             .arg(controller_.image.SerialNumber())
                             .arg(QString::fromStdString(qd::LocalDateTime::Now().Text()));
  ShowComparison(controller_.system, tr("Controller"), source);
}

void TCompareForm::CompareWithFileClick() {
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::Open;
  request.title = tr("Compare with file");
  //: File dialog filter: descriptions and patterns separated by '|'; translate the descriptions only
  request.filter = tr("XML-file (*.xml)|*.xml|Image (*.bin)|*.bin|Any file (*.*)|*.*");
  const QString fileName = AskFileName(request);
  if (fileName.isEmpty()) return;
  CompareWithFile(fileName, tr("File"),
                  tr("The working configuration compared with the file %1.").arg(fileName));
}

void TCompareForm::CompareWithBackupClick() {
  const int row = BackupList->currentRow();
  if (row < 0 || row >= static_cast<int>(backups_.size())) return;
  const qd::review::Backup& backup = backups_[static_cast<std::size_t>(row)];
  const auto& file = backup.systemFile.empty() ? backup.image : backup.systemFile;
  CompareWithFile(QString::fromStdString(file.string()), tr("Backup"),
                  tr("The working configuration compared with the backup of controller %1 read %2.")
                      .arg(backup.serial)
                      .arg(QString::fromStdString(backup.time)));
}

void TCompareForm::CompareWithFile(const QString& fileName, const QString& sideName, const QString& source) {
  const qd::review::LoadedSystem loaded = qd::review::LoadSystemForComparison(PathOf(fileName));
  if (!loaded.ok) {
    ShowMessageBox(tr("Unable to compare with \"%1\".\n\n%2").arg(fileName, FromCp1252(loaded.error)),
                   DialogType::Error);
    return;
  }
  ShowComparison(loaded.system, sideName, source);
}

void TCompareForm::ShowComparison(const qd::SystemConfig& other, const QString& sideName,
                                  const QString& source) {
  differences_ = qd::review::CompareSystems(other, qd::review::CanonicalSystem(app_.Config()));
  SourceLabel->setText(source);
  DifferenceGrid->setHorizontalHeaderItem(OtherColumn, new QTableWidgetItem(sideName));
  DifferenceGrid->setRowCount(static_cast<int>(differences_.size()));
  for (int row = 0; row < DifferenceGrid->rowCount(); ++row) {
    const qd::review::Difference& d = differences_[static_cast<std::size_t>(row)];
    const std::array<std::string, ColumnCount> cells = {d.place, d.before, d.after};
    for (int column = 0; column < ColumnCount; ++column) {
      auto* item = new QTableWidgetItem(FromCp1252(cells[static_cast<std::size_t>(column)]));
      item->setToolTip(PlainToolTip(FromCp1252(d.Text())));
      DifferenceGrid->setItem(row, column, item);
    }
  }
  const int count = static_cast<int>(differences_.size());
  if (count == 0) {
    SummaryLabel->setText(tr("No differences."));
    SetLabelBackground(SummaryLabel, Background::Green);
  } else {
    SummaryLabel->setText(count == 1 ? tr("1 difference.") : tr("%1 differences.").arg(count));
    SetLabelBackground(SummaryLabel, Background::Yellow);
  }
  show();
  raise();
}

void TCompareForm::RefreshBackups() {
  BackupList->clear();
  backups_ = qd::review::ListBackups(PathOf(qd::transport::BackupFolder()));
  for (const qd::review::Backup& backup : backups_) {
    const auto& file = backup.systemFile.empty() ? backup.image : backup.systemFile;
    auto* item = new QListWidgetItem(
        //: A backup in the list: when it was read, and the controller's serial number
        tr("%1   controller %2").arg(QString::fromStdString(backup.time)).arg(backup.serial), BackupList);
    item->setToolTip(PlainToolTip(QString::fromStdString(file.string())));
  }
  if (backups_.empty()) {
    auto* item = new QListWidgetItem(tr("No backups yet: every read leaves one."), BackupList);
    item->setFlags(Qt::NoItemFlags);
  }
  UpdateButtons();
}

void TCompareForm::ShowBackups() {
  RefreshBackups();
  show();
  raise();
  activateWindow();
  if (!backups_.empty()) BackupList->setCurrentRow(0);
  BackupList->setFocus();
}

void TCompareForm::UpdateButtons() {
  const bool busy = Busy();
  // A read changes nothing in the controller, but must not run beside another operation.
  const qd::transport::Connection& link = app_.Connection();
  CompareControllerBtn->setEnabled(!busy && link.LinkReady() && !link.RunningOperation());
  CompareFileBtn->setEnabled(!busy);
  const int row = BackupList->currentRow();
  CompareBackupBtn->setEnabled(!busy && row >= 0 && row < static_cast<int>(backups_.size()));
  StopBtn->setEnabled(busy);
}

void TCompareForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !Busy()) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TCompareForm::closeEvent(QCloseEvent* event) {
  // Closing during a read stops it: nobody would see its result.
  if (Busy()) transfer_.Stop();
  QWidget::closeEvent(event);
}

}  // namespace qd::gui
