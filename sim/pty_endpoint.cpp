#include "pty_endpoint.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace qd::sim {

namespace {

bool MakeRaw(int fd) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) return false;
  cfmakeraw(&settings);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &settings) == 0;
}

QString Reason(const char* what) {
  return QString("%1: %2").arg(what, std::strerror(errno));
}

}  // namespace

PtyEndpoint::PtyEndpoint(QObject* parent) : QObject(parent) {}

PtyEndpoint::~PtyEndpoint() {
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
}

bool PtyEndpoint::Open(QString& error) {
  std::array<char, 256> name{};
  if (openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0) {
    error = Reason("cannot open a pseudo-terminal");
    return false;
  }
  if (!MakeRaw(master_) || !MakeRaw(slave_)) {
    error = Reason("cannot put the pseudo-terminal into raw mode");
    return false;
  }
  const int flags = fcntl(master_, F_GETFL);
  if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
    error = Reason("cannot make the pseudo-terminal non-blocking");
    return false;
  }
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  fcntl(slave_, F_SETFD, FD_CLOEXEC);
  slavePath_ = QString::fromLocal8Bit(name.data());
  notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &PtyEndpoint::ReadAvailable);
  return true;
}

void PtyEndpoint::ReadAvailable() {
  std::array<char, 4096> buffer{};
  QByteArray received;
  for (;;) {
    const ssize_t n = ::read(master_, buffer.data(), buffer.size());
    if (n > 0) {
      received.append(buffer.data(), static_cast<qsizetype>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    break;  // EAGAIN: all read; EIO cannot happen while the slave is held open
  }
  if (!received.isEmpty()) emit Received(received);
}

std::size_t PtyEndpoint::Write(std::span<const std::uint8_t> bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + written, bytes.size() - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  return written;
}

void PtyEndpoint::DiscardUnread() {
  // The PC's unread input is the slave's input queue.
  if (slave_ >= 0) tcflush(slave_, TCIFLUSH);
}

}  // namespace qd::sim
