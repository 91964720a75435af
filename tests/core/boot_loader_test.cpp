#include "firmware/boot_loader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "firmware/loader_link.h"
#include "link/frame_codec.h"
#include "support/bus_link_harness.h"

namespace qd::firmware {
namespace {

using Bytes = std::vector<std::uint8_t>;

// What the loader asked of its owner, in order.
struct Call {
  enum Kind { ClearQueue, QueueRequest, SendFrame, SendRawFrame, ProgrammingActive, Finished } kind;
  Bytes bytes{};  // data, payload or raw frame
  std::uint8_t command = 0;
  std::uint8_t destination = 0;
  bool active = false;
  FlashResult result = FlashResult::Completed;
};

// A HEX file whose code runs from `codeStart` to `codeEnd`; each byte is its address's low byte plus
// its high byte, so that every block differs, and never 0xFF at code end.
std::string HexFile(std::uint32_t codeStart, std::uint32_t codeEnd) {
  std::string text;
  for (std::uint32_t a = codeStart; a <= codeEnd; a += 16) {
    const std::uint32_t count = std::min<std::uint32_t>(16, codeEnd + 1 - a);
    unsigned sum = count + (a >> 8) + (a & 0xFF);
    char field[16];
    std::snprintf(field, sizeof field, ":%02X%04X00", count, a);
    text += field;
    for (std::uint32_t i = 0; i < count; ++i) {
      const unsigned b = ((a + i) + ((a + i) >> 8)) % 0xFF;
      sum += b;
      std::snprintf(field, sizeof field, "%02X", b);
      text += field;
    }
    std::snprintf(field, sizeof field, "%02X\n", (0x100 - sum % 0x100) % 0x100);
    text += field;
  }
  return text;
}

class BootLoaderTest : public ::testing::Test {
 protected:
  BootLoaderTest() : loader(MakeOwner()) {}

  BootLoader::Owner MakeOwner() {
    BootLoader::Owner owner;
    owner.clearQueue = [this] { calls.push_back({Call::ClearQueue}); };
    owner.queueRequest = [this](std::uint8_t command, std::uint8_t destination,
                                std::span<const std::uint8_t> data) {
      calls.push_back({Call::QueueRequest, Bytes(data.begin(), data.end()), command, destination});
      return true;
    };
    owner.sendFrame = [this](std::vector<std::uint8_t>& payload) {
      calls.push_back({Call::SendFrame, payload});
      return true;
    };
    owner.sendRawFrame = [this](std::span<const std::uint8_t> data) {
      calls.push_back({Call::SendRawFrame, Bytes(data.begin(), data.end())});
      return true;
    };
    owner.setProgrammingActive = [this](bool active) {
      Call call{Call::ProgrammingActive};
      call.active = active;
      calls.push_back(call);
    };
    owner.changed = [this] { ++changes; };
    owner.finished = [this](FlashResult result) {
      Call call{Call::Finished};
      call.result = result;
      calls.push_back(call);
    };
    owner.takeController = [this](link::Operation operation) {
      taken.push_back(operation);
      return heldBy;
    };
    owner.releaseController = [this](link::Operation operation, bool completed) {
      releases.emplace_back(operation, completed);
    };
    return owner;
  }

  void Load(std::uint32_t codeStart, std::uint32_t codeEnd, const FirmwareTarget& target) {
    firmware = LoadIntelHex(HexFile(codeStart, codeEnd), target);
    ASSERT_TRUE(firmware.Loaded()) << firmware.error.text;
    ASSERT_EQ(firmware.codeEnd, codeEnd);
  }
  void Start() {
    ASSERT_EQ(loader.Start(firmware), firmware::StartResult::Started);
    calls.clear();
  }
  void Byte(std::uint8_t byte) { loader.FirmwareByte(byte); }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i)
      loader.Tick();
  }

