#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/bytes.h"
#include "gateway_test_support.h"
#include "link/bus_payload.h"
#include "link/status_records.h"

namespace qd::sim {
namespace {

using namespace gateway_test;

TEST_F(GatewayTest, AWrongLoginIsRefusedAndMayBeTriedAgain) {
  GatewayConnection& pc = Open();
  EXPECT_EQ(Ask(pc, Login("service", "guess")), (std::vector<Bytes>{Message("BI")}));
  EXPECT_FALSE(pc.LoggedIn());
  EXPECT_EQ(Ask(pc, Login("nobody", "secret")), (std::vector<Bytes>{Message("BI")}));

  const auto answers = Ask(pc, Login("service", "secret"));
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0], Message(std::string_view("BD4711\0Harbour laundry\0-\0"
                                                 "127.0.0.1\0",
                                                 35)));
  EXPECT_EQ(answers[1], Message(std::string_view("BD\0\0\0\0", 6))) << "the end of the list";
  EXPECT_TRUE(pc.LoggedIn());
  EXPECT_EQ(pc.UserName(), "service");
}

TEST_F(GatewayTest, NothingButALoginIsAnsweredBeforeIt) {
  GatewayConnection& pc = Open();
  EXPECT_TRUE(Ask(pc, ConnectTo("4711")).empty());
  EXPECT_TRUE(Ask(pc, ReadRequest).empty());
  EXPECT_TRUE(Ask(pc, StatusRequest).empty());
  EXPECT_TRUE(Ask(pc, WriteBlock(0x20, {1, 2, 3})).empty());
  EXPECT_EQ(controller_.Memory().At(0x20), 'H');
}

TEST_F(GatewayTest, SystemMessagesWaitForAConnectedSystem) {
  GatewayConnection& pc = Open();
  Ask(pc, Login("service", "secret"));
  EXPECT_TRUE(Ask(pc, ReadRequest).empty());
  EXPECT_TRUE(Ask(pc, StatusRequest).empty());
}

TEST_F(GatewayTest, ConnectAnswersTheResultTheAccessAndTheAddress) {
  GatewayConnection& pc = Open();
  Ask(pc, Login("service", "secret"));
  const auto answers = Ask(pc, ConnectTo("4711"));
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0], Message(std::string_view("BE\0"
                                                 "4711\0A\0",
                                                 10)));
  EXPECT_EQ(answers[1], Message(std::string_view("BF127.0.0.1\0", 12)));
  EXPECT_EQ(pc.System(), 0u);
  EXPECT_TRUE(pc.FullAccess());
}

TEST_F(GatewayTest, ASerialIsFoundByItsValueAndAnsweredAsListed) {
  GatewayConnection& pc = Open();
  Ask(pc, Login("service", "secret"));
  const auto answers = Ask(pc, ConnectTo("004711"));
  ASSERT_FALSE(answers.empty());
  EXPECT_EQ(answers[0], Message(std::string_view("BE\0"
                                                 "4711\0A\0",
                                                 10)));
}

TEST_F(GatewayTest, AnUnknownSystemIsNotFound) {
  GatewayConnection& pc = Open();
  Ask(pc, Login("service", "secret"));
  EXPECT_EQ(Ask(pc, ConnectTo("4712")), (std::vector<Bytes>{Bytes{'B', 'E', 1}}));
  EXPECT_EQ(Ask(pc, ConnectTo("")), (std::vector<Bytes>{Bytes{'B', 'E', 1}}));
  EXPECT_FALSE(pc.System());
}

TEST_F(GatewayTest, ASystemHeldByOneConnectionIsInUseForTheOthers) {
  GatewayConnection& first = Session();
  GatewayConnection& second = Open();
  const auto list = Ask(second, Login("service", "secret"));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], Message(std::string_view("BD4711\0Harbour laundry\0service\0"
                                              "127.0.0.1\0",
                                              41)));
  EXPECT_EQ(Ask(second, ConnectTo("4711")), (std::vector<Bytes>{Bytes{'B', 'E', 2}}));
  EXPECT_EQ(Ask(first, ConnectTo("4711")).size(), 2u) << "the holder may connect again";

  first.Close();
  EXPECT_EQ(Ask(second, ConnectTo("4711")).size(), 2u);
  EXPECT_EQ(second.System(), 0u);
}

TEST_F(GatewayTest, AConnectionGoneLetsGoOfItsSystem) {
  Session();
  connections_.clear();
  GatewayConnection& pc = Open();
  Ask(pc, Login("service", "secret"));
  EXPECT_EQ(Ask(pc, ConnectTo("4711")).size(), 2u);
}

