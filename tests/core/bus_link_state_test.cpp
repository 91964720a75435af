#include <gtest/gtest.h>

#include <random>

#include "link/bus_link.h"
#include "support/bus_link_harness.h"

namespace qd::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

class BusLinkRouting : public test::BusLinkHarness {};

TEST_F(BusLinkRouting, TriggerFramesToTheControllerReachTheirMachineAndLeaveTheSequenceAlone) {
  Synchronise();
  FromController(command::TriggerReport, 77, Bytes{0x11, 0x22}, ControllerAddress, 7);
  FromController(command::TriggerStatusReport, 0, {}, ControllerAddress, 3);
  FromController(command::TriggerReport, 5, {}, ControllerAddress, 12);
  ASSERT_EQ(triggers.size(), 3u);
  EXPECT_EQ(triggers[0].machineIndex, 4);  // machine 5
  EXPECT_EQ(triggers[0].payload,
            MakePayload(command::TriggerReport, 77, ControllerAddress, 7, Bytes{0x11, 0x22}));
  EXPECT_EQ(triggers[1].machineIndex, 0);
  EXPECT_EQ(triggers[2].machineIndex, 9);
  EXPECT_TRUE(sink.writes.empty());
  EXPECT_EQ(link.Sequence(), 1);
  EXPECT_EQ(link.Counters().syncCount, 1);

  // Not from a trigger module, or not to the controller: ignored.
  FromController(command::TriggerReport, 1, {}, ControllerAddress, 2);
  FromController(command::TriggerReport, 1, {}, ControllerAddress, 13);
  FromController(command::TriggerReport, 1, {}, 5, 7);
  FromController(command::Poll, 1, {}, 0, 1);
  EXPECT_EQ(triggers.size(), 3u);
  EXPECT_TRUE(sink.writes.empty());
  EXPECT_TRUE(dispatched.empty());

  FromController(command::Poll, 1);
  EXPECT_EQ(dispatched.size(), 1u);  // still in step
}

TEST_F(BusLinkRouting, TriggerFramesDoNotMakeTheLinkReady) {
  FromController(command::TriggerReport, 1, {}, ControllerAddress, 4);
  EXPECT_FALSE(link.LinkReady());
  EXPECT_EQ(stateChanges, 0);
}

TEST_F(BusLinkRouting, BadChecksumsAreCountedAndChangeNothingElse) {
  Synchronise();
  Bytes toPc = MakePayload(command::Poll, 1, PcAddress, ControllerAddress);
  toPc[ChecksumOffset] ^= 0x01;
  Feed(EncodeFrame(toPc));
  Bytes betweenOthers = MakePayload(command::TriggerReport, 3, ControllerAddress, 6, Bytes{1, 2, 3});
  betweenOthers.back() = 9;
  Feed(EncodeFrame(betweenOthers));
  Feed(Bytes{0x02, 0x40, 0x40, 0x03});  // two bytes that do not sum to 0xFF
  EXPECT_EQ(link.Counters().checksumErrorCount, 3);
  EXPECT_EQ(checksumErrors, 3);
  EXPECT_TRUE(sink.writes.empty());
  EXPECT_TRUE(dispatched.empty());
  EXPECT_TRUE(triggers.empty());
  EXPECT_EQ(link.Sequence(), 1);

  link.ClearErrorCounters();
  EXPECT_EQ(link.Counters().checksumErrorCount, 0);
}

TEST_F(BusLinkRouting, FramesUnderTwoBytesAreIgnoredWithoutAnError) {
  Feed(Bytes{0x02, 0x41, 0x03});
  Feed(Bytes{0x02, 0x03});
  Feed(Bytes{0x02, 0x10, 0x22, 0x03});
  EXPECT_EQ(link.Counters().checksumErrorCount, 0);
  EXPECT_TRUE(sink.writes.empty());
  EXPECT_FALSE(link.LinkReady());
}

TEST_F(BusLinkRouting, ValidFramesAreDroppedWhileTheLoaderIsProgramming) {
  link.SetLoaderListening(true);
  link.SetProgrammingActive(true);
  FromController(command::Poll, 0);
  FromController(command::TriggerReport, 1, {}, ControllerAddress, 5);
  EXPECT_TRUE(sink.writes.empty());
  EXPECT_TRUE(triggers.empty());
  EXPECT_FALSE(link.LinkReady());
  Bytes bad = MakePayload(command::Poll, 0, PcAddress, ControllerAddress);
  bad[ChecksumOffset] ^= 0xFF;
  Feed(EncodeFrame(bad));
  EXPECT_EQ(link.Counters().checksumErrorCount, 1);  // still counted

  // Programming alone, without the window, drops nothing.
  link.SetLoaderListening(false);
  FromController(command::Poll, 0);
  EXPECT_TRUE(link.LinkReady());
}

