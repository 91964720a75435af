#include "gateway_fleet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/bytes.h"
#include "gateway_test_support.h"
#include "link/status_records.h"
#include "sample_logs.h"

namespace qd::sim {
namespace {

using namespace gateway_test;

constexpr ClockTime LogTime{2024, 3, 15, 10, 0, 0};
constexpr std::size_t MonthRecords = 24;
constexpr std::size_t MonthRecordSize = 302;
constexpr std::size_t AlarmEntries = 48;

int AlarmMinuteOfDay(const ControllerMemory& memory, std::size_t entry) {
  const auto log = memory.Read(memory.AlarmLogOffset(), layout::AlarmLogSize);
  const std::uint32_t word = bytes::GetU32LE(log, ControllerMemory::AlarmStateSize + 5 * entry + 1);
  return static_cast<int>(((word >> 20) & 0x3F) * 60 + ((word >> 26) & 0x3F));
}

TEST(GatewayFleet, SystemNames) {
  const std::vector<std::pair<int, std::string>> cases = {
      {1, "Laundry 01"}, {7, "Laundry 07"}, {99, "Laundry 99"}, {100, "Laundry 100"}, {500, "Laundry 500"}};
  for (const auto& [k, name] : cases)
    EXPECT_EQ(FleetSystemName(k), name) << k;
}

TEST(GatewayFleet, EachSystemIsTheBaseWithItsOwnSerialNameAndLogs) {
  const ControllerMemory base = Patterned();
  ControllerMemory sample = base;
  FillSampleLogs(sample, LogTime);
  const std::vector<ControllerMemory> fleet = MakeFleet(base, 3, LogTime);
  ASSERT_EQ(fleet.size(), 3u);
  const auto consumption = sample.Read(sample.ConsumptionLogOffset(), layout::ConsumptionLogSize);
  for (int k = 1; k <= 3; ++k) {
    const ControllerMemory& memory = fleet[static_cast<std::size_t>(k - 1)];
    EXPECT_EQ(memory.Identity(), (ControllerIdentity{4, 2, 3, Serial + static_cast<std::uint32_t>(k)}));
    EXPECT_EQ(SystemNameOf(memory), FleetSystemName(k));
    const std::size_t nameEnd = layout::SystemName + FleetSystemName(k).size();
    for (std::size_t i = nameEnd; i < layout::SystemName + layout::SystemNameField; ++i)
      ASSERT_EQ(memory.At(i), 0) << "the rest of the name field is cleared, at " << i;
    for (std::size_t i = layout::SystemName + layout::SystemNameField; i < memory.AlarmLogOffset(); ++i)
      ASSERT_EQ(memory.At(i), base.At(i)) << "the configuration is the base's, at " << i;

    // Every counter of a recorded month is k higher than in the controller's sample.
    const auto log = memory.Read(memory.ConsumptionLogOffset(), layout::ConsumptionLogSize);
    int months = 0;
    for (std::size_t r = 0; r < MonthRecords; ++r) {
      const std::size_t record = MonthRecordSize * r;
      EXPECT_EQ(log[record + 1], consumption[record + 1]) << "the same months, record " << r;
      if (consumption[record + 1] == 0) continue;
      ++months;
      for (std::size_t counter = record + 2; counter < record + MonthRecordSize; counter += 2)
        ASSERT_EQ(bytes::GetU16LE(log, counter), bytes::GetU16LE(consumption, counter) + k) << counter;
    }
    EXPECT_EQ(months, 14);

    // Every alarm is k minutes later in its day; the current alarm state is the sample's.
    EXPECT_EQ(memory.At(memory.AlarmLogOffset() + 1), sample.At(sample.AlarmLogOffset() + 1));
    for (std::size_t entry = 0; entry < AlarmEntries; ++entry) {
      const std::size_t kind = memory.AlarmLogOffset() + ControllerMemory::AlarmStateSize + 5 * entry;
      EXPECT_EQ(memory.At(kind), sample.At(kind)) << entry;
      if (sample.At(kind) != 0) {
        EXPECT_EQ(AlarmMinuteOfDay(memory, entry), (AlarmMinuteOfDay(sample, entry) + k) % (24 * 60))
            << entry;
      }
    }
  }
}

TEST(GatewayFleet, TheLargestFleet) {
  const std::vector<ControllerMemory> fleet = MakeFleet(Patterned(), GatewayOptions::MaxFleet, LogTime);
  ASSERT_EQ(fleet.size(), 500u);
  EXPECT_EQ(fleet.back().Identity().serialNumber, Serial + 500);
  EXPECT_EQ(SystemNameOf(fleet.back()), "Laundry 500");
  EXPECT_TRUE(MakeFleet(Patterned(), 0, LogTime).empty());
}

// The gateway with the simulated controller 4711 and fleet systems 4712 and on.
class GatewayFleetTest : public GatewayTest {
 protected:
  void UseFleet(int count, GatewayOptions options = {}) {
    directory_ = GatewayDirectory(options, Serial, {}, MakeFleet(controller_.Memory(), count, LogTime));
  }

