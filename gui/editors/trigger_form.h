#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <optional>

#include "link/bus_payload.h"
#include "model/config_change.h"
#include "model/trigger_edits.h"
#include "model/trigger_settings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qd::gui {

class App;
class TMachineForm;

// "Trigger": one machine's trigger interface settings, the 224-byte trigger block of the machine in the
// working configuration. Edits stay in the controls until saved; a type change is stored at once.
class TTriggerForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int ElectroluxEntries = qd::trigger::ElectroluxEntries;
  static constexpr int LockSlots = qd::TriggerSettings::LockInputSlots;

  TTriggerForm(App& app, TMachineForm& machine);

  // The configuration changed: another trigger block is shown, or other program names.
  void ConfigChanged(const qd::ConfigChange& change);
  // The controls show the stored trigger block (unsaved edits are dropped).
  void ShowTrigger();
  // The controls become the stored trigger block, then are shown again; always true. Without unsaved
  // edits the block stays as it is, so what the controls cannot show (a fourth lock input, an unknown
  // Electrolux program) survives a commit or a copy.
  bool StoreTrigger();
  // The module version and, with a report, the Electrolux program number.
  void ShowTriggerStatus(std::optional<qd::link::PayloadView> report = std::nullopt);
  // The Electrolux lists name the machine window's current program captions; selections and unsaved
  // edits stay.
  void ShowProgramCaptions();

  bool IsModified() const { return modified_; }
  bool StatusReceived() const { return statusReceived_; }
  void SetStatusReceived(bool received) { statusReceived_ = received; }
  // The type list's entry last shown, "" when the stored type has none.
  const QString& TypeText() const { return typeText_; }

  void TriggerTypeComboBoxChange();
  void EditChange();
  void MieleSoftner2BtnClick();
  void SaveBtnClick();
  void CloseBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const qd::TriggerSettings& Settings() const;
  // What the controls hold.
  qd::TriggerEdits Edits() const;

  void CreateControls();
  QWidget* CreateTypeRow();
  QGroupBox* CreateVolumeGroup();
  QGroupBox* CreateLockGroup();
  QGroupBox* CreateMieleGroup();
  QGroupBox* CreateElectroluxGroup();
  QGroupBox* CreateEthernetGroup();
  QWidget* CreateBottomRow();
  void ConnectEdits();

  // The parts of ShowTrigger: the controls every type has, and those that depend on the type.
  void ShowCommon(const qd::TriggerEdits& edits);
  void ShowTypeSpecific();
  void ShowMiele(const qd::TriggerEdits& edits);
  void ShowElectrolux(const qd::TriggerEdits& edits);
  void ShowEthernet(const qd::TriggerEdits& edits);
  void ShowGroupsOfType(int code);
  void MoveOntoScreen();
  void SetModified(bool modified);

  App& app_;
  TMachineForm& machine_;
  bool modified_ = false;
  bool statusReceived_ = false;
  bool storing_ = false;  // the window stores its own edit: the change needs no refill
  bool showing_ = false;  // controls are being filled: their change signals are no edits
  QString typeText_;

  QComboBox* TriggerTypeComboBox = nullptr;

  QGroupBox* VolumeGroupBox = nullptr;
  QLineEdit* LowLevelAdjustEdit = nullptr;
  QLineEdit* HighLevelAdjustEdit = nullptr;
  QLineEdit* MaxWeightEdit = nullptr;

  QGroupBox* KeyboardLockGroupBox = nullptr;
  std::array<QComboBox*, LockSlots> KeyboardLockComboBox{};
  QLineEdit* KeyboardLockDelayEdit = nullptr;
  QComboBox* MachineResetComboBox = nullptr;
  QLineEdit* MachineResetDelayEdit = nullptr;

  QGroupBox* MieleGroupBox = nullptr;
  std::array<QLineEdit*, qd::trigger::MieleFields.size()> mieleEdits_{};  // in MieleFields order
  QCheckBox* MieleSoftner2Btn = nullptr;
  QLabel* SoftnerPump7label = nullptr;

  QGroupBox* ElectroluxGroupBox = nullptr;
  std::array<QComboBox*, ElectroluxEntries> ElectroluxMachineProgramCombo{};
  QLabel* ElectroluxCompassProProgramNumberLabel1 = nullptr;
  QLabel* ElectroluxCompassProProgramNumberLabel2 = nullptr;

  QGroupBox* MieleEthernetGroupBox = nullptr;
  QLineEdit* MieleEthernetSerialNumberEdit = nullptr;
  QLineEdit* MieleEthernetSerialMachineIDedit = nullptr;

  QLabel* VersionLabel1 = nullptr;
  QLabel* VersionLabel2 = nullptr;
  QPushButton* SaveBtn = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace qd::gui