  // The raw frames sent, each of which must follow an emptied queue.
  std::vector<Bytes> RawFrames() const {
    std::vector<Bytes> frames;
    for (std::size_t i = 0; i < calls.size(); ++i) {
      if (calls[i].kind != Call::SendRawFrame) continue;
      EXPECT_TRUE(i > 0 && calls[i - 1].kind == Call::ClearQueue) << "raw frame " << frames.size();
      frames.push_back(calls[i].bytes);
    }
    return frames;
  }
  // The addresses of the block frames sent, in order; -1 for the end-of-blocks frame.
  std::vector<int> BlockOrder() const {
    std::vector<int> order;
    for (const Bytes& frame : RawFrames()) {
      if (frame.size() == 2 + BlockBytes) order.push_back(frame[0] | (frame[1] << 8));
      if (frame == Bytes{0x00, 0x00}) order.push_back(-1);
    }
    return order;
  }
  Bytes Block(std::uint32_t address) const {
    Bytes frame = {static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8)};
    const auto bytes = firmware.Bytes(address, BlockBytes);
    frame.insert(frame.end(), bytes.begin(), bytes.end());
    return frame;
  }
  std::vector<bool> ActiveChanges() const {
    std::vector<bool> changes;
    for (const Call& call : calls)
      if (call.kind == Call::ProgrammingActive) changes.push_back(call.active);
    return changes;
  }
  std::vector<FlashResult> Results() const {
    std::vector<FlashResult> results;
    for (const Call& call : calls)
      if (call.kind == Call::Finished) results.push_back(call.result);
    return results;
  }
  // Answers every frame until the summary has gone out.
  void AcceptUntilSummary() {
    Byte(loader_byte::Ready);
    for (int guard = 0; guard < 1000 && loader.State() != FirmwareState::SummarySent; ++guard)
      Byte(loader_byte::Accepted);
    ASSERT_EQ(loader.State(), FirmwareState::SummarySent);
  }

  FirmwareImage firmware;
  std::optional<link::Operation> heldBy;  // another operation holding the controller
  std::vector<Call> calls;
  std::vector<link::Operation> taken;
  std::vector<std::pair<link::Operation, bool>> releases;
  int changes = 0;
  BootLoader loader;
};

// --- Block order ---------------------------------------------------------------------------------

TEST_F(BootLoaderTest, TriggerModulesWithCodeEnd0130h) {
  Load(0x0000, 0x0130, TriggerTarget);
  ASSERT_EQ(firmware.programmingEnd, 0x0180);
  Start();
  AcceptUntilSummary();
  const std::vector<Bytes> frames = RawFrames();
  ASSERT_EQ(frames.size(), 6u);
  EXPECT_EQ(frames[0], (Bytes{0x80, 0x00}));  // block size word 128
  EXPECT_EQ(frames[1], Block(0x0080));
  EXPECT_EQ(frames[2], Block(0x0100));
  EXPECT_EQ(frames[3], (Bytes{0x00, 0x00}));
  EXPECT_EQ(frames[4], Block(0x0000));
  EXPECT_EQ(frames[5].size(), 6u);  // the summary
}

TEST_F(BootLoaderTest, ControllerWithCodeEnd0130h) {
  Load(0x0000, 0x0130, ControllerTarget);
  ASSERT_EQ(firmware.programmingEnd, 0x0200);
  Start();
  AcceptUntilSummary();
  const std::vector<Bytes> frames = RawFrames();
  ASSERT_EQ(frames.size(), 7u);
  EXPECT_EQ(frames[0], (Bytes{0x00, 0x01}));  // block size word 256
  EXPECT_EQ(frames[1], Block(0x0100));
  EXPECT_EQ(frames[2], Block(0x0180));
  EXPECT_EQ(frames[3], (Bytes{0x00, 0x00}));
  EXPECT_EQ(frames[4], Block(0x0000));
  EXPECT_EQ(frames[5], Block(0x0080));
  EXPECT_EQ(frames[6].size(), 6u);
}

TEST_F(BootLoaderTest, BlocksBeyondCodeEndCarryErasedBytes) {
  Load(0x0000, 0x0130, TriggerTarget);
  Start();
  AcceptUntilSummary();
  const Bytes block = RawFrames().at(2);  // 0100h..017Fh, code ends at 0130h
  ASSERT_EQ(block.size(), 130u);
  EXPECT_NE(block[2 + 0x30], 0xFF);
  for (std::size_t i = 2 + 0x31; i < block.size(); ++i)
    EXPECT_EQ(block[i], 0xFF) << i;
}

