#include "manual_outputs.h"

namespace qd::sim {

namespace {

std::uint8_t ByteAt(std::span<const std::uint8_t> data, std::size_t i) {
  return i < data.size() ? data[i] : 0;
}

std::uint16_t WordAt(std::span<const std::uint8_t> data, std::size_t i) {
  return static_cast<std::uint16_t>(ByteAt(data, i) | (ByteAt(data, i + 1) << 8));
}

bool Bit(std::uint16_t word, int n) {
  return ((word >> n) & 1u) != 0;
}

}  // namespace

link::ManualOutputs DecodeManualOutputs(std::span<const std::uint8_t> data) {
  link::ManualOutputs manual;
  manual.pumpOn = ByteAt(data, 0) & 0x7F;
  manual.pumpControl = ByteAt(data, 1) & 0x7F;
  const std::uint16_t on = WordAt(data, 2);
  const std::uint16_t control = WordAt(data, 4);
  manual.machineOn = on & 0x3FF;
  manual.flushWaterOn = Bit(on, 10);
  manual.flushDrainOn = Bit(on, 11);
  manual.machineControl = control & 0x3FF;
  manual.flushWaterControl = Bit(control, 10);
  manual.flushDrainControl = Bit(control, 11);
  manual.alarmOutputOn = Bit(control, 12);
  manual.alarmOutputControl = Bit(control, 13);
  return manual;
}

SystemOutputs ApplyManualOutputs(const SystemOutputs& controller, const link::ManualOutputs& manual) {
  const auto pick = [](auto own, auto wanted, auto control) {
    return static_cast<decltype(own)>((own & ~control) | (wanted & control));
  };
  SystemOutputs out;
  out.pumps = pick(controller.pumps, manual.pumpOn, manual.pumpControl);
  out.machineSignals = pick(controller.machineSignals, manual.machineOn, manual.machineControl);
  out.flushWater = manual.flushWaterControl ? manual.flushWaterOn : controller.flushWater;
  out.flushDrain = manual.flushDrainControl ? manual.flushDrainOn : controller.flushDrain;
  out.alarmOutput = manual.alarmOutputControl ? manual.alarmOutputOn : controller.alarmOutput;
  return out;
}

}  // namespace qd::sim
