#include "model/manual_control.h"

#include "app/text.h"
#include "model/system_config.h"

namespace qd {
namespace {

constexpr std::uint8_t RemoteToMachines = 3;
constexpr std::uint8_t RemoteResetMachine = '%';
constexpr std::uint8_t RemoteResetAllMachines = '&';

std::uint8_t PumpBit(int pump) {
  return pump >= 1 && pump <= PumpCount ? static_cast<std::uint8_t>(1u << (pump - 1)) : 0;
}

std::uint16_t MachineBit(int machine) {
  return machine >= 1 && machine <= MachineCount ? static_cast<std::uint16_t>(1u << (machine - 1)) : 0;
}

template <typename Mask>
void SetBits(Mask& mask, Mask bits, bool on) {
  mask = static_cast<Mask>(on ? mask | bits : mask & ~bits);
}

// The wanted state where the PC controls, the reported state elsewhere.
template <typename Mask>
Mask Merge(Mask wanted, Mask control, Mask reported) {
  return static_cast<Mask>((wanted & control) | (reported & ~control));
}

struct OutputFlags {
  bool& on;
  bool& control;
};

OutputFlags FlagsOf(link::ManualOutputs& manual, SingleOutput output) {
  switch (output) {
    case SingleOutput::FlushWater:
      return {manual.flushWaterOn, manual.flushWaterControl};
    case SingleOutput::FlushDrain:
      return {manual.flushDrainOn, manual.flushDrainControl};
    case SingleOutput::AlarmOutput:
      break;
  }
  return {manual.alarmOutputOn, manual.alarmOutputControl};
}

}  // namespace

void SwitchPump(link::ManualOutputs& manual, int pump, bool on) {
  SetBits(manual.pumpOn, PumpBit(pump), on);
  SetBits(manual.pumpControl, PumpBit(pump), true);
}

void SwitchMachineSignal(link::ManualOutputs& manual, int machine, bool on) {
  SetBits(manual.machineOn, MachineBit(machine), on);
  SetBits(manual.machineControl, MachineBit(machine), true);
}

void SwitchOutput(link::ManualOutputs& manual, SingleOutput output, bool on) {
  const OutputFlags flags = FlagsOf(manual, output);
  flags.on = on;
  flags.control = true;
}

void SetPumpControl(link::ManualOutputs& manual, int pump, bool control) {
  SetBits(manual.pumpControl, PumpBit(pump), control);
}

void SetMachineSignalControl(link::ManualOutputs& manual, int machine, bool control) {
  SetBits(manual.machineControl, MachineBit(machine), control);
}

void SetOutputControl(link::ManualOutputs& manual, SingleOutput output, bool control) {
  FlagsOf(manual, output).control = control;
}

bool OutputOn(const link::ManualOutputs& manual, SingleOutput output) {
  link::ManualOutputs copy = manual;
  return FlagsOf(copy, output).on;
}

bool OutputControlled(const link::ManualOutputs& manual, SingleOutput output) {
  link::ManualOutputs copy = manual;
  return FlagsOf(copy, output).control;
}

bool OutputsShown::On(SingleOutput output) const {
  switch (output) {
    case SingleOutput::FlushWater:
      return flushWater;
    case SingleOutput::FlushDrain:
      return flushDrain;
    case SingleOutput::AlarmOutput:
      break;
  }
  return alarmOutput;
}

OutputsShown ShownOutputs(const link::ManualOutputs& manual, const link::ControllerStatus& status) {
  OutputsShown shown;
  shown.pumps = Merge<std::uint8_t>(manual.pumpOn, manual.pumpControl, status.PumpsRunning()) & 0x7F;
  shown.machines =
      Merge<std::uint16_t>(manual.machineOn, manual.machineControl, status.MachineSignals()) & 0x3FF;
  shown.flushWater = manual.flushWaterControl ? manual.flushWaterOn : status.FlushWater();
  shown.flushDrain = manual.flushDrainControl ? manual.flushDrainOn : status.FlushDrain();
  shown.alarmOutput = manual.alarmOutputControl ? manual.alarmOutputOn : status.AlarmOutput();
  return shown;
}

OutputsShown ShownOutputs(const link::GatewayStatus& status) {
  OutputsShown shown;
  shown.pumps = status.PumpsRunning();
  shown.machines = status.MachineSignals();
  shown.flushWater = status.FlushWater();
  shown.flushDrain = status.FlushDrain();
  return shown;
}

std::optional<std::array<std::uint8_t, 4>> RemoteResetMachineMessage(int entry) {
  if (entry < 0 || entry > ResetAllMachinesEntry) return std::nullopt;
  if (entry == ResetAllMachinesEntry)
    return std::array<std::uint8_t, 4>{RemoteToMachines, RemoteResetAllMachines, 0, 0};
  return std::array<std::uint8_t, 4>{RemoteToMachines, RemoteResetMachine, static_cast<std::uint8_t>(entry),
                                     0};
}

std::string ControllerClockText(const ControllerImage& image) {
  if (!image.ControllerTimeValid()) return {};
  const ClockBytes t = image.ControllerTime();
  return Format("%04d-%02d-%02d  %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

}  // namespace qd
