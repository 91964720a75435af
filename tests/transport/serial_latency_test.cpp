#include "transport/serial_latency.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "transport/transport_test_support.h"

namespace qd::transport {
namespace {

// A fake sysfs tree in a temporary folder.
class FakeSysfs {
 public:
  QString Root() const { return dir_.path(); }

  void Write(const QString& relativePath, const QByteArray& contents) {
    const QString path = dir_.filePath(relativePath);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
  }

 private:
  QTemporaryDir dir_;
};

TEST(SerialLatencyTest, ReadsTheUsbSerialDeviceOrTheTtyParent) {
  FakeSysfs sysfs;
  sysfs.Write("bus/usb-serial/devices/ttyUSB0/latency_timer", "16\n");
  sysfs.Write("class/tty/ttyUSB1/device/latency_timer", "1\n");

  const auto first = FindLatencyTimer("ttyUSB0", sysfs.Root());
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->milliseconds, 16);
  EXPECT_EQ(first->path, sysfs.Root() + "/bus/usb-serial/devices/ttyUSB0/latency_timer");
  EXPECT_EQ(FindLatencyTimer("/dev/ttyUSB1", sysfs.Root())->milliseconds, 1) << "a device path";
}

TEST(SerialLatencyTest, FollowsSymbolicLinksToTheTerminal) {
  FakeSysfs sysfs;
  sysfs.Write("bus/usb-serial/devices/ttyUSB3/latency_timer", "8");
  QTemporaryDir devices;
  const QString terminal = devices.filePath("ttyUSB3");
  QFile(terminal).open(QIODevice::WriteOnly);
  const QString byId = devices.filePath("usb-FTDI_FT232R_USB_UART_A10KZ3JX-if00-port0");
  ASSERT_TRUE(QFile::link(terminal, byId));

  EXPECT_EQ(TtyNameOf(byId), "ttyUSB3");
  const auto timer = FindLatencyTimer(byId, sysfs.Root());
  ASSERT_TRUE(timer.has_value());
  EXPECT_EQ(timer->milliseconds, 8);
}

TEST(SerialLatencyTest, NothingWhenUnknownOrNotANumber) {
  FakeSysfs sysfs;
  sysfs.Write("bus/usb-serial/devices/ttyUSB0/latency_timer", "fast\n");
  sysfs.Write("bus/usb-serial/devices/ttyUSB1/latency_timer", "300\n");
  sysfs.Write("bus/usb-serial/devices/ttyUSB2/latency_timer", "");
  sysfs.Write("class/tty/ttyS0/uevent", "MAJOR=4\n");

  for (const char* port : {"ttyUSB0", "ttyUSB1", "ttyUSB2", "ttyS0", "ttyACM0", "None", "", "/dev/.."})
    EXPECT_FALSE(FindLatencyTimer(port, sysfs.Root()).has_value()) << port;
  EXPECT_FALSE(FindLatencyTimer("ttyUSB0", QString()).has_value()) << "no sysfs at all";
}

TEST(SerialLatencyTest, TheEnvironmentPointsAtAnotherTree) {
  FakeSysfs sysfs;
  sysfs.Write("bus/usb-serial/devices/ttyUSB0/latency_timer", "16");
  qputenv(SysfsRootVariable, sysfs.Root().toLocal8Bit());
  const QString root = SysfsRoot();
  const auto timer = FindLatencyTimer("ttyUSB0");
  qunsetenv(SysfsRootVariable);

  EXPECT_EQ(root, sysfs.Root());
  ASSERT_TRUE(timer.has_value());
  EXPECT_EQ(timer->milliseconds, 16);
}

}  // namespace
}  // namespace qd::transport
