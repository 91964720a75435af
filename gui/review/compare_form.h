#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "link/transfer.h"
#include "model/working_config.h"
#include "review/backups.h"
#include "review/config_diff.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace qd::gui {

class App;

// "Compare": what differs between the working configuration and the controller, a file or a backup,
// item by item. The controller is read into a buffer of its own: the editors are never touched. The
// other side is shown as it is, the working configuration as a write would send it.
class TCompareForm : public QWidget {
  Q_OBJECT

 public:
  explicit TCompareForm(App& app);
  ~TCompareForm() override;

  void CompareWithControllerClick();
  void CompareWithFileClick();
  // The backup chosen in the list.
  void CompareWithBackupClick();
  void StopBtnClick();
  // Shows the window with the newest backup chosen, for "Compare with backup...".
  void ShowBackups();

  void Tick();
  // Replies of the controller and the gateway; ignored unless this window reads.
  void OnBusReply(qd::link::PayloadView frame);
  void OnGatewayData(std::span<const std::uint8_t> message);
  // Reading the controller.
  bool Busy() const { return qd::link::IsBusy(transfer_.State()); }
  // The backup list is read again from the backup folder.
  void RefreshBackups();

  const std::vector<qd::review::Difference>& Differences() const { return differences_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void ArrangeControls();
  qd::link::SystemTransfer::Environment MakeEnvironment();
  void TransferChanged();
  void ControllerRead(const qd::ParseResult& result);
  void CompareWithFile(const QString& fileName, const QString& sideName, const QString& source);
  // Shows the differences between `other` and the working configuration; `source` is the whole sentence
  // above them ("The working configuration compared with ..."), so that a translation words it whole.
  void ShowComparison(const qd::SystemConfig& other, const QString& sideName, const QString& source);
  void UpdateButtons();

  App& app_;
  qd::WorkingConfig controller_;  // the controller's system data as read for the comparison
  qd::link::SystemTransfer transfer_;
  std::vector<qd::review::Difference> differences_;
  std::vector<qd::review::Backup> backups_;  // of the BackupList rows

  QLabel* SourceLabel = nullptr;
  QTableWidget* DifferenceGrid = nullptr;
  QLabel* SummaryLabel = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QLabel* ProgressLabel = nullptr;
  QListWidget* BackupList = nullptr;
  QPushButton* CompareControllerBtn = nullptr;
  QPushButton* CompareFileBtn = nullptr;
  QPushButton* CompareBackupBtn = nullptr;
  QPushButton* StopBtn = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace qd::gui
