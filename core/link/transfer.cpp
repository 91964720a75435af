#include "link/transfer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/bytes.h"
#include "app/text.h"
#include "app/translation.h"
#include "link/notify.h"
#include "model/image_builder.h"

namespace qd::link {
namespace {

// Gateway messages of the transfer.
//   read request  'A' 'C'
//   data block    'B' 'H' offset(16) count(16) data
//   write block   0x00 'Q' offset(16) count(8) data
//   confirm       0x00 'S' 0 0   ->   'C' 'S' sum(16)
constexpr std::uint8_t GatewayReadRequest[] = {'A', 'C'};
constexpr std::uint8_t GatewayConfirmRequest[] = {0x00, 'S', 0x00, 0x00};
constexpr std::size_t GatewayDataHeader = 6;

std::string NoLoginResponseText() {
  return UiText("Transfer", "Unable to check Login code.\n\nNo response from System");
}

std::string WrongLoginCodeText() {
  return UiText("Transfer", "Wrong System login code");
}

// The code as the controller holds it: up to the first zero byte, at most eight characters.
std::string StoredLoginCode(std::span<const std::uint8_t> data) {
  std::string code;
  for (std::size_t i = 0; i < data.size() && i < layout::SystemLoginCodeLength && data[i] != 0; ++i) {
    code += static_cast<char>(data[i]);
  }
  return code;
}

bool IsLoginCheck(TransferState state) {
  return state == TransferState::LoginCheckWaiting || state == TransferState::LoginCheckPassed ||
         state == TransferState::LoginCheckFailed;
}

}  // namespace

bool IsBusy(TransferState state) {
  return state != TransferState::Idle;
}

bool IsTransferring(TransferState state) {
  return state == TransferState::ReadingLocal || state == TransferState::WritingLocal ||
         state == TransferState::ReadingRemote || state == TransferState::WritingRemote;
}

bool Succeeded(TransferOutcome outcome) {
  return outcome == TransferOutcome::ReadCompleted || outcome == TransferOutcome::WriteCompleted ||
         outcome == TransferOutcome::WriteConfirmed;
}

TransferButtons ButtonsFor(TransferState state, bool linkReady, bool localMode, bool remoteOnline,
                           bool remoteFullAccess) {
  TransferButtons buttons;
  if (!linkReady) return buttons;
  if (IsBusy(state)) {
    buttons.stop = true;
    return buttons;
  }
  buttons.read = true;
  buttons.write = localMode || (remoteOnline && remoteFullAccess);
  return buttons;
}

void SystemTransfer::Changed() {
  Notify(events.changed);
}

void SystemTransfer::SetState(TransferState state) {
  state_ = state;
  Changed();
}

void SystemTransfer::BeginOperation() {
  view_.stateInfo.clear();
  view_.progressText.clear();
  view_.progressColour = ProgressColour::Normal;
  view_.progressBar = 0;
  Changed();
}

bool SystemTransfer::Take(Operation operation) {
  const std::optional<Operation> holder = env_.takeController ? env_.takeController(operation) : std::nullopt;
  if (holder) {
    outcome_ = TransferOutcome::ControllerBusy;
    Notify(events.error, BusyText(*holder));
    Notify(events.finished, outcome_);
    return false;
  }
  holding_ = operation;
  return true;
}

void SystemTransfer::Finish(TransferOutcome outcome, const std::function<void()>& beforeFinished) {
  outcome_ = outcome;
  confirmRunning_ = false;
  if (holding_) {
    const Operation operation = *holding_;
    holding_.reset();
    Notify(env_.releaseController, operation, Succeeded(outcome));
  }
  SetState(TransferState::Idle);
  Notify(beforeFinished);
  Notify(events.finished, outcome);
}

SystemTransfer::LoginCheck SystemTransfer::RunLoginCheck() {
  // The check's request and state would land in the middle of the transfer.
  if (IsTransferring(state_)) return LoginCheck::Busy;
  if (env_.masterLoginMode() || !env_.localMode()) return LoginCheck::Passed;
  const std::uint8_t request[] = {LoginCodeLength, LoginCodeAddress & 0xFF, LoginCodeAddress >> 8};
  env_.queueRequest(command::ReadMemory, ControllerAddress, request);
  SetState(TransferState::LoginCheckWaiting);
  for (int step = 0; step < LoginCheckWaitSteps && state_ == TransferState::LoginCheckWaiting; ++step) {
    env_.waitStep();
  }
  const TransferState outcome = state_;
  // The check is over: the window is idle again, so Read and Write stay usable after a refused check or a
  // log reset's check. A late reply no longer matches the state and is ignored.
  if (IsLoginCheck(outcome)) SetState(TransferState::Idle);
  switch (outcome) {
    case TransferState::LoginCheckPassed:
      return LoginCheck::Passed;
    case TransferState::LoginCheckWaiting:
      return LoginCheck::NoResponse;
    case TransferState::LoginCheckFailed:
      return LoginCheck::WrongCode;
    default:
      // Stopped while it waited.
      return LoginCheck::Stopped;
  }
}

std::optional<TransferOutcome> SystemTransfer::LoginRefusal() {
  switch (RunLoginCheck()) {
    case LoginCheck::Passed:
      return std::nullopt;
    case LoginCheck::NoResponse:
      Notify(events.error, NoLoginResponseText());
      return TransferOutcome::NoLoginResponse;
    case LoginCheck::WrongCode:
      Notify(events.error, WrongLoginCodeText());
      return TransferOutcome::WrongLoginCode;
    case LoginCheck::Stopped:
      return TransferOutcome::Stopped;
    case LoginCheck::Busy:
      if (holding_) Notify(events.error, BusyText(*holding_));
      break;
  }
  return TransferOutcome::ControllerBusy;
}

bool SystemTransfer::RefusedAtStart(const std::optional<TransferOutcome>& refusal) {
  if (!refusal) return false;
  // A Stop during the check has already ended the operation.
  if (holding_) Finish(*refusal);
  return true;
}

bool SystemTransfer::CheckLoginCode() {
  return !LoginRefusal();
}

void SystemTransfer::ShowProgress() {
  const double percent = end_ > start_ ? (current_ - start_) * 100.0 / (end_ - start_) : 100.0;
  view_.progressText = UiDecimal(percent, 1) + " %";
  view_.progressBar = static_cast<int>(std::lround(percent));
  Changed();
}

void SystemTransfer::QueueRead() {
  const int count = std::min(end_ - current_, LocalBlockSize);
  const std::uint8_t request[] = {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(current_),
                                  static_cast<std::uint8_t>(current_ >> 8)};
  env_.queueRequest(command::ReadMemory, ControllerAddress, request);
}

void SystemTransfer::QueueWrite() {
  const int count = std::min(end_ - current_, LocalBlockSize);
  std::vector<std::uint8_t> request = {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(current_),
                                       static_cast<std::uint8_t>(current_ >> 8)};
  const auto block =
      config_.image.Span().subspan(static_cast<std::size_t>(current_), static_cast<std::size_t>(count));
  request.insert(request.end(), block.begin(), block.end());
  env_.queueRequest(command::WriteMemory, ControllerAddress, request);
}

void SystemTransfer::Read() {
  // A second start while one runs would end the first.
  if (IsBusy(state_)) return;
  BeginOperation();
  if (!Take(env_.readOperation) || RefusedAtStart(LoginRefusal())) return;
  start_ = current_ = 0;
  end_ = static_cast<int>(layout::ImageSize);
  view_.statusText = Substitute(UiText("Transfer", "Reading %1 bytes."), {std::to_string(end_)});
  if (env_.localMode()) {
    readLimit_ = LocalReadLimitTicks;
    SetState(TransferState::ReadingLocal);
    QueueRead();
  } else {
    readLimit_ = RemoteReadLimitTicks;
    Notify(events.remoteTransferStarts);
    SetState(TransferState::ReadingRemote);
    if (!env_.sendGatewayMessage(GatewayReadRequest)) Fail();
  }
}

void SystemTransfer::Write() {
  if (IsBusy(state_)) return;
  BeginOperation();
  if (!Take(Operation::Write) || RefusedAtStart(LoginRefusal())) return;
  if (env_.settleUnsavedEdits && !env_.settleUnsavedEdits()) {
    Finish(TransferOutcome::Cancelled);
    return;
  }
  Build();
  start_ = current_ = static_cast<int>(layout::HeaderSize);  // the header is not written
  end_ = config_.image.dataLength;
  view_.statusText = Substitute(UiText("Transfer", "Writing %1 bytes."), {std::to_string(end_)});
  if (env_.localMode()) {
    view_.progressBar = 0;
    SetState(TransferState::WritingLocal);
    QueueWrite();
    return;
  }
  confirmRunning_ = false;
  // Without master-login the controller keeps its own login code: the buffer's may be another
  // controller's, or none. The blocks go around it, and the confirmation sums what was sent.
  keptFrom_ = keptTo_ = 0;
  if (!env_.masterLoginMode()) {
    keptFrom_ = static_cast<int>(layout::SystemLoginCode);
    keptTo_ = static_cast<int>(layout::SystemLoginCode + layout::SystemLoginCodeField);
  }
  SetState(TransferState::WritingRemote);
  Notify(events.remoteTransferStarts);
  SendRemoteBlocks();
}

void SystemTransfer::Build() {
  if (env_.buildImage) {
    env_.buildImage();
  } else {
    BuildImage(config_, env_.now());
  }
}

void SystemTransfer::SendRemoteBlocks() {
  while (current_ < end_ && state_ == TransferState::WritingRemote) {
    if (current_ >= keptFrom_ && current_ < keptTo_) {
      current_ = keptTo_;
      continue;
    }
    int count = std::min(end_ - current_, RemoteBlockSize);
    if (current_ < keptFrom_) count = std::min(count, keptFrom_ - current_);
    std::vector<std::uint8_t> message = {0x00, 'Q', static_cast<std::uint8_t>(current_),
                                         static_cast<std::uint8_t>(current_ >> 8),
                                         static_cast<std::uint8_t>(count)};
    const auto block =
        config_.image.Span().subspan(static_cast<std::size_t>(current_), static_cast<std::size_t>(count));
    message.insert(message.end(), block.begin(), block.end());
    // A block the connection did not take would leave a hole in the controller's memory.
    if (!env_.sendGatewayMessage(message)) {
      Fail();
      return;
    }
    current_ += count;
    ShowProgress();
    Notify(env_.pauseBetweenBlocks);
  }
  if (state_ != TransferState::WritingRemote) return;
  if (!env_.sendGatewayMessage(GatewayConfirmRequest)) {
    Fail();
    return;
  }
  view_.progressBar = 0;
  view_.progressText = UiText("Transfer", "Waiting for confirm...");
  confirmCounter_ = 0;
  confirmRunning_ = true;
  Changed();
}

std::string SystemTransfer::WriteSerial(const std::string& serialText) {
  if (IsBusy(state_)) return serialText;
  view_.stateInfo.clear();
  Changed();
  const auto serial = static_cast<std::uint32_t>(WholeNumberOr(serialText));
  if (!Take(Operation::WriteSerial)) return serialText;
  if (env_.settleUnsavedEdits && !env_.settleUnsavedEdits()) {
    Finish(TransferOutcome::Cancelled);
    return serialText;
  }
  Build();
  bytes::PutU32LE(config_.image.Span(), layout::SerialNumber, serial);
  start_ = current_ = 0;
  end_ = config_.image.dataLength;
  view_.statusText = Substitute(UiText("Transfer", "Writing %1 bytes."), {std::to_string(end_)});
  view_.progressBar = 0;
  SetState(TransferState::WritingLocal);
  if (env_.localMode()) QueueWrite();
  return std::to_string(serial);
}

void SystemTransfer::Stop() {
  view_.stateInfo = UiText("Transfer", "Stopped");
  if (holding_ || IsTransferring(state_)) {
    Finish(TransferOutcome::Stopped);
  } else {
    SetState(TransferState::Idle);
  }
}

void SystemTransfer::ConnectionLost() {
  if (IsTransferring(state_)) Fail(TransferOutcome::ConnectionLost);
}

void SystemTransfer::Fail(TransferOutcome outcome) {
  view_.statusText = Substitute(UiText("Transfer", "Transfer faild at: %1"), {std::to_string(current_)});
  if (confirmRunning_) {
    // No confirmation will come any more.
    view_.progressText.clear();
    view_.progressBar = 0;
  }
  Finish(outcome);
}

void SystemTransfer::Tick() {
  if (state_ == TransferState::WritingRemote && confirmRunning_) {
    ++confirmCounter_;
    if (confirmCounter_ > ConfirmLimitTicks) {
      view_.progressBar = 0;
      view_.progressText = UiText("Transfer", "Timeout, no confirm received!");
      view_.progressColour = ProgressColour::Bad;
      Finish(TransferOutcome::ConfirmTimedOut);
    } else {
      view_.progressBar = confirmCounter_ * 100 / ConfirmLimitTicks;
      Changed();
    }
  }
  if (state_ == TransferState::ReadingLocal || state_ == TransferState::ReadingRemote) {
    if (readLimit_ > 0) --readLimit_;
    if (readLimit_ == 0) {
      view_.stateInfo = UiText("Transfer", "Timeout!");
      Finish(TransferOutcome::ReadTimedOut);
    }
  }
}

void SystemTransfer::OnBusReply(PayloadView frame) {
  if (frame.Command() == command::MemoryData) OnMemoryData(frame);
  if (frame.Command() == command::WriteConfirm) OnWriteConfirm(frame);
}

void SystemTransfer::OnMemoryData(PayloadView frame) {
  const std::size_t count = frame.At(HeaderSize);
  const int address = frame.At(HeaderSize + 1) | (frame.At(HeaderSize + 2) << 8);
  const auto data = frame.Slice(HeaderSize + 3, count);

  if (state_ == TransferState::LoginCheckWaiting) {
    // Only the code field itself: a late block of an earlier read is no login code.
    if (address != LoginCodeAddress || count != LoginCodeLength || data.size() != count) return;
    if (data[0] != 0 && StoredLoginCode(data) != env_.userLoginCode()) {
      SetState(TransferState::LoginCheckFailed);
      return;
    }
    std::copy(data.begin(), data.end(), config_.image.bytes.begin() + layout::SystemLoginCode);
    SetState(TransferState::LoginCheckPassed);
    return;
  }
  // A reply that is not the next block, or that does not carry the data it announces, is not ours.
  if (state_ != TransferState::ReadingLocal || address != current_ || count == 0 || data.size() != count)
    return;
  // A reply reaching beyond the memory is kept as far as the memory goes.
  const std::size_t room = layout::ImageSize - static_cast<std::size_t>(current_);
  std::copy_n(data.begin(), std::min(count, room), config_.image.bytes.begin() + current_);
  current_ += static_cast<int>(count);
  ShowProgress();
  if (current_ < end_) {
    QueueRead();
  } else {
    FinishLocalRead();
  }
}

void SystemTransfer::FinishLocalRead() {
  const ParseResult parsed = ParseImage(config_);
  view_.statusText = UiText("Transfer", "Read completed");
  Finish(parsed.ok ? TransferOutcome::ReadCompleted : TransferOutcome::BadFormat,
         [&] { Notify(events.imageRead, parsed); });
}

void SystemTransfer::OnWriteConfirm(PayloadView frame) {
  const int count = frame.At(HeaderSize);
  const int address = frame.At(HeaderSize + 1) | (frame.At(HeaderSize + 2) << 8);
  if (state_ != TransferState::WritingLocal || !frame.Has(HeaderSize + 3) || address != current_) return;
  current_ += count;
  ShowProgress();
  if (current_ < end_) {
    QueueWrite();
    return;
  }
  view_.statusText = UiText("Transfer", "Write completed");
  const std::uint8_t endOfWrite[] = {0x00};
  env_.queueRequest(command::ResetMachine, ControllerAddress, endOfWrite);
  Finish(TransferOutcome::WriteCompleted);
}

void SystemTransfer::OnGatewayData(std::span<const std::uint8_t> message) {
  Notify(events.gatewayTrace, message);
  if (state_ != TransferState::ReadingRemote) return;
  const PayloadView view(message);
  const int offset = view.At(2) | (view.At(3) << 8);
  const std::size_t count = view.At(4) | (view.At(5) << 8);
  const auto data = view.Slice(GatewayDataHeader, count);
  if (offset != current_ || offset + count > layout::ImageSize || data.size() != count) {
    Fail();
    return;
  }
  std::copy(data.begin(), data.end(), config_.image.bytes.begin() + offset);
  current_ += static_cast<int>(count);
  ShowProgress();
  if (current_ == static_cast<int>(layout::ImageSize)) FinishRemoteRead();
}

void SystemTransfer::FinishRemoteRead() {
  view_.statusText = UiText("Transfer", "Transfer completed");
  ControllerImage& image = config_.image;
  const std::string code = image.SystemLoginCode();
  const bool refused = !env_.masterLoginMode() && !code.empty() && code != env_.userLoginCode();
  if (refused) {
    // Nothing of a system the user may not see stays in the buffer but its code.
    std::array<std::uint8_t, layout::SystemLoginCodeField> kept;
    std::copy_n(image.bytes.begin() + layout::SystemLoginCode, layout::SystemLoginCodeField, kept.begin());
    image.bytes.fill(0);
    std::copy(kept.begin(), kept.end(), image.bytes.begin() + layout::SystemLoginCode);
    image.WriteFormat();
  }
  const ParseResult parsed = ParseImage(config_);
  const TransferOutcome outcome = refused     ? TransferOutcome::WrongLoginCode
                                  : parsed.ok ? TransferOutcome::ReadCompleted
                                              : TransferOutcome::BadFormat;
  Finish(outcome, [&] {
    if (refused) Notify(events.error, WrongLoginCodeText());
    Notify(events.imageRead, parsed);
  });
}

void SystemTransfer::OnGatewayWriteResult(std::span<const std::uint8_t> message) {
  Notify(events.gatewayTrace, message);
  if (state_ != TransferState::WritingRemote || message.size() < 4) return;
  const std::uint16_t received = static_cast<std::uint16_t>(message[2] | (message[3] << 8));
  std::uint16_t sum = 0;
  for (int i = start_; i < end_; ++i) {
    if (i < keptFrom_ || i >= keptTo_) sum = static_cast<std::uint16_t>(sum + config_.image.bytes[i]);
  }
  view_.progressBar = 0;
  const bool good = sum == received;
  view_.progressText = good ? UiText("Transfer", "Confirm received - OK")
                            : UiText("Transfer", "Confirm received - bad checksum!");
  view_.progressColour = good ? ProgressColour::Good : ProgressColour::Bad;
  Finish(good ? TransferOutcome::WriteConfirmed : TransferOutcome::BadConfirmChecksum);
}

}  // namespace qd::link
