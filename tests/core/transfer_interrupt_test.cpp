// A read, a write or a firmware update whose port or gateway connection goes away half way ends at once
// as failed, and nothing more goes out for it.

#include <gtest/gtest.h>

#include <vector>

#include "firmware/boot_loader.h"
#include "link/transfer.h"
#include "model/system_commands.h"

namespace qd {
namespace {

using link::SystemTransfer;
using link::TransferState;
using Bytes = std::vector<std::uint8_t>;

// The transfer in master-login mode (no code check) with a link that records what went out. The gateway
// takes messages until `gatewayTakes` runs out; `duringPause` runs in each pause between remote blocks.
struct Harness {
  Harness() : transfer(config, MakeEnvironment()) {
    ResetSystem(config);
    config.masterLoginMode = true;
  }

  SystemTransfer::Environment MakeEnvironment() {
    SystemTransfer::Environment env;
    env.localMode = [this] { return local; };
    env.masterLoginMode = [] { return true; };
    env.userLoginCode = [] { return std::string(); };
    env.queueRequest = [this](std::uint8_t, std::uint8_t, std::span<const std::uint8_t> data) {
      requests.emplace_back(data.begin(), data.end());
      return true;
    };
    env.sendGatewayMessage = [this](std::span<const std::uint8_t> message) {
      if (gatewayTakes == 0) return false;
      --gatewayTakes;
      gateway.emplace_back(message.begin(), message.end());
      return true;
    };
    env.waitStep = [] {};
    env.pauseBetweenBlocks = [this] {
      if (duringPause) duringPause();
    };
    env.now = [] { return LocalDateTime{2024, 5, 6, 7, 8, 9, 0}; };
    return env;
  }

  // The controller's answer to the last local read request, with `fill` as the data.
  void AnswerLastRead(std::uint8_t fill) {
    const Bytes& request = requests.back();
    Bytes reply = {link::command::MemoryData, 0, 1, link::PcAddress, link::ControllerAddress, 0};
    reply.insert(reply.end(), request.begin(), request.begin() + 3);
    reply.insert(reply.end(), request[0], fill);
    transfer.OnMemoryData(link::PayloadView(reply));
  }
  void AnswerLastWrite() {
    const Bytes& request = requests.back();
    Bytes reply = {link::command::WriteConfirm, 0, 1, link::PcAddress, link::ControllerAddress, 0};
    reply.insert(reply.end(), request.begin(), request.begin() + 3);
    transfer.OnWriteConfirm(link::PayloadView(reply));
  }

