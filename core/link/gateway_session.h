#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/translation.h"
#include "link/gateway_messages.h"
#include "link/gateway_system_list.h"

namespace qd::link {

class Dispatcher;

inline constexpr std::uint16_t GatewayPort = 14011;

// The state label of the remote group. None is the empty text a label has before its first state.
enum class RemoteState { None, Connecting, Ready, Failed, NotFound, InUse, Disconnected };
std::string RemoteStateText(RemoteState state);  // "", "Connecting", "Ready", "Failed", ...

enum class LabelColour { Normal, Green, Yellow };
// Ready on green; Failed, Not found and In use on yellow; the rest on the normal background.
LabelColour RemoteStateColour(RemoteState state);

enum class RemoteAccess { None, Full, ReadOnly, Unknown };
std::string RemoteAccessText(RemoteAccess access);  // "", "Full access", "Read only", "Access: ?"

// In English, for qdtool and the tests; RemoteView and the error event carry the captions and
// ListTooLongText in the desktop tool's language.
inline constexpr std::string_view ConnectCaption = QD_TRANSLATABLE("GatewaySession", "Connect");
inline constexpr std::string_view DisconnectCaption = "Disconnect";
inline constexpr std::string_view LoginRefusedText =
    QD_TRANSLATABLE("GatewaySession", "Invalid user name or password");
inline constexpr std::string_view ListTooLongText =
    "The gateway sent more than 1000 systems: the connection was closed.";

// The socket error the socket layer reports: "Asynchronous socket error %d".
std::string SocketErrorText(int errorCode);

// The main window caption's piece for the system logged in to: "        System: <name> (<serial>).".
std::string SystemCaptionPiece(std::string_view name, std::string_view serial);

// What the remote group of the communication window shows.
struct RemoteView {
  RemoteState state = RemoteState::None;
  bool stateVisible = false;
  RemoteAccess access = RemoteAccess::None;
  bool accessVisible = false;
  bool systemNameCaptionEnabled = false;  // the "Name:" label
  std::string systemName;                 // "serial / name"
  bool systemNameVisible = false;
  std::string ipAddress;  // or "Offline"
  bool ipAddressVisible = false;
  std::string connectCaption{ConnectCaption};
};

struct Credentials {
  std::string user;
  std::string password;
};

enum class SocketState { Closed, Opening, Connected };

// How the last connect attempt ended. Callers decide by this, never by the state label's text.
enum class SessionOutcome {
  None,            // no attempt, or still under way
  LoggedIn,        // the gateway granted access to the selected system
  Cancelled,       // the login window was cancelled
  LoginRefused,    // "Invalid user name or password", not retried
  NoSystemChosen,  // the list ended without a system to connect to (none, one in use, choice cancelled)
  NotFound,        // the gateway does not know the system
  InUse,           // someone else uses it
  Failed,          // accepted for another serial, or a malformed result
  ConnectionLost,  // the connection ended (by the server, an error, or a disconnect)
  ListTooLong,     // the gateway sent more systems than a list may hold: disconnected
};

// The tool's side of a gateway session: login, system list, system choice, connect result, address and
// the periodic status request. The owner (the communication window, or qdtool) moves the bytes, owns
// the socket, shows the dialogs the session asks for and presents RemoteView; the session decides.
class GatewaySession {
 public:
  static constexpr int StatusRequestTicks = 11;  // one status request per 1.1 s
  static constexpr std::size_t MaxListEntries = 1000;

  struct Environment {
    // Sends one message on the socket (framed by the owner). False when it did not go out.
    std::function<bool(std::span<const std::uint8_t> message)> sendGatewayMessage;
    // Starts a non-blocking connect; the outcome comes back as ClientSocketConnect or ClientSocketError.
    std::function<void(const std::string& host, std::uint16_t port)> openSocket;
    // Closes and forgets the socket. The disconnect event this may raise is ignored by the session.
    std::function<void()> closeSocket;
    // The login window: user name and password, or none when cancelled.
    std::function<std::optional<Credentials>()> askLogin;
    // The selection window over the list: the chosen system, or none when cancelled.
    std::function<std::optional<SystemChoice>(const SystemList& systems)> chooseSystem;
    // LoginRefusedText with Retry and Cancel: true for Retry.
    std::function<bool()> retryLogin;
    // Someone shows the live status: the periodic status request goes out.
    std::function<bool()> statusWanted;
  };

