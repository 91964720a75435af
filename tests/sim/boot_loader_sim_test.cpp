// The simulated boot loaders against the tool's own loader protocol: first the loader alone with a
// hand-made owner, then inside the bus master with the PC's bus link in between.
#include "boot_loader_sim.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

#include "bus_master.h"
#include "firmware/boot_loader.h"
#include "firmware/intel_hex.h"
#include "firmware/loader_link.h"
#include "link/bus_link.h"
#include "link/frame_codec.h"
#include "sim_options.h"
#include "support/fake_byte_sink.h"

namespace qd::sim {
namespace {

using firmware::BootLoader;
using firmware::FirmwareImage;

constexpr SimTime FrameGap = Milliseconds(2);

FirmwareImage Load(const char* name, const firmware::FirmwareTarget& target) {
  return firmware::LoadIntelHexFile(std::string(QD_TEST_DATA_DIR) + "/firmware/" + name, target);
}

// A firmware image whose bytes all differ from 0xFF, from 0 to `end`.
FirmwareImage Patterned(std::uint32_t end, const firmware::FirmwareTarget& target) {
  std::string text;
  char line[64];
  for (std::uint32_t address = 0; address < end; address += 16) {
    std::snprintf(line, sizeof line, ":10%04X00", static_cast<unsigned>(address));
    text += line;
    unsigned sum = 0x10 + (address >> 8) + (address & 0xFF);
    for (std::uint32_t i = 0; i < 16; ++i) {
      const unsigned byte = (address + i) * 7 % 251;
      std::snprintf(line, sizeof line, "%02X", byte);
      text += line;
      sum += byte;
    }
    std::snprintf(line, sizeof line, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
    text += line;
  }
  return firmware::LoadIntelHex(text, target);
}

// The tool's loader wired straight to the simulated loader: start actions enter it, raw frames reach
// it with their checksum, and its answers come back one at a time.
class LoaderPair {
 public:
  explicit LoaderPair(LoaderSettings settings = {}) : sim(settings), tool(MakeOwner()) {}

  // Runs until the tool's loader is idle again, ticking it every 100 ms of simulated time.
  void Run() {
    for (int tick = 0; tick < 1000 && tool.Busy(); ++tick) {
      while (!answers.empty() && tool.Busy()) {
        const std::uint8_t byte = answers.front();
        answers.pop_front();
        tool.FirmwareByte(byte);
      }
      if (!tool.Busy()) break;
      now += Milliseconds(100);
      tool.Tick();
      sim.Tick(now);
    }
  }

  BootLoaderSim sim;
  BootLoader tool;
  std::deque<std::uint8_t> answers;
  std::vector<std::uint8_t> startCommands;  // 0x70 of either start action
  std::vector<std::size_t> frameSizes;      // of the raw frames, without their checksum
  std::vector<std::uint16_t> blockAddresses;
  std::function<void(std::vector<std::uint8_t>&)> spoil;  // changes a raw frame on its way
  std::optional<firmware::FlashResult> result;
  SimTime now{};

 private:
  void Answer(std::optional<std::uint8_t> byte) {
    if (byte) answers.push_back(*byte);
  }

  BootLoader::Owner MakeOwner() {
    BootLoader::Owner owner;
    owner.queueRequest = [this](std::uint8_t command, std::uint8_t destination,
                                std::span<const std::uint8_t> data) {
      EXPECT_EQ(destination, link::ControllerAddress);
      if (data.size() == 2 && data[0] == 0x01 && data[1] == 0x00) {
        startCommands.push_back(command);
        Answer(sim.Start(LoaderTarget::Controller, now));
      }
      return true;
    };
    owner.sendFrame = [this](std::vector<std::uint8_t>& payload) {
      EXPECT_EQ(payload.at(link::DestinationOffset), link::FirmwareLoaderAddress);
      EXPECT_EQ(payload.at(link::SequenceOffset), 0);
      startCommands.push_back(payload.at(link::CommandOffset));
      Answer(sim.Start(LoaderTarget::Trigger, now));
      return true;
    };
    owner.sendRawFrame = [this](std::span<const std::uint8_t> data) {
      frameSizes.push_back(data.size());
      std::vector<std::uint8_t> body(data.begin(), data.end());
      if (body.size() == 130) blockAddresses.push_back(static_cast<std::uint16_t>(body[0] | (body[1] << 8)));
      if (spoil) spoil(body);
      body.push_back(link::ChecksumOf(body));
      now += FrameGap;
      Answer(sim.Frame(body, now));
      return true;
    };
    owner.finished = [this](firmware::FlashResult flashResult) { result = flashResult; };
    return owner;
  }
};

void ExpectProgrammed(const BootLoaderSim& sim, const FirmwareImage& image) {
  ASSERT_EQ(sim.Image().size(), image.target.imageSize);
  for (std::uint32_t address = 0; address < image.target.imageSize; ++address) {
    ASSERT_EQ(sim.Image()[address], image.image[address]) << "at " << address;
  }
}

TEST(BootLoaderSimTest, ControllerIsProgrammedWithTheWholeFile) {
  const FirmwareImage image = Load("firmware.hex", firmware::ControllerTarget);
  ASSERT_TRUE(image.Loaded());
  LoaderPair pair;
  ASSERT_EQ(pair.tool.Start(image), firmware::StartResult::Started);
  pair.Run();
  EXPECT_EQ(pair.result, firmware::FlashResult::Completed);
  EXPECT_EQ(pair.tool.StateText(), firmware::CompletedText);
  EXPECT_EQ(pair.sim.LastVerdict(), LoaderVerdict::Completed);
  EXPECT_FALSE(pair.sim.Active());
  EXPECT_EQ(pair.startCommands, std::vector<std::uint8_t>{link::command::FirmwareLoader});
  EXPECT_EQ(pair.sim.BlocksStored(), static_cast<int>(image.programmingEnd / 128));
  ExpectProgrammed(pair.sim, image);
}

TEST(BootLoaderSimTest, TriggerModulesKeepOnlyTheirProgramMemory) {
  // The file runs from 3700h beyond the trigger modules' 3800h bytes.
  const FirmwareImage image = Load("firmware_3700.hex", firmware::TriggerTarget);
  ASSERT_TRUE(image.Loaded());
  LoaderPair pair;
  ASSERT_EQ(pair.tool.Start(image), firmware::StartResult::Started);
  pair.Run();
  EXPECT_EQ(pair.result, firmware::FlashResult::Completed);
  EXPECT_EQ(pair.sim.Target(), LoaderTarget::Trigger);
  ASSERT_EQ(pair.sim.Image().size(), 0x3800u);
  EXPECT_EQ(pair.sim.Image()[0x36FF], 0xFF);
  EXPECT_EQ(pair.sim.Image()[0x3700], 0x22);
  ExpectProgrammed(pair.sim, image);
}

TEST(BootLoaderSimTest, BlocksArriveInTheToolsOrder) {
  const FirmwareImage image = Patterned(0x0131, firmware::ControllerTarget);
  ASSERT_EQ(image.programmingEnd, 0x0200);
  LoaderPair pair;
  ASSERT_EQ(pair.tool.Start(image), firmware::StartResult::Started);
  pair.Run();
  EXPECT_EQ(pair.result, firmware::FlashResult::Completed);
  EXPECT_EQ(pair.blockAddresses, (std::vector<std::uint16_t>{0x0100, 0x0180, 0x0000, 0x0080}));
  EXPECT_EQ(pair.frameSizes, (std::vector<std::size_t>{2, 130, 130, 2, 130, 130, 6}));
  ExpectProgrammed(pair.sim, image);
}

TEST(BootLoaderSimTest, ABlockSpoiledOnTheWayGivesAChecksumError) {
  const FirmwareImage image = Patterned(0x0400, firmware::TriggerTarget);
  LoaderPair pair;
  pair.spoil = [](std::vector<std::uint8_t>& body) {
    if (body.size() == 130 && body[0] == 0x80) body[10] = static_cast<std::uint8_t>(body[10] + 1);
  };
  ASSERT_EQ(pair.tool.Start(image), firmware::StartResult::Started);
  pair.Run();
  EXPECT_EQ(pair.result, firmware::FlashResult::ChecksumError);
  EXPECT_EQ(pair.tool.StateText(), firmware::ChecksumErrorText);
  EXPECT_EQ(pair.sim.LastVerdict(), LoaderVerdict::ChecksumError);
}

TEST(BootLoaderSimTest, ABlockAddressSpoiledOnTheWayGivesAChecksumError) {
  // Block 80h arrives as a second block 0000h: 80h is never programmed.
  const FirmwareImage image = Load("firmware.hex", firmware::TriggerTarget);
  LoaderPair pair;
  pair.spoil = [](std::vector<std::uint8_t>& body) {
    if (body.size() == 130 && body[0] == 0x80) body[0] = 0x00;
  };
  ASSERT_EQ(pair.tool.Start(image), firmware::StartResult::Started);
  pair.Run();
  EXPECT_EQ(pair.result, firmware::FlashResult::ChecksumError);
}

TEST(BootLoaderSimTest, ChecksumFaultAnswersAChecksumErrorAfterAGoodTransfer) {
  const FirmwareImage image = Load("firmware.hex", firmware::ControllerTarget);
  LoaderPair pair(LoaderSettings{LoaderFault::Checksum, Milliseconds(8000)});
  ASSERT_EQ(pair.tool.Start(image), firmware::StartResult::Started);
  pair.Run();
  EXPECT_EQ(pair.result, firmware::FlashResult::ChecksumError);
  EXPECT_EQ(pair.tool.StateText(), firmware::ChecksumErrorText);
  ExpectProgrammed(pair.sim, image);  // the blocks themselves arrived
}

TEST(BootLoaderSimTest, SilentLoaderLetsTheToolTimeOutAndThenGivesUp) {
  const FirmwareImage image = Load("firmware.hex", firmware::TriggerTarget);
  LoaderPair pair(LoaderSettings{LoaderFault::Silent, Milliseconds(8000)});
  ASSERT_EQ(pair.tool.Start(image), firmware::StartResult::Started);
  pair.Run();
  EXPECT_EQ(pair.result, firmware::FlashResult::Timeout);
  EXPECT_EQ(pair.tool.StateText(), firmware::TimeoutText);
  EXPECT_TRUE(pair.answers.empty());
  EXPECT_EQ(pair.now, Milliseconds(100 * BootLoader::StartLimitTicks));
  EXPECT_TRUE(pair.sim.Active());
  pair.sim.Tick(Milliseconds(7999));
  EXPECT_TRUE(pair.sim.Active());
  pair.sim.Tick(Milliseconds(8000));
  EXPECT_FALSE(pair.sim.Active());
  EXPECT_EQ(pair.sim.LastVerdict(), LoaderVerdict::GaveUp);
  EXPECT_EQ(pair.sim.Image(), std::vector<std::uint8_t>(0x3800, 0xFF));
}

std::vector<std::uint8_t> Body(std::vector<std::uint8_t> data) {
  data.push_back(link::ChecksumOf(data));
  return data;
}

TEST(BootLoaderSimTest, FramesOfTheWrongShapeOrSumGetNoAnswer) {
  BootLoaderSim sim;
  EXPECT_EQ(sim.Start(LoaderTarget::Controller, {}), 0x16);
  EXPECT_EQ(sim.Frame(Body({0x80, 0x00}), {}), std::nullopt);  // the trigger modules' block size
  std::vector<std::uint8_t> spoilt = Body({0x00, 0x01});
  spoilt.back() = static_cast<std::uint8_t>(spoilt.back() + 1);
  EXPECT_EQ(sim.Frame(spoilt, {}), std::nullopt);
  EXPECT_EQ(sim.Frame(Body({0x00, 0x01}), {}), 0x06);
  std::vector<std::uint8_t> block(130, 0x11);
  block[0] = 0x40;  // not on a block boundary
  block[1] = 0x00;
  EXPECT_EQ(sim.Frame(Body(block), {}), std::nullopt);
  block[0] = 0x00;
  block[1] = 0xFC;  // beyond the program memory
  EXPECT_EQ(sim.Frame(Body(block), {}), std::nullopt);
  EXPECT_EQ(sim.Frame(Body({0x00, 0x00, 0x10, 0x00, 0x00, 0x00}), {}), std::nullopt);  // summary too early
  EXPECT_EQ(sim.BlocksStored(), 0);
  EXPECT_TRUE(sim.Active());
}

TEST(BootLoaderSimTest, ABlockThatNeverArrivedFailsTheSummaryEvenWithAMatchingSum) {
  // Block 80h would hold only 0xFF, which the erased memory holds anyway; it still has to arrive.
  BootLoaderSim sim;
  sim.Start(LoaderTarget::Trigger, {});
  ASSERT_EQ(sim.Frame(Body({0x80, 0x00}), {}), 0x06);
  ASSERT_EQ(sim.Frame(Body({0x00, 0x00}), {}), 0x06);
  std::vector<std::uint8_t> block(130, 0x01);
  block[0] = 0x00;
  block[1] = 0x00;
  ASSERT_EQ(sim.Frame(Body(block), {}), 0x06);
  // Start 0, end 100h: 128 bytes of 0x01 and 128 of 0xFF (the byte at the end is not summed).
  const std::uint16_t sum = 128 * 0x01 + 128 * 0xFF;
  const auto complement = static_cast<std::uint16_t>(~sum);
  const std::vector<std::uint8_t> summary = {0x00,
                                             0x00,
                                             0x00,
                                             0x01,
                                             static_cast<std::uint8_t>(complement),
                                             static_cast<std::uint8_t>(complement >> 8)};
  EXPECT_EQ(sim.Frame(Body(summary), {}), 0x15);

  // The same summary over 0..7Fh only, which did arrive, is good.
  sim.Start(LoaderTarget::Trigger, {});
  ASSERT_EQ(sim.Frame(Body({0x80, 0x00}), {}), 0x06);
  ASSERT_EQ(sim.Frame(Body({0x00, 0x00}), {}), 0x06);
  ASSERT_EQ(sim.Frame(Body(block), {}), 0x06);
  const auto good = static_cast<std::uint16_t>(~(127 * 0x01));
  EXPECT_EQ(sim.Frame(Body({0x00, 0x00, 0x7F, 0x00, static_cast<std::uint8_t>(good),
                            static_cast<std::uint8_t>(good >> 8)}),
                      {}),
            0x17);
}

TEST(BootLoaderSimTest, SummaryOutsideTheProgramMemoryIsAChecksumError) {
  BootLoaderSim sim;
  sim.Start(LoaderTarget::Trigger, {});
  ASSERT_EQ(sim.Frame(Body({0x80, 0x00}), {}), 0x06);
  ASSERT_EQ(sim.Frame(Body({0x00, 0x00}), {}), 0x06);
  // Start 0, end 3800h: one past the last byte, with the sum of nothing.
  EXPECT_EQ(sim.Frame(Body({0x00, 0x00, 0x00, 0x38, 0xFF, 0xFF}), {}), 0x15);
  EXPECT_FALSE(sim.Active());
}

// The loader inside the bus master, with the PC's own link and the tool's loader on the other end.
class BusLoaderTest : public ::testing::Test {
 protected:
  void Build(LoaderSettings loader = {}) {
    faults_ = std::make_unique<FaultPlan>(std::vector<FaultSpec>{}, 1);
    BusMasterSettings settings;
    settings.baud = 0;
    settings.loader = loader;
    master_ = std::make_unique<BusMaster>(controller_, *faults_, std::vector<TriggerModule>{}, settings);
    master_->onTrace = [this](const BusMaster::TraceEvent& event) {
      if (event.sent && !event.payload.empty() && event.payload[0] == link::command::Poll)
        pollSequences_.push_back(event.payload[link::SequenceOffset]);
    };
    BootLoader::Owner owner = firmware::OwnerOnLink(link_);
    owner.finished = [this](firmware::FlashResult result) { result_ = result; };
    tool_ = std::make_unique<BootLoader>(std::move(owner));
    link_.handlers.loaderByte = [this](std::uint8_t byte) { tool_->FirmwareByte(byte); };
    link_.SetLoaderListening(true);
  }

  // Runs both ends in steps of 1 ms until `done` or `limit`; the tool ticks every 100 ms.
  bool RunUntil(const std::function<bool()>& done, SimTime limit) {
    const SimTime end = now_ + limit;
    while (now_ < end) {
      master_->Tick(now_);
      link_.Receive(master_->TakeOutput(now_));
      std::vector<std::uint8_t> written;
      for (const auto& write : sink_.writes)
        written.insert(written.end(), write.begin(), write.end());
      sink_.writes.clear();
      if (!written.empty()) master_->Receive(written, now_);
      if (done()) return true;
      now_ += Milliseconds(1);
      if (now_.count() % Milliseconds(100).count() == 0) {
        link_.Tick(true);
        tool_->Tick();
      }
    }
    return false;
  }

  void FlashAndExpectPollingBack(const FirmwareImage& image) {
    ASSERT_TRUE(RunUntil([&] { return link_.LinkReady(); }, Milliseconds(200)));
    ASSERT_EQ(tool_->Start(image), firmware::StartResult::Started);
    ASSERT_TRUE(RunUntil([&] { return master_->Loader().Active(); }, Milliseconds(200)));
    const std::size_t pollsBefore = pollSequences_.size();
    ASSERT_TRUE(RunUntil([&] { return result_.has_value(); }, Milliseconds(30000)));
    EXPECT_EQ(result_, firmware::FlashResult::Completed);
    EXPECT_EQ(pollSequences_.size(), pollsBefore);  // no polls while the loader ran
    ExpectProgrammed(master_->Loader(), image);

    // Polling resumes with a resynchronisation, and the PC's link gets back in step.
    const int syncsBefore = link_.Counters().syncCount;
    ASSERT_TRUE(RunUntil([&] { return pollSequences_.size() > pollsBefore + 3; }, Milliseconds(500)));
    EXPECT_EQ(pollSequences_[pollsBefore], 0);
    EXPECT_EQ(link_.Counters().syncCount, syncsBefore + 1);
    EXPECT_NE(pollSequences_.back(), 0);
  }

  Controller controller_{ControllerMemory{}, ControllerSettings{}};
  std::unique_ptr<FaultPlan> faults_;
  std::unique_ptr<BusMaster> master_;
  test::FakeByteSink sink_;
  link::BusLink link_{sink_};
  std::unique_ptr<BootLoader> tool_;
  std::optional<firmware::FlashResult> result_;
  std::vector<std::uint8_t> pollSequences_;
  SimTime now_{};
};

TEST_F(BusLoaderTest, ControllerLoaderStartsFromTheQueuedRequestAndPollingResumes) {
  Build();
  FlashAndExpectPollingBack(Load("firmware_split.hex", firmware::ControllerTarget));
  EXPECT_EQ(master_->Loader().Target(), LoaderTarget::Controller);
}

TEST_F(BusLoaderTest, TriggerLoaderStartsFromTheFrameToAddressZero) {
  Build();
  FlashAndExpectPollingBack(Load("firmware.hex", firmware::TriggerTarget));
  EXPECT_EQ(master_->Loader().Target(), LoaderTarget::Trigger);
}

TEST_F(BusLoaderTest, SilentLoaderStopsPollingUntilItGivesUp) {
  Build(LoaderSettings{LoaderFault::Silent, Milliseconds(8000)});
  ASSERT_TRUE(RunUntil([&] { return link_.LinkReady(); }, Milliseconds(200)));
  ASSERT_EQ(tool_->Start(Load("firmware.hex", firmware::ControllerTarget)), firmware::StartResult::Started);
  ASSERT_TRUE(RunUntil([&] { return master_->Loader().Active(); }, Milliseconds(200)));
  const std::size_t pollsBefore = pollSequences_.size();
  ASSERT_TRUE(RunUntil([&] { return result_.has_value(); }, Milliseconds(6000)));
  EXPECT_EQ(result_, firmware::FlashResult::Timeout);
  EXPECT_EQ(pollSequences_.size(), pollsBefore);
  ASSERT_TRUE(RunUntil([&] { return !master_->Loader().Active(); }, Milliseconds(4000)));
  EXPECT_EQ(master_->Loader().LastVerdict(), LoaderVerdict::GaveUp);
  ASSERT_TRUE(RunUntil([&] { return pollSequences_.size() > pollsBefore; }, Milliseconds(100)));
  EXPECT_EQ(pollSequences_[pollsBefore], 0);
}

TEST(LoaderOptionsTest, FaultAndFirmwareDumpAreTakenFromTheCommandLine) {
  std::string error;
  const auto plain = ParseOptions({}, error);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->loaderFault, LoaderFault::None);
  EXPECT_FALSE(plain->dumpFirmware);

  const auto options = ParseOptions({"--loader-fault", "checksum", "--dump-firmware=fw.bin"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->loaderFault, LoaderFault::Checksum);
  EXPECT_EQ(options->dumpFirmware, "fw.bin");
  EXPECT_EQ(ParseOptions({"--loader-fault=silent"}, error)->loaderFault, LoaderFault::Silent);

  EXPECT_FALSE(ParseOptions({"--loader-fault", "loud"}, error));
  EXPECT_NE(error.find("checksum or silent"), std::string::npos);
  EXPECT_FALSE(ParseOptions({"--dump-firmware"}, error));
}

}  // namespace
}  // namespace qd::sim
