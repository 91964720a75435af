#include "link/transfer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/bytes.h"
#include "model/system_commands.h"

namespace qd::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Request {
  std::uint8_t command;
  std::uint8_t destination;
  Bytes data;
};

// The read/write logic with a scripted controller behind it: requests are recorded, and the
// login code check's waiting steps let the test answer.
class TransferHarness {
 public:
  explicit TransferHarness(Operation readOperation = Operation::Read)
      : transfer(config, MakeEnvironment(readOperation)) {
    transfer.events.error = [this](const std::string& text) { errors.push_back(text); };
    transfer.events.finished = [this](TransferOutcome outcome) { finished.push_back(outcome); };
    transfer.events.imageRead = [this](const ParseResult& result) { parses.push_back(result); };
    transfer.events.remoteTransferStarts = [this] { ++machineWindowsClosed; };
    ResetSystem(config);
    for (std::size_t i = 0; i < controller.size(); ++i)
      controller[i] = static_cast<std::uint8_t>(i * 7 + 3);
    std::memcpy(controller.data(), "QD310\x01\x01", 7);
  }

  SystemTransfer::Environment MakeEnvironment(Operation readOperation) {
    SystemTransfer::Environment env;
    env.readOperation = readOperation;
    env.localMode = [this] { return local; };
    env.masterLoginMode = [this] { return masterLogin; };
    env.userLoginCode = [this] { return userCode; };
    env.queueRequest = [this](std::uint8_t command, std::uint8_t destination,
                              std::span<const std::uint8_t> data) {
      stepsThisCheck = 0;
      requests.push_back({command, destination, Bytes(data.begin(), data.end())});
      return true;
    };
    env.sendGatewayMessage = [this](std::span<const std::uint8_t> message) {
      gateway.emplace_back(message.begin(), message.end());
      return true;
    };
    env.takeController = [this](Operation operation) {
      taken.push_back(operation);
      return heldBy;
    };
    env.releaseController = [this](Operation operation, bool completed) {
      releases.emplace_back(operation, completed);
    };
    // The controller answers the login code request during the third waiting step.
    env.waitStep = [this] {
      ++stepsThisCheck, ++waitSteps;
      if (duringWait) duringWait(stepsThisCheck);
      if (answerLoginCheck && stepsThisCheck == 3) AnswerLastRead();
    };
    env.pauseBetweenBlocks = [this] { ++pauses; };
    env.settleUnsavedEdits = [this] { return !cancelUnsaved; };
    env.now = [] { return LocalDateTime{2024, 5, 6, 7, 8, 9, 0}; };
    return env;
  }

  // The controller's 0x45 answer to the last 0x44 request.
  Bytes MemoryReply(const Request& request) const {
    const std::size_t count = request.data.at(0);
    const std::size_t address = request.data.at(1) | (request.data.at(2) << 8);
    Bytes reply = {command::MemoryData, 0, 1, PcAddress, ControllerAddress, 0};
    reply.insert(reply.end(), request.data.begin(), request.data.begin() + 3);
    reply.insert(reply.end(), controller.begin() + address, controller.begin() + address + count);
    return reply;
  }

  void AnswerLastRead() {
    const Bytes reply = MemoryReply(requests.back());
    transfer.OnMemoryData(PayloadView(reply));
  }

  // The controller stores the last 0x46 block and confirms it.
  void AnswerLastWrite() {
    const Request request = requests.back();
    const std::size_t count = request.data.at(0);
    const std::size_t address = request.data.at(1) | (request.data.at(2) << 8);
    std::copy(request.data.begin() + 3, request.data.end(), controller.begin() + address);
    ASSERT_EQ(request.data.size(), count + 3);
    Bytes reply = {command::WriteConfirm, 0, 1, PcAddress, ControllerAddress, 0};
    reply.insert(reply.end(), request.data.begin(), request.data.begin() + 3);
    transfer.OnWriteConfirm(PayloadView(reply));
  }

  void SetControllerLoginCode(const std::string& code) {
    std::fill_n(controller.begin() + layout::SystemLoginCode, layout::SystemLoginCodeField, 0);
    std::copy(code.begin(), code.end(), controller.begin() + layout::SystemLoginCode);
  }

