#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controller.h"
#include "gateway_directory.h"
#include "link/gateway_codec.h"
#include "sim_time.h"

namespace qd::sim {

// One PC's connection to the gateway server, without the socket: bytes in through Receive(), framed
// messages out through onSend.
//
// The PC logs in ('A','@'); a wrong user or password is refused ('B','I') and the PC may try again.
// After a login the gateway lists the systems ('B','D' each, then the end of the list). The PC
// connects to one ('A','B'): not listed gives 1, in use 2, else 0 with the serial and the access text,
// followed by the system's address ('B','F'). Until then messages other than the login are ignored.
//
// Connected to the simulated controller, the gateway answers for it:
//   read ('A','C')            the whole memory in data blocks of BlockSize() bytes, in order
//   write block (0,'Q')       stored as it comes; blocks of count 0, over 200 or with data missing
//                             are ignored; a sum of the bytes stored runs until the next confirm
//   confirm (0,'S')           'C','S' with that sum, which starts again at 0
//   status (0,'X')            'C','X' from the controller's outputs and machine records
//   reset machine(s) (3,'%' machine / 3,'&'), consumption log reset (6,' '), alarm log clear (7,'"')
//                             done in the controller as the bus requests do them, confirmed with
//                             'C','%' / 'C','&', 'C','!', 'C','#'
// With read-only access (any access text not starting with 'A') write blocks and machine resets are
// ignored.
//
// A fleet system answers the same from its own memory: it reads, stores, resets its consumption log and
// clears its alarm history there, confirms machine resets (it runs no machines) and reports a status
// with nothing running and no trigger module. Any other system answers nothing.
//
// A fault that ends the connection sets Dropping(): everything after it is ignored, and the owner
// closes the connection once the frames sent so far have gone out.
class GatewayConnection {
 public:
  struct TraceEvent {
    SimTime at{};
    bool sent = false;
    std::vector<std::uint8_t> message;  // empty for an event without a message
    std::string note;
  };

  GatewayConnection(GatewayDirectory& directory, Controller& controller, int id);
  ~GatewayConnection();
  GatewayConnection(const GatewayConnection&) = delete;
  GatewayConnection& operator=(const GatewayConnection&) = delete;

  // One whole frame to send.
  std::function<void(std::span<const std::uint8_t> frame)> onSend;
  std::function<void(const TraceEvent&)> onTrace;

  void Receive(std::span<const std::uint8_t> bytes, SimTime now);
  // The connection has ended: the system it held is free again.
  void Close();

  int Id() const { return id_; }
  bool Dropping() const { return dropping_; }
  bool LoggedIn() const { return user_.has_value(); }
  const std::string& UserName() const;
  // The entry of the system connected to.
  std::optional<std::size_t> System() const { return system_; }
  bool FullAccess() const { return !access_.empty() && access_[0] == 'A'; }
  // The sum of the bytes written since the last confirm.
  std::uint16_t WrittenSum() const { return sum_; }

 private:
  void Handle(std::span<const std::uint8_t> message);
  void HandleLogin(std::span<const std::uint8_t> message);
  void HandleConnect(std::span<const std::uint8_t> message);
  void HandleSystemMessage(std::span<const std::uint8_t> message);
  void SendStatus(const Controller* controller);
  void SendMemory();
  void WriteBlock(std::span<const std::uint8_t> message);
  void Confirm();
  void Reset(std::uint8_t busCommand, std::uint8_t data, std::uint8_t confirmCode);
  // Of the system connected to: the controller when it is the simulated one, and the memory that
  // answers (the controller's or a fleet system's); none when the system does not answer.
  Controller* AnsweringController();
  ControllerMemory* AnsweringMemory();
  void Send(std::span<const std::uint8_t> message, std::string note = {});
  void Drop(std::string note);
  void Trace(bool sent, std::span<const std::uint8_t> message, std::string note);

  GatewayDirectory& directory_;
  Controller& controller_;
  int id_;
  link::GatewayReceiver receiver_;
  SimTime now_{};
  std::optional<GatewayUser> user_;
  std::optional<std::size_t> system_;
  std::string access_;
  std::uint16_t sum_ = 0;
  int writeBlocks_ = 0;                // since the last confirm
  std::optional<int> dropWriteAfter_;  // the fault that hits this write
  bool dropping_ = false;
  bool closed_ = false;
};

// One line of the gateway log: "    3.141593 gw2 rx 'A','C' read", with the event's note in brackets; an
// event without a message reads "    3.141593 gw2 -- <note>".
std::string GatewayTraceLine(int connection, const GatewayConnection::TraceEvent& event);

}  // namespace qd::sim