TEST_F(GatewayTest, AReadSendsTheWholeMemoryInOrderedBlocks) {
  GatewayConnection& pc = Session();
  const auto blocks = Ask(pc, ReadRequest, std::chrono::seconds(3));
  ASSERT_EQ(blocks.size(), 33u);  // 32 of 1000 bytes and one of 768
  Bytes memory;
  for (const Bytes& block : blocks) {
    ASSERT_GE(block.size(), 6u);
    EXPECT_EQ(block[0], 'B');
    EXPECT_EQ(block[1], 'H');
    EXPECT_EQ(bytes::GetU16LE(block, 2), memory.size());
    EXPECT_EQ(bytes::GetU16LE(block, 4), block.size() - 6);
    memory.insert(memory.end(), block.begin() + 6, block.end());
  }
  EXPECT_EQ(bytes::GetU16LE(blocks.back(), 4), 768);
  const auto expected = controller_.Memory().Bytes();
  EXPECT_TRUE(std::equal(memory.begin(), memory.end(), expected.begin(), expected.end()));
}

TEST_F(GatewayTest, ASystemOtherThanTheControllerAnswersNothing) {
  GatewayOptions options;
  options.systems = {{"12", "Other laundry", "-", "Offline"}};
  GatewayDirectory directory(options, Serial);
  GatewayConnection pc(directory, controller_, 1);
  pc.onSend = [this](std::span<const std::uint8_t> frame) { pc_.Feed(frame); };

  const auto list = Ask(pc, Login("service", "secret"));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], Message(std::string_view("BD4711\0Harbour laundry\0-\0"
                                              "127.0.0.1\0",
                                              35)))
      << "the controller comes first when it is not listed";
  EXPECT_EQ(list[1], Message(std::string_view("BD12\0Other laundry\0-\0Offline\0", 29)));

  const auto answers = Ask(pc, ConnectTo("12"));
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[1], Message(std::string_view("BFOffline\0", 10)));
  EXPECT_TRUE(Ask(pc, ReadRequest).empty());
  EXPECT_TRUE(Ask(pc, StatusRequest).empty());
  EXPECT_TRUE(Ask(pc, ConfirmRequest).empty());
}

TEST_F(GatewayTest, WrittenBlocksAreStoredAndTheirSumConfirmed) {
  GatewayConnection& pc = Session();
  const Bytes first(200, 0xFF);
  const Bytes second{0x02, 0x03, 0x10, 0x15, 0x16, 0x00, 0x80};
  EXPECT_TRUE(Ask(pc, WriteBlock(32, first)).empty());
  EXPECT_TRUE(Ask(pc, WriteBlock(232, second)).empty());
  for (std::size_t i = 0; i < first.size(); ++i)
    EXPECT_EQ(controller_.Memory().At(32 + i), 0xFF);
  for (std::size_t i = 0; i < second.size(); ++i)
    EXPECT_EQ(controller_.Memory().At(232 + i), second[i]);

  const unsigned sum = (200 * 0xFF + 0x02 + 0x03 + 0x10 + 0x15 + 0x16 + 0x80) & 0xFFFF;
  EXPECT_EQ(pc.WrittenSum(), sum);
  EXPECT_EQ(Ask(pc, ConfirmRequest), (std::vector<Bytes>{Bytes{'C', 'S', static_cast<std::uint8_t>(sum),
                                                               static_cast<std::uint8_t>(sum >> 8)}}));
  EXPECT_EQ(Ask(pc, ConfirmRequest), (std::vector<Bytes>{Bytes{'C', 'S', 0, 0}})) << "the sum starts again";
}

TEST_F(GatewayTest, TheSumWrapsAtSixteenBits) {
  GatewayConnection& pc = Session();
  const Bytes block(200, 0xFF);
  for (std::uint16_t i = 0; i < 2; ++i)
    Ask(pc, WriteBlock(static_cast<std::uint16_t>(0x3000 + 200 * i), block));
  for (int i = 0; i < 130; ++i)
    Ask(pc, WriteBlock(0x4000, block));
  const unsigned sum = (132u * 200u * 0xFFu) & 0xFFFFu;
  EXPECT_EQ(Ask(pc, ConfirmRequest)[0],
            (Bytes{'C', 'S', static_cast<std::uint8_t>(sum), static_cast<std::uint8_t>(sum >> 8)}));
}

