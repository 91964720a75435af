#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <ostream>

class QSocketNotifier;

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace qd::transport::test {

// Runs the event loop until done() holds or the limit has passed; gives done().
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5));

// A pseudo-terminal pair standing in for a USB serial adapter. The test plays the far end of the
// line on the master side; the port under test opens SlavePath(). The pair keeps a descriptor of the
// slave open as well, so the terminal stays configured between opens of the port. Close every port on
// the slave before the pair goes: the port's lock file is named after the terminal's number, which the
// system hands out again once the last descriptor is closed.
class PseudoTerminal {
 public:
  enum class Mode { Default, Raw };  // the terminal settings the slave starts with

  explicit PseudoTerminal(Mode mode = Mode::Default);
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool IsValid() const { return master_ >= 0; }
  QString SlavePath() const { return slavePath_; }

  // Sends bytes down the line to the port.
  void Send(const QByteArray& bytes);
  // Everything the port sent so far (collected while the event loop runs).
  const QByteArray& Received() const { return received_; }
  // Waits until the slave holds count unread bytes; false at the limit.
  bool WaitForBytesAtSlave(int count);
  // Pulls the adapter out: the master side closes and the slave is hung up.
  void Unplug();

 private:
  void ReadMaster();

  int master_ = -1;
  int slave_ = -1;
  QString slavePath_;
  QByteArray received_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace qd::transport::test
