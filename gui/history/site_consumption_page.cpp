#include "gui/history/site_consumption_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "gui/app/text_codec.h"
#include "gui/logs/consumption_chart.h"
#include "gui/logs/csv_export.h"
#include "gui/logs/locale_numbers.h"
#include "history/site_summary.h"
#include "logs/consumption_csv.h"
#include "logs/consumption_series.h"

namespace qd::gui {
namespace {

enum YearGridColumn { YearColumn, MonthsColumn, LitresColumn, WashesColumn, CostColumn, YearColumnCount };

QString MonthText(qd::logs::YearMonth month) {
  return FromCp1252(qd::logs::MonthEntryText(month)).remove(QLatin1Char(','));
}

// "2026-03", as the suggested file name gives a month.
QString FileMonth(qd::logs::YearMonth month) {
  return QStringLiteral("%1-%2")
      .arg(month.year, 4, 10, QLatin1Char('0'))
      .arg(month.month, 2, 10, QLatin1Char('0'));
}

}  // namespace

SiteConsumptionPage::SiteConsumptionPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SiteConsumptionPage"));
  CreateControls();
  Clear();
}

void SiteConsumptionPage::CreateControls() {
  MachineSelectComboBox = new QComboBox(this);
  MachineSelectComboBox->setObjectName(QStringLiteral("MachineSelectComboBox"));
  for (int entry = 0; entry < qd::logs::MachineEntryCount; ++entry)
    MachineSelectComboBox->addItem(FromCp1252(qd::logs::MachineEntryText(entry)));
  MachineSelectLabel = new QLabel(tr("&Machine:"), this);
  MachineSelectLabel->setObjectName(QStringLiteral("MachineSelectLabel"));
  MachineSelectLabel->setBuddy(MachineSelectComboBox);
  MonthsLabel = new QLabel(this);
  MonthsLabel->setObjectName(QStringLiteral("MonthsLabel"));
  MonthsLabel->setAccessibleDescription(tr("Months recorded"));
  ExportCsvBtn = new QPushButton(tr("Export CSV..."), this);
  ExportCsvBtn->setObjectName(QStringLiteral("ExportCsvBtn"));
  ExportCsvBtn->setToolTip(tr("Save the months of the machines chosen as a CSV file"));
  ExportCsvBtn->setAutoDefault(false);
  ChartPanel = new ConsumptionChartPanel(this);
  ChartPanel->setObjectName(QStringLiteral("ChartPanel"));

  YearGrid = new QTableWidget(0, YearColumnCount, this);
  YearGrid->setObjectName(QStringLiteral("YearGrid"));
  YearGrid->setAccessibleName(tr("Consumption by year"));
  YearGrid->setHorizontalHeaderLabels({tr("Year"), tr("Months"), tr("Litres"), tr("Washes"), tr("Cost")});
  YearGrid->horizontalHeaderItem(MonthsColumn)->setToolTip(tr("Months of the year the history holds"));
  YearGrid->horizontalHeaderItem(CostColumn)
      ->setToolTip(tr("At the pump prices of the consumption log window"));
  YearGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  YearGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  YearGrid->setAlternatingRowColors(true);
  YearGrid->setWordWrap(false);
  YearGrid->verticalHeader()->hide();
  YearGrid->horizontalHeader()->setStretchLastSection(true);
  YearGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  auto* top = new QHBoxLayout;
  top->addWidget(MachineSelectLabel);
  top->addWidget(MachineSelectComboBox);
  top->addSpacing(12);
  top->addWidget(MonthsLabel, 1);
  top->addWidget(ExportCsvBtn);
  auto* body = new QHBoxLayout;
  body->addWidget(ChartPanel, 1);
  body->addWidget(YearGrid);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(body, 1);

  QWidget* previous = MachineSelectComboBox;
  for (QWidget* next : std::initializer_list<QWidget*>{
           ExportCsvBtn, ChartPanel->findChild<QRadioButton*>(QStringLiteral("VolumeModeButton")),
           ChartPanel->findChild<QRadioButton*>(QStringLiteral("WashesModeButton")), YearGrid}) {
    QWidget::setTabOrder(previous, next);
    previous = next;
  }

  connect(MachineSelectComboBox, &QComboBox::currentIndexChanged, this, [this] { ShowChosenMachine(); });
  connect(ExportCsvBtn, &QPushButton::clicked, this, &SiteConsumptionPage::ExportCsvBtnClick);
}