TEST_F(BootLoaderTest, FullImagesCoverEveryBlockOnce) {
  for (const FirmwareTarget* target : {&ControllerTarget, &TriggerTarget}) {
    calls.clear();
    Load(0x0000, target->imageSize - 1, *target);
    Start();
    AcceptUntilSummary();
    const std::vector<int> order = BlockOrder();
    const int first = target->blockSizeWord;  // 256 or 128
    std::vector<int> expected;
    for (int a = first; a < static_cast<int>(target->imageSize); a += BlockBytes)
      expected.push_back(a);
    expected.push_back(-1);
    for (int a = 0; a < first; a += BlockBytes)
      expected.push_back(a);
    EXPECT_EQ(order, expected) << target->caption;
    EXPECT_EQ(loader.Progress(), target->imageSize);
  }
}

TEST_F(BootLoaderTest, CodeEndZeroStillSendsTheFirstBlocks) {
  Load(0x0000, 0x0000, ControllerTarget);
  ASSERT_EQ(firmware.programmingEnd, 0);
  Start();
  AcceptUntilSummary();
  EXPECT_EQ(BlockOrder(), (std::vector<int>{-1, 0x0000, 0x0080}));
}

// --- Frames ----------------------------------------------------------------------------------------

TEST_F(BootLoaderTest, ControllerStartQueuesTheLoaderRequest) {
  Load(0x0000, 0x0130, ControllerTarget);
  ASSERT_EQ(loader.Start(firmware), firmware::StartResult::Started);
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2].kind, Call::ClearQueue);
  const Call& request = calls.back();
  EXPECT_EQ(request.kind, Call::QueueRequest);
  EXPECT_EQ(request.command, 0x70);
  EXPECT_EQ(request.destination, 1);
  EXPECT_EQ(request.bytes, (Bytes{0x01, 0x00}));
  EXPECT_EQ(loader.State(), FirmwareState::WaitingForLoader);
  EXPECT_EQ(loader.StateText(), "Started, waiting...");
  EXPECT_GT(changes, 0);
}

TEST_F(BootLoaderTest, TriggerStartSendsTheLoaderFrameAtOnce) {
  Load(0x0000, 0x0130, TriggerTarget);
  ASSERT_EQ(loader.Start(firmware), firmware::StartResult::Started);
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2].kind, Call::ClearQueue);
  const Call& frame = calls.back();
  EXPECT_EQ(frame.kind, Call::SendFrame);
  ASSERT_EQ(frame.bytes.size(), 6u);
  EXPECT_EQ(frame.bytes[link::CommandOffset], 0x70);
  EXPECT_EQ(frame.bytes[link::SequenceOffset], 0);
  EXPECT_EQ(frame.bytes[link::DestinationOffset], 0);
  EXPECT_EQ(frame.bytes[link::SourceOffset], 2);
}

TEST_F(BootLoaderTest, SummaryCarriesStartEndAndTheComplementedCodeChecksum) {
  Load(0x0004, 0x0130, TriggerTarget);
  Start();
  AcceptUntilSummary();
  std::uint16_t sum = 0;
  for (std::uint32_t a = 0x0004; a < 0x0130; ++a)
    sum = static_cast<std::uint16_t>(sum + firmware.image.at(a));
  const std::uint16_t complement = static_cast<std::uint16_t>(~sum);
  EXPECT_EQ(RawFrames().back(), (Bytes{0x04, 0x00, 0x30, 0x01, static_cast<std::uint8_t>(complement),
                                       static_cast<std::uint8_t>(complement >> 8)}));
}

TEST_F(BootLoaderTest, ProgrammesACopyOfTheImage) {
  Load(0x0000, 0x0130, TriggerTarget);
  const Bytes block0 = Block(0x0000);
  Start();
  firmware = LoadIntelHex(":0100000011EE\n", TriggerTarget);  // the window loads another file meanwhile
  AcceptUntilSummary();
  EXPECT_EQ(RawFrames().at(4), block0);
}

// --- Loader answers ------------------------------------------------------------------------------

TEST_F(BootLoaderTest, CompletedVerdict) {
  Load(0x0000, 0x0130, TriggerTarget);
  Start();
  EXPECT_FALSE(loader.ProgrammingActive());
  Byte(loader_byte::Ready);
  EXPECT_TRUE(loader.ProgrammingActive());
  EXPECT_EQ(loader.StateText(), "Programming...");
  AcceptUntilSummary();
  EXPECT_TRUE(loader.ProgrammingActive());
  Byte(loader_byte::Completed);
  EXPECT_EQ(loader.State(), FirmwareState::Idle);
  EXPECT_FALSE(loader.ProgrammingActive());
  EXPECT_EQ(loader.StateText(), "Completed, OK.");
  EXPECT_EQ(ActiveChanges(), (std::vector<bool>{true, false}));
  EXPECT_EQ(Results(), (std::vector<FlashResult>{FlashResult::Completed}));
}