  WorkingConfig config;
  SystemTransfer transfer;
  std::array<std::uint8_t, layout::ImageSize> controller{};
  bool local = true;
  bool masterLogin = false;
  bool answerLoginCheck = true;
  bool cancelUnsaved = false;
  std::optional<Operation> heldBy;  // another operation holding the controller
  std::function<void(int step)> duringWait;
  std::string userCode = "KMWPLTRS";
  std::vector<Request> requests;
  std::vector<Bytes> gateway;
  std::vector<std::string> errors;
  std::vector<ParseResult> parses;
  std::vector<TransferOutcome> finished;
  std::vector<Operation> taken;
  std::vector<std::pair<Operation, bool>> releases;
  int waitSteps = 0;
  int stepsThisCheck = 0;
  int pauses = 0;
  int machineWindowsClosed = 0;
};

TEST(TransferLoginCheck, ControllerWithoutCodeAcceptsAnyUserCode) {
  TransferHarness h;
  h.SetControllerLoginCode("");
  EXPECT_TRUE(h.transfer.CheckLoginCode());
  ASSERT_EQ(h.requests.size(), 1u);
  EXPECT_EQ(h.requests[0].command, command::ReadMemory);
  EXPECT_EQ(h.requests[0].data, (Bytes{10, 0x26, 0x02}));  // 10 bytes at 550
  // The check leaves the window idle, so a log reset's check does not block Read and Write.
  EXPECT_EQ(h.transfer.State(), TransferState::Idle);
  EXPECT_TRUE(h.errors.empty());
}

TEST(TransferLoginCheck, MatchingCodeIsCopiedIntoTheImage) {
  TransferHarness h;
  h.SetControllerLoginCode("SECRET");
  h.userCode = "SECRET";
  EXPECT_TRUE(h.transfer.CheckLoginCode());
  EXPECT_EQ(h.config.image.SystemLoginCode(), "SECRET");
  EXPECT_EQ(h.waitSteps, 3);  // the wait ends as soon as the answer is in
}

TEST(TransferLoginCheck, WrongCodeAndNoAnswerAreRefusedWithTheirMessages) {
  TransferHarness wrong;
  wrong.SetControllerLoginCode("SECRET");
  wrong.userCode = "secret";
  EXPECT_FALSE(wrong.transfer.CheckLoginCode());
  EXPECT_EQ(wrong.transfer.State(), TransferState::Idle);
  EXPECT_TRUE(ButtonsFor(wrong.transfer.State(), true, true, false, false).read);
  EXPECT_EQ(wrong.errors, std::vector<std::string>{"Wrong System login code"});

  TransferHarness silent;
  silent.answerLoginCheck = false;
  EXPECT_FALSE(silent.transfer.CheckLoginCode());
  EXPECT_EQ(silent.waitSteps, SystemTransfer::LoginCheckWaitSteps);
  EXPECT_EQ(silent.transfer.State(), TransferState::Idle);
  EXPECT_EQ(silent.errors,
            std::vector<std::string>{"Unable to check Login code.\n\nNo response from System"});
}

TEST(TransferLoginCheck, SkippedInMasterLoginAndRemoteMode) {
  TransferHarness master;
  master.masterLogin = true;
  EXPECT_TRUE(master.transfer.CheckLoginCode());
  TransferHarness remote;
  remote.local = false;
  EXPECT_TRUE(remote.transfer.CheckLoginCode());
  EXPECT_TRUE(master.requests.empty());
  EXPECT_TRUE(remote.requests.empty());
}

TEST(TransferLocalRead, ReadsTheWholeMemoryIn256RequestsAndTakesItIn) {
  TransferHarness h;
  h.SetControllerLoginCode("");
  h.transfer.Read();
  ASSERT_EQ(h.transfer.State(), TransferState::ReadingLocal);
  EXPECT_EQ(h.transfer.View().statusText, "Reading 32768 bytes.");
  int reads = 0;
  while (h.transfer.State() == TransferState::ReadingLocal) {
    ASSERT_EQ(h.requests.back().command, command::ReadMemory);
    EXPECT_EQ(h.requests.back().data[0], 128);
    ++reads;
    h.AnswerLastRead();
    if (reads == 128) {
      EXPECT_EQ(h.transfer.View().progressText, "50.0 %");
    }
  }
  EXPECT_EQ(reads, 256);
  EXPECT_EQ(h.transfer.View().statusText, "Read completed");
  EXPECT_EQ(h.transfer.View().progressBar, 100);
  ASSERT_EQ(h.parses.size(), 1u);
  EXPECT_TRUE(h.parses[0].ok);
  // ParseImage clears only the login code terminator; everything else is the controller's memory.
  auto expected = h.controller;
  expected[layout::SystemLoginCodeEnd] = 0;
  EXPECT_EQ(h.config.image.bytes, expected);
}

