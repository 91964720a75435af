#include "controller.h"

#include <algorithm>

#include "app/bytes.h"
#include "manual_outputs.h"

namespace qd::sim {

namespace {

constexpr std::size_t DataOffset = link::HeaderSize;
constexpr std::uint8_t ResetMachineFlag = 0x10;
constexpr int ResetAllMachines = 10;

// Where an Ethernet machine's serial number and machine id sit in its trigger block (big-endian).
constexpr std::size_t EthernetSerialOffset = 16;
constexpr std::size_t EthernetIdOffset = 20;

Reply Block(std::uint8_t command, std::size_t count, std::uint8_t addressLow, std::uint8_t addressHigh) {
  return {command, {static_cast<std::uint8_t>(count), addressLow, addressHigh}};
}

}  // namespace

Controller::Controller(const ControllerMemory& memory, const ControllerSettings& settings, SimTime now)
    : memory_(memory), settings_(settings), now_(now) {
  if (settings_.clockStart) clock_.emplace(*settings_.clockStart, now);
  for (int m = 0; m < MachineCount; ++m)
    machines_.emplace_back(m);
  Advance(now);
}

void Controller::Advance(SimTime now) {
  now_ = now;
  if (clock_) memory_.SetClock(ControllerClock::Encode(clock_->At(now)));
  const std::uint16_t enabled = memory_.EnabledMachines();
  for (int m = 0; m < MachineCount; ++m)
    machines_[static_cast<std::size_t>(m)].Advance(now, ((enabled >> m) & 1u) != 0);
}

std::optional<Reply> Controller::HandleRequest(link::PayloadView request) {
  namespace command = link::command;
  switch (request.Command()) {
    case command::ManualOutputs:
      manual_ = DecodeManualOutputs(request.Slice(DataOffset, 6));
      return Reply{command::Status, StatusData()};
    case command::ReadMemory:
      return ReadMemory(request);
    case command::WriteMemory:
      return WriteMemory(request);
    case command::ResetMachine:
      if (request.Has(DataOffset + 1)) ResetMachines(request.At(DataOffset));
      return std::nullopt;
    case command::ResetConsumptionLog:
      memory_.ResetConsumptionLog();
      return Reply{command::ConsumptionLogReset, {}};
    case command::ClearAlarmLog:
      memory_.ClearAlarmHistory();
      return Reply{command::AlarmLogCleared, {}};
    case command::Monitor:
      return Reply{command::MonitorReply, NextMonitorData()};
    default:
      // 0x70 starts the boot loader, which the bus master runs; the controller itself does not answer.
      return std::nullopt;
  }
}

std::optional<Reply> Controller::ReadMemory(const link::PayloadView& request) const {
  if (!request.Has(DataOffset + 3)) return std::nullopt;
  const std::size_t count = request.At(DataOffset);
  const std::uint8_t low = request.At(DataOffset + 1);
  const std::uint8_t high = request.At(DataOffset + 2);
  if (count == 0 || count > MaxBlock) return std::nullopt;
  const auto block = memory_.Read(static_cast<std::size_t>(low | (high << 8)), count);
  if (block.empty()) return std::nullopt;
  Reply reply = Block(link::command::MemoryData, block.size(), low, high);
  reply.data.insert(reply.data.end(), block.begin(), block.end());
  return reply;
}

std::optional<Reply> Controller::WriteMemory(const link::PayloadView& request) {
  if (!request.Has(DataOffset + 3)) return std::nullopt;
  const std::size_t count = request.At(DataOffset);
  const std::uint8_t low = request.At(DataOffset + 1);
  const std::uint8_t high = request.At(DataOffset + 2);
  if (count == 0 || count > MaxBlock || !request.Has(DataOffset + 3 + count)) return std::nullopt;
  const std::size_t stored =
      memory_.Write(static_cast<std::size_t>(low | (high << 8)), request.Slice(DataOffset + 3, count));
  if (stored == 0) return std::nullopt;
  return Block(link::command::WriteConfirm, stored, low, high);
}

void Controller::ResetMachines(std::uint8_t data) {
  lastReset_ = data;
  if ((data & ResetMachineFlag) == 0) {
    // The PC has written the system data; the controller works from its memory anyway.
    ++completedWrites_;
    return;
  }
  const int entry = data & 0x0F;
  for (int m = 0; m < MachineCount; ++m) {
    if (entry == ResetAllMachines || entry == m) machines_[static_cast<std::size_t>(m)].Reset(now_);
  }
}

void Controller::HearTriggerReport(const link::TriggerReport& report) {
  if (report.machine < 0 || report.machine >= MachineCount) return;
  TriggerState& state = triggers_[static_cast<std::size_t>(report.machine)];
  state.heard = true;
  state.heardAt = now_;
  state.inputs = report.inputs;
  state.value = report.value;
}

bool Controller::HasEthernetLink(int machine) const {
  return std::find(settings_.ethernetMachines.begin(), settings_.ethernetMachines.end(), machine + 1) !=
         settings_.ethernetMachines.end();
}

bool Controller::TriggerOnline(int machine) const {
  const TriggerState& state = triggers_[static_cast<std::size_t>(machine)];
  return state.heard && now_ - state.heardAt < TriggerOnlineTime;
}

SystemOutputs Controller::Outputs() const {
  SystemOutputs own;
  for (int m = 0; m < MachineCount; ++m) {
    const MachineActivity& machine = machines_[static_cast<std::size_t>(m)];
    own.pumps |= machine.PumpsRunning();
    if (machine.Washing()) own.machineSignals |= static_cast<std::uint16_t>(1u << m);
    own.flushWater = own.flushWater || machine.FlushWater();
    own.flushDrain = own.flushDrain || machine.FlushDrain();
  }
  return ApplyManualOutputs(own, manual_);
}

MachineRecord Controller::Record(int m) const {
  const MachineActivity& machine = machines_[static_cast<std::size_t>(m)];
  MachineRecord record{};
  record[0] = static_cast<std::uint8_t>(machine.RunningLine());
  record[1] = static_cast<std::uint8_t>(machine.RunningProgram());
  if (machine.KeyboardLocked()) record[2] |= KeyboardLockedFlag;
  record[3] = machine.ProgramInputs();
  if (HasEthernetLink(m)) {
    record[2] |= TriggerOnlineFlag;
    record[4] = static_cast<std::uint8_t>(machine.Washing() ? 20 + 15 * machine.RunningLine() : 0);
  } else if (TriggerOnline(m)) {
    const TriggerState& trigger = triggers_[static_cast<std::size_t>(m)];
    record[2] |= TriggerOnlineFlag;
    record[3] = trigger.inputs & 0x3F;
    record[4] = trigger.value;
  }
  return record;
}

std::vector<std::uint8_t> Controller::StatusData() const {
  std::array<MachineRecord, MachineCount> records{};
  for (int m = 0; m < MachineCount; ++m)
    records[static_cast<std::size_t>(m)] = Record(m);
  return EncodeStatusData(Outputs(), records, settings_.statusForm);
}

std::vector<std::uint8_t> Controller::NextMonitorData() {
  MonitorSample sample;
  if (!settings_.ethernetMachines.empty()) {
    const std::size_t turn = static_cast<std::size_t>(monitorTurn_++) % settings_.ethernetMachines.size();
    const int machine = settings_.ethernetMachines[turn];
    const std::size_t block = layout::MachineRecord(machine - 1) + layout::MachineTrigger;
    const auto serial = memory_.Read(block + EthernetSerialOffset, 4);
    const auto id = memory_.Read(block + EthernetIdOffset, 4);
    sample.machine = machine;
    sample.serialNumber = bytes::GetU32BE(serial, 0);
    sample.machineId = bytes::GetU32BE(id, 0);
    const MachineActivity& activity = machines_[static_cast<std::size_t>(machine - 1)];
    sample.status = {static_cast<std::uint8_t>(activity.RunningProgram()),
                     static_cast<std::uint8_t>(activity.RunningLine()),
                     static_cast<std::uint8_t>(activity.KeyboardLocked() ? 1 : 0), 0};
    sample.softener = activity.RunningLine() == 8 ? 1 : 0;
  }
  return EncodeMonitorData(sample);
}

}  // namespace qd::sim
