#include "gateway_connection.h"

#include <QDeadlineTimer>

#include "arguments.h"
#include "transport/com_port.h"

namespace qdtool {

GatewayConnection::GatewayConnection(GatewayOptions options)
    : options_(std::move(options)), session_(MakeEnvironment()) {
  session_.RegisterWith(dispatcher_);

  // The end of the list may pass without a connect request (no free system); notice it.
  auto listEntry = dispatcher_.handlers.systemListEntry;
  dispatcher_.handlers.systemListEntry = [this, listEntry](std::span<const std::uint8_t> message) {
    listEntry(message);
    if (message.size() < 3 || message[2] == 0) listEnded_ = true;
  };

  connect(&socket_, &qd::transport::GatewaySocket::Connected, this,
          [this] { session_.ClientSocketConnect(); });
  connect(&socket_, &qd::transport::GatewaySocket::MessageReceived, this, [this](const QByteArray& message) {
    dispatcher_.DispatchGatewayMessage(qd::transport::ByteSpan(message));
  });
  connect(&socket_, &qd::transport::GatewaySocket::Disconnected, this, [this] {
    lost_ = true;
    session_.ClientSocketDisconnect();
  });
  connect(&socket_, &qd::transport::GatewaySocket::ErrorOccurred, this,
          [this](int error, const QString& text) {
            lost_ = true;
            const std::string reported = session_.ClientSocketError(error);
            if (failure_.empty()) failure_ = text.toStdString() + " (" + reported + ")";
          });
  ticks_.setInterval(100);
  connect(&ticks_, &QTimer::timeout, this, [this] {
    session_.LinkTick();
    if (onTick) onTick();
  });
}

qd::link::GatewaySession::Environment GatewayConnection::MakeEnvironment() {
  qd::link::GatewaySession::Environment env;
  env.sendGatewayMessage = [this](std::span<const std::uint8_t> message) { return Send(message); };
  env.openSocket = [this](const std::string& host, std::uint16_t) {
    if (!socket_.ConnectTo(QString::fromStdString(host))) failure_ = "not a gateway address: " + host;
  };
  env.closeSocket = [this] { socket_.Disconnect(); };
  env.askLogin = [this] { return qd::link::Credentials{options_.user, options_.password}; };
  env.chooseSystem = [this](const qd::link::SystemList& systems) -> std::optional<qd::link::SystemChoice> {
    if (options_.system) {
      if (auto choice = systems.FindSerial(*options_.system)) return choice;
      failure_ = "system " + *options_.system + " is not in the gateway's list:" + SystemListText();
      return std::nullopt;
    }
    failure_ = "the gateway offers several systems; choose one with --system:" + SystemListText();
    return std::nullopt;
  };
  env.retryLogin = [this] {
    failure_ = std::string(qd::link::LoginRefusedText);
    return false;
  };
  env.statusWindowShown = [this] { return wantStatus; };
  return env;
}

std::string GatewayConnection::SystemListText() const {
  std::string text;
  for (const auto& entry : session_.Systems().Entries()) {
    text += "\n  " + entry.serial + "  " + entry.name + "  in use: " + entry.inUse + "  " + entry.ipAddress;
  }
  return text.empty() ? " (none)" : text;
}

void GatewayConnection::Connect() {
  session_.SetLinkMode(false);
  session_.RemoteConnectBtnClick(options_.address);
  ticks_.start();
  using qd::link::RemoteState;
  QDeadlineTimer deadline(ConnectLimitMs);
  const bool up = ProcessEventsUntil(
      [&] {
        const RemoteState state = session_.View().state;
        return session_.RemoteLoggedIn() || !failure_.empty() || state == RemoteState::NotFound ||
               state == RemoteState::InUse || (state == RemoteState::Failed && listEnded_) ||
               (listEnded_ && session_.SelectedSerial().empty()) || deadline.hasExpired();
      },
      [this] { return lost_; });
  if (!failure_.empty()) throw Failure(failure_);
  if (!up) throw Failure("the gateway closed the connection");
  if (!session_.RemoteLoggedIn()) {
    const RemoteState state = session_.View().state;
    if (state == RemoteState::NotFound || state == RemoteState::InUse || state == RemoteState::Failed) {
      throw Failure("system " + session_.SelectedSerial() + ": " +
                    std::string(qd::link::RemoteStateText(state)));
    }
    if (listEnded_) throw Failure("no free system to connect to:" + SystemListText());
    throw Failure("no answer from the gateway at " + options_.address);
  }
  if (options_.system) {
    const auto wanted = session_.Systems().FindSerial(*options_.system);
    if (!wanted || wanted->serial != session_.SelectedSerial()) {
      throw Failure("system " + *options_.system + " is not in the gateway's list:" + SystemListText());
    }
  }
  // The system's address (or "Offline") follows the access; give it a moment.
  QDeadlineTimer addressDeadline(AddressWaitMs);
  ProcessEventsUntil([&] { return session_.View().ipAddressVisible || addressDeadline.hasExpired(); },
                     [this] { return lost_; });
}

bool GatewayConnection::RunUntil(const std::function<bool()>& done) {
  return ProcessEventsUntil(done, [this] { return lost_; });
}

void GatewayConnection::Flush() {
  QDeadlineTimer deadline(2000);
  while (socket_.IsConnected() && socket_.BytesToWrite() > 0 && !deadline.hasExpired())
    ProcessEventsFor(10);
}

}  // namespace qdtool