TEST(TransferLocalRead, IgnoresRepliesForOtherAddressesAndShortReplies) {
  TransferHarness h;
  h.SetControllerLoginCode("");
  h.transfer.Read();
  Bytes reply = h.MemoryReply(h.requests.back());
  reply[7] = 0x80;  // address 128 instead of 0
  h.transfer.OnMemoryData(PayloadView(reply));
  EXPECT_EQ(h.transfer.Current(), 0);
  reply = h.MemoryReply(h.requests.back());
  reply.resize(reply.size() - 1);  // announces 128 bytes, carries 127
  h.transfer.OnMemoryData(PayloadView(reply));
  EXPECT_EQ(h.transfer.Current(), 0);
  h.AnswerLastRead();
  EXPECT_EQ(h.transfer.Current(), 128);
}

TEST(TransferLocalRead, LastReplyReachingBeyondTheMemoryKeepsWhatFits) {
  TransferHarness h;
  h.SetControllerLoginCode("");
  h.controller.back() = 0xA5;
  h.transfer.Read();
  while (h.transfer.Current() < static_cast<int>(layout::ImageSize) - 128)
    h.AnswerLastRead();
  // The last block comes back with 8 bytes more than asked for.
  Bytes reply = h.MemoryReply(h.requests.back());
  reply[6] = 136;
  reply.insert(reply.end(), 8, 0xEE);
  h.transfer.OnMemoryData(PayloadView(reply));
  EXPECT_EQ(h.transfer.View().statusText, "Read completed");
  EXPECT_EQ(h.config.image.bytes.back(), 0xA5);
}

TEST(TransferLocalRead, TimesOutAfterTwentySecondsForTheWholeRead) {
  TransferHarness h;
  h.SetControllerLoginCode("");
  h.transfer.Read();
  for (int tick = 1; tick < SystemTransfer::LocalReadLimitTicks; ++tick) {
    h.transfer.Tick();
    if (tick % 50 == 0) h.AnswerLastRead();  // progress does not reload the limit
  }
  EXPECT_EQ(h.transfer.State(), TransferState::ReadingLocal);
  h.transfer.Tick();
  EXPECT_EQ(h.transfer.State(), TransferState::Idle);
  EXPECT_EQ(h.transfer.View().stateInfo, "Timeout!");
  EXPECT_TRUE(h.parses.empty());
}

TEST(TransferLocalRead, StopThenReadStartsAgainAtZeroWithAFreshLimit) {
  TransferHarness h;
  h.SetControllerLoginCode("");
  h.transfer.Read();
  h.AnswerLastRead();
  for (int tick = 0; tick < 150; ++tick)
    h.transfer.Tick();
  const Bytes late = h.MemoryReply(h.requests.back());
  h.transfer.Stop();
  EXPECT_EQ(h.transfer.View().stateInfo, "Stopped");
  h.transfer.OnMemoryData(PayloadView(late));  // late replies are ignored
  EXPECT_EQ(h.transfer.Current(), 128);

  h.transfer.Read();
  EXPECT_EQ(h.transfer.View().stateInfo, "");
  EXPECT_EQ(h.transfer.Current(), 0);
  EXPECT_EQ(h.requests.back().data, (Bytes{128, 0, 0}));
  for (int tick = 0; tick < 199; ++tick)
    h.transfer.Tick();
  EXPECT_EQ(h.transfer.State(), TransferState::ReadingLocal);
}

TEST(TransferLocalWrite, NewSystemWrites15616BytesIn122BlocksThenEndsTheWrite) {
  TransferHarness h;
  h.SetControllerLoginCode("");
  const auto headerBefore = h.controller;
  h.transfer.Write();
  ASSERT_EQ(h.transfer.State(), TransferState::WritingLocal);
  EXPECT_EQ(h.transfer.View().statusText, "Writing 15648 bytes.");
  int blocks = 0;
  while (h.transfer.State() == TransferState::WritingLocal) {
    ASSERT_EQ(h.requests.back().command, command::WriteMemory);
    ++blocks;
    h.AnswerLastWrite();
  }
  EXPECT_EQ(blocks, 122);
  EXPECT_EQ(h.transfer.View().statusText, "Write completed");
  EXPECT_EQ(h.requests.back().command, command::ResetMachine);
  EXPECT_EQ(h.requests.back().data, Bytes{0x00});
  EXPECT_TRUE(std::equal(h.controller.begin() + 32, h.controller.begin() + 0x3D20,
                         h.config.image.bytes.begin() + 32));
  EXPECT_TRUE(
      std::equal(h.controller.begin(), h.controller.begin() + 32, headerBefore.begin()));  // not written
  EXPECT_EQ(h.controller[0x3D20], headerBefore[0x3D20]);                                   // nor beyond
}

