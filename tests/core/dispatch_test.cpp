#include "link/dispatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/gateway_codec.h"
#include "support/bus_link_harness.h"

namespace qd::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Records, in order, which handler got what.
class DispatchTest : public ::testing::Test {
 protected:
  DispatchTest() {
    auto frame = [this](std::string name) {
      return [this, name](PayloadView f) { Record(name, f.Bytes()); };
    };
    auto message = [this](std::string name) {
      return [this, name](std::span<const std::uint8_t> m) { Record(name, m); };
    };
    auto event = [this](std::string name) { return [this, name] { calls.push_back(name); }; };
    auto& h = dispatcher.handlers;
    h.systemStatus = frame("systemStatus");
    h.monitorReply = frame("monitorReply");
    h.systemStatusWanted = [this] { return systemSetupShown; };
    h.remoteSystemStatus = message("remoteSystemStatus");
    h.resetDone = event("resetDone");
    h.transferReply = frame("transferReply");
    h.remoteSystemData = message("remoteSystemData");
    h.remoteWriteResult = message("remoteWriteResult");
    h.logResetDone = event("logResetDone");
    h.alarmLogCleared = event("alarmLogCleared");
    h.systemListEntry = message("systemListEntry");
    h.connectResult = message("connectResult");
    h.systemAddress = message("systemAddress");
    h.loginRefused = message("loginRefused");
    for (int m = 0; m < Dispatcher::MachineCount; ++m) {
      auto& machine = dispatcher.machines[m];
      machine.wantsStatus = [this, m] { return machineShown[m]; };
      machine.applyStatus = frame("machine" + std::to_string(m));
      machine.applyRemoteStatus = message("remoteMachine" + std::to_string(m));
    }
  }

  void Record(const std::string& name, std::span<const std::uint8_t> bytes) {
    calls.push_back(name);
    received.emplace_back(bytes.begin(), bytes.end());
  }
  void Bus(std::uint8_t command, const Bytes& data = {}) {
    const Bytes payload = MakePayload(command, 1, PcAddress, ControllerAddress, data);
    dispatcher.DispatchBusFrame(PayloadView(payload));
  }
  void Gateway(const Bytes& message) { dispatcher.DispatchGatewayMessage(message); }

  Dispatcher dispatcher;
  bool systemSetupShown = false;
  std::array<bool, Dispatcher::MachineCount> machineShown{};
  std::vector<std::string> calls;
  std::vector<Bytes> received;
};

using Calls = std::vector<std::string>;

TEST_F(DispatchTest, StatusReachesTheSystemSetupEvenWithNothingShown) {
  Bus(command::Status, {1, 2, 3});
  ASSERT_EQ(calls, Calls{"systemStatus"});
  EXPECT_EQ(received[0], MakePayload(command::Status, 1, PcAddress, ControllerAddress, Bytes{1, 2, 3}));
}

TEST_F(DispatchTest, StatusThenReachesShownMachinesInOrder) {
  machineShown[7] = true;
  machineShown[2] = true;
  Bus(command::Status);
  EXPECT_EQ(calls, (Calls{"systemStatus", "machine2", "machine7"}));
}

TEST_F(DispatchTest, BusRepliesByCode) {
  Bus(command::MemoryData, {1, 0, 0, 9});
  Bus(command::WriteConfirm, {1, 0, 0});
  Bus(command::ConsumptionLogReset);
  Bus(command::AlarmLogCleared);
  Bus(command::MonitorReply, {0x13});
  EXPECT_EQ(calls,
            (Calls{"transferReply", "transferReply", "logResetDone", "alarmLogCleared", "monitorReply"}));
}

TEST_F(DispatchTest, OtherBusCodesGoNowhere) {
  machineShown.fill(true);
  systemSetupShown = true;
  for (int code = 0; code < 256; ++code) {
    switch (code) {
      case command::Status:
      case command::MemoryData:
      case command::WriteConfirm:
      case command::ConsumptionLogReset:
      case command::AlarmLogCleared:
      case command::MonitorReply:
        continue;
    }
    Bus(static_cast<std::uint8_t>(code));
  }
  EXPECT_TRUE(calls.empty());
  dispatcher.DispatchBusFrame(PayloadView(std::span<const std::uint8_t>{}));
  EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, GatewayMessagesByClassAndCode) {
  const std::vector<std::pair<Bytes, std::string>> cases = {
      {{'B', 'D', 'S', 0}, "systemListEntry"},
      {{'B', 'E', 0}, "connectResult"},
      {{'B', 'F', 'O', 0}, "systemAddress"},
      {{'B', 'H', 0, 0, 1, 0, 7}, "remoteSystemData"},
      {{'B', 'I'}, "loginRefused"},
      {{'C', '!'}, "logResetDone"},
      {{'C', '#', 0}, "alarmLogCleared"},
      {{'C', '%'}, "resetDone"},
      {{'C', '&'}, "resetDone"},
      {{'C', 'S', 0}, "remoteWriteResult"},
  };
  for (const auto& [message, handler] : cases) {
    calls.clear();
    received.clear();
    Gateway(message);
    EXPECT_EQ(calls, Calls{handler}) << handler;
    if (!received.empty()) {
      EXPECT_EQ(received[0], message) << "the whole message, class and code included";
    }
  }
}

