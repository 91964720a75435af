#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "link/bus_link.h"
#include "link/frame_codec.h"
#include "support/fake_byte_sink.h"

namespace qd::test {

// A BusLink on a recording port, with every handler recorded and the idle answer's inputs settable.
class BusLinkHarness : public ::testing::Test {
 protected:
  using Bytes = std::vector<std::uint8_t>;

  struct TriggerCall {
    int machineIndex;
    Bytes payload;
  };

  BusLinkHarness() {
    auto& h = link.handlers;
    h.dispatch = [this](link::PayloadView frame) {
      dispatched.emplace_back(frame.Bytes().begin(), frame.Bytes().end());
      if (onDispatch) onDispatch(frame);
    };
    h.triggerFrame = [this](int machine, link::PayloadView frame) {
      triggers.push_back({machine, Bytes(frame.Bytes().begin(), frame.Bytes().end())});
    };
    h.loaderByte = [this](std::uint8_t b) { firmwareBytes.push_back(b); };
    h.linkStateChanged = [this] { ++stateChanges; };
    h.checksumError = [this] { ++checksumErrors; };
    h.openPort = [this] { ++openPortCalls; };
    h.takeResetMachineRequest = [this] { return std::exchange(resetRequest, std::nullopt); };
    h.monitorOn = [this] { return monitorOn; };
    h.manualOutputs = [this] { return outputs; };
  }

  // A frame from `source` (the controller unless told) to `destination` (the PC unless told).
  void FromController(std::uint8_t command, std::uint8_t sequence, const Bytes& data = {},
                      std::uint8_t destination = link::PcAddress,
                      std::uint8_t source = link::ControllerAddress) {
    Feed(link::EncodeFrame(link::MakePayload(command, sequence, destination, source, data)));
  }
  void Feed(const Bytes& bytes) { link.Receive(bytes); }

  // The controller's first frame resynchronises; afterwards Sequence() is 1 and nothing is recorded.
  void Synchronise() {
    FromController(link::command::Poll, 0);
    ASSERT_EQ(link.Sequence(), 1);
    ForgetRecorded();
  }
  void ForgetRecorded() {
    sink.writes.clear();
    dispatched.clear();
    stateChanges = 0;
  }
  std::vector<Bytes> Sent() const { return sink.Bodies(); }

  // One payload from the PC to the controller with the given command and sequence, sealed correctly.
  static void ExpectRequest(const Bytes& body, std::uint8_t command, std::uint8_t sequence,
                            std::size_t size) {
    ASSERT_EQ(body.size(), size);
    EXPECT_EQ(body[link::CommandOffset], command);
    EXPECT_EQ(body[link::LengthOffset], size);
    EXPECT_EQ(body[link::SequenceOffset], sequence);
    EXPECT_EQ(body[link::DestinationOffset], link::ControllerAddress);
    EXPECT_EQ(body[link::SourceOffset], link::PcAddress);
    EXPECT_TRUE(link::SumIsValid(body));
  }

  FakeByteSink sink;
  link::BusLink link{sink};

  std::vector<Bytes> dispatched;
  std::function<void(link::PayloadView)> onDispatch;
  std::vector<TriggerCall> triggers;
  Bytes firmwareBytes;
  int stateChanges = 0;
  int checksumErrors = 0;
  int openPortCalls = 0;
  std::optional<int> resetRequest;
  bool monitorOn = false;
  link::ManualOutputs outputs;
};

}  // namespace qd::test
