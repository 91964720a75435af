#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "bus_master.h"
#include "link/bus_payload.h"
#include "link/bus_receiver.h"
#include "link/frame_codec.h"

namespace qd::sim::test {

// The PC's end of the bus in a test: it collects what the controller put on the wire, frame by frame,
// and frames the answers the test gives.
class ScriptedPc {
 public:
  ScriptedPc() {
    receiver_.onFrame = [this](std::span<const std::uint8_t> body) {
      frames.emplace_back(body.begin(), body.end());
    };
    receiver_.onByteOutsideFrame = [this](std::uint8_t byte) { outside.push_back(byte); };
  }

  // Takes what has left the wire by `now`.
  void Hear(BusMaster& master, SimTime now) {
    const std::vector<std::uint8_t> bytes = master.TakeOutput(now);
    wire.insert(wire.end(), bytes.begin(), bytes.end());
    receiver_.Feed(bytes);
  }

  // The frames heard so far that were addressed to the PC.
  std::vector<std::vector<std::uint8_t>> FramesToPc() const {
    std::vector<std::vector<std::uint8_t>> toPc;
    for (const auto& frame : frames) {
      if (link::PayloadView(frame).Destination() == link::PcAddress) toPc.push_back(frame);
    }
    return toPc;
  }

  static std::vector<std::uint8_t> Answer(std::uint8_t command, std::uint8_t sequence,
                                          std::span<const std::uint8_t> data = {}) {
    return link::EncodeFrame(
        link::MakePayload(command, sequence, link::ControllerAddress, link::PcAddress, data));
  }

  std::vector<std::vector<std::uint8_t>> frames;  // unstuffed bodies, every sender
  std::vector<std::uint8_t> outside;              // bytes between frames
  std::vector<std::uint8_t> wire;                 // everything, as sent

 private:
  link::BusReceiver receiver_;
};

}  // namespace qd::sim::test