TEST_F(GatewayTest, BadWriteBlocksAreIgnored) {
  GatewayConnection& pc = Session();
  const std::uint8_t before = controller_.Memory().At(0x100);
  Ask(pc, WriteBlock(0x100, {}));                // count 0
  Ask(pc, WriteBlock(0x100, Bytes(201, 0xAA)));  // over 200
  Bytes cut = WriteBlock(0x100, Bytes(10, 0xAA));
  cut.pop_back();  // data missing
  Ask(pc, cut);
  Ask(pc, Bytes{0x00, 'Q', 0x00});  // no header
  EXPECT_EQ(controller_.Memory().At(0x100), before);
  EXPECT_EQ(pc.WrittenSum(), 0);
}

TEST_F(GatewayTest, ABlockPastTheEndIsStoredAsFarAsItFits) {
  GatewayConnection& pc = Session();
  Ask(pc, WriteBlock(0x7FFE, {1, 2, 3, 4}));
  EXPECT_EQ(controller_.Memory().At(0x7FFE), 1);
  EXPECT_EQ(controller_.Memory().At(0x7FFF), 2);
  EXPECT_EQ(pc.WrittenSum(), 3) << "only the stored bytes count";
}

TEST_F(GatewayTest, StatusCarriesTheControllersOutputsAndMachineRecords) {
  GatewayConnection& pc = Session();
  // The PC switches pump 1 and 3 and the flush water valve by hand over the bus.
  const Bytes manual{0x05, 0x05, 0x00, 0x04, 0x00, 0x04};
  const Bytes request =
      link::MakePayload(link::command::ManualOutputs, 1, link::ControllerAddress, link::PcAddress, manual);
  controller_.HandleRequest(link::PayloadView(request));

  // Machine 1 is on line 4 of a wash (keyboard locked, flush water); machine 2 is not enabled.
  const SimTime now = Milliseconds(2000 + 3 * 1500 + 100);
  const auto answers = Ask(pc, StatusRequest, now);
  ASSERT_EQ(answers.size(), 1u);
  const Bytes& status = answers[0];
  ASSERT_EQ(status.size(), 116u);
  EXPECT_EQ(status[0], 'C');
  EXPECT_EQ(status[1], 'X');

  const link::GatewayStatus view(status);
  const SystemOutputs outputs = controller_.Outputs();
  EXPECT_EQ(view.PumpsRunning(), outputs.pumps);
  EXPECT_EQ(view.PumpsRunning() & 0x05, 0x05);
  EXPECT_EQ(view.MachineSignals(), outputs.machineSignals);
  EXPECT_EQ(view.MachineSignals() & 0x0003, 0x0001);
  EXPECT_TRUE(view.FlushWater());
  EXPECT_FALSE(view.FlushDrain());
  for (int m = 0; m < MachineCount; ++m) {
    const MachineRecord record = controller_.Record(m);
    const link::MachineStatus machine = view.Machine(m);
    EXPECT_EQ(machine.RunningLine(), record[0]) << m;
    EXPECT_EQ(machine.Bytes()[1], record[1]) << m;
    EXPECT_EQ(machine.Bytes()[2], record[2]) << m;
    EXPECT_EQ(machine.Inputs(), record[3] & 0x3F) << m;
  }
  EXPECT_EQ(view.Machine(0).RunningLine(), 4);
  EXPECT_TRUE(view.Machine(0).KeyboardLocked());
  EXPECT_EQ(view.Machine(1).RunningProgram(), -1);
  for (std::size_t i = 6; i < 16; ++i)
    EXPECT_EQ(status[i], 0) << i;
}

class GatewayModuleTest : public GatewayTest {
 protected:
  GatewayModuleTest() : GatewayTest() {
    directory_ = GatewayDirectory({}, Serial, ConnectionFlagsFor({{2, 1}, {4, 3}, {5, 10}}));
  }
};

