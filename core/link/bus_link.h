#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/bus_payload.h"
#include "link/bus_receiver.h"

namespace qd::link {

// Where the link's bytes go: the serial port, or a recorder in tests.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool IsOpen() const = 0;
  // Starts the write and returns at once; the bytes are copied. False when the write failed.
  virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
};

// The manual output state that the idle answer 0x42 carries (payload bytes 6..11).
//   6 pump on (bits 0..6) | 7 pump PC control | 8..9 machine on (bits 0..9), flush water on (bit 10),
//   flush drain on (bit 11) | 10..11 machine PC control (bits 0..9), flush water control (10),
//   flush drain control (11), alarm output on (12), alarm output control (13)
struct ManualOutputs {
  std::uint8_t pumpOn = 0;
  std::uint8_t pumpControl = 0;
  std::uint16_t machineOn = 0;
  std::uint16_t machineControl = 0;
  bool flushWaterOn = false;
  bool flushWaterControl = false;
  bool flushDrainOn = false;
  bool flushDrainControl = false;
  bool alarmOutputOn = false;
  bool alarmOutputControl = false;

  std::array<std::uint8_t, 6> Encode() const;
  bool operator==(const ManualOutputs&) const = default;
};

// What the port state label shows.
enum class PortStatus { Hidden, Ready, PortOpen, PortClosed, Closed };
std::string PortStatusText(PortStatus status);  // "", "Ready", "Port open", "Port closed", "Closed"

struct LinkCounters {
  int rxBytes = 0;
  int txBytes = 0;
  int syncCount = 0;
  int retransmitCount = 0;  // bytes of retransmitted requests
  int checksumErrorCount = 0;
  int retryCount = 0;
  int framesHeard = 0;  // frames with a good checksum, whoever they were for
  int strayBytes = 0;   // bytes outside frames that no boot loader listened for
};
// The five counter panels: "Rx: %6d", "Tx: %6d", "Sync: %d", "Retransmit: %d", "Checksum error: %d";
// the last three are empty while 0.
std::array<std::string, 5> CounterTexts(const LinkCounters& counters);

// The PC's side of the bus protocol. The controller is the master: the PC speaks only in answer to an
// in-sequence frame addressed to it, with the one queued request or the idle answer. Lost exchanges
// are repaired by the controller's resynchronisation and the retransmission of the last request.
//
// Late answers: a controller whose answer window closed just before the PC's answer arrived repeats
// its frame with the same number and takes the late answer for the repeat. The PC therefore lets the
// first repeat of the number it has just answered pass in silence; a second one resynchronises. After
// a resynchronisation, an in-sequence frame that is the reply to the request kept for retransmission
// is taken rather than answered with the request again.
// No I/O of its own: bytes come in through Receive(), go out through the ByteSink, and time passes
// through Tick() every 100 ms.
class BusLink {
 public:
  static constexpr int OpenDelayTicks = 10;
  static constexpr int LinkAliveTicks = 20;
  static constexpr std::size_t MaxEncodedFrame = 1000;
  static constexpr std::size_t MaxPayload = 255;  // Length is one byte

  struct Handlers {
    // In-sequence frames to the PC. A request queued here answers the same frame.
    std::function<void(PayloadView)> dispatch;
    std::function<void(int machineIndex, PayloadView)> triggerFrame;  // trigger module to controller, 0..9
    // Bytes outside frames while a boot loader listens.
    std::function<void(std::uint8_t)> loaderByte;
    std::function<void()> linkStateChanged;
    std::function<void()> checksumError;  // after the counter grew
    std::function<void()> openPort;       // the open delay ran out in local mode
    // The idle answer's inputs. A pending reset-machine request is taken by the call: no value when
    // none is pending, else the selected entry (0..9 machine, 10 all, -1 none).
    std::function<std::optional<int>()> takeResetMachineRequest;
    std::function<bool()> monitorOn;
    std::function<ManualOutputs()> manualOutputs;
  };

