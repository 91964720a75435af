// The simulated controller against the PC's own bus link: whole transfers over a paced wire, with and
// without faults, must end with the PC holding exactly what the controller holds.
#include <gtest/gtest.h>

#include <memory>

#include "bus_master.h"
#include "link/bus_link.h"
#include "link/status_records.h"
#include "model/system_commands.h"
#include "support/fake_byte_sink.h"

namespace qd::sim {
namespace {

namespace command = link::command;

constexpr SimTime Step = std::chrono::microseconds(100);

ControllerMemory Patterned() {
  ControllerMemory memory;
  std::vector<std::uint8_t> bytes(ControllerMemory::Size);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>((i * 31) ^ (i >> 7));
  // Bytes that need stuffing, so that frames grow and the receiver's escapes are exercised.
  for (std::size_t i = 0; i < bytes.size(); i += 5)
    bytes[i] = static_cast<std::uint8_t>(0x02 + (i % 3));
  memory.Load(bytes);
  return memory;
}

// The PC's side: its link, and a transfer that queues the next request from the reply handler, as the
// read/write window does.
class PcPeer {
 public:
  PcPeer() : link_(sink_) {
    link_.handlers.dispatch = [this](link::PayloadView frame) { Dispatch(frame); };
    link_.handlers.triggerFrame = [this](int machine, link::PayloadView) {
      triggerMachines.push_back(machine);
    };
  }

  void StartRead() {
    reading_ = true;
    offset_ = 0;
    QueueRead();
  }
  void StartWrite(std::span<const std::uint8_t> image, std::size_t from, std::size_t to) {
    image_.assign(image.begin(), image.end());
    writing_ = true;
    offset_ = from;
    end_ = to;
    QueueWrite();
  }
  bool Busy() const { return reading_ || writing_; }

  // The bytes the PC wrote since the last call.
  std::vector<std::uint8_t> TakeWritten() {
    std::vector<std::uint8_t> bytes;
    for (const auto& write : sink_.writes)
      bytes.insert(bytes.end(), write.begin(), write.end());
    sink_.writes.clear();
    return bytes;
  }

  link::BusLink& Link() { return link_; }

  std::vector<std::uint8_t> read = std::vector<std::uint8_t>(ControllerMemory::Size, 0);
  int statusFrames = 0;
  std::vector<int> triggerMachines;

 private:
  void QueueRead() {
    const std::uint8_t request[] = {128, static_cast<std::uint8_t>(offset_),
                                    static_cast<std::uint8_t>(offset_ >> 8)};
    link_.QueueRequest(command::ReadMemory, link::ControllerAddress, request);
  }
  void QueueWrite() {
    const std::size_t count = std::min<std::size_t>(128, end_ - offset_);
    std::vector<std::uint8_t> request = {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(offset_),
                                         static_cast<std::uint8_t>(offset_ >> 8)};
    request.insert(request.end(), image_.begin() + static_cast<std::ptrdiff_t>(offset_),
                   image_.begin() + static_cast<std::ptrdiff_t>(offset_ + count));
    link_.QueueRequest(command::WriteMemory, link::ControllerAddress, request);
  }

  void Dispatch(link::PayloadView frame) {
    const std::size_t address = frame.At(7) | (frame.At(8) << 8);
    if (frame.Command() == command::Status) ++statusFrames;
    if (frame.Command() == command::MemoryData && reading_ && address == offset_) {
      const std::size_t count = frame.At(6);
      const auto data = frame.Slice(9, count);
      std::copy(data.begin(), data.end(), read.begin() + static_cast<std::ptrdiff_t>(offset_));
      offset_ += count;
      if (offset_ < ControllerMemory::Size) {
        QueueRead();
      } else {
        reading_ = false;
      }
    }
    if (frame.Command() == command::WriteConfirm && writing_ && address == offset_) {
      offset_ += frame.At(6);
      if (offset_ < end_) {
        QueueWrite();
      } else {
        writing_ = false;
        const std::uint8_t done[] = {0x00};
        link_.QueueRequest(command::ResetMachine, link::ControllerAddress, done);
      }
    }
  }

