#include "link/bus_receiver.h"

#include "link/frame_codec.h"

namespace qd::link {

void BusReceiver::Feed(std::uint8_t byte) {
  switch (state_) {
    case State::Idle:
      if (byte == Stx) {
        count_ = 0;
        state_ = State::InFrame;
      } else if (onByteOutsideFrame) {
        onByteOutsideFrame(byte);
      }
      break;
    case State::InFrame:
      if (byte == Stx) {
        count_ = 0;  // a new frame starts; the unfinished one is lost
      } else if (byte == Etx) {
        state_ = State::Idle;
        if (onFrame) onFrame(std::span<const std::uint8_t>(buffer_.data(), count_));
      } else if (byte == Dle) {
        state_ = State::Escape;
      } else {
        Store(byte);
      }
      break;
    case State::Escape:
      state_ = State::InFrame;
      Store(static_cast<std::uint8_t>(byte ^ StuffXor));
      break;
  }
}

void BusReceiver::Store(std::uint8_t byte) {
  if (count_ < BufferSize) {
    buffer_[count_++] = byte;
  } else {
    state_ = State::Idle;  // too long for any frame of ours: drop it and wait for the next STX
  }
}

}  // namespace qd::link
