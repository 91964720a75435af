#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qd::link {

// What the tool can ask of the controller. Each holds the controller until it ends: one request in
// flight, one answer awaited, never two operations' requests interleaved on the link.
enum class Operation {
  Read,
  Write,
  WriteSerial,
  CompareRead,
  LogReset,
  AlarmLogClear,
  ResetMachine,
  FirmwareUpdate,
};

// How long a request waits for its confirmation (a log reset, an alarm-log clear, a machine reset),
// in 100 ms ticks, before the operation lets go of the controller.
inline constexpr int ConfirmationLimitTicks = 50;

// "reading the system data", "resetting the consumption log", ... (English, for logs and qdtool)
std::string_view OperationText(Operation operation);
// The refusal of a second operation while `running` holds the controller, for a window: "The controller
// is busy " + OperationText + ".\n\nWait until this has finished, or stop it first." in English.
std::string BusyText(Operation running);

// One controller operation at a time. An operation may be given a limit in 100 ms ticks for an
// answer that may never come (a confirmation the controller or the gateway does not send); when it
// passes, Tick() ends the operation and names it.
class OperationGate {
 public:
  // False, and nothing changes, while another operation runs; true when `operation` runs now (also
  // when it was already running: a second Begin restarts its limit).
  bool Begin(Operation operation, int limitTicks = 0);
  // Ends `operation`; false when it was not the one running.
  bool End(Operation operation);
  // The operation whose limit passed on this tick, ended.
  std::optional<Operation> Tick();

  std::optional<Operation> Running() const { return running_; }
  bool Busy() const { return running_.has_value(); }

 private:
  std::optional<Operation> running_;
  int ticksLeft_ = 0;
};

}  // namespace qd::link