  struct Events {
    std::function<void()> changed;           // RemoteView or a flag changed
    std::function<void()> linkStateChanged;  // for the four windows that enable controls by the session
    std::function<void()> captionChanged;    // the main window caption's system piece may differ
    // The connection ended by itself (server disconnect, socket error, or the close that a disconnect
    // or a cancelled login caused): the owner resets the link's counters as a mode change does.
    std::function<void()> connectionLost;
    // The session ended for a reason the user must be told (ListTooLongText).
    std::function<void(const std::string& text)> error;
  };

  explicit GatewaySession(Environment environment);

  Events events;

  // Hooks the handlers of 'B','D', 'B','E', 'B','F' and 'B','I'. The session must outlive the dispatcher's
  // use.
  void RegisterWith(Dispatcher& dispatcher);

  // The connect button: connects to host:GatewayPort, or disconnects while a socket is open.
  void RemoteConnectBtnClick(const std::string& host);
  // Closes the socket and ends the session.
  void Disconnect();
  // The session's part of a link mode change: everything cleared, the socket closed.
  void SetLinkMode(bool local);
  // Every 100 ms: the status request in remote mode.
  void LinkTick();
  // Sends the connect request for one system and remembers it as the selected system.
  void ConnectToSystem(const SystemChoice& system);

  // Socket events.
  void ClientSocketConnect();
  void ClientSocketDisconnect();
  // Gives the error text to report, or an empty text when no socket was open.
  std::string ClientSocketError(int errorCode);

  // Gateway messages, whole (class and code included).
  void OnSystemListEntry(std::span<const std::uint8_t> message);
  void OnConnectResult(std::span<const std::uint8_t> message);
  void OnSystemAddress(std::span<const std::uint8_t> message);
  void OnLoginRefused(std::span<const std::uint8_t> message);

  bool LocalMode() const { return localMode_; }
  SocketState Socket() const { return socket_; }
  bool SocketConnected() const { return socket_ == SocketState::Connected; }
  bool LinkReady() const { return linkReady_; }  // remote mode's readiness
  bool RemoteLoggedIn() const { return loggedIn_; }
  bool RemoteOnline() const { return online_; }
  bool RemoteFullAccess() const { return fullAccess_; }
  bool RemoteReadOnly() const { return readOnly_; }
  // Controls that change the controller: the system is online and the gateway granted full access.
  bool RemoteChangesAllowed() const { return online_ && fullAccess_; }
  const std::string& AccessText() const { return accessText_; }
  const std::string& SelectedSerial() const { return selected_.serial; }
  const std::string& SelectedName() const { return selected_.name; }
  const SystemList& Systems() const { return systems_; }
  const RemoteView& View() const { return view_; }
  SessionOutcome Outcome() const { return outcome_; }
  // SystemCaptionPiece of the selected system while logged in, else empty.
  std::string CaptionPiece() const;

 private:
  void RequestLogin();
  void EndOfList();
  void ClearSession();
  void ConnectionEnded();
  void CloseSocket();
  void SetState(RemoteState state);
  // Records how the attempt ended; a decided attempt is not turned into a lost connection afterwards.
  void Decide(SessionOutcome outcome);
  bool Send(std::span<const std::uint8_t> message);
  void Changed();

  Environment env_;
  bool localMode_ = true;
  // List entries and the end of the list count only between the login and the first end of the list.
  bool listOpen_ = false;
  SocketState socket_ = SocketState::Closed;
  bool linkReady_ = false;
  bool loggedIn_ = false;
  bool online_ = false;
  bool fullAccess_ = false;
  bool readOnly_ = false;
  std::string accessText_;
  SystemChoice selected_;
  SystemList systems_;
  RemoteView view_;
  SessionOutcome outcome_ = SessionOutcome::None;
  int statusTicks_ = 0;
};

}  // namespace qd::link