TEST(TransferLocalWrite, CancelledUnsavedQuestionOrWrongCodeWritesNothing) {
  TransferHarness cancelled;
  cancelled.SetControllerLoginCode("");
  cancelled.cancelUnsaved = true;
  cancelled.transfer.Write();
  EXPECT_EQ(cancelled.requests.size(), 1u);  // only the login code request
  EXPECT_FALSE(cancelled.config.image.imageHeld);

  TransferHarness wrong;
  wrong.SetControllerLoginCode("OTHER");
  wrong.transfer.Write();
  EXPECT_EQ(wrong.requests.size(), 1u);
}

TEST(TransferWriteSerial, WritesTheNumberWithTheWholeDataFromOffsetZero) {
  TransferHarness h;
  EXPECT_EQ(h.transfer.WriteSerial("12345"), "12345");
  ASSERT_EQ(h.transfer.State(), TransferState::WritingLocal);
  ASSERT_EQ(h.requests.size(), 1u);  // no login code check
  EXPECT_EQ(h.requests[0].data[1], 0);
  EXPECT_EQ(h.requests[0].data[2], 0);
  while (h.transfer.State() == TransferState::WritingLocal)
    h.AnswerLastWrite();
  EXPECT_EQ(h.controller[0x0A], 0x39);
  EXPECT_EQ(h.controller[0x0B], 0x30);
  EXPECT_EQ(h.controller[0x0C], 0x00);
  EXPECT_EQ(h.controller[0x0D], 0x00);
  EXPECT_EQ(std::memcmp(h.controller.data(), "QD310\x01\x01", 7), 0);
  EXPECT_EQ(h.transfer.WriteSerial("abc"), "0");
}

// The gateway's 'B','H' block.
Bytes DataBlock(const std::array<std::uint8_t, layout::ImageSize>& memory, int offset, int count) {
  Bytes block = {'B',
                 'H',
                 static_cast<std::uint8_t>(offset),
                 static_cast<std::uint8_t>(offset >> 8),
                 static_cast<std::uint8_t>(count),
                 static_cast<std::uint8_t>(count >> 8)};
  block.insert(block.end(), memory.begin() + offset, memory.begin() + offset + count);
  return block;
}

TEST(TransferRemoteRead, TakesBlocksInOrderAndChecksTheCodeAfterwards) {
  TransferHarness h;
  h.local = false;
  h.SetControllerLoginCode("");
  h.transfer.Read();
  EXPECT_EQ(h.gateway, (std::vector<Bytes>{Bytes{'A', 'C'}}));
  EXPECT_EQ(h.machineWindowsClosed, 1);
  for (int offset = 0; offset < 32768; offset += 1000) {
    h.transfer.OnGatewayData(DataBlock(h.controller, offset, std::min(1000, 32768 - offset)));
  }
  EXPECT_EQ(h.transfer.View().statusText, "Transfer completed");
  ASSERT_EQ(h.parses.size(), 1u);
  EXPECT_TRUE(h.parses[0].ok);
  EXPECT_TRUE(h.errors.empty());
}

TEST(TransferRemoteRead, WrongCodeYieldsAnEmptySystem) {
  TransferHarness h;
  h.local = false;
  h.SetControllerLoginCode("SECRET");
  h.transfer.Read();
  h.transfer.OnGatewayData(DataBlock(h.controller, 0, 32768));
  EXPECT_EQ(h.errors, std::vector<std::string>{"Wrong System login code"});
  EXPECT_EQ(h.config.image.SystemLoginCode(), "SECRET");
  EXPECT_EQ(h.config.image.bytes[0x400], 0);  // the rest was cleared
  ASSERT_EQ(h.parses.size(), 1u);
  EXPECT_TRUE(h.parses[0].ok);
}

