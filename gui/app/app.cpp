#include "gui/app/app.h"

#include <QLocale>

#include "gui/app/about_form.h"
#include "gui/app/login_form.h"
#include "gui/app/main_form.h"
#include "gui/editors/calibration_form.h"
#include "gui/editors/copy_machine_form.h"
#include "gui/editors/machine_form.h"
#include "gui/editors/system_setup_form.h"
#include "gui/firmware/firmware_update_form.h"
#include "gui/link/communication_error_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "gui/link/remote_login_form.h"
#include "gui/logs/alarm_log_form.h"
#include "gui/logs/log_data_form.h"
#include "gui/review/compare_form.h"
#include "gui/review/service_report_form.h"

namespace qd::gui {

App::App(const QStringList& arguments) {
  // Amounts are shown with the separator of the user's locale.
  const QString decimalPoint = QLocale().decimalPoint();
  config_.decimalSeparator = decimalPoint.size() == 1 ? decimalPoint.at(0).toLatin1() : '.';
  connection_ = std::make_unique<qd::transport::Connection>();
  // The windows' fixed creation order; the main window creates the machine windows.
  main_ = std::make_unique<TMainForm>(*this, arguments);
  systemSetup_ = std::make_unique<TSystemSetupForm>(*this);
  calibration_ = std::make_unique<TCalibrationForm>(*this);
  communication_ = std::make_unique<TCommunicationForm>(*this);
  eeprom_ = std::make_unique<TEEPROMForm>(*this);
  copyMachine_ = std::make_unique<TCopyMachineForm>(*this);
  about_ = std::make_unique<TAboutForm>();
  communicationError_ = std::make_unique<TCommunicationErrorForm>(*this);
  firmwareUpdate_ = std::make_unique<TFirmwareUpdateForm>(*this);
  logData_ = std::make_unique<TLogDataForm>(*this);
  remoteLogin_ = std::make_unique<TRemoteLoginForm>(*this);
  alarmLog_ = std::make_unique<TAlarmLogForm>(*this);
  login_ = std::make_unique<TLoginForm>();
  compare_ = std::make_unique<TCompareForm>(*this);
  serviceReport_ = std::make_unique<TServiceReportForm>(*this);
  Connect();
}

App::~App() {
  // The windows go before the connection: nothing may call back into them meanwhile.
  connection_->Dispatch() = qd::link::Dispatcher{};
  connection_->Link().handlers = {};
  connection_->SetSessionPrompts({});
}

TMachineForm& App::Machine(int index) {
  return main_->MachineWindow(index);
}

void App::Connect() {
  // The link state, and which operation holds the controller, fan out to the windows whose controls
  // act on the controller.
  qd::transport::Connection* link = connection_.get();
  using Signal = void (qd::transport::Connection::*)();
  for (const Signal signal : {Signal{&qd::transport::Connection::LinkStateChanged},
                              Signal{&qd::transport::Connection::OperationsChanged}}) {
    QObject::connect(link, signal, eeprom_.get(), &TEEPROMForm::UpdateButtons);
    QObject::connect(link, signal, logData_.get(), &TLogDataForm::LinkStateChanged);
    QObject::connect(link, signal, alarmLog_.get(), &TAlarmLogForm::LinkStateChanged);
  }
  QObject::connect(link, &qd::transport::Connection::LinkStateChanged, systemSetup_.get(),
                   &TSystemSetupForm::LinkStateChanged);
  QObject::connect(link, &qd::transport::Connection::CaptionChanged, main_.get(), &TMainForm::UpdateCaption);

  // Replies to reads and writes go to both transfers: each takes only what it waits for, and only one
  // of them can wait at a time.
  qd::link::Dispatcher& dispatch = connection_->Dispatch();
  dispatch.handlers.transferReply = [this](qd::link::PayloadView frame) {
    eeprom_->Transfer().OnBusReply(frame);
    compare_->OnBusReply(frame);
  };
  dispatch.handlers.remoteSystemData = [this](std::span<const std::uint8_t> message) {
    eeprom_->Transfer().OnGatewayData(message);
    compare_->OnGatewayData(message);
  };
  dispatch.handlers.remoteWriteResult = [this](std::span<const std::uint8_t> message) {
    eeprom_->Transfer().OnGatewayWriteResult(message);
  };

  // The idle answer carries the system setup's manual outputs; trigger modules' reports go to their
  // machine's window.
  connection_->Link().handlers.manualOutputs = [this] { return systemSetup_->ManualControl(); };
  connection_->Link().handlers.triggerFrame = [this](int machineIndex, qd::link::PayloadView frame) {
    if (machineIndex >= 0 && machineIndex < TMainForm::MachineCount) Machine(machineIndex).ApplyStatus(frame);
  };

  // Live status goes to the machine windows that are shown.
  for (int i = 0; i < TMainForm::MachineCount; ++i) {
    TMachineForm* machine = &Machine(i);
    dispatch.machines[static_cast<std::size_t>(i)] = {
        [machine] { return machine->isVisible(); },
        [machine](qd::link::PayloadView frame) { machine->ApplyStatus(frame); },
        [machine](std::span<const std::uint8_t> record) { machine->ApplyRemoteStatus(record); }};
  }
}

void App::HideSecondaryWindows() {
  for (QWidget* window : std::initializer_list<QWidget*>{
           systemSetup_.get(), calibration_.get(), communication_.get(), eeprom_.get(), copyMachine_.get(),
           about_.get(), communicationError_.get(), firmwareUpdate_.get(), logData_.get(), remoteLogin_.get(),
           alarmLog_.get(), login_.get(), compare_.get(), serviceReport_.get()}) {
    window->hide();
  }
  for (int i = 0; i < TMainForm::MachineCount; ++i)
    Machine(i).hide();
}

}  // namespace qd::gui
