#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "link/bus_payload.h"
#include "link/operation_gate.h"
#include "model/image_parser.h"
#include "model/working_config.h"

namespace qd::link {

enum class TransferState {
  Idle = 0,
  ReadingLocal = 1,
  WritingLocal = 2,
  ReadingRemote = 3,
  WritingRemote = 4,  // all blocks sent, waiting for the confirmation
  LoginCheckWaiting = 5,
  LoginCheckPassed = 6,
  LoginCheckFailed = 7,
};

bool IsBusy(TransferState state);
// Reading or writing (the login check is not).
bool IsTransferring(TransferState state);

// How the last read or write ended. Callers decide by this, never by the texts shown.
enum class TransferOutcome {
  None,                // nothing ended yet
  ReadCompleted,       // the image was read and taken in
  BadFormat,           // read completely, but the image was refused (magic or version)
  WriteCompleted,      // local: every block confirmed, the end of write queued
  WriteConfirmed,      // remote: the controller's sum matches what was sent
  BadConfirmChecksum,  // remote: the controller's sum differs
  ConfirmTimedOut,     // remote: no confirmation in time
  ReadTimedOut,
  Stopped,
  Failed,          // a remote block out of order or beyond the memory, or a message that did not go out
  ConnectionLost,  // the port or the gateway connection went away
  NoLoginResponse,
  WrongLoginCode,  // refused before anything moved, or a remote read taken in as an empty system
  ControllerBusy,  // another operation holds the controller
  Cancelled,       // the user cancelled the question about unsaved edits
};

// True for the outcomes that leave the controller and the buffer as the operation meant.
bool Succeeded(TransferOutcome outcome);

enum class ProgressColour { Normal, Good, Bad };

// What the read/write window shows of a transfer.
struct TransferView {
  std::string progressText;  // progress and result messages
  ProgressColour progressColour = ProgressColour::Normal;
  int progressBar = 0;     // 0..100
  std::string stateInfo;   // "Stopped", "Timeout!"; empty = hidden
  std::string statusText;  // "Reading %d bytes.", "Read completed", ...
};

// Moves the image between the buffer and the controller, locally on the bus (one queued request at a
// time) or remotely through the gateway. Replies and the 100 ms tick drive it; it never blocks except
// where its environment says so (the login code check waits, the remote write pauses between blocks).
// A read or write holds the controller from its start to its end (Environment::takeController).
class SystemTransfer {
 public:
  static constexpr std::uint16_t LoginCodeAddress = 550;
  static constexpr std::uint8_t LoginCodeLength = 10;
  static constexpr int LoginCheckWaitSteps = 100;  // of LoginCheckStepMs each, events processed
  static constexpr int LoginCheckStepMs = 20;
  static constexpr int LocalReadLimitTicks = 200;
  static constexpr int RemoteReadLimitTicks = 50;
  static constexpr int ConfirmLimitTicks = 600;
  static constexpr int LocalBlockSize = 128;
  static constexpr int RemoteBlockSize = 200;
  static constexpr int RemoteBlockPauseMs = 500;

  // Unset entries are skipped: the operation goes on as if they had agreed.
  struct Environment {
    std::function<bool()> localMode;
    std::function<bool()> masterLoginMode;
    std::function<std::string()> userLoginCode;
    std::function<bool(std::uint8_t command, std::uint8_t destination, std::span<const std::uint8_t> data)>
        queueRequest;
    std::function<bool(std::span<const std::uint8_t> message)> sendGatewayMessage;
    // Takes the controller for an operation: none when it may run, else the operation holding it.
    std::function<std::optional<Operation>(Operation)> takeController;
    // Gives it back; an operation that did not complete leaves nothing in flight.
    std::function<void(Operation, bool completed)> releaseController;
    // Waits LoginCheckStepMs while replies and other events are processed.
    std::function<void()> waitStep;
    // Waits RemoteBlockPauseMs between remote write blocks (the window only repaints).
    std::function<void()> pauseBetweenBlocks;
    // Edits not yet taken into the configuration are settled before a write; false when the user
    // cancelled.
    std::function<bool()> settleUnsavedEdits;
    std::function<LocalDateTime()> now;
    // Builds the image before a write; empty: BuildImage with now(). The window shows what it built.
    std::function<void()> buildImage;
    // What a read counts as: a read into the working configuration, or one for a comparison.
    Operation readOperation = Operation::Read;
  };

