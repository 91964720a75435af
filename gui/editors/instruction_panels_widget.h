#pragma once

#include <QWidget>
#include <array>

#include "model/instruction_panels.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QStackedLayout;

namespace qd::gui {

// The parameter panels of the program editor, one per instruction kind, of which at most one shows.
// The controls hold the values; the core's panel records (model/instruction_panels.h) encode and decode
// them, so this widget only moves values between records and controls. Its own reactions (an input box
// enabling its target box, the high adjustment following the low one) happen before Edited is emitted.
class InstructionPanelsWidget : public QWidget {
  Q_OBJECT

 public:
  explicit InstructionPanelsWidget(QWidget* parent);

  // Every panel as its controls hold it.
  qd::ProgramPanels Values() const;
  // Fills every panel's controls without emitting Edited.
  void SetValues(const qd::ProgramPanels& panels);
  // Shows the panel of `kind`, NoParametersLabel for NoParameters and nothing for None.
  void ShowKind(qd::PanelKind kind);
  qd::PanelKind ShownKind() const { return shownKind_; }

  QLineEdit* FilterEdit() const { return InputFilterEdit; }

 signals:
  // A control of a panel changed, by the user or by a text set from outside.
  void Edited();

 private:
  void CreateInputGroup();
  void CreateInputOffGroup();
  void CreateJumpGroup();
  void CreateWaitGroup();
  void CreatePumpGroup();
  void CreateFlushGroup();
  void CreatePumpHighVolumeGroup();
  QGroupBox* NewGroup(const char* name, const QString& caption);
  QLineEdit* NewEdit(const char* name);
  QComboBox* NewCombo(const char* name, const QStringList& items);
  QCheckBox* NewCheck(const char* name, const QString& text);
  void WatchEdit(QLineEdit* edit);
  void WatchCombo(QComboBox* combo);
  void WatchCheck(QCheckBox* check);
  void Changed();
  void JumpInputChanged(int row);
  void ShowJumpRow(int row, const qd::InputJumpRow& values);
  void SetNextLineEnabled(bool enabled);

  QStackedLayout* pages_ = nullptr;
  QWidget* emptyPage_ = nullptr;
  qd::PanelKind shownKind_ = qd::PanelKind::None;
  int filling_ = 0;  // above 0 while the widget sets its own controls
  bool nextLineEnabled_ = true;
  std::array<bool, 3> targetEnabled_{};

  QLabel* NoParametersLabel = nullptr;

  QGroupBox* InstructionInputGroup = nullptr;
  QLineEdit* InputFilterEdit = nullptr;
  std::array<QComboBox*, 4> InputInputCombos{};  // InputInput1Combo .. InputInput4Combo
  std::array<QComboBox*, 3> InputLineCombos{};   // InputLine2Combo .. InputLine4Combo
  std::array<QLabel*, 2> nextLineLabels_{};

  QGroupBox* InputOffWaitGroupBox = nullptr;
  std::array<QComboBox*, 6> InputOffComboBoxes{};  // InputOff1ComboBox .. InputOff6ComboBox

  QGroupBox* InstructionJumpToLineGroup = nullptr;
  QComboBox* JumpToLineCombo = nullptr;

  QGroupBox* InstructionWaitGroup = nullptr;
  QLineEdit* WaitSecondsEdit = nullptr;

  QGroupBox* InstructionPumpGroup = nullptr;
  QComboBox* PumpPumpCombo = nullptr;
  QComboBox* PumpFlushCombo = nullptr;
  QCheckBox* PumpWaitDispenseDoneBtn = nullptr;
  QLineEdit* PumpDelayEdit = nullptr;
  std::array<QLineEdit*, 3> PumpVolumeEdits{};  // PumpVolume1Edit .. PumpVolume3Edit

  QGroupBox* InstructionFlushGroup = nullptr;
  QCheckBox* FlushToDrainBtn = nullptr;
  QCheckBox* FlushWaitDoneBtn = nullptr;
  QLineEdit* FlushDelayEdit = nullptr;
  QLineEdit* FlushTimeEdit = nullptr;

  QGroupBox* InstructionPumpHighVolumeGroup = nullptr;
  QComboBox* PumpHighPumpCombo = nullptr;
  QComboBox* PumpHighFlushCombo = nullptr;
  QCheckBox* PumpHighWaitDispenseDoneBtn = nullptr;
  QLineEdit* PumpHighDelayEdit = nullptr;
  QLineEdit* PumpHighVolumeEdit = nullptr;
  QLineEdit* PumpHighVolumeLowEdit = nullptr;
  QLabel* PumpHighVolumeHighLabel = nullptr;
};

}  // namespace qd::gui