TEST_F(DispatchTest, OtherGatewayMessagesAreIgnored) {
  machineShown.fill(true);
  systemSetupShown = true;
  for (const Bytes& message : std::vector<Bytes>{{},
                                                 {'C'},
                                                 {'B'},
                                                 {'B', 'X'},
                                                 {'B', 'S'},
                                                 {'C', 'D'},
                                                 {'C', 'H'},
                                                 {'A', 'X'},
                                                 {'A', 'D'},
                                                 {0x00, 'X'},
                                                 {0x03, '%'},
                                                 {'D', '!'}}) {
    Gateway(message);
  }
  EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, RemoteStatusGivesEachShownMachineItsRecord) {
  Bytes message(16 + 10 * 10);
  message[0] = 'C';
  message[1] = 'X';
  for (std::size_t i = 2; i < message.size(); ++i)
    message[i] = static_cast<std::uint8_t>(i);
  machineShown[2] = true;  // machine 3
  machineShown[9] = true;
  Gateway(message);
  ASSERT_EQ(calls, (Calls{"remoteMachine2", "remoteMachine9"}));
  EXPECT_EQ(received[0], (Bytes{36, 37, 38, 39, 40, 41, 42, 43, 44, 45}));
  EXPECT_EQ(received[1], (Bytes{106, 107, 108, 109, 110, 111, 112, 113, 114, 115}));

  systemSetupShown = true;
  calls.clear();
  received.clear();
  Gateway(message);
  ASSERT_EQ(calls, (Calls{"remoteMachine2", "remoteMachine9", "remoteSystemStatus"}));
  EXPECT_EQ(received[2], message);
}

TEST_F(DispatchTest, ShortRemoteStatusSkipsTheRecordsItLacks) {
  machineShown.fill(true);
  systemSetupShown = true;
  Bytes message(16 + 10 * 3 + 9, 0);  // machine 4's record is one byte short
  message[0] = 'C';
  message[1] = 'X';
  Gateway(message);
  EXPECT_EQ(calls, (Calls{"remoteMachine0", "remoteMachine1", "remoteMachine2", "remoteSystemStatus"}));
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_EQ(received[i].size(), 10u);

  calls.clear();
  Gateway(Bytes{'C', 'X'});
  EXPECT_EQ(calls, Calls{"remoteSystemStatus"});
}

TEST(DispatchWithoutHandlers, DropsEverything) {
  Dispatcher dispatcher;
  const Bytes status = MakePayload(command::Status, 1, PcAddress, ControllerAddress);
  dispatcher.DispatchBusFrame(PayloadView(status));
  Bytes remote(200, 0);
  remote[0] = 'C';
  remote[1] = 'X';
  dispatcher.DispatchGatewayMessage(remote);
  int calls = 0;
  dispatcher.machines[0].applyStatus = [&](PayloadView) { ++calls; };  // shown not registered: hidden
  dispatcher.DispatchBusFrame(PayloadView(status));
  EXPECT_EQ(calls, 0);
}

// The link and the dispatcher together, as the programs wire them.
class DispatchFromLink : public test::BusLinkHarness {};

TEST_F(DispatchFromLink, InSequenceFramesReachTheirHandler) {
  Dispatcher dispatcher;
  int transferReplies = 0;
  dispatcher.handlers.transferReply = [&](PayloadView frame) {
    ++transferReplies;
    // The reply's handler queues the next request, which answers the same frame.
    link.QueueRequest(command::ReadMemory, ControllerAddress, frame.Slice(HeaderSize, 3));
  };
  link.handlers.dispatch = [&](PayloadView frame) { dispatcher.DispatchBusFrame(frame); };
  FromController(command::MemoryData, 0, Bytes{1, 0, 0, 0x55});  // resynchronises: not dispatched
  FromController(command::MemoryData, 1, Bytes{1, 0, 0, 0x55});
  EXPECT_EQ(transferReplies, 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  ExpectRequest(sent[1], command::ReadMemory, 1, 9);
}

}  // namespace
}  // namespace qd::link
