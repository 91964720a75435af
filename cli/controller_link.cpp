#include "controller_link.h"

#include <QDeadlineTimer>
#include <cstdio>

#include "app/text.h"
#include "arguments.h"
#include "transport/process_events.h"

namespace qdtool {

using qd::link::SessionOutcome;
using qd::transport::ProcessEventsFor;
using qd::transport::ProcessEventsUntil;

ControllerLink::ControllerLink(Target target) : target_(std::move(target)) {
  connect(&connection_, &qd::transport::Connection::ConnectionLost, this, [this] {
    if (opened_) lost_ = true;
  });
  connect(&connection_, &qd::transport::Connection::GatewayError, this,
          [this](int, const QString& text, const QString& reason) {
            if (failure_.empty()) failure_ = reason.toStdString() + " (" + text.toStdString() + ")";
          });
}

void ControllerLink::Open() {
  if (Local()) {
    OpenPort();
  } else {
    ConnectGateway();
  }
  opened_ = true;
}

void ControllerLink::OpenPort() {
  connection_.Link().EndOpenDelay();
  connection_.SetPortName(QString::fromStdString(*target_.port));
  connection_.SetLinkMode(true);
  if (!connection_.Port().IsOpen()) throw Failure("cannot open the port " + *target_.port);
  connection_.StartTicking();
}

qd::transport::Connection::SessionPrompts ControllerLink::Prompts() {
  const GatewayOptions& options = *target_.gateway;
  qd::transport::Connection::SessionPrompts prompts;
  prompts.askLogin = [options] { return qd::link::Credentials{options.user, options.password}; };
  prompts.chooseSystem =
      [this, options](const qd::link::SystemList& systems) -> std::optional<qd::link::SystemChoice> {
    if (options.system) {
      if (auto choice = systems.FindSerial(*options.system)) return choice;
      failure_ = "system " + *options.system + " is not in the gateway's list:" + SystemListText();
      return std::nullopt;
    }
    failure_ = "the gateway offers several systems; choose one with --system:" + SystemListText();
    return std::nullopt;
  };
  prompts.statusWanted = [this] { return wantStatus; };
  return prompts;
}

std::string ControllerLink::SystemListText() const {
  std::string text;
  for (const auto& entry : connection_.Session().Systems().Entries()) {
    text += "\n  " + qd::TerminalText(entry.serial) + "  " + qd::TerminalText(entry.name) +
            "  in use: " + qd::TerminalText(entry.inUse) + "  " + qd::TerminalText(entry.ipAddress);
  }
  return text.empty() ? " (none)" : text;
}

std::vector<qd::link::SystemEntry> ControllerLink::ListGatewaySystems() {
  if (Local()) throw Failure("only a gateway lists systems");
  const qd::link::GatewaySession& session = connection_.Session();
  std::vector<qd::link::SystemEntry> listed;
  bool answered = false;
  qd::transport::Connection::SessionPrompts prompts = Prompts();
  prompts.chooseSystem = [&](const qd::link::SystemList& systems) -> std::optional<qd::link::SystemChoice> {
    listed = systems.Entries();
    answered = true;
    return std::nullopt;
  };
  connection_.SetSessionPrompts(std::move(prompts));
  connection_.SetLinkMode(false);
  connection_.StartTicking();
  connection_.RemoteConnect(target_.gateway->address);
  QDeadlineTimer deadline(ConnectLimitMs);
  ProcessEventsUntil(
      [&] { return answered || session.Outcome() != SessionOutcome::None || deadline.hasExpired(); },
      [] { return false; });
  if (answered || session.Outcome() == SessionOutcome::LoggedIn) {
    return answered ? listed : session.Systems().Entries();
  }
  switch (session.Outcome()) {
    case SessionOutcome::None:
      throw Failure("no answer from the gateway at " + target_.gateway->address);
    case SessionOutcome::LoginRefused:
      throw Failure(std::string(qd::link::LoginRefusedText));
    case SessionOutcome::ListTooLong:
      throw Failure(std::string(qd::link::ListTooLongText));
    default:
      throw Failure(!failure_.empty() ? failure_ : "the gateway closed the connection");
  }
}

void ControllerLink::ConnectGateway() {
  const GatewayOptions& options = *target_.gateway;
  const qd::link::GatewaySession& session = connection_.Session();
  connection_.SetSessionPrompts(Prompts());
  connection_.SetLinkMode(false);
  connection_.StartTicking();
  connection_.RemoteConnect(options.address);
  QDeadlineTimer deadline(ConnectLimitMs);
  ProcessEventsUntil([&] { return session.Outcome() != SessionOutcome::None || deadline.hasExpired(); },
                     [] { return false; });
  switch (session.Outcome()) {
    case SessionOutcome::LoggedIn:
      break;
    case SessionOutcome::None:
      throw Failure("no answer from the gateway at " + options.address);
    case SessionOutcome::LoginRefused:
      throw Failure(std::string(qd::link::LoginRefusedText));
    case SessionOutcome::NotFound:
    case SessionOutcome::InUse:
    case SessionOutcome::Failed:
      throw Failure("system " + session.SelectedSerial() + ": " +
                    std::string(qd::link::RemoteStateText(session.View().state)));
    case SessionOutcome::NoSystemChosen:
      throw Failure(!failure_.empty() ? failure_ : "no free system to connect to:" + SystemListText());
    case SessionOutcome::ListTooLong:
      throw Failure(std::string(qd::link::ListTooLongText));
    case SessionOutcome::Cancelled:
    case SessionOutcome::ConnectionLost:
      throw Failure(!failure_.empty() ? failure_ : "the gateway closed the connection");
  }
  if (options.system) {
    const auto wanted = session.Systems().FindSerial(*options.system);
    if (!wanted || wanted->serial != session.SelectedSerial()) {
      throw Failure("system " + *options.system + " is not in the gateway's list:" + SystemListText());
    }
  }
  // The system's address (or "Offline") follows the access; give it a moment.
  QDeadlineTimer addressDeadline(AddressWaitMs);
  ProcessEventsUntil([&] { return session.View().ipAddressVisible || addressDeadline.hasExpired(); },
                     [this] { return lost_; });
}

bool ControllerLink::RunUntil(const std::function<bool()>& done) {
  return ProcessEventsUntil(done, [this] { return lost_; });
}

void ControllerLink::Flush() {
  QDeadlineTimer deadline(2000);
  const auto waiting = [this] {
    return Local() ? connection_.Port().IsOpen() && connection_.Port().BytesToWrite() > 0
                   : connection_.Socket().IsConnected() && connection_.Socket().BytesToWrite() > 0;
  };
  while (waiting() && !deadline.hasExpired())
    ProcessEventsFor(10);
}

std::string ControllerLink::LostText() const {
  return Local() ? "the port was lost" : "the gateway closed the connection";
}

void ControllerLink::PrintCounters() {
  if (Local()) {
    const qd::link::LinkCounters& c = connection_.Link().Counters();
    std::fprintf(stderr, "Rx: %d bytes, Tx: %d bytes, Sync: %d, Retransmit: %d bytes, Checksum errors: %d\n",
                 c.rxBytes, c.txBytes, c.syncCount, c.retransmitCount, c.checksumErrorCount);
  } else {
    std::fprintf(stderr, "Rx: %lld bytes, Tx: %lld bytes\n",
                 static_cast<long long>(connection_.Socket().RxBytes()),
                 static_cast<long long>(connection_.Socket().TxBytes()));
  }
}

}  // namespace qdtool
