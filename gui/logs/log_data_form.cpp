#include "gui/logs/log_data_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QValidator>

#include "gui/app/app.h"
#include "gui/app/config_signals.h"
#include "gui/app/message_dialog.h"
#include "gui/app/preferences.h"
#include "gui/app/text_codec.h"
#include "gui/logs/confirmed_request.h"
#include "gui/logs/consumption_chart.h"
#include "gui/logs/csv_export.h"
#include "gui/logs/locale_numbers.h"
#include "logs/consumption_csv.h"
#include "logs/consumption_series.h"
#include "logs/log_reset.h"
#include "transport/pump_prices.h"

namespace qd::gui {
namespace {

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QLabel* MakeValueLabel(QWidget* parent, const QString& name) {
  QLabel* label = MakeLabel(parent, name);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("000,000.00 L")));
  return label;
}

QComboBox* MakeCombo(QWidget* parent, const QString& name) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  // The month lists are filled later: wide enough for "September, 2099" from the start.
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo->setMinimumContentsLength(16);
  return combo;
}

void AddRow(QGridLayout* grid, const QString& caption, QLabel* value) {
  const int row = grid->rowCount();
  grid->addWidget(new QLabel(caption, value->parentWidget()), row, 0);
  grid->addWidget(value, row, 1);
}

// Lets through what may become a price as typed; the text that is no price is marked, not refused, so
// that a half-typed number can be finished.
class PriceValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    for (const QChar c : input) {
      if (!c.isDigit() && c != QLatin1Char('.') && c != QLatin1Char(',') && c != QLatin1Char(' '))
        return Invalid;
    }
    return Acceptable;
  }
};

}  // namespace

TLogDataForm::TLogDataForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("LogDataForm"));
  setWindowTitle(tr("Log data"));
  CreateControls();
  SetTabOrder();
  app_.Connection().Dispatch().handlers.logResetDone = [this] { LogResetDone(); };
  connect(&app_.Changes(), &ConfigSignals::Changed, this, [this](const qd::ConfigChange& change) {
    if (!change.Replaces()) return;
    // The log shown belonged to the image replaced; a new system's image keeps the buffer's log.
    if (change.cause != qd::ChangeCause::New) close();
    MarkLogChanged();
  });
  LinkStateChanged();
}

