#include "transport/port_discovery.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <optional>

#include "transport/transport_test_support.h"

namespace qd::transport {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

PortCandidate Ftdi(const char* name, bool openable = true) {
  return {name, FtdiVendorId, openable};
}

TEST(SelectAdapterPortsTest, OrdersByTheNumberAtTheEnd) {
  EXPECT_THAT(SelectAdapterPorts({Ftdi("COM12"), Ftdi("COM3")}), ElementsAre("COM3", "COM12"));
  EXPECT_THAT(SelectAdapterPorts({Ftdi("ttyUSB10"), Ftdi("ttyUSB2"), Ftdi("ttyUSB1")}),
              ElementsAre("ttyUSB1", "ttyUSB2", "ttyUSB10"));
  EXPECT_THAT(SelectAdapterPorts({Ftdi("ttyUSB0"), Ftdi("ttyACM0")}), ElementsAre("ttyACM0", "ttyUSB0"))
      << "equal numbers by name";
}

TEST(SelectAdapterPortsTest, NamesWithoutANumberComeLastAlphabetically) {
  EXPECT_THAT(SelectAdapterPorts({Ftdi("zeta"), Ftdi("COM20"), Ftdi("alpha"), Ftdi("ttyUSB1")}),
              ElementsAre("ttyUSB1", "COM20", "alpha", "zeta"));
}

TEST(SelectAdapterPortsTest, ListsEachPortOnce) {
  EXPECT_THAT(SelectAdapterPorts({Ftdi("COM3"), Ftdi("COM4"), Ftdi("COM3")}), ElementsAre("COM3", "COM4"));
  EXPECT_THAT(SelectAdapterPorts({Ftdi("COM5", false), Ftdi("COM5")}), ElementsAre("COM5"))
      << "one instance that opened is enough";
}

TEST(SelectAdapterPortsTest, LeavesOutOtherAdaptersAndPortsInUse) {
  const std::vector<PortCandidate> candidates{
      {"COM1", std::nullopt, true},  // a built-in port: no USB vendor
      {"COM2", 0x067B, true},        // another maker's adapter
      Ftdi("COM7", false),           // held by another program
      Ftdi("COM9"),
  };
  EXPECT_THAT(SelectAdapterPorts(candidates), ElementsAre("COM9"));
  EXPECT_THAT(SelectAdapterPorts({}), IsEmpty());
}

TEST(SelectAdapterPortsTest, KeepsTheLowestNumbersUpToTheLimit) {
  std::vector<PortCandidate> candidates;
  for (int number = MaxListedPorts + 10; number >= 1; --number)
    candidates.push_back({QStringLiteral("COM%1").arg(number), FtdiVendorId, true});

  const QStringList ports = SelectAdapterPorts(candidates);
  ASSERT_EQ(ports.size(), MaxListedPorts);
  EXPECT_EQ(ports.front(), "COM1");
  EXPECT_EQ(ports.back(), QStringLiteral("COM%1").arg(MaxListedPorts));
}

TEST(PortDiscoveryTest, ReportsOnceOnTheOwnersThread) {
  PortDiscovery discovery;
  std::vector<QStringList> reports;
  QThread* reportThread = nullptr;
  // No context object: the lambda runs on whichever thread emits.
  QObject::connect(&discovery, &PortDiscovery::PortsFound, [&](const QStringList& ports) {
    reports.push_back(ports);
    reportThread = QThread::currentThread();
  });

  discovery.Start();
  discovery.Start();
  ASSERT_TRUE(test::WaitUntil([&] { return !reports.empty(); }));
  QCoreApplication::processEvents();
  EXPECT_EQ(reports.size(), 1u);
  EXPECT_EQ(reportThread, QCoreApplication::instance()->thread());
  EXPECT_EQ(reports.front(), ScanPorts()) << "the worker reports what a synchronous scan finds";
}

TEST(PortDiscoveryTest, DestroyedWhileScanningReportsNothing) {
  int reports = 0;
  {
    PortDiscovery discovery;
    QObject::connect(&discovery, &PortDiscovery::PortsFound, [&] { ++reports; });
    discovery.Start();
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(reports, 0);
}

}  // namespace
}  // namespace qd::transport
