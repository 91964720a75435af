#pragma once

#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <array>
#include <string>

#include "model/config_change.h"
#include "model/counts.h"
#include "model/dosing_program.h"
#include "qd_version.h"

class QAction;
class QLabel;
class QMenu;

namespace qd::gui {

class App;
class TMachineForm;

// The main window: menus, caption, status bar, the New/Load/Save commands, preferences and the 100 ms
// timer that drives every periodic task. It owns the ten machine windows; the configuration itself is
// held by the App.
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int VersionMajor = qd::version::Major;
  static constexpr int VersionMinor = qd::version::Minor;
  static constexpr int MachineCount = qd::MachineCount;
  static constexpr int StatusPanelCount = 4;

  // Starts the diagnostic log, reads the options from `arguments` (program name first) and creates the
  // machine windows.
  TMainForm(App& app, const QStringList& arguments);
  ~TMainForm() override;

  bool SetupMode() const { return setupMode_; }
  bool MasterLoginMode() const { return masterLoginMode_; }
  // Machine window 0..9, created when first needed.
  TMachineForm& MachineWindow(int index);
  TMachineForm* MachineWindowIfCreated(int index) const;

  // The program copied in a program editor, or none. Refers to the stored record.
  const qd::DosingProgram* ProgramClipboard() const { return programClipboard_; }
  void SetProgramClipboard(const qd::DosingProgram* program) { programClipboard_ = program; }

  const QString& LastSystemFileName() const { return lastSystemFileName_; }
  const QString& LastFirmwareFile() const { return lastFirmwareFile_; }
  void SetLastFirmwareFile(const QString& path) { lastFirmwareFile_ = path; }

  // Operations of other windows.
  void UpdateCaption();
  void UpdateStatusBar();
  void ConfigChanged(const qd::ConfigChange& change);
  // The unsaved-edits question; true when the caller must stop.
  bool CheckUnsavedPrograms();
  QString StatusPanelText(int panel) const;

  // Menu commands.
  void NewSystemBtnClick();
  void LoadSystemBtnClick();
  void SaveSystemBtnClick();
  void LoginBtnClick();
  void HelpBtnClick();
  void MachineBtnClick(int tag);       // 1..10
  void ClearMachineBtnClick(int tag);  // 1..10, 11 = all

  // The first activation's work: at the first activation or the first show, whichever comes first.
  void FormActivate();
  // One 100 ms tick of every periodic task, in their order.
  void MainTimer100msTimer();
  QTimer& MainTimer100ms() { return mainTimer_; }

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ParseOptions(const QStringList& arguments);
  void CreateMenus();
  void CreateStatusBar();
  void PlaceAtTopCentre();
  void ShowWindow(QWidget& window);
  void ShowSystemSetup();
  // The machine entries follow the machines enabled; a machine disabled closes its window.
  void ShowMachineEntries();
  // Saving dropped Electrolux programs 16..30 from the file: say so.
  void ReportUnkeptEntries();
  // `message` names the file; the core's reason follows it.
  void ReportFileFailure(const QString& message, const std::string& reason);
  void ReadPreferences();
  void WritePreferences();

  App& app_;
  QString lastSystemFileName_;
  QString lastFirmwareFile_;
  bool setupMode_ = false;
  bool masterLoginMode_ = false;
  std::array<TMachineForm*, MachineCount> machineWindows_{};  // children of this window, or none yet
  const qd::DosingProgram* programClipboard_ = nullptr;
  bool firstActivation_ = true;
  int tickCounter_ = 0;
  QTimer mainTimer_;
  std::array<QLabel*, StatusPanelCount> statusPanels_{};
  std::array<QAction*, MachineCount> machineEntries_{};
};

}  // namespace qd::gui
