#include "link/gateway_session.h"

#include "app/text.h"
#include "app/translation.h"
#include "link/dispatch.h"
#include "link/notify.h"

namespace qd::link {

namespace {

std::string ConnectButtonCaption(bool socketOpen) {
  return socketOpen ? UiText("GatewaySession", "Disconnect") : UiText("GatewaySession", "Connect");
}

}  // namespace

std::string RemoteStateText(RemoteState state) {
  switch (state) {
    case RemoteState::None:
      return "";
    case RemoteState::Connecting:
      return UiText("GatewaySession", "Connecting");
    case RemoteState::Ready:
      return UiText("GatewaySession", "Ready");
    case RemoteState::Failed:
      return UiText("GatewaySession", "Failed");
    case RemoteState::NotFound:
      return UiText("GatewaySession", "Not found");
    case RemoteState::InUse:
      return UiText("GatewaySession", "In use");
    case RemoteState::Disconnected:
      return UiText("GatewaySession", "Disconnected");
  }
  return "";
}

LabelColour RemoteStateColour(RemoteState state) {
  switch (state) {
    case RemoteState::Ready:
      return LabelColour::Green;
    case RemoteState::Failed:
    case RemoteState::NotFound:
    case RemoteState::InUse:
      return LabelColour::Yellow;
    default:
      return LabelColour::Normal;
  }
}

std::string RemoteAccessText(RemoteAccess access) {
  switch (access) {
    case RemoteAccess::None:
      return "";
    case RemoteAccess::Full:
      return UiText("GatewaySession", "Full access");
    case RemoteAccess::ReadOnly:
      return UiText("GatewaySession", "Read only");
    case RemoteAccess::Unknown:
      return UiText("GatewaySession", "Access: ?");
  }
  return "";
}

std::string SocketErrorText(int errorCode) {
  return Substitute(UiText("GatewaySession", "Asynchronous socket error %1"), {std::to_string(errorCode)});
}

std::string SystemCaptionPiece(std::string_view name, std::string_view serial) {
  return "        " + Substitute(UiText("GatewaySession", "System: %1 (%2)."), {name, serial});
}

GatewaySession::GatewaySession(Environment environment) : env_(std::move(environment)) {
  view_.connectCaption = ConnectButtonCaption(false);
}

void GatewaySession::RegisterWith(Dispatcher& dispatcher) {
  auto& handlers = dispatcher.handlers;
  handlers.systemListEntry = [this](std::span<const std::uint8_t> m) { OnSystemListEntry(m); };
  handlers.connectResult = [this](std::span<const std::uint8_t> m) { OnConnectResult(m); };
  handlers.systemAddress = [this](std::span<const std::uint8_t> m) { OnSystemAddress(m); };
  handlers.loginRefused = [this](std::span<const std::uint8_t> m) { OnLoginRefused(m); };
}

void GatewaySession::RemoteConnectBtnClick(const std::string& host) {
  if (socket_ != SocketState::Closed) {
    Disconnect();
    return;
  }
  view_.stateVisible = false;
  view_.connectCaption = ConnectButtonCaption(true);
  systems_.Clear();
  view_.accessVisible = false;
  loggedIn_ = false;
  outcome_ = SessionOutcome::None;
  socket_ = SocketState::Opening;
  Notify(events.captionChanged);
  Changed();
  // Last: an owner may report a failed connect from inside the call.
  Notify(env_.openSocket, host, GatewayPort);
}

void GatewaySession::Disconnect() {
  const bool wasConnected = SocketConnected();
  CloseSocket();
  view_.connectCaption = ConnectButtonCaption(false);
  systems_.Clear();
  view_.accessVisible = false;
  loggedIn_ = false;
  Notify(events.captionChanged);
  // Closing a connected socket ends the session as a disconnect by the server does.
  if (wasConnected) ConnectionEnded();
  Changed();
}

void GatewaySession::SetLinkMode(bool local) {
  localMode_ = local;
  const bool wasOpen = socket_ != SocketState::Closed;
  const bool wasConnected = SocketConnected();
  socket_ = SocketState::Closed;
  ClearSession();
  if (wasOpen) Notify(env_.closeSocket);
  if (wasConnected) {
    Decide(SessionOutcome::ConnectionLost);
    SetState(RemoteState::Disconnected);
    view_.stateVisible = true;
  }
  Changed();
}

void GatewaySession::LinkTick() {
  if (localMode_) return;
  if (++statusTicks_ < StatusRequestTicks) return;
  statusTicks_ = 0;
  if (online_ && SocketConnected() && env_.statusWanted && env_.statusWanted()) Send(StatusRequestMessage);
}

void GatewaySession::ConnectToSystem(const SystemChoice& system) {
  Send(ConnectMessage(system.serial));
  selected_ = system;
  view_.systemNameCaptionEnabled = true;
  view_.systemName = system.serial + " / " + system.name;
  view_.systemNameVisible = true;
  Changed();
}

void GatewaySession::ClientSocketConnect() {
  if (socket_ == SocketState::Closed) return;  // a socket already closed
  socket_ = SocketState::Connected;
  RequestLogin();
}

void GatewaySession::ClientSocketDisconnect() {
  if (socket_ == SocketState::Closed) return;  // our own close, or a socket already forgotten
  CloseSocket();
  ConnectionEnded();
  Changed();
}

std::string GatewaySession::ClientSocketError(int errorCode) {
  if (socket_ == SocketState::Closed) return {};
  CloseSocket();
  ConnectionEnded();
  Changed();
  return SocketErrorText(errorCode);
}

void GatewaySession::RequestLogin() {
  SetState(RemoteState::Connecting);
  view_.stateVisible = true;
  systems_.ForgetPreselection();
  Changed();
  const std::optional<Credentials> login = env_.askLogin ? env_.askLogin() : std::nullopt;
  // The login window is modal: the socket may have gone while it was open.
  if (!SocketConnected()) return;
  if (login) {
    listOpen_ = true;
    Send(LoginMessage(login->user, login->password));
    return;
  }
  Decide(SessionOutcome::Cancelled);
  CloseSocket();
  ConnectionEnded();
  view_.stateVisible = false;
  Changed();
}

void GatewaySession::OnSystemListEntry(std::span<const std::uint8_t> message) {
  // Outside the list a gateway could reopen the selection window after every Cancel.
  if (!listOpen_) return;
  std::optional<SystemEntry> entry = DecodeSystemListEntry(message);
  if (!entry) return;
  if (entry->serial.empty()) {
    listOpen_ = false;
    EndOfList();
    return;
  }
  if (static_cast<std::size_t>(systems_.Count()) >= MaxListEntries) {
    Decide(SessionOutcome::ListTooLong);
    Disconnect();
    Notify(events.error,
           UiText("GatewaySession", "The gateway sent more than 1000 systems: the connection was closed."));
    return;
  }
  systems_.Add(std::move(*entry));
  Changed();
}

void GatewaySession::EndOfList() {
  if (systems_.Count() == 1 && systems_.Preselected()) {
    ConnectToSystem(SystemChoice(*systems_.Preselected()));
    return;
  }
  if (systems_.Count() > 1 && env_.chooseSystem) {
    const std::optional<SystemChoice> choice = env_.chooseSystem(systems_);
    if (choice && !choice->serial.empty() && SocketConnected()) {
      ConnectToSystem(*choice);
      return;
    }
  }
  Decide(SessionOutcome::NoSystemChosen);
  view_.stateVisible = true;
  Changed();
}

void GatewaySession::OnConnectResult(std::span<const std::uint8_t> message) {
  const std::optional<ConnectReply> reply = DecodeConnectResult(message);
  if (!reply) return;
  switch (reply->result) {
    case ConnectReply::Accepted:
      SetState(RemoteState::Failed);
      if (!reply->wellFormed) {
        Decide(SessionOutcome::Failed);
        break;
      }
      Decide(SameSerial(reply->serial, selected_.serial) ? SessionOutcome::LoggedIn : SessionOutcome::Failed);
      if (SameSerial(reply->serial, selected_.serial)) {
        linkReady_ = true;
        loggedIn_ = true;
        accessText_ = reply->access;
        SetState(RemoteState::Ready);
        const char letter = accessText_.empty() ? '\0' : accessText_.front();
        fullAccess_ = letter == 'A';
        readOnly_ = letter == 'B';
        view_.access = fullAccess_ ? RemoteAccess::Full
                       : readOnly_ ? RemoteAccess::ReadOnly
                                   : RemoteAccess::Unknown;
        view_.accessVisible = true;
        Notify(events.captionChanged);
      }
      view_.stateVisible = true;
      Changed();
      Notify(events.linkStateChanged);
      return;
    case ConnectReply::NotFound:
      SetState(RemoteState::NotFound);
      Decide(SessionOutcome::NotFound);
      break;
    case ConnectReply::InUse:
      SetState(RemoteState::InUse);
      Decide(SessionOutcome::InUse);
      break;
    default:
      break;
  }
  view_.stateVisible = true;
  Changed();
}

void GatewaySession::OnSystemAddress(std::span<const std::uint8_t> message) {
  std::optional<std::string> address = DecodeSystemAddress(message);
  if (!address) return;
  online_ = *address != gateway::Offline;
  view_.ipAddress = std::move(*address);
  view_.ipAddressVisible = true;
  Changed();
  Notify(events.linkStateChanged);
}

void GatewaySession::OnLoginRefused(std::span<const std::uint8_t> /*message*/) {
  const bool retry = env_.retryLogin && env_.retryLogin();
  if (!retry) {
    Decide(SessionOutcome::LoginRefused);
    Disconnect();
    return;
  }
  // The message box is modal: retry only on a socket that is still there.
  if (SocketConnected()) RequestLogin();
}

std::string GatewaySession::CaptionPiece() const {
  return loggedIn_ ? SystemCaptionPiece(selected_.name, selected_.serial) : std::string();
}

void GatewaySession::ClearSession() {
  listOpen_ = false;
  linkReady_ = false;
  loggedIn_ = false;
  online_ = false;
  fullAccess_ = false;
  readOnly_ = false;
  accessText_.clear();
  selected_ = {};
  view_.stateVisible = false;
  view_.access = RemoteAccess::None;
  view_.accessVisible = false;
  view_.connectCaption = ConnectButtonCaption(false);
  view_.ipAddressVisible = false;
  view_.systemNameCaptionEnabled = false;
  view_.systemNameVisible = false;
  Notify(events.captionChanged);
  Notify(events.linkStateChanged);
}

void GatewaySession::ConnectionEnded() {
  Decide(SessionOutcome::ConnectionLost);
  ClearSession();
  SetState(RemoteState::Disconnected);
  view_.stateVisible = true;
  Notify(events.connectionLost);
}

void GatewaySession::CloseSocket() {
  if (socket_ == SocketState::Closed) return;
  socket_ = SocketState::Closed;
  Notify(env_.closeSocket);
}

void GatewaySession::Decide(SessionOutcome outcome) {
  const bool decided = outcome_ != SessionOutcome::None && outcome_ != SessionOutcome::LoggedIn;
  if (outcome == SessionOutcome::ConnectionLost && decided) return;
  outcome_ = outcome;
}

void GatewaySession::SetState(RemoteState state) {
  view_.state = state;
}

bool GatewaySession::Send(std::span<const std::uint8_t> message) {
  return env_.sendGatewayMessage && env_.sendGatewayMessage(message);
}

void GatewaySession::Changed() {
  Notify(events.changed);
}

}  // namespace qd::link
