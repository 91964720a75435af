#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

#include "bus_master.h"
#include "controller.h"
#include "fault_plan.h"
#include "gateway_server.h"
#include "pty_endpoint.h"
#include "sim_options.h"
#include "symbolic_link.h"

namespace qd::sim {

// The simulated dosing system in the event loop: the bus master on a pseudo-terminal, run by what
// arrives from the PC and by a timer that wakes it whenever the wire or the protocol has something
// to do next; with a gateway port, also the gateway server on TCP, on the same controller and on the
// fleet of further systems the gateway lists. The boot loaders run inside the bus master, on the same
// endpoint.
class Simulator : public QObject {
  Q_OBJECT

 public:
  Simulator(const SimOptions& options, const ControllerMemory& memory, std::optional<ClockTime> clockStart,
            QObject* parent = nullptr);

  // Opens the pseudo-terminal, makes the link, starts polling and, when asked for, listens as the
  // gateway server; false with the reason in `error`.
  bool Start(QString& error);
  QString SlavePath() const { return endpoint_->SlavePath(); }
  // "HOST:PORT" of the gateway server; empty without one.
  QString GatewayAddress() const { return gateway_ ? gateway_->Address() : QString(); }
  // The memory as it is now, the clock brought up to date.
  const ControllerMemory& Memory();
  // The program memory of the last boot loader run; empty when none ran.
  const std::vector<std::uint8_t>& ProgrammedFirmware() const { return master_.Loader().Image(); }

 private:
  SimTime Now() const;
  void OnReceived(const QByteArray& bytes);
  // Lets the bus master act on the time now, writes what has left the wire and sets the timer for
  // the next thing to do.
  void Advance();

  SimOptions options_;
  ClockTime logTime_;  // of the fleet's sample logs
  QElapsedTimer elapsed_;
  Controller controller_;
  FaultPlan faults_;
  BusMaster master_;
  PtyEndpoint* endpoint_;
  QTimer* timer_;
  GatewayServer* gateway_ = nullptr;
  SymbolicLink link_;
};

}  // namespace qd::sim