TEST_F(BusLinkRouting, BytesOutsideFramesGoToTheFirmwareWindowOnlyWhileShown) {
  Feed(Bytes{0x06, 0x15});
  EXPECT_TRUE(firmwareBytes.empty());
  link.SetLoaderListening(true);
  Feed(Bytes{0x06, 0x02, 0x55, 0x10, 0x36, 0xFF, 0x03, 0x16, 0x17});
  EXPECT_EQ(firmwareBytes, (Bytes{0x06, 0x16, 0x17}));
}

class BusLinkTick : public test::BusLinkHarness {};

TEST_F(BusLinkTick, OpenDelayCallsOpenPortOnTheTenthTickInLocalMode) {
  for (int i = 0; i < 9; ++i)
    link.Tick(true);
  EXPECT_EQ(openPortCalls, 0);
  EXPECT_EQ(link.OpenDelayLeft(), 1);
  link.Tick(true);
  EXPECT_EQ(openPortCalls, 1);
  for (int i = 0; i < 30; ++i)
    link.Tick(true);
  EXPECT_EQ(openPortCalls, 1);
  EXPECT_EQ(link.OpenDelayLeft(), 0);
}

TEST_F(BusLinkTick, OpenDelayRunsOutWithoutOpeningInRemoteMode) {
  for (int i = 0; i < 10; ++i)
    link.Tick(false);
  EXPECT_EQ(link.OpenDelayLeft(), 0);
  link.Tick(true);
  EXPECT_EQ(openPortCalls, 0);
}

TEST_F(BusLinkTick, TwentyTicksWithoutAFrameToThePcMarkTheLinkNotReady) {
  Synchronise();
  for (int i = 0; i < 15; ++i)
    link.Tick(true);
  FromController(command::Poll, 1);                                     // restarts the twenty ticks
  FromController(command::TriggerReport, 1, {}, ControllerAddress, 3);  // does not
  for (int i = 0; i < 19; ++i)
    link.Tick(true);
  EXPECT_TRUE(link.LinkReady());
  EXPECT_EQ(stateChanges, 0);
  link.Tick(true);
  EXPECT_FALSE(link.LinkReady());
  EXPECT_EQ(link.Status(), PortStatus::PortOpen);
  EXPECT_EQ(PortStatusText(link.Status()), "Port open");
  EXPECT_EQ(stateChanges, 1);
  for (int i = 0; i < 40; ++i)
    link.Tick(true);
  EXPECT_EQ(stateChanges, 1);

  FromController(command::Poll, 2);
  EXPECT_TRUE(link.LinkReady());
  EXPECT_EQ(link.Status(), PortStatus::Ready);
  EXPECT_EQ(stateChanges, 2);
}

TEST_F(BusLinkTick, ClosedPortAndRemoteMode) {
  Synchronise();
  link.Tick(false);
  EXPECT_EQ(link.Status(), PortStatus::Ready);  // remote ticks leave the bus state alone
  sink.open = false;
  link.PortClosedByUser();
  EXPECT_EQ(PortStatusText(link.Status()), "Closed");
  link.Tick(true);
  EXPECT_EQ(link.Status(), PortStatus::PortClosed);
  EXPECT_EQ(PortStatusText(link.Status()), "Port closed");
}

class BusLinkCounters : public test::BusLinkHarness {};

TEST_F(BusLinkCounters, CountEveryByteInAndEveryEncodedByteOut) {
  Feed(Bytes{0x06, 0x00});
  FromController(command::Poll, 0);
  const std::size_t frame = EncodeFrame(MakePayload(command::Poll, 0, PcAddress, ControllerAddress)).size();
  EXPECT_EQ(link.Counters().rxBytes, static_cast<int>(2 + frame));
  EXPECT_EQ(link.Counters().txBytes, 9);  // the resync answer: STX, 6 bytes, one escape, ETX

  sink.failWrites = true;
  FromController(command::Poll, 1);
  EXPECT_EQ(link.Counters().txBytes, 9);
  sink.failWrites = false;
  sink.open = false;
  auto payload = MakePayload(command::Poll, 0, 1, 2);
  EXPECT_FALSE(link.SendFrame(payload));
  EXPECT_EQ(link.Counters().txBytes, 9);
}

