#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "link/bus_link.h"
#include "link/bus_receiver.h"

namespace qd::test {

// A port that records what the link writes, and can be closed or made to fail.
class FakeByteSink : public link::ByteSink {
 public:
  bool open = true;
  bool failWrites = false;
  std::vector<std::vector<std::uint8_t>> writes;  // one entry per successful Write

  bool IsOpen() const override { return open; }
  bool Write(std::span<const std::uint8_t> bytes) override {
    if (failWrites) return false;
    writes.emplace_back(bytes.begin(), bytes.end());
    return true;
  }

  // The unstuffed bodies of the frames written so far, in order.
  std::vector<std::vector<std::uint8_t>> Bodies() const {
    std::vector<std::vector<std::uint8_t>> bodies;
    link::BusReceiver receiver;
    receiver.onFrame = [&](std::span<const std::uint8_t> body) {
      bodies.emplace_back(body.begin(), body.end());
    };
    for (const auto& write : writes)
      receiver.Feed(write);
    return bodies;
  }
};

}  // namespace qd::test