  GatewayConnection& SessionOn(std::string_view serial) {
    GatewayConnection& connection = Open();
    Ask(connection, Login("service", "secret"));
    Ask(connection, ConnectTo(serial));
    return connection;
  }

  // What one read delivers, block after block.
  Bytes ReadAll(GatewayConnection& pc) {
    Bytes memory;
    for (const Bytes& block : Ask(pc, ReadRequest)) {
      EXPECT_EQ(bytes::GetU16LE(block, 2), memory.size());
      memory.insert(memory.end(), block.begin() + 6, block.end());
    }
    return memory;
  }

  static Bytes Copy(const ControllerMemory& memory) {
    return Bytes(memory.Bytes().begin(), memory.Bytes().end());
  }
};

TEST_F(GatewayFleetTest, TheFleetFollowsTheControllerWithTheEntriesGivenForIt) {
  GatewayOptions options;
  options.systems = {{"12", "Other", "-", "10.0.0.8"},
                     {"4711", "", "-", "10.0.0.7"},
                     {"4713", "", "-", "Offline"},
                     {"04714", "Renamed", "tech2", "10.0.0.9"}};
  UseFleet(4, options);
  GatewayConnection& pc = Open();
  const std::vector<Bytes> expected = {
      gateway::ListEntryMessage({"12", "Other", "-", "10.0.0.8"}),
      gateway::ListEntryMessage({"4711", "Harbour laundry", "-", "10.0.0.7"}),
      gateway::ListEntryMessage({"4712", "Laundry 01", "-", "127.0.0.1"}),
      gateway::ListEntryMessage({"4713", "Laundry 02", "-", "Offline"}),
      gateway::ListEntryMessage({"4714", "Renamed", "tech2", "10.0.0.9"}),
      gateway::ListEntryMessage({"4715", "Laundry 04", "-", "127.0.0.1"}),
      gateway::EndOfListMessage()};
  EXPECT_EQ(Ask(pc, Login("service", "secret")), expected);

  EXPECT_EQ(Ask(pc, ConnectTo("4714")), (std::vector<Bytes>{Bytes{'B', 'E', 2}})) << "in use by tech2";
  const auto offline = Ask(pc, ConnectTo("4713"));
  ASSERT_EQ(offline.size(), 2u);
  EXPECT_EQ(offline[1], Message(std::string_view("BFOffline\0", 10)));
  EXPECT_TRUE(Ask(pc, ReadRequest).empty()) << "an offline system answers nothing";
  EXPECT_TRUE(Ask(pc, StatusRequest).empty());
  ASSERT_EQ(Ask(pc, ConnectTo("4715")).size(), 2u);
  EXPECT_EQ(ReadAll(pc).size(), ControllerMemory::Size);

  // A fleet system held by a connection is in use for the others, as the controller is.
  GatewayConnection& other = Open();
  Ask(other, Login("service", "secret"));
  EXPECT_EQ(Ask(other, ConnectTo("4715")), (std::vector<Bytes>{Bytes{'B', 'E', 2}}));

  ASSERT_EQ(Ask(pc, ConnectTo("12")).size(), 2u);
  EXPECT_TRUE(Ask(pc, ReadRequest).empty()) << "a system outside the fleet answers nothing";
}

TEST_F(GatewayFleetTest, EachFleetSystemReadsItsOwnMemory) {
  UseFleet(3);
  GatewayConnection& first = SessionOn("4712");
  GatewayConnection& third = SessionOn("4714");
  const Bytes one = ReadAll(first);
  const Bytes three = ReadAll(third);
  EXPECT_EQ(one, Copy(*directory_.FleetMemory(1)));
  EXPECT_EQ(three, Copy(*directory_.FleetMemory(3)));

  EXPECT_EQ(bytes::GetU32LE(one, layout::SerialNumber), 4712u);
  EXPECT_EQ(bytes::GetU32LE(three, layout::SerialNumber), 4714u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&one[layout::SystemName])), "Laundry 01");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&three[layout::SystemName])), "Laundry 03");
  const std::size_t log = controller_.Memory().ConsumptionLogOffset();
  const auto logOf = [log](const Bytes& memory) {
    return Bytes(memory.begin() + static_cast<std::ptrdiff_t>(log),
                 memory.begin() + static_cast<std::ptrdiff_t>(log + layout::ConsumptionLogSize));
  };
  EXPECT_NE(logOf(one), logOf(three));
  EXPECT_NE(logOf(one), logOf(Copy(controller_.Memory())));
  EXPECT_EQ(SystemNameOf(controller_.Memory()), "Harbour laundry");
}

