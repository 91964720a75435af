#include "link/operation_gate.h"

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

std::string BusyText(Operation running) {
  std::string text = "The controller is busy ";
  text.append(OperationText(running));
  text.append(".\n\nWait until this has finished, or stop it first.");
  return text;
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
