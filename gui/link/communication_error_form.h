#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qd::gui {

class App;

// "Warning, communication error": the retry and checksum error counts, modeless and always on top.
// Closing it (Close, Esc or the close box) clears both counts in the link.
class TCommunicationErrorForm : public QDialog {
  Q_OBJECT

 public:
  explicit TCommunicationErrorForm(App& app);

  void ShowCounts(int retryCount, int checksumErrorCount);

 protected:
  // Every way of closing a dialog ends here: the button and Esc through reject(), the close box through
  // closeEvent's reject().
  void done(int result) override;

 private:
  App& app_;
  QLabel* RetryErrorLabel = nullptr;
  QLabel* CheckSumErrorLabel = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace qd::gui
