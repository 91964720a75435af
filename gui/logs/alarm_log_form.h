#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace qd::gui {

class App;

// "Alarm log": the alarm history or the alarms active now, as the image holds them, and the clearing
// of the history in the controller.
class TAlarmLogForm : public QWidget {
  Q_OBJECT

 public:
  explicit TAlarmLogForm(App& app);

  // Shows the log of the image; nothing while the window is hidden.
  void ShowAlarmLog();
  // The clear button follows the access rule of the link.
  void LinkStateChanged();

  void ClearAlarmLogBtnClick();
  // The controller or the gateway confirmed the clear.
  void AlarmLogCleared();
  // Saves the alarm history as the CSV of `qdtool log alarms --csv`.
  void ExportCsvBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void SetTabOrder();
  // False when there is no way to the controller.
  // False when nothing went out (not connected: said so).
  bool SendClearRequest();

  App& app_;

  QRadioButton* AlarmHistoryBtn = nullptr;
  QRadioButton* AlarmStateBtn = nullptr;
  QPlainTextEdit* Memo = nullptr;
  QPushButton* ClearAlarmLogBtn = nullptr;
  QLabel* AlarmResetDoneLabel = nullptr;
  QPushButton* ExportCsvBtn = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace qd::gui
