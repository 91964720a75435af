#include "gui/app/app.h"

#include <QLocale>

#include "gui/app/about_form.h"
#include "gui/app/config_signals.h"
#include "gui/app/login_form.h"
#include "gui/app/main_form.h"
#include "gui/editors/calibration_form.h"
#include "gui/editors/copy_machine_form.h"
#include "gui/editors/machine_form.h"
#include "gui/editors/system_setup_form.h"
#include "gui/firmware/firmware_update_form.h"
#include "gui/history/sites_form.h"
#include "gui/link/communication_error_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "gui/link/remote_login_form.h"
#include "gui/logs/alarm_log_form.h"
#include "gui/logs/log_data_form.h"
#include "gui/review/compare_form.h"
#include "gui/review/service_report_form.h"

namespace qd::gui {
namespace {

// The window in `slot`, made by `make` the first time.
template <typename Window, typename Make>
Window& Created(std::unique_ptr<Window>& slot, Make make) {
  if (!slot) slot = make();
  return *slot;
}

// A window whose controls act on the controller: `refresh` follows the link and whichever operation
// holds the controller.
template <typename Window>
std::unique_ptr<Window> FollowingTheController(std::unique_ptr<Window> window,
                                               qd::transport::Connection& link, void (Window::*refresh)()) {
  using Signal = void (qd::transport::Connection::*)();
  for (const Signal signal : {Signal{&qd::transport::Connection::LinkStateChanged},
                              Signal{&qd::transport::Connection::OperationsChanged}})
    QObject::connect(&link, signal, window.get(), refresh);
  return window;
}

}  // namespace

App::App(const QStringList& arguments) {
  // Amounts are shown with the separator of the user's locale.
  const QString decimalPoint = QLocale().decimalPoint();
  config_.decimalSeparator = decimalPoint.size() == 1 ? decimalPoint.at(0).toLatin1() : '.';
  changes_ = std::make_unique<ConfigSignals>(config_);
  connection_ = std::make_unique<qd::transport::Connection>();
  main_ = std::make_unique<TMainForm>(*this, arguments);
  communication_ = std::make_unique<TCommunicationForm>(*this);
  login_ = std::make_unique<TLoginForm>();
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

TMachineForm* App::MachineIfCreated(int index) const {
  return main_->MachineWindowIfCreated(index);
}

TSystemSetupForm& App::SystemSetup() {
  return Created(systemSetup_, [this] { return std::make_unique<TSystemSetupForm>(*this); });
}

TCalibrationForm& App::Calibration() {
  return Created(calibration_, [this] { return std::make_unique<TCalibrationForm>(*this); });
}

TEEPROMForm& App::Eeprom() {
  return Created(eeprom_, [this] {
    return FollowingTheController(std::make_unique<TEEPROMForm>(*this), *connection_,
                                  &TEEPROMForm::UpdateButtons);
  });
}

TCopyMachineForm& App::CopyMachine() {
  return Created(copyMachine_, [this] { return std::make_unique<TCopyMachineForm>(*this); });
}

TAboutForm& App::About() {
  return Created(about_, [] { return std::make_unique<TAboutForm>(); });
}

TCommunicationErrorForm& App::CommunicationError() {
  return Created(communicationError_, [this] { return std::make_unique<TCommunicationErrorForm>(*this); });
}

TFirmwareUpdateForm& App::FirmwareUpdate() {
  return Created(firmwareUpdate_, [this] { return std::make_unique<TFirmwareUpdateForm>(*this); });
}

TLogDataForm& App::LogData() {
  return Created(logData_, [this] {
    return FollowingTheController(std::make_unique<TLogDataForm>(*this), *connection_,
                                  &TLogDataForm::LinkStateChanged);
  });
}

TRemoteLoginForm& App::RemoteLogin() {
  return Created(remoteLogin_, [this] { return std::make_unique<TRemoteLoginForm>(*this); });
}

TAlarmLogForm& App::AlarmLog() {
  return Created(alarmLog_, [this] {
    return FollowingTheController(std::make_unique<TAlarmLogForm>(*this), *connection_,
                                  &TAlarmLogForm::LinkStateChanged);
  });
}

TCompareForm& App::Compare() {
  return Created(compare_, [this] { return std::make_unique<TCompareForm>(*this); });
}

TServiceReportForm& App::ServiceReport() {
  return Created(serviceReport_, [this] { return std::make_unique<TServiceReportForm>(*this); });
}

TSitesForm& App::Sites() {
  return Created(sites_, [] { return std::make_unique<TSitesForm>(); });
}

void App::Connect() {
  qd::transport::Connection* link = connection_.get();
  QObject::connect(link, &qd::transport::Connection::LinkStateChanged, link, [this] {
    if (systemSetup_) systemSetup_->LinkStateChanged();
  });
  QObject::connect(link, &qd::transport::Connection::CaptionChanged, main_.get(), &TMainForm::UpdateCaption);

  // Replies to reads and writes go to both transfers: each takes only what it waits for, and only one
  // of them can wait at a time. A window not created yet waits for nothing.
  qd::link::Dispatcher& dispatch = connection_->Dispatch();
  dispatch.handlers.transferReply = [this](qd::link::PayloadView frame) {
    if (eeprom_) eeprom_->Transfer().OnBusReply(frame);
    if (compare_) compare_->OnBusReply(frame);
  };
  dispatch.handlers.remoteSystemData = [this](std::span<const std::uint8_t> message) {
    if (eeprom_) eeprom_->Transfer().OnGatewayData(message);
    if (compare_) compare_->OnGatewayData(message);
  };
  dispatch.handlers.remoteWriteResult = [this](std::span<const std::uint8_t> message) {
    if (eeprom_) eeprom_->Transfer().OnGatewayWriteResult(message);
  };

  // The idle answer carries the system setup's manual outputs; trigger modules' reports go to their
  // machine's window.
  connection_->Link().handlers.manualOutputs = [this] {
    return systemSetup_ ? systemSetup_->ManualControl() : qd::link::ManualOutputs{};
  };
  connection_->Link().handlers.triggerFrame = [this](int machineIndex, qd::link::PayloadView frame) {
    if (TMachineForm* machine = MachineIfCreated(machineIndex)) machine->ApplyStatus(frame);
  };

  // Live status goes to the machine windows that are shown.
  for (int i = 0; i < TMainForm::MachineCount; ++i) {
    dispatch.machines[static_cast<std::size_t>(i)] = {[this, i] {
                                                        const TMachineForm* machine = MachineIfCreated(i);
                                                        return machine != nullptr && machine->isVisible();
                                                      },
                                                      [this, i](qd::link::PayloadView frame) {
                                                        if (TMachineForm* machine = MachineIfCreated(i))
                                                          machine->ApplyStatus(frame);
                                                      },
                                                      [this, i](std::span<const std::uint8_t> record) {
                                                        if (TMachineForm* machine = MachineIfCreated(i))
                                                          machine->ApplyRemoteStatus(record);
                                                      }};
  }
}

void App::HideSecondaryWindows() {
  communication_->hide();
  login_->hide();
  for (QWidget* window : std::initializer_list<QWidget*>{
           systemSetup_.get(), calibration_.get(), eeprom_.get(), copyMachine_.get(), about_.get(),
           communicationError_.get(), firmwareUpdate_.get(), logData_.get(), remoteLogin_.get(),
           alarmLog_.get(), compare_.get(), serviceReport_.get(), sites_.get()}) {
    if (window != nullptr) window->hide();
  }
  for (int i = 0; i < TMainForm::MachineCount; ++i) {
    if (TMachineForm* machine = MachineIfCreated(i)) machine->hide();
  }
}

}  // namespace qd::gui
