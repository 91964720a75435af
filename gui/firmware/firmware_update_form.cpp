#include "gui/firmware/firmware_update_form.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/app/app.h"
#include "gui/app/file_dialog.h"
#include "gui/app/main_form.h"
#include "gui/app/message_dialog.h"
#include "gui/app/status_text.h"
#include "gui/app/text_codec.h"

namespace qd::gui {
namespace {

using qd::firmware::BootLoader;
using qd::firmware::FirmwareImage;
using qd::firmware::HexError;

constexpr int RememberedFiles = 10;

QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QLabel* Label(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

qd::LocalTime LocalTimeOf(const QDateTime& stamp) {
  const QDateTime local = stamp.toLocalTime();
  qd::LocalTime time;
  time.year = local.date().year();
  time.month = local.date().month();
  time.day = local.date().day();
  time.hour = local.time().hour();
  time.minute = local.time().minute();
  time.second = local.time().second();
  time.millisecond = local.time().msec();
  time.weekday = local.date().dayOfWeek() - 1;
  return time;
}

}  // namespace

TFirmwareUpdateForm::TFirmwareUpdateForm(App& app) : app_(app), loader_(MakeLoaderOwner()) {
  setObjectName(QStringLiteral("FirmwareUpdateForm"));
  setWindowTitle(tr("Firmware update"));
  CreateControls();
  SetTabOrder();
  ShowFileLabels(false, false);
  // The link calls this only while the window is shown (SetLoaderListening).
  app_.Connection().Link().handlers.loaderByte = [this](std::uint8_t byte) { loader_.FirmwareByte(byte); };
  // An unplugged adapter or a change of link ends an update at once rather than after the loader's
  // time-out, and its start request never reaches a controller later.
  connect(&app_.Connection(), &qd::transport::Connection::ConnectionLost, this,
          [this] { loader_.ConnectionLost(); });
}

TFirmwareUpdateForm::~TFirmwareUpdateForm() {
  // The connection goes after this window and must not call back into it.
  qd::link::BusLink& link = app_.Connection().Link();
  link.handlers.loaderByte = nullptr;
  link.SetLoaderListening(false);
  link.SetProgrammingActive(false);
}

BootLoader::Owner TFirmwareUpdateForm::MakeLoaderOwner() {
  BootLoader::Owner owner = app_.Connection().LoaderOwner();
  owner.changed = [this] { ShowLoaderState(); };
  owner.finished = [](qd::firmware::FlashResult result) {
    if (result == qd::firmware::FlashResult::Completed) QApplication::beep();
  };
  return owner;
}

void TFirmwareUpdateForm::CreateControls() {
  FileGroup = new QGroupBox(tr(" File name "), this);
  FileGroup->setObjectName(QStringLiteral("FileGroup"));
  FileNameComboBox = new QComboBox(FileGroup);
  FileNameComboBox->setObjectName(QStringLiteral("FileNameComboBox"));
  FileNameComboBox->setEditable(true);
  FileNameComboBox->setInsertPolicy(QComboBox::NoInsert);
  FileNameComboBox->setMinimumContentsLength(40);
  FileNameComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  // The group's title is the combo's caption.
  FileNameComboBox->setAccessibleName(tr("File name"));
  FileNameBtn = Button("FileNameBtn", QStringLiteral("..."), FileGroup);
  FileNameBtn->setAccessibleName(tr("Choose file"));
  LoadBtn = Button("LoadBtn", tr("Load"), FileGroup);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(FileNameComboBox, 1);
  fileRow->addWidget(FileNameBtn);
  fileRow->addWidget(LoadBtn);
  auto* labels = new QGridLayout;
  labels->setColumnStretch(1, 1);
  AddLabelPair(labels, FileDateLabel1, "FileDateLabel1", tr("File date"), FileDateLabel2, "FileDateLabel2");
  AddLabelPair(labels, CodeStartLabel1, "CodeStartLabel1", tr("Code start"), CodeStartLabel2,
               "CodeStartLabel2");
  AddLabelPair(labels, CodeEndLabel1, "CodeEndLabel1", tr("Code end"), CodeEndLabel2, "CodeEndLabel2");
  AddLabelPair(labels, CodeUsedLabel1, "CodeUsedLabel1", tr("Code used"), CodeUsedLabel2, "CodeUsedLabel2");
  AddLabelPair(labels, CodeChecksumLabel1, "CodeChecksumLabel1", tr("Check sum"), CodeChecksumLabel2,
               "CodeChecksumLabel2");
  auto* fileLayout = new QVBoxLayout(FileGroup);
  fileLayout->addLayout(fileRow);
  fileLayout->addLayout(labels);

  ProgrammingGroup = new QGroupBox(tr(" Programming "), this);
  ProgrammingGroup->setObjectName(QStringLiteral("ProgrammingGroup"));
  StateLabel = Label("StateLabel", {}, ProgrammingGroup);
  StateLabel->setAccessibleDescription(tr("Programming state"));
  StateLabel->setMinimumWidth(200);
  StartBtn = Button("StartBtn", tr("F9: Start"), ProgrammingGroup);
  ProgressBar = new QProgressBar(ProgrammingGroup);
  ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar->setAccessibleName(tr("Progress"));
  ProgressBar->setRange(0, 1);
  ProgressBar->setValue(0);
  auto* programmingRow = new QHBoxLayout;
  programmingRow->addWidget(StateLabel, 1);
  programmingRow->addWidget(StartBtn);
  auto* programmingLayout = new QVBoxLayout(ProgrammingGroup);
  programmingLayout->addLayout(programmingRow);
  programmingLayout->addWidget(ProgressBar);

  CloseBtn = Button("CloseBtn", tr("Close"), this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FileGroup);
  layout->addWidget(ProgrammingGroup);
  layout->addStretch(1);
  layout->addWidget(CloseBtn, 0, Qt::AlignRight);

  connect(FileNameBtn, &QPushButton::clicked, this, &TFirmwareUpdateForm::FileNameBtnClick);
  connect(LoadBtn, &QPushButton::clicked, this, &TFirmwareUpdateForm::LoadFile);
  connect(StartBtn, &QPushButton::clicked, this, &TFirmwareUpdateForm::StartBtnClick);
  connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
}

void TFirmwareUpdateForm::AddLabelPair(QGridLayout* grid, QLabel*& caption, const char* captionName,
                                       const QString& text, QLabel*& value, const char* valueName) {
  const int row = grid->rowCount();
  caption = Label(captionName, text, FileGroup);
  value = Label(valueName, {}, FileGroup);
  value->setAccessibleDescription(text);
  value->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(caption, row, 0);
  grid->addWidget(value, row, 1);
}

void TFirmwareUpdateForm::SetTabOrder() {
  QWidget::setTabOrder(FileNameComboBox, FileNameBtn);
  QWidget::setTabOrder(FileNameBtn, LoadBtn);
  QWidget::setTabOrder(LoadBtn, StartBtn);
  QWidget::setTabOrder(StartBtn, CloseBtn);
}

const qd::firmware::FirmwareTarget& TFirmwareUpdateForm::CurrentTarget() const {
  return target_ == Target::Controller ? qd::firmware::ControllerTarget : qd::firmware::TriggerTarget;
}

void TFirmwareUpdateForm::ShowFor(Target target) {
  // A running update keeps its target; the window only comes to the front.
  const bool retarget = target != target_ && !loader_.Busy();
  if (retarget) target_ = target;
  setWindowTitle(CoreText("IntelHex", CurrentTarget().caption));
  if (retarget && isVisible()) {
    // A file loaded for the other target does not fit this one.
    hide();
  }
  show();
  raise();
  activateWindow();
}

QString TFirmwareUpdateForm::LastFirmwareFile() const {
  return app_.Main().LastFirmwareFile();
}

void TFirmwareUpdateForm::SetLastFirmwareFile(const QString& path) {
  app_.Main().SetLastFirmwareFile(path);
}

void TFirmwareUpdateForm::Tick() {
  loader_.Tick();
}

void TFirmwareUpdateForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A restore after minimising is no new show: the update and the file go on.
  if (event->spontaneous()) return;
  loader_.Reset();
  firmware_ = FirmwareImage{};
  ShowFileLabels(false, false);
  FileNameComboBox->setCurrentText(LastFirmwareFile());
  ProgressBar->setRange(0, 1);
  ProgressBar->setValue(0);
  app_.Connection().Link().SetLoaderListening(true);
  if (!LastFirmwareFile().isEmpty()) StartBtn->setFocus();
}

void TFirmwareUpdateForm::hideEvent(QHideEvent* event) {
  // Minimising is no close: the update goes on.
  if (!event->spontaneous()) {
    // Closing ends a running update: the link answers the controller again.
    loader_.Reset();
    app_.Connection().Link().SetLoaderListening(false);
  }
  QWidget::hideEvent(event);
}

void TFirmwareUpdateForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    // A stray Esc must not abandon an update half way; the Close button still does.
    if (loader_.State() == qd::firmware::FirmwareState::Idle) close();
    return;
  }
  if (event->key() == Qt::Key_F9) {
    StartBtnClick();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TFirmwareUpdateForm::FileNameBtnClick() {
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::Open;
  request.title = tr("Firmware update");
  //: Pairs of a description and its patterns, separated by '|': only the descriptions are translated.
  request.filter = tr("Firmware file (*.hex)|*.hex|Any file (*.*)|*.*");
  request.fileName = FileNameComboBox->currentText();
  const QString chosen = AskFileName(request);
  if (chosen.isEmpty()) return;
  FileNameComboBox->setCurrentText(chosen);
  LoadFile();
}

void TFirmwareUpdateForm::LoadFile() {
  const QString name = FileNameComboBox->currentText();
  FirmwareImage loaded = qd::firmware::LoadIntelHexFile(PathOf(name), CurrentTarget());
  if (loaded.error.kind == HexError::CannotOpen) {
    ShowMessageBox(FromCp1252(loaded.error.text), DialogType::Error);
    return;
  }
  FileDateLabel2->setText(
      FromCp1252(qd::firmware::FileDateText(LocalTimeOf(QFileInfo(name).lastModified()))));
  firmware_ = std::move(loaded);
  if (!firmware_.Loaded()) {
    // The image is half overwritten: nothing of it may be programmed or shown as loaded.
    ShowFileLabels(false, true);
    StateLabel->clear();
    ProgressBar->setRange(0, 1);
    ProgressBar->setValue(0);
    ShowMessageBox(FromCp1252(firmware_.error.text), DialogType::Error);
    return;
  }
  ShowLoadedFile();
  RememberFile(name);
}

void TFirmwareUpdateForm::ShowLoadedFile() {
  const qd::firmware::FirmwareLabels labels = qd::firmware::LabelsFor(firmware_);
  CodeStartLabel2->setText(FromCp1252(labels.codeStart));
  CodeEndLabel2->setText(FromCp1252(labels.codeEnd));
  CodeUsedLabel2->setText(FromCp1252(labels.codeUsed));
  CodeChecksumLabel2->setText(FromCp1252(labels.checksum));
  ShowStatusText(StateLabel, CoreText("BootLoader", qd::firmware::FileLoadedText));
  ProgressBar->setRange(0, std::max<int>(1, firmware_.programmingEnd));
  ProgressBar->setValue(0);
  ShowFileLabels(true, true);
}

void TFirmwareUpdateForm::RememberFile(const QString& name) {
  SetLastFirmwareFile(name);
  const int existing = FileNameComboBox->findText(name);
  if (existing >= 0) FileNameComboBox->removeItem(existing);
  FileNameComboBox->insertItem(0, name);
  while (FileNameComboBox->count() > RememberedFiles)
    FileNameComboBox->removeItem(FileNameComboBox->count() - 1);
  FileNameComboBox->setCurrentIndex(0);
}

void TFirmwareUpdateForm::StartBtnClick() {
  if (!firmware_.Loaded()) LoadFile();
  // The loader refuses an image whose load failed or held no data.
  if (!firmware_.Loaded() || !ConfirmLoadWarnings()) return;
  if (loader_.Start(firmware_) == qd::firmware::StartResult::ControllerBusy)
    ShowMessageBox(FromCp1252(app_.Connection().BusyText()), DialogType::Warning);
}

bool TFirmwareUpdateForm::ConfirmLoadWarnings() {
  const std::vector<std::string> warnings = qd::firmware::LoadWarnings(firmware_);
  if (warnings.empty()) return true;
  QString text;
  for (const std::string& warning : warnings)
    text += FromCp1252(warning) + QStringLiteral("\n\n");
  return ShowMessageBox(text + tr("Program anyway?"), DialogType::Warning, QMessageBox::Yes | QMessageBox::No,
                        windowTitle(), QMessageBox::No) == QMessageBox::Yes;
}

void TFirmwareUpdateForm::ShowLoaderState() {
  ShowStatusText(StateLabel, FromCp1252(loader_.StateText()));
  ProgressBar->setValue(static_cast<int>(
      std::min<std::uint32_t>(loader_.Progress(), static_cast<std::uint32_t>(ProgressBar->maximum()))));
  // A new file must not be loaded under a running update.
  FileGroup->setEnabled(!loader_.Busy());
}

void TFirmwareUpdateForm::ShowFileLabels(bool figures, bool date) {
  FileDateLabel1->setVisible(date);
  FileDateLabel2->setVisible(date);
  for (QLabel* label : {CodeStartLabel1, CodeStartLabel2, CodeEndLabel1, CodeEndLabel2, CodeUsedLabel1,
                        CodeUsedLabel2, CodeChecksumLabel1, CodeChecksumLabel2})
    label->setVisible(figures);
}

}  // namespace qd::gui
