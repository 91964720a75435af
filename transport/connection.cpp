#include "transport/connection.h"

#include <QCoreApplication>

#include "app/cp1252_text.h"
#include "firmware/loader_link.h"
#include "model/working_config.h"
#include "transport/process_events.h"

namespace qd::transport {

namespace {

// The session's texts are windows-1252, like every text of the core.
QString FromCoreText(const std::string& text) {
  return QString::fromStdString(Utf8OfCp1252(text));
}

}  // namespace

Connection::Connection(QObject* parent) : QObject(parent), link_(port_), session_(SessionEnvironment()) {
  session_.RegisterWith(dispatcher_);
  ConnectTransports();
  ticks_.setInterval(TickMs);
  ticks_.setTimerType(Qt::PreciseTimer);
  connect(&ticks_, &QTimer::timeout, this, &Connection::Tick);
}

Connection::~Connection() {
  // The session may still call back while the socket goes.
  session_.events = {};
  link_.handlers = {};
}

link::GatewaySession::Environment Connection::SessionEnvironment() {
  link::GatewaySession::Environment env;
  env.sendGatewayMessage = [this](std::span<const std::uint8_t> message) {
    return SendGatewayMessage(message);
  };
  env.openSocket = [this](const std::string& host, std::uint16_t /*port*/) {
    // The address may name its own port ("HOST:PORT"); 14011 otherwise.
    if (socket_.ConnectTo(QString::fromStdString(host))) return;
    const std::string reported = session_.ClientSocketError(QAbstractSocket::HostNotFoundError);
    emit GatewayError(QAbstractSocket::HostNotFoundError, FromCoreText(reported),
                      QCoreApplication::translate("Connection", "not a gateway address: %1")
                          .arg(QString::fromStdString(host)));
  };
  env.closeSocket = [this] { socket_.Disconnect(); };
  env.askLogin = [this]() -> std::optional<link::Credentials> {
    return prompts_.askLogin ? prompts_.askLogin() : std::nullopt;
  };
  env.chooseSystem = [this](const link::SystemList& systems) -> std::optional<link::SystemChoice> {
    return prompts_.chooseSystem ? prompts_.chooseSystem(systems) : std::nullopt;
  };
  env.retryLogin = [this] { return prompts_.retryLogin && prompts_.retryLogin(); };
  env.statusWanted = [this] { return prompts_.statusWanted && prompts_.statusWanted(); };
  return env;
}

void Connection::ConnectTransports() {
  link_.handlers.dispatch = [this](link::PayloadView frame) { dispatcher_.DispatchBusFrame(frame); };
  link_.handlers.linkStateChanged = [this] {
    emit PortStatusChanged();
    emit LinkStateChanged();
  };
  link_.handlers.checksumError = [this] { emit ChecksumError(); };
  link_.handlers.openPort = [this] { OpenComPort(); };
  connect(&port_, &ComPort::BytesReceived, this,
          [this](const QByteArray& bytes) { link_.Receive(ByteSpan(bytes)); });
  // An adapter pulled out: the link is no longer ready, and the tick shows "Port closed".
  connect(&port_, &ComPort::ClosedByError, this, [this] {
    link_.ResetLinkState();
    Lost();
  });

  session_.events.changed = [this] { emit RemoteViewChanged(); };
  session_.events.linkStateChanged = [this] { emit LinkStateChanged(); };
  session_.events.captionChanged = [this] { emit CaptionChanged(); };
  session_.events.error = [this](const std::string& text) { emit GatewayError(0, FromCoreText(text), {}); };
  session_.events.connectionLost = [this] {
    link_.ResetLinkState();
    Lost();
  };
  connect(&socket_, &GatewaySocket::Connected, this, [this] { session_.ClientSocketConnect(); });
  connect(&socket_, &GatewaySocket::MessageReceived, this,
          [this](const QByteArray& message) { dispatcher_.DispatchGatewayMessage(ByteSpan(message)); });
  connect(&socket_, &GatewaySocket::Disconnected, this, [this] { session_.ClientSocketDisconnect(); });
  connect(&socket_, &GatewaySocket::ErrorOccurred, this, [this](int error, const QString& text) {
    const std::string reported = session_.ClientSocketError(error);
    if (!reported.empty()) emit GatewayError(error, FromCoreText(reported), text);
  });
  connect(&socket_, &GatewaySocket::BytesReceived, this,
          [this](qint64 count) { link_.CountGatewayBytes(static_cast<std::size_t>(count), 0); });
  connect(&socket_, &GatewaySocket::BytesSent, this,
          [this](qint64 count) { link_.CountGatewayBytes(0, static_cast<std::size_t>(count)); });
}

void Connection::SetLinkMode(bool local) {
  localMode_ = local;
  link_.ResetLinkState();
  // Clears the session, closes the socket and tells the windows that depend on it.
  session_.SetLinkMode(local);
  if (local) {
    OpenComPort();
  } else {
    port_.Close();
  }
  Lost();
  emit PortStatusChanged();
  emit LinkStateChanged();
}

bool Connection::OpenComPort(const QString& name) {
  SetPortName(name);
  return OpenComPort();
}

bool Connection::OpenComPort() {
  link_.ResetLinkState();
  if (link_.OpenDelayLeft() > 0) return false;
  const bool wasOpen = port_.IsOpen();
  if (portName_ == QLatin1String(NoPortName)) {
    port_.Close();
  } else if (portName_ != port_.DeviceName()) {
    // The port component maps the name to its device (COM12 and /dev paths included).
    port_.Close();
    port_.SetDeviceName(portName_);
  }
  // Another port is another controller: nothing of the old one may reach it.
  if (wasOpen && !port_.IsOpen()) Lost();
  if (portName_ != QLatin1String(NoPortName) && !port_.IsOpen()) port_.Open();
  emit PortStatusChanged();
  return port_.IsOpen();
}

void Connection::ClosePort() {
  const bool wasOpen = port_.IsOpen();
  port_.Close();
  link_.PortClosedByUser();
  if (wasOpen) Lost();
  emit PortStatusChanged();
}

void Connection::RemoteConnect(const std::string& host) {
  session_.RemoteConnectBtnClick(host);
}

bool Connection::LinkReady() const {
  return localMode_ ? link_.LinkReady() : session_.LinkReady();
}

bool Connection::MayStart(link::Operation operation) const {
  const std::optional<link::Operation> running = gate_.Running();
  return ChangesAllowed() && (!running || *running == operation);
}

bool Connection::QueueRequest(std::uint8_t command, std::uint8_t destination,
                              std::span<const std::uint8_t> data) {
  return link_.QueueRequest(command, destination, data);
}

bool Connection::SendGatewayMessage(std::span<const std::uint8_t> message) {
  return socket_.SendGatewayMessage(message);
}

void Connection::Tick() {
  link_.Tick(localMode_);
  if (localMode_) {
    emit PortStatusChanged();
  } else {
    session_.LinkTick();
  }
  if (const std::optional<link::Operation> expired = gate_.Tick()) {
    DropInFlight();
    emit OperationTimedOut(*expired);
    emit OperationsChanged();
  }
  emit Ticked();
}

void Connection::StartTicking() {
  ticks_.start();
}

bool Connection::Begin(link::Operation operation, int limitTicks) {
  if (!gate_.Begin(operation, limitTicks)) return false;
  emit OperationsChanged();
  return true;
}

void Connection::End(link::Operation operation, bool completed) {
  if (!gate_.End(operation)) return;
  if (!completed) DropInFlight();
  emit OperationsChanged();
}

std::optional<link::Operation> Connection::Take(link::Operation operation) {
  if (Begin(operation)) return std::nullopt;
  return gate_.Running();
}

std::string Connection::BusyText() const {
  const std::optional<link::Operation> running = gate_.Running();
  return running ? link::BusyText(*running) : std::string();
}

void Connection::Lost() {
  DropInFlight();
  emit ConnectionLost();
  // An operation without an object of its own (a log reset waiting for its confirmation) ends here.
  if (const std::optional<link::Operation> running = gate_.Running()) End(*running, false);
}

void Connection::DropInFlight() {
  link_.DropInFlight();
}

link::SystemTransfer::Environment Connection::TransferEnvironment() {
  link::SystemTransfer::Environment env;
  env.localMode = [this] { return localMode_; };
  env.queueRequest = [this](std::uint8_t command, std::uint8_t destination,
                            std::span<const std::uint8_t> data) {
    return QueueRequest(command, destination, data);
  };
  env.sendGatewayMessage = [this](std::span<const std::uint8_t> message) {
    return SendGatewayMessage(message);
  };
  env.takeController = [this](link::Operation operation) { return Take(operation); };
  env.releaseController = [this](link::Operation operation, bool completed) { End(operation, completed); };
  // Replies arrive while the login code check waits.
  env.waitStep = [] { ProcessEventsFor(link::SystemTransfer::LoginCheckStepMs); };
  // The socket hands its bytes over meanwhile, but the user cannot act in the middle of a write.
  env.pauseBetweenBlocks = [] {
    ProcessEventsFor(link::SystemTransfer::RemoteBlockPauseMs, QEventLoop::ExcludeUserInputEvents);
  };
  env.now = [] { return LocalDateTime::Now(); };
  return env;
}

firmware::BootLoader::Owner Connection::LoaderOwner() {
  firmware::BootLoader::Owner owner = firmware::OwnerOnLink(link_);
  owner.takeController = [this](link::Operation operation) { return Take(operation); };
  owner.releaseController = [this](link::Operation operation, bool completed) { End(operation, completed); };
  return owner;
}

}  // namespace qd::transport