TEST_F(GatewayModuleTest, AHeardQd740ModuleAddsItsConnections) {
  GatewayConnection& pc = Session();
  controller_.Advance(Milliseconds(100));
  controller_.HearTriggerReport({1, 2, 0x01, false, 0, {}, {}});  // machine 2, QD520
  controller_.HearTriggerReport({3, 2, 0x02, false, 0, {}, {}});  // machine 4, QD740

  Bytes status = Ask(pc, StatusRequest, Milliseconds(200))[0];
  link::GatewayStatus view(status);
  EXPECT_TRUE(view.Machine(1).TriggerOnline());
  EXPECT_FALSE(view.Machine(1).KeyboardConnected());
  EXPECT_FALSE(view.Machine(1).SerialConnection());
  EXPECT_TRUE(view.Machine(3).TriggerOnline());
  EXPECT_TRUE(view.Machine(3).KeyboardConnected());
  EXPECT_TRUE(view.Machine(3).SerialConnection());
  EXPECT_EQ(view.Machine(3).Inputs(), 0x02);

  // Unheard for longer than the online time, the module's connections go with it.
  status = Ask(pc, StatusRequest, Milliseconds(100) + Controller::TriggerOnlineTime)[0];
  view = link::GatewayStatus(status);
  EXPECT_FALSE(view.Machine(3).TriggerOnline());
  EXPECT_FALSE(view.Machine(3).KeyboardConnected());
  EXPECT_FALSE(view.Machine(3).SerialConnection());
}

TEST(GatewayConnectionFlagsTest, OnlyQd740ModulesOnTheBusReportConnections) {
  const gateway::ConnectionFlags flags = ConnectionFlagsFor({{2, 1}, {3, 2}, {4, 3}, {5, 10}, {6, 6}});
  EXPECT_EQ(flags[1], 0) << "QD520";
  EXPECT_EQ(flags[2], 0) << "Nortec";
  EXPECT_EQ(flags[3], 0x0A);
  EXPECT_EQ(flags[4], 0) << "the Ethernet link has no module";
  EXPECT_EQ(flags[5], 0x0A);
  EXPECT_EQ(flags[0], 0) << "no trigger";
}

TEST_F(GatewayTest, ResetsAndLogClearsActOnTheControllerAndAreConfirmed) {
  GatewayConnection& pc = Session();
  EXPECT_EQ(Ask(pc, Bytes{0x03, '%', 2, 0}), (std::vector<Bytes>{Message("C%")}));
  EXPECT_EQ(controller_.LastReset(), 0x12);
  EXPECT_EQ(Ask(pc, Bytes{0x03, '&', 0, 0}), (std::vector<Bytes>{Message("C&")}));
  EXPECT_EQ(controller_.LastReset(), 0x1A);
  EXPECT_TRUE(Ask(pc, Bytes{0x03, '%', 10, 0}).empty()) << "no machine 11";

  const ControllerMemory& memory = controller_.Memory();
  EXPECT_EQ(Ask(pc, Bytes{0x06, ' ', 0, 0}), (std::vector<Bytes>{Message("C!")}));
  for (std::size_t i = 0; i < layout::ConsumptionLogSize; ++i)
    ASSERT_EQ(memory.At(memory.ConsumptionLogOffset() + i), 0) << i;

  const std::uint8_t alarmState = memory.At(memory.AlarmLogOffset());
  EXPECT_EQ(Ask(pc, Bytes{0x07, '"', 0, 0}), (std::vector<Bytes>{Message("C#")}));
  EXPECT_EQ(memory.At(memory.AlarmLogOffset()), alarmState) << "the current alarm state stays";
  for (std::size_t i = ControllerMemory::AlarmStateSize; i < layout::AlarmLogSize; ++i)
    ASSERT_EQ(memory.At(memory.AlarmLogOffset() + i), 0) << i;
}

TEST_F(GatewayTest, UnknownMessagesAreIgnored) {
  GatewayConnection& pc = Session();
  EXPECT_TRUE(Ask(pc, Bytes{0x00, 'Z', 0, 0}).empty());
  EXPECT_TRUE(Ask(pc, Bytes{0x05, '%', 0, 0}).empty());
  EXPECT_TRUE(Ask(pc, Bytes{'B', 'D'}).empty());
}

class GatewayAccessTest : public GatewayTest {
 protected:
  static GatewayOptions Options() {
    GatewayOptions options;
    options.users = {{"anna", "pw", "A"}, {"ben", "pw", "B"}};
    options.systems = {{"4711", "", "-", "10.0.0.7"}, {"12", "Other", "-", "10.0.0.8"}};
    options.access = {{"12", "C"}};
    return options;
  }
  GatewayAccessTest() : GatewayTest(Options()) {}
};

