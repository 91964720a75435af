#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>

namespace qd::link {

// Unframes the bus byte stream. Bytes outside frames are handed on (the firmware loaders answer with
// single bytes); a frame whose unstuffed body exceeds the buffer is dropped.
class BusReceiver {
 public:
  enum class State { Idle, InFrame, Escape };
  static constexpr std::size_t BufferSize = 1000;

  std::function<void(std::span<const std::uint8_t> body)> onFrame;  // unstuffed, between STX and ETX
  std::function<void(std::uint8_t)> onByteOutsideFrame;

  void Feed(std::uint8_t byte);
  void Feed(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes)
      Feed(b);
  }
  void Reset() {
    state_ = State::Idle;
    count_ = 0;
  }
  State CurrentState() const { return state_; }

 private:
  void Store(std::uint8_t byte);

  State state_ = State::Idle;
  std::array<std::uint8_t, BufferSize> buffer_{};
  std::size_t count_ = 0;
};

}  // namespace qd::link
