#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/counts.h"

// The data of the controller's status frames to the PC (the bytes after the 6-byte header).
//
// Status 0x43, current form (64-byte payload):
//   6 pumps running (bits 0..6) | 7 0 | 8..9 word: bits 0..9 machine signals, 10 flush water, 11 flush drain,
//   12 alarm output | 10..13 0 | 14 + 5m machine m: line, program, flags, inputs, percent
// Older form (44-byte payload): bytes 6..13 as above, 14 + 3m machine m: line, program, flags.
//   Machine flags: bit 0 trigger online, bit 2 keyboard locked.
//
// Monitor reply 0x51 (20-byte payload):
//   6 bits 0..3 machine 1..10, bit 4 valid | 7..10 machine serial number, big-endian
//   11..14 machine id, big-endian | 15..18 status | 19 softener
namespace qd::sim {

using qd::MachineCount;

enum class StatusForm { Current, Older };

struct SystemOutputs {
  std::uint8_t pumps = 0;            // bit i = pump i + 1
  std::uint16_t machineSignals = 0;  // bit i = machine i + 1
  bool flushWater = false;
  bool flushDrain = false;
  bool alarmOutput = false;
};

// One machine's record: running line, running program, flags, trigger inputs, percent value.
using MachineRecord = std::array<std::uint8_t, 5>;
inline constexpr std::uint8_t TriggerOnlineFlag = 0x01;
inline constexpr std::uint8_t KeyboardLockedFlag = 0x04;

std::vector<std::uint8_t> EncodeStatusData(const SystemOutputs& outputs,
                                           const std::array<MachineRecord, MachineCount>& machines,
                                           StatusForm form);

struct MonitorSample {
  int machine = 0;  // 1..10; 0 when no line is valid
  std::uint32_t serialNumber = 0;
  std::uint32_t machineId = 0;
  std::array<std::uint8_t, 4> status{};
  std::uint8_t softener = 0;
};

std::vector<std::uint8_t> EncodeMonitorData(const MonitorSample& sample);

}  // namespace qd::sim