TEST_F(GatewayAccessTest, TheAccessIsTheUsersUnlessTheSystemSetsIt) {
  GatewayConnection& anna = Open();
  Ask(anna, Login("anna", "pw"));
  EXPECT_EQ(Ask(anna, ConnectTo("4711"))[0], Message(std::string_view("BE\0"
                                                                      "4711\0A\0",
                                                                      10)));
  EXPECT_EQ(Ask(anna, ConnectTo("12"))[0], Message(std::string_view("BE\0"
                                                                    "12\0C\0",
                                                                    8)));
  EXPECT_FALSE(anna.FullAccess());

  GatewayConnection& ben = Open();
  EXPECT_EQ(Ask(ben, Login("service", "secret")), (std::vector<Bytes>{Message("BI")}))
      << "the default user is gone once users are given";
  Ask(ben, Login("ben", "pw"));
  const auto answers = Ask(ben, ConnectTo("4711"));
  EXPECT_EQ(answers[0], Message(std::string_view("BE\0"
                                                 "4711\0B\0",
                                                 10)));
  EXPECT_EQ(answers[1], Message(std::string_view("BF10.0.0.7\0", 11)));
}

TEST_F(GatewayAccessTest, ReadOnlyAccessReadsButNeitherWritesNorResetsMachines) {
  GatewayConnection& ben = Open();
  Ask(ben, Login("ben", "pw"));
  Ask(ben, ConnectTo("4711"));
  const std::uint8_t before = controller_.Memory().At(0x200);
  EXPECT_TRUE(Ask(ben, WriteBlock(0x200, {static_cast<std::uint8_t>(before + 1)})).empty());
  EXPECT_EQ(controller_.Memory().At(0x200), before);
  EXPECT_EQ(Ask(ben, ConfirmRequest), (std::vector<Bytes>{Bytes{'C', 'S', 0, 0}}));
  EXPECT_TRUE(Ask(ben, Bytes{0x03, '&', 0, 0}).empty());
  EXPECT_FALSE(controller_.LastReset());
  EXPECT_EQ(Ask(ben, Bytes{0x06, ' ', 0, 0}), (std::vector<Bytes>{Message("C!")}));
  EXPECT_EQ(Ask(ben, ReadRequest).size(), 33u);
}

TEST_F(GatewayAccessTest, AListedControllerWithoutANameShowsTheNameInItsMemory) {
  GatewayConnection& anna = Open();
  const auto list = Ask(anna, Login("anna", "pw"));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], Message(std::string_view("BD4711\0Harbour laundry\0-\0"
                                              "10.0.0.7\0",
                                              34)));
}

TEST(GatewayDirectoryTest, AControllerWithoutANameIsTheSimulator) {
  Controller controller{ControllerMemory{}, {}};
  GatewayDirectory directory({}, 310001);
  const auto list = directory.List(controller.Memory());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].serial, "310001");
  EXPECT_EQ(list[0].name, "QD310 simulator");
  EXPECT_EQ(list[0].inUse, "-");
  EXPECT_EQ(list[0].address, "127.0.0.1");
}

TEST(GatewayDirectoryTest, EachFaultHitsOnce) {
  GatewayOptions options;
  options.faults = {{GatewayFaultKind::DropRead, 3, ""}, {GatewayFaultKind::WrongSum, 0, ""}};
  GatewayDirectory directory(options, 1);
  EXPECT_FALSE(directory.TakeFault(GatewayFaultKind::BlockOrder, 0));
  EXPECT_EQ(directory.TakeFault(GatewayFaultKind::DropRead, 0),
            (GatewayFault{GatewayFaultKind::DropRead, 3, ""}));
  EXPECT_FALSE(directory.TakeFault(GatewayFaultKind::DropRead, 0));
  EXPECT_TRUE(directory.TakeFault(GatewayFaultKind::WrongSum, 0));
  EXPECT_FALSE(directory.TakeFault(GatewayFaultKind::WrongSum, 0));
}

class GatewayFaultTest : public GatewayTest {
 protected:
  static GatewayOptions Options(std::vector<GatewayFault> faults) {
    GatewayOptions options;
    options.faults = std::move(faults);
    options.blockSize = 1024;
    return options;
  }
};

struct BlockOrderTest : GatewayFaultTest {
  BlockOrderTest() {
    directory_ = GatewayDirectory(Options({{GatewayFaultKind::BlockOrder, 0, ""}}), Serial);
  }
};

