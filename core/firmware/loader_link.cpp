#include "firmware/loader_link.h"

namespace qd::firmware {

BootLoader::Owner OwnerOnLink(link::BusLink& link) {
  BootLoader::Owner owner;
  owner.clearQueue = [&link] { link.ClearQueue(); };
  owner.queueRequest = [&link](std::uint8_t command, std::uint8_t destination,
                               std::span<const std::uint8_t> data) {
    return link.QueueRequest(command, destination, data);
  };
  owner.sendFrame = [&link](std::vector<std::uint8_t>& payload) { return link.SendFrame(payload); };
  owner.sendRawFrame = [&link](std::span<const std::uint8_t> data) { return link.SendRawFrame(data); };
  owner.setProgrammingActive = [&link](bool active) { link.SetProgrammingActive(active); };
  return owner;
}

}  // namespace qd::firmware
