#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "target_options.h"
#include "transport/connection.h"

namespace qdtool {

// A command's way to the dosing system: the Connection that qdsystem uses too, on the bus (--port) or
// through the gateway, where the login and the system choice come from the options. It ticks on a
// 100 ms timer of its own.
class ControllerLink : public QObject {
  Q_OBJECT

 public:
  static constexpr int ConnectLimitMs = 20000;
  // How long to wait for the system's address after the gateway granted access.
  static constexpr int AddressWaitMs = 2000;

  explicit ControllerLink(Target target);

  // Opens the port, or connects to the gateway, logs in and connects to the system; throws Failure
  // with the reason.
  void Open();
  // Logs in to the gateway and gives the systems it lists, connecting to none; throws Failure with the
  // reason.
  std::vector<qd::link::SystemEntry> ListGatewaySystems();

  qd::transport::Connection& Link() { return connection_; }
  bool Local() const { return target_.port.has_value(); }

  // Runs the event loop until `done` gives true; false when the port or the connection was lost.
  bool RunUntil(const std::function<bool()>& done);
  // Waits until every byte written was taken by the driver or the gateway.
  void Flush();
  bool Lost() const { return lost_; }
  // "the port was lost", "the gateway closed the connection".
  std::string LostText() const;
  // The byte counters, on standard error.
  void PrintCounters();

  // The gateway asks for the system's status every 1.1 s (monitor).
  bool wantStatus = false;

 private:
  void OpenPort();
  void ConnectGateway();
  qd::transport::Connection::SessionPrompts Prompts();
  std::string SystemListText() const;

  Target target_;
  qd::transport::Connection connection_;
  bool opened_ = false;
  bool lost_ = false;
  std::string failure_;  // why the gateway connection failed, as the prompts or the socket found
};

}  // namespace qdtool