TEST_F(BlockOrderTest, TheFirstReadSendsItsSecondBlockFirst) {
  GatewayConnection& pc = Session();
  auto blocks = Ask(pc, ReadRequest);
  ASSERT_EQ(blocks.size(), 32u);
  EXPECT_EQ(bytes::GetU16LE(blocks[0], 2), 1024);
  EXPECT_EQ(bytes::GetU16LE(blocks[1], 2), 0);
  EXPECT_EQ(bytes::GetU16LE(blocks[2], 2), 2048);
  blocks = Ask(pc, ReadRequest);
  for (std::size_t i = 0; i < blocks.size(); ++i)
    EXPECT_EQ(bytes::GetU16LE(blocks[i], 2), 1024 * i);
}

struct DropReadTest : GatewayFaultTest {
  DropReadTest() { directory_ = GatewayDirectory(Options({{GatewayFaultKind::DropRead, 3, ""}}), Serial); }
};

TEST_F(DropReadTest, TheFirstReadEndsTheConnectionAfterItsBlocks) {
  GatewayConnection& pc = Session();
  EXPECT_EQ(Ask(pc, ReadRequest).size(), 3u);
  EXPECT_TRUE(pc.Dropping());
  EXPECT_TRUE(Ask(pc, StatusRequest).empty()) << "nothing after the fault";

  GatewayConnection& next = Open();
  Ask(next, Login("service", "secret"));
  EXPECT_EQ(Ask(next, ConnectTo("4711"))[0][2], 2) << "in use until the connection is closed";
  pc.Close();
  Ask(next, ConnectTo("4711"));
  EXPECT_EQ(Ask(next, ReadRequest).size(), 32u);
  EXPECT_FALSE(next.Dropping());
}

struct DropWriteTest : GatewayFaultTest {
  DropWriteTest() {
    directory_ = GatewayDirectory(
        Options({{GatewayFaultKind::DropWrite, 2, ""}, {GatewayFaultKind::WrongSum, 0, ""}}), Serial);
  }
};

TEST_F(DropWriteTest, TheFirstWriteEndsTheConnectionOnceItsBlockIsStored) {
  GatewayConnection& pc = Session();
  Ask(pc, WriteBlock(0x100, {1}));
  EXPECT_FALSE(pc.Dropping());
  Ask(pc, WriteBlock(0x101, {2}));
  EXPECT_TRUE(pc.Dropping());
  EXPECT_EQ(controller_.Memory().At(0x101), 2);
  Ask(pc, WriteBlock(0x102, {3}));
  EXPECT_NE(controller_.Memory().At(0x102), 3);
  EXPECT_TRUE(Ask(pc, ConfirmRequest).empty());
}

TEST_F(DropWriteTest, AWrongSumHitsTheFirstConfirmOnly) {
  directory_ = GatewayDirectory(Options({{GatewayFaultKind::WrongSum, 0, ""}}), Serial);
  GatewayConnection& pc = Session();
  Ask(pc, WriteBlock(0x100, {1, 2}));
  EXPECT_EQ(Ask(pc, ConfirmRequest)[0], (Bytes{'C', 'S', 4, 0}));
  Ask(pc, WriteBlock(0x100, {1, 2}));
  EXPECT_EQ(Ask(pc, ConfirmRequest)[0], (Bytes{'C', 'S', 3, 0}));
}

TEST(GatewayTraceTest, OneLinePerMessageOrEvent) {
  GatewayConnection::TraceEvent event{Milliseconds(1500), false, Login("anna", "pw"), ""};
  EXPECT_EQ(GatewayTraceLine(2, event), "    1.500000 gw2 rx 'A','@' login user=anna");
  event = {Milliseconds(2), true, gateway::DataBlockMessage(1000, Bytes(5, 0)), "out of order (fault)"};
  EXPECT_EQ(GatewayTraceLine(1, event),
            "    0.002000 gw1 tx 'B','H' data offset=1000 count=5 [out of order (fault)]");
  event = {Milliseconds(0), false, {}, "closed"};
  EXPECT_EQ(GatewayTraceLine(3, event), "    0.000000 gw3 -- closed");
  EXPECT_EQ(gateway::Describe(Bytes{0x00, 'Q', 0x20, 0x00, 7}), "0x00,'Q' write offset=32 count=7");
  EXPECT_EQ(gateway::Describe(ConnectTo("12\x01")), "'A','B' connect serial=12\\x01");
  EXPECT_EQ(gateway::Describe(Bytes{0x09, 0x01, 0xAB}), "0x09,0x01 ? AB");
  EXPECT_EQ(gateway::Describe(gateway::ConnectResultMessage(0, "12", "B")),
            "'B','E' connect result=0 serial=12 access=B");
}

}  // namespace
}  // namespace qd::sim
