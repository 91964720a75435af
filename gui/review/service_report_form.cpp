#include "gui/review/service_report_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/app/app.h"
#include "gui/app/file_dialog.h"
#include "gui/app/main_form.h"
#include "gui/app/message_dialog.h"
#include "gui/app/text_codec.h"
#include "report/report_painter.h"
#include "report/report_pdf.h"
#include "store/history_store.h"
#include "transport/pump_prices.h"

namespace qd::gui {
namespace {

constexpr int DefaultMonths = 12;

QComboBox* NamedComboBox(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

QPushButton* NamedButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

}  // namespace

TServiceReportForm::TServiceReportForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("ServiceReportForm"));
  setWindowTitle(tr("Service report"));
  CreateControls();
}

void TServiceReportForm::CreateControls() {
  HistoryMonthsCheck = new QCheckBox(tr("Months from the &history store"), this);
  HistoryMonthsCheck->setObjectName(QStringLiteral("HistoryMonthsCheck"));
  HistoryMonthsCheck->setToolTip(
      tr("Every month recorded of this controller, also those it no longer keeps"));
  HistoryStatusLabel = new QLabel(this);
  HistoryStatusLabel->setObjectName(QStringLiteral("HistoryStatusLabel"));
  HistoryStatusLabel->setAccessibleDescription(tr("History store status"));
  HistoryStatusLabel->setWordWrap(true);
  connect(HistoryMonthsCheck, &QCheckBox::toggled, this, [this] { FillPeriod(); });

  PeriodGroupBox = new QGroupBox(tr("Consumption period"), this);
  PeriodGroupBox->setObjectName(QStringLiteral("PeriodGroupBox"));
  FromComboBox = NamedComboBox("FromComboBox", PeriodGroupBox);
  ToComboBox = NamedComboBox("ToComboBox", PeriodGroupBox);
  auto* period = new QFormLayout(PeriodGroupBox);
  period->addRow(tr("&From"), FromComboBox);
  period->addRow(tr("&To"), ToComboBox);
  NoLogDataAvailableLabel = new QLabel(CoreText("ConsumptionLog", qd::logs::NoLogDataText), this);
  NoLogDataAvailableLabel->setObjectName(QStringLiteral("NoLogDataAvailableLabel"));

  MachineSelectComboBox = NamedComboBox("MachineSelectComboBox", this);
  for (int entry = 0; entry < qd::logs::MachineEntryCount; ++entry)
    MachineSelectComboBox->addItem(FromCp1252(qd::logs::MachineEntryText(entry)));
  auto* machineLabel = new QLabel(tr("&Machine"), this);
  machineLabel->setBuddy(MachineSelectComboBox);
  auto* machineRow = new QHBoxLayout;
  machineRow->addWidget(machineLabel);
  machineRow->addWidget(MachineSelectComboBox, 1);

  SavePdfBtn = NamedButton("SavePdfBtn", tr("Save PDF..."), this);
  PrintBtn = NamedButton("PrintBtn", tr("Print..."), this);
  CloseBtn = NamedButton("CloseBtn", tr("Close"), this);
  SavePdfBtn->setDefault(true);
  connect(SavePdfBtn, &QPushButton::clicked, this, &TServiceReportForm::SavePdfBtnClick);
  connect(PrintBtn, &QPushButton::clicked, this, &TServiceReportForm::PrintBtnClick);
  connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(SavePdfBtn);
  buttons->addWidget(PrintBtn);
  buttons->addWidget(CloseBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(HistoryMonthsCheck);
  layout->addWidget(HistoryStatusLabel);
  layout->addWidget(PeriodGroupBox);
  layout->addWidget(NoLogDataAvailableLabel);
  layout->addLayout(machineRow);
  layout->addStretch(1);
  layout->addLayout(buttons);
}

void TServiceReportForm::ShowForm() {
  const bool read = app_.Config().image.SerialNumber() != 0;
  HistoryMonthsCheck->setEnabled(read);
  if (!read) HistoryMonthsCheck->setChecked(false);
  FillPeriod();
  show();
  raise();
  activateWindow();
}

void TServiceReportForm::LoadHistoryMonths() {
  historyMonths_.reset();
  const std::uint32_t serial = app_.Config().image.SerialNumber();
  QString error;
  const auto location = qd::store::ChosenStoreLocation({}, error);
  const auto store = location ? qd::store::HistoryStore::Open(*location, error) : nullptr;
  if (!store) {
    HistoryStatusLabel->setText(tr("The history store cannot be used: %1").arg(error));
    return;
  }
  qd::logs::ConsumptionRows months = store->Months(serial);
  if (!store->LastError().isEmpty()) {
    HistoryStatusLabel->setText(tr("The history store cannot be used: %1").arg(store->LastError()));
  } else if (months.empty()) {
    HistoryStatusLabel->setText(tr("The history store holds no months of controller %1.").arg(serial));
  } else {
    const qd::logs::LoggedMonths span{months.front().month, months.back().month};
    HistoryStatusLabel->setText(
        tr("%1 months of controller %2 in the history store.").arg(span.Count()).arg(serial));
    historyMonths_ = std::move(months);
  }
}

void TServiceReportForm::FillPeriod() {
  FromComboBox->clear();
  ToComboBox->clear();
  HistoryStatusLabel->setVisible(HistoryMonthsCheck->isChecked());
  if (HistoryMonthsCheck->isChecked()) {
    LoadHistoryMonths();
  } else {
    historyMonths_.reset();
  }
  logged_ =
      historyMonths_
          ? std::optional(qd::logs::LoggedMonths{historyMonths_->front().month, historyMonths_->back().month})
          : qd::logs::FindLoggedMonths(qd::logs::ReadMonthRecords(app_.Config().image));
  if (HistoryMonthsCheck->isChecked() && !historyMonths_) logged_.reset();
  PeriodGroupBox->setVisible(logged_.has_value());
  NoLogDataAvailableLabel->setVisible(!logged_);
  if (!logged_) return;
  for (const std::string& entry : qd::logs::MonthEntries(*logged_)) {
    FromComboBox->addItem(FromCp1252(entry));
    ToComboBox->addItem(FromCp1252(entry));
  }
  const int count = logged_->Count();
  FromComboBox->setCurrentIndex(std::max(0, count - DefaultMonths));
  ToComboBox->setCurrentIndex(count - 1);
}

qd::logs::ConsumptionSelection TServiceReportForm::Selection() const {
  qd::logs::ConsumptionSelection selection;
  if (logged_) {
    selection.from = qd::logs::MonthOfEntry(logged_->oldest, std::max(0, FromComboBox->currentIndex()));
    selection.to = qd::logs::MonthOfEntry(logged_->oldest, std::max(0, ToComboBox->currentIndex()));
  }
  selection.machine = std::max(0, MachineSelectComboBox->currentIndex());
  return selection;
}

qd::review::ServiceReport TServiceReportForm::BuildReport() const {
  qd::review::ServiceReportOptions options;
  options.when = qd::LocalDateTime::Now();
  options.consumption = Selection();
  options.prices = qd::transport::StoredPumpPrices();
  options.historyMonths = historyMonths_;
  // A configuration read from a controller carries its serial number; the last file name alone may be
  // left over from an earlier session.
  const QString fileName = app_.Main().LastSystemFileName();
  if (app_.Config().image.SerialNumber() != 0) {
    options.source = CoreText("ServiceReport", qd::review::ReportSourceController).toStdString();
  } else if (!fileName.isEmpty()) {
    options.source = qd::review::ReportSourceFile(QFileInfo(fileName).fileName().toStdString());
  } else {
    // The report holds UTF-8.
    options.source = tr("working configuration, not saved").toStdString();
  }
  return qd::review::BuildServiceReport(app_.Config(), options);
}

void TServiceReportForm::SavePdfBtnClick() {
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::Save;
  request.title = tr("Save service report");
  //: File dialog filter: descriptions and patterns separated by '|'; translate the descriptions only
  request.filter = tr("PDF file|*.pdf|Any file|*.*");
  request.defaultSuffix = QStringLiteral("pdf");
  const QDate today = QDate::currentDate();
  // The suggested file name stays English, plain ASCII for every file system.
  request.fileName =
      InDocumentsFolder(QStringLiteral("service_report_%1.pdf").arg(today.toString(Qt::ISODate)));
  const QString fileName = AskFileName(request);
  if (fileName.isEmpty()) return;
  const qd::FileResult saved = qd::report::WriteServiceReportPdf(BuildReport(), PathOf(fileName));
  if (!saved.ok) {
    ShowMessageDialog(tr("Unable to save the service report\n\n%1").arg(QString::fromStdString(saved.error)),
                      DialogType::Error, QMessageBox::Ok);
  }
}

void TServiceReportForm::PrintBtnClick() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(qd::report::ServiceReportPageLayout());
  printer.setDocName(tr("Service report"));
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QPainter painter;
  if (!painter.begin(&printer)) {
    ShowMessageDialog(tr("Unable to print the service report\n\nThe printer could not be started."),
                      DialogType::Error, QMessageBox::Ok);
    return;
  }
  qd::report::PaintServiceReport(painter, printer, BuildReport());
  painter.end();
}

}  // namespace qd::gui
