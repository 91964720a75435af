#pragma once

#include <QStringList>
#include <memory>

#include "model/working_config.h"
#include "transport/connection.h"

namespace qd::gui {

class ConfigSignals;
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
class TSitesForm;

// The running program: the working configuration, the connection and the windows. The main window, the
// communication window (which starts the link) and the login window (which holds the login code) exist
// from the start; every other window is created when first needed and kept until the program ends.
// Only the main window is shown at first.
class App {
 public:
  // `arguments` are the program's, the program name first.
  explicit App(const QStringList& arguments);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  qd::WorkingConfig& Config() { return config_; }
  // The configuration's changes, as a signal for the windows.
  ConfigSignals& Changes() { return *changes_; }
  // The one link to the dosing system, shown and set up by the communication window.
  qd::transport::Connection& Connection() { return *connection_; }

  TMainForm& Main() { return *main_; }
  TMachineForm& Machine(int index);                 // 0..9
  TMachineForm* MachineIfCreated(int index) const;  // none before its first use
  TSystemSetupForm& SystemSetup();
  TCalibrationForm& Calibration();
  TCommunicationForm& Communication() { return *communication_; }
  TEEPROMForm& Eeprom();
  TCopyMachineForm& CopyMachine();
  TAboutForm& About();
  TCommunicationErrorForm& CommunicationError();
  TFirmwareUpdateForm& FirmwareUpdate();
  TLogDataForm& LogData();
  TRemoteLoginForm& RemoteLogin();
  TAlarmLogForm& AlarmLog();
  TLoginForm& Login() { return *login_; }
  TCompareForm& Compare();
  TServiceReportForm& ServiceReport();
  TSitesForm& Sites();

  // The windows created so far, for the periodic tasks and the replies that only they wait for.
  TSystemSetupForm* SystemSetupIfCreated() const { return systemSetup_.get(); }
  TCalibrationForm* CalibrationIfCreated() const { return calibration_.get(); }
  TEEPROMForm* EepromIfCreated() const { return eeprom_.get(); }
  TFirmwareUpdateForm* FirmwareUpdateIfCreated() const { return firmwareUpdate_.get(); }
  TCompareForm* CompareIfCreated() const { return compare_.get(); }
  bool HasCompare() const { return compare_ != nullptr; }

  // Hides every window but the main one (the main window closing ends the program).
  void HideSecondaryWindows();

 private:
  void Connect();

  qd::WorkingConfig config_;
  std::unique_ptr<ConfigSignals> changes_;
  // Outlives every window that registered with it.
  std::unique_ptr<qd::transport::Connection> connection_;
  std::unique_ptr<TMainForm> main_;
  std::unique_ptr<TCommunicationForm> communication_;
  std::unique_ptr<TLoginForm> login_;
  // Created when first needed; destroyed in reverse order of declaration.
  std::unique_ptr<TSystemSetupForm> systemSetup_;
  std::unique_ptr<TCalibrationForm> calibration_;
  std::unique_ptr<TEEPROMForm> eeprom_;
  std::unique_ptr<TCopyMachineForm> copyMachine_;
  std::unique_ptr<TAboutForm> about_;
  std::unique_ptr<TCommunicationErrorForm> communicationError_;
  std::unique_ptr<TFirmwareUpdateForm> firmwareUpdate_;
  std::unique_ptr<TLogDataForm> logData_;
  std::unique_ptr<TRemoteLoginForm> remoteLogin_;
  std::unique_ptr<TAlarmLogForm> alarmLog_;
  std::unique_ptr<TCompareForm> compare_;
  std::unique_ptr<TServiceReportForm> serviceReport_;
  std::unique_ptr<TSitesForm> sites_;
};

}  // namespace qd::gui
