#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <cstdint>
#include <span>

namespace qd::sim {

// The simulator's end of the bus: the master side of a pseudo-terminal in raw mode. The PC opens the
// slave side as its serial port. The endpoint holds the slave open as well, without ever reading it,
// so that the terminal keeps its settings between the PC's sessions.
class PtyEndpoint : public QObject {
  Q_OBJECT

 public:
  explicit PtyEndpoint(QObject* parent = nullptr);
  ~PtyEndpoint() override;

  // Opens the pseudo-terminal; false with the reason in `error` when it cannot.
  bool Open(QString& error);
  QString SlavePath() const { return slavePath_; }

  // Writes without blocking. What the terminal cannot take now is dropped: a bus does not wait for
  // a listener. Gives how many bytes were taken.
  std::size_t Write(std::span<const std::uint8_t> bytes);
  // Drops whatever the PC has not read yet.
  void DiscardUnread();

 signals:
  void Received(QByteArray bytes);

 private:
  void ReadAvailable();

  int master_ = -1;
  int slave_ = -1;
  QString slavePath_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace qd::sim
