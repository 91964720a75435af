#include "controller.h"

#include <gtest/gtest.h>

#include <set>

#include "link/status_records.h"

namespace qd::sim {
namespace {

namespace command = link::command;

std::vector<std::uint8_t> Request(std::uint8_t cmd, std::vector<std::uint8_t> data = {}) {
  return link::MakePayload(cmd, 5, link::ControllerAddress, link::PcAddress, data);
}

ControllerMemory Patterned(std::uint8_t firmwareMajor = 2) {
  ControllerMemory memory;
  std::vector<std::uint8_t> bytes(ControllerMemory::Size);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
  memory.Load(bytes);
  memory.SetIdentity({4, firmwareMajor, 3, 1234});
  return memory;
}

class ControllerTest : public ::testing::Test {
 protected:
  std::optional<Reply> Handle(std::uint8_t cmd, std::vector<std::uint8_t> data = {}) {
    const std::vector<std::uint8_t> request = Request(cmd, std::move(data));
    return controller_.HandleRequest(link::PayloadView(request));
  }

  Controller controller_{Patterned(), {}};
};

TEST_F(ControllerTest, ReadAnswersCountAddressAndTheBytes) {
  const auto reply = Handle(command::ReadMemory, {128, 0x80, 0x01});
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->command, command::MemoryData);
  ASSERT_EQ(reply->data.size(), 3u + 128u);
  EXPECT_EQ(reply->data[0], 128);
  EXPECT_EQ(reply->data[1], 0x80);
  EXPECT_EQ(reply->data[2], 0x01);
  for (std::size_t i = 0; i < 128; ++i)
    EXPECT_EQ(reply->data[3 + i], controller_.Memory().At(0x180 + i));
}

TEST_F(ControllerTest, ReadAtTheEndIsServedAsFarAsItFits) {
  const auto reply = Handle(command::ReadMemory, {128, 0xC0, 0x7F});  // 0x7FC0: 64 bytes left
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->data[0], 64);
  EXPECT_EQ(reply->data.size(), 3u + 64u);
  EXPECT_EQ(reply->data.back(), controller_.Memory().At(0x7FFF));
  EXPECT_TRUE(Handle(command::ReadMemory, {1, 0xFF, 0x7F}));
}

TEST_F(ControllerTest, ReadsOutsideTheMemoryOrOfABadCountGetNoReply) {
  EXPECT_FALSE(Handle(command::ReadMemory, {16, 0x00, 0x80}));  // 32768
  EXPECT_FALSE(Handle(command::ReadMemory, {16, 0xFF, 0xFF}));
  EXPECT_FALSE(Handle(command::ReadMemory, {0, 0x00, 0x00}));
  EXPECT_FALSE(Handle(command::ReadMemory, {129, 0x00, 0x00}));
  EXPECT_FALSE(Handle(command::ReadMemory, {16, 0x00}));  // the address did not all arrive
}

TEST_F(ControllerTest, WriteStoresAndEchoesCountAndAddress) {
  std::vector<std::uint8_t> data = {3, 0x20, 0x00, 'A', 'B', 'C'};
  const auto reply = Handle(command::WriteMemory, data);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->command, command::WriteConfirm);
  EXPECT_EQ(reply->data, (std::vector<std::uint8_t>{3, 0x20, 0x00}));
  EXPECT_EQ(controller_.Memory().At(0x20), 'A');
  EXPECT_EQ(controller_.Memory().At(0x22), 'C');
}

TEST_F(ControllerTest, WriteWhoseDataDidNotAllArriveIsRefusedWhole) {
  const std::uint8_t before = controller_.Memory().At(0x20);
  EXPECT_FALSE(Handle(command::WriteMemory, {4, 0x20, 0x00, 'A', 'B', 'C'}));
  EXPECT_EQ(controller_.Memory().At(0x20), before);
}

TEST_F(ControllerTest, WriteAtTheEndStoresWhatFits) {
  const auto reply = Handle(command::WriteMemory, {4, 0xFE, 0x7F, 1, 2, 3, 4});
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->data[0], 2);
  EXPECT_EQ(controller_.Memory().At(0x7FFE), 1);
  EXPECT_EQ(controller_.Memory().At(0x7FFF), 2);
  EXPECT_FALSE(Handle(command::WriteMemory, {1, 0x00, 0x80, 9}));
}

TEST_F(ControllerTest, ConsumptionLogResetClearsTheWholeAreaOnly) {
  const auto reply = Handle(command::ResetConsumptionLog);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->command, command::ConsumptionLogReset);
  EXPECT_TRUE(reply->data.empty());
  const auto& memory = controller_.Memory();
  for (std::size_t i = 0x6380; i < 0x7FD0; ++i)
    ASSERT_EQ(memory.At(i), 0) << i;
  EXPECT_EQ(memory.At(0x637F), Patterned().At(0x637F));
  EXPECT_EQ(memory.At(0x7FD0), Patterned().At(0x7FD0));
}