TEST_F(BootLoaderTest, ChecksumErrorVerdict) {
  Load(0x0000, 0x0130, ControllerTarget);
  Start();
  AcceptUntilSummary();
  Byte(loader_byte::ChecksumError);
  EXPECT_EQ(loader.State(), FirmwareState::Idle);
  EXPECT_FALSE(loader.ProgrammingActive());
  EXPECT_EQ(loader.StateText(), "Checksum error");
  EXPECT_EQ(ActiveChanges(), (std::vector<bool>{true, false}));
  EXPECT_EQ(Results(), (std::vector<FlashResult>{FlashResult::ChecksumError}));
  // No retry: nothing more is sent.
  const std::size_t sent = RawFrames().size();
  Byte(loader_byte::Ready);
  Byte(loader_byte::Accepted);
  EXPECT_EQ(RawFrames().size(), sent);
}

TEST_F(BootLoaderTest, BytesAStateDoesNotNameAreIgnored) {
  Load(0x0000, 0x0130, ControllerTarget);
  Start();
  for (std::uint8_t b : {loader_byte::Accepted, loader_byte::Completed, loader_byte::ChecksumError,
                         std::uint8_t{0x00}, std::uint8_t{0xFF}})
    Byte(b);
  EXPECT_EQ(loader.State(), FirmwareState::WaitingForLoader);
  EXPECT_TRUE(calls.empty());

  Byte(loader_byte::Ready);
  calls.clear();
  for (std::uint8_t b : {loader_byte::Ready, loader_byte::Completed, loader_byte::ChecksumError})
    Byte(b);
  EXPECT_EQ(loader.State(), FirmwareState::SendingBlocks);
  EXPECT_TRUE(calls.empty());

  AcceptUntilSummary();
  calls.clear();
  for (std::uint8_t b : {loader_byte::Accepted, loader_byte::Ready, std::uint8_t{0x41}})
    Byte(b);
  EXPECT_EQ(loader.State(), FirmwareState::SummarySent);
  EXPECT_TRUE(calls.empty());
}

TEST_F(BootLoaderTest, IdleLoaderIgnoresEverything) {
  for (int b = 0; b < 256; ++b)
    Byte(static_cast<std::uint8_t>(b));
  Ticks(100);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(loader.State(), FirmwareState::Idle);
  EXPECT_EQ(loader.StateText(), "");
}

TEST_F(BootLoaderTest, ProgressFollowsTheBlocks) {
  Load(0x0000, 0x0130, ControllerTarget);
  Start();
  EXPECT_EQ(loader.ProgressMaximum(), 0x0200u);
  Byte(loader_byte::Ready);
  EXPECT_EQ(loader.Progress(), 0u);
  Byte(loader_byte::Accepted);
  EXPECT_EQ(loader.Progress(), 0x0100u);
  Byte(loader_byte::Accepted);
  EXPECT_EQ(loader.Progress(), 0x0180u);
  Byte(loader_byte::Accepted);  // end of blocks
  EXPECT_EQ(loader.Progress(), 0x0200u);
  Byte(loader_byte::Accepted);  // block 0: the bar stays full
  EXPECT_EQ(loader.CurrentAddress(), 0u);
  EXPECT_EQ(loader.Progress(), 0x0200u);
}

// --- Time-outs -------------------------------------------------------------------------------------

TEST_F(BootLoaderTest, LoaderThatNeverAnswersTimesOutAfterFiveSeconds) {
  Load(0x0000, 0x0130, ControllerTarget);
  Start();
  Ticks(BootLoader::StartLimitTicks - 1);
  EXPECT_EQ(loader.State(), FirmwareState::WaitingForLoader);
  EXPECT_TRUE(Results().empty());
  Ticks(1);
  EXPECT_EQ(loader.State(), FirmwareState::Idle);
  EXPECT_EQ(loader.StateText(), "Timeout error!");
  EXPECT_EQ(Results(), (std::vector<FlashResult>{FlashResult::Timeout}));
  EXPECT_EQ(ActiveChanges(), (std::vector<bool>{false}));
  Ticks(100);
  EXPECT_EQ(Results().size(), 1u);
}

