#pragma once

#include <QString>
#include <QWidget>

#include "firmware/boot_loader.h"
#include "firmware/intel_hex.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace qd::gui {

class App;

// Programs the controller or the trigger modules from an Intel HEX file through their boot loaders.
// While the window is shown the link hands it the bytes it receives outside frames.
class TFirmwareUpdateForm : public QWidget {
  Q_OBJECT

 public:
  enum class Target { Controller, Trigger };

  explicit TFirmwareUpdateForm(App& app);
  ~TFirmwareUpdateForm() override;

  // Sets the window up for the target and shows it.
  void ShowFor(Target target);
  // Every 100 ms while the window is shown: the loader's time-outs.
  void Tick();

  // Kept by the main window with the preferences.
  QString LastFirmwareFile() const;
  void SetLastFirmwareFile(const QString& path);

  const qd::firmware::BootLoader& Loader() const { return loader_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void AddLabelPair(QGridLayout* grid, QLabel*& caption, const char* captionName, const QString& text,
                    QLabel*& value, const char* valueName);
  void SetTabOrder();
  qd::firmware::BootLoader::Owner MakeLoaderOwner();
  const qd::firmware::FirmwareTarget& CurrentTarget() const;

  void FileNameBtnClick();
  void LoadFile();
  void ShowLoadedFile();
  void RememberFile(const QString& name);
  void StartBtnClick();
  // The load warnings, if any, and the user's answer: true to program anyway.
  bool ConfirmLoadWarnings();
  void ShowLoaderState();
  void ShowFileLabels(bool figures, bool date);

  App& app_;
  Target target_ = Target::Controller;
  qd::firmware::FirmwareImage firmware_;  // Loaded() only after a complete load for the current target
  qd::firmware::BootLoader loader_;

  QGroupBox* FileGroup = nullptr;
  QComboBox* FileNameComboBox = nullptr;
  QPushButton* FileNameBtn = nullptr;
  QPushButton* LoadBtn = nullptr;
  QLabel* FileDateLabel1 = nullptr;
  QLabel* FileDateLabel2 = nullptr;
  QLabel* CodeStartLabel1 = nullptr;
  QLabel* CodeStartLabel2 = nullptr;
  QLabel* CodeEndLabel1 = nullptr;
  QLabel* CodeEndLabel2 = nullptr;
  QLabel* CodeUsedLabel1 = nullptr;
  QLabel* CodeUsedLabel2 = nullptr;
  QLabel* CodeChecksumLabel1 = nullptr;
  QLabel* CodeChecksumLabel2 = nullptr;
  QGroupBox* ProgrammingGroup = nullptr;
  QLabel* StateLabel = nullptr;
  QPushButton* StartBtn = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace qd::gui
