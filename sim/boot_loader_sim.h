#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim_time.h"

namespace qd::sim {

// Which boot loader runs: the controller's (blocks of 256, 0xFC00 bytes of program memory) or the
// trigger modules' (blocks of 128, 0x3800 bytes).
enum class LoaderTarget { Controller, Trigger };

enum class LoaderFault {
  None,
  Checksum,  // the verdict is always a checksum error
  Silent,    // the loader never answers
};

enum class LoaderVerdict { Completed, ChecksumError, GaveUp };

struct LoaderSettings {
  LoaderFault fault = LoaderFault::None;
  // With no frame for this long the loader gives up and the target returns to normal operation.
  SimTime idleLimit = Milliseconds(8000);
};

// A target's boot loader, without I/O. It receives the bodies of the PC's raw frames (the bytes and
// their checksum) and answers with single bytes, sent outside frames:
//   start             -> 0x16 ready
//   block size (2)    -> 0x06, once the word matches the target
//   block (130)       -> 0x06; address (little-endian) and 128 bytes, stored in the program memory
//   end of blocks (2) -> 0x06; 0x00, 0x00 once the block size is known
//   summary (6)       -> 0x17 completed or 0x15 checksum error; code start, code end, one's complement
//                        of the 16-bit sum of the bytes from code start up to, not including, code end
// The summary is good when start and end lie in the program memory in that order, every block that
// holds a byte from start to end arrived, and the sum over the programmed bytes matches. Frames with a
// bad checksum or of another shape get no answer. After the verdict the loader is done.
class BootLoaderSim {
 public:
  explicit BootLoaderSim(const LoaderSettings& settings = {}) : settings_(settings) {}

  static std::uint32_t ImageSize(LoaderTarget target) {
    return target == LoaderTarget::Controller ? 0xFC00 : 0x3800;
  }
  static std::uint16_t BlockSizeWord(LoaderTarget target) {
    return target == LoaderTarget::Controller ? 256 : 128;
  }

  // Enters the loader: the program memory is erased (0xFF). The answer to send, if any.
  std::optional<std::uint8_t> Start(LoaderTarget target, SimTime now);
  // One frame body between STX and ETX, unstuffed. The answer to send, if any.
  std::optional<std::uint8_t> Frame(std::span<const std::uint8_t> body, SimTime now);
  // Gives up when the PC has been silent for the idle limit.
  void Tick(SimTime now);

  bool Active() const { return phase_ != Phase::Off; }
  // When Tick() next has something to do; nothing while the loader is off.
  std::optional<SimTime> Deadline() const;
  LoaderTarget Target() const { return target_; }
  // The program memory of the last target, ImageSize() bytes; empty before the first start.
  const std::vector<std::uint8_t>& Image() const { return image_; }
  std::optional<LoaderVerdict> LastVerdict() const { return verdict_; }
  int BlocksStored() const { return blocksStored_; }
  // What happened last, for the trace.
  const std::string& Note() const { return note_; }

 private:
  enum class Phase { Off, BlockSize, Blocks, AfterEndOfBlocks };

  std::optional<std::uint8_t> Answer(std::uint8_t byte) const;
  std::optional<std::uint8_t> Block(std::span<const std::uint8_t> data);
  std::optional<std::uint8_t> Summary(std::span<const std::uint8_t> data);
  bool SummaryGood(std::uint32_t start, std::uint32_t end, std::uint16_t complement) const;
  void End(LoaderVerdict verdict, std::string note);

  LoaderSettings settings_;
  Phase phase_ = Phase::Off;
  LoaderTarget target_ = LoaderTarget::Controller;
  std::vector<std::uint8_t> image_;
  std::vector<bool> received_;  // per 128-byte block
  SimTime lastFrameAt_{};
  std::optional<LoaderVerdict> verdict_;
  int blocksStored_ = 0;
  std::string note_;
};

std::optional<LoaderFault> ParseLoaderFault(const std::string& text);

}  // namespace qd::sim