TEST(TransferRemoteRead, OutOfOrderOrOversizedBlockEndsTheRead) {
  TransferHarness gap;
  gap.local = false;
  gap.transfer.Read();
  gap.transfer.OnGatewayData(DataBlock(gap.controller, 0, 200));
  gap.transfer.OnGatewayData(DataBlock(gap.controller, 400, 200));
  EXPECT_EQ(gap.transfer.View().statusText, "Transfer faild at: 200");
  EXPECT_EQ(gap.transfer.State(), TransferState::Idle);

  TransferHarness beyond;
  beyond.local = false;
  beyond.transfer.Read();
  beyond.transfer.OnGatewayData(DataBlock(beyond.controller, 0, 32700));
  Bytes tooLong = DataBlock(beyond.controller, 32700, 68);
  tooLong[4] = 69;  // claims one byte more than the memory holds (and than it carries)
  beyond.transfer.OnGatewayData(tooLong);
  EXPECT_EQ(beyond.transfer.View().statusText, "Transfer faild at: 32700");

  TransferHarness slow;
  slow.local = false;
  slow.transfer.Read();
  for (int tick = 0; tick < SystemTransfer::RemoteReadLimitTicks; ++tick)
    slow.transfer.Tick();
  EXPECT_EQ(slow.transfer.View().stateInfo, "Timeout!");
}

// The sum a gateway confirms: of the bytes its 'Q' blocks carried.
std::uint16_t SentSum(const TransferHarness& h) {
  std::uint16_t sum = 0;
  for (const Bytes& message : h.gateway) {
    if (message.size() < 5 || message[1] != 'Q') continue;
    for (std::size_t i = 5; i < message.size(); ++i)
      sum = static_cast<std::uint16_t>(sum + message[i]);
  }
  return sum;
}

TEST(TransferRemoteWrite, SendsBlocksOf200ThenConfirmsTheSum) {
  TransferHarness h;
  h.local = false;
  h.masterLogin = true;  // everything is sent, the login code too
  h.transfer.Write();
  ASSERT_EQ(h.gateway.size(), 80u);  // 79 blocks and the confirm request
  EXPECT_EQ(h.pauses, 79);
  EXPECT_EQ(h.gateway[0].size(), 5u + 200u);
  EXPECT_EQ(h.gateway[78].size(), 5u + 16u);
  EXPECT_EQ(h.gateway[78][4], 16);
  EXPECT_EQ(h.gateway.back(), (Bytes{0x00, 'S', 0x00, 0x00}));
  EXPECT_EQ(h.transfer.View().progressText, "Waiting for confirm...");

  std::uint16_t sum = 0;
  for (int i = 32; i < h.config.image.dataLength; ++i)
    sum = static_cast<std::uint16_t>(sum + h.config.image.bytes[i]);
  h.transfer.OnGatewayWriteResult(
      Bytes{'C', 'S', static_cast<std::uint8_t>(sum), static_cast<std::uint8_t>(sum >> 8)});
  EXPECT_EQ(h.transfer.View().progressText, "Confirm received - OK");
  EXPECT_EQ(h.transfer.View().progressColour, ProgressColour::Good);

  TransferHarness bad;
  bad.local = false;
  bad.transfer.Write();
  bad.transfer.OnGatewayWriteResult(Bytes{'C', 'S', 0x12, 0x34});
  EXPECT_EQ(bad.transfer.View().progressText, "Confirm received - bad checksum!");
  EXPECT_EQ(bad.transfer.View().progressColour, ProgressColour::Bad);
}

TEST(TransferRemoteWrite, WithoutMasterLoginTheControllersLoginCodeIsNotSent) {
  TransferHarness h;
  h.local = false;
  // A code in the buffer from another controller, or a file's zeros: neither may reach this one.
  std::memcpy(h.config.image.bytes.data() + layout::SystemLoginCode, "OTHERONE", 8);
  h.transfer.Write();
  const int codeFrom = static_cast<int>(layout::SystemLoginCode);
  const int codeTo = codeFrom + static_cast<int>(layout::SystemLoginCodeField);
  int covered = 0;
  int next = static_cast<int>(layout::HeaderSize);
  for (const Bytes& message : h.gateway) {
    if (message[1] != 'Q') continue;
    const int from = message[2] | (message[3] << 8);
    const int to = from + message[4];
    EXPECT_TRUE(to <= codeFrom || from >= codeTo) << from << ".." << to;
    EXPECT_LE(message[4], SystemTransfer::RemoteBlockSize);
    EXPECT_EQ(from, next == codeFrom ? codeTo : next) << "no hole but the code";
    next = to;
    covered += to - from;
  }
  EXPECT_EQ(next, h.config.image.dataLength);
  EXPECT_EQ(covered, h.config.image.dataLength - static_cast<int>(layout::HeaderSize) - (codeTo - codeFrom));
  // The confirmation sums what was sent.
  const std::uint16_t sum = SentSum(h);
  h.transfer.OnGatewayWriteResult(
      Bytes{'C', 'S', static_cast<std::uint8_t>(sum), static_cast<std::uint8_t>(sum >> 8)});
  EXPECT_EQ(h.transfer.Outcome(), TransferOutcome::WriteConfirmed);
}

