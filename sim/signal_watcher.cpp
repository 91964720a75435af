#include "signal_watcher.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace qd::sim {

namespace {

// One process, one pipe: the handler cannot reach an object.
int pipeFds[2] = {-1, -1};

void OnSignal(int signal) {
  const int saved = errno;
  const auto byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
  errno = saved;
}

}  // namespace

SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent) {}

SignalWatcher::~SignalWatcher() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  for (int& fd : pipeFds) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

bool SignalWatcher::Install(QString& error) {
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
    error = QString("cannot make a pipe: %1").arg(std::strerror(errno));
    return false;
  }
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  if (sigaction(SIGINT, &action, nullptr) != 0 || sigaction(SIGTERM, &action, nullptr) != 0) {
    error = QString("cannot install the signal handlers: %1").arg(std::strerror(errno));
    return false;
  }
  notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalWatcher::ReadPipe);
  return true;
}

void SignalWatcher::ReadPipe() {
  unsigned char byte = 0;
  int last = 0;
  while (::read(pipeFds[0], &byte, 1) == 1)
    last = byte;
  if (last != 0) emit Stop(last);
}

}  // namespace qd::sim