TEST_F(BootLoaderTest, BlockSizeFrameDoesNotRestartTheCount) {
  Load(0x0000, 0x0130, TriggerTarget);
  Start();
  Ticks(40);
  Byte(loader_byte::Ready);
  Ticks(9);
  EXPECT_EQ(loader.State(), FirmwareState::SendingBlocks);
  Ticks(1);
  EXPECT_EQ(loader.StateText(), "Timeout error!");
  EXPECT_FALSE(loader.ProgrammingActive());
  EXPECT_EQ(ActiveChanges(), (std::vector<bool>{true, false}));
}

TEST_F(BootLoaderTest, EachBlockGivesThreeSeconds) {
  Load(0x0000, 0x0130, TriggerTarget);
  Start();
  Byte(loader_byte::Ready);
  Byte(loader_byte::Accepted);  // block 0080h
  Ticks(BootLoader::BlockLimitTicks - 1);
  Byte(loader_byte::Accepted);  // block 0100h, just in time
  Ticks(BootLoader::BlockLimitTicks - 1);
  EXPECT_EQ(loader.State(), FirmwareState::SendingBlocks);
  Ticks(1);
  EXPECT_EQ(loader.State(), FirmwareState::Idle);
  EXPECT_EQ(loader.StateText(), "Timeout error!");
}

TEST_F(BootLoaderTest, EndOfBlocksFrameDoesNotRestartTheCount) {
  Load(0x0000, 0x0130, TriggerTarget);
  Start();
  Byte(loader_byte::Ready);
  Byte(loader_byte::Accepted);
  Byte(loader_byte::Accepted);  // last block, 30 ticks
  Ticks(20);
  Byte(loader_byte::Accepted);  // end of blocks
  ASSERT_EQ(loader.State(), FirmwareState::EndOfBlocksSent);
  Ticks(9);
  EXPECT_EQ(loader.State(), FirmwareState::EndOfBlocksSent);
  Ticks(1);
  EXPECT_EQ(loader.StateText(), "Timeout error!");
}

TEST_F(BootLoaderTest, VerdictMayTakeFiveSeconds) {
  Load(0x0000, 0x0130, ControllerTarget);
  Start();
  AcceptUntilSummary();
  Ticks(BootLoader::VerdictLimitTicks - 1);
  Byte(loader_byte::Completed);
  EXPECT_EQ(loader.StateText(), "Completed, OK.");

  Start();
  AcceptUntilSummary();
  Ticks(BootLoader::VerdictLimitTicks);
  EXPECT_EQ(loader.StateText(), "Timeout error!");
  EXPECT_EQ(Results(), (std::vector<FlashResult>{FlashResult::Timeout}));
  Byte(loader_byte::Completed);  // too late
  EXPECT_EQ(loader.StateText(), "Timeout error!");
}

// --- Start, restart, reset ---------------------------------------------------------------------------

TEST_F(BootLoaderTest, ImageThatDidNotLoadIsNotStarted) {
  for (const std::string& text : {std::string(":0100000011EF\n"), std::string(":00000001FF\n"),
                                  std::string(":0100000011EE\n:0100010022\n")}) {
    const FirmwareImage failed = LoadIntelHex(text, TriggerTarget);
    ASSERT_FALSE(failed.Loaded());
    EXPECT_EQ(loader.Start(failed), firmware::StartResult::NothingLoaded);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(loader.State(), FirmwareState::Idle);
    EXPECT_EQ(loader.StateText(), "");
    EXPECT_EQ(changes, 0);
  }
  EXPECT_EQ(loader.Start(FirmwareImage{}), firmware::StartResult::NothingLoaded);
}

TEST_F(BootLoaderTest, StartingAgainRestartsAndLetsTheStartRequestThrough) {
  Load(0x0000, 0x0130, ControllerTarget);
  Start();
  Byte(loader_byte::Ready);
  Byte(loader_byte::Accepted);
  calls.clear();
  ASSERT_EQ(loader.Start(firmware), firmware::StartResult::Started);
  EXPECT_EQ(ActiveChanges(), (std::vector<bool>{false}));
  EXPECT_EQ(loader.State(), FirmwareState::WaitingForLoader);
  EXPECT_EQ(loader.TimeoutLeft(), BootLoader::StartLimitTicks);
  EXPECT_EQ(loader.Progress(), 0u);
  calls.clear();
  AcceptUntilSummary();
  EXPECT_EQ(BlockOrder().front(), 0x0100);
}