TEST(TransferRemoteWrite, NoConfirmationTimesOutAfter600Ticks) {
  TransferHarness h;
  h.local = false;
  h.transfer.Write();
  for (int tick = 0; tick < SystemTransfer::ConfirmLimitTicks; ++tick)
    h.transfer.Tick();
  EXPECT_EQ(h.transfer.State(), TransferState::WritingRemote);
  EXPECT_EQ(h.transfer.View().progressBar, 100);
  h.transfer.Tick();
  EXPECT_EQ(h.transfer.State(), TransferState::Idle);
  EXPECT_EQ(h.transfer.View().progressText, "Timeout, no confirm received!");
}

// --- How a read or write ends ------------------------------------------------------------------------

void ReadLocally(TransferHarness& h) {
  h.transfer.Read();
  while (h.transfer.State() == TransferState::ReadingLocal)
    h.AnswerLastRead();
}
void WriteLocally(TransferHarness& h) {
  while (h.transfer.State() == TransferState::WritingLocal)
    h.AnswerLastWrite();
}
// The gateway's 'C','S' confirmation carrying the sum of what was written, plus `error`.
Bytes Confirmation(const TransferHarness& h, int error = 0) {
  const int sum = SentSum(h) + error;
  return Bytes{'C', 'S', static_cast<std::uint8_t>(sum), static_cast<std::uint8_t>(sum >> 8)};
}

struct EndingCase {
  const char* name;
  std::function<void(TransferHarness&)> run;  // starts the operation and drives it to its end
  TransferOutcome outcome;
  Operation operation;
  std::optional<bool> completed;  // the release's flag; none: the controller was never taken
  Operation readOperation = Operation::Read;
};

