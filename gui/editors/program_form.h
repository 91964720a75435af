#pragma once

#include <QWidget>
#include <cstdint>

#include "model/config_change.h"
#include "model/dosing_program.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;

namespace qd::gui {

class App;
class FindingsList;
class InstructionPanelsWidget;
class TMachineForm;

// "Program": one dosing program of one machine. Works on a copy and writes it into the machine's stored
// program when the user saves.
class TProgramForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int LineCount = qd::DosingProgram::LineCount;
  static constexpr int ColumnCount = 4;
  // Ticks the running-line marker stays after the last report.
  static constexpr int DebugHoldTicks = 10;

  TProgramForm(App& app, TMachineForm& machine, int programIndex);

  int ProgramIndex() const { return programIndex_; }
  const qd::DosingProgram& StoredProgram() const;
  // The editor's copy: its lines and line comments are what the grid shows.
  const qd::DosingProgram& WorkingCopy() const { return working_; }
  // The line whose panel is shown, 0..23.
  int CurrentLine() const { return currentLine_; }

  // The editor shows the stored program again (unsaved edits are dropped).
  void LoadProgram();
  // The edits become the stored program; true.
  bool StoreProgram();
  // Unsaved edits are dropped and the stored program shown again; true.
  bool DropPendingEdits();
  bool IsModified() const { return modified_; }
  // The controller runs line 1..24 of this program.
  void ShowRunningLine(int line);
  // The configuration changed: a stored program changed is shown again, its unsaved edits dropped.
  void ConfigChanged(const qd::ConfigChange& change);
  void DebugTick();

  void SaveBtnClick();
  void CopyProgramBtnClick();
  void InsertProgramBtnClick();
  void DeleteProgramBtnClick();
  // Insert and Delete in the grid: at the current line.
  void InsertLine();
  void DeleteLine();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateHeader();
  void CreateGrid();
  void CreateInstructionGroup();
  void CreateProgramMenu();
  void ArrangeControls();
  void WatchForKeys();
  bool FormKeyDown(QKeyEvent* event);

  qd::ProgramLine& Line(int index);
  void ShowHeader(const qd::DosingProgram& program);
  void UpdateCaption();
  void ShowLine(int index);
  void ShowAllLines();
  void SelectRow(int index);
  void GridRowChanged(int row);
  void ShowPanel(int index);
  void StorePanel();
  void InstructionComboBoxChange();
  void InstructionCommentEditChange();
  void SetModified(bool modified);
  void DebugBtnToggled(bool checked);
  // The checker's findings of the program as edited, in the list below the grid.
  void RefreshFindings();

  App& app_;
  TMachineForm& machine_;
  int programIndex_;
  qd::DosingProgram working_;
  int currentLine_ = 0;
  bool modified_ = false;
  bool storing_ = false;  // the editor stores its own program: the change needs no reload
  int updating_ = 0;      // above 0 while the editor fills its own controls
  int debugHold_ = 0;

  QLineEdit* ProgramNameEdit = nullptr;
  QLineEdit* ProgramCommentEdit = nullptr;
  QCheckBox* ActiveBtn = nullptr;
  QCheckBox* SoftnerBtn = nullptr;
  QCheckBox* DefaultSoftnerBtn = nullptr;
  QComboBox* DefaultLevelComboBox = nullptr;
  QPushButton* SaveBtn = nullptr;
  QCheckBox* DebugBtn = nullptr;
  QLabel* DebugActiveImage = nullptr;
  QGroupBox* SequenceGroup = nullptr;
  QTableWidget* ProgramLineGrid = nullptr;
  QGroupBox* InstructionGroup = nullptr;
  QComboBox* InstructionComboBox = nullptr;
  QLineEdit* InstructionCommentEdit = nullptr;
  InstructionPanelsWidget* panels_ = nullptr;
  FindingsList* ProgramCheckList = nullptr;
  QMenu* ProgramMenu = nullptr;
  QAction* CopyProgramBtn = nullptr;
  QAction* InsertProgramBtn = nullptr;
  QAction* DeleteProgramBtn = nullptr;
};

}  // namespace qd::gui
