#include "status_frames.h"

#include "app/bytes.h"

namespace qd::sim {

namespace {

constexpr std::size_t CurrentDataSize = 58;  // 64 - header
constexpr std::size_t OlderDataSize = 38;    // 44 - header
constexpr std::size_t MachineData = 8;       // payload byte 14
constexpr std::size_t MonitorDataSize = 14;  // 20 - header
constexpr std::uint8_t MonitorValidBit = 0x10;

}  // namespace

std::vector<std::uint8_t> EncodeStatusData(const SystemOutputs& outputs,
                                           const std::array<MachineRecord, MachineCount>& machines,
                                           StatusForm form) {
  const bool current = form == StatusForm::Current;
  std::vector<std::uint8_t> data(current ? CurrentDataSize : OlderDataSize, 0);
  data[0] = outputs.pumps & 0x7F;
  std::uint16_t word = outputs.machineSignals & 0x3FF;
  if (outputs.flushWater) word |= 1u << 10;
  if (outputs.flushDrain) word |= 1u << 11;
  if (outputs.alarmOutput) word |= 1u << 12;
  bytes::PutU16LE(data, 2, word);
  const std::size_t recordSize = current ? 5 : 3;
  for (int m = 0; m < MachineCount; ++m) {
    const MachineRecord& record = machines[m];
    const std::size_t at = MachineData + recordSize * static_cast<std::size_t>(m);
    data[at] = record[0];
    data[at + 1] = record[1];
    data[at + 2] = current ? record[2] : static_cast<std::uint8_t>(record[2] & 0x05);
    if (current) {
      data[at + 3] = record[3];
      data[at + 4] = record[4];
    }
  }
  return data;
}

std::vector<std::uint8_t> EncodeMonitorData(const MonitorSample& sample) {
  std::vector<std::uint8_t> data(MonitorDataSize, 0);
  if (sample.machine >= 1 && sample.machine <= MachineCount)
    data[0] = static_cast<std::uint8_t>(MonitorValidBit | sample.machine);
  bytes::PutU32BE(data, 1, sample.serialNumber);
  bytes::PutU32BE(data, 5, sample.machineId);
  for (std::size_t i = 0; i < sample.status.size(); ++i)
    data[9 + i] = sample.status[i];
  data[13] = sample.softener;
  return data;
}

}  // namespace qd::sim
