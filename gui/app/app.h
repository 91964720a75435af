#pragma once

#include <QStringList>
#include <array>
#include <memory>

#include "model/working_config.h"
#include "transport/connection.h"

namespace qd::gui {

class TMainForm;
class TMachineForm;
class TSystemSetupForm;
class TCalibrationForm;
class TCommunicationForm;
class TEEPROMForm;
class TCopyMachineForm;
class TAboutForm;
class TCommunicationErrorForm;
class TFirmwareUpdateForm;
class TLogDataForm;
class TRemoteLoginForm;
class TAlarmLogForm;
class TLoginForm;
class TCompareForm;
class TServiceReportForm;

// The running program: the working configuration and every window, created once in a fixed order and
// kept until the program ends. Windows reach each other through it, as the operations of one window
// are called by others. Only the main window is shown at first.
class App {
 public:
  // `arguments` are the program's, the program name first.
  explicit App(const QStringList& arguments);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  qd::WorkingConfig& Config() { return config_; }
  // The one link to the dosing system, shown and set up by the communication window.
  qd::transport::Connection& Connection() { return *connection_; }

  TMainForm& Main() { return *main_; }
  TMachineForm& Machine(int index);  // 0..9
  TSystemSetupForm& SystemSetup() { return *systemSetup_; }
  TCalibrationForm& Calibration() { return *calibration_; }
  TCommunicationForm& Communication() { return *communication_; }
  TEEPROMForm& Eeprom() { return *eeprom_; }
  TCopyMachineForm& CopyMachine() { return *copyMachine_; }
  TAboutForm& About() { return *about_; }
  TCommunicationErrorForm& CommunicationError() { return *communicationError_; }
  TFirmwareUpdateForm& FirmwareUpdate() { return *firmwareUpdate_; }
  TLogDataForm& LogData() { return *logData_; }
  TRemoteLoginForm& RemoteLogin() { return *remoteLogin_; }
  TAlarmLogForm& AlarmLog() { return *alarmLog_; }
  TLoginForm& Login() { return *login_; }
  // Our own windows, created after the others.
  bool HasCompare() const { return compare_ != nullptr; }
  TCompareForm& Compare() { return *compare_; }
  TServiceReportForm& ServiceReport() { return *serviceReport_; }

  // Hides every window but the main one (the main window closing ends the program).
  void HideSecondaryWindows();

 private:
  void Connect();

  qd::WorkingConfig config_;
  // Outlives every window that registered with it.
  std::unique_ptr<qd::transport::Connection> connection_;
  // In creation order; destroyed in reverse.
  std::unique_ptr<TMainForm> main_;
  std::unique_ptr<TSystemSetupForm> systemSetup_;
  std::unique_ptr<TCalibrationForm> calibration_;
  std::unique_ptr<TCommunicationForm> communication_;
  std::unique_ptr<TEEPROMForm> eeprom_;
  std::unique_ptr<TCopyMachineForm> copyMachine_;
  std::unique_ptr<TAboutForm> about_;
  std::unique_ptr<TCommunicationErrorForm> communicationError_;
  std::unique_ptr<TFirmwareUpdateForm> firmwareUpdate_;
  std::unique_ptr<TLogDataForm> logData_;
  std::unique_ptr<TRemoteLoginForm> remoteLogin_;
  std::unique_ptr<TAlarmLogForm> alarmLog_;
  std::unique_ptr<TLoginForm> login_;
  std::unique_ptr<TCompareForm> compare_;
  std::unique_ptr<TServiceReportForm> serviceReport_;
};

}  // namespace qd::gui