TEST_F(BootLoaderTest, ResetStopsProgramming) {
  Load(0x0000, 0x0130, TriggerTarget);
  Start();
  Byte(loader_byte::Ready);
  Byte(loader_byte::Accepted);
  loader.Reset();
  EXPECT_EQ(loader.State(), FirmwareState::Idle);
  EXPECT_FALSE(loader.ProgrammingActive());
  EXPECT_EQ(loader.StateText(), "");
  EXPECT_EQ(loader.Progress(), 0u);
  EXPECT_EQ(ActiveChanges(), (std::vector<bool>{true, false}));
  calls.clear();
  Byte(loader_byte::Accepted);
  Ticks(100);
  EXPECT_TRUE(calls.empty());
}

// --- The controller held for the update -------------------------------------------------------------

TEST_F(BootLoaderTest, RefusedWhileAnotherOperationHoldsTheController) {
  for (const FirmwareTarget* target : {&ControllerTarget, &TriggerTarget}) {
    SCOPED_TRACE(std::string(target->caption));
    Load(0x0000, 0x0130, *target);
    heldBy = link::Operation::Read;
    taken.clear();
    EXPECT_EQ(loader.Start(firmware), StartResult::ControllerBusy);
    EXPECT_EQ(taken, std::vector<link::Operation>{link::Operation::FirmwareUpdate});
    EXPECT_TRUE(calls.empty());  // no emptied queue, no start request, no frame
    EXPECT_EQ(loader.State(), FirmwareState::Idle);
    EXPECT_EQ(loader.StateText(), "");
    EXPECT_EQ(changes, 0);
    Byte(loader_byte::Ready);
    Ticks(BootLoader::StartLimitTicks + 1);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(releases.empty());
  }
}

TEST_F(BootLoaderTest, EveryStartedUpdateGivesTheControllerBackOnce) {
  struct Case {
    const char* name;
    std::function<void()> drive;
    std::optional<FlashResult> result;  // none: no verdict, the window gave up
    bool completed;
  };
  const Case cases[] = {
      {"completed",
       [&] {
         AcceptUntilSummary();
         Byte(loader_byte::Completed);
       },
       FlashResult::Completed, true},
      {"checksum error",
       [&] {
         AcceptUntilSummary();
         Byte(loader_byte::ChecksumError);
       },
       FlashResult::ChecksumError, false},
      {"loader never answers", [&] { Ticks(BootLoader::StartLimitTicks); }, FlashResult::Timeout, false},
      {"block not accepted in time",
       [&] {
         Byte(loader_byte::Ready);
         Byte(loader_byte::Accepted);
         Ticks(BootLoader::BlockLimitTicks);
       },
       FlashResult::Timeout, false},
      {"connection lost",
       [&] {
         Byte(loader_byte::Ready);
         Byte(loader_byte::Accepted);
         loader.ConnectionLost();
       },
       FlashResult::ConnectionLost, false},
      {"reset while busy",
       [&] {
         Byte(loader_byte::Ready);
         loader.Reset();
       },
       std::nullopt, false},
  };
  Load(0x0000, 0x0130, ControllerTarget);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    releases.clear();
    Start();
    c.drive();
    EXPECT_EQ(loader.State(), FirmwareState::Idle);
    EXPECT_FALSE(loader.ProgrammingActive());
    EXPECT_EQ(Results(), c.result ? std::vector<FlashResult>{*c.result} : std::vector<FlashResult>{});
    if (c.result) {
      EXPECT_EQ(loader.StateText(), FlashResultText(*c.result));
    }
    EXPECT_EQ(
        releases,
        (std::vector<std::pair<link::Operation, bool>>{{link::Operation::FirmwareUpdate, c.completed}}));
    // Idle, nothing gives it back a second time.
    Ticks(BootLoader::StartLimitTicks + 1);
    loader.ConnectionLost();
    Byte(loader_byte::Completed);
    loader.Reset();
    EXPECT_EQ(releases.size(), 1u);
  }
}

