#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>

namespace qd::sim {

// Turns SIGINT and SIGTERM into a Qt signal: the handler only writes the signal's number into a pipe,
// and the event loop reads it.
class SignalWatcher : public QObject {
  Q_OBJECT

 public:
  explicit SignalWatcher(QObject* parent = nullptr);
  ~SignalWatcher() override;

  // Installs the handlers; false with the reason in `error` when it cannot.
  bool Install(QString& error);

 signals:
  void Stop(int signal);

 private:
  void ReadPipe();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace qd::sim