  test::FakeByteSink sink_;
  link::BusLink link_;
  bool reading_ = false;
  bool writing_ = false;
  std::size_t offset_ = 0;
  std::size_t end_ = 0;
  std::vector<std::uint8_t> image_;
};

class InteropTest : public ::testing::Test {
 protected:
  void Build(const ControllerMemory& memory, std::vector<FaultSpec> faults = {},
             std::vector<TriggerModule> triggers = {}) {
    controller_ = std::make_unique<Controller>(memory, ControllerSettings{});
    faults_ = std::make_unique<FaultPlan>(std::move(faults), 42);
    BusMasterSettings settings;  // paced at 115200, 50 ms, 20 ms
    master_ = std::make_unique<BusMaster>(*controller_, *faults_, std::move(triggers), settings);
  }

  // Runs both ends until `done` or until `limit` of simulated time has passed.
  template <typename Done>
  bool RunUntil(Done done, SimTime limit) {
    const SimTime end = now_ + limit;
    while (now_ < end) {
      master_->Tick(now_);
      const std::vector<std::uint8_t> toPc = master_->TakeOutput(now_);
      wireBytes_ += toPc.size();
      pc_.Link().Receive(toPc);
      const std::vector<std::uint8_t> toController = pc_.TakeWritten();
      if (!toController.empty()) master_->Receive(toController, now_);
      if (done()) return true;
      now_ += Step;
    }
    return false;
  }

  std::unique_ptr<Controller> controller_;
  std::unique_ptr<FaultPlan> faults_;
  std::unique_ptr<BusMaster> master_;
  PcPeer pc_;
  SimTime now_{};
  std::size_t wireBytes_ = 0;
};

TEST_F(InteropTest, IdleBusStaysInStepWithoutFurtherResynchronisation) {
  Build(ControllerMemory{});
  ASSERT_FALSE(RunUntil([] { return false; }, Milliseconds(2000)));
  EXPECT_TRUE(pc_.Link().LinkReady());
  EXPECT_EQ(pc_.Link().Counters().syncCount, 1);  // the start-up only
  EXPECT_GT(pc_.statusFrames, 20);
  EXPECT_EQ(master_->Statistics().lostExchanges, 0);
  EXPECT_EQ(master_->Statistics().outOfSequence, 0);
}

TEST_F(InteropTest, WholeMemoryReadIsLimitedByTheWire) {
  Build(Patterned());
  ASSERT_TRUE(RunUntil([&] { return pc_.Link().LinkReady(); }, Milliseconds(100)));
  const SimTime start = now_;
  const std::size_t wireBefore = wireBytes_;
  pc_.StartRead();
  ASSERT_TRUE(RunUntil([&] { return !pc_.Busy(); }, Milliseconds(20000)));
  const auto expected = controller_->Memory().Bytes();
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), pc_.read.begin()));

  // Never faster than 115200 baud, and not much slower: the polls start right after each answer.
  const double wireSeconds = static_cast<double>(wireBytes_ - wireBefore) * 10 / 115200;
  const double seconds = static_cast<double>((now_ - start).count()) / 1e9;
  EXPECT_GE(seconds, wireSeconds);
  EXPECT_LT(seconds, wireSeconds * 1.1 + 0.1);
  EXPECT_EQ(pc_.Link().Counters().syncCount, 1);
}

TEST_F(InteropTest, ReadSurvivesLostAnswersLostRepliesBadChecksumsAndNoise) {
  FaultSpec dropAnswers{FaultKind::DropAnswers, {FaultSelector::Mode::Every, 1, 1, 7, 0}, {}};
  FaultSpec dropReplies{FaultKind::DropReplies, {FaultSelector::Mode::Every, 1, 1, 11, 0}, {}};
  FaultSpec badChecksum{FaultKind::BadChecksum, {FaultSelector::Mode::Every, 1, 1, 13, 0}, {}};
  FaultSpec noise{FaultKind::Noise, {FaultSelector::Mode::Rate, 1, 1, 1, 0.3}, {}};
  Build(Patterned(), {dropAnswers, dropReplies, badChecksum, noise});
  pc_.StartRead();
  ASSERT_TRUE(RunUntil([&] { return !pc_.Busy(); }, Milliseconds(60000)));
  const auto expected = controller_->Memory().Bytes();
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), pc_.read.begin()));
  EXPECT_GT(pc_.Link().Counters().syncCount, 10);
  EXPECT_GT(pc_.Link().Counters().retransmitCount, 0);
  EXPECT_GT(pc_.Link().Counters().checksumErrorCount, 0);
  EXPECT_GT(master_->Statistics().lostExchanges, 0);
}

