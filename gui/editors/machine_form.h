#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <span>

#include "link/bus_payload.h"
#include "link/machine_status_view.h"
#include "model/config_change.h"
#include "model/system_config.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace qd::gui {

class App;
class TProgramForm;
class TTriggerForm;

// One washing machine's settings, programs and live status (index 0..9 = machine 1..10). The settings
// live in the working configuration; the controls show them and write every edit through at once.
class TMachineForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int ProgramCount = qd::ProgramCount;
  static constexpr int PumpCount = qd::PumpCount;
  static constexpr int InputCount = qd::link::MachineStatusView::InputCount;

  TMachineForm(App& app, int index, QWidget* parent);
  ~TMachineForm() override;

  int Index() const { return index_; }
  qd::MachineConfig& Machine();
  const qd::MachineConfig& Machine() const;

  // The configuration changed: the controls and program captions show it again. Program editors and the
  // trigger window follow the change themselves.
  void ConfigChanged(const qd::ConfigChange& change);
  // The trigger window or an open program editor holds unsaved edits.
  bool IsModified() const;
  bool CommitEditors();
  // The trigger window's unsaved edits, if any, stored.
  void CommitTrigger();
  bool DiscardEditors();
  void ShowTriggerType(const QString& text);
  // A controller status frame (0x43) or a trigger report of this machine heard on the bus.
  void ApplyStatus(qd::link::PayloadView frame);
  // This machine's 10-byte record of a gateway status message.
  void ApplyRemoteStatus(std::span<const std::uint8_t> record);
  void TickStatus();

  // The caption of program button 0..5: the program's name or "Program %d".
  QString ProgramCaption(int programIndex) const;
  // The machine's trigger window, created when first needed.
  TTriggerForm* TriggerForm();
  // The open editor of program 0..5, or nullptr.
  TProgramForm* ProgramEditor(int programIndex);
  const qd::link::MachineStatusView& StatusView() const { return status_; }

  void ProgramBtnClick(int tag);          // 1..6
  void CalibrationTestBtnClick(int tag);  // 1..7
  void TriggerSetupBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* CreateSettings();
  QGroupBox* CreateProgramGroup();
  QGroupBox* CreateCalibrationGroup();
  QLayout* CreateTriggerRow();
  void ConnectWriteThrough();
  // Tells the other windows of an edit stored from this window's controls.
  void NoteOwnEdit(std::uint8_t part);
  void SetTabOrder();
  bool HandleKey(const QKeyEvent& key);
  // "QD520, Standard": the stored trigger type's name, "" for a type without one.
  QString TriggerTypeName() const;
  void ShowSettings();
  void ShowProgramCaptions();
  void ShowStatus();
  void ShowHighlight();
  void ApplyControllerStatus(qd::link::PayloadView frame);
  void ApplyTriggerReport(qd::link::PayloadView frame);
  void HandOver(const qd::link::MachineStatusView::Update& update);
  // Closes and destroys the open program editors; false when one refused to close.
  bool CloseProgramEditors();

  App& app_;
  int index_;
  qd::link::MachineStatusView status_;
  TTriggerForm* triggerForm_ = nullptr;  // child window, created when first needed
  bool storingOwnEdit_ = false;
  bool moduleHeard_ = false;  // a trigger module's report came in and has not gone stale
  // Created on first use, destroyed when the window closes.
  std::array<QPointer<TProgramForm>, ProgramCount> programEditors_{};

  QGroupBox* ProgramGroupBox = nullptr;
  std::array<QPushButton*, ProgramCount> ProgramBtn{};  // Program1Btn .. Program6Btn
  QLineEdit* ShortFlushTimeEdit = nullptr;
  QLineEdit* LongFlushTimeEdit = nullptr;
  QComboBox* SoftnerPumpComboBox = nullptr;
  QComboBox* DefaultProgramComboBox = nullptr;
  QCheckBox* AllowNoProgramBtn = nullptr;
  QLineEdit* ProgramTimeoutEdit = nullptr;
  QLineEdit* CommentEdit = nullptr;
  QGroupBox* CalibrationGroup = nullptr;
  std::array<QLineEdit*, PumpCount> CalibrationEdit{};       // Calibration1Edit .. Calibration7Edit
  std::array<QPushButton*, PumpCount> CalibrationTestBtn{};  // CalibrationTest1Btn .. CalibrationTest7Btn
  QPushButton* TriggerSetupBtn = nullptr;
  QGroupBox* TriggerGroup = nullptr;
  std::array<QPushButton*, InputCount> TriggerInputBtn{};  // TriggerInput1Btn .. TriggerInput6Btn
  std::array<QLabel*, InputCount> TriggerWeightlabel{};    // TriggerWeightlabel1 .. TriggerWeightlabel6
  QLabel* KeyboardConnectedLabel = nullptr;
  QLabel* TriggerOnlineLabel = nullptr;
  QLabel* SerialConnectionLabel = nullptr;
};

}  // namespace qd::gui
