// The PC's side of the bus fed with arbitrary bytes from the controller: the receiver, the link, the
// dispatch and every decoder behind it, wired as qdsystem wires them (system setup, ten shown machine
// windows, the read/write window's transfer, the log windows, the firmware window's boot loader).
//
// Input: one option byte, then the byte stream from the port.
//   bits 0..1 the transfer started first: 0 none, 1 read, 2 write, 3 write serial
//   bit 2     master-login mode (no login code check)
//   bit 3     the firmware window is shown and its boot loader started (bit 4: trigger target)
//   bit 5     the monitor button is on
//   bit 6     the machine windows and the system setup window are shown
//   bit 7     a reset-machine request waits
// The stream goes in chunks; a 100 ms tick follows each chunk, and the login code check's waiting
// steps take a chunk each.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "firmware/boot_loader.h"
#include "firmware/intel_hex.h"
#include "firmware/loader_link.h"
#include "link/bus_link.h"
#include "link/dispatch.h"
#include "link/machine_status_view.h"
#include "link/status_records.h"
#include "link/status_text.h"
#include "link/transfer.h"
#include "logs/alarm_log.h"
#include "logs/consumption_log.h"
#include "model/manual_control.h"
#include "model/system_commands.h"

namespace {

using namespace qd;

constexpr std::size_t ChunkSize = 61;

// A little firmware so that the boot loader has something to program.
constexpr char FirmwareHex[] =
    ":10000000000102030405060708090A0B0C0D0E0F78\n"
    ":10010000101112131415161718191A1B1C1D1E1F77\n"
    ":00000001FF\n";

class DiscardingSink : public link::ByteSink {
 public:
  bool IsOpen() const override { return true; }
  bool Write(std::span<const std::uint8_t> bytes) override {
    written += bytes.size();
    return true;
  }
  std::size_t written = 0;
};

class BusHarness {
 public:
  BusHarness(std::uint8_t options, std::span<const std::uint8_t> stream)
      : options_(options), stream_(stream), link_(sink_), transfer_(config_, MakeEnvironment()) {
    ResetSystem(config_);
    config_.masterLoginMode = (options & 0x04) != 0;
    WireLink();
    WireDispatch();
    WireFirmware();
  }

  void Run() {
    link_.ResetLinkState();
    StartTransfer();
    while (position_ < stream_.size()) {
      FeedChunk();
      Tick();
    }
    Tick();
  }

 private:
  bool Shown() const { return (options_ & 0x40) != 0; }
  bool FirmwareShown() const { return (options_ & 0x08) != 0; }

  link::SystemTransfer::Environment MakeEnvironment() {
    link::SystemTransfer::Environment env;
    env.localMode = [] { return true; };
    env.masterLoginMode = [this] { return config_.masterLoginMode; };
    env.userLoginCode = [] { return std::string("KMWPLTRS"); };
    env.queueRequest = [this](std::uint8_t command, std::uint8_t destination,
                              std::span<const std::uint8_t> data) {
      return link_.QueueRequest(command, destination, data);
    };
    env.sendGatewayMessage = [](std::span<const std::uint8_t>) { return false; };
    env.waitStep = [this] { FeedChunk(); };
    env.pauseBetweenBlocks = [] {};
    env.now = [] { return LocalDateTime{2024, 5, 6, 7, 8, 9, 0}; };
    return env;
  }

  void WireLink() {
    link_.handlers.dispatch = [this](link::PayloadView frame) { dispatcher_.DispatchBusFrame(frame); };
    link_.handlers.triggerFrame = [this](int machine, link::PayloadView frame) {
      if (machine < 0 || machine >= link::MachineCount) __builtin_trap();
      if (const auto report = link::DecodeTriggerReport(frame.Bytes())) {
        const int type = TriggerTypeOf(machine);
        views_[static_cast<std::size_t>(machine)].ApplyTriggerReport(*report, type);
        text_ = link::TriggerReportText(*report, type);
      }
    };
    link_.handlers.loaderByte = [this](std::uint8_t byte) { loader_.FirmwareByte(byte); };
    link_.handlers.takeResetMachineRequest = [this]() -> std::optional<int> {
      if ((options_ & 0x80) == 0 || resetTaken_) return std::nullopt;
      resetTaken_ = true;
      return static_cast<int>(stream_.size() % 12) - 1;
    };
    link_.handlers.monitorOn = [this] { return (options_ & 0x20) != 0; };
    link_.handlers.manualOutputs = [this] { return manual_; };
    link_.SetLoaderListening(FirmwareShown());
  }