  explicit BusLink(ByteSink& sink);
  // The receiver's callbacks point at this object.
  BusLink(const BusLink&) = delete;
  BusLink& operator=(const BusLink&) = delete;

  Handlers handlers;

  // Bytes received from the port.
  void Receive(std::span<const std::uint8_t> bytes);

  // The single-slot queue: false, and nothing stored, while a request waits (or when the data would
  // not fit the one-byte Length). Sequence and Checksum are filled in when the request goes out.
  bool QueueRequest(std::uint8_t command, std::uint8_t destination, std::span<const std::uint8_t> data);
  void ClearQueue() { queued_.clear(); }
  bool RequestQueued() const { return !queued_.empty(); }
  // Forgets the queued request and the copy kept for retransmission: their requester gave up, so no
  // controller may receive them, whichever is reached next.
  void DropInFlight();
  bool RetransmissionKept() const { return !lastRequest_.empty(); }

  // Seals the payload (Length, Checksum) and writes it; command 0x70 also empties the queue. False
  // when the write fails, or, with nothing written, for a payload shorter than the header or longer
  // than MaxPayload.
  bool SendFrame(std::vector<std::uint8_t>& payload);
  // The bytes with their checksum appended, framed (firmware loaders). A frame that would exceed
  // MaxEncodedFrame is refused: nothing is written and the result is false.
  bool SendRawFrame(std::span<const std::uint8_t> data);

  // A port (re)opened or the mode changed: counters, sequence and readiness start again. The
  // checksum error count, the queue and the copy kept for retransmission stay.
  void ResetLinkState();
  // The 100 ms tick: the open delay, and in local mode the link-alive count or "Port closed".
  void Tick(bool localMode);
  // The port was closed by the user.
  void PortClosedByUser();

  // While a boot loader listens, bytes outside frames go to it and requests are not kept for
  // retransmission (the loader takes over the bus).
  void SetLoaderListening(bool listening) { loaderListening_ = listening; }
  // The loader answers: valid frames are dropped, nothing answers the controller.
  void SetProgrammingActive(bool active) { programmingActive_ = active; }
  // The communication error window closed.
  void ClearErrorCounters();
  // The gateway transport counts its traffic in the same counters.
  void CountGatewayBytes(std::size_t received, std::size_t sent);

  bool LinkReady() const { return linkReady_; }
  PortStatus Status() const { return status_; }
  const LinkCounters& Counters() const { return counters_; }
  std::uint8_t Sequence() const { return sequence_; }
  int OpenDelayLeft() const { return openDelay_; }
  // A program that opens its port at once (no start-up delay to let the windows settle).
  void EndOpenDelay() { openDelay_ = 0; }

 private:
  void EndOfFrame(std::span<const std::uint8_t> body);
  void ByteOutsideFrame(std::uint8_t byte);
  void FrameToPc(PayloadView frame);
  bool IsLateAnswerEcho(std::uint8_t number) const;
  void Resynchronise();
  void Retransmit();
  void TakeInSequence(PayloadView frame);
  void IdleAnswer();
  bool Write(std::span<const std::uint8_t> encoded);
  void SetReady(bool ready, PortStatus status);
  // The number for the PC's answer to the frame in hand; remembers it as the number last answered.
  std::uint8_t AnswerSequence();

  ByteSink& sink_;
  BusReceiver receiver_;
  std::uint8_t sequence_ = 0;
  std::vector<std::uint8_t> queued_;
  std::vector<std::uint8_t> lastRequest_;
  bool retransmitPending_ = false;
  // The number the PC's last answer carried, and whether its echo was already let pass once.
  std::optional<std::uint8_t> answered_;
  bool echoPassed_ = false;
  bool linkReady_ = false;
  int linkAlive_ = 0;
  int openDelay_ = OpenDelayTicks;
  PortStatus status_ = PortStatus::Hidden;
  LinkCounters counters_;
  bool loaderListening_ = false;
  bool programmingActive_ = false;
};

}  // namespace qd::link
