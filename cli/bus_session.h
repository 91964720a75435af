#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "event_loop.h"
#include "link/bus_link.h"
#include "link/dispatch.h"
#include "transport/com_port.h"

namespace qdtool {

// A bus connection for the command line: the serial port, the link engine and the reply dispatch,
// driven by a Qt event loop with the 100 ms tick.
class BusSession : public QObject {
  Q_OBJECT

 public:
  explicit BusSession(const std::string& portName);

  // Opens the port; throws Failure when it cannot be opened.
  void Open();

  qd::link::BusLink& Link() { return link_; }
  const qd::link::BusLink& Link() const { return link_; }
  qd::link::Dispatcher& Dispatch() { return dispatcher_; }
  qd::transport::ComPort& Port() { return port_; }

  // Called on every 100 ms tick after the link's own tick.
  std::function<void()> onTick;

  // Processes events for `milliseconds`.
  void Wait(int milliseconds);
  // Processes events until `done` gives true or the port closed itself; false in the latter case.
  bool RunUntil(const std::function<bool()>& done);
  // Waits until every byte written has gone to the driver.
  void Flush();

  bool PortLost() const { return portLost_; }

 private:
  qd::transport::ComPort port_;
  qd::link::BusLink link_;
  qd::link::Dispatcher dispatcher_;
  QTimer ticks_;
  std::string portName_;
  bool portLost_ = false;
};

}  // namespace qdtool
