#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "event_loop.h"
#include "link/dispatch.h"
#include "link/gateway_session.h"
#include "transport/gateway_socket.h"

namespace qdtool {

struct GatewayOptions {
  std::string address;  // HOST or HOST:PORT
  std::string user;
  std::string password;
  std::optional<std::string> system;  // serial of the system to connect to
};

// A gateway session for the command line: the socket, the session logic and the reply dispatch,
// driven by a Qt event loop with the 100 ms tick. The login and the system choice come from the
// options instead of the login window.
class GatewayConnection : public QObject {
  Q_OBJECT

 public:
  static constexpr int ConnectLimitMs = 20000;
  // How long to wait for the system's address after the gateway granted access.
  static constexpr int AddressWaitMs = 2000;

  explicit GatewayConnection(GatewayOptions options);

  // Connects, logs in and connects to the system; throws Failure with the reason.
  void Connect();

  qd::link::Dispatcher& Dispatch() { return dispatcher_; }
  qd::link::GatewaySession& Session() { return session_; }
  bool Send(std::span<const std::uint8_t> message) { return socket_.SendGatewayMessage(message); }
  qint64 RxBytes() const { return socket_.RxBytes(); }
  qint64 TxBytes() const { return socket_.TxBytes(); }

  // Called on every 100 ms tick after the session's own tick.
  std::function<void()> onTick;
  // Whether the status request goes out (monitor).
  bool wantStatus = false;

  // Processes events until `done` gives true; false when the connection ended.
  bool RunUntil(const std::function<bool()>& done);
  // Waits until every byte sent was taken by the system.
  void Flush();
  bool Lost() const { return lost_; }

 private:
  qd::link::GatewaySession::Environment MakeEnvironment();
  std::string SystemListText() const;

  GatewayOptions options_;
  qd::transport::GatewaySocket socket_;
  qd::link::Dispatcher dispatcher_;
  qd::link::GatewaySession session_;
  QTimer ticks_;
  bool lost_ = false;
  bool listEnded_ = false;
  std::string failure_;
};

}  // namespace qdtool
