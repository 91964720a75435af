#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "controller_clock.h"
#include "controller_memory.h"
#include "link/bus_link.h"
#include "link/bus_payload.h"
#include "link/status_records.h"
#include "machine_activity.h"
#include "sim_time.h"
#include "status_frames.h"

namespace qd::sim {

// A reply of the controller to the PC: its command and data; the bus master adds the header.
struct Reply {
  std::uint8_t command = 0;
  std::vector<std::uint8_t> data;
};

struct ControllerSettings {
  StatusForm statusForm = StatusForm::Current;
  // The clock's start; no value: the controller leaves the clock bytes of its memory alone.
  std::optional<ClockTime> clockStart;
  // Machines 1..10 with an Ethernet Miele Logic link (no module on the bus).
  std::vector<int> ethernetMachines;
};

// The dosing controller itself, without any bus: its memory, its clock, its machines and the outputs
// the PC switches by hand. It answers requests that reached it and hears the trigger reports; the bus
// master decides when. A gateway server would call the same operations.
class Controller {
 public:
  static constexpr std::size_t MaxBlock = 128;  // bytes per memory request
  static constexpr SimTime TriggerOnlineTime = Milliseconds(2000);

  Controller(const ControllerMemory& memory, const ControllerSettings& settings, SimTime now = {});

  ControllerMemory& Memory() { return memory_; }
  const ControllerMemory& Memory() const { return memory_; }

  // Time passes: the clock in memory and the washes move on.
  void Advance(SimTime now);

  // A request of the PC that arrived in sequence. The reply, or nothing when the request gets none:
  //   0x42 manual outputs -> 0x43 status        0x44 read  -> 0x45 count, address, data
  //   0x46 write -> 0x47 count, address         0x48 reset machine (no reply)
  //   0x49 reset consumption log -> 0x4A        0x4B clear alarm history -> 0x4C
  //   0x50 monitor -> 0x51
  // Reads and writes take count 1..128; a block reaching beyond the memory is served as far as it
  // fits and the reply's count says how far that is; a block starting beyond it, a count outside
  // 1..128 or a write whose data did not all arrive gets no reply.
  std::optional<Reply> HandleRequest(link::PayloadView request);

  // A trigger module's report to the controller.
  void HearTriggerReport(const link::TriggerReport& report);

  // The status the controller reports now.
  SystemOutputs Outputs() const;
  MachineRecord Record(int machine) const;  // 0..9
  std::vector<std::uint8_t> StatusData() const;
  std::vector<std::uint8_t> NextMonitorData();

  const link::ManualOutputs& Manual() const { return manual_; }
  const MachineActivity& Machine(int machine) const { return machines_[static_cast<std::size_t>(machine)]; }
  // The data byte of the last 0x48 request; nothing before the first.
  std::optional<std::uint8_t> LastReset() const { return lastReset_; }
  int CompletedWrites() const { return completedWrites_; }

 private:
  struct TriggerState {
    SimTime heardAt{};
    bool heard = false;
    std::uint8_t inputs = 0;
    std::uint8_t value = 0;
  };

  std::optional<Reply> ReadMemory(const link::PayloadView& request) const;
  std::optional<Reply> WriteMemory(const link::PayloadView& request);
  void ResetMachines(std::uint8_t data);
  bool HasEthernetLink(int machine) const;  // 0..9
  bool TriggerOnline(int machine) const;

  ControllerMemory memory_;
  ControllerSettings settings_;
  std::optional<ControllerClock> clock_;
  std::vector<MachineActivity> machines_;
  std::array<TriggerState, MachineCount> triggers_{};
  link::ManualOutputs manual_;
  SimTime now_{};
  std::optional<std::uint8_t> lastReset_;
  int completedWrites_ = 0;
  int monitorTurn_ = 0;
};

}  // namespace qd::sim
