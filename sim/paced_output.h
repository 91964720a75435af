#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "sim_time.h"

namespace qd::sim {

// The simulator's transmitter: bytes queue up and leave at the line rate, 8N1, ten bit times a byte.
// A byte counts as sent once its stop bit is over, and TakeDue() never hands out a byte before that,
// so the peer never sees more bytes than the wire could have carried by then. Bytes queued while the
// wire is busy follow the ones before them back to back.
class PacedOutput {
 public:
  static constexpr int BitsPerByte = 10;
  static constexpr int DefaultBaud = 115200;

  // `baud` 0: no pacing, every byte is due the moment it is queued.
  explicit PacedOutput(int baud = DefaultBaud);

  // Queues bytes behind those already waiting; gives the instant the last of them will have been sent.
  SimTime Append(SimTime now, std::span<const std::uint8_t> bytes);
  // The bytes whose transmission is complete at `now`, in order; they leave the queue.
  std::vector<std::uint8_t> TakeDue(SimTime now);
  // When the next waiting byte will be complete; nothing while the queue is empty.
  std::optional<SimTime> NextDue() const;
  // When the wire falls idle: the instant the last queued byte is sent, or `now` when that is past.
  SimTime IdleAt(SimTime now) const;

  bool Empty() const { return queue_.empty(); }
  bool Paced() const { return baud_ > 0; }
  int Baud() const { return baud_; }

 private:
  struct QueuedByte {
    std::uint8_t value;
    SimTime complete;  // the end of its stop bit
  };

  // Completion of byte `count` of the current run (1 = its first byte).
  SimTime Completion(std::uint64_t count) const;

  int baud_;
  std::deque<QueuedByte> queue_;
  // A run is a stretch of bytes sent back to back from runStart_; a new one starts when the wire was
  // idle. Times are computed from the run's start so that a long run does not drift.
  SimTime runStart_{};
  std::uint64_t runLength_ = 0;
};

}  // namespace qd::sim
