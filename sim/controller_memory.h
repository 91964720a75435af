#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/controller_image.h"

namespace qd::sim {

// Who the controller is: kept in the header of its memory (hardware 0x07, firmware 0x08..0x09,
// serial number 0x0A..0x0D, little-endian).
struct ControllerIdentity {
  std::uint8_t hardwareVersion = 4;
  std::uint8_t firmwareMajor = 2;
  std::uint8_t firmwareMinor = 3;
  std::uint32_t serialNumber = 310001;

  bool operator==(const ControllerIdentity&) const = default;
};

// The controller's 32 KiB data memory and what the controller itself keeps in it: its identity, its
// clock and the two log areas. A firmware with major version 1 keeps both logs 128 bytes earlier.
class ControllerMemory {
 public:
  static constexpr std::size_t Size = layout::ImageSize;

  ControllerMemory() = default;
  // A memory image of exactly Size bytes; any other size leaves the memory empty and gives false.
  bool Load(std::span<const std::uint8_t> image);

  std::span<const std::uint8_t> Bytes() const { return bytes_; }
  std::uint8_t At(std::size_t address) const { return address < Size ? bytes_[address] : 0; }

  // The part of [address, address + count) that lies inside the memory (empty beyond its end).
  std::span<const std::uint8_t> Read(std::size_t address, std::size_t count) const;
  // Stores the part of the data that fits from `address` on; gives how many bytes were stored.
  std::size_t Write(std::size_t address, std::span<const std::uint8_t> data);

  ControllerIdentity Identity() const;
  void SetIdentity(const ControllerIdentity& identity);

  // The clock bytes at 0x6F: second, minute, hour, day, month, year - 2000.
  void SetClock(const std::array<std::uint8_t, 6>& clock);

  // Enabled machines, bit m = machine m + 1.
  std::uint16_t EnabledMachines() const;

  std::size_t AlarmLogOffset() const;
  std::size_t ConsumptionLogOffset() const;
  // The whole consumption log becomes zero.
  void ResetConsumptionLog();
  // The alarm history becomes zero; the current alarm state at the start of the area stays.
  void ClearAlarmHistory();

  static constexpr std::size_t AlarmStateSize = 16;

 private:
  std::array<std::uint8_t, Size> bytes_{};
};

}  // namespace qd::sim
