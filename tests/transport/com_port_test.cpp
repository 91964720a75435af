#include "transport/com_port.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <vector>

#include "transport/transport_test_support.h"

namespace qd::transport {
namespace {

using test::PseudoTerminal;
using test::WaitUntil;

QByteArray EveryByteValue() {
  QByteArray bytes;
  for (int value = 0; value < 256; ++value)
    bytes.append(static_cast<char>(value));
  return bytes;
}

TEST(PortSystemLocationTest, BareNamesAreDevicesAndPathsAreKept) {
  EXPECT_EQ(PortSystemLocation("ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(PortSystemLocation("/dev/pts/7"), "/dev/pts/7");
  EXPECT_EQ(PortSystemLocation("sim/port"), QDir::current().absoluteFilePath("sim/port"));
}

TEST(PortSystemLocationTest, NoneAndEmptyMeanNoPort) {
  EXPECT_TRUE(PortSystemLocation("None").isEmpty());
  EXPECT_TRUE(PortSystemLocation("").isEmpty());
}

// The port's own contract, independent of any device.
TEST(ComPortTest, FailsSilentlyWithoutADevice) {
  ComPort port;
  int closedByError = 0;
  QObject::connect(&port, &ComPort::ClosedByError, [&] { ++closedByError; });
  const std::vector<std::uint8_t> bytes{0x02, 0x41, 0x03};

  EXPECT_EQ(port.DeviceName(), "COM1");
  EXPECT_FALSE(port.Write(bytes)) << "never opened";

  ASSERT_TRUE(port.SetDeviceName("/nonexistent/ttyQD0"));
  EXPECT_NO_THROW(EXPECT_FALSE(port.Open()));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_FALSE(port.Write(bytes));

  ASSERT_TRUE(port.SetDeviceName(NoPortName));
  EXPECT_FALSE(port.Open());
  EXPECT_FALSE(port.IsOpen());

  port.Close();
  port.Close();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(closedByError, 0) << "a port that never opened does not report a loss";
}

class ComPortPtyTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.IsValid());
    QObject::connect(&port_, &ComPort::BytesReceived, [this](const QByteArray& bytes) {
      deliveries_.push_back(bytes);
      received_ += bytes;
    });
    QObject::connect(&port_, &ComPort::ClosedByError, [this] { ++closedByError_; });
  }

  bool OpenOnPty() { return port_.SetDeviceName(pty_.SlavePath()) && port_.Open(); }