TEST(TransferOutcomes, EachWayOfEndingReportsOnceAndGivesTheControllerBack) {
  using enum TransferOutcome;
  const auto remote = [](TransferHarness& h) { h.local = false; };
  const EndingCase cases[] = {
      {"local read completed", ReadLocally, ReadCompleted, Operation::Read, true},
      {"image of another format",
       [](TransferHarness& h) {
         h.controller[layout::VersionMajor] = 2;
         ReadLocally(h);
       },
       BadFormat, Operation::Read, false},
      {"read time-out",
       [](TransferHarness& h) {
         h.transfer.Read();
         for (int tick = 0; tick < SystemTransfer::LocalReadLimitTicks; ++tick)
           h.transfer.Tick();
       },
       ReadTimedOut, Operation::Read, false},
      {"Stop during a read",
       [](TransferHarness& h) {
         h.transfer.Read();
         h.AnswerLastRead();
         h.transfer.Stop();
       },
       Stopped, Operation::Read, false},
      {"remote read completed",
       [&](TransferHarness& h) {
         remote(h);
         h.transfer.Read();
         h.transfer.OnGatewayData(DataBlock(h.controller, 0, 32768));
       },
       ReadCompleted, Operation::Read, true},
      {"remote block out of order",
       [&](TransferHarness& h) {
         remote(h);
         h.transfer.Read();
         h.transfer.OnGatewayData(DataBlock(h.controller, 200, 200));
       },
       Failed, Operation::Read, false},
      {"remote read of a system with another code",
       [&](TransferHarness& h) {
         remote(h);
         h.SetControllerLoginCode("SECRET");
         h.transfer.Read();
         h.transfer.OnGatewayData(DataBlock(h.controller, 0, 32768));
       },
       WrongLoginCode, Operation::Read, false},
      {"comparison read completed", ReadLocally, ReadCompleted, Operation::CompareRead, true,
       Operation::CompareRead},
      {"local write completed",
       [](TransferHarness& h) {
         h.transfer.Write();
         WriteLocally(h);
       },
       WriteCompleted, Operation::Write, true},
      {"serial number written",
       [](TransferHarness& h) {
         h.transfer.WriteSerial("77");
         WriteLocally(h);
       },
       WriteCompleted, Operation::WriteSerial, true},
      {"remote write confirmed",
       [&](TransferHarness& h) {
         remote(h);
         h.transfer.Write();
         h.transfer.OnGatewayWriteResult(Confirmation(h));
       },
       WriteConfirmed, Operation::Write, true},
      {"bad confirmation sum",
       [&](TransferHarness& h) {
         remote(h);
         h.transfer.Write();
         h.transfer.OnGatewayWriteResult(Confirmation(h, 1));
       },
       BadConfirmChecksum, Operation::Write, false},
      {"confirmation time-out",
       [&](TransferHarness& h) {
         remote(h);
         h.transfer.Write();
         for (int tick = 0; tick <= SystemTransfer::ConfirmLimitTicks; ++tick)
           h.transfer.Tick();
       },
       ConfirmTimedOut, Operation::Write, false},
      {"connection lost during a local write",
       [](TransferHarness& h) {
         h.transfer.Write();
         h.AnswerLastWrite();
         h.transfer.ConnectionLost();
       },
       ConnectionLost, Operation::Write, false},
      {"wrong login code on the bus",
       [](TransferHarness& h) {
         h.SetControllerLoginCode("OTHER");
         h.transfer.Read();
       },
       WrongLoginCode, Operation::Read, false},
      {"no answer to the login check",
       [](TransferHarness& h) {
         h.answerLoginCheck = false;
         h.transfer.Write();
       },
       NoLoginResponse, Operation::Write, false},
      {"unsaved-edits question cancelled",
       [](TransferHarness& h) {
         h.cancelUnsaved = true;
         h.transfer.Write();
       },
       Cancelled, Operation::Write, false},
      {"unsaved-edits question cancelled before a serial number",
       [](TransferHarness& h) {
         h.cancelUnsaved = true;
         h.transfer.WriteSerial("77");
       },
       Cancelled, Operation::WriteSerial, false},
      {"controller busy: local read",
       [](TransferHarness& h) {
         h.heldBy = Operation::LogReset;
         h.transfer.Read();
       },
       ControllerBusy, Operation::Read, std::nullopt},
      {"controller busy: remote write",
       [&](TransferHarness& h) {
         remote(h);
         h.heldBy = Operation::FirmwareUpdate;
         h.transfer.Write();
       },
       ControllerBusy, Operation::Write, std::nullopt},
  };
  for (const EndingCase& c : cases) {
    SCOPED_TRACE(c.name);
    TransferHarness h(c.readOperation);
    h.SetControllerLoginCode("");
    c.run(h);
    EXPECT_EQ(h.transfer.Outcome(), c.outcome);
    EXPECT_EQ(h.transfer.State(), TransferState::Idle);
    EXPECT_EQ(h.taken, std::vector<Operation>{c.operation});
    if (c.completed) {
      EXPECT_EQ(h.releases, (std::vector<std::pair<Operation, bool>>{{c.operation, *c.completed}}));
    } else {
      EXPECT_TRUE(h.releases.empty());
      EXPECT_TRUE(h.requests.empty());
      EXPECT_TRUE(h.gateway.empty());
      EXPECT_EQ(h.errors, std::vector<std::string>{BusyText(*h.heldBy)});
    }
    // Nothing that comes afterwards ends it a second time.
    for (int tick = 0; tick <= SystemTransfer::ConfirmLimitTicks; ++tick)
      h.transfer.Tick();
    h.transfer.ConnectionLost();
    h.transfer.Stop();
    EXPECT_EQ(h.finished, std::vector<TransferOutcome>{c.outcome});
    EXPECT_EQ(h.releases.size(), c.completed ? 1u : 0u);
  }
}

// Bytes 0x45 carries that are not the login code field must not decide the check.
TEST(TransferLoginCheck, OnlyTheTenByteReplyForTheCodeAddressCounts) {
  struct Stray {
    const char* name;
    std::uint8_t count;
    std::uint16_t address;
    std::size_t carried;
  };
  const Stray strays[] = {
      {"late 128-byte block of an earlier read at 0", 128, 0, 128},
      {"the code's address with count 8", 8, SystemTransfer::LoginCodeAddress, 8},
      {"ten bytes at another address", 10, 540, 10},
      {"announces ten, carries nine", 10, SystemTransfer::LoginCodeAddress, 9},
  };
  for (const Stray& stray : strays) {
    SCOPED_TRACE(stray.name);
    TransferHarness h;
    h.SetControllerLoginCode(h.userCode);
    // A code that would be refused, were it taken.
    Bytes reply = {command::MemoryData,
                   0,
                   1,
                   PcAddress,
                   ControllerAddress,
                   0,
                   stray.count,
                   static_cast<std::uint8_t>(stray.address),
                   static_cast<std::uint8_t>(stray.address >> 8),
                   'W',
                   'R',
                   'O',
                   'N',
                   'G'};
    reply.resize(9 + stray.carried, 0);
    h.duringWait = [&](int step) {
      if (step != 1) return;
      h.transfer.OnMemoryData(PayloadView(reply));
      EXPECT_EQ(h.transfer.State(), TransferState::LoginCheckWaiting);
    };
    EXPECT_TRUE(h.transfer.CheckLoginCode());
    EXPECT_EQ(h.waitSteps, 3);  // passed on the controller's own answer
    EXPECT_TRUE(h.errors.empty());
    EXPECT_EQ(h.config.image.SystemLoginCode(), h.userCode);
  }
}

