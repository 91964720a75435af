#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QStatusBar;

namespace qd::gui {

class App;

// "Copy Machine": copies one machine's settings, programs and trigger block to another machine or to
// all others.
class TCopyMachineForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int AllEntry = 10;  // "All" in CopyToCombo

  explicit TCopyMachineForm(App& app);

  void CopyBtnClick();
  QString StatusText() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CopyMachine(int from, int to);

  App& app_;
  QLabel* CopyFromLabel = nullptr;
  QComboBox* CopyFromCombo = nullptr;
  QLabel* CopyToLabel = nullptr;
  QComboBox* CopyToCombo = nullptr;
  QPushButton* CopyBtn = nullptr;
  QPushButton* CloseBtn = nullptr;
  QStatusBar* StatusBar = nullptr;
};

}  // namespace qd::gui