TEST_F(GatewayFleetTest, AWriteStaysInItsSystem) {
  UseFleet(2);
  const Bytes controllerBefore = Copy(controller_.Memory());
  const Bytes secondBefore = Copy(*directory_.FleetMemory(2));
  GatewayConnection& pc = SessionOn("4712");
  const Bytes data{0x10, 0x20, 0x30};
  EXPECT_TRUE(Ask(pc, WriteBlock(0x200, data)).empty());
  EXPECT_EQ(Ask(pc, ConfirmRequest), (std::vector<Bytes>{Bytes{'C', 'S', 0x60, 0}}));

  const ControllerMemory& first = *directory_.FleetMemory(1);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), first.Bytes().begin() + 0x200));
  EXPECT_EQ(Copy(*directory_.FleetMemory(2)), secondBefore);
  EXPECT_EQ(Copy(controller_.Memory()), controllerBefore);
  EXPECT_EQ(controller_.CompletedWrites(), 0);
}

TEST_F(GatewayFleetTest, LogResetsClearOnlyTheirSystemAndTheStatusIsQuiet) {
  UseFleet(2);
  GatewayConnection& pc = SessionOn("4712");
  // The controller washes on machine 1 by now; the fleet system runs nothing.
  const SimTime washing = Milliseconds(2000 + 3 * 1500 + 100);
  controller_.Advance(washing);
  const auto status = Ask(pc, StatusRequest, washing);
  ASSERT_EQ(status.size(), 1u);
  ASSERT_EQ(status[0].size(), gateway::StatusSize);
  const link::GatewayStatus view(status[0]);
  EXPECT_EQ(view.PumpsRunning(), 0);
  EXPECT_EQ(view.MachineSignals(), 0);
  for (int m = 0; m < MachineCount; ++m) {
    EXPECT_EQ(view.Machine(m).RunningLine(), 0) << m;
    EXPECT_FALSE(view.Machine(m).TriggerOnline()) << m;
  }
  EXPECT_NE(controller_.Outputs().machineSignals, 0) << "the controller itself is washing";

  EXPECT_EQ(Ask(pc, Bytes{0x03, '&', 0, 0}), (std::vector<Bytes>{Message("C&")}));
  EXPECT_FALSE(controller_.LastReset()) << "a fleet system's reset does not reach the controller";

  const Bytes secondBefore = Copy(*directory_.FleetMemory(2));
  const Bytes controllerBefore = Copy(controller_.Memory());
  const ControllerMemory& first = *directory_.FleetMemory(1);
  const std::size_t alarms = first.AlarmLogOffset();
  const std::uint8_t alarmState = first.At(alarms + 1);
  ASSERT_NE(alarmState, 0);
  EXPECT_EQ(Ask(pc, Bytes{0x06, ' ', 0, 0}), (std::vector<Bytes>{Message("C!")}));
  EXPECT_EQ(Ask(pc, Bytes{0x07, '"', 0, 0}), (std::vector<Bytes>{Message("C#")}));
  for (std::size_t i = 0; i < layout::ConsumptionLogSize; ++i)
    ASSERT_EQ(first.At(first.ConsumptionLogOffset() + i), 0) << i;
  for (std::size_t i = ControllerMemory::AlarmStateSize; i < layout::AlarmLogSize; ++i)
    ASSERT_EQ(first.At(alarms + i), 0) << i;
  EXPECT_EQ(first.At(alarms + 1), alarmState) << "the current alarm state stays";
  EXPECT_EQ(Copy(*directory_.FleetMemory(2)), secondBefore);
  EXPECT_EQ(Copy(controller_.Memory()), controllerBefore);
}