TEST(TransferLoginCheck, RefusedAtOnceWhileALocalReadRuns) {
  TransferHarness h;
  h.SetControllerLoginCode("");
  h.transfer.Read();
  h.AnswerLastRead();
  const std::size_t sent = h.requests.size();
  const int steps = h.waitSteps;

  EXPECT_FALSE(h.transfer.CheckLoginCode());
  EXPECT_EQ(h.transfer.State(), TransferState::ReadingLocal);
  EXPECT_EQ(h.transfer.Current(), 128);
  EXPECT_EQ(h.requests.size(), sent);
  EXPECT_EQ(h.waitSteps, steps);
  EXPECT_EQ(h.errors, std::vector<std::string>{BusyText(Operation::Read)});
  EXPECT_TRUE(h.releases.empty());
  EXPECT_TRUE(h.finished.empty());

  while (h.transfer.State() == TransferState::ReadingLocal)
    h.AnswerLastRead();
  EXPECT_EQ(h.transfer.Outcome(), TransferOutcome::ReadCompleted);
  EXPECT_EQ(h.finished, std::vector<TransferOutcome>{TransferOutcome::ReadCompleted});
  EXPECT_EQ(h.releases, (std::vector<std::pair<Operation, bool>>{{Operation::Read, true}}));
}

// Stop pressed while the login check waits, and a second start while a transfer runs: the first ends
// or goes on as it should, and nothing more is sent for it.
TEST(TransferLoginCheck, StopWhileItWaitsEndsTheOperationAndSendsNothingMore) {
  for (const bool write : {false, true}) {
    SCOPED_TRACE(write ? "write" : "read");
    TransferHarness h;
    h.answerLoginCheck = false;
    h.duringWait = [&h](int step) {
      if (step == 2) h.transfer.Stop();
    };
    write ? h.transfer.Write() : h.transfer.Read();
    EXPECT_EQ(h.transfer.State(), TransferState::Idle);
    EXPECT_EQ(h.requests.size(), 1u);  // the login check's request only
    EXPECT_EQ(h.finished, std::vector<TransferOutcome>{TransferOutcome::Stopped});
    EXPECT_EQ(h.releases.size(), 1u);
    EXPECT_TRUE(h.errors.empty());
  }
  // A log reset's check, stopped from the read/write window, does not pass.
  TransferHarness h;
  h.answerLoginCheck = false;
  h.duringWait = [&h](int step) {
    if (step == 2) h.transfer.Stop();
  };
  EXPECT_FALSE(h.transfer.CheckLoginCode());
}

TEST(TransferLocalRead, ASecondStartWhileItRunsChangesNothing) {
  TransferHarness h;
  h.SetControllerLoginCode("");
  h.transfer.Read();
  h.AnswerLastRead();
  const std::size_t sent = h.requests.size();
  h.transfer.Read();
  h.transfer.Write();
  EXPECT_EQ(h.transfer.WriteSerial("7"), "7");
  EXPECT_EQ(h.transfer.State(), TransferState::ReadingLocal);
  EXPECT_EQ(h.transfer.Current(), 128);
  EXPECT_EQ(h.requests.size(), sent);
  EXPECT_EQ(h.taken.size(), 1u);
  EXPECT_TRUE(h.finished.empty());
  EXPECT_TRUE(h.errors.empty());
}

TEST(TransferButtons, FollowTheLinkTheStateAndTheAccess) {
  EXPECT_FALSE(ButtonsFor(TransferState::Idle, false, true, false, false).read);
  const TransferButtons idleLocal = ButtonsFor(TransferState::Idle, true, true, false, false);
  EXPECT_TRUE(idleLocal.read && idleLocal.write && !idleLocal.stop);
  const TransferButtons busy = ButtonsFor(TransferState::ReadingLocal, true, true, false, false);
  EXPECT_TRUE(!busy.read && !busy.write && busy.stop);
  EXPECT_FALSE(ButtonsFor(TransferState::Idle, true, false, true, false).write);
  EXPECT_TRUE(ButtonsFor(TransferState::Idle, true, false, true, true).write);
  EXPECT_TRUE(ButtonsFor(TransferState::LoginCheckPassed, true, true, false, false).stop);
}

}  // namespace
}  // namespace qd::link