void TLogDataForm::CreateControls() {
  MachineSelectComboBox = MakeCombo(this, QStringLiteral("MachineSelectComboBox"));
  for (int entry = 0; entry < qd::logs::MachineEntryCount; ++entry)
    MachineSelectComboBox->addItem(FromCp1252(qd::logs::MachineEntryText(entry)));
  MachineSelectComboBox->setCurrentIndex(0);
  MachineSelectLabel = MakeLabel(this, QStringLiteral("MachineSelectLabel"), tr("Machine"));
  MachineSelectLabel->setBuddy(MachineSelectComboBox);
  NoLogDataAvailableLabel = MakeLabel(this, QStringLiteral("NoLogDataAvailableLabel"),
                                      CoreText("ConsumptionLog", qd::logs::NoLogDataText));
  ResetLogDoneLabel = MakeLabel(this, QStringLiteral("ResetLogDoneLabel"),
                                CoreText("ConsumptionLog", qd::logs::ResetDoneText));
  ResetLogDoneLabel->hide();
  ResetLogBtn = new QPushButton(tr("Reset log"), this);
  ResetLogBtn->setObjectName(QStringLiteral("ResetLogBtn"));
  ExportCsvBtn = new QPushButton(tr("Export CSV..."), this);
  ExportCsvBtn->setObjectName(QStringLiteral("ExportCsvBtn"));
  ExportCsvBtn->setToolTip(tr("Save the selected months and machines as a CSV file"));
  CloseBtn = new QPushButton(tr("Close"), this);
  CloseBtn->setObjectName(QStringLiteral("CloseBtn"));

  auto* selection = new QHBoxLayout;
  selection->addWidget(CreatePeriodGroup());
  selection->addWidget(NoLogDataAvailableLabel);
  selection->addStretch(1);
  auto* machine = new QHBoxLayout;
  machine->addWidget(MachineSelectLabel);
  machine->addWidget(MachineSelectComboBox);
  machine->addStretch(1);
  auto* totals = new QHBoxLayout;
  totals->addWidget(CreateVolumeGroup());
  totals->addWidget(CreateWashCountGroup());
  totals->addWidget(CreateCostGroup());
  ChartPanel = new ConsumptionChartPanel(this);
  ChartPanel->setObjectName(QStringLiteral("ChartPanel"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ResetLogBtn);
  buttons->addWidget(ResetLogDoneLabel);
  buttons->addStretch(1);
  buttons->addWidget(ExportCsvBtn);
  buttons->addWidget(CloseBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(selection);
  layout->addLayout(machine);
  layout->addLayout(totals);
  layout->addWidget(ChartPanel, 1);
  layout->addLayout(buttons);

  for (QComboBox* combo : {FromComboBox, ToComboBox, MachineSelectComboBox}) {
    connect(combo, &QComboBox::currentIndexChanged, this, &TLogDataForm::FromToComboBoxChange);
  }
  connect(ResetLogBtn, &QPushButton::clicked, this, &TLogDataForm::ResetLogBtnClick);
  connect(ExportCsvBtn, &QPushButton::clicked, this, &TLogDataForm::ExportCsvBtnClick);
  connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
}

QGroupBox* TLogDataForm::CreatePeriodGroup() {
  PeriodGroupBox = new QGroupBox(tr("Period"), this);
  PeriodGroupBox->setObjectName(QStringLiteral("PeriodGroupBox"));
  FromComboBox = MakeCombo(PeriodGroupBox, QStringLiteral("FromComboBox"));
  ToComboBox = MakeCombo(PeriodGroupBox, QStringLiteral("ToComboBox"));
  FromLabel = MakeLabel(PeriodGroupBox, QStringLiteral("FromLabel"), tr("From"));
  FromLabel->setBuddy(FromComboBox);
  ToLabel = MakeLabel(PeriodGroupBox, QStringLiteral("ToLabel"), tr("To"));
  ToLabel->setBuddy(ToComboBox);
  auto* grid = new QGridLayout(PeriodGroupBox);
  grid->addWidget(FromLabel, 0, 0);
  grid->addWidget(FromComboBox, 0, 1);
  grid->addWidget(ToLabel, 1, 0);
  grid->addWidget(ToComboBox, 1, 1);
  return PeriodGroupBox;
}

QGroupBox* TLogDataForm::CreateVolumeGroup() {
  auto* group = new QGroupBox(tr(" Volume "), this);
  group->setObjectName(QStringLiteral("VolumeGroupBox"));
  auto* grid = new QGridLayout(group);
  for (std::size_t p = 0; p < PumpVolumeLabels.size(); ++p) {
    PumpVolumeLabels[p] = MakeValueLabel(group, QStringLiteral("PumpVolumeLabel%1").arg(p + 1));
    AddRow(grid, tr("Pump %1").arg(p + 1), PumpVolumeLabels[p]);
  }
  PumpVolumeLabelTotal = MakeValueLabel(group, QStringLiteral("PumpVolumeLabelTotal"));
  AddRow(grid, tr("Total"), PumpVolumeLabelTotal);
  grid->setRowStretch(grid->rowCount(), 1);
  return group;
}

QGroupBox* TLogDataForm::CreateWashCountGroup() {
  auto* group = new QGroupBox(tr(" Wash count "), this);
  group->setObjectName(QStringLiteral("WashCountGroupBox"));
  auto* grid = new QGridLayout(group);
  for (std::size_t p = 0; p < ProgramCountLabels.size(); ++p) {
    ProgramCountLabels[p] = MakeValueLabel(group, QStringLiteral("ProgramCountLabel%1").arg(p + 1));
    AddRow(grid, tr("Program %1").arg(p + 1), ProgramCountLabels[p]);
  }
  ProgramCountLabelNoProgram = MakeValueLabel(group, QStringLiteral("ProgramCountLabelNoProgram"));
  AddRow(grid, tr("No program"), ProgramCountLabelNoProgram);
  ProgramCountLabelTotal = MakeValueLabel(group, QStringLiteral("ProgramCountLabelTotal"));
  AddRow(grid, tr("Total"), ProgramCountLabelTotal);
  SoftnerCountLabelTotal = MakeValueLabel(group, QStringLiteral("SoftnerCountLabelTotal"));
  AddRow(grid, tr("Softner count"), SoftnerCountLabelTotal);
  grid->setRowStretch(grid->rowCount(), 1);
  return group;
}

QGroupBox* TLogDataForm::CreateCostGroup() {
  auto* group = new QGroupBox(tr(" Costs "), this);
  group->setObjectName(QStringLiteral("CostGroupBox"));
  auto* grid = new QGridLayout(group);
  grid->addWidget(new QLabel(tr("Price per litre"), group), 0, 1);
  grid->addWidget(new QLabel(tr("Cost"), group), 0, 2, Qt::AlignRight);
  for (std::size_t p = 0; p < PumpPriceEdits.size(); ++p) {
    QLineEdit* edit = new QLineEdit(group);
    edit->setObjectName(QStringLiteral("PumpPriceEdit%1").arg(p + 1));
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000.000")));
    //: Shown in an empty price field: the pump has no price
    edit->setPlaceholderText(tr("none"));
    edit->setToolTip(tr("Price per litre of the detergent of pump %1").arg(p + 1));
    edit->setAccessibleName(edit->toolTip());
    edit->setValidator(new PriceValidator(edit));
    connect(edit, &QLineEdit::textEdited, this, [this, p] { PriceEditChange(p); });
    PumpPriceEdits[p] = edit;
    PumpCostLabels[p] = MakeValueLabel(group, QStringLiteral("PumpCostLabel%1").arg(p + 1));
    const int row = static_cast<int>(p) + 1;
    grid->addWidget(new QLabel(tr("Pump %1").arg(p + 1), group), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(PumpCostLabels[p], row, 2);
  }
  CostLabelTotal = MakeValueLabel(group, QStringLiteral("CostLabelTotal"));
  CostPerWashLabel = MakeValueLabel(group, QStringLiteral("CostPerWashLabel"));
  const int row = grid->rowCount();
  grid->addWidget(new QLabel(tr("Total"), group), row, 0);
  grid->addWidget(CostLabelTotal, row, 2);
  grid->addWidget(new QLabel(tr("Per wash"), group), row + 1, 0);
  grid->addWidget(CostPerWashLabel, row + 1, 2);
  grid->setRowStretch(grid->rowCount(), 1);
  return group;
}

void TLogDataForm::SetTabOrder() {
  QWidget::setTabOrder(FromComboBox, ToComboBox);
  QWidget::setTabOrder(ToComboBox, MachineSelectComboBox);
  QWidget* previous = MachineSelectComboBox;
  for (QLineEdit* edit : PumpPriceEdits) {
    QWidget::setTabOrder(previous, edit);
    previous = edit;
  }
  for (QRadioButton* mode : ChartPanel->findChildren<QRadioButton*>()) {
    QWidget::setTabOrder(previous, mode);
    previous = mode;
  }
  QWidget::setTabOrder(previous, ResetLogBtn);
  QWidget::setTabOrder(ResetLogBtn, ExportCsvBtn);
  QWidget::setTabOrder(ExportCsvBtn, CloseBtn);
}

void TLogDataForm::LinkStateChanged() {
  ResetLogBtn->setEnabled(app_.Connection().MayStart(qd::link::Operation::LogReset));
}

void TLogDataForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  LoadPrices();
  if (!logChanged_) {
    ShowCosts();
    return;
  }
  logChanged_ = false;
  ResetLogDoneLabel->hide();
  view_.Rebuild(app_.Config().image);
  ShowView();
}

void TLogDataForm::closeEvent(QCloseEvent* event) {
  // A confirmation still awaited no longer holds the controller.
  app_.Connection().End(qd::link::Operation::LogReset, false);
  QWidget::closeEvent(event);
}

void TLogDataForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TLogDataForm::ShowView() {
  QStringList entries;
  for (const std::string& entry : view_.Entries())
    entries << FromCp1252(entry);
  for (QComboBox* combo : {FromComboBox, ToComboBox}) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(entries);
  }
  {
    const QSignalBlocker blocker(FromComboBox);
    FromComboBox->setCurrentIndex(view_.FromEntry());
  }
  {
    const QSignalBlocker blocker(ToComboBox);
    ToComboBox->setCurrentIndex(view_.ToEntry());
  }
  NoLogDataAvailableLabel->setVisible(!view_.HasData());
  PeriodGroupBox->setVisible(view_.HasData());
  ExportCsvBtn->setEnabled(view_.HasData());
  ShowTotals();
}

void TLogDataForm::FromToComboBoxChange() {
  view_.Select(app_.Config().image, FromComboBox->currentIndex(), ToComboBox->currentIndex(),
               MachineSelectComboBox->currentIndex());
  ShowTotals();
}

void TLogDataForm::ShowTotals() {
  const qd::logs::ConsumptionTexts texts = qd::logs::ShowTotals(view_.Totals(), CoreSeparators);
  // Nothing included shows fixed texts; only computed volumes take the user's separators.
  auto volume = [&](const std::string& text) {
    return texts.enabled ? WithLocaleSeparators(text) : FromCp1252(text);
  };
  auto show = [&](QLabel* label, const QString& text) {
    label->setText(text);
    label->setEnabled(texts.enabled);
  };
  for (std::size_t p = 0; p < PumpVolumeLabels.size(); ++p)
    show(PumpVolumeLabels[p], volume(texts.pumpVolumes[p]));
  show(PumpVolumeLabelTotal, volume(texts.volumeTotal));
  for (std::size_t p = 0; p < ProgramCountLabels.size(); ++p)
    show(ProgramCountLabels[p], FromCp1252(texts.programWashes[p]));
  show(ProgramCountLabelNoProgram, FromCp1252(texts.noProgramWashes));
  show(ProgramCountLabelTotal, FromCp1252(texts.washTotal));
  show(SoftnerCountLabelTotal, FromCp1252(texts.softnerCount));
  ShowCosts();
  ShowChart();
}

void TLogDataForm::ShowChart() {
  const std::optional<qd::logs::ConsumptionSelection>& selection = view_.Selection();
  ChartPanel->SetMonths(
      selection ? qd::logs::MonthlyConsumption(qd::logs::ReadMonthRecords(app_.Config().image), *selection)
                : std::vector<qd::logs::MonthTotals>{});
}

void TLogDataForm::ShowCosts() {
  const std::optional<qd::logs::ConsumptionSelection>& selection = view_.Selection();
  const qd::logs::ConsumptionCosts costs =
      selection
          ? qd::logs::SelectionCosts(qd::logs::ReadMonthRecords(app_.Config().image), *selection, prices_)
          : qd::logs::ConsumptionCosts{};
  const bool enabled = view_.Totals().anyIncluded;
  auto money = [](const std::optional<std::int64_t>& hundredths) {
    return hundredths ? WithLocaleSeparators(qd::logs::MoneyText(*hundredths, CoreSeparators))
                      : QStringLiteral("\u2013");
  };
  for (std::size_t p = 0; p < PumpCostLabels.size(); ++p) {
    PumpCostLabels[p]->setText(money(prices_[p] ? std::optional(costs.pumps[p].value_or(0)) : std::nullopt));
    PumpCostLabels[p]->setEnabled(enabled);
  }
  CostLabelTotal->setText(money(costs.anyPrice ? std::optional(costs.total) : std::nullopt));
  CostLabelTotal->setEnabled(enabled);
  CostPerWashLabel->setText(money(costs.anyPrice ? costs.perWash : std::nullopt));
  CostPerWashLabel->setEnabled(enabled);
}

void TLogDataForm::LoadPrices() {
  prices_ = qd::transport::StoredPumpPrices();
  const char decimal = QLocale().decimalPoint().front().toLatin1();
  for (std::size_t p = 0; p < PumpPriceEdits.size(); ++p) {
    PumpPriceEdits[p]->setText(prices_[p] ? QString::fromStdString(qd::logs::PriceText(*prices_[p], decimal))
                                          : QString());
    PumpPriceEdits[p]->setStyleSheet(QString());
  }
}

void TLogDataForm::PriceEditChange(std::size_t pump) {
  QLineEdit* edit = PumpPriceEdits[pump];
  const QString text = edit->text().trimmed();
  prices_[pump] = qd::logs::ParsePricePerLitre(text.toStdString());
  const bool refused = !text.isEmpty() && !prices_[pump];
  edit->setStyleSheet(refused ? QStringLiteral("QLineEdit { background: #ffd7d7; }") : QString());
  const std::unique_ptr<QSettings> store = OpenPreferences();
  qd::transport::WritePumpPrices(*store, prices_);
  ShowCosts();
}

void TLogDataForm::ExportCsvBtnClick() {
  const std::optional<qd::logs::ConsumptionSelection>& selection = view_.Selection();
  if (!selection) return;
  const auto month = [](qd::logs::YearMonth when) {
    return QStringLiteral("%1-%2")
        .arg(when.year, 4, 10, QLatin1Char('0'))
        .arg(when.month, 2, 10, QLatin1Char('0'));
  };
  // The suggested file name stays English, plain ASCII for every file system.
  const QString machines =
      selection->machine == 0 ? QStringLiteral("all") : QStringLiteral("machine_%1").arg(selection->machine);
  const QString name =
      QStringLiteral("consumption_%1_%2_%3.csv").arg(month(selection->from), month(selection->to), machines);
  ExportCsv(tr("Export consumption log"), name,
            qd::logs::ConsumptionCsv(qd::logs::ReadMonthRecords(app_.Config().image), *selection, prices_));
}

void TLogDataForm::ResetLogBtnClick() {
  ResetLogDoneLabel->hide();
  RunConfirmedRequest(app_, qd::link::Operation::LogReset,
                      CoreText("ConsumptionLog", qd::logs::ResetLogQuestion),
                      [this] { return SendResetRequest(); });
}

bool TLogDataForm::SendResetRequest() {
  qd::transport::Connection& link = app_.Connection();
  const qd::logs::ResetLinkState state{link.LocalMode(), link.RemoteLoggedIn(), link.RemoteOnline()};
  switch (qd::logs::ConsumptionLogResetRoute(state)) {
    case qd::logs::ResetRoute::Bus:
      // A request the link cannot queue is not retried; "Reset done" only follows the confirmation.
      return link.QueueRequest(qd::logs::ConsumptionLogResetRequest, qd::link::ControllerAddress, {});
    case qd::logs::ResetRoute::Gateway:
      return link.SendGatewayMessage(qd::logs::GatewayConsumptionLogReset);
    case qd::logs::ResetRoute::None:
      break;
  }
  return false;
}

void TLogDataForm::LogResetDone() {
  app_.Connection().End(qd::link::Operation::LogReset, true);
  view_.ResetDone(app_.Config().image);
  ShowView();
  ResetLogDoneLabel->show();
}

}  // namespace qd::gui