  struct Events {
    std::function<void()> changed;                                    // the view or the state changed
    std::function<void(const std::string&)> error;                    // an error message box
    std::function<void(const ParseResult&)> imageRead;                // the read image was taken in
    std::function<void(TransferOutcome)> finished;                    // a read or write ended
    std::function<void()> remoteTransferStarts;                       // live status pauses meanwhile
    std::function<void(std::span<const std::uint8_t>)> gatewayTrace;  // every gateway message received
  };

  SystemTransfer(WorkingConfig& config, Environment environment)
      : config_(config), env_(std::move(environment)) {}

  Events events;

  // True when the operation may go on: master-login or remote mode, or the controller's code matches.
  // Refused at once while this transfer reads or writes; false when stopped while it waits. Callers
  // hold the controller meanwhile.
  bool CheckLoginCode();
  // Read and Write do nothing while a read, a write or a login check of this transfer runs.
  void Read();
  void Write();
  // Builds the image with the serial number typed and writes it from offset 0; gives the number's text.
  std::string WriteSerial(const std::string& serialText);
  void Stop();
  void Tick();
  // The port or the gateway connection went away: a read or write in progress fails at once instead of
  // waiting for its time-out (a local write has none).
  void ConnectionLost();

  // Replies: bus 0x45 / 0x47, gateway 'B','H' / 'C','S'.
  void OnBusReply(PayloadView frame);
  void OnMemoryData(PayloadView frame);
  void OnWriteConfirm(PayloadView frame);
  void OnGatewayData(std::span<const std::uint8_t> message);
  void OnGatewayWriteResult(std::span<const std::uint8_t> message);

  TransferState State() const { return state_; }
  TransferOutcome Outcome() const { return outcome_; }
  const TransferView& View() const { return view_; }
  int Start() const { return start_; }
  int Current() const { return current_; }
  int End() const { return end_; }

 private:
  enum class LoginCheck { Passed, NoResponse, WrongCode, Stopped, Busy };
  LoginCheck RunLoginCheck();
  // The login check, with its message; the outcome when it refused.
  std::optional<TransferOutcome> LoginRefusal();
  // Ends a Read or Write that `refusal` stops before it began; true when it did.
  bool RefusedAtStart(const std::optional<TransferOutcome>& refusal);
  bool Take(Operation operation);
  void SetState(TransferState state);
  void ShowProgress();
  void QueueRead();
  void QueueWrite();
  void FinishLocalRead();
  void FinishRemoteRead();
  void Build();
  void SendRemoteBlocks();
  void BeginOperation();
  void Changed();
  // The read or write in progress ends: the state goes idle, the controller is given back, then
  // `beforeFinished` runs, and last the finished event.
  void Finish(TransferOutcome outcome, const std::function<void()>& beforeFinished = {});
  // Ends the read or write as failed at the current offset.
  void Fail(TransferOutcome outcome = TransferOutcome::Failed);

  WorkingConfig& config_;
  Environment env_;
  TransferState state_ = TransferState::Idle;
  TransferOutcome outcome_ = TransferOutcome::None;
  std::optional<Operation> holding_;  // the operation this transfer holds the controller for
  TransferView view_;
  int start_ = 0;
  int current_ = 0;
  int end_ = 0;
  // A remote write sends nothing of [keptFrom_, keptTo_): the controller's own login code.
  int keptFrom_ = 0;
  int keptTo_ = 0;
  int readLimit_ = 0;
  bool confirmRunning_ = false;
  int confirmCounter_ = 0;
};

// Enabled buttons of the read/write window.
struct TransferButtons {
  bool read = false;
  bool write = false;
  bool stop = false;
};
TransferButtons ButtonsFor(TransferState state, bool linkReady, bool localMode, bool remoteOnline,
                           bool remoteFullAccess);

}  // namespace qd::link
