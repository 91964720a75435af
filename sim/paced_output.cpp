#include "paced_output.h"

#include <algorithm>

namespace qd::sim {

namespace {
constexpr std::int64_t NanosecondsPerSecond = 1'000'000'000;
}

PacedOutput::PacedOutput(int baud) : baud_(std::max(baud, 0)) {}

SimTime PacedOutput::Completion(std::uint64_t count) const {
  if (!Paced()) return runStart_;
  // Rounded up: a byte is never due before its last bit is over.
  const auto bits = static_cast<std::int64_t>(count) * BitsPerByte;
  return runStart_ + SimTime((bits * NanosecondsPerSecond + baud_ - 1) / baud_);
}

SimTime PacedOutput::Append(SimTime now, std::span<const std::uint8_t> bytes) {
  if (now >= Completion(runLength_)) {
    runStart_ = now;
    runLength_ = 0;
  }
  for (std::uint8_t b : bytes)
    queue_.push_back({b, Completion(++runLength_)});
  return Completion(runLength_);
}

std::vector<std::uint8_t> PacedOutput::TakeDue(SimTime now) {
  std::vector<std::uint8_t> due;
  while (!queue_.empty() && queue_.front().complete <= now) {
    due.push_back(queue_.front().value);
    queue_.pop_front();
  }
  return due;
}

std::optional<SimTime> PacedOutput::NextDue() const {
  if (queue_.empty()) return std::nullopt;
  return queue_.front().complete;
}

SimTime PacedOutput::IdleAt(SimTime now) const {
  return std::max(now, Completion(runLength_));
}

}  // namespace qd::sim