  WorkingConfig config;
  SystemTransfer transfer;
  bool local = true;
  int gatewayTakes = 1000;
  std::function<void()> duringPause;
  std::vector<Bytes> requests;
  std::vector<Bytes> gateway;
};

TEST(TransferConnectionLost, LocalReadAndWriteFailAtTheOffsetReached) {
  Harness h;
  h.transfer.Read();
  h.AnswerLastRead(0x11);
  h.AnswerLastRead(0x22);
  ASSERT_EQ(h.transfer.Current(), 256);
  h.transfer.ConnectionLost();
  EXPECT_EQ(h.transfer.State(), TransferState::Idle);
  EXPECT_EQ(h.transfer.View().statusText, "Transfer faild at: 256");
  // A reply that still arrives changes nothing, and no time-out follows.
  const std::size_t sent = h.requests.size();
  h.AnswerLastRead(0x33);
  for (int i = 0; i < SystemTransfer::LocalReadLimitTicks + 1; ++i)
    h.transfer.Tick();
  EXPECT_EQ(h.requests.size(), sent);
  EXPECT_EQ(h.transfer.Current(), 256);
  EXPECT_TRUE(h.transfer.View().stateInfo.empty());

  // A local write has no time-out of its own: without this it would wait for Stop.
  h.transfer.Write();
  ASSERT_EQ(h.transfer.State(), TransferState::WritingLocal);
  h.AnswerLastWrite();
  h.transfer.ConnectionLost();
  EXPECT_EQ(h.transfer.State(), TransferState::Idle);
  EXPECT_EQ(h.transfer.View().statusText, "Transfer faild at: 160");

  // Idle, a lost connection leaves the last result alone.
  h.transfer.ConnectionLost();
  EXPECT_EQ(h.transfer.View().statusText, "Transfer faild at: 160");
}

TEST(TransferConnectionLost, RemoteWriteStopsSendingWhenTheConnectionGoes) {
  // The connection ends during the second pause: no further block, no confirm request.
  Harness during;
  during.local = false;
  int pauses = 0;
  during.duringPause = [&] {
    if (++pauses == 2) during.transfer.ConnectionLost();
  };
  during.transfer.Write();
  EXPECT_EQ(during.transfer.State(), TransferState::Idle);
  EXPECT_EQ(during.gateway.size(), 2u);
  EXPECT_EQ(during.transfer.View().statusText, "Transfer faild at: 432");
  for (int i = 0; i < SystemTransfer::ConfirmLimitTicks + 1; ++i)
    during.transfer.Tick();
  EXPECT_NE(during.transfer.View().progressText, "Timeout, no confirm received!");

  // The socket refuses the third block: the write ends there instead of pausing through the rest.
  Harness refused;
  refused.local = false;
  refused.gatewayTakes = 2;
  int refusedPauses = 0;
  refused.duringPause = [&] { ++refusedPauses; };
  refused.transfer.Write();
  EXPECT_EQ(refused.transfer.State(), TransferState::Idle);
  EXPECT_EQ(refusedPauses, 2);
  EXPECT_EQ(refused.transfer.View().statusText, "Transfer faild at: 432");

  // All blocks out, waiting for the confirmation.
  Harness confirming;
  confirming.local = false;
  confirming.transfer.Write();
  ASSERT_EQ(confirming.transfer.State(), TransferState::WritingRemote);
  confirming.transfer.ConnectionLost();
  EXPECT_EQ(confirming.transfer.State(), TransferState::Idle);
  EXPECT_EQ(confirming.transfer.View().statusText,
            "Transfer faild at: " + std::to_string(confirming.config.image.dataLength));
  EXPECT_EQ(confirming.transfer.View().progressText, "");
}

TEST(TransferConnectionLost, RemoteReadEndsWhenTheRequestIsNotTakenOrTheConnectionGoes) {
  Harness refused;
  refused.local = false;
  refused.gatewayTakes = 0;
  refused.transfer.Read();
  EXPECT_EQ(refused.transfer.State(), TransferState::Idle);
  EXPECT_EQ(refused.transfer.View().statusText, "Transfer faild at: 0");

  Harness dropped;
  dropped.local = false;
  dropped.transfer.Read();
  ASSERT_EQ(dropped.transfer.State(), TransferState::ReadingRemote);
  dropped.transfer.ConnectionLost();
  EXPECT_EQ(dropped.transfer.State(), TransferState::Idle);
  EXPECT_EQ(dropped.transfer.View().statusText, "Transfer faild at: 0");
  EXPECT_TRUE(dropped.transfer.View().stateInfo.empty());
}

TEST(BootLoaderConnectionLost, EndsProgrammingAtOnceWithTheTimeoutVerdict) {
  std::vector<firmware::FlashResult> results;
  std::vector<bool> active;
  firmware::BootLoader::Owner owner;
  owner.setProgrammingActive = [&](bool on) { active.push_back(on); };
  owner.finished = [&](firmware::FlashResult result) { results.push_back(result); };
  firmware::BootLoader loader(owner);
  const firmware::FirmwareImage image = firmware::LoadIntelHex(
      ":10010000000102030405060708090A0B0C0D0E0F77\n:00000001FF\n", firmware::TriggerTarget);
  ASSERT_TRUE(image.Loaded()) << image.error.text;

  loader.ConnectionLost();  // idle: nothing to end
  EXPECT_TRUE(results.empty());

  ASSERT_EQ(loader.Start(image), firmware::StartResult::Started);
  loader.FirmwareByte(firmware::loader_byte::Ready);
  ASSERT_TRUE(loader.ProgrammingActive());
  loader.ConnectionLost();
  EXPECT_EQ(loader.State(), firmware::FirmwareState::Idle);
  EXPECT_FALSE(loader.ProgrammingActive());
  EXPECT_EQ(active.back(), false);  // the link answers the controller again
  EXPECT_EQ(loader.StateText(), firmware::TimeoutText);
  EXPECT_EQ(results, std::vector<firmware::FlashResult>{firmware::FlashResult::ConnectionLost});
  // The time-out that was running does not end it a second time.
  for (int i = 0; i < firmware::BootLoader::StartLimitTicks + 1; ++i)
    loader.Tick();
  EXPECT_EQ(results.size(), 1u);
}

}  // namespace
}  // namespace qd
