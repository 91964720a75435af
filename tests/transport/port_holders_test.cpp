#include "transport/port_holders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "transport/port_access.h"
#include "transport/transport_test_support.h"

namespace qd::transport {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// A fake /proc with processes, their names and descriptors, and a lock folder beside it.
class FakeSystem {
 public:
  FakeSystem() {
    paths.procRoot = dir_.filePath("proc");
    paths.lockFolders = {dir_.filePath("lock")};
    paths.udevDataRoot = dir_.filePath("udev");
    QDir().mkpath(paths.lockFolders.front());
    QDir().mkpath(paths.udevDataRoot);
  }

  void AddProcess(qint64 pid, const QByteArray& name, const QStringList& openFiles = {}) {
    const QString folder = paths.procRoot + "/" + QString::number(pid);
    ASSERT_TRUE(QDir().mkpath(folder + "/fd"));
    ASSERT_TRUE(QDir().mkpath(folder + "/fdinfo"));
    WriteFile(folder + "/comm", name + "\n");
    int fd = 3;
    for (const QString& target : openFiles)
      ASSERT_TRUE(QFile::link(target, folder + "/fd/" + QString::number(fd++)));
  }
  void WriteFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
  }
  QString LockPath(const QString& name) const { return paths.lockFolders.front() + "/" + name; }

  SystemPaths paths;

 private:
  QTemporaryDir dir_;
};

TEST(PortHoldersTest, FindsTheProcessesWithTheDeviceOpen) {
  FakeSystem system;
  system.AddProcess(612, "ModemManager", {"/dev/null", "/dev/ttyUSB0"});
  system.AddProcess(77, "minicom", {"/dev/ttyUSB0"});
  system.AddProcess(80, "bash", {"/dev/pts/1"});
  system.AddProcess(QCoreApplication::applicationPid(), "self", {"/dev/ttyUSB0"});

  EXPECT_THAT(ProcessesHolding("/dev/ttyUSB0", system.paths),
              ElementsAre(ProcessInfo{77, "minicom"}, ProcessInfo{612, "ModemManager"}))
      << "by pid, without this process";
  EXPECT_THAT(ProcessesHolding("/dev/ttyUSB1", system.paths), IsEmpty());
  EXPECT_EQ(FindProcess("ModemManager", system.paths), (ProcessInfo{612, "ModemManager"}));
  EXPECT_FALSE(FindProcess("udevd", system.paths).has_value());
}

TEST(PortHoldersTest, TheFarEndOfAPseudoTerminalHoldsNothing) {
  FakeSystem system;
  system.AddProcess(50, "qd310sim", {"/dev/ptmx", "/dev/pts/4"});
  system.WriteFile(system.paths.procRoot + "/50/fdinfo/3", "pos:\t0\nflags:\t02\ntty-index:\t4\n");
  system.AddProcess(52, "screen", {"/dev/ptmx", "/dev/pts/4"});
  system.WriteFile(system.paths.procRoot + "/52/fdinfo/3", "tty-index:\t5\n");  // another terminal's master

  EXPECT_THAT(ProcessesHolding("/dev/pts/4", system.paths), ElementsAre(ProcessInfo{52, "screen"}));
}

TEST(PortHoldersTest, ReadsLockFilePids) {
  EXPECT_EQ(LockFilePid("       612\n"), 612) << "HDB layout";
  EXPECT_EQ(LockFilePid("612\nqdsystem\nhost\n"), 612) << "QLockFile layout";
  for (const QByteArray& bad :
       {QByteArray(), QByteArray("\n612\n"), QByteArray("0\n"), QByteArray("-5"), QByteArray("61x2"),
        QByteArray("\x64\x02\x00\x00", 4), QByteArray("99999999999999999999999")}) {
    EXPECT_FALSE(LockFilePid(bad).has_value()) << bad.toHex().toStdString();
  }
}

TEST(PortHoldersTest, ALiveLockCountsAndAStaleOneDoesNot) {
  FakeSystem system;
  system.AddProcess(77, "minicom");
  system.WriteFile(system.LockPath("LCK..ttyUSB0"), "        77\n");
  system.WriteFile(system.LockPath("LCK..ttyUSB1"), "        78\n");  // no process 78
  system.WriteFile(system.LockPath("LCK..pts_4"), "77\n");

  const auto lock = FindPortLock("/dev/ttyUSB0", system.paths);
  ASSERT_TRUE(lock.has_value());
  EXPECT_EQ(lock->path, system.LockPath("LCK..ttyUSB0"));
  EXPECT_EQ(lock->owner, (ProcessInfo{77, "minicom"}));
  EXPECT_FALSE(FindPortLock("/dev/ttyUSB1", system.paths).has_value()) << "stale";
  EXPECT_TRUE(FindPortLock("/dev/pts/4", system.paths).has_value()) << "'/' below /dev as '_'";
}

TEST(PortHoldersTest, ReadsTheModemManagerFlagFromUdev) {
  FakeSystem system;
  EXPECT_FALSE(IgnoredByModemManager("/dev/null", system.paths).has_value()) << "no record";
  system.WriteFile(system.paths.udevDataRoot + "/c1:3", "I:123\nE:ID_VENDOR_ID=0403\n");
  EXPECT_EQ(IgnoredByModemManager("/dev/null", system.paths), false);
  system.WriteFile(system.paths.udevDataRoot + "/c1:3", "E:ID_MM_DEVICE_IGNORE=1\nG:systemd\n");
  EXPECT_EQ(IgnoredByModemManager("/dev/null", system.paths), true);
  EXPECT_FALSE(IgnoredByModemManager(system.paths.udevDataRoot + "/c1:3", system.paths).has_value())
      << "not a character device";
}

TEST(PortAccessTest, TellsMissingRefusedAndOpenDevices) {
  test::PseudoTerminal terminal;
  ASSERT_TRUE(terminal.IsValid());
  EXPECT_EQ(ProbePortAccess(terminal.SlavePath()).access, PortAccess::Ok);
  EXPECT_EQ(ProbePortAccess("/dev/does-not-exist").access, PortAccess::NotFound);

  QTemporaryDir dir;
  const QString locked = dir.filePath("locked");
  QFile(locked).open(QIODevice::WriteOnly);
  QFile::setPermissions(locked, QFileDevice::ReadOwner);
  if (::geteuid() != 0) {
    EXPECT_EQ(ProbePortAccess(locked).access, PortAccess::PermissionDenied);
    const auto group = DeviceGroupOf(locked);
    ASSERT_TRUE(group.has_value());
    EXPECT_EQ(group->membership, GroupMembership::InSession) << "a file of our own carries our group";
  }
}

}  // namespace
}  // namespace qd::transport