TEST_F(ControllerTest, AlarmLogClearKeepsTheCurrentState) {
  const auto reply = Handle(command::ClearAlarmLog);
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->command, command::AlarmLogCleared);
  const auto& memory = controller_.Memory();
  for (std::size_t i = 0x6280; i < 0x6290; ++i)
    EXPECT_EQ(memory.At(i), Patterned().At(i)) << i;
  for (std::size_t i = 0x6290; i < 0x6380; ++i)
    ASSERT_EQ(memory.At(i), 0) << i;
}

TEST(ControllerLogs, FirmwareOneKeepsTheLogs128BytesEarlier) {
  Controller controller(Patterned(1), {});
  const auto reset = Request(command::ResetConsumptionLog);
  const auto clear = Request(command::ClearAlarmLog);
  controller.HandleRequest(link::PayloadView(reset));
  controller.HandleRequest(link::PayloadView(clear));
  const auto& memory = controller.Memory();
  EXPECT_EQ(memory.At(0x6200), Patterned(1).At(0x6200));  // state bytes
  EXPECT_EQ(memory.At(0x6210), 0);
  EXPECT_EQ(memory.At(0x62FF), 0);
  EXPECT_EQ(memory.At(0x6300), 0);
  EXPECT_EQ(memory.At(0x7F4F), 0);
  EXPECT_EQ(memory.At(0x7F50), Patterned(1).At(0x7F50));
}

TEST_F(ControllerTest, IdleAnswerIsRecordedAndAnsweredWithStatus) {
  // Pump 2 on under PC control, pump 1 under control and off, alarm output on under control.
  const auto reply = Handle(command::ManualOutputs, {0x02, 0x03, 0x00, 0x00, 0x00, 0x30});
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->command, command::Status);
  EXPECT_EQ(controller_.Manual().pumpOn, 0x02);
  EXPECT_EQ(controller_.Manual().pumpControl, 0x03);
  EXPECT_TRUE(controller_.Manual().alarmOutputOn);
  EXPECT_TRUE(controller_.Manual().alarmOutputControl);

  std::vector<std::uint8_t> payload = link::MakePayload(command::Status, 1, 2, 1, reply->data);
  const link::ControllerStatus status(payload);
  EXPECT_TRUE(status.IsCurrentForm());
  EXPECT_EQ(status.PumpsRunning() & 0x03, 0x02);
  EXPECT_TRUE(status.AlarmOutput());
}

TEST_F(ControllerTest, ManualControlOfMachinesAndFlushValves) {
  // Machine 3 on and flush drain on, both under PC control.
  Handle(command::ManualOutputs, {0, 0, 0x04, 0x08, 0x04, 0x08});
  EXPECT_EQ(controller_.Outputs().machineSignals & 0x04, 0x04);
  EXPECT_TRUE(controller_.Outputs().flushDrain);
  Handle(command::ManualOutputs, {0, 0, 0, 0, 0, 0});
  EXPECT_FALSE(controller_.Outputs().flushDrain);
}

TEST(ControllerStatus, RunningProgramLineAndKeyboardLockChangeOverTime) {
  ControllerMemory memory;
  const std::vector<std::uint8_t> enabled = {0xFF, 0x03};
  memory.Write(layout::MachinesEnabled, enabled);
  Controller controller(memory, {});
  std::set<int> programs;
  std::set<int> lines;
  bool locked = false;
  bool unlocked = false;
  for (int t = 0; t < 120; ++t) {
    controller.Advance(Milliseconds(500) * t);
    const auto data = controller.StatusData();
    const std::vector<std::uint8_t> payload = link::MakePayload(command::Status, 1, 2, 1, data);
    const link::ControllerStatus status(payload);
    const link::MachineStatus machine = status.Machine(2);
    programs.insert(machine.RunningProgram());
    lines.insert(machine.RunningLine());
    (machine.KeyboardLocked() ? locked : unlocked) = true;
    if (machine.RunningProgram() >= 0) {
      EXPECT_EQ(machine.Inputs(), 1 << machine.RunningProgram());
    }
  }
  EXPECT_GE(programs.size(), 3u);  // -1 (none) and at least two programs
  EXPECT_GE(lines.size(), 8u);
  EXPECT_TRUE(locked);
  EXPECT_TRUE(unlocked);
}

TEST(ControllerStatus, DisabledMachinesStandStill) {
  ControllerMemory memory;  // no machine enabled
  Controller controller(memory, {});
  for (int t = 0; t < 60; ++t) {
    controller.Advance(Milliseconds(1000) * t);
    for (int m = 0; m < MachineCount; ++m)
      ASSERT_EQ(controller.Record(m)[1], 0);
  }
}

TEST(ControllerStatus, OlderFormHas44BytesAndConvertsBack) {
  ControllerMemory memory;
  const std::vector<std::uint8_t> enabled = {0xFF, 0x03};
  memory.Write(layout::MachinesEnabled, enabled);
  ControllerSettings settings;
  settings.statusForm = StatusForm::Older;
  Controller controller(memory, settings);
  controller.Advance(Milliseconds(9000));
  const auto data = controller.StatusData();
  ASSERT_EQ(data.size() + link::HeaderSize, 44u);
  const std::vector<std::uint8_t> payload = link::MakePayload(command::Status, 1, 2, 1, data);
  const link::ControllerStatus status(payload);
  EXPECT_TRUE(status.WasConverted());
  for (int m = 0; m < MachineCount; ++m) {
    EXPECT_EQ(status.Machine(m).RunningLine(), controller.Record(m)[0]) << m;
    EXPECT_EQ(status.Machine(m).KeyboardLocked(), (controller.Record(m)[2] & KeyboardLockedFlag) != 0);
  }
}

