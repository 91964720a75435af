#include "link/bus_link.h"

#include <gtest/gtest.h>

#include "support/bus_link_harness.h"

namespace qd::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

class BusLinkSequence : public test::BusLinkHarness {};

TEST_F(BusLinkSequence, FirstFrameAfterOpeningResynchronises) {
  FromController(command::Poll, 5);
  // 0x41, Length 6, Sequence 0, to the controller, from the PC (escaped), checksum 0xB5.
  ASSERT_EQ(sink.writes.size(), 1u);
  EXPECT_EQ(sink.writes[0], (Bytes{0x02, 0x41, 0x06, 0x00, 0x01, 0x10, 0x22, 0xB5, 0x03}));
  EXPECT_EQ(link.Counters().syncCount, 1);
  EXPECT_EQ(link.Sequence(), 1);
  EXPECT_TRUE(dispatched.empty());  // the content of a resynchronising frame is not used
  EXPECT_TRUE(link.LinkReady());
  EXPECT_EQ(link.Status(), PortStatus::Ready);
  EXPECT_EQ(stateChanges, 1);

  // Sequence 0 always asks for a resynchronisation, even when the link expects 0.
  link.ResetLinkState();
  FromController(command::Status, 0);
  EXPECT_EQ(link.Counters().syncCount, 1);
  EXPECT_TRUE(dispatched.empty());
}

