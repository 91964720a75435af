#include "bus_master.h"

#include <gtest/gtest.h>

#include <memory>

#include "link/status_records.h"
#include "sim_test_support.h"

namespace qd::sim {
namespace {

namespace command = link::command;
using test::ScriptedPc;

constexpr SimTime Timeout = Milliseconds(50);
constexpr SimTime PollInterval = Milliseconds(20);

BusMasterSettings Unpaced() {
  BusMasterSettings settings;
  settings.baud = 0;
  settings.answerTimeout = Timeout;
  settings.pollInterval = PollInterval;
  return settings;
}

class BusMasterTest : public ::testing::Test {
 protected:
  BusMasterTest() { Build(); }

  void Build(std::vector<FaultSpec> faults = {}, std::vector<TriggerModule> triggers = {},
             BusMasterSettings settings = Unpaced()) {
    master_.reset();
    faults_ = std::make_unique<FaultPlan>(std::move(faults), 7);
    master_ = std::make_unique<BusMaster>(controller_, *faults_, std::move(triggers), settings);
  }

  // Time passes to `t`; the PC hears what left the wire by then.
  void At(SimTime t) {
    now_ = t;
    master_->Tick(t);
    pc_.Hear(*master_, t);
  }

  void Answer(std::uint8_t cmd, std::uint8_t sequence, std::vector<std::uint8_t> data = {}) {
    master_->Receive(ScriptedPc::Answer(cmd, sequence, data), now_);
    pc_.Hear(*master_, now_);
  }

  std::size_t FramesToPc() const { return pc_.FramesToPc().size(); }
  link::PayloadView LastToPc() {
    last_ = pc_.FramesToPc().back();
    return link::PayloadView(last_);
  }

  // The start-up resynchronisation: poll with 0, the PC's 0x41, the poll again with 1.
  void Synchronise() {
    At(SimTime{});
    ASSERT_EQ(LastToPc().Sequence(), 0);
    Answer(command::Resync, 0);
    ASSERT_EQ(LastToPc().Command(), command::Poll);
    ASSERT_EQ(LastToPc().Sequence(), 1);
  }

  // An idle exchange: the PC's idle answer to the poll, the status reply, the PC's silence.
  void IdleExchange() {
    const std::uint8_t sequence = LastToPc().Sequence();
    ASSERT_EQ(LastToPc().Command(), command::Poll);
    Answer(command::ManualOutputs, sequence, std::vector<std::uint8_t>(6, 0));
    ASSERT_EQ(LastToPc().Command(), command::Status);
    At(now_ + Timeout);
  }

