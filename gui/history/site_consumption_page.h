#pragma once

#include <QWidget>
#include <cstdint>

#include "logs/consumption_costs.h"
#include "logs/consumption_log.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace qd::gui {

class ConsumptionChartPanel;

// The consumption of one site over every month the history keeps: the monthly chart, the totals of each
// calendar year and the export of the months as CSV, for all machines or one.
class SiteConsumptionPage : public QWidget {
  Q_OBJECT

 public:
  explicit SiteConsumptionPage(QWidget* parent);

  // The months of site `serial`, oldest first, and the prices their costs take.
  void ShowMonths(std::uint32_t serial, qd::logs::ConsumptionRows months, const qd::logs::PumpPrices& prices);
  void Clear();
  // Saves the months of the chosen machines as the CSV of the log window.
  void ExportCsvBtnClick();

  // The last control Tab reaches, for the window's tab order.
  QWidget* LastInTabOrder() const;

 private:
  void CreateControls();
  // The rows of the machine chosen.
  qd::logs::ConsumptionRows ChosenRows() const;
  void ShowChosenMachine();
  void ShowYears(const qd::logs::ConsumptionRows& rows);

  std::uint32_t serial_ = 0;
  qd::logs::ConsumptionRows months_;
  qd::logs::PumpPrices prices_;

  QLabel* MachineSelectLabel = nullptr;
  QComboBox* MachineSelectComboBox = nullptr;
  QLabel* MonthsLabel = nullptr;
  QPushButton* ExportCsvBtn = nullptr;
  ConsumptionChartPanel* ChartPanel = nullptr;
  QTableWidget* YearGrid = nullptr;
};

}  // namespace qd::gui
