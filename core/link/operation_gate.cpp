#include "link/operation_gate.h"

#include "app/translation.h"

namespace qd::link {

std::string_view OperationText(Operation operation) {
  switch (operation) {
    case Operation::Read:
      return "reading the system data";
    case Operation::Write:
      return "writing the system data";
    case Operation::WriteSerial:
      return "writing the serial number";
    case Operation::CompareRead:
      return "reading the controller for a comparison";
    case Operation::LogReset:
      return "resetting the consumption log";
    case Operation::AlarmLogClear:
      return "clearing the alarm log";
    case Operation::ResetMachine:
      return "resetting a machine";
    case Operation::FirmwareUpdate:
      return "updating firmware";
  }
  return "";
}

// Whole sentences, so that a translation may put the operation where its language wants it.
std::string BusyText(Operation running) {
  switch (running) {
    case Operation::Read:
      return UiText("OperationGate",
                    "The controller is busy reading the system data.\n\n"
                    "Wait until this has finished, or stop it first.");
    case Operation::Write:
      return UiText("OperationGate",
                    "The controller is busy writing the system data.\n\n"
                    "Wait until this has finished, or stop it first.");
    case Operation::WriteSerial:
      return UiText("OperationGate",
                    "The controller is busy writing the serial number.\n\n"
                    "Wait until this has finished, or stop it first.");
    case Operation::CompareRead:
      return UiText("OperationGate",
                    "The controller is busy reading the controller for a comparison.\n\n"
                    "Wait until this has finished, or stop it first.");
    case Operation::LogReset:
      return UiText("OperationGate",
                    "The controller is busy resetting the consumption log.\n\n"
                    "Wait until this has finished, or stop it first.");
    case Operation::AlarmLogClear:
      return UiText("OperationGate",
                    "The controller is busy clearing the alarm log.\n\n"
                    "Wait until this has finished, or stop it first.");
    case Operation::ResetMachine:
      return UiText("OperationGate",
                    "The controller is busy resetting a machine.\n\n"
                    "Wait until this has finished, or stop it first.");
    case Operation::FirmwareUpdate:
      return UiText("OperationGate",
                    "The controller is busy updating firmware.\n\n"
                    "Wait until this has finished, or stop it first.");
  }
  return {};
}

bool OperationGate::Begin(Operation operation, int limitTicks) {
  if (running_ && *running_ != operation) return false;
  running_ = operation;
  ticksLeft_ = limitTicks;
  return true;
}

bool OperationGate::End(Operation operation) {
  if (running_ != operation) return false;
  running_.reset();
  ticksLeft_ = 0;
  return true;
}

std::optional<Operation> OperationGate::Tick() {
  if (!running_ || ticksLeft_ <= 0 || --ticksLeft_ > 0) return std::nullopt;
  const Operation ended = *running_;
  running_.reset();
  return ended;
}

}  // namespace qd::link