TEST_F(BusLinkCounters, ResetLinkStateStartsAgainButKeepsTheErrorCount) {
  Synchronise();
  ASSERT_TRUE(link.QueueRequest(command::ClearAlarmLog, ControllerAddress, {}));
  FromController(command::Poll, 1);
  FromController(command::Poll, 0);
  FromController(command::Poll, 1);
  Feed(Bytes{0x02, 0x40, 0x40, 0x03});
  ASSERT_GT(link.Counters().retransmitCount, 0);

  link.ResetLinkState();
  EXPECT_EQ(link.Counters().rxBytes, 0);
  EXPECT_EQ(link.Counters().txBytes, 0);
  EXPECT_EQ(link.Counters().syncCount, 0);
  EXPECT_EQ(link.Counters().retransmitCount, 0);
  EXPECT_EQ(link.Counters().checksumErrorCount, 1);
  EXPECT_EQ(link.Sequence(), 0);
  EXPECT_FALSE(link.LinkReady());
  EXPECT_EQ(link.Status(), PortStatus::Hidden);
  EXPECT_EQ(stateChanges, 1);

  FromController(command::Poll, 2);
  EXPECT_EQ(link.Counters().syncCount, 1);
}

TEST_F(BusLinkCounters, ARequestUnansweredAcrossAReopenIsStillRetransmitted) {
  Synchronise();
  ASSERT_TRUE(link.QueueRequest(command::ClearAlarmLog, ControllerAddress, {}));
  FromController(command::Poll, 1);
  link.ResetLinkState();
  FromController(command::Poll, 4);  // the first frame resynchronises
  ForgetRecorded();
  FromController(command::Poll, 1);
  ASSERT_EQ(Sent().size(), 1u);
  ExpectRequest(Sent()[0], command::ClearAlarmLog, 1, 6);
  EXPECT_TRUE(dispatched.empty());
}

TEST(BusLinkText, CounterPanels) {
  LinkCounters counters;
  counters.rxBytes = 12;
  counters.txBytes = 1234567;
  EXPECT_EQ(CounterTexts(counters), (std::array<std::string, 5>{"Rx:     12", "Tx: 1234567", "", "", ""}));
  counters.syncCount = 3;
  counters.retransmitCount = 18;
  counters.checksumErrorCount = 1;
  const auto texts = CounterTexts(counters);
  EXPECT_EQ(texts[2], "Sync: 3");
  EXPECT_EQ(texts[3], "Retransmit: 18");
  EXPECT_EQ(texts[4], "Checksum error: 1");
}

TEST(BusLinkText, ManualOutputsBitLayout) {
  ManualOutputs outputs;
  outputs.pumpOn = 0xC1;  // bit 7 is no pump
  outputs.pumpControl = 0x7F;
  outputs.machineOn = 0xFE01;  // machines 1 and 10; bits 10.. are no machines
  outputs.machineControl = 0x0100;
  outputs.flushWaterOn = true;
  outputs.flushDrainControl = true;
  outputs.alarmOutputOn = true;
  outputs.alarmOutputControl = true;
  EXPECT_EQ(outputs.Encode(), (std::array<std::uint8_t, 6>{0x41, 0x7F, 0x01, 0x06, 0x00, 0x39}));
  outputs = {};
  outputs.flushDrainOn = true;
  outputs.flushWaterControl = true;
  EXPECT_EQ(outputs.Encode(), (std::array<std::uint8_t, 6>{0, 0, 0x00, 0x08, 0x00, 0x04}));
}

class BusLinkSend : public test::BusLinkHarness {};

TEST_F(BusLinkSend, SendFrameSealsTheCallersPayload) {
  Bytes payload{command::Poll, 0x99, 0, 0, PcAddress, 0x55, 0x10};
  ASSERT_TRUE(link.SendFrame(payload));
  EXPECT_EQ(payload[LengthOffset], 7);
  EXPECT_TRUE(SumIsValid(payload));
  ASSERT_EQ(sink.writes.size(), 1u);
  EXPECT_EQ(sink.writes[0], EncodeFrame(payload));
  EXPECT_EQ(link.Counters().txBytes, static_cast<int>(sink.writes[0].size()));

  Bytes header{command::Poll, 0, 0, 0, 0};
  EXPECT_FALSE(link.SendFrame(header));
  Bytes huge(256, 0);
  EXPECT_FALSE(link.SendFrame(huge));
  EXPECT_EQ(sink.writes.size(), 1u);
}

