#include "gateway_directory.h"

#include <algorithm>
#include <charconv>

#include "trigger_module.h"

namespace qd::sim {

namespace {

std::optional<std::uint64_t> WholeNumber(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || status != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

gateway::ConnectionFlags ConnectionFlagsFor(const std::vector<TriggerOption>& triggers) {
  gateway::ConnectionFlags flags{};
  for (const TriggerOption& trigger : triggers) {
    if (trigger.machine < 1 || trigger.machine > MachineCount) continue;
    const bool qd520 = trigger.type == trigger_type::Qd520 || trigger.type == trigger_type::Nortec;
    const bool onBus = trigger.type != trigger_type::MieleEthernet;
    flags[static_cast<std::size_t>(trigger.machine - 1)] =
        onBus && !qd520 ? gateway::KeyboardConnectedFlag | gateway::SerialConnectionFlag : 0;
  }
  return flags;
}

std::string SystemNameOf(const ControllerMemory& memory) {
  std::string name;
  for (std::size_t i = 0; i + 1 < layout::SystemNameField; ++i) {
    const std::uint8_t byte = memory.At(layout::SystemName + i);
    if (byte == 0) break;
    name.push_back(static_cast<char>(byte));
  }
  return name;
}

GatewayDirectory::GatewayDirectory(const GatewayOptions& options, std::uint32_t controllerSerial,
                                   const gateway::ConnectionFlags& connections,
                                   std::vector<ControllerMemory> fleet)
    : users_(options.users),
      fleet_(std::move(fleet)),
      access_(options.access),
      faults_(options.faults),
      blockSize_(std::clamp<std::size_t>(options.blockSize, 1, GatewayOptions::MaxBlockSize)),
      connections_(connections) {
  if (users_.empty())
    users_.push_back(
        {std::string(GatewayOptions::DefaultUser), std::string(GatewayOptions::DefaultPassword), "A"});
  std::vector<Entry> members;
  for (std::size_t k = 1; k <= fleet_.size(); ++k) {
    const ControllerMemory& memory = fleet_[k - 1];
    const GatewaySystemOption listed{std::to_string(memory.Identity().serialNumber), SystemNameOf(memory),
                                     "-", "127.0.0.1"};
    members.push_back({listed, false, static_cast<int>(k), 0, {}});
  }
  const auto memberOf = [&members](std::string_view serial) -> Entry* {
    const std::optional<std::uint64_t> value = WholeNumber(serial);
    for (Entry& member : members) {
      if (value && WholeNumber(member.system.serial) == value) return &member;
    }
    return nullptr;
  };
  bool simulatorListed = false;
  for (const GatewaySystemOption& system : options.systems) {
    if (Entry* member = memberOf(system.serial)) {
      if (!system.name.empty()) member->system.name = system.name;
      member->system.inUse = system.inUse;
      member->system.address = system.address;
      continue;
    }
    const bool simulated = !simulatorListed && WholeNumber(system.serial) == controllerSerial;
    simulatorListed = simulatorListed || simulated;
    entries_.push_back({system, simulated, 0, 0, {}});
  }
  if (!simulatorListed) {
    const GatewaySystemOption own{std::to_string(controllerSerial), "", "-", "127.0.0.1"};
    entries_.insert(entries_.begin(), Entry{own, true, 0, 0, {}});
  }
  const auto controller =
      std::find_if(entries_.begin(), entries_.end(), [](const Entry& entry) { return entry.simulated; });
  entries_.insert(controller + 1, members.begin(), members.end());
}

const GatewayUser* GatewayDirectory::Login(std::string_view name, std::string_view password) const {
  for (const GatewayUser& user : users_) {
    if (user.name == name && user.password == password) return &user;
  }
  return nullptr;
}

std::vector<gateway::ListedSystem> GatewayDirectory::List(const ControllerMemory& memory) const {
  std::vector<gateway::ListedSystem> list;
  for (const Entry& entry : entries_) {
    gateway::ListedSystem listed{entry.system.serial, entry.system.name, entry.system.inUse,
                                 entry.system.address};
    if (entry.simulated && listed.name.empty()) {
      listed.name = SystemNameOf(memory);
      if (listed.name.empty()) listed.name = SimulatorName;
    }
    if (entry.holder != 0) listed.inUse = entry.holderUser;
    list.push_back(std::move(listed));
  }
  return list;
}

std::optional<std::size_t> GatewayDirectory::Find(std::string_view serial) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].system.serial == serial) return i;
  }
  const std::optional<std::uint64_t> value = WholeNumber(serial);
  if (!value) return std::nullopt;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (WholeNumber(entries_[i].system.serial) == value) return i;
  }
  return std::nullopt;
}

bool GatewayDirectory::IsFree(std::size_t entry, int connection) const {
  const Entry& e = entries_.at(entry);
  return e.system.inUse == "-" && (e.holder == 0 || e.holder == connection);
}

void GatewayDirectory::Hold(std::size_t entry, int connection, const std::string& user) {
  Release(connection);
  entries_.at(entry).holder = connection;
  entries_.at(entry).holderUser = user;
}

void GatewayDirectory::Release(int connection) {
  for (Entry& entry : entries_) {
    if (entry.holder == connection) {
      entry.holder = 0;
      entry.holderUser.clear();
    }
  }
}

std::string GatewayDirectory::AccessFor(std::size_t entry, const GatewayUser& user) const {
  const std::string& serial = entries_.at(entry).system.serial;
  for (const GatewayAccessOption& access : access_) {
    if (access.serial == serial) return access.access;
  }
  return user.access;
}

ControllerMemory* GatewayDirectory::FleetMemory(std::size_t entry) {
  const Entry& e = entries_.at(entry);
  if (e.fleetMember == 0 || e.system.address == gateway::Offline) return nullptr;
  return &fleet_.at(static_cast<std::size_t>(e.fleetMember - 1));
}

std::optional<GatewayFault> GatewayDirectory::TakeFault(GatewayFaultKind kind, std::size_t entry) {
  const auto it = std::find_if(faults_.begin(), faults_.end(), [&](const GatewayFault& f) {
    return f.kind == kind && (f.serial.empty() || Find(f.serial) == entry);
  });
  if (it == faults_.end()) return std::nullopt;
  const GatewayFault fault = *it;
  faults_.erase(it);
  return fault;
}

}  // namespace qd::sim