TEST_F(BusLinkSequence, InSequencePollGetsTheManualOutputsAndAdvances) {
  Synchronise();
  outputs.pumpOn = 0x05;
  outputs.machineControl = 0x201;
  FromController(command::Poll, 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  ExpectRequest(sent[0], command::ManualOutputs, 1, 12);
  EXPECT_EQ(Bytes(sent[0].begin() + 6, sent[0].end()), (Bytes{0x05, 0x00, 0x00, 0x00, 0x01, 0x02}));
  ASSERT_EQ(dispatched.size(), 1u);
  EXPECT_EQ(link.Sequence(), 2);
  EXPECT_EQ(link.Counters().syncCount, 1);
}

TEST_F(BusLinkSequence, MonitorTurnsTheIdleAnswerIntoASixByteRequest) {
  Synchronise();
  monitorOn = true;
  FromController(command::Poll, 1);
  monitorOn = false;
  FromController(command::Poll, 2);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  ExpectRequest(sent[0], command::Monitor, 1, 6);
  ExpectRequest(sent[1], command::ManualOutputs, 2, 12);
}

TEST_F(BusLinkSequence, OnlyAPollGetsAnIdleAnswer) {
  Synchronise();
  FromController(command::Status, 1, {0xAA});
  EXPECT_TRUE(sink.writes.empty());
  ASSERT_EQ(dispatched.size(), 1u);
  EXPECT_EQ(dispatched[0].back(), 0xAA);
  // Nothing went out, so the controller's next frame carries the same number.
  EXPECT_EQ(link.Sequence(), 1);
  FromController(command::Poll, 1);
  EXPECT_EQ(link.Counters().syncCount, 1);
  EXPECT_EQ(dispatched.size(), 2u);
}

TEST_F(BusLinkSequence, WrapsFrom255To1) {
  Synchronise();
  Bytes answered;
  std::uint8_t expected = 1;
  for (int i = 0; i < 300; ++i) {
    FromController(command::Poll, expected);
    answered.push_back(Sent().back()[SequenceOffset]);
    expected = link.Sequence();
  }
  EXPECT_EQ(link.Counters().syncCount, 1);
  ASSERT_EQ(answered.size(), 300u);
  EXPECT_EQ(answered[253], 254);
  EXPECT_EQ(answered[254], 255);
  EXPECT_EQ(answered[255], 1);  // never 0
  EXPECT_EQ(answered[256], 2);
  for (std::uint8_t s : answered)
    EXPECT_NE(s, 0);
}

TEST_F(BusLinkSequence, AnUnexpectedNumberResynchronisesAndIsNotDispatched) {
  Synchronise();
  FromController(command::Poll, 1);
  FromController(command::MemoryData, 7);  // expected 2
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  ExpectRequest(sent[1], command::Resync, 0, 6);
  EXPECT_EQ(dispatched.size(), 1u);
  EXPECT_EQ(link.Counters().syncCount, 2);
  EXPECT_EQ(link.Sequence(), 1);
}

class BusLinkQueue : public test::BusLinkHarness {};

TEST_F(BusLinkQueue, APollIsAnsweredWithTheQueuedRequestNotTheIdleAnswer) {
  Synchronise();
  ASSERT_TRUE(link.QueueRequest(command::ReadMemory, ControllerAddress, Bytes{128, 0x26, 0x02}));
  EXPECT_TRUE(link.RequestQueued());
  FromController(command::Poll, 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  ExpectRequest(sent[0], command::ReadMemory, 1, 9);
  EXPECT_EQ(Bytes(sent[0].begin() + 6, sent[0].end()), (Bytes{128, 0x26, 0x02}));
  EXPECT_FALSE(link.RequestQueued());
  EXPECT_EQ(link.Sequence(), 2);
}

TEST_F(BusLinkQueue, ASecondRequestIsRefusedAndTheFirstStays) {
  ASSERT_TRUE(link.QueueRequest(command::ResetConsumptionLog, ControllerAddress, {}));
  EXPECT_FALSE(link.QueueRequest(command::ClearAlarmLog, ControllerAddress, {}));
  Synchronise();
  FromController(command::Status, 1);  // any in-sequence frame takes the queued request
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  ExpectRequest(sent[0], command::ResetConsumptionLog, 1, 6);

  // Data that the one-byte Length cannot count is refused.
  EXPECT_FALSE(link.QueueRequest(command::WriteMemory, ControllerAddress, Bytes(250, 0)));
  EXPECT_FALSE(link.RequestQueued());
  EXPECT_TRUE(link.QueueRequest(command::WriteMemory, ControllerAddress, Bytes(249, 0)));
}

TEST_F(BusLinkQueue, ARequestQueuedWhileDispatchingAnswersTheSameFrame) {
  Synchronise();
  onDispatch = [this](PayloadView frame) {
    if (frame.Command() == command::MemoryData)
      link.QueueRequest(command::ReadMemory, ControllerAddress, Bytes{128, 0x80, 0});
  };
  FromController(command::MemoryData, 1, Bytes{128, 0, 0});
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  ExpectRequest(sent[0], command::ReadMemory, 1, 9);
}

TEST_F(BusLinkQueue, ResetRequestIsQueuedAtAPollAndSentWithTheNextFrame) {
  Synchronise();
  resetRequest = 10;  // "All"
  FromController(command::Poll, 1);
  EXPECT_TRUE(sink.writes.empty());
  EXPECT_FALSE(resetRequest.has_value());  // taken
  EXPECT_TRUE(link.RequestQueued());
  EXPECT_EQ(link.Sequence(), 1);

  FromController(command::Status, 1);  // not a poll: the queued request goes out anyway
  auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  ExpectRequest(sent[0], command::ResetMachine, 1, 7);
  EXPECT_EQ(sent[0][6], 0x1A);

  resetRequest = 3;
  FromController(command::Poll, 2);
  FromController(command::Poll, 2);
  sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  ExpectRequest(sent[1], command::ResetMachine, 2, 7);
  EXPECT_EQ(sent[1][6], 0x13);
}

TEST_F(BusLinkQueue, ResetRequestWithoutSelectionSendsNothing) {
  Synchronise();
  resetRequest = -1;
  FromController(command::Poll, 1);
  EXPECT_TRUE(sink.writes.empty());
  EXPECT_FALSE(link.RequestQueued());
  FromController(command::Poll, 1);
  ASSERT_EQ(Sent().size(), 1u);
  EXPECT_EQ(Sent()[0][CommandOffset], command::ManualOutputs);
}

class BusLinkRetransmit : public test::BusLinkHarness {};

TEST_F(BusLinkRetransmit, LostAnswerLeadsToResyncThenRetransmission) {
  Synchronise();
  ASSERT_TRUE(link.QueueRequest(command::ReadMemory, ControllerAddress, Bytes{128, 0, 0}));
  FromController(command::Poll, 1);  // request out with 1; its answer gets lost
  FromController(command::Poll, 0);  // the controller resynchronises
  EXPECT_EQ(link.Counters().syncCount, 2);
  FromController(command::Poll, 1);  // in sequence again: the request goes out once more
  auto sent = Sent();
  ASSERT_EQ(sent.size(), 3u);
  ExpectRequest(sent[0], command::ReadMemory, 1, 9);
  ExpectRequest(sent[1], command::Resync, 0, 6);
  ExpectRequest(sent[2], command::ReadMemory, 1, 9);
  EXPECT_EQ(Bytes(sent[2].begin() + 6, sent[2].end()), (Bytes{128, 0, 0}));
  EXPECT_EQ(link.Counters().retransmitCount, 9);  // bytes, not frames
  EXPECT_EQ(dispatched.size(), 1u);               // the frame that asked for it is not used
  EXPECT_EQ(link.Sequence(), 2);

  // The answer arrives: the copy is forgotten, and a later resync retransmits nothing.
  FromController(command::MemoryData, 2, Bytes{128, 0, 0});
  EXPECT_EQ(dispatched.size(), 2u);
  FromController(command::Poll, 0);
  FromController(command::Poll, 1);
  sent = Sent();
  ASSERT_EQ(sent.size(), 5u);
  EXPECT_EQ(sent[4][CommandOffset], command::ManualOutputs);
  EXPECT_EQ(link.Counters().retransmitCount, 9);
}

TEST_F(BusLinkRetransmit, RetransmissionRepeatsAfterEveryResync) {
  Synchronise();
  ASSERT_TRUE(link.QueueRequest(command::ClearAlarmLog, ControllerAddress, {}));
  FromController(command::Poll, 1);
  for (int round = 0; round < 3; ++round) {
    FromController(command::Poll, 9);  // wrong number
    FromController(command::Poll, 1);
  }
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 7u);
  for (int i : {2, 4, 6})
    ExpectRequest(sent[i], command::ClearAlarmLog, 1, 6);
  EXPECT_EQ(link.Counters().retransmitCount, 18);
}

TEST_F(BusLinkRetransmit, AFailedWriteIsRepairedByTheRetransmission) {
  Synchronise();
  ASSERT_TRUE(link.QueueRequest(command::ClearAlarmLog, ControllerAddress, {}));
  sink.failWrites = true;
  FromController(command::Poll, 1);
  EXPECT_FALSE(link.RequestQueued());
  sink.failWrites = false;
  FromController(command::Poll, 0);
  FromController(command::Poll, 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  ExpectRequest(sent[1], command::ClearAlarmLog, 1, 6);
}

TEST_F(BusLinkRetransmit, RequestsSentWhileTheFirmwareWindowIsShownAreNotKept) {
  Synchronise();
  link.SetLoaderListening(true);
  ASSERT_TRUE(link.QueueRequest(command::FirmwareLoader, ControllerAddress, Bytes{0x01, 0x00}));
  FromController(command::Poll, 1);
  FromController(command::Poll, 0);
  FromController(command::Poll, 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 3u);
  ExpectRequest(sent[0], command::FirmwareLoader, 1, 8);
  EXPECT_EQ(sent[2][CommandOffset], command::ManualOutputs);
  EXPECT_EQ(link.Counters().retransmitCount, 0);
}

class BusLinkLateAnswer : public test::BusLinkHarness {};

TEST_F(BusLinkLateAnswer, TheFirstRepeatOfTheNumberJustAnsweredPassesInSilenceTheSecondResynchronises) {
  Synchronise();
  ASSERT_TRUE(link.QueueRequest(command::ReadMemory, ControllerAddress, Bytes{128, 0, 0}));
  FromController(command::Poll, 1);  // answered with the request, carrying 1
  FromController(command::Poll, 1);  // the controller's window closed first: it took our answer for this
  EXPECT_EQ(Sent().size(), 1u);
  EXPECT_EQ(link.Counters().syncCount, 1);
  EXPECT_EQ(dispatched.size(), 1u);
  EXPECT_EQ(link.Sequence(), 2);

  FromController(command::Poll, 1);  // the answer really was lost
  ASSERT_EQ(Sent().size(), 2u);
  ExpectRequest(Sent()[1], command::Resync, 0, 6);
  FromController(command::Poll, 1);
  ExpectRequest(Sent()[2], command::ReadMemory, 1, 9);
}

TEST_F(BusLinkLateAnswer, OnlyTheNumberJustAnsweredCountsAsAnEcho) {
  Synchronise();
  FromController(command::Poll, 1);  // idle answer with 1
  FromController(command::Status, 2);
  FromController(command::Status, 2);  // nothing was answered to 2: a plain frame in sequence
  EXPECT_EQ(dispatched.size(), 3u);
  FromController(command::Poll, 1);  // 1 is no longer the number just answered
  EXPECT_EQ(link.Counters().syncCount, 2);
}

TEST_F(BusLinkLateAnswer, AfterAResyncTheReplyToTheKeptRequestIsTakenNotAnsweredWithTheRequestAgain) {
  Synchronise();
  ASSERT_TRUE(link.QueueRequest(command::ReadMemory, ControllerAddress, Bytes{128, 0x80, 0}));
  FromController(command::Poll, 1);
  FromController(command::Poll, 0);  // the resync crossed our request
  ForgetRecorded();
  onDispatch = [this](PayloadView frame) {
    if (frame.Command() == command::MemoryData)
      link.QueueRequest(command::ReadMemory, ControllerAddress, Bytes{128, 0, 1});
  };
  FromController(command::MemoryData, 1, Bytes{128, 0x80, 0, 0xAA});
  ASSERT_EQ(dispatched.size(), 1u);
  auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Bytes(sent[0].begin() + 6, sent[0].end()), (Bytes{128, 0, 1}));
  EXPECT_EQ(link.Counters().retransmitCount, 0);

  // A reply for another address, or with another code, is no proof: the request goes out again.
  FromController(command::Poll, 0);
  ForgetRecorded();
  FromController(command::MemoryData, 1, Bytes{128, 0, 2});
  EXPECT_TRUE(dispatched.empty());
  sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  ExpectRequest(sent[0], command::ReadMemory, 1, 9);
  EXPECT_EQ(Bytes(sent[0].begin() + 6, sent[0].end()), (Bytes{128, 0, 1}));
}

TEST_F(BusLinkLateAnswer, DroppedRequestsNeverReachTheNextController) {
  Synchronise();
  ASSERT_TRUE(link.QueueRequest(command::WriteMemory, ControllerAddress, Bytes{1, 0x20, 0, 0x55}));
  FromController(command::Poll, 1);
  ASSERT_TRUE(link.QueueRequest(command::ReadMemory, ControllerAddress, Bytes{1, 0, 0}));
  link.DropInFlight();
  EXPECT_FALSE(link.RequestQueued());
  EXPECT_FALSE(link.RetransmissionKept());
  link.ResetLinkState();
  FromController(command::Poll, 7);
  FromController(command::Poll, 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[2][CommandOffset], command::ManualOutputs);
}

}  // namespace
}  // namespace qd::link
