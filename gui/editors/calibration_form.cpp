#include "gui/editors/calibration_form.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/tenths_text.h"
#include "app/text.h"
#include "gui/app/app.h"
#include "gui/app/file_dialog.h"
#include "gui/app/message_dialog.h"
#include "gui/app/text_codec.h"
#include "gui/editors/system_setup_form.h"
#include "logs/calibration_history.h"
#include "transport/data_folder.h"

namespace qd::gui {
namespace {

// Entries of the history shown for a pump.
constexpr std::size_t HistoryLines = 5;

char DecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.isEmpty() ? '.' : point.front().toLatin1();
}

int WholeNumberOf(const QLineEdit* edit) {
  return qd::WholeNumberOr(ToCp1252(edit->text()));
}

std::uint8_t PumpBit(int pump) {
  return static_cast<std::uint8_t>(1u << (pump - 1));
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

TCalibrationForm::TCalibrationForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("CalibrationForm"));
  setWindowTitle(tr("Pump calibration"));
  setModal(true);
  CreateControls();
}

void TCalibrationForm::CreateControls() {
  CurrentCalibrationEdit = Named(new QLineEdit(this), "CurrentCalibrationEdit");
  MeassuredVolumeEdit = Named(new QLineEdit(this), "MeassuredVolumeEdit");
  NewCalibrationEdit = Named(new QLineEdit(this), "NewCalibrationEdit");
  CurrentCalibrationLabel =
      Named(new QLabel(tr("Current calibration (sec./100ml)"), this), "CurrentCalibrationLabel");
  MeassuredVolumeLabel = Named(new QLabel(tr("Meassured volume (ml)"), this), "MeassuredVolumeLabel");
  NewCalibrationLabel = Named(new QLabel(tr("New calibration (sec./100ml)"), this), "NewCalibrationLabel");
  CurrentCalibrationLabel->setBuddy(CurrentCalibrationEdit);
  MeassuredVolumeLabel->setBuddy(MeassuredVolumeEdit);
  NewCalibrationLabel->setBuddy(NewCalibrationEdit);
  for (QLineEdit* edit : {CurrentCalibrationEdit, MeassuredVolumeEdit, NewCalibrationEdit})
    edit->setMaximumWidth(80);

  TestRunningLabel = Named(new QLabel(tr("Test running..."), this), "TestRunningLabel");
  TestTimerLabel =
      Named(new QLabel(FromCp1252(qd::FormatTenths(0, DecimalSeparator())), this), "TestTimerLabel");
  TestTimerLabel->setAccessibleDescription(tr("Seconds left"));
  TestTimerLabel->setMinimumWidth(50);
  TestTimerLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  OverFlowLabel = Named(new QLabel(tr("Overflow"), this), "OverFlowLabel");
  OverFlowLabel->setToolTip(tr("The computed calibration is above %1 and was capped").arg(MaxCalibration));
  OverFlowLabel->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
  for (QLabel* label : {TestRunningLabel, TestTimerLabel, OverFlowLabel}) {
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
  }

  HistoryLabel = Named(new QLabel(this), "HistoryLabel");
  HistoryLabel->setTextFormat(Qt::PlainText);
  HistoryLabel->setTextFormat(Qt::PlainText);
  HistoryLabel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  HistoryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  StartTestBtn = Named(new QPushButton(tr("F2: Start test"), this), "StartTestBtn");
  OKBtn = Named(new QPushButton(tr("OK"), this), "OKBtn");
  CancelBtn = Named(new QPushButton(tr("Cancel"), this), "CancelBtn");
  OKBtn->setDefault(true);
  connect(StartTestBtn, &QPushButton::clicked, this, &TCalibrationForm::StartTestBtnClick);
  connect(OKBtn, &QPushButton::clicked, this, &TCalibrationForm::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &TCalibrationForm::reject);
  connect(MeassuredVolumeEdit, &QLineEdit::textChanged, this, &TCalibrationForm::MeassuredVolumeEditChange);

  auto* fields = new QGridLayout;
  fields->addWidget(CurrentCalibrationLabel, 0, 0);
  fields->addWidget(CurrentCalibrationEdit, 0, 1);
  fields->addWidget(MeassuredVolumeLabel, 1, 0);
  fields->addWidget(MeassuredVolumeEdit, 1, 1);
  fields->addWidget(NewCalibrationLabel, 2, 0);
  fields->addWidget(NewCalibrationEdit, 2, 1);
  fields->addWidget(OverFlowLabel, 2, 2);
  fields->setColumnStretch(3, 1);

  auto* test = new QHBoxLayout;
  test->addWidget(StartTestBtn);
  test->addWidget(TestRunningLabel);
  test->addWidget(TestTimerLabel);
  test->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addSpacing(8);
  layout->addLayout(test);
  layout->addSpacing(8);
  auto* history = new QGroupBox(tr("Last calibrations"), this);
  history->setObjectName(QStringLiteral("HistoryGroupBox"));
  (new QVBoxLayout(history))->addWidget(HistoryLabel);
  layout->addWidget(history);
  layout->addSpacing(8);
  layout->addLayout(buttons);

  setTabOrder(CurrentCalibrationEdit, MeassuredVolumeEdit);
  setTabOrder(MeassuredVolumeEdit, NewCalibrationEdit);
  setTabOrder(NewCalibrationEdit, StartTestBtn);
  setTabOrder(StartTestBtn, OKBtn);
  setTabOrder(OKBtn, CancelBtn);
}

std::optional<int> TCalibrationForm::Calibrate(int machine, int pump, int currentCalibration) {
  machine_ = machine;
  pump_ = pump;
  startingCalibration_ = currentCalibration;
  accepted_ = false;
  exec();
  if (!accepted_) return std::nullopt;
  return acceptedValue_;
}

void TCalibrationForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  setWindowTitle(tr("Pump %1 calibration").arg(pump_));
  CurrentCalibrationLabel->setText(tr("Current calibration (sec./100ml)"));
  MeassuredVolumeLabel->setText(tr("Meassured volume (ml)"));
  NewCalibrationLabel->setText(tr("New calibration (sec./100ml)"));
  CurrentCalibrationEdit->setText(QString::number(startingCalibration_));
  MeassuredVolumeEdit->setEnabled(true);
  MeassuredVolumeEdit->clear();
  NewCalibrationEdit->clear();
  accepted_ = false;
  TestRunningLabel->hide();
  OverFlowLabel->hide();
  TestTimerLabel->hide();
  ShowHistory();
  MeassuredVolumeEdit->setFocus();
}

QString TCalibrationForm::HistoryPath() {
  return qd::transport::CalibrationHistoryFile();
}

void TCalibrationForm::ShowHistory() {
  std::string error;
  const std::vector<qd::logs::CalibrationRecord> records =
      qd::logs::ReadCalibrationHistory(PathOf(HistoryPath()), error);
  if (!error.empty()) {
    HistoryLabel->setText(tr("The history cannot be read:\n%1").arg(FromCp1252(error)));
    return;
  }
  const std::vector<qd::logs::CalibrationRecord> last =
      qd::logs::LastCalibrations(records, app_.Config().image.SerialNumber(), machine_, pump_, HistoryLines);
  if (last.empty()) {
    HistoryLabel->setText(tr("None recorded for this pump yet."));
    return;
  }
  QStringList lines;
  for (const qd::logs::CalibrationRecord& record : last)
    lines << FromCp1252(qd::logs::CalibrationHistoryText(record));
  HistoryLabel->setText(lines.join(QLatin1Char('\n')));
}

void TCalibrationForm::RecordAccepted() {
  qd::logs::CalibrationRecord record;
  record.when = qd::LocalDateTime::Now();
  record.serial = app_.Config().image.SerialNumber();
  record.machine = machine_;
  record.pump = pump_;
  record.oldValue = startingCalibration_;
  record.newValue = acceptedValue_;
  record.measuredMillilitres = WholeNumberOf(MeassuredVolumeEdit);
  const qd::FileResult written = qd::logs::AppendCalibration(PathOf(HistoryPath()), record);
  if (!written.ok) {
    ShowMessageBox(tr("The calibration was accepted but could not be recorded in the history \"%1\".\n\n%2")
                       .arg(HistoryPath(), FromCp1252(written.error)),
                   DialogType::Warning);
  }
}

void TCalibrationForm::MeassuredVolumeEditChange() {
  const std::optional<qd::NewCalibration> computed = qd::CalibrationFromMeasurement(
      ToCp1252(CurrentCalibrationEdit->text()), ToCp1252(MeassuredVolumeEdit->text()));
  if (!computed) {
    NewCalibrationEdit->clear();
    return;
  }
  OverFlowLabel->setVisible(computed->overflow);
  NewCalibrationEdit->setText(QString::number(computed->value));
}

void TCalibrationForm::StartTestBtnClick() {
  int seconds = WholeNumberOf(NewCalibrationEdit);
  if (seconds <= 0) {
    seconds = WholeNumberOf(CurrentCalibrationEdit);
  } else {
    // The corrected value is the one the next test checks.
    CurrentCalibrationEdit->setText(NewCalibrationEdit->text());
    NewCalibrationEdit->clear();
  }
  if (!run_.Start(pump_, seconds)) return;
  TestRunningLabel->show();
  SetPumpRunning(pump_, true);
}

void TCalibrationForm::Tick() {
  switch (run_.Tick()) {
    case qd::CalibrationRun::Event::None:
      if (run_.PumpOn()) {
        TestTimerLabel->setText(FromCp1252(qd::FormatTenths(run_.TicksLeft(), DecimalSeparator())));
        TestTimerLabel->show();
      }
      break;
    case qd::CalibrationRun::Event::TimeUp:
      TestRunningLabel->hide();
      SetPumpRunning(run_.Pump(), false);
      TestTimerLabel->hide();
      if (isVisible()) MeassuredVolumeEdit->setFocus();
      break;
    case qd::CalibrationRun::Event::ReleaseControl:
      ReleasePump(run_.Pump());
      break;
  }
}

void TCalibrationForm::OKBtnClick() {
  acceptedValue_ = WholeNumberOf(NewCalibrationEdit);
  accepted_ = acceptedValue_ != 0;
  if (accepted_) RecordAccepted();
  accept();
}

void TCalibrationForm::done(int result) {
  SetPumpRunning(pump_, false);
  run_.Stop();
  QDialog::done(result);
}

void TCalibrationForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
    StartTestBtnClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TCalibrationForm::SetPumpRunning(int pump, bool running) {
  if (pump < 1 || pump > qd::CalibrationRun::PumpCount) return;
  qd::link::ManualOutputs& manual = app_.SystemSetup().ManualControl();
  if (running) {
    manual.pumpControl |= PumpBit(pump);
    manual.pumpOn |= PumpBit(pump);
  } else {
    manual.pumpOn &= static_cast<std::uint8_t>(~PumpBit(pump));
    manual.pumpControl &= static_cast<std::uint8_t>(~PumpBit(pump));
  }
}

void TCalibrationForm::ReleasePump(int pump) {
  if (pump < 1 || pump > qd::CalibrationRun::PumpCount) return;
  app_.SystemSetup().ManualControl().pumpControl &= static_cast<std::uint8_t>(~PumpBit(pump));
}

}  // namespace qd::gui