  ControllerMemory memory_;
  Controller controller_{memory_, {}};
  std::unique_ptr<FaultPlan> faults_;
  std::unique_ptr<BusMaster> master_;
  ScriptedPc pc_;
  SimTime now_{};
  std::vector<std::uint8_t> last_;
};

TEST_F(BusMasterTest, FirstFrameIsAPollAskingForResynchronisation) {
  At(SimTime{});
  ASSERT_EQ(FramesToPc(), 1u);
  const link::PayloadView poll = LastToPc();
  EXPECT_EQ(poll.Command(), command::Poll);
  EXPECT_EQ(poll.Sequence(), 0);
  EXPECT_EQ(poll.Destination(), link::PcAddress);
  EXPECT_EQ(poll.Source(), link::ControllerAddress);
  EXPECT_EQ(poll.Size(), 6u);
  EXPECT_TRUE(link::SumIsValid(poll.Bytes()));
  EXPECT_EQ(master_->CurrentState(), BusMaster::State::AwaitingAnswer);
}

TEST_F(BusMasterTest, ResyncAnswerMakesTheControllerContinueWithOne) {
  Synchronise();
  EXPECT_EQ(master_->Statistics().resyncs, 1);
  EXPECT_FALSE(master_->ResyncPending());
}

TEST_F(BusMasterTest, StatusReplyCarriesTheNextNumberAndPollsRepeatItAfterSilence) {
  Synchronise();
  Answer(command::ManualOutputs, 1, std::vector<std::uint8_t>(6, 0));
  EXPECT_EQ(LastToPc().Command(), command::Status);
  EXPECT_EQ(LastToPc().Sequence(), 2);
  EXPECT_EQ(LastToPc().Size(), 64u);

  // The PC has nothing to say to a status: the exchange ends and the next poll keeps number 2.
  At(now_ + Timeout - SimTime(1));
  EXPECT_EQ(LastToPc().Command(), command::Status);
  At(now_ + SimTime(1));
  EXPECT_EQ(LastToPc().Command(), command::Poll);
  EXPECT_EQ(LastToPc().Sequence(), 2);
  EXPECT_EQ(master_->Statistics().lostExchanges, 0);

  Answer(command::ManualOutputs, 2, std::vector<std::uint8_t>(6, 0));
  EXPECT_EQ(LastToPc().Sequence(), 3);
}

TEST_F(BusMasterTest, ChainedRequestsAreAnsweredAtOnceInSequence) {
  Synchronise();
  Answer(command::ReadMemory, 1, {16, 0x00, 0x00});
  EXPECT_EQ(LastToPc().Command(), command::MemoryData);
  EXPECT_EQ(LastToPc().Sequence(), 2);
  Answer(command::ReadMemory, 2, {16, 0x10, 0x00});
  EXPECT_EQ(LastToPc().Command(), command::MemoryData);
  EXPECT_EQ(LastToPc().Sequence(), 3);
  EXPECT_EQ(LastToPc().At(7), 0x10);
}

TEST_F(BusMasterTest, SequenceWrapsFrom255ToOneAndNeverUsesZero) {
  Synchronise();
  std::vector<int> seen;
  for (int i = 0; i < 300; ++i) {
    const std::uint8_t sequence = LastToPc().Sequence();
    Answer(command::ReadMemory, sequence, {1, 0x00, 0x00});
    seen.push_back(LastToPc().Sequence());
  }
  for (std::size_t i = 1; i < seen.size(); ++i) {
    EXPECT_NE(seen[i], 0);
    EXPECT_EQ(seen[i], seen[i - 1] == 255 ? 1 : seen[i - 1] + 1) << "at " << i;
  }
  EXPECT_NE(std::find(seen.begin(), seen.end(), 255), seen.end());
}

TEST_F(BusMasterTest, LostAnswerToAPollLeadsToResynchronisationAndTheSameFrameAgain) {
  Synchronise();
  IdleExchange();
  const std::uint8_t sequence = LastToPc().Sequence();
  ASSERT_EQ(sequence, 2);
  const std::size_t before = FramesToPc();

  At(now_ + Timeout - SimTime(1));
  EXPECT_EQ(FramesToPc(), before);
  At(now_ + SimTime(1) + PollInterval);
  ASSERT_EQ(FramesToPc(), before + 1);
  EXPECT_EQ(LastToPc().Command(), command::Poll);
  EXPECT_EQ(LastToPc().Sequence(), 0);
  EXPECT_EQ(master_->Statistics().lostExchanges, 1);

  Answer(command::Resync, 0);
  EXPECT_EQ(LastToPc().Command(), command::Poll);
  EXPECT_EQ(LastToPc().Sequence(), 1);
  // The PC retransmits the request it had sent; it is taken in sequence.
  Answer(command::ReadMemory, 1, {4, 0x00, 0x00});
  EXPECT_EQ(LastToPc().Command(), command::MemoryData);
  EXPECT_EQ(LastToPc().Sequence(), 2);
}

TEST_F(BusMasterTest, ResynchronisationRepeatsUntilThePcAnswers) {
  At(SimTime{});
  for (int i = 0; i < 3; ++i) {
    At(now_ + Timeout + PollInterval);
    EXPECT_EQ(LastToPc().Sequence(), 0);
  }
  EXPECT_EQ(FramesToPc(), 4u);
  EXPECT_EQ(master_->Statistics().lostExchanges, 3);
}

TEST_F(BusMasterTest, AnswerWithABadChecksumResynchronisesAtOnce) {
  Synchronise();
  std::vector<std::uint8_t> answer =
      ScriptedPc::Answer(command::ManualOutputs, 1, std::vector<std::uint8_t>(6, 0));
  answer[6] ^= 0x01;  // a data byte, not a framing byte
  master_->Receive(answer, now_);
  pc_.Hear(*master_, now_);
  EXPECT_EQ(master_->Statistics().checksumErrors, 1);
  EXPECT_EQ(LastToPc().Command(), command::Poll);
  EXPECT_EQ(LastToPc().Sequence(), 0);
  Answer(command::Resync, 0);
  EXPECT_EQ(LastToPc().Sequence(), 1);
}

TEST_F(BusMasterTest, AnswerWithAnUnexpectedNumberResynchronises) {
  Synchronise();
  Answer(command::ManualOutputs, 9, std::vector<std::uint8_t>(6, 0));
  EXPECT_EQ(master_->Statistics().outOfSequence, 1);
  EXPECT_EQ(LastToPc().Command(), command::Poll);
  EXPECT_EQ(LastToPc().Sequence(), 0);
}

TEST_F(BusMasterTest, ResyncOfThePcsOwnAccordIsFollowedBySequenceOne) {
  Synchronise();
  IdleExchange();
  // The PC reopened its port and lost count: it answers the poll 2 with a resynchronisation.
  Answer(command::Resync, 0);
  EXPECT_EQ(LastToPc().Command(), command::Poll);
  EXPECT_EQ(LastToPc().Sequence(), 1);
}

TEST_F(BusMasterTest, FramesOfThePcOutsideAnExchangeAreIgnored) {
  Synchronise();
  Answer(command::ResetMachine, 1, {0x13});  // no reply: the controller waits for its next poll slot
  ASSERT_EQ(master_->CurrentState(), BusMaster::State::Idle);
  const std::size_t before = FramesToPc();
  Answer(command::ReadMemory, 2, {4, 0, 0});
  EXPECT_EQ(FramesToPc(), before);
  EXPECT_EQ(master_->Statistics().unexpected, 1);
  EXPECT_EQ(master_->Sequence(), 2);
}

TEST_F(BusMasterTest, RequestWithoutReplyEndsTheExchange) {
  Synchronise();
  Answer(command::ResetMachine, 1, {0x1A});
  EXPECT_EQ(master_->CurrentState(), BusMaster::State::Idle);
  EXPECT_EQ(controller_.LastReset(), 0x1A);
  At(now_ + PollInterval);
  EXPECT_EQ(LastToPc().Command(), command::Poll);
  EXPECT_EQ(LastToPc().Sequence(), 2);
}

TEST_F(BusMasterTest, PollsKeepTheirIntervalWhileThePcIsIdle) {
  BusMasterSettings settings = Unpaced();
  settings.pollInterval = Milliseconds(200);
  Build({}, {}, settings);
  Synchronise();
  const SimTime firstPoll = now_;
  IdleExchange();  // ends 50 ms later
  At(firstPoll + Milliseconds(199));
  EXPECT_EQ(LastToPc().Command(), command::Status);
  At(firstPoll + Milliseconds(200));
  EXPECT_EQ(LastToPc().Command(), command::Poll);
}

TEST_F(BusMasterTest, OutputIsPacedAtTheLineRate) {
  BusMasterSettings settings = Unpaced();
  settings.baud = 115200;
  Build({}, {}, settings);
  master_->Tick(SimTime{});
  // The poll is STX, six bytes (the destination 2 stuffed into two) and ETX: 9 bytes of 86.8 us.
  EXPECT_TRUE(master_->TakeOutput(SimTime{}).empty());
  EXPECT_EQ(master_->TakeOutput(SimTime(86'805)).size(), 0u);
  EXPECT_EQ(master_->TakeOutput(SimTime(86'806)).size(), 1u);
  EXPECT_EQ(master_->TakeOutput(SimTime(781'249)).size(), 7u);
  EXPECT_EQ(master_->TakeOutput(SimTime(781'250)).size(), 1u);
  // The answer time runs from the end of the frame.
  master_->Tick(SimTime(781'250) + Timeout - SimTime(1));
  EXPECT_EQ(master_->CurrentState(), BusMaster::State::AwaitingAnswer);
  EXPECT_EQ(master_->Statistics().lostExchanges, 0);
  master_->Tick(SimTime(781'250) + Timeout);
  EXPECT_EQ(master_->Statistics().lostExchanges, 1);
}

TEST_F(BusMasterTest, AnAnswerArrivingWhileTheControllerStillSendsIsNotHeard) {
  BusMasterSettings settings = Unpaced();
  settings.baud = 115200;
  Build({}, {}, settings);
  master_->Tick(SimTime{});
  master_->Receive(ScriptedPc::Answer(command::Resync, 0), SimTime(400'000));  // mid-frame
  EXPECT_EQ(master_->Statistics().unexpected, 1);
  EXPECT_EQ(master_->Statistics().resyncs, 0);
  master_->Receive(ScriptedPc::Answer(command::Resync, 0), SimTime(781'250));  // the poll has left
  EXPECT_EQ(master_->Statistics().resyncs, 1);
}

TEST_F(BusMasterTest, ALateAnswerIsTakenForTheRepeatOfTheSameNumber) {
  FaultSpec late{FaultKind::LateAnswers, {}, {}};
  late.selector.first = 3;  // poll 0, poll 1, then the status reply
  Build({late});
  Synchronise();
  Answer(command::ManualOutputs, 1, std::vector<std::uint8_t>(6, 0));
  ASSERT_EQ(LastToPc().Command(), command::Status);
  ASSERT_EQ(LastToPc().Sequence(), 2);
  // The PC's request comes after the window closed: the controller polls again with the same number
  // and takes the request for that poll, without a resynchronisation.
  Answer(command::ReadMemory, 2, {8, 0, 0});
  EXPECT_EQ(master_->Statistics().lateAnswers, 1);
  At(now_ + PollInterval);
  ASSERT_GE(FramesToPc(), 2u);
  const auto frames = pc_.FramesToPc();
  EXPECT_EQ(link::PayloadView(frames[frames.size() - 2]).Command(), command::Poll);
  EXPECT_EQ(link::PayloadView(frames[frames.size() - 2]).Sequence(), 2);
  EXPECT_EQ(LastToPc().Command(), command::MemoryData);
  EXPECT_EQ(LastToPc().Sequence(), 3);
  EXPECT_EQ(master_->Statistics().resyncs, 1);  // the start-up only
  EXPECT_EQ(master_->Statistics().lostExchanges, 0);
}

TEST_F(BusMasterTest, DroppedAnswerOfAPollMakesTheControllerResynchronise) {
  FaultSpec drop{FaultKind::DropAnswers, {}, {}};
  drop.selector.first = 2;  // the idle answer after the resynchronisation
  Build({drop});
  Synchronise();
  Answer(command::ManualOutputs, 1, std::vector<std::uint8_t>(6, 0));
  EXPECT_EQ(LastToPc().Command(), command::Poll);  // no status: the answer was not heard
  At(now_ + Timeout + PollInterval);
  EXPECT_EQ(LastToPc().Sequence(), 0);
  EXPECT_EQ(master_->Statistics().lostExchanges, 1);
}

TEST_F(BusMasterTest, LostReplyIsFollowedByResynchronisation) {
  Build({FaultSpec{FaultKind::DropReplies, {}, {}}});
  Synchronise();
  const std::size_t before = FramesToPc();
  Answer(command::ReadMemory, 1, {8, 0, 0});
  EXPECT_EQ(FramesToPc(), before);  // the reply never reached the wire
  At(now_ + Timeout + PollInterval);
  ASSERT_EQ(FramesToPc(), before + 1);
  EXPECT_EQ(LastToPc().Sequence(), 0);
  Answer(command::Resync, 0);
  // The frame goes out again with 1: the reply itself, which the PC may ignore in favour of its
  // retransmission.
  EXPECT_EQ(LastToPc().Command(), command::MemoryData);
  EXPECT_EQ(LastToPc().Sequence(), 1);
  Answer(command::ReadMemory, 1, {8, 0, 0});
  EXPECT_EQ(LastToPc().Command(), command::MemoryData);
  EXPECT_EQ(LastToPc().Sequence(), 2);
}

TEST_F(BusMasterTest, FrameWithABadChecksumIsFollowedByResynchronisation) {
  FaultSpec bad{FaultKind::BadChecksum, {}, {}};
  bad.selector.first = 3;  // poll 0, poll 1, then the status reply
  Build({bad});
  Synchronise();
  Answer(command::ManualOutputs, 1, std::vector<std::uint8_t>(6, 0));
  EXPECT_EQ(LastToPc().Command(), command::Status);
  EXPECT_FALSE(link::SumIsValid(LastToPc().Bytes()));
  At(now_ + Timeout + PollInterval);
  EXPECT_EQ(LastToPc().Command(), command::Status);
  EXPECT_EQ(LastToPc().Sequence(), 0);
  EXPECT_TRUE(link::SumIsValid(LastToPc().Bytes()));
}

TEST_F(BusMasterTest, NoiseGoesBetweenFramesAndStartsNoFrame) {
  Build({FaultSpec{FaultKind::Noise, {FaultSelector::Mode::Every, 1, 1, 1, 0}, {}}});
  Synchronise();
  for (int i = 0; i < 20; ++i)
    IdleExchange();
  EXPECT_FALSE(pc_.outside.empty());
  for (std::uint8_t byte : pc_.outside)
    EXPECT_NE(byte, link::Stx);
  for (const auto& frame : pc_.frames)
    EXPECT_TRUE(link::SumIsValid(frame));
  EXPECT_EQ(master_->Statistics().lostExchanges, 0);
}

TEST_F(BusMasterTest, SilenceHoldsTheNextPoll) {
  FaultSpec silence{FaultKind::Silence, {}, Milliseconds(300)};
  silence.selector.first = 2;  // the first poll slot after the start-up
  Build({silence});
  Synchronise();
  IdleExchange();  // its end is the second poll slot
  const std::size_t before = FramesToPc();
  const SimTime start = now_;
  At(start + Milliseconds(299));
  EXPECT_EQ(FramesToPc(), before);
  EXPECT_EQ(master_->CurrentState(), BusMaster::State::Silent);
  At(start + Milliseconds(300));
  ASSERT_EQ(FramesToPc(), before + 1);
  EXPECT_EQ(LastToPc().Command(), command::Poll);
  EXPECT_EQ(LastToPc().Sequence(), 2);  // the PC still expects 2
}

TEST_F(BusMasterTest, TriggerReportsGoToTheControllerBetweenPolls) {
  Build({}, {TriggerModule(4, trigger_type::NyborgW3)});
  Synchronise();
  for (int i = 0; i < 40; ++i)
    IdleExchange();
  int reports = 0;
  int statusReports = 0;
  for (const auto& frame : pc_.frames) {
    const link::PayloadView view(frame);
    if (view.Destination() != link::ControllerAddress) continue;
    ASSERT_TRUE(link::SumIsValid(frame));
    const auto report = link::DecodeTriggerReport(frame);
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(view.Source(), 6);
    EXPECT_EQ(report->machine, 3);
    ++reports;
    if (view.Command() == command::TriggerStatusReport) ++statusReports;
  }
  EXPECT_GE(reports, 8);
  EXPECT_EQ(statusReports, reports / TriggerModule::StatusEvery);
  // A report never lands inside an exchange: each is followed by a poll, not by the PC's turn.
  for (std::size_t i = 0; i + 1 < pc_.frames.size(); ++i) {
    if (link::PayloadView(pc_.frames[i]).Destination() == link::ControllerAddress) {
      const link::PayloadView next(pc_.frames[i + 1]);
      EXPECT_TRUE(next.Command() == command::Poll || next.Destination() == link::ControllerAddress);
    }
  }
  // The controller heard them: machine 4's record shows the trigger online.
  EXPECT_NE(controller_.Record(3)[2] & TriggerOnlineFlag, 0);
}

}  // namespace
}  // namespace qd::sim