TEST(ControllerResets, ResetMachineEndsItsWash) {
  ControllerMemory memory;
  const std::vector<std::uint8_t> enabled = {0xFF, 0x03};
  memory.Write(layout::MachinesEnabled, enabled);
  Controller controller(memory, {});
  controller.Advance(Milliseconds(12000));
  ASSERT_TRUE(controller.Machine(1).Washing());
  ASSERT_TRUE(controller.Machine(2).Washing());
  const auto one = Request(command::ResetMachine, {0x11});
  EXPECT_FALSE(controller.HandleRequest(link::PayloadView(one)));
  EXPECT_FALSE(controller.Machine(1).Washing());
  EXPECT_TRUE(controller.Machine(2).Washing());
  const auto all = Request(command::ResetMachine, {0x1A});
  controller.HandleRequest(link::PayloadView(all));
  for (int m = 0; m < MachineCount; ++m)
    EXPECT_FALSE(controller.Machine(m).Washing());
  EXPECT_EQ(controller.LastReset(), 0x1A);
}

TEST(ControllerResets, EndOfWriteIsRecorded) {
  Controller controller(ControllerMemory{}, {});
  const auto end = Request(command::ResetMachine, {0x00});
  EXPECT_FALSE(controller.HandleRequest(link::PayloadView(end)));
  EXPECT_EQ(controller.CompletedWrites(), 1);
  EXPECT_EQ(controller.LastReset(), 0x00);
}

TEST(ControllerMonitor, EthernetMachineIsReportedWithItsSerialNumberAndId) {
  ControllerMemory memory;
  const std::size_t block = layout::MachineRecord(1) + layout::MachineTrigger;
  const std::vector<std::uint8_t> ids = {0x00, 0x01, 0xE2, 0x40, 0x00, 0x00, 0x30, 0x39};  // 123456, 12345
  memory.Write(block + 16, ids);
  ControllerSettings settings;
  settings.ethernetMachines = {2};
  Controller controller(memory, settings);
  const auto request = Request(command::Monitor);
  const auto reply = controller.HandleRequest(link::PayloadView(request));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->command, command::MonitorReply);
  const std::vector<std::uint8_t> payload = link::MakePayload(command::MonitorReply, 1, 2, 1, reply->data);
  ASSERT_EQ(payload.size(), link::MonitorReplySize);
  const auto text = link::MonitorReplyText(payload);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->substr(0, 40), "M=02, Serial=00123456, UnitID=00012345, ");
  EXPECT_NE(controller.Record(1)[2] & TriggerOnlineFlag, 0);
}

TEST(ControllerMonitor, WithoutEthernetMachinesNoLineIsValid) {
  Controller controller(ControllerMemory{}, {});
  const auto request = Request(command::Monitor);
  const auto reply = controller.HandleRequest(link::PayloadView(request));
  ASSERT_TRUE(reply);
  const std::vector<std::uint8_t> payload = link::MakePayload(command::MonitorReply, 1, 2, 1, reply->data);
  EXPECT_FALSE(link::MonitorReplyText(payload));
}

TEST(ControllerClockBytes, RunWithTheTime) {
  ControllerSettings settings;
  settings.clockStart = ClockTime{2024, 2, 29, 23, 59, 58};
  Controller controller(ControllerMemory{}, settings);
  const auto clock = [&] {
    const auto bytes = controller.Memory().Read(layout::ControllerTime, 6);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
  };
  EXPECT_EQ(clock(), (std::vector<std::uint8_t>{58, 59, 23, 29, 2, 24}));
  controller.Advance(Milliseconds(2500));
  EXPECT_EQ(clock(), (std::vector<std::uint8_t>{0, 0, 0, 1, 3, 24}));
}

TEST(ControllerClockBytes, StayAsWrittenWithoutAClock) {
  Controller controller(ControllerMemory{}, {});
  const std::vector<std::uint8_t> write = {6, 0x6F, 0x00, 1, 2, 3, 4, 5, 6};
  const auto request = Request(command::WriteMemory, write);
  controller.HandleRequest(link::PayloadView(request));
  controller.Advance(Milliseconds(5000));
  EXPECT_EQ(controller.Memory().At(0x6F), 1);
  EXPECT_EQ(controller.Memory().At(0x74), 6);
}

TEST(ControllerRequests, UnknownAndLoaderRequestsGetNoReply) {
  Controller controller(ControllerMemory{}, {});
  const auto loader = Request(command::FirmwareLoader, {0x01, 0x00});
  EXPECT_FALSE(controller.HandleRequest(link::PayloadView(loader)));
  const auto poll = Request(command::Poll);
  EXPECT_FALSE(controller.HandleRequest(link::PayloadView(poll)));
}

}  // namespace
}  // namespace qd::sim
