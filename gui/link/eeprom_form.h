#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "link/transfer.h"
#include "model/image_builder.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace qd::gui {

class App;

// "Read / write": moves the controller image between the buffer and the controller, and guards it
// with the system login code check. The transfer itself is the core's; this window shows its view.
class TEEPROMForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int StatusPanelCount = 3;
  static constexpr int DatePanel = 0;
  static constexpr int UsedTextPanel = 1;
  static constexpr int TransferPanel = 2;

  explicit TEEPROMForm(App& app);
  ~TEEPROMForm() override;

  qd::link::SystemTransfer& Transfer() { return transfer_; }

  // Builds the image from the working configuration: the "Used text" panel and the main status bar.
  qd::BuildResult BuildImage();
  // A build or a read shows the text area in use.
  void ConfigChanged(const qd::ConfigChange& change);
  // True when the operation may go on (used by the log resets as well).
  bool CheckLoginCode();
  // The button rule, on every LinkStateChanged and transfer change.
  void UpdateButtons();
  void Tick();

  void ReadBtnClick();
  void WriteBtnClick();
  void WriteSerialNumberBtnClick();
  void StopBtnClick();
  void CloseBtnClick();

  QString StatusPanelText(int panel) const;

  // Tests shorten the remote write's pause between blocks.
  void SetRemoteBlockPauseMs(int milliseconds) { remoteBlockPauseMs_ = milliseconds; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void SetTabOrder();
  qd::link::SystemTransfer::Environment MakeEnvironment();
  void ConnectEvents();
  void PauseBetweenBlocks();
  void ShowView();
  // The checker's findings before a write; true when the write may go on.
  bool ConfirmFindings();
  void ShowTransferStatus(const qd::link::TransferView& view);
  void ImageRead(const qd::ParseResult& result);
  void ShowReadImage(const qd::ParseResult& result);
  void CloseMachineWindows();
  void SetStatusPanel(int panel, const std::string& text);

  App& app_;
  qd::link::SystemTransfer transfer_;
  int remoteBlockPauseMs_ = qd::link::SystemTransfer::RemoteBlockPauseMs;
  // Showing the window hides what the last transfer left in the state label and status panel 2
  // until the transfer says something new.
  bool stateInfoDismissed_ = false;
  std::optional<std::string> dismissedStatusText_;

  QPushButton* ReadBtn = nullptr;
  QPushButton* WriteBtn = nullptr;
  QPushButton* StopBtn = nullptr;
  QPushButton* CloseBtn = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QLabel* ProgessLabel = nullptr;
  QLabel* StateInfoLabel = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* SerialNumberEdit = nullptr;
  QPushButton* WriteSerialNumberBtn = nullptr;
  QLabel* LoginCodeLabel = nullptr;
  QLineEdit* LoginCodeEdit = nullptr;
  std::array<QLabel*, StatusPanelCount> statusPanels_{};
};

}  // namespace qd::gui
