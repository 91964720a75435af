#include "bus_session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include "arguments.h"

namespace qdtool {

BusSession::BusSession(const std::string& portName) : link_(port_), portName_(portName) {
  link_.handlers.dispatch = [this](qd::link::PayloadView frame) { dispatcher_.DispatchBusFrame(frame); };
  connect(&port_, &qd::transport::ComPort::BytesReceived, this,
          [this](const QByteArray& bytes) { link_.Receive(qd::transport::ByteSpan(bytes)); });
  connect(&port_, &qd::transport::ComPort::ClosedByError, this, [this] { portLost_ = true; });
  ticks_.setInterval(100);
  ticks_.setTimerType(Qt::PreciseTimer);
  connect(&ticks_, &QTimer::timeout, this, [this] {
    link_.Tick(true);
    if (onTick) onTick();
  });
}

void BusSession::Open() {
  port_.SetDeviceName(QString::fromStdString(portName_));
  if (!port_.Open()) throw Failure("cannot open the port " + portName_);
  link_.ResetLinkState();
  ticks_.start();
}

void BusSession::Wait(int milliseconds) {
  QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents,
                                    static_cast<int>(deadline.remainingTime()));
  }
}

bool BusSession::RunUntil(const std::function<bool()>& done) {
  while (!done()) {
    if (portLost_) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
  }
  return true;
}

void BusSession::Flush() {
  QDeadlineTimer deadline(2000);
  while (port_.IsOpen() && port_.BytesToWrite() > 0 && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
  }
}

}  // namespace qdtool
