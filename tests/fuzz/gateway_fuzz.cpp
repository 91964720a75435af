// The tool's side of a gateway connection fed with arbitrary bytes from the gateway server: the
// receiver, the dispatch, the session (login, system list, choice, connect result, address) and every
// decoder behind it, wired as qdsystem and qdtool wire them (system setup and ten shown machine
// windows, the read/write window's remote transfer, the log windows).
//
// Input: one option byte, then the byte stream from the socket.
//   bits 0..1 the transfer started once logged in: 0 none, 1 read, 2 write
//   bit 2     the login refusal is answered with Retry (else Cancel)
//   bit 3     the system choice names a serial (as qdtool --system does) instead of the first row
//   bit 4     the socket ends with an error after the stream (else with a disconnect)
//   bit 5     the status windows are shown
// The stream goes in chunks; a 100 ms tick follows each chunk, and the remote write's pauses between
// blocks take a chunk each.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "link/dispatch.h"
#include "link/gateway_codec.h"
#include "link/gateway_session.h"
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

constexpr std::size_t ChunkSize = 53;
constexpr int RetryLimit = 3;

class GatewayHarness {
 public:
  GatewayHarness(std::uint8_t options, std::span<const std::uint8_t> stream)
      : options_(options),
        stream_(stream),
        session_(MakeSessionEnvironment()),
        transfer_(config_, MakeTransferEnvironment()) {
    ResetSystem(config_);
    receiver_.onMessage = [this](std::span<const std::uint8_t> message) { OnMessage(message); };
    session_.RegisterWith(dispatcher_);
    WireDispatch();
  }

  void Run() {
    session_.SetLinkMode(false);
    session_.RemoteConnectBtnClick("127.0.0.1");
    session_.ClientSocketConnect();
    while (position_ < stream_.size()) {
      FeedChunk();
      Tick();
      StartTransferOnce();
    }
    Tick();
    if ((options_ & 0x10) != 0) {
      text_ = session_.ClientSocketError(10053);
    } else {
      session_.ClientSocketDisconnect();
    }
    text_ += session_.CaptionPiece();
  }

 private:
  bool Shown() const { return (options_ & 0x20) != 0; }

  link::GatewaySession::Environment MakeSessionEnvironment() {
    link::GatewaySession::Environment env;
    env.sendGatewayMessage = [this](std::span<const std::uint8_t> message) { return Send(message); };
    env.openSocket = [](const std::string&, std::uint16_t) {};
    env.closeSocket = [] {};
    env.askLogin = [] { return link::Credentials{"user", "secret"}; };
    env.chooseSystem = [this](const link::SystemList& systems) -> std::optional<link::SystemChoice> {
      if ((options_ & 0x08) != 0) return systems.FindSerial("310001");
      return systems.ChoiceAt(1);
    };
    env.retryLogin = [this] { return (options_ & 0x04) != 0 && ++retries_ <= RetryLimit; };
    env.statusWanted = [this] { return Shown(); };
    return env;
  }

  link::SystemTransfer::Environment MakeTransferEnvironment() {
    link::SystemTransfer::Environment env;
    env.localMode = [] { return false; };
    env.masterLoginMode = [] { return false; };
    env.userLoginCode = [] { return std::string("KMWPLTRS"); };
    env.queueRequest = [](std::uint8_t, std::uint8_t, std::span<const std::uint8_t>) { return false; };
    env.sendGatewayMessage = [this](std::span<const std::uint8_t> message) { return Send(message); };
    env.waitStep = [] {};
    env.pauseBetweenBlocks = [this] { FeedChunk(); };
    env.now = [] { return LocalDateTime{2024, 5, 6, 7, 8, 9, 0}; };
    return env;
  }

  // The socket frames every message; one that would not fit is not sent.
  bool Send(std::span<const std::uint8_t> message) { return !link::EncodeGatewayMessage(message).empty(); }

  void WireDispatch() {
    auto& handlers = dispatcher_.handlers;
    handlers.systemStatusWanted = [this] { return Shown(); };
    handlers.remoteSystemStatus = [this](std::span<const std::uint8_t> message) {
      const link::GatewayStatus status(message);
      shown_ = ShownOutputs(status);
      text_ = link::GatewayStatusText(status);
    };
    handlers.resetDone = [this] { ++resets_; };
    handlers.remoteSystemData = [this](std::span<const std::uint8_t> message) {
      transfer_.OnGatewayData(message);
    };
    handlers.remoteWriteResult = [this](std::span<const std::uint8_t> message) {
      transfer_.OnGatewayWriteResult(message);
    };
    handlers.logResetDone = [this] { consumption_.ResetDone(config_.image); };
    handlers.alarmLogCleared = [this] { logs::ClearAlarmHistory(config_.image); };
    for (std::size_t m = 0; m < dispatcher_.machines.size(); ++m) {
      dispatcher_.machines[m].wantsStatus = [this] { return Shown(); };
      dispatcher_.machines[m].applyRemoteStatus = [this, m](std::span<const std::uint8_t> record) {
        if (record.size() != link::MachineStatus::GatewayRecordSize) __builtin_trap();
        const link::MachineStatus status = link::MachineStatus::FromGatewayRecord(record);
        views_[m].ApplyGatewayRecord(status);
        text_ = link::MachineStatusText(static_cast<int>(m), status);
      };
    }
    transfer_.events.imageRead = [this](const ParseResult&) { consumption_.Rebuild(config_.image); };
  }

  void OnMessage(std::span<const std::uint8_t> message) {
    if (message.size() < 2) __builtin_trap();  // the receiver passes class and code at least
    dispatcher_.DispatchGatewayMessage(message);
    for (const link::SystemEntry& entry : session_.Systems().Entries())
      text_ = link::RowNumberText(session_.Systems().Count()) + entry.serial + entry.name;
  }

  void StartTransferOnce() {
    if (transferStarted_ || !session_.RemoteLoggedIn()) return;
    transferStarted_ = true;
    if ((options_ & 0x03) == 1) transfer_.Read();
    if ((options_ & 0x03) == 2) transfer_.Write();
  }

  void FeedChunk() {
    const std::size_t count = std::min(ChunkSize, stream_.size() - position_);
    receiver_.Feed(stream_.subspan(position_, count));
    position_ += count;
  }

  void Tick() {
    session_.LinkTick();
    transfer_.Tick();
    for (link::MachineStatusView& view : views_)
      view.Tick();
  }

  std::uint8_t options_;
  std::span<const std::uint8_t> stream_;
  std::size_t position_ = 0;
  link::GatewayReceiver receiver_;
  link::Dispatcher dispatcher_;
  link::GatewaySession session_;
  WorkingConfig config_;
  link::SystemTransfer transfer_;
  std::array<link::MachineStatusView, link::MachineCount> views_;
  logs::ConsumptionLogView consumption_;
  OutputsShown shown_;
  int retries_ = 0;
  int resets_ = 0;
  bool transferStarted_ = false;
  std::string text_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::span<const std::uint8_t> input(data, size);
  GatewayHarness harness(input[0], input.subspan(1));
  harness.Run();
  return 0;
}