TEST_F(InteropTest, WrittenSystemDataLandsByteForByte) {
  WorkingConfig config;
  LocalDateTime buildTime;
  const BuildResult built = NewSystem(config, buildTime);
  Build(Patterned(), {FaultSpec{FaultKind::DropReplies, {FaultSelector::Mode::Every, 1, 1, 9, 0}, {}}});
  pc_.StartWrite(config.image.bytes, 32, static_cast<std::size_t>(built.dataLength));
  ASSERT_TRUE(
      RunUntil([&] { return !pc_.Busy() && controller_->CompletedWrites() == 1; }, Milliseconds(20000)));
  const auto memory = controller_->Memory().Bytes();
  EXPECT_TRUE(std::equal(config.image.bytes.begin() + 32, config.image.bytes.begin() + built.dataLength,
                         memory.begin() + 32));
  EXPECT_EQ(memory[built.dataLength], Patterned().At(static_cast<std::size_t>(built.dataLength)));
}

// A PC whose answers come after the controller's window has closed, every fifth frame or every
// frame: the controller takes each late answer for the repeat of its frame, so reads and writes
// complete without falling into resynchronisations.
struct LateAnswersCase {
  std::uint64_t every;
  int maxResyncs;
};

class LateAnswersTest : public InteropTest, public ::testing::WithParamInterface<LateAnswersCase> {
 protected:
  void BuildLate(const ControllerMemory& memory) {
    Build(memory,
          {FaultSpec{FaultKind::LateAnswers, {FaultSelector::Mode::Every, 1, 1, GetParam().every, 0}, {}}});
  }
  void ExpectFewResyncs() {
    EXPECT_GT(master_->Statistics().lateAnswers, 10);
    EXPECT_LE(pc_.Link().Counters().syncCount, GetParam().maxResyncs);
    EXPECT_EQ(master_->Statistics().lostExchanges, 0);
  }
};

TEST_P(LateAnswersTest, ReadGetsTheWholeMemory) {
  BuildLate(Patterned());
  pc_.StartRead();
  ASSERT_TRUE(RunUntil([&] { return !pc_.Busy(); }, Milliseconds(30000)));
  const auto expected = controller_->Memory().Bytes();
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), pc_.read.begin()));
  ExpectFewResyncs();
}

TEST_P(LateAnswersTest, WriteStoresEveryBlock) {
  WorkingConfig config;
  const BuildResult built = NewSystem(config, LocalDateTime{});
  BuildLate(Patterned());
  pc_.StartWrite(config.image.bytes, 32, static_cast<std::size_t>(built.dataLength));
  ASSERT_TRUE(
      RunUntil([&] { return !pc_.Busy() && controller_->CompletedWrites() == 1; }, Milliseconds(30000)));
  const auto memory = controller_->Memory().Bytes();
  EXPECT_TRUE(std::equal(config.image.bytes.begin() + 32, config.image.bytes.begin() + built.dataLength,
                         memory.begin() + 32));
  ExpectFewResyncs();
}

INSTANTIATE_TEST_SUITE_P(EveryFifthAndEveryFrame, LateAnswersTest,
                         ::testing::Values(LateAnswersCase{5, 3}, LateAnswersCase{1, 20}));

TEST_F(InteropTest, ThePcOverhearsTheTriggerModules) {
  Build(ControllerMemory{}, {}, {TriggerModule(7, trigger_type::MieleLogic)});
  RunUntil([&] { return pc_.triggerMachines.size() >= 3; }, Milliseconds(2000));
  ASSERT_GE(pc_.triggerMachines.size(), 3u);
  for (int machine : pc_.triggerMachines)
    EXPECT_EQ(machine, 6);
}

}  // namespace
}  // namespace qd::sim
