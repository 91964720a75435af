// The connection's one policy for what is in flight: a request whose requester gave up never reaches a
// controller, whichever is reached next. The test plays the controller on the far end of a
// pseudo-terminal: it polls, and reads what the PC answers.
#include "transport/connection.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "firmware/intel_hex.h"
#include "link/bus_receiver.h"
#include "link/frame_codec.h"
#include "transport/transport_test_support.h"

namespace qd::transport {
namespace {

using link::Operation;
using test::PseudoTerminal;
using test::WaitUntil;
using Bytes = std::vector<std::uint8_t>;
namespace command = link::command;

// The controller's end of one bus: polls the PC and collects its answers.
class FakeController {
 public:
  FakeController() {
    receiver_.onFrame = [this](std::span<const std::uint8_t> body) {
      answers_.emplace_back(body.begin(), body.end());
    };
  }
  PseudoTerminal& Pty() { return pty_; }

  // Polls with `sequence` and waits for the PC's answer; its command, or 0 when none came.
  std::uint8_t Poll(std::uint8_t sequence) {
    const std::size_t before = Answers().size();
    const Bytes frame = link::EncodeFrame(
        link::MakePayload(command::Poll, sequence, link::PcAddress, link::ControllerAddress));
    pty_.Send(QByteArray(reinterpret_cast<const char*>(frame.data()), static_cast<qsizetype>(frame.size())));
    if (!WaitUntil([&] { return Answers().size() > before; })) return 0;
    return Answers().back()[link::CommandOffset];
  }
  // The start-up resynchronisation: then the PC answers with 1.
  bool Synchronise() { return Poll(0) == command::Resync; }

  const std::vector<Bytes>& Answers() {
    const QByteArray& received = pty_.Received();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(received.constData());
    receiver_.Feed(
        std::span<const std::uint8_t>(bytes + fed_, static_cast<std::size_t>(received.size()) - fed_));
    fed_ = static_cast<std::size_t>(received.size());
    return answers_;
  }

 private:
  PseudoTerminal pty_;
  link::BusReceiver receiver_;
  std::size_t fed_ = 0;
  std::vector<Bytes> answers_;
};

class ConnectionTest : public ::testing::Test {
 protected:
  // Local mode on `controller`'s bus, at once.
  bool OpenOn(FakeController& controller) {
    connection_.Link().EndOpenDelay();
    connection_.SetPortName(controller.Pty().SlavePath());
    connection_.SetLinkMode(true);
    return connection_.Port().IsOpen();
  }

  // A write block sent and kept for retransmission, and the next one queued behind it.
  void WriteInFlight(FakeController& controller) {
    ASSERT_TRUE(connection_.Begin(Operation::Write));
    ASSERT_TRUE(
        connection_.QueueRequest(command::WriteMemory, link::ControllerAddress, Bytes{1, 0x20, 0, 0x55}));
    ASSERT_EQ(controller.Poll(1), command::WriteMemory);
    ASSERT_TRUE(connection_.Link().RetransmissionKept());
    ASSERT_TRUE(
        connection_.QueueRequest(command::WriteMemory, link::ControllerAddress, Bytes{1, 0x21, 0, 0x66}));
  }

