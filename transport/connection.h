#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "firmware/boot_loader.h"
#include "link/bus_link.h"
#include "link/dispatch.h"
#include "link/gateway_session.h"
#include "link/operation_gate.h"
#include "link/transfer.h"
#include "transport/com_port.h"
#include "transport/gateway_socket.h"

namespace qd::transport {

// The one way to the dosing system, shared by qdsystem's windows and every qdtool command: the serial
// port and the bus link in local mode, the gateway socket and session in remote mode, the reply
// dispatch, the link mode, the 100 ms tick, and the one controller operation that may run.
//
// What is in flight belongs to the operation that sent it. When the port closes (unplugged, closed,
// another port chosen), the gateway connection ends, the mode changes, or an operation ends without
// completing (stopped, timed out, failed, its window closed), the queued request and the request kept
// for retransmission are dropped: no controller ever receives a request its requester gave up.
class Connection : public QObject {
  Q_OBJECT

 public:
  static constexpr int TickMs = 100;

  // What the gateway session asks of its user. Unset entries cancel, refuse or say no.
  struct SessionPrompts {
    std::function<std::optional<link::Credentials>()> askLogin;
    std::function<std::optional<link::SystemChoice>(const link::SystemList&)> chooseSystem;
    std::function<bool()> retryLogin;    // after "Invalid user name or password": true to try again
    std::function<bool()> statusWanted;  // someone shows the live status: the periodic request goes out
  };

  explicit Connection(QObject* parent = nullptr);
  ~Connection() override;

  void SetSessionPrompts(SessionPrompts prompts) { prompts_ = std::move(prompts); }

  link::BusLink& Link() { return link_; }
  const link::BusLink& Link() const { return link_; }
  link::Dispatcher& Dispatch() { return dispatcher_; }
  link::GatewaySession& Session() { return session_; }
  const link::GatewaySession& Session() const { return session_; }
  ComPort& Port() { return port_; }
  GatewaySocket& Socket() { return socket_; }

  // --- The link mode and the transports
  bool LocalMode() const { return localMode_; }
  // Counters, readiness and the remote session start again; the other transport closes. In local
  // mode the port named last opens.
  void SetLinkMode(bool local);
  // The port to open: a COM name, a device name or a path; "None" for none. Opens nothing.
  void SetPortName(const QString& name) { portName_ = name.trimmed(); }
  // Opens the port named (another port open before closes first; "None" closes it). Nothing opens
  // before the open delay has run out. True when the port is open afterwards.
  bool OpenComPort();
  bool OpenComPort(const QString& name);
  // The port closed by the user.
  void ClosePort();
  // The remote connect button: connects to HOST or HOST:PORT, or disconnects while a socket is open.
  void RemoteConnect(const std::string& host);

  // --- What the windows enable their controls by
  bool LinkReady() const;
  bool RemoteLoggedIn() const { return session_.RemoteLoggedIn(); }
  bool RemoteOnline() const { return session_.RemoteOnline(); }
  bool RemoteFullAccess() const { return session_.RemoteFullAccess(); }
  // Local mode, or remote with the system online and full access: controls that change the controller.
  bool ChangesAllowed() const { return localMode_ || session_.RemoteChangesAllowed(); }
  // ChangesAllowed(), and no other operation holds the controller.
  bool MayStart(link::Operation operation) const;

  // --- Sending
  bool QueueRequest(std::uint8_t command, std::uint8_t destination, std::span<const std::uint8_t> data);
  bool SendGatewayMessage(std::span<const std::uint8_t> message);

  // --- Time
  // Every 100 ms: the open delay, the link-alive count, the gateway status request, operation limits.
  void Tick();
  // A 100 ms timer of the connection's own, for programs without a main timer.
  void StartTicking();

  // --- Controller operations
  // Takes the controller for `operation`; false while another operation holds it. `limitTicks` > 0
  // ends the operation, as given up, when no End() came in time.
  bool Begin(link::Operation operation, int limitTicks = 0);
  // Gives the controller back. An operation that did not complete leaves nothing in flight.
  void End(link::Operation operation, bool completed);
  std::optional<link::Operation> RunningOperation() const { return gate_.Running(); }
  // BusyText() of the running operation, or empty.
  std::string BusyText() const;

  // The parts of a transfer's and a boot loader's environment that reach the controller through this
  // connection: mode, queue, frames, gateway messages, the operation gate and the waits. The caller
  // adds what only it knows (login codes, the unsaved-edits question, how to build the image).
  link::SystemTransfer::Environment TransferEnvironment();
  firmware::BootLoader::Owner LoaderOwner();

 signals:
  // LinkReady, the mode or the remote session changed: controls that act on the controller refresh.
  void LinkStateChanged();
  // The port state text may differ (Ready, Port open, Port closed, Closed).
  void PortStatusChanged();
  // The remote view changed (state, access, system, address, connect caption).
  void RemoteViewChanged();
  // The remote connection or the selected remote system changed.
  void CaptionChanged();
  // The port or the gateway connection went away, or the mode changed: operations end at once.
  void ConnectionLost();
  // A bus frame failed its checksum (the counter has grown).
  void ChecksumError();
  // A gateway connection failed: the socket error and its reason, after the session has ended.
  void GatewayError(int socketError, const QString& text, const QString& reason);
  // An operation began or ended: controls that start one refresh.
  void OperationsChanged();
  // An operation's limit passed without an End().
  void OperationTimedOut(qd::link::Operation operation);
  // After every Tick().
  void Ticked();

 private:
  link::GatewaySession::Environment SessionEnvironment();
  void ConnectTransports();
  // The transport went away or was changed: nothing in flight survives, operations end.
  void Lost();
  void DropInFlight();
  // Begin() for the core's operations: none when granted, else the operation that holds the controller.
  std::optional<link::Operation> Take(link::Operation operation);

  SessionPrompts prompts_;
  ComPort port_;
  link::BusLink link_;
  link::Dispatcher dispatcher_;
  GatewaySocket socket_;
  link::GatewaySession session_;
  link::OperationGate gate_;
  QTimer ticks_;
  QString portName_;
  bool localMode_ = false;  // neither mode until the preferences or the user choose
};

}  // namespace qd::transport
