#include "simulator.h"

#include <cstdio>

#include "frame_trace.h"
#include "gateway_fleet.h"
#include "initial_memory.h"

namespace qd::sim {

namespace {

ControllerSettings SettingsFrom(const SimOptions& options, std::optional<ClockTime> clockStart) {
  ControllerSettings settings;
  settings.statusForm = options.oldStatus ? StatusForm::Older : StatusForm::Current;
  settings.clockStart = clockStart;
  for (const TriggerOption& trigger : options.triggers) {
    if (trigger.type == trigger_type::MieleEthernet) settings.ethernetMachines.push_back(trigger.machine);
  }
  return settings;
}

std::vector<TriggerModule> ModulesFrom(const SimOptions& options) {
  std::vector<TriggerModule> modules;
  for (const TriggerOption& trigger : options.triggers) {
    if (trigger.type != trigger_type::MieleEthernet) modules.emplace_back(trigger.machine, trigger.type);
  }
  return modules;
}

BusMasterSettings BusSettingsFrom(const SimOptions& options) {
  BusMasterSettings settings;
  settings.baud = options.baud;
  settings.pollInterval = Milliseconds(options.pollIntervalMs);
  settings.answerTimeout = Milliseconds(options.answerTimeoutMs);
  settings.loader.fault = options.loaderFault;
  return settings;
}

}  // namespace

Simulator::Simulator(const SimOptions& options, const ControllerMemory& memory,
                     std::optional<ClockTime> clockStart, QObject* parent)
    : QObject(parent),
      options_(options),
      logTime_(SampleLogTime(clockStart)),
      controller_(memory, SettingsFrom(options, clockStart)),
      faults_(options.faults, options.seed),
      master_(controller_, faults_, ModulesFrom(options), BusSettingsFrom(options)),
      endpoint_(new PtyEndpoint(this)),
      timer_(new QTimer(this)) {
  elapsed_.start();
  timer_->setSingleShot(true);
  timer_->setTimerType(Qt::PreciseTimer);
  connect(timer_, &QTimer::timeout, this, &Simulator::Advance);
  connect(endpoint_, &PtyEndpoint::Received, this, &Simulator::OnReceived);
  master_.onLostExchange = [this] { endpoint_->DiscardUnread(); };
  if (options_.verbose) {
    master_.onTrace = [](const BusMaster::TraceEvent& event) {
      std::fprintf(stderr, "%s\n", TraceLine(event).c_str());
    };
  }
}

bool Simulator::Start(QString& error) {
  if (!endpoint_->Open(error)) return false;
  if (options_.link) {
    std::string reason;
    if (!link_.Create(*options_.link, endpoint_->SlavePath().toStdString(), reason)) {
      error = QString::fromStdString(reason);
      return false;
    }
  }
  if (options_.gateway.port) {
    const ControllerMemory& memory = controller_.Memory();
    GatewayDirectory directory(options_.gateway, memory.Identity().serialNumber,
                               ConnectionFlagsFor(options_.triggers),
                               MakeFleet(memory, options_.gateway.fleet, logTime_));
    gateway_ = new GatewayServer(
        std::move(directory), controller_, [this] { return Now(); }, options_.verbose, this);
    if (!gateway_->Listen(QString::fromStdString(options_.gateway.host), *options_.gateway.port, error))
      return false;
  }
  Advance();
  return true;
}

SimTime Simulator::Now() const {
  return SimTime(elapsed_.nsecsElapsed());
}

const ControllerMemory& Simulator::Memory() {
  controller_.Advance(Now());
  return controller_.Memory();
}

void Simulator::OnReceived(const QByteArray& bytes) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  master_.Receive(std::span<const std::uint8_t>(data, static_cast<std::size_t>(bytes.size())), Now());
  Advance();
}

void Simulator::Advance() {
  SimTime now = Now();
  master_.Tick(now);
  const std::vector<std::uint8_t> due = master_.TakeOutput(now);
  if (!due.empty()) {
    const std::size_t written = endpoint_->Write(due);
    if (written < due.size() && options_.verbose)
      std::fprintf(stderr, "-- %zu bytes found no room on the terminal and were dropped\n",
                   due.size() - written);
  }
  now = Now();
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(master_.NextWakeup(now) - now);
  timer_->start(std::chrono::milliseconds(std::max<std::chrono::milliseconds::rep>(wait.count(), 0)));
}

}  // namespace qd::sim
