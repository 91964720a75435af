#include "gateway_password.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace qdtool {

namespace {

// Closes the descriptor it was given, if it is one.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

std::string ErrnoText() {
  return std::strerror(errno);
}

// Up to the first line break; CR, LF and CR LF all end a line.
std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

// The whole content, or more than PasswordLimit bytes of it (the caller refuses those).
std::string ReadAtMostLimit(int fd, const std::string& path) {
  std::string content;
  std::array<char, 512> buffer{};
  while (content.size() <= PasswordLimit) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw UsageError("cannot read the password file " + path + ": " + ErrnoText());
    if (n == 0) break;
    content.append(buffer.data(), static_cast<std::size_t>(n));
  }
  return content;
}

// The signal that interrupted the prompt, 0 when none did.
volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void CatchSignal(int signal) {
  caughtSignal = signal;
}

// The signals that end the program from the terminal or the session; caught while echo is off so that
// the terminal is restored before they take effect.
constexpr std::array<int, 4> PromptSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Blocks the prompt's signals and catches them instead; the waits in ReadTypedLine let them in, so
// none arrives between a check of caughtSignal and the read that would then block.
class SignalCatcher {
 public:
  SignalCatcher() {
    caughtSignal = 0;
    sigset_t block;
    sigemptyset(&block);
    for (int signal : PromptSignals)
      sigaddset(&block, signal);
    ::pthread_sigmask(SIG_BLOCK, &block, &waitMask_);
    struct sigaction action {};
    action.sa_handler = CatchSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < PromptSignals.size(); ++i) {
      ::sigaction(PromptSignals[i], &action, &previous_[i]);
      // An ignored signal (nohup) stays ignored.
      if (previous_[i].sa_handler == SIG_IGN) ::sigaction(PromptSignals[i], &previous_[i], nullptr);
    }
  }
  // A signal still pending meets its own handler again once unblocked.
  ~SignalCatcher() {
    for (std::size_t i = 0; i < PromptSignals.size(); ++i)
      ::sigaction(PromptSignals[i], &previous_[i], nullptr);
    ::pthread_sigmask(SIG_SETMASK, &waitMask_, nullptr);
  }
  SignalCatcher(const SignalCatcher&) = delete;
  SignalCatcher& operator=(const SignalCatcher&) = delete;

  // The signal mask to wait with: the one from before.
  const sigset_t& WaitMask() const { return waitMask_; }

 private:
  sigset_t waitMask_{};
  std::array<struct sigaction, PromptSignals.size()> previous_{};
};

// Echo off on the terminal for its lifetime.
class EchoOff {
 public:
  explicit EchoOff(int fd) : fd_(fd) {
    if (::tcgetattr(fd_, &saved_) != 0)
      throw Failure("cannot use the terminal for the password: " + ErrnoText());
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL);
    if (::tcsetattr(fd_, TCSAFLUSH, &quiet) != 0)
      throw Failure("cannot turn the terminal's echo off: " + ErrnoText());
  }
  ~EchoOff() { ::tcsetattr(fd_, TCSAFLUSH, &saved_); }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  int fd_;
  termios saved_{};
};

void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

struct TypedLine {
  std::optional<std::string> text;  // none at the end of input, on an error or a caught signal
  bool tooLong = false;             // the rest of the line was read and dropped
};

TypedLine ReadTypedLine(int fd, const sigset_t& waitMask) {
  TypedLine line;
  std::string text;
  for (;;) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fd, &readable);
    const int ready = ::pselect(fd + 1, &readable, nullptr, nullptr, nullptr, &waitMask);
    if (ready < 0 && errno == EINTR && !caughtSignal) continue;
    if (ready < 0) return line;
    char c = 0;
    const ssize_t n = ::read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return line;
    if (c == '\n') break;
    if (text.size() < PasswordLimit) {
      text += c;
    } else {
      line.tooLong = true;
    }
  }
  line.text = FirstLine(text);
  return line;
}

}  // namespace

std::string ReadPasswordFile(const std::string& path) {
  // O_NONBLOCK only for the open: a FIFO without a writer must not hang it.
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) throw UsageError("cannot open the password file " + path + ": " + ErrnoText());
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0)
    throw UsageError("cannot read the password file " + path + ": " + ErrnoText());
  const int flags = ::fcntl(file.Get(), F_GETFL);
  if (flags >= 0) ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK);

  const bool regular = S_ISREG(info.st_mode);
  const auto tooLarge = [&path] {
    return UsageError("the password file " + path + " is larger than " + std::to_string(PasswordLimit) +
                      " bytes; it should hold the password only");
  };
  if (regular && static_cast<std::uintmax_t>(info.st_size) > PasswordLimit) throw tooLarge();
  const std::string content = ReadAtMostLimit(file.Get(), path);
  if (content.size() > PasswordLimit) throw tooLarge();
  const std::string password = FirstLine(content);
  if (password.empty()) {
    throw UsageError("the password file " + path +
                     (content.empty() ? " is empty" : " holds no password on its first line"));
  }
  if (regular && (info.st_mode & 077) != 0) {
    std::fprintf(stderr,
                 "qdtool: warning: the password file %s is open to other users (mode %04o); chmod 600 it\n",
                 path.c_str(), static_cast<unsigned>(info.st_mode & 07777));
  }
  return password;
}

std::string PromptPassword(const std::string& prompt) {
  // The terminal itself, so that the prompt shows even when standard error goes to a file.
  const FileDescriptor tty(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
  const int in = tty.Get() >= 0 ? tty.Get() : STDIN_FILENO;
  const int out = tty.Get() >= 0 ? tty.Get() : STDERR_FILENO;

  TypedLine line;
  {
    const SignalCatcher signals;
    const EchoOff echoOff(in);
    WriteAll(out, prompt);
    line = ReadTypedLine(in, signals.WaitMask());
    // The Enter key was not echoed.
    WriteAll(out, "\n");
  }
  if (caughtSignal) {
    // The terminal is back as it was: now the signal may do what it would have done.
    std::raise(caughtSignal);
    throw Failure("the password prompt was interrupted");
  }
  if (line.tooLong)
    throw Failure("the password typed is longer than " + std::to_string(PasswordLimit) + " bytes");
  if (!line.text) throw Failure("no gateway password was typed");
  return *line.text;
}

std::string GatewayPassword(const Arguments& arguments, const std::string& user, const std::string& address) {
  const auto given = arguments.Value("password");
  const auto file = arguments.Value("password-file");
  if (given && file) throw UsageError("give --password or --password-file, not both");
  if (given) return *given;
  if (file) return ReadPasswordFile(*file);
  if (const char* value = std::getenv(PasswordVariable); value && *value) return value;
  if (::isatty(STDIN_FILENO)) return PromptPassword("Gateway password for " + user + "@" + address + ": ");
  throw UsageError(
      std::string("--gateway needs the password: --password-file FILE, the environment variable ") +
      PasswordVariable + ", or a terminal on standard input to type it at the prompt");
}

}  // namespace qdtool
