#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/dispatch.h"
#include "link/frame_codec.h"
#include "link/gateway_codec.h"
#include "link/gateway_session.h"

namespace qd::test {

// A gateway session whose owner is a script: the socket, the dialogs' answers and the shown windows are
// set by the test, and everything the session asks for or sends is recorded. Messages from the gateway
// arrive framed, through the receiver and the dispatcher, as on the socket.
class GatewaySessionHarness : public ::testing::Test {
 protected:
  using Bytes = std::vector<std::uint8_t>;

  GatewaySessionHarness() : session(MakeEnvironment()) {
    session.events.changed = [this] { ++changes; };
    session.events.linkStateChanged = [this] { ++linkStateChanges; };
    session.events.captionChanged = [this] { ++captionChanges; };
    session.events.connectionLost = [this] { ++connectionsLost; };
    session.RegisterWith(dispatcher);
    receiver.onMessage = [this](std::span<const std::uint8_t> m) { dispatcher.DispatchGatewayMessage(m); };
  }

  // Class, code, then each text with its zero byte.
  static Bytes Message(std::uint8_t messageClass, std::uint8_t code,
                       std::initializer_list<std::string_view> texts) {
    Bytes message = {messageClass, code};
    for (std::string_view text : texts) {
      message.insert(message.end(), text.begin(), text.end());
      message.push_back(0x00);
    }
    return message;
  }
  static Bytes Entry(std::string_view serial, std::string_view name, std::string_view inUse,
                     std::string_view address) {
    return Message('B', 'D', {serial, name, inUse, address});
  }
  static Bytes EndOfList() { return Message('B', 'D', {""}); }
  static Bytes Result(std::uint8_t result, std::string_view serial = "", std::string_view access = "") {
    Bytes message = Message('B', 'E', {serial, access});
    message.insert(message.begin() + 2, result);
    return message;
  }
  static Bytes Address(std::string_view text) { return Message('B', 'F', {text}); }
  static Bytes Refused() { return {'B', 'I'}; }

  void Receive(const Bytes& message) { receiver.Feed(link::EncodeRawFrame(message)); }

  // The gateway accepted the socket; the login window is answered with `login`.
  void Connected(std::optional<link::Credentials> login = link::Credentials{"tech", "secret"}) {
    logins.push_back(std::move(login));
    session.RemoteConnectBtnClick("gateway.test");
    session.ClientSocketConnect();
  }
  // Connected, logged in and granted `access` to system 12 "Laundry", online at 10.0.0.5.
  void ReadyOn12(std::string_view access = "A") {
    Connected();
    Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
    Receive(EndOfList());
    Receive(Result(0, "12", access));
    Receive(Address("10.0.0.5"));
    sent.clear();
  }

  link::GatewaySession::Environment MakeEnvironment() {
    link::GatewaySession::Environment env;
    env.sendGatewayMessage = [this](std::span<const std::uint8_t> m) {
      sent.emplace_back(m.begin(), m.end());
      return session.SocketConnected();
    };
    env.openSocket = [this](const std::string& host, std::uint16_t port) { opened.emplace_back(host, port); };
    env.closeSocket = [this] {
      ++closes;
      // A real socket reports its own close; the session has already let it go.
      session.ClientSocketDisconnect();
    };
    env.askLogin = [this]() -> std::optional<link::Credentials> {
      ++loginAsks;
      if (duringLogin) duringLogin();
      if (logins.empty()) return std::nullopt;
      auto answer = logins.front();
      logins.pop_front();
      return answer;
    };
    env.chooseSystem = [this](const link::SystemList& systems) -> std::optional<link::SystemChoice> {
      ++chooserCalls;
      offeredCount = systems.Count();
      return choose ? choose(systems) : std::nullopt;
    };
    env.retryLogin = [this] {
      ++retryAsks;
      return retry;
    };
    env.statusWanted = [this] { return statusWanted; };
    return env;
  }

  // The owner's script.
  std::deque<std::optional<link::Credentials>> logins;
  std::function<void()> duringLogin;
  std::function<std::optional<link::SystemChoice>(const link::SystemList&)> choose;
  bool retry = false;
  bool statusWanted = true;

  // What the session did.
  std::vector<Bytes> sent;
  std::vector<std::pair<std::string, std::uint16_t>> opened;
  int closes = 0;
  int loginAsks = 0;
  int chooserCalls = 0;
  int offeredCount = 0;
  int retryAsks = 0;
  int changes = 0;
  int linkStateChanges = 0;
  int captionChanges = 0;
  int connectionsLost = 0;

  link::Dispatcher dispatcher;
  link::GatewayReceiver receiver;
  link::GatewaySession session;
};

}  // namespace qd::test