QWidget* SiteConsumptionPage::LastInTabOrder() const {
  return YearGrid;
}

void SiteConsumptionPage::ShowMonths(std::uint32_t serial, qd::logs::ConsumptionRows months,
                                     const qd::logs::PumpPrices& prices) {
  serial_ = serial;
  months_ = std::move(months);
  prices_ = prices;
  ShowChosenMachine();
}

void SiteConsumptionPage::Clear() {
  ShowMonths(0, {}, prices_);
}

qd::logs::ConsumptionRows SiteConsumptionPage::ChosenRows() const {
  return qd::logs::SelectedRows(
      months_, {qd::logs::EarliestLogMonth, qd::logs::LatestLogMonth, MachineSelectComboBox->currentIndex()});
}

void SiteConsumptionPage::ShowChosenMachine() {
  const qd::logs::ConsumptionRows rows = ChosenRows();
  std::vector<qd::logs::MonthTotals> chart = qd::logs::MonthlyConsumption(rows);
  if (chart.empty()) {
    MonthsLabel->setText(tr("No consumption recorded."));
  } else if (chart.size() == 1) {
    MonthsLabel->setText(tr("1 month: %1.").arg(MonthText(chart.front().month)));
  } else {
    MonthsLabel->setText(tr("%1 months, %2 to %3.")
                             .arg(chart.size())
                             .arg(MonthText(chart.front().month), MonthText(chart.back().month)));
  }
  ChartPanel->SetMonths(std::move(chart));
  ExportCsvBtn->setEnabled(!rows.empty());
  ShowYears(rows);
}

void SiteConsumptionPage::ShowYears(const qd::logs::ConsumptionRows& rows) {
  using qd::history::Period;
  std::vector<qd::logs::ConsumptionRows> years = qd::history::RowsByPeriod(rows, Period::Year);
  // The latest years first: those a technician asks about.
  std::reverse(years.begin(), years.end());
  const QLocale locale;
  YearGrid->setRowCount(static_cast<int>(years.size()));
  for (int row = 0; row < YearGrid->rowCount(); ++row) {
    const qd::logs::ConsumptionRows& year = years[static_cast<std::size_t>(row)];
    const qd::logs::ConsumptionTotals totals = qd::logs::SumRows(year);
    const qd::logs::ConsumptionCosts costs = qd::logs::RowsCosts(year, prices_);
    const std::array<QString, YearColumnCount> cells = {
        QString::number(year.front().month.year),
        locale.toString(static_cast<qulonglong>(qd::history::RowsByPeriod(year, Period::Month).size())),
        LitresShown(totals.volumeCounts), locale.toString(static_cast<qulonglong>(totals.washTotal)),
        MoneyShown(costs.anyPrice ? std::optional(costs.total) : std::nullopt)};
    for (int column = 0; column < YearColumnCount; ++column) {
      auto* item = new QTableWidgetItem(cells[static_cast<std::size_t>(column)]);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      YearGrid->setItem(row, column, item);
    }
  }
  // As wide as its columns and a scroll bar: the chart takes the rest. The last column takes the scroll
  // bar's room while there is none.
  QHeaderView* header = YearGrid->horizontalHeader();
  header->setStretchLastSection(false);
  YearGrid->resizeColumnsToContents();
  header->setStretchLastSection(true);
  YearGrid->setFixedWidth(header->length() + 2 * YearGrid->frameWidth() +
                          YearGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void SiteConsumptionPage::ExportCsvBtnClick() {
  const qd::logs::ConsumptionRows rows = ChosenRows();
  if (rows.empty()) return;
  const int machine = MachineSelectComboBox->currentIndex();
  // The suggested file name stays English, plain ASCII for every file system.
  const QString machines = machine == 0 ? QStringLiteral("all") : QStringLiteral("machine_%1").arg(machine);
  const QString name = QStringLiteral("consumption_%1_%2_%3_%4.csv")
                           .arg(serial_)
                           .arg(FileMonth(rows.front().month), FileMonth(rows.back().month), machines);
  ExportCsv(tr("Export consumption history"), name, qd::logs::ConsumptionCsv(rows, prices_));
}

}  // namespace qd::gui