TEST_F(BusLinkSend, TheLoaderStartEmptiesTheQueue) {
  ASSERT_TRUE(link.QueueRequest(command::ReadMemory, ControllerAddress, Bytes{1, 0, 0}));
  auto start = MakePayload(command::FirmwareLoader, 0, FirmwareLoaderAddress, PcAddress);
  ASSERT_TRUE(link.SendFrame(start));
  EXPECT_FALSE(link.RequestQueued());
}

TEST_F(BusLinkSend, RawFramesUpToTheBufferSize) {
  ASSERT_TRUE(link.SendRawFrame(Bytes{0x55, 0x02}));
  EXPECT_EQ(sink.writes.back(), (Bytes{0x02, 0x55, 0x10, 0x22, 0xA8, 0x03}));
  // 997 bytes + checksum + STX + ETX = 1000 (neither checksum, 0xF6 nor 0xA1, needs an escape).
  ASSERT_TRUE(link.SendRawFrame(Bytes(997, 0x55)));
  EXPECT_EQ(sink.writes.back().size(), 1000u);
  const int tx = link.Counters().txBytes;
  EXPECT_FALSE(link.SendRawFrame(Bytes(998, 0x55)));
  EXPECT_FALSE(link.SendRawFrame(Bytes(499, 0x02)));  // 998 bytes escaped, + 3
  EXPECT_EQ(sink.writes.size(), 2u);
  EXPECT_EQ(link.Counters().txBytes, tx);
}

class BusLinkRobustness : public test::BusLinkHarness {};

TEST_F(BusLinkRobustness, ShortAndLyingFramesAreReadOnlyAsFarAsTheyGo) {
  // Four bytes summing to 0xFF, addressed to the PC: sequence 0 asks for a resync; no Source needed.
  Feed(EncodeFrame(Bytes{command::Poll, static_cast<std::uint8_t>(0xFF - 0x40 - 2), 0, PcAddress}));
  EXPECT_EQ(link.Counters().syncCount, 1);
  // Three bytes carry no destination: ignored.
  Feed(EncodeFrame(Bytes{command::Poll, 0x01, 0xBE}));
  EXPECT_EQ(link.Counters().syncCount, 1);

  // A status frame whose Length promises more than arrived.
  std::size_t seen = 0;
  onDispatch = [&](PayloadView frame) { seen = frame.Slice(HeaderSize, 200).size(); };
  Bytes lying = MakePayload(command::Status, 1, PcAddress, ControllerAddress, Bytes{1, 2, 3});
  lying[LengthOffset] = 137;
  lying[ChecksumOffset] = 0;
  lying[ChecksumOffset] = ChecksumOf(lying);
  Feed(EncodeFrame(lying));
  ASSERT_EQ(dispatched.size(), 1u);
  EXPECT_EQ(seen, 3u);
}

TEST_F(BusLinkRobustness, RandomBytesNeverBreakTheLink) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> anyByte(0, 255);
  std::uniform_int_distribution<int> smallByte(0, 15);
  std::size_t fed = 0;
  onDispatch = [&](PayloadView frame) {
    EXPECT_EQ(frame.Slice(HeaderSize, 300).size(), frame.Size() > 6 ? frame.Size() - 6 : 0);
    EXPECT_EQ(frame.At(frame.Size()), 0);
  };
  link.SetLoaderListening(true);
  for (int chunk = 0; chunk < 2000; ++chunk) {
    Bytes bytes(static_cast<std::size_t>(anyByte(random)) + 1);
    // Small values make STX, ETX, DLE, PC and controller addresses and low sequences frequent.
    for (auto& b : bytes)
      b = static_cast<std::uint8_t>(random() % 2 ? smallByte(random) : anyByte(random));
    // Now and then a well-formed frame to the PC in the middle of the noise.
    if (chunk % 5 == 0) {
      const auto frame = EncodeFrame(MakePayload(command::Status, link.Sequence(), PcAddress, 1, bytes));
      bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    fed += bytes.size();
    Feed(bytes);
    for (int t = 0; t < chunk % 3; ++t)
      link.Tick(true);
  }
  EXPECT_EQ(link.Counters().rxBytes, static_cast<int>(fed));
  EXPECT_GT(link.Counters().checksumErrorCount, 0);
  EXPECT_FALSE(dispatched.empty());
  EXPECT_FALSE(firmwareBytes.empty());
  EXPECT_NE(link.Sequence(), 0);
  for (const auto& body : Sent())
    EXPECT_TRUE(SumIsValid(body));
}

}  // namespace
}  // namespace qd::link
