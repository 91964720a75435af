#include "gateway_fleet.h"

#include <algorithm>

#include "app/text.h"
#include "sample_logs.h"

namespace qd::sim {

namespace {

void SetSystemName(ControllerMemory& memory, const std::string& name) {
  std::vector<std::uint8_t> field(layout::SystemNameField, 0);
  std::copy_n(name.begin(), std::min(name.size(), field.size() - 1), field.begin());
  memory.Write(layout::SystemName, field);
}

}  // namespace

std::string FleetSystemName(int k) {
  return Format("Laundry %02d", k);
}

std::vector<ControllerMemory> MakeFleet(const ControllerMemory& base, int count, const ClockTime& logTime) {
  std::vector<ControllerMemory> fleet;
  fleet.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int k = 1; k <= count; ++k) {
    ControllerMemory& memory = fleet.emplace_back(base);
    ControllerIdentity identity = base.Identity();
    // Wraps like the 32-bit serial number field itself.
    identity.serialNumber += static_cast<std::uint32_t>(k);
    memory.SetIdentity(identity);
    SetSystemName(memory, FleetSystemName(k));
    FillSampleLogs(memory, logTime, k);
  }
  return fleet;
}

}  // namespace qd::sim
