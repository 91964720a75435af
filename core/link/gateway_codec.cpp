#include "link/gateway_codec.h"

#include "link/frame_codec.h"

namespace qd::link {

std::vector<std::uint8_t> EncodeGatewayMessage(std::span<const std::uint8_t> message) {
  std::vector<std::uint8_t> frame = EncodeRawFrame(message);
  if (frame.size() > MaxEncodedGatewayFrame) return {};
  return frame;
}

void GatewayReceiver::Feed(std::uint8_t byte) {
  if (escape_) {
    // An escaped STX or ETX is data, even between frames.
    escape_ = false;
    Store(static_cast<std::uint8_t>(byte ^ StuffXor));
  } else if (byte == Stx) {
    count_ = 0;
  } else if (byte == Etx) {
    const int count = count_;
    count_ = Discarding;
    if (count > 2) {
      const std::span<const std::uint8_t> body(buffer_.data(), static_cast<std::size_t>(count));
      if (SumIsValid(body) && onMessage) onMessage(body.first(body.size() - 1));
    }
  } else if (byte == Dle) {
    escape_ = true;
  } else {
    Store(byte);
  }
}

void GatewayReceiver::Store(std::uint8_t byte) {
  if (count_ >= 0 && static_cast<std::size_t>(count_) < BufferSize)
    buffer_[static_cast<std::size_t>(count_++)] = byte;
}

}  // namespace qd::link
