#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "link/bus_payload.h"
#include "model/counts.h"

namespace qd::link {

// Routes replies to the one place that handles their code. There are no request identifiers: the
// receiver decides from its own wait state whether a reply is the one it waits for. The GUI's windows
// and qdtool register what they handle; codes without a handler, unknown codes and unknown classes
// are dropped.
class Dispatcher {
 public:
  static constexpr int MachineCount = qd::MachineCount;

  using FrameHandler = std::function<void(PayloadView)>;
  // The whole message, class and code included.
  using MessageHandler = std::function<void(std::span<const std::uint8_t> message)>;

  struct MachineHandlers {
    std::function<bool()> wantsStatus;  // status goes only where someone shows it
    FrameHandler applyStatus;           // bus 0x43
    MessageHandler applyRemoteStatus;   // gateway 'C','X': this machine's 10-byte record
  };

  struct Handlers {
    // System setup
    FrameHandler systemStatus;  // bus 0x43, whether shown or not, before the machines
    FrameHandler monitorReply;  // bus 0x51
    std::function<bool()> systemStatusWanted;
    MessageHandler remoteSystemStatus;  // gateway 'C','X' while wanted, after the machines
    std::function<void()> resetDone;    // gateway 'C','%' and 'C','&'
    // System data transfer
    FrameHandler transferReply;        // bus 0x45, 0x47
    MessageHandler remoteSystemData;   // gateway 'B','H'
    MessageHandler remoteWriteResult;  // gateway 'C','S'
    // Logs, both transports
    std::function<void()> logResetDone;     // bus 0x4A, gateway 'C','!'
    std::function<void()> alarmLogCleared;  // bus 0x4C, gateway 'C','#'
    // Gateway session
    MessageHandler systemListEntry;  // 'B','D'
    MessageHandler connectResult;    // 'B','E'
    MessageHandler systemAddress;    // 'B','F'
    MessageHandler loginRefused;     // 'B','I'
  };

  Handlers handlers;
  std::array<MachineHandlers, MachineCount> machines;  // index 0 = machine 1

  // An in-sequence bus frame addressed to the PC.
  void DispatchBusFrame(PayloadView frame) const;
  // A gateway message with a good checksum, without its checksum byte.
  void DispatchGatewayMessage(std::span<const std::uint8_t> message) const;

 private:
  void DispatchSystemMessage(std::span<const std::uint8_t> message) const;
  void DispatchRemoteStatus(std::span<const std::uint8_t> message) const;
};

}  // namespace qd::link
