#pragma once

#include <QDialog>
#include <optional>

#include "logs/consumption_log.h"
#include "review/service_report.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace qd::gui {

class App;

// "Service report": the printable report of the working configuration, with the consumption of a
// chosen range of months and machine, saved as a PDF or sent to a printer.
class TServiceReportForm : public QDialog {
  Q_OBJECT

 public:
  explicit TServiceReportForm(App& app);

  // Fills the month lists from the image (the last 12 logged months chosen) and shows the window.
  void ShowForm();
  // The report as the buttons would print it now.
  qd::review::ServiceReport BuildReport() const;

  void SavePdfBtnClick();
  void PrintBtnClick();

 private:
  void CreateControls();
  // The lists of the logged months, "No log data available" when there are none.
  void FillPeriod();
  // The months of the site in the history store, or why there are none.
  void LoadHistoryMonths();
  qd::logs::ConsumptionSelection Selection() const;

  App& app_;
  std::optional<qd::logs::LoggedMonths> logged_;
  // The site's months from the history store while the box is checked.
  std::optional<qd::logs::ConsumptionRows> historyMonths_;

  QGroupBox* PeriodGroupBox = nullptr;
  QComboBox* FromComboBox = nullptr;
  QComboBox* ToComboBox = nullptr;
  QComboBox* MachineSelectComboBox = nullptr;
  QLabel* NoLogDataAvailableLabel = nullptr;
  QCheckBox* HistoryMonthsCheck = nullptr;
  QLabel* HistoryStatusLabel = nullptr;
  QPushButton* SavePdfBtn = nullptr;
  QPushButton* PrintBtn = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace qd::gui
