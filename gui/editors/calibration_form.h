#pragma once

#include <QDialog>
#include <optional>

#include "model/calibration.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qd::gui {

class App;

// "Pump %d calibration": runs a pump by hand for the time 100 ml should take and computes the corrected
// calibration from the volume measured.
class TCalibrationForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int MaxCalibration = qd::MaxCalibration;

  explicit TCalibrationForm(App& app);

  // Modal. The accepted new calibration of pump 1..7 of machine 1..10, or none. An accepted calibration
  // is recorded in the calibration history of the user's data folder.
  std::optional<int> Calibrate(int machine, int pump, int currentCalibration);

  // The file of the calibration history.
  static QString HistoryPath();

  bool TestRunning() const { return run_.Running(); }
  // Every 100 ms while a test runs.
  void Tick();

  void StartTestBtnClick();
  void OKBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Every way of closing passes here: the pump stops at once.
  void done(int result) override;

 private:
  void CreateControls();
  void MeassuredVolumeEditChange();
  // Bit (pump - 1) of the pump on and pump control masks that the link sends to the controller.
  void SetPumpRunning(int pump, bool running);
  void ReleasePump(int pump);
  // The last calibrations of this pump, newest first.
  void ShowHistory();
  void RecordAccepted();

  App& app_;
  int machine_ = 1;
  int pump_ = 1;
  int startingCalibration_ = 0;
  bool accepted_ = false;
  int acceptedValue_ = 0;
  qd::CalibrationRun run_;

  QLabel* CurrentCalibrationLabel = nullptr;
  QLineEdit* CurrentCalibrationEdit = nullptr;
  QLabel* MeassuredVolumeLabel = nullptr;
  QLineEdit* MeassuredVolumeEdit = nullptr;
  QLabel* NewCalibrationLabel = nullptr;
  QLineEdit* NewCalibrationEdit = nullptr;
  QLabel* TestRunningLabel = nullptr;
  QLabel* TestTimerLabel = nullptr;
  QLabel* OverFlowLabel = nullptr;
  QLabel* HistoryLabel = nullptr;
  QPushButton* StartTestBtn = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

}  // namespace qd::gui
