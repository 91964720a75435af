#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "boot_loader_sim.h"
#include "controller.h"
#include "fault_plan.h"
#include "link/bus_payload.h"
#include "link/bus_receiver.h"
#include "paced_output.h"
#include "sim_time.h"
#include "trigger_module.h"

namespace qd::sim {

struct BusMasterSettings {
  int baud = PacedOutput::DefaultBaud;  // 0: no pacing
  // How long the controller listens for the PC's answer once its frame has left the wire.
  SimTime answerTimeout = Milliseconds(50);
  // From one poll to the next while the PC has nothing to say; never sooner than the exchange ends.
  SimTime pollInterval = Milliseconds(20);
  LoaderSettings loader;
};

struct BusStatistics {
  int framesToPc = 0;
  int polls = 0;           // resent polls included
  int answers = 0;         // frames of the PC taken as the answer to the controller's frame
  int inSequence = 0;      // of those, the ones that carried the expected sequence number
  int lostExchanges = 0;   // frames that wanted an answer and got none in time
  int resyncs = 0;         // resynchronisation answers 0x41 of the PC
  int outOfSequence = 0;   // answers with an unexpected sequence number
  int checksumErrors = 0;  // frames received with a wrong sum
  int unexpected = 0;      // frames of the PC while the controller was not listening for one
  int lateAnswers = 0;     // answers that came after the window closed (late-answers fault)
  int triggerReports = 0;
};

// The controller's side of the bus protocol: it is the master and polls the PC (0x40 to address 2),
// and the PC may speak only in answer to an in-sequence frame addressed to it.
//
// Sequence numbers run 1..255 and wrap to 1. The PC's answer carries the number of the frame it
// answers, and after an in-sequence answer the controller's next frame carries the next number. A reply
// to a request goes out as that next frame; the PC may answer it with its next request, or stay silent,
// which is how an exchange ends, and the next poll carries the same number again.
//
// Resynchronisation: when a poll gets no answer within the answer time, when an answer fails its
// checksum or carries an unexpected number, or when the controller knows its own frame went out broken
// or not at all, the controller sends its frame again with Sequence 0. The PC answers 0x41 with
// Sequence 0, and the controller continues with 1 by sending its frame once more; a PC that lost a
// request retransmits it in answer to that frame. A 0x41 that the PC sends of its own accord (it saw an
// unexpected number) is taken the same way.
//
// Boot loaders: the PC's 0x70 with data 0x01, 0x00, taken in sequence, starts the controller's loader,
// and a 0x70 with Sequence 0 to address 0 the trigger modules' loader. While a loader runs, nothing is
// polled and no module reports; the PC's frames go to the loader and its answers go out as single
// bytes. When the loader is done, polling resumes with a resynchronisation.
//
// The controller listens for an answer only once its frame has left the wire: a frame of the PC that
// arrives while it is still sending is not heard.
//
// Trigger modules report to the controller between polls. No I/O: bytes come in through Receive(), go
// out through TakeOutput() at the pace of the wire, and time passes through Tick().
class BusMaster {
 public:
  enum class State { Idle, AwaitingAnswer, Silent };

  struct TraceEvent {
    SimTime at{};
    bool sent = false;                  // the controller or a trigger module sent it
    std::vector<std::uint8_t> payload;  // empty for an event without a frame
    std::string note;
  };

  BusMaster(Controller& controller, FaultPlan& faults, std::vector<TriggerModule> triggers,
            const BusMasterSettings& settings, SimTime now = {});
  BusMaster(const BusMaster&) = delete;
  BusMaster& operator=(const BusMaster&) = delete;

  // One line per frame sent or received, and per decision taken without a frame.
  std::function<void(const TraceEvent&)> onTrace;
  // A frame that wanted an answer got none: whatever the PC has not read by now is stale.
  std::function<void()> onLostExchange;

  void Receive(std::span<const std::uint8_t> bytes, SimTime now);
  void Tick(SimTime now);
  // The bytes that have left the wire by `now`.
  std::vector<std::uint8_t> TakeOutput(SimTime now) { return output_.TakeDue(now); }
  // When Tick() or TakeOutput() next has something to do.
  SimTime NextWakeup(SimTime now) const;

  State CurrentState() const { return state_; }
  // The number the controller's next in-sequence frame carries.
  std::uint8_t Sequence() const { return sequence_; }
  // The controller's next frame goes out with Sequence 0.
  bool ResyncPending() const { return resync_; }
  const BusStatistics& Statistics() const { return statistics_; }
  const BootLoaderSim& Loader() const { return loader_; }

  static std::uint8_t NextSequence(std::uint8_t sequence) {
    return static_cast<std::uint8_t>(sequence >= 255 ? 1 : sequence + 1);
  }

 private:
  struct Frame {
    std::uint8_t command = link::command::Poll;
    std::vector<std::uint8_t> data;
    bool reply = false;  // answers a request of the PC
  };

  void OnFrame(std::span<const std::uint8_t> body);
  void OnAnswer(link::PayloadView answer, SimTime now);
  void Send(const Frame& frame, SimTime now);
  void ResendWithResync(SimTime now);
  void PollSlot(SimTime now);
  void SendTriggerReports(SimTime now);
  void Timeout(SimTime now);
  void EndExchange(SimTime now);
  void CloseWindowEarly(SimTime now);
  void HearLateAnswer(SimTime now);
  void Emit(std::span<const std::uint8_t> bytes, SimTime now);
  void StartLoader(LoaderTarget target, SimTime now);
  void LoaderFrame(std::span<const std::uint8_t> body, SimTime now);
  void EmitLoaderAnswer(std::optional<std::uint8_t> answer, SimTime now);
  void ResumeAfterLoader(SimTime now);
  void Trace(SimTime at, bool sent, std::span<const std::uint8_t> payload, std::string note);

  Controller& controller_;
  FaultPlan& faults_;
  std::vector<TriggerModule> triggers_;
  BusMasterSettings settings_;
  PacedOutput output_;
  link::BusReceiver receiver_;
  SimTime receivedAt_{};  // of the bytes being fed to the receiver

  State state_ = State::Idle;
  std::uint8_t sequence_ = 1;
  bool resync_ = true;  // a controller that has just started does not know the PC's number
  Frame outstanding_;   // the last frame sent to the PC
  std::uint8_t sentSequence_ = 0;
  bool wantsAnswer_ = false;
  std::optional<Frame> retry_;  // goes out in the next poll slot instead of a poll
  SimTime listenFrom_{};        // the frame has left the wire
  SimTime deadline_{};
  bool lateWindow_ = false;                        // this frame's window closes before the answer
  std::optional<std::vector<std::uint8_t>> held_;  // an answer that came too late, heard next window
  SimTime nextPollAt_{};
  SimTime lastPollAt_{};
  SimTime silentUntil_{};
  bool silenceServed_ = false;  // the poll after a silence does not count as another poll
  BusStatistics statistics_;
  BootLoaderSim loader_;
};

}  // namespace qd::sim