  Connection connection_;
};

// How the requester of a request in flight gives up; each leaves the request behind on the link.
enum class GivingUp { Unplugged, ClosedByTheUser, AnotherPort, ModeChanged, OperationGivenUp, LimitPassed };

class AbandonedRequests : public ConnectionTest, public ::testing::WithParamInterface<GivingUp> {};

TEST_P(AbandonedRequests, NeverReachTheNextController) {
  auto first = std::make_unique<FakeController>();
  FakeController second;
  ASSERT_TRUE(OpenOn(*first));
  ASSERT_TRUE(first->Synchronise());
  WriteInFlight(*first);
  int lost = 0;
  QObject::connect(&connection_, &Connection::ConnectionLost, [&lost] { ++lost; });

  switch (GetParam()) {
    case GivingUp::Unplugged:
      first->Pty().Unplug();
      ASSERT_TRUE(WaitUntil([&] { return !connection_.Port().IsOpen(); }));
      break;
    case GivingUp::ClosedByTheUser:
      connection_.ClosePort();
      break;
    case GivingUp::AnotherPort:
      connection_.OpenComPort(second.Pty().SlavePath());
      break;
    case GivingUp::ModeChanged:
      connection_.SetLinkMode(false);
      break;
    case GivingUp::OperationGivenUp:
      connection_.End(Operation::Write, false);
      break;
    case GivingUp::LimitPassed:
      connection_.End(Operation::Write, true);
      ASSERT_TRUE(connection_.Begin(Operation::LogReset, 3));
      for (int tick = 0; tick < 3; ++tick)
        connection_.Tick();
      break;
  }
  EXPECT_FALSE(connection_.Link().RequestQueued());
  EXPECT_FALSE(connection_.Link().RetransmissionKept());
  EXPECT_FALSE(connection_.RunningOperation());
  const bool linkGone = GetParam() != GivingUp::OperationGivenUp && GetParam() != GivingUp::LimitPassed;
  EXPECT_EQ(lost > 0, linkGone);

  // Whatever is reached next hears polls answered, not the old image.
  FakeController& next =
      GetParam() == GivingUp::OperationGivenUp || GetParam() == GivingUp::LimitPassed ? *first : second;
  if (&next == &second) {
    first.reset();
    if (!connection_.LocalMode()) connection_.SetLinkMode(true);
    ASSERT_TRUE(connection_.OpenComPort(second.Pty().SlavePath()));
  }
  ASSERT_TRUE(next.Synchronise());
  EXPECT_EQ(next.Poll(1), command::ManualOutputs);
  EXPECT_EQ(next.Poll(2), command::ManualOutputs);
}

INSTANTIATE_TEST_SUITE_P(EveryWayOfGivingUp, AbandonedRequests,
                         ::testing::Values(GivingUp::Unplugged, GivingUp::ClosedByTheUser,
                                           GivingUp::AnotherPort, GivingUp::ModeChanged,
                                           GivingUp::OperationGivenUp, GivingUp::LimitPassed));

TEST_F(ConnectionTest, ACompletedOperationLeavesItsLastRequestToGoOut) {
  FakeController controller;
  ASSERT_TRUE(OpenOn(controller));
  ASSERT_TRUE(controller.Synchronise());
  ASSERT_TRUE(connection_.Begin(Operation::Write));
  // The end of write follows the last block and must still reach the controller.
  ASSERT_TRUE(connection_.QueueRequest(command::ResetMachine, link::ControllerAddress, Bytes{0x00}));
  connection_.End(Operation::Write, true);
  EXPECT_EQ(controller.Poll(1), command::ResetMachine);
}

TEST_F(ConnectionTest, TheLoaderStartOfAnUpdateInRemoteModeNeverReachesAController) {
  FakeController controller;
  firmware::BootLoader loader(connection_.LoaderOwner());
  QObject::connect(&connection_, &Connection::ConnectionLost, [&loader] { loader.ConnectionLost(); });
  const firmware::FirmwareImage image = firmware::LoadIntelHex(
      ":10010000000102030405060708090A0B0C0D0E0F77\n:00000001FF\n", firmware::ControllerTarget);
  ASSERT_TRUE(image.Loaded());

  connection_.SetLinkMode(false);
  ASSERT_EQ(loader.Start(image), firmware::StartResult::Started);
  EXPECT_TRUE(connection_.Link().RequestQueued());  // nowhere to go through the gateway
  EXPECT_EQ(connection_.RunningOperation(), Operation::FirmwareUpdate);

  // Back to the bus: the update ends, and the controller keeps dosing instead of entering its loader.
  ASSERT_TRUE(OpenOn(controller));
  EXPECT_EQ(loader.State(), firmware::FirmwareState::Idle);
  EXPECT_FALSE(connection_.RunningOperation());
  ASSERT_TRUE(controller.Synchronise());
  for (std::uint8_t sequence = 1; sequence <= 3; ++sequence)
    EXPECT_EQ(controller.Poll(sequence), command::ManualOutputs);
}

TEST_F(ConnectionTest, OneOperationAtATimeAndOnlyWhereChangesAreAllowed) {
  connection_.SetLinkMode(true);
  EXPECT_TRUE(connection_.MayStart(Operation::LogReset));
  ASSERT_TRUE(connection_.Begin(Operation::Write));
  EXPECT_FALSE(connection_.Begin(Operation::LogReset));
  EXPECT_FALSE(connection_.MayStart(Operation::LogReset));
  EXPECT_TRUE(connection_.MayStart(Operation::Write));
  EXPECT_EQ(connection_.BusyText(), link::BusyText(Operation::Write));
  connection_.End(Operation::LogReset, false);  // not the running one: nothing happens
  EXPECT_EQ(connection_.RunningOperation(), Operation::Write);
  connection_.End(Operation::Write, true);
  EXPECT_TRUE(connection_.BusyText().empty());

  // Remote without a session: nothing that changes the controller.
  connection_.SetLinkMode(false);
  EXPECT_FALSE(connection_.MayStart(Operation::LogReset));
}

}  // namespace
}  // namespace qd::transport