  PseudoTerminal pty_;
  ComPort port_;
  std::vector<QByteArray> deliveries_;
  QByteArray received_;
  int closedByError_ = 0;
};

TEST_F(ComPortPtyTest, WriteCopiesTheBytesAndSendsThemUnchanged) {
  ASSERT_TRUE(OpenOnPty());
  const QByteArray expected = EveryByteValue();  // CR, LF, XON, XOFF, ^C and 0xFF among them
  std::vector<std::uint8_t> buffer(expected.begin(), expected.end());

  EXPECT_TRUE(port_.Write(buffer));
  std::fill(buffer.begin(), buffer.end(), 0x55);  // the caller may reuse its buffer at once

  ASSERT_TRUE(WaitUntil([&] { return pty_.Received().size() >= expected.size(); }));
  EXPECT_EQ(pty_.Received(), expected);
  EXPECT_EQ(port_.BytesToWrite(), 0);
}

TEST_F(ComPortPtyTest, ConsecutiveWritesKeepTheirOrder) {
  ASSERT_TRUE(OpenOnPty());
  const std::vector<std::uint8_t> first{0x02, 0x40, 0x06, 0x03};
  const std::vector<std::uint8_t> second{0x02, 0x41, 0x00, 0x03};
  EXPECT_TRUE(port_.Write(first));
  EXPECT_TRUE(port_.Write(second));
  EXPECT_TRUE(port_.Write({})) << "nothing to send is not a failure";

  ASSERT_TRUE(WaitUntil([&] { return pty_.Received().size() >= 8; }));
  EXPECT_EQ(pty_.Received(), QByteArray("\x02\x40\x06\x03\x02\x41\x00\x03", 8));
}

TEST_F(ComPortPtyTest, ReceivesEveryByteValueUnchangedWithoutEcho) {
  ASSERT_TRUE(OpenOnPty());
  const QByteArray expected = EveryByteValue();
  pty_.Send(expected);

  ASSERT_TRUE(WaitUntil([&] { return received_.size() >= expected.size(); }));
  EXPECT_EQ(received_, expected);
  QCoreApplication::processEvents();
  EXPECT_TRUE(pty_.Received().isEmpty()) << "the terminal echoed: " << pty_.Received().toHex().constData();
}

TEST_F(ComPortPtyTest, DeliversAllWaitingBytesInOneCall) {
  ASSERT_TRUE(OpenOnPty());
  for (int piece = 0; piece < 10; ++piece)
    pty_.Send(QByteArray(10, static_cast<char>('0' + piece)));
  ASSERT_TRUE(pty_.WaitForBytesAtSlave(100));

  ASSERT_TRUE(WaitUntil([&] { return !deliveries_.empty(); }));
  ASSERT_EQ(deliveries_.size(), 1u);
  EXPECT_EQ(deliveries_.front().size(), 100);
}

TEST(ComPortOpenTest, DiscardsBytesThatWaitedBeforeOpening) {
  PseudoTerminal pty(PseudoTerminal::Mode::Raw);
  ASSERT_TRUE(pty.IsValid());
  pty.Send("stale");
  ASSERT_TRUE(pty.WaitForBytesAtSlave(5));

  ComPort port;  // closes before the terminal goes away
  QByteArray received;
  QObject::connect(&port, &ComPort::BytesReceived, [&](const QByteArray& bytes) { received += bytes; });
  ASSERT_TRUE(port.SetDeviceName(pty.SlavePath()));
  ASSERT_TRUE(port.Open());
  pty.Send("fresh");

  ASSERT_TRUE(WaitUntil([&] { return received.size() >= 5; }));
  EXPECT_EQ(received, "fresh");
}

TEST_F(ComPortPtyTest, OpensExclusivelyUntilClosed) {
  ASSERT_TRUE(OpenOnPty());
  ComPort second;
  ASSERT_TRUE(second.SetDeviceName(pty_.SlavePath()));
  EXPECT_FALSE(second.Open()) << "the device is held by the first port";
  EXPECT_FALSE(second.IsOpen());
  EXPECT_TRUE(port_.IsOpen());

  port_.Close();
  EXPECT_TRUE(second.Open()) << "closing gives the device back";
  const std::vector<std::uint8_t> bytes{0x15};
  EXPECT_TRUE(second.Write(bytes));
  ASSERT_TRUE(WaitUntil([&] { return !pty_.Received().isEmpty(); }));
  EXPECT_EQ(pty_.Received(), "\x15");
}

TEST_F(ComPortPtyTest, CloseIsSafeTwiceAndTheSamePortOpensAgain) {
  ASSERT_TRUE(OpenOnPty());
  EXPECT_TRUE(port_.Open()) << "opening an open port keeps it open";
  port_.Close();
  port_.Close();
  EXPECT_FALSE(port_.IsOpen());
  const std::vector<std::uint8_t> bytes{0x06};
  EXPECT_FALSE(port_.Write(bytes));

  ASSERT_TRUE(port_.Open());
  EXPECT_TRUE(port_.Write(bytes));
  pty_.Send("\x17");
  ASSERT_TRUE(WaitUntil([&] { return !pty_.Received().isEmpty() && !received_.isEmpty(); }));
  EXPECT_EQ(pty_.Received(), "\x06");
  EXPECT_EQ(received_, "\x17");
  EXPECT_EQ(closedByError_, 0);
}

TEST_F(ComPortPtyTest, DeviceNameChangesOnlyWhileClosed) {
  ASSERT_TRUE(OpenOnPty());
  EXPECT_FALSE(port_.SetDeviceName("ttyUSB7"));
  EXPECT_EQ(port_.DeviceName(), pty_.SlavePath());
  EXPECT_TRUE(port_.IsOpen());

  port_.Close();
  EXPECT_TRUE(port_.SetDeviceName("ttyUSB7"));
  EXPECT_EQ(port_.DeviceName(), "ttyUSB7");
}

TEST_F(ComPortPtyTest, UnpluggedAdapterClosesThePortOnce) {
  ASSERT_TRUE(OpenOnPty());
  pty_.Unplug();

  ASSERT_TRUE(WaitUntil([&] { return closedByError_ > 0; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(closedByError_, 1);
  EXPECT_FALSE(port_.IsOpen());
  const std::vector<std::uint8_t> bytes{0x02};
  EXPECT_FALSE(port_.Write(bytes));
  port_.Close();
  EXPECT_FALSE(port_.Open()) << "the device is gone";
  EXPECT_EQ(closedByError_, 1);
}

TEST_F(ComPortPtyTest, UnplugWithAWritePendingClosesThePortOnce) {
  ASSERT_TRUE(OpenOnPty());
  const std::vector<std::uint8_t> bytes(64, 0x5A);
  EXPECT_TRUE(port_.Write(bytes));  // still in the port's buffer: the event loop has not run
  pty_.Unplug();

  ASSERT_TRUE(WaitUntil([&] { return closedByError_ > 0; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(closedByError_, 1);
  EXPECT_FALSE(port_.IsOpen());
  EXPECT_EQ(port_.BytesToWrite(), 0);
}

}  // namespace
}  // namespace qd::transport
