#include "firmware/boot_loader.h"

#include <array>

#include "app/bytes.h"
#include "app/translation.h"
#include "link/bus_payload.h"
#include "link/notify.h"

namespace qd::firmware {

using link::Notify;

StartResult BootLoader::Start(const FirmwareImage& firmware) {
  if (!firmware.Loaded()) return StartResult::NothingLoaded;
  if (owner_.takeController && owner_.takeController(link::Operation::FirmwareUpdate))
    return StartResult::ControllerBusy;
  firmware_ = firmware;
  // A restart must let the start request through the link.
  SetProgrammingActive(false);
  stateText_ = UiText("BootLoader", "Started, waiting...");
  Notify(owner_.clearQueue);
  if (firmware_.target.kind == TargetKind::Controller) {
    const std::array<std::uint8_t, 2> data{0x01, 0x00};
    Notify(owner_.queueRequest, link::command::FirmwareLoader, link::ControllerAddress,
           std::span<const std::uint8_t>(data));
  } else {
    std::vector<std::uint8_t> payload =
        link::MakePayload(link::command::FirmwareLoader, 0, link::FirmwareLoaderAddress, link::PcAddress);
    Notify(owner_.sendFrame, payload);
  }
  state_ = FirmwareState::WaitingForLoader;
  currentAddress_ = 0;
  progress_ = 0;
  timeout_ = StartLimitTicks;
  Notify(owner_.changed);
  return StartResult::Started;
}

void BootLoader::FirmwareByte(std::uint8_t byte) {
  switch (state_) {
    case FirmwareState::Idle:
      return;
    case FirmwareState::WaitingForLoader: {
      if (byte != loader_byte::Ready) return;
      SetProgrammingActive(true);
      stateText_ = UiText("BootLoader", "Programming...");
      std::array<std::uint8_t, 2> blockSize{};
      bytes::PutU16LE(blockSize, 0, firmware_.target.blockSizeWord);
      SendRaw(blockSize);
      currentAddress_ = SmallBlocks() ? 0 : BlockBytes;
      state_ = FirmwareState::SendingBlocks;
      break;
    }
    case FirmwareState::SendingBlocks:
      if (byte != loader_byte::Accepted) return;
      currentAddress_ += BlockBytes;
      progress_ = currentAddress_;
      if ((currentAddress_ & 0xFFFF) < firmware_.programmingEnd) {
        SendBlock();
      } else {
        const std::array<std::uint8_t, 2> endOfBlocks{0x00, 0x00};
        SendRaw(endOfBlocks);
        state_ = FirmwareState::EndOfBlocksSent;
      }
      break;
    case FirmwareState::EndOfBlocksSent:
      if (byte != loader_byte::Accepted) return;
      currentAddress_ = 0;
      SendBlock();
      state_ = SmallBlocks() ? FirmwareState::LastBlockSent : FirmwareState::FirstBlockSent;
      break;
    case FirmwareState::FirstBlockSent:
      if (byte != loader_byte::Accepted) return;
      currentAddress_ = BlockBytes;
      SendBlock();
      state_ = FirmwareState::LastBlockSent;
      break;
    case FirmwareState::LastBlockSent:
      if (byte != loader_byte::Accepted) return;
      SendSummary();
      timeout_ = VerdictLimitTicks;
      state_ = FirmwareState::SummarySent;
      break;
    case FirmwareState::SummarySent:
      if (byte == loader_byte::Completed) {
        Finish(FlashResult::Completed);
      } else if (byte == loader_byte::ChecksumError) {
        Finish(FlashResult::ChecksumError);
      }
      return;
  }
  Notify(owner_.changed);
}

void BootLoader::Tick() {
  if (timeout_ <= 0) return;
  --timeout_;
  if (timeout_ == 0 && state_ != FirmwareState::Idle) Finish(FlashResult::Timeout);
}

void BootLoader::ConnectionLost() {
  if (state_ != FirmwareState::Idle) Finish(FlashResult::ConnectionLost);
}

void BootLoader::Reset() {
  if (Busy()) Release(false);
  state_ = FirmwareState::Idle;
  SetProgrammingActive(false);
  stateText_.clear();
  progress_ = 0;
  currentAddress_ = 0;
  timeout_ = 0;
  Notify(owner_.changed);
}

void BootLoader::SendRaw(std::span<const std::uint8_t> data) {
  Notify(owner_.clearQueue);
  Notify(owner_.sendRawFrame, data);
}

void BootLoader::SendBlock() {
  std::array<std::uint8_t, 2 + BlockBytes> frame{};
  bytes::PutU16LE(frame, 0, static_cast<std::uint16_t>(currentAddress_));
  const std::span<const std::uint8_t> block = firmware_.Bytes(currentAddress_, BlockBytes);
  std::copy(block.begin(), block.end(), frame.begin() + 2);
  SendRaw(frame);
  timeout_ = BlockLimitTicks;
}

void BootLoader::SendSummary() {
  std::array<std::uint8_t, 6> frame{};
  bytes::PutU16LE(frame, 0, static_cast<std::uint16_t>(firmware_.codeStart));
  bytes::PutU16LE(frame, 2, static_cast<std::uint16_t>(firmware_.codeEnd));
  bytes::PutU16LE(frame, 4, static_cast<std::uint16_t>(~firmware_.codeChecksum));
  SendRaw(frame);
}

void BootLoader::SetProgrammingActive(bool active) {
  programmingActive_ = active;
  Notify(owner_.setProgrammingActive, active);
}

void BootLoader::Release(bool completed) {
  Notify(owner_.releaseController, link::Operation::FirmwareUpdate, completed);
}

void BootLoader::Finish(FlashResult result) {
  state_ = FirmwareState::Idle;
  SetProgrammingActive(false);
  Release(result == FlashResult::Completed);
  stateText_ = FlashResultText(result);
  Notify(owner_.changed);
  Notify(owner_.finished, result);
}

std::string FlashResultText(FlashResult result) {
  switch (result) {
    case FlashResult::Completed:
      return UiText("BootLoader", "Completed, OK.");
    case FlashResult::ChecksumError:
      return UiText("BootLoader", "Checksum error");
    case FlashResult::Timeout:
    case FlashResult::ConnectionLost:
      return UiText("BootLoader", "Timeout error!");
  }
  return "";
}

}  // namespace qd::firmware