TEST(BootLoaderTexts, ResultTexts) {
  EXPECT_EQ(FlashResultText(FlashResult::Completed), "Completed, OK.");
  EXPECT_EQ(FlashResultText(FlashResult::ChecksumError), "Checksum error");
  EXPECT_EQ(FlashResultText(FlashResult::Timeout), "Timeout error!");
  EXPECT_EQ(FileLoadedText, "File loaded");
}

// --- Through the bus link ------------------------------------------------------------------------------

class BootLoaderOnLink : public test::BusLinkHarness {
 protected:
  BootLoaderOnLink() : loader(MakeOwner()) {
    link.handlers.loaderByte = [this](std::uint8_t b) { loader.FirmwareByte(b); };
    link.SetLoaderListening(true);
  }
  BootLoader::Owner MakeOwner() {
    BootLoader::Owner owner = OwnerOnLink(link);
    owner.finished = [this](FlashResult r) { result = r; };
    return owner;
  }

  BootLoader loader;
  std::optional<FlashResult> result;
};

TEST_F(BootLoaderOnLink, ControllerUpdateOverTheBus) {
  Synchronise();
  const FirmwareImage firmware = LoadIntelHex(HexFile(0x0000, 0x0130), ControllerTarget);
  ASSERT_EQ(loader.Start(firmware), firmware::StartResult::Started);
  EXPECT_TRUE(Sent().empty());  // queued: goes out with the answer to the next poll

  FromController(link::command::Poll, 1);
  ASSERT_EQ(Sent().size(), 1u);
  const Bytes start = Sent()[0];
  ASSERT_EQ(start.size(), 8u);
  EXPECT_EQ(start[link::CommandOffset], 0x70);
  EXPECT_EQ(start[link::DestinationOffset], 1);
  EXPECT_EQ(start[6], 0x01);
  EXPECT_EQ(start[7], 0x00);
  ForgetRecorded();

  Feed({loader_byte::Ready});
  EXPECT_TRUE(loader.ProgrammingActive());
  ASSERT_EQ(Sent().size(), 1u);
  EXPECT_EQ(Sent()[0], (Bytes{0x00, 0x01, link::ChecksumOf(Bytes{0x00, 0x01})}));

  // The bus belongs to the loader: polls are neither dispatched nor answered.
  FromController(link::command::Poll, 2);
  EXPECT_TRUE(dispatched.empty());
  EXPECT_EQ(Sent().size(), 1u);

  for (int i = 0; i < 6; ++i)
    Feed({loader_byte::Accepted});
  const std::vector<Bytes> sent = Sent();
  ASSERT_EQ(sent.size(), 7u);
  for (const Bytes& body : sent)
    EXPECT_TRUE(link::SumIsValid(body));
  EXPECT_EQ(sent[1][0], 0x00);  // block 0100h, address low byte first
  EXPECT_EQ(sent[1][1], 0x01);
  EXPECT_EQ(sent[1].size(), 131u);
  EXPECT_EQ(Bytes(sent[1].begin() + 2, sent[1].end() - 1),
            Bytes(firmware.image.begin() + 0x100, firmware.image.begin() + 0x180));

  Feed({loader_byte::Completed});
  EXPECT_EQ(result, FlashResult::Completed);
  EXPECT_FALSE(loader.ProgrammingActive());
  FromController(link::command::Poll, 2);
  EXPECT_EQ(dispatched.size(), 1u);  // the link listens again
}

TEST_F(BootLoaderOnLink, TriggerStartFrameEmptiesTheQueue) {
  Synchronise();
  ASSERT_TRUE(link.QueueRequest(link::command::ReadMemory, link::ControllerAddress, Bytes{1, 0, 0}));
  const FirmwareImage firmware = LoadIntelHex(HexFile(0x0000, 0x0130), TriggerTarget);
  ASSERT_EQ(loader.Start(firmware), firmware::StartResult::Started);
  EXPECT_FALSE(link.RequestQueued());
  ASSERT_EQ(Sent().size(), 1u);
  const Bytes start = Sent()[0];
  EXPECT_EQ(start, (Bytes{0x70, 6, 0, 0, 2, static_cast<std::uint8_t>(0xFF - ((0x70 + 6 + 2) & 0xFF))}));
}

}  // namespace
}  // namespace qd::firmware
