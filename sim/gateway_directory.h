#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controller_memory.h"
#include "gateway_config.h"
#include "gateway_replies.h"
#include "sim_options.h"

namespace qd::sim {

// What the gateway server knows across its connections: who may log in, the dispenser systems it
// lists, which connection holds which system, and the faults still to make.
//
// One system is the simulated controller: the listed entry whose serial is the controller's, or, when
// none is, an entry put first with the controller's serial, in-use "-" and address 127.0.0.1. Its
// name is the system name in the controller's memory when the entry gives none ("QD310 simulator"
// when the memory holds none either).
//
// The fleet follows the controller in the list: one entry per fleet memory, under the serial number and
// system name that memory holds, free, at 127.0.0.1. An entry given for a fleet system's serial number
// changes that system's entry (its name when it has one, its in-use text and address) instead of
// standing on its own. A fleet system answers from its memory unless it is listed offline. The other
// entries only stand in a list.
//
// A system held by a connection lists that connection's user as its in-use text and is refused to the
// others as in use; so is one listed with an in-use text other than "-".
class GatewayDirectory {
 public:
  static constexpr std::string_view SimulatorName = "QD310 simulator";

  struct Entry {
    GatewaySystemOption system;
    bool simulated = false;
    int fleetMember = 0;  // 1..: the fleet memory that answers for it; 0: none
    int holder = 0;       // connection id, 0: none
    std::string holderUser;
  };

  GatewayDirectory(const GatewayOptions& options, std::uint32_t controllerSerial,
                   const gateway::ConnectionFlags& connections = {},
                   std::vector<ControllerMemory> fleet = {});

  // The user whose name and password match; nothing otherwise.
  const GatewayUser* Login(std::string_view name, std::string_view password) const;

  // The list as a user sees it now.
  std::vector<gateway::ListedSystem> List(const ControllerMemory& memory) const;
  const std::vector<Entry>& Entries() const { return entries_; }

  // The entry with exactly this serial, else one whose serial has the same value as a whole number.
  std::optional<std::size_t> Find(std::string_view serial) const;
  // Free for this connection: not marked in use and held by no other connection.
  bool IsFree(std::size_t entry, int connection) const;
  // Takes the entry for the connection and lets go of any other it held.
  void Hold(std::size_t entry, int connection, const std::string& user);
  void Release(int connection);
  // The access text of a connect result: the system's own, else the user's.
  std::string AccessFor(std::size_t entry, const GatewayUser& user) const;
  // The fleet memory that answers for the entry; none for the simulated controller, for an offline
  // fleet system and for an entry that only stands in the list.
  ControllerMemory* FleetMemory(std::size_t entry);

  // The first fault of this kind that has not hit yet and waits for any system or for this entry's,
  // which is now used up; nothing when there is none.
  std::optional<GatewayFault> TakeFault(GatewayFaultKind kind, std::size_t entry);

  std::size_t BlockSize() const { return blockSize_; }
  const gateway::ConnectionFlags& Connections() const { return connections_; }

 private:
  std::vector<GatewayUser> users_;
  std::vector<Entry> entries_;
  std::vector<ControllerMemory> fleet_;  // fleet member k is fleet_[k - 1]
  std::vector<GatewayAccessOption> access_;
  std::vector<GatewayFault> faults_;  // those still to hit
  std::size_t blockSize_;
  gateway::ConnectionFlags connections_;
};

// The connection flags the trigger modules report: keyboard connected and serial connection for a
// QD740 module on the bus (every type but QD520 and Nortec, which report neither, and the Ethernet link,
// which has no module).
gateway::ConnectionFlags ConnectionFlagsFor(const std::vector<TriggerOption>& triggers);

// The name of the system in the controller's memory (up to 40 characters), empty when there is none.
std::string SystemNameOf(const ControllerMemory& memory);

}  // namespace qd::sim
