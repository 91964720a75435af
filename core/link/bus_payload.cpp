#include "link/bus_payload.h"

#include <algorithm>

#include "link/frame_codec.h"

namespace qd::link {

void SealPayload(std::span<std::uint8_t> payload) {
  if (payload.size() < HeaderSize) return;
  payload[LengthOffset] = static_cast<std::uint8_t>(payload.size());
  payload[ChecksumOffset] = 0;
  payload[ChecksumOffset] = ChecksumOf(payload);
}

std::vector<std::uint8_t> MakePayload(std::uint8_t command, std::uint8_t sequence, std::uint8_t destination,
                                      std::uint8_t source, std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> payload(HeaderSize + data.size());
  payload[CommandOffset] = command;
  payload[SequenceOffset] = sequence;
  payload[DestinationOffset] = destination;
  payload[SourceOffset] = source;
  std::copy(data.begin(), data.end(), payload.begin() + HeaderSize);
  SealPayload(payload);
  return payload;
}

std::span<const std::uint8_t> PayloadView::Slice(std::size_t offset, std::size_t count) const {
  if (offset >= bytes_.size()) return {};
  return bytes_.subspan(offset, std::min(count, bytes_.size() - offset));
}

}  // namespace qd::link
