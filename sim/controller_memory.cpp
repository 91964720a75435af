#include "controller_memory.h"

#include <algorithm>

#include "app/bytes.h"

namespace qd::sim {

bool ControllerMemory::Load(std::span<const std::uint8_t> image) {
  if (image.size() != Size) return false;
  std::copy(image.begin(), image.end(), bytes_.begin());
  return true;
}

std::span<const std::uint8_t> ControllerMemory::Read(std::size_t address, std::size_t count) const {
  if (address >= Size) return {};
  return std::span<const std::uint8_t>(bytes_).subspan(address, std::min(count, Size - address));
}

std::size_t ControllerMemory::Write(std::size_t address, std::span<const std::uint8_t> data) {
  if (address >= Size) return 0;
  const std::size_t count = std::min(data.size(), Size - address);
  std::copy_n(data.begin(), count, bytes_.begin() + static_cast<std::ptrdiff_t>(address));
  return count;
}

ControllerIdentity ControllerMemory::Identity() const {
  return {bytes_[layout::HardwareVersion], bytes_[layout::FirmwareMajor], bytes_[layout::FirmwareMinor],
          bytes::GetU32LE(bytes_, layout::SerialNumber)};
}

void ControllerMemory::SetIdentity(const ControllerIdentity& identity) {
  bytes_[layout::HardwareVersion] = identity.hardwareVersion;
  bytes_[layout::FirmwareMajor] = identity.firmwareMajor;
  bytes_[layout::FirmwareMinor] = identity.firmwareMinor;
  bytes::PutU32LE(bytes_, layout::SerialNumber, identity.serialNumber);
}

void ControllerMemory::SetClock(const std::array<std::uint8_t, 6>& clock) {
  std::copy(clock.begin(), clock.end(), bytes_.begin() + layout::ControllerTime);
}

std::uint16_t ControllerMemory::EnabledMachines() const {
  return static_cast<std::uint16_t>(bytes::GetU16LE(bytes_, layout::MachinesEnabled) & 0x3FF);
}

std::size_t ControllerMemory::AlarmLogOffset() const {
  const bool early = bytes_[layout::FirmwareMajor] == 1;
  return early ? layout::AlarmLog - layout::FirmwareOneLogShift : layout::AlarmLog;
}

std::size_t ControllerMemory::ConsumptionLogOffset() const {
  const bool early = bytes_[layout::FirmwareMajor] == 1;
  return early ? layout::ConsumptionLog - layout::FirmwareOneLogShift : layout::ConsumptionLog;
}

void ControllerMemory::ResetConsumptionLog() {
  std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(ConsumptionLogOffset()),
              layout::ConsumptionLogSize, 0);
}

void ControllerMemory::ClearAlarmHistory() {
  const std::size_t history = AlarmLogOffset() + AlarmStateSize;
  std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(history), layout::AlarmLogSize - AlarmStateSize,
              0);
}

}  // namespace qd::sim
