#include "link/bus_link.h"

#include <algorithm>
#include <utility>

#include "app/text.h"
#include "app/translation.h"
#include "link/frame_codec.h"
#include "link/notify.h"

namespace qd::link {

namespace {

constexpr int ResetAllMachines = 10;  // the entry after machines 0..9
constexpr std::uint8_t ResetMachineFlag = 0x10;

}  // namespace

std::array<std::uint8_t, 6> ManualOutputs::Encode() const {
  const auto bit = [](bool on, int n) { return static_cast<std::uint16_t>(on ? 1u << n : 0u); };
  const std::uint16_t on =
      static_cast<std::uint16_t>((machineOn & 0x3FF) | bit(flushWaterOn, 10) | bit(flushDrainOn, 11));
  const std::uint16_t control = static_cast<std::uint16_t>(
      (machineControl & 0x3FF) | bit(flushWaterControl, 10) | bit(flushDrainControl, 11) |
      bit(alarmOutputOn, 12) | bit(alarmOutputControl, 13));
  return {static_cast<std::uint8_t>(pumpOn & 0x7F),
          static_cast<std::uint8_t>(pumpControl & 0x7F),
          static_cast<std::uint8_t>(on),
          static_cast<std::uint8_t>(on >> 8),
          static_cast<std::uint8_t>(control),
          static_cast<std::uint8_t>(control >> 8)};
}

std::string PortStatusText(PortStatus status) {
  switch (status) {
    case PortStatus::Hidden:
      return "";
    case PortStatus::Ready:
      return UiText("BusLink", "Ready");
    case PortStatus::PortOpen:
      return UiText("BusLink", "Port open");
    case PortStatus::PortClosed:
      return UiText("BusLink", "Port closed");
    case PortStatus::Closed:
      return UiText("BusLink", "Closed");
  }
  return "";
}

std::array<std::string, 5> CounterTexts(const LinkCounters& counters) {
  const auto unlessZero = [](const std::string& pattern, int value) {
    return value == 0 ? std::string() : Substitute(pattern, {std::to_string(value)});
  };
  return {Substitute(UiText("BusLink", "Rx: %1"), {Format("%6d", counters.rxBytes)}),
          Substitute(UiText("BusLink", "Tx: %1"), {Format("%6d", counters.txBytes)}),
          unlessZero(UiText("BusLink", "Sync: %1"), counters.syncCount),
          unlessZero(UiText("BusLink", "Retransmit: %1"), counters.retransmitCount),
          unlessZero(UiText("BusLink", "Checksum error: %1"), counters.checksumErrorCount)};
}

BusLink::BusLink(ByteSink& sink) : sink_(sink) {
  receiver_.onFrame = [this](std::span<const std::uint8_t> body) { EndOfFrame(body); };
  receiver_.onByteOutsideFrame = [this](std::uint8_t byte) { ByteOutsideFrame(byte); };
}

void BusLink::Receive(std::span<const std::uint8_t> bytes) {
  for (std::uint8_t b : bytes) {
    ++counters_.rxBytes;
    receiver_.Feed(b);
  }
}

bool BusLink::QueueRequest(std::uint8_t command, std::uint8_t destination,
                           std::span<const std::uint8_t> data) {
  if (!queued_.empty() || data.size() > MaxPayload - HeaderSize) return false;
  queued_ = MakePayload(command, 0, destination, PcAddress, data);
  return true;
}

bool BusLink::SendFrame(std::vector<std::uint8_t>& payload) {
  if (payload.size() < HeaderSize || payload.size() > MaxPayload) return false;
  SealPayload(payload);
  const bool written = Write(EncodeFrame(payload));
  if (payload[CommandOffset] == command::FirmwareLoader) queued_.clear();
  return written;
}

bool BusLink::SendRawFrame(std::span<const std::uint8_t> data) {
  return Write(EncodeRawFrame(data));
}

bool BusLink::Write(std::span<const std::uint8_t> encoded) {
  if (encoded.size() > MaxEncodedFrame || !sink_.IsOpen() || !sink_.Write(encoded)) return false;
  counters_.txBytes += static_cast<int>(encoded.size());
  return true;
}

void BusLink::ResetLinkState() {
  counters_.rxBytes = 0;
  counters_.txBytes = 0;
  counters_.retransmitCount = 0;
  counters_.syncCount = 0;
  counters_.framesHeard = 0;
  counters_.strayBytes = 0;
  retransmitPending_ = false;
  sequence_ = 0;
  answered_.reset();
  SetReady(false, PortStatus::Hidden);
}

void BusLink::Tick(bool localMode) {
  if (openDelay_ > 0 && --openDelay_ == 0 && localMode) Notify(handlers.openPort);
  if (!localMode) return;
  if (sink_.IsOpen()) {
    if (linkAlive_ > 0 && --linkAlive_ == 0) SetReady(false, PortStatus::PortOpen);
  } else {
    linkAlive_ = 0;
    status_ = PortStatus::PortClosed;
  }
}

void BusLink::PortClosedByUser() {
  status_ = PortStatus::Closed;
}

void BusLink::ClearErrorCounters() {
  counters_.checksumErrorCount = 0;
  counters_.retryCount = 0;
}

void BusLink::CountGatewayBytes(std::size_t received, std::size_t sent) {
  counters_.rxBytes += static_cast<int>(received);
  counters_.txBytes += static_cast<int>(sent);
}

void BusLink::SetReady(bool ready, PortStatus status) {
  linkReady_ = ready;
  status_ = status;
  Notify(handlers.linkStateChanged);
}

void BusLink::DropInFlight() {
  queued_.clear();
  lastRequest_.clear();
  retransmitPending_ = false;
}

std::uint8_t BusLink::AnswerSequence() {
  answered_ = sequence_;
  echoPassed_ = false;
  return sequence_++;
}

void BusLink::ByteOutsideFrame(std::uint8_t byte) {
  if (loaderListening_) {
    Notify(handlers.loaderByte, byte);
  } else {
    ++counters_.strayBytes;
  }
}

void BusLink::EndOfFrame(std::span<const std::uint8_t> body) {
  if (body.size() < 2) return;
  if (!SumIsValid(body)) {
    ++counters_.checksumErrorCount;
    Notify(handlers.checksumError);
    return;
  }
  ++counters_.framesHeard;
  // The loader talks on the bus meanwhile; nothing else may answer.
  if (loaderListening_ && programmingActive_) return;

  // Length is not compared with what arrived: handlers read through the view, which stops at the end.
  const PayloadView frame(body);
  if (frame.Destination() == PcAddress) {
    FrameToPc(frame);
  } else if (frame.Destination() == ControllerAddress && frame.Source() >= FirstTriggerAddress &&
             frame.Source() <= LastTriggerAddress) {
    Notify(handlers.triggerFrame, frame.Source() - FirstTriggerAddress, frame);
  }
}

namespace {

// A reply carries the request's code + 1 and, where the request names a count and an address, the same
// three bytes.
bool IsReplyTo(PayloadView reply, std::span<const std::uint8_t> request) {
  if (request.size() < HeaderSize || reply.Command() != request[CommandOffset] + 1) return false;
  const std::size_t echoed = std::min<std::size_t>(request.size(), HeaderSize + 3);
  for (std::size_t i = HeaderSize; i < echoed; ++i) {
    if (!reply.Has(i + 1) || reply.At(i) != request[i]) return false;
  }
  return true;
}

}  // namespace

bool BusLink::IsLateAnswerEcho(std::uint8_t number) const {
  return number != 0 && number != sequence_ && answered_ == number && !echoPassed_;
}

void BusLink::FrameToPc(PayloadView frame) {
  linkAlive_ = LinkAliveTicks;
  if (!linkReady_) SetReady(true, PortStatus::Ready);

  if (IsLateAnswerEcho(frame.Sequence())) {
    // Our answer reached the controller after its window had closed; it takes that answer for this
    // repeat. Answering now would put a second frame in flight.
    echoPassed_ = true;
  } else if (frame.Sequence() == 0 || frame.Sequence() != sequence_) {
    Resynchronise();
  } else if (retransmitPending_ && !IsReplyTo(frame, lastRequest_)) {
    Retransmit();
  } else {
    // The reply to the request kept for retransmission shows that the request did arrive.
    retransmitPending_ = false;
    TakeInSequence(frame);
  }
  if (sequence_ == 0) sequence_ = 1;  // 0 is reserved for the resynchronisation answer
}

void BusLink::Resynchronise() {
  // The controller lost track: answer with a resynchronisation and start again at 1. Whatever we sent
  // last may not have arrived, so it goes out again with the next in-sequence frame.
  sequence_ = 0;
  auto resync = MakePayload(command::Resync, 0, ControllerAddress, PcAddress);
  SendFrame(resync);
  sequence_ = 1;
  answered_.reset();
  ++counters_.syncCount;
  if (!lastRequest_.empty()) retransmitPending_ = true;
}

void BusLink::Retransmit() {
  retransmitPending_ = false;
  if (lastRequest_.empty()) return;
  lastRequest_[SequenceOffset] = AnswerSequence();
  SendFrame(lastRequest_);
  counters_.retransmitCount += static_cast<int>(lastRequest_.size());
}

void BusLink::TakeInSequence(PayloadView frame) {
  lastRequest_.clear();
  answered_.reset();
  Notify(handlers.dispatch, frame);
  // The handler may just have queued its next request: it answers this very frame.
  if (!queued_.empty()) {
    std::vector<std::uint8_t> request = std::move(queued_);
    queued_.clear();
    request[SequenceOffset] = AnswerSequence();
    // The loader takes over the bus; its requests must not come back after a resync.
    if (!loaderListening_) lastRequest_ = request;
    SendFrame(request);
  } else if (frame.Command() == command::Poll) {
    IdleAnswer();
  }
}

void BusLink::IdleAnswer() {
  if (handlers.takeResetMachineRequest) {
    if (const std::optional<int> entry = handlers.takeResetMachineRequest()) {
      // Nothing goes out now; the request answers the next in-sequence frame.
      if (*entry >= 0 && *entry <= ResetAllMachines) {
        const std::uint8_t data[] = {static_cast<std::uint8_t>(ResetMachineFlag | *entry)};
        QueueRequest(command::ResetMachine, ControllerAddress, data);
      }
      return;
    }
  }
  if (handlers.monitorOn && handlers.monitorOn()) {
    auto monitor = MakePayload(command::Monitor, AnswerSequence(), ControllerAddress, PcAddress);
    SendFrame(monitor);
    return;
  }
  const ManualOutputs outputs = handlers.manualOutputs ? handlers.manualOutputs() : ManualOutputs{};
  const auto data = outputs.Encode();
  auto answer = MakePayload(command::ManualOutputs, AnswerSequence(), ControllerAddress, PcAddress, data);
  SendFrame(answer);
}

}  // namespace qd::link
