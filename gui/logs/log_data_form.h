#pragma once

#include <QWidget>
#include <array>

#include "logs/consumption_costs.h"
#include "logs/consumption_log.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qd::gui {

class App;
class ConsumptionChartPanel;

// "Log data": the consumption log of the image summed over a range of months, for all machines or
// one, and the reset of the log in the controller. The sums are the core's ConsumptionLogView.
class TLogDataForm : public QWidget {
  Q_OBJECT

 public:
  explicit TLogDataForm(App& app);

  // The log areas changed: the lists are rebuilt at the next show.
  void MarkLogChanged() { logChanged_ = true; }
  bool LogChanged() const { return logChanged_; }
  // The reset button follows the access rule of the link.
  void LinkStateChanged();

  void ResetLogBtnClick();
  // The controller or the gateway confirmed the reset.
  void LogResetDone();
  // Saves the selected months and machines as the CSV of `qdtool log consumption --csv`.
  void ExportCsvBtnClick();
  // The prices as typed; a pump whose text is no price has none.
  const qd::logs::PumpPrices& Prices() const { return prices_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  QGroupBox* CreatePeriodGroup();
  QGroupBox* CreateVolumeGroup();
  QGroupBox* CreateWashCountGroup();
  QGroupBox* CreateCostGroup();
  // The prices kept in the preferences, into the edits.
  void LoadPrices();
  // A price edited: kept in the preferences at once, the costs shown anew.
  void PriceEditChange(std::size_t pump);
  void SetTabOrder();
  void FromToComboBoxChange();
  // False when nothing went out.
  bool SendResetRequest();
  // The lists, the period group and the totals from the view.
  void ShowView();
  void ShowTotals();
  void ShowCosts();
  void ShowChart();

  App& app_;
  bool logChanged_ = true;
  qd::logs::ConsumptionLogView view_;
  qd::logs::PumpPrices prices_;

  QGroupBox* PeriodGroupBox = nullptr;
  QLabel* FromLabel = nullptr;
  QComboBox* FromComboBox = nullptr;
  QLabel* ToLabel = nullptr;
  QComboBox* ToComboBox = nullptr;
  QLabel* MachineSelectLabel = nullptr;
  QComboBox* MachineSelectComboBox = nullptr;
  QLabel* NoLogDataAvailableLabel = nullptr;
  std::array<QLabel*, qd::logs::LoggedPumps> PumpVolumeLabels{};
  QLabel* PumpVolumeLabelTotal = nullptr;
  std::array<QLabel*, qd::logs::LoggedPrograms> ProgramCountLabels{};
  QLabel* ProgramCountLabelNoProgram = nullptr;
  QLabel* ProgramCountLabelTotal = nullptr;
  QLabel* SoftnerCountLabelTotal = nullptr;
  std::array<QLineEdit*, qd::logs::LoggedPumps> PumpPriceEdits{};
  std::array<QLabel*, qd::logs::LoggedPumps> PumpCostLabels{};
  QLabel* CostLabelTotal = nullptr;
  QLabel* CostPerWashLabel = nullptr;
  ConsumptionChartPanel* ChartPanel = nullptr;
  QLabel* ResetLogDoneLabel = nullptr;
  QPushButton* ExportCsvBtn = nullptr;
  QPushButton* ResetLogBtn = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace qd::gui
