#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/bus_link.h"
#include "link/status_records.h"
#include "model/controller_image.h"

namespace qd {

// The outputs switched by hand that are not a pump or a machine signal.
enum class SingleOutput { FlushWater, FlushDrain, AlarmOutput };

// A click on an on/off button switches the output and takes it under PC control.
void SwitchPump(link::ManualOutputs& manual, int pump, bool on);              // pump 1..7
void SwitchMachineSignal(link::ManualOutputs& manual, int machine, bool on);  // machine 1..10
void SwitchOutput(link::ManualOutputs& manual, SingleOutput output, bool on);
// A control box hands the output to the PC or back to the controller; the wanted state stays.
void SetPumpControl(link::ManualOutputs& manual, int pump, bool control);
void SetMachineSignalControl(link::ManualOutputs& manual, int machine, bool control);
void SetOutputControl(link::ManualOutputs& manual, SingleOutput output, bool control);
bool OutputOn(const link::ManualOutputs& manual, SingleOutput output);
bool OutputControlled(const link::ManualOutputs& manual, SingleOutput output);

// What the on/off buttons of the test page show.
struct OutputsShown {
  std::uint8_t pumps = 0;      // bit i = pump i + 1
  std::uint16_t machines = 0;  // bit i = machine i + 1
  bool flushWater = false;
  bool flushDrain = false;
  bool alarmOutput = false;

  bool On(SingleOutput output) const;
  bool operator==(const OutputsShown&) const = default;
};

// Outputs under PC control show the wanted state, the others what the controller reports.
OutputsShown ShownOutputs(const link::ManualOutputs& manual, const link::ControllerStatus& status);
// Through the gateway every output shows as reported; the alarm output is not reported.
OutputsShown ShownOutputs(const link::GatewayStatus& status);

// Reset-machine entries: 0..9 machine 1..10, 10 all.
inline constexpr int ResetAllMachinesEntry = 10;
// The gateway message that resets the entry's machine(s); nothing for an entry outside 0..10.
std::optional<std::array<std::uint8_t, 4>> RemoteResetMachineMessage(int entry);

// "YYYY-MM-DD  HH:MM:SS" of the controller clock in the image; empty when a field is out of range.
std::string ControllerClockText(const ControllerImage& image);

}  // namespace qd
