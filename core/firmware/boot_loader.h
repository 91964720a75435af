#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/translation.h"
#include "firmware/intel_hex.h"
#include "link/operation_gate.h"

// Programming a target through its boot loader on the bus.
//
// PC to loader, raw frames (the bytes, then their checksum), numbers little-endian:
//   block size     2 bytes: the block size word (0x0080 trigger modules, 0x0100 controller)
//   block        130 bytes: address (low 16 bits), the 128 image bytes at that address
//   end of blocks  2 bytes: 0x00, 0x00
//   summary        6 bytes: code start, code end (low 16 bits each), one's complement of the code checksum
// Loader to PC, single bytes outside frames: 0x16 ready, 0x06 frame accepted, 0x17 completed with a good
// checksum, 0x15 checksum error.
//
// Order: blocks from 256 (controller) or 128 (trigger modules) up to the programming end, the end of
// blocks, then block 0 (and for the controller block 128), and last the summary.
namespace qd::firmware {

enum class FirmwareState {
  Idle = 0,
  WaitingForLoader = 1,  // started, the loader has not answered yet
  SendingBlocks = 2,
  EndOfBlocksSent = 3,
  FirstBlockSent = 4,  // controller: block 0 sent, block 128 next
  LastBlockSent = 5,
  SummarySent = 6,  // waiting for the verdict
};

enum class FlashResult {
  Completed,
  ChecksumError,
  Timeout,         // the loader did not answer in time
  ConnectionLost,  // the port went away or the link changed: ended at once, shown as a time-out
};

enum class StartResult { Started, NothingLoaded, ControllerBusy };

namespace loader_byte {
inline constexpr std::uint8_t Ready = 0x16;
inline constexpr std::uint8_t Accepted = 0x06;
inline constexpr std::uint8_t Completed = 0x17;
inline constexpr std::uint8_t ChecksumError = 0x15;
}  // namespace loader_byte

// The firmware window's state label, in English; StateText() gives the window's language.
inline constexpr std::string_view FileLoadedText = QD_TRANSLATABLE("BootLoader", "File loaded");
inline constexpr std::string_view StartedText = "Started, waiting...";
inline constexpr std::string_view ProgrammingText = "Programming...";
inline constexpr std::string_view CompletedText = "Completed, OK.";
inline constexpr std::string_view ChecksumErrorText = "Checksum error";
inline constexpr std::string_view TimeoutText = "Timeout error!";

// The loader protocol without I/O: bytes from the loader come in through FirmwareByte(), time through
// Tick() every 100 ms, and everything it sends goes through its owner.
class BootLoader {
 public:
  static constexpr int StartLimitTicks = 50;    // for the loader's first answer
  static constexpr int BlockLimitTicks = 30;    // after each block frame
  static constexpr int VerdictLimitTicks = 50;  // after the summary

  // What the owner provides. Unset entries are skipped.
  struct Owner {
    // Empties the link's request queue: before the start action and before every raw frame.
    std::function<void()> clearQueue;
    // Controller start action: queue 0x70 to address 1 with data 0x01, 0x00.
    std::function<bool(std::uint8_t command, std::uint8_t destination, std::span<const std::uint8_t> data)>
        queueRequest;
    // Trigger module start action: the 6-byte payload 0x70, sequence 0, destination 0, source 2, sent
    // at once (Length and Checksum are filled in by the link).
    std::function<bool(std::vector<std::uint8_t>& payload)> sendFrame;
    // A loader frame: the bytes, framed with their checksum appended.
    std::function<bool(std::span<const std::uint8_t> data)> sendRawFrame;
    // The link drops valid bus frames while this is set.
    std::function<void(bool active)> setProgrammingActive;
    // State, state text or progress changed.
    std::function<void()> changed;
    // Programming ended with a verdict or a time-out (after `changed`).
    std::function<void(FlashResult)> finished;
    // Takes the controller for the update: none when it may run, else the operation holding it.
    std::function<std::optional<link::Operation>(link::Operation)> takeController;
    // Gives it back; an update that did not complete leaves nothing in flight (the start request).
    std::function<void(link::Operation, bool completed)> releaseController;
  };

  explicit BootLoader(Owner owner) : owner_(std::move(owner)) {}

  // Starts programming a copy of the image: takes the controller, empties the queue, runs the target's
  // start action and waits for the loader. Nothing is sent and nothing changes for an image that is
  // not Loaded() or while another operation holds the controller. Starting again while programming
  // restarts from the beginning.
  StartResult Start(const FirmwareImage& firmware);
  // One byte that the link received outside a frame.
  void FirmwareByte(std::uint8_t byte);
  // Every 100 ms.
  void Tick();
  // The port went away: programming ends at once as if the loader had not answered, instead of
  // after the time-out.
  void ConnectionLost();
  // Window shown or closed: idle, not programming, empty state text, progress 0. An update in
  // progress is given up.
  void Reset();

  FirmwareState State() const { return state_; }
  bool Busy() const { return state_ != FirmwareState::Idle; }
  const std::string& StateText() const { return stateText_; }
  bool ProgrammingActive() const { return programmingActive_; }
  // The progress bar: position and maximum (the programming end).
  std::uint32_t Progress() const { return progress_; }
  std::uint32_t ProgressMaximum() const { return firmware_.programmingEnd; }
  std::uint32_t CurrentAddress() const { return currentAddress_; }
  int TimeoutLeft() const { return timeout_; }

 private:
  void SendRaw(std::span<const std::uint8_t> data);
  void SendBlock();
  void SendSummary();
  void SetProgrammingActive(bool active);
  void Finish(FlashResult result);
  void Release(bool completed);
  bool SmallBlocks() const { return firmware_.target.blockSizeWord == 128; }

  Owner owner_;
  FirmwareImage firmware_;
  FirmwareState state_ = FirmwareState::Idle;
  std::string stateText_;
  std::uint32_t currentAddress_ = 0;
  std::uint32_t progress_ = 0;
  int timeout_ = 0;
  bool programmingActive_ = false;
};

std::string FlashResultText(FlashResult result);  // the state text the result leaves

}  // namespace qd::firmware
