#include "transport/transport_test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <array>
#include <cerrno>

namespace qd::transport::test {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  QDeadlineTimer deadline(limit);
  // Wakes the blocking event loop once the limit has passed.
  QTimer alarm;
  alarm.setSingleShot(true);
  alarm.start(limit);
  while (!done()) {
    if (deadline.hasExpired()) return done();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

PseudoTerminal::PseudoTerminal(Mode mode) {
  termios settings{};
  termios* initial = nullptr;
  if (mode == Mode::Raw) {
    ::cfmakeraw(&settings);
    initial = &settings;
  }
  std::array<char, 256> name{};
  if (::openpty(&master_, &slave_, name.data(), initial, nullptr) != 0) {
    master_ = slave_ = -1;
    return;
  }
  slavePath_ = QString::fromLocal8Bit(name.data());
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadMaster(); });
}

PseudoTerminal::~PseudoTerminal() {
  Unplug();
  if (slave_ >= 0) ::close(slave_);
}

void PseudoTerminal::Send(const QByteArray& bytes) {
  qsizetype sent = 0;
  while (master_ >= 0 && sent < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent));
    if (n < 0 && errno != EAGAIN && errno != EINTR) return;
    if (n > 0) sent += n;
  }
}

bool PseudoTerminal::WaitForBytesAtSlave(int count) {
  const QDeadlineTimer deadline(std::chrono::seconds(5));
  int waiting = 0;
  while (::ioctl(slave_, FIONREAD, &waiting) == 0 && waiting < count) {
    if (deadline.hasExpired()) return false;
    pollfd slave{slave_, POLLIN, 0};
    ::poll(&slave, 1, 1);  // returns at once when anything waits; the count grows as the pty delivers
  }
  return waiting >= count;
}

void PseudoTerminal::Unplug() {
  notifier_.reset();
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

void PseudoTerminal::ReadMaster() {
  std::array<char, 512> buffer{};
  for (;;) {
    const ssize_t n = ::read(master_, buffer.data(), buffer.size());
    if (n <= 0) return;
    received_.append(buffer.data(), n);
  }
}

}  // namespace qd::transport::test
