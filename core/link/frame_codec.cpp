#include "link/frame_codec.h"

#include <numeric>

namespace qd::link {

bool NeedsStuffing(std::uint8_t byte) {
  return byte == Stx || byte == Etx || byte == Dle || byte == 0x15 || byte == 0x16;
}

std::uint8_t ChecksumOf(std::span<const std::uint8_t> bytes) {
  const unsigned sum = std::accumulate(bytes.begin(), bytes.end(), 0u);
  return static_cast<std::uint8_t>(~sum);
}

bool SumIsValid(std::span<const std::uint8_t> body) {
  const unsigned sum = std::accumulate(body.begin(), body.end(), 0u);
  return (sum & 0xFF) == 0xFF;
}

namespace {

void AppendStuffed(std::vector<std::uint8_t>& out, std::uint8_t byte) {
  if (NeedsStuffing(byte)) {
    out.push_back(Dle);
    out.push_back(static_cast<std::uint8_t>(byte ^ StuffXor));
  } else {
    out.push_back(byte);
  }
}

}  // namespace

std::vector<std::uint8_t> EncodeFrame(std::span<const std::uint8_t> body) {
  std::vector<std::uint8_t> out;
  out.reserve(body.size() * 2 + 2);
  out.push_back(Stx);
  for (std::uint8_t b : body)
    AppendStuffed(out, b);
  out.push_back(Etx);
  return out;
}

std::vector<std::uint8_t> EncodeRawFrame(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> out;
  out.reserve(data.size() * 2 + 4);
  out.push_back(Stx);
  for (std::uint8_t b : data)
    AppendStuffed(out, b);
  AppendStuffed(out, ChecksumOf(data));
  out.push_back(Etx);
  return out;
}

}  // namespace qd::link