  void WireDispatch() {
    auto& handlers = dispatcher_.handlers;
    handlers.systemStatus = [this](link::PayloadView frame) {
      const link::ControllerStatus status(frame.Bytes());
      shown_ = ShownOutputs(manual_, status);
      text_ = link::ControllerStatusText(status);
    };
    handlers.monitorReply = [this](link::PayloadView frame) {
      if (const auto text = link::MonitorReplyText(frame.Bytes()))
        text_ = link::MonitorTimePrefix(1, 2, 3, 4) + *text;
    };
    handlers.systemStatusWanted = [this] { return Shown(); };
    handlers.transferReply = [this](link::PayloadView frame) { transfer_.OnBusReply(frame); };
    handlers.logResetDone = [this] { consumption_.ResetDone(config_.image); };
    handlers.alarmLogCleared = [this] { logs::ClearAlarmHistory(config_.image); };
    for (std::size_t m = 0; m < dispatcher_.machines.size(); ++m) {
      dispatcher_.machines[m].wantsStatus = [this] { return Shown(); };
      dispatcher_.machines[m].applyStatus = [this, m](link::PayloadView frame) {
        const link::ControllerStatus status(frame.Bytes());
        views_[m].ApplyControllerStatus(status, static_cast<int>(m), TriggerTypeOf(static_cast<int>(m)));
        text_ = link::MachineStatusText(static_cast<int>(m), status.Machine(static_cast<int>(m)));
      };
    }
    transfer_.events.imageRead = [this](const ParseResult&) { consumption_.Rebuild(config_.image); };
  }

  void WireFirmware() {
    if (!FirmwareShown()) return;
    const firmware::FirmwareTarget& target =
        (options_ & 0x10) != 0 ? firmware::TriggerTarget : firmware::ControllerTarget;
    firmware_ = firmware::LoadIntelHex(FirmwareHex, target);
    if (!firmware_.Loaded()) __builtin_trap();
  }

  void StartTransfer() {
    if (FirmwareShown()) loader_.Start(firmware_);
    switch (options_ & 0x03) {
      case 1:
        transfer_.Read();
        break;
      case 2:
        transfer_.Write();
        break;
      case 3:
        transfer_.WriteSerial("310001");
        break;
      default:
        break;
    }
  }

  // Machine m shows with trigger type m, so that every type's decoding is reached.
  static int TriggerTypeOf(int machine) { return machine; }

  void FeedChunk() {
    const std::size_t count = std::min(ChunkSize, stream_.size() - position_);
    link_.Receive(stream_.subspan(position_, count));
    position_ += count;
  }

  void Tick() {
    link_.Tick(true);
    transfer_.Tick();
    loader_.Tick();
    for (link::MachineStatusView& view : views_)
      view.Tick();
  }

  std::uint8_t options_;
  std::span<const std::uint8_t> stream_;
  std::size_t position_ = 0;
  DiscardingSink sink_;
  link::BusLink link_;
  link::Dispatcher dispatcher_;
  WorkingConfig config_;
  link::SystemTransfer transfer_;
  std::array<link::MachineStatusView, link::MachineCount> views_;
  logs::ConsumptionLogView consumption_;
  link::ManualOutputs manual_{};
  OutputsShown shown_;
  firmware::FirmwareImage firmware_;
  firmware::BootLoader loader_{firmware::OwnerOnLink(link_)};
  bool resetTaken_ = false;
  std::string text_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::span<const std::uint8_t> input(data, size);
  BusHarness harness(input[0], input.subspan(1));
  harness.Run();
  return 0;
}
