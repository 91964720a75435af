#include "transport/connection_diagnosis.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "transport/transport_test_support.h"

namespace qd::transport {

void PrintTo(const Finding& finding, std::ostream* out) {
  *out << static_cast<int>(finding.severity) << " " << finding.text.toStdString();
}

namespace {

using testing::ElementsAre;

const QString Device = QStringLiteral("/dev/ttyUSB0");

PortFacts FreePort() {
  PortFacts facts;
  facts.device = Device;
  facts.access = {PortAccess::Ok, {}};
  return facts;
}

Finding Ok(const char* text) {
  return {Severity::Ok, QString::fromUtf8(text)};
}
Finding Warning(const char* text) {
  return {Severity::Warning, QString::fromUtf8(text)};
}
Finding Problem(const char* text) {
  return {Severity::Problem, QString::fromUtf8(text)};
}

TEST(DiagnosePortTest, AFreePortWithFramesAndAFastAdapterPasses) {
  PortFacts facts = FreePort();
  facts.latency = LatencyTimer{1, "/sys/bus/usb-serial/devices/ttyUSB0/latency_timer"};
  facts.frames = FramesHeard{42, 0, 0, 3000};
  const auto findings = DiagnosePort(facts);
  EXPECT_THAT(findings, ElementsAre(Ok("/dev/ttyUSB0: can be opened"), Ok("/dev/ttyUSB0: latency timer 1 ms"),
                                    Ok("/dev/ttyUSB0: frames from the controller: 42 in 3 s")));
  EXPECT_FALSE(StopsConnection(findings));
}

TEST(DiagnosePortTest, AMissingDeviceSaysOnlyThat) {
  PortFacts facts = FreePort();
  facts.access = {PortAccess::NotFound, {}};
  facts.latency = LatencyTimer{16, "x"};
  EXPECT_THAT(DiagnosePort(facts),
              ElementsAre(Problem("/dev/ttyUSB0: no such device: check the name; 'qdtool "
                                  "ports --details' lists serial ports")));
}

TEST(DiagnosePortTest, PermissionAdviceFollowsTheGroupMembership) {
  PortFacts facts = FreePort();
  facts.access = {PortAccess::PermissionDenied, {}};
  const auto advice = [&facts](std::optional<DeviceGroup> group) {
    facts.group = group;
    const auto findings = DiagnosePort(facts);
    EXPECT_TRUE(StopsConnection(findings));
    return findings.at(0).text;
  };
  EXPECT_EQ(
      advice(DeviceGroup{"dialout", GroupMembership::NotMember}),
      "/dev/ttyUSB0: permission denied: add yourself to the dialout group (sudo usermod -aG dialout $USER) "
      "and log in again");
  EXPECT_EQ(
      advice(DeviceGroup{"uucp", GroupMembership::NotInSession}),
      "/dev/ttyUSB0: permission denied: you are in the uucp group, but this session started before that: "
      "log in again");
  EXPECT_EQ(
      advice(DeviceGroup{"dialout", GroupMembership::InSession}),
      "/dev/ttyUSB0: permission denied: you are in the dialout group, but the device's mode shuts the group "
      "out: install the udev rule");
  EXPECT_EQ(
      advice(std::nullopt),
      "/dev/ttyUSB0: permission denied: ask for read and write access to the device, or install the udev "
      "rule");
}

TEST(DiagnosePortTest, NamesWhoHoldsThePort) {
  PortFacts facts = FreePort();
  facts.access = {PortAccess::Busy, {}};
  facts.holders = {{612, "ModemManager"}, {77, "minicom"}};
  facts.lock = PortLock{"/var/lock/LCK..ttyUSB0", {77, "minicom"}};
  facts.modemManager = ProcessInfo{612, "ModemManager"};
  facts.ignoredByModemManager = false;
  EXPECT_THAT(
      DiagnosePort(facts),
      ElementsAre(Problem("/dev/ttyUSB0: held by ModemManager (pid 612): install the udev rule or stop "
                          "ModemManager"),
                  Problem("/dev/ttyUSB0: held by minicom (pid 77): close that program")))
      << "the lock's owner and ModemManager once each";

  facts.holders.clear();
  facts.modemManager.reset();
  EXPECT_THAT(
      DiagnosePort(facts),
      ElementsAre(Problem("/dev/ttyUSB0: locked by minicom (pid 77) (lock file /var/lock/LCK..ttyUSB0): "
                          "close that program")))
      << "another user's program, seen through its lock file";

  facts.lock.reset();
  EXPECT_THAT(DiagnosePort(facts),
              ElementsAre(Problem("/dev/ttyUSB0: busy: another program has it open (one this "
                                  "user cannot see): close it")));
}

TEST(DiagnosePortTest, AnOpenablePortHeldOpenElsewhereStillStops) {
  PortFacts facts = FreePort();
  facts.holders = {{900, ""}};
  const auto findings = DiagnosePort(facts);
  EXPECT_THAT(findings,
              ElementsAre(Ok("/dev/ttyUSB0: can be opened"),
                          Problem("/dev/ttyUSB0: held by a process (pid 900): close that program")));
  EXPECT_TRUE(StopsConnection(findings));
}

TEST(DiagnosePortTest, WarnsOfModemManagerOnlyWhenUdevSaysItProbesTheAdapter) {
  PortFacts facts = FreePort();
  facts.modemManager = ProcessInfo{612, "ModemManager"};
  for (const std::optional<bool> ignored : {std::optional<bool>(true), std::optional<bool>()}) {
    facts.ignoredByModemManager = ignored;
    EXPECT_EQ(DiagnosePort(facts).size(), 1u);
  }
  facts.ignoredByModemManager = false;
  const auto findings = DiagnosePort(facts);
  EXPECT_EQ(findings.back(),
            Warning("/dev/ttyUSB0: ModemManager (pid 612) runs and may probe the adapter: install "
                    "the udev rule or stop ModemManager"));
  EXPECT_FALSE(StopsConnection(findings));
}

TEST(DiagnosePortTest, ASlowLatencyTimerWarnsWithTheFix) {
  PortFacts facts = FreePort();
  facts.latency = LatencyTimer{16, "/sys/bus/usb-serial/devices/ttyUSB0/latency_timer"};
  const auto findings = DiagnosePort(facts);
  EXPECT_EQ(findings.back(),
            Warning("/dev/ttyUSB0: latency timer 16 ms: install the udev rule, or echo 1 | sudo "
                    "tee /sys/bus/usb-serial/devices/ttyUSB0/latency_timer"));
  EXPECT_FALSE(StopsConnection(findings)) << "slow answers, but answers";
}

TEST(DiagnosePortTest, SilenceAndDamagedFramesStop) {
  PortFacts facts = FreePort();
  facts.frames = FramesHeard{0, 0, 17, 3000};
  EXPECT_EQ(DiagnosePort(facts).back(),
            Problem("/dev/ttyUSB0: no frames from the controller within 3 s: check the "
                    "bus wiring and that the controller is on"));
  facts.frames = FramesHeard{0, 5, 0, 500};
  EXPECT_EQ(DiagnosePort(facts).back(),
            Problem("/dev/ttyUSB0: only frames with a bad checksum (5) within 0.5 s: "
                    "check the bus wiring and its termination"));
  facts.frames = FramesHeard{9, 2, 0, 1500};
  EXPECT_EQ(DiagnosePort(facts).back(),
            Ok("/dev/ttyUSB0: frames from the controller: 9 in 1.5 s (2 with a bad checksum)"));
}

TEST(DiagnoseGatewayTest, EveryOutcomeSaysWhatToDo) {
  GatewayFacts facts{"gateway.example.com:14011", GatewayReach::Accepted, {}, 5000};
  EXPECT_EQ(DiagnoseGateway(facts), Ok("gateway.example.com:14011: the gateway accepts connections"));
  facts.reach = GatewayReach::HostNotFound;
  EXPECT_EQ(DiagnoseGateway(facts),
            Problem("gateway.example.com:14011: unreachable (host not found): check the "
                    "address and the network connection"));
  facts.reach = GatewayReach::Refused;
  EXPECT_EQ(DiagnoseGateway(facts),
            Problem("gateway.example.com:14011: refused: nothing listens there; check the "
                    "address and the port (14011 unless given)"));
  facts.reach = GatewayReach::NoAnswer;
  EXPECT_EQ(DiagnoseGateway(facts),
            Problem("gateway.example.com:14011: no answer within 5 s: check the network "
                    "connection and any firewall between"));
  facts.reach = GatewayReach::Failed;
  facts.errorText = "Network unreachable";
  EXPECT_EQ(DiagnoseGateway(facts),
            Problem("gateway.example.com:14011: unreachable (Network unreachable): check "
                    "the network connection"));
}

TEST(DiagnoseTest, NoAdapterStops) {
  EXPECT_TRUE(StopsConnection({NoAdapterFound()}));
  EXPECT_EQ(NoAdapterFound().text,
            "no USB serial adapter found: plug the adapter in; 'qdtool ports --details' lists serial ports");
  EXPECT_FALSE(StopsConnection({}));
}

}  // namespace
}  // namespace qd::transport