TEST_F(GatewayFleetTest, ADropReadAimedAtOneSystemHitsOnlyThatSystem) {
  struct Read {
    std::string serial;
    std::size_t blocks;
  };
  struct Case {
    const char* name;
    std::vector<GatewayFault> faults;
    std::vector<Read> reads;  // each over a connection of its own
  };
  using enum GatewayFaultKind;
  const std::vector<Case> cases = {
      {"aimed", {{DropRead, 3, "4713"}}, {{"4712", 32}, {"4711", 32}, {"4713", 3}, {"4713", 32}}},
      {"by value", {{DropRead, 4, "004714"}}, {{"4712", 32}, {"4714", 4}}},
      {"the first that applies",
       {{DropRead, 5, "4713"}, {DropRead, 2, ""}},
       {{"4712", 2}, {"4712", 32}, {"4713", 5}, {"4713", 32}}},
      {"aimed at no listed system", {{DropRead, 1, "9999"}}, {{"4711", 32}, {"4712", 32}}},
  };
  for (const Case& c : cases) {
    GatewayOptions options;
    options.faults = c.faults;
    options.blockSize = 1024;
    UseFleet(3, options);
    for (const Read& read : c.reads) {
      GatewayConnection& pc = SessionOn(read.serial);
      EXPECT_EQ(Ask(pc, ReadRequest).size(), read.blocks) << c.name << ": " << read.serial;
      EXPECT_EQ(pc.Dropping(), read.blocks < 32) << c.name << ": " << read.serial;
      pc.Close();
    }
    connections_.clear();
  }
}

TEST_F(GatewayFleetTest, WriteFaultsAimedAtOneSystemWaitForIt) {
  GatewayOptions options;
  options.faults = {{GatewayFaultKind::WrongSum, 0, "4713"}, {GatewayFaultKind::DropWrite, 2, "4713"}};
  UseFleet(2, options);
  GatewayConnection& other = SessionOn("4712");
  Ask(other, WriteBlock(0x100, {1}));
  Ask(other, WriteBlock(0x101, {2}));
  EXPECT_FALSE(other.Dropping());
  EXPECT_EQ(Ask(other, ConfirmRequest)[0], (Bytes{'C', 'S', 3, 0}));

  GatewayConnection& aimed = SessionOn("4713");
  Ask(aimed, WriteBlock(0x100, {1}));
  Ask(aimed, WriteBlock(0x101, {2}));
  EXPECT_TRUE(aimed.Dropping());
  aimed.Close();
  GatewayConnection& again = SessionOn("4713");
  Ask(again, WriteBlock(0x100, {1, 2}));
  EXPECT_EQ(Ask(again, ConfirmRequest)[0], (Bytes{'C', 'S', 4, 0})) << "the wrong sum is this system's";
}

}  // namespace
}  // namespace qd::sim
