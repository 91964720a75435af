#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "link/bus_link.h"
#include "link/bus_payload.h"
#include "model/config_change.h"
#include "model/manual_control.h"
#include "model/system_config.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace qd::gui {

class App;

// The system-wide settings, alarms, manual control and the controller's identity. The controls show
// and edit App::Config().system directly: an edit is in the working configuration at once, so it
// survives closing the window and goes into the next built image.
class TSystemSetupForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int AlarmKindCount = qd::AlarmKinds;
  static constexpr int MonitorLines = 1000;

  explicit TSystemSetupForm(App& app);

  // The configuration changed: the system-wide items are shown again.
  void ConfigChanged(const qd::ConfigChange& change);
  // The link state changed: the reset-machine controls follow the access.
  void LinkStateChanged();

  // The pumps and outputs under the PC's control, sent with every idle answer on the bus.
  qd::link::ManualOutputs& ManualControl() { return manualControl_; }

  // Bus status 0x43, whether shown or not.
  void ApplySystemStatus(qd::link::PayloadView frame);
  // Gateway status 'C','X' while shown.
  void ApplyRemoteSystemStatus(std::span<const std::uint8_t> message);
  // The reset was handed to the link or confirmed by the gateway.
  void ResetDone();
  // Another operation began or one ended: the reset button follows.
  void OperationsChanged();
  // Bus reply 0x51: one memo line when it carries a valid Miele Logic report.
  void ShowMonitorReply(qd::link::PayloadView frame);
  // Every output back under the controller's control.
  void ReleaseManualControl();
  // The control boxes unchecked: nothing under the PC's control.
  void ReleaseControlBoxes();
  // The link's idle answer takes a pending reset: the selected entry, once.
  std::optional<int> TakeResetMachineRequest();
  bool ResetMachinePending() const { return resetMachinePending_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Registers the window's handlers with the link.
  void InitSystemSetup();
  // Tells the other windows of an edit stored from this window's controls.
  void NoteOwnEdit();
  // The pending reset ends: the controller is given back.
  void EndResetMachine(bool completed);
  QWidget* CreateMainSetupPage();
  QWidget* CreateAlarmPage();
  QWidget* CreateSoapAmountPage();
  QWidget* CreateTestPage();
  QWidget* CreateEthernetPage();
  QGroupBox* CreateAlarmGroup(int group, const QString& title);
  QGroupBox* CreateRecipientGroup(int first);
  QGroupBox* CreatePumpGroup();
  QGroupBox* CreateFlushGroup();
  QGroupBox* CreateMachineSignalGroup();
  QGroupBox* CreateAlarmOutputGroup();
  QGroupBox* CreateResetGroup();
  void ConnectEdits();

  void FormShow();
  void FormClose();
  void PageControlChange();

  // The working configuration into the controls.
  void ShowSystemData();
  void ShowIdentity();
  void HideIdentity();
  void ShowMachinesEnabled();
  void ShowAlarmGroups();
  void ShowManualControlAvailability();

  void MachineBtnClick(int tag);
  void GroupAlarmBtnClick();
  void PumpOnBtnClick(int tag);
  void PumpControlBtnClick(int tag);
  void MachineOnBtnClick(int tag);
  void MachineControlBtnClick(int tag);
  void SingleOutputOnClick(qd::SingleOutput output);
  void SingleOutputControlClick(qd::SingleOutput output);
  void ResetMachineBtnClick();
  void ShowOutputs(const qd::OutputsShown& shown, bool withAlarmOutput);
  std::pair<QPushButton*, QCheckBox*> SingleOutputButtons(qd::SingleOutput output) const;
  bool LocalMode() const;
  bool ManualControlAvailable() const;
  bool ResetAllowed() const;

  App& app_;
  qd::link::ManualOutputs manualControl_;
  bool resetMachinePending_ = false;  // holds the controller's reset-machine operation
  bool filling_ = false;
  bool storingOwnEdit_ = false;
  bool manualControlAvailable_ = false;

  QTabWidget* PageControl = nullptr;
  QWidget* TestPage = nullptr;
  QWidget* EthernetPage = nullptr;

  // Main setup
  std::array<QCheckBox*, qd::MachineCount> machineBtns_{};  // Machine1Btn ..
  QLineEdit* SystemNameEdit = nullptr;
  QLineEdit* DefaultInputFilterTimeEdit = nullptr;
  QLabel* QD310watchLabel = nullptr;
  QLabel* SerialNumberLabel2 = nullptr;
  QLabel* HardwareVersionLabel2 = nullptr;
  QLabel* FirmwareVersionLabel2 = nullptr;

  // Alarm: [group][kind], kinds level, water pressure, trigger error, keyboard error, dispense error
  std::array<std::array<QCheckBox*, qd::AlarmKinds>, qd::AlarmGroupCount> groupAlarmBtns_{};
  std::array<QLineEdit*, qd::RecipientCount> recipientEdits_{};  // AlarmRecipient1Edit ..
  std::array<QCheckBox*, qd::PumpCount> activeHighLevelBtns_{};  // AlarmActiveHigh1_Btn ..
  QCheckBox* AlarmActiveHighExtraBtn = nullptr;
  QCheckBox* AlarmActiveHighCommonBtn = nullptr;

  // Soap amount alarm
  QCheckBox* AlarmOnUsedSoapAmountBtn = nullptr;
  std::array<QLineEdit*, qd::SoapAmountPumps> alarmAmountEdits_{};  // AlarmSoapAmountEdit1 ..
  std::array<QLineEdit*, qd::SoapAmountPumps> usedAmountEdits_{};   // AlarmSoapUsedAmountEdit1 ..

  // Test
  std::array<QPushButton*, qd::PumpCount> pumpOnBtns_{};           // PumpOn1Btn ..
  std::array<QCheckBox*, qd::PumpCount> pumpControlBtns_{};        // PumpControl1Btn ..
  std::array<QPushButton*, qd::MachineCount> machineOnBtns_{};     // MachineOn1Btn ..
  std::array<QCheckBox*, qd::MachineCount> machineControlBtns_{};  // MachineControl1Btn ..
  QPushButton* FlushWaterOnBtn = nullptr;
  QCheckBox* FlushWaterControlBtn = nullptr;
  QPushButton* FlushDrainOnBtn = nullptr;
  QCheckBox* FlushDrainControlBtn = nullptr;
  QPushButton* AlarmOutputOnBtn = nullptr;
  QCheckBox* AlarmControlBtn = nullptr;
  QComboBox* ResetmachineCombo = nullptr;
  QPushButton* ResetMachineBtn = nullptr;
  QLabel* ResetMachineOKlabel = nullptr;

  // Ethernet trigger test
  QCheckBox* EthernetMieleLogicMonitorBtn = nullptr;
  QPlainTextEdit* EthernetMieleLogicMemo = nullptr;
};

}  // namespace qd::gui
