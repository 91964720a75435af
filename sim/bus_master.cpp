#include "bus_master.h"

#include <algorithm>
#include <utility>

#include "link/frame_codec.h"
#include "link/status_records.h"

namespace qd::sim {

namespace command = link::command;

namespace {
constexpr int MaxStepsPerTick = 64;  // decisions per Tick(); each one waits for the wire or the PC
}

BusMaster::BusMaster(Controller& controller, FaultPlan& faults, std::vector<TriggerModule> triggers,
                     const BusMasterSettings& settings, SimTime now)
    : controller_(controller),
      faults_(faults),
      triggers_(std::move(triggers)),
      settings_(settings),
      output_(settings.baud),
      nextPollAt_(now),
      lastPollAt_(now - settings.pollInterval),
      loader_(settings.loader) {
  receiver_.onFrame = [this](std::span<const std::uint8_t> body) { OnFrame(body); };
}

void BusMaster::Trace(SimTime at, bool sent, std::span<const std::uint8_t> payload, std::string note) {
  if (!onTrace) return;
  onTrace(TraceEvent{at, sent, std::vector<std::uint8_t>(payload.begin(), payload.end()), std::move(note)});
}

void BusMaster::Emit(std::span<const std::uint8_t> bytes, SimTime now) {
  output_.Append(now, bytes);
}

void BusMaster::Receive(std::span<const std::uint8_t> bytes, SimTime now) {
  controller_.Advance(now);
  receivedAt_ = now;
  receiver_.Feed(bytes);
}

void BusMaster::OnFrame(std::span<const std::uint8_t> body) {
  const SimTime now = receivedAt_;
  if (loader_.Active()) {
    LoaderFrame(body, now);
    return;
  }
  if (body.size() < 2) return;
  if (!link::SumIsValid(body)) {
    ++statistics_.checksumErrors;
    if (state_ == State::AwaitingAnswer) {
      Trace(now, false, body, "bad checksum: resynchronising");
      ResendWithResync(now);
    } else {
      Trace(now, false, body, "bad checksum");
    }
    return;
  }
  const link::PayloadView frame(body);
  if (frame.Command() == command::FirmwareLoader && frame.Sequence() == 0 &&
      frame.Destination() == link::FirmwareLoaderAddress && frame.Source() == link::PcAddress) {
    Trace(now, false, body, "");
    StartLoader(LoaderTarget::Trigger, now);
    return;
  }
  if (frame.Destination() != link::ControllerAddress || frame.Source() != link::PcAddress) {
    Trace(now, false, body, "not for the controller");
    return;
  }
  if (state_ != State::AwaitingAnswer || now < listenFrom_) {
    ++statistics_.unexpected;
    Trace(now, false, body,
          state_ == State::AwaitingAnswer ? "while sending: not heard" : "not expected now: ignored");
    return;
  }
  if (faults_.Hits(FaultKind::DropAnswers)) {
    Trace(now, false, body, "ignored (fault)");
    return;
  }
  if (lateWindow_) {
    // The window has already closed: the controller goes on as without an answer, and the answer
    // lands in the window of its next frame.
    ++statistics_.lateAnswers;
    Trace(now, false, body, "too late: heard with the next frame (fault)");
    held_.emplace(body.begin(), body.end());
    CloseWindowEarly(now);
    return;
  }
  Trace(now, false, body, "");
  OnAnswer(frame, now);
}

void BusMaster::HearLateAnswer(SimTime now) {
  const std::vector<std::uint8_t> answer = std::move(*held_);
  held_.reset();
  Trace(now, false, answer, "the late answer (fault)");
  OnAnswer(link::PayloadView(answer), now);
}

void BusMaster::OnAnswer(link::PayloadView answer, SimTime now) {
  ++statistics_.answers;
  if (answer.Command() == command::Resync && answer.Sequence() == 0) {
    // The PC starts again at 1; the frame it could not take in order goes out once more.
    ++statistics_.resyncs;
    resync_ = false;
    sequence_ = 1;
    Send(outstanding_, now);
    return;
  }
  if (sentSequence_ == 0 || answer.Sequence() != sentSequence_) {
    ++statistics_.outOfSequence;
    Trace(now, false, {}, "unexpected sequence number: resynchronising");
    ResendWithResync(now);
    return;
  }
  ++statistics_.inSequence;
  sequence_ = NextSequence(sentSequence_);
  if (answer.Command() == command::FirmwareLoader && answer.Has(link::HeaderSize + 2) &&
      answer.At(link::HeaderSize) == 0x01 && answer.At(link::HeaderSize + 1) == 0x00) {
    StartLoader(LoaderTarget::Controller, now);
    return;
  }
  if (const std::optional<Reply> reply = controller_.HandleRequest(answer)) {
    Send(Frame{reply->command, reply->data, true}, now);
  } else {
    EndExchange(now);
  }
}

void BusMaster::StartLoader(LoaderTarget target, SimTime now) {
  const std::optional<std::uint8_t> answer = loader_.Start(target, now);
  Trace(now, true, {}, loader_.Note());
  retry_.reset();
  held_.reset();
  state_ = State::Idle;
  EmitLoaderAnswer(answer, now);
}

void BusMaster::LoaderFrame(std::span<const std::uint8_t> body, SimTime now) {
  const std::optional<std::uint8_t> answer = loader_.Frame(body, now);
  Trace(now, false, {}, loader_.Note());
  EmitLoaderAnswer(answer, now);
  if (!loader_.Active()) ResumeAfterLoader(now);
}

void BusMaster::EmitLoaderAnswer(std::optional<std::uint8_t> answer, SimTime now) {
  if (!answer) return;
  const std::uint8_t byte = *answer;
  Emit(std::span<const std::uint8_t>(&byte, 1), now);
}

void BusMaster::ResumeAfterLoader(SimTime now) {
  // The PC's sequence number is unknown after the loader: the first poll resynchronises.
  resync_ = true;
  retry_.reset();
  held_.reset();
  state_ = State::Idle;
  nextPollAt_ = output_.IdleAt(now) + settings_.pollInterval;
  Trace(now, true, {}, "boot loader done: polling resumes");
}

void BusMaster::ResendWithResync(SimTime now) {
  resync_ = true;
  Send(outstanding_, now);
}

void BusMaster::Send(const Frame& frame, SimTime now) {
  const std::uint8_t sequence = resync_ ? 0 : sequence_;
  resync_ = false;
  outstanding_ = frame;
  sentSequence_ = sequence;
  ++statistics_.framesToPc;
  if (frame.command == command::Poll) {
    ++statistics_.polls;
    lastPollAt_ = now;
  }

  std::vector<std::uint8_t> payload =
      link::MakePayload(frame.command, sequence, link::PcAddress, link::ControllerAddress, frame.data);
  bool spoiled = false;
  if (frame.reply && faults_.Hits(FaultKind::DropReplies)) {
    spoiled = true;
    Trace(now, true, payload, "lost (fault)");
  } else {
    std::string note;
    if (faults_.Hits(FaultKind::BadChecksum)) {
      payload[link::ChecksumOffset] = static_cast<std::uint8_t>(payload[link::ChecksumOffset] + 1);
      spoiled = true;
      note = "wrong checksum (fault)";
    }
    if (faults_.Hits(FaultKind::Noise)) {
      const std::vector<std::uint8_t> noise = faults_.NoiseBurst();
      Emit(noise, now);
      note += note.empty() ? "" : ", ";
      note += "after " + std::to_string(noise.size()) + " bytes of noise (fault)";
    }
    Emit(link::EncodeFrame(payload), now);
    Trace(now, true, payload, note);
  }

  state_ = State::AwaitingAnswer;
  listenFrom_ = output_.IdleAt(now);
  deadline_ = listenFrom_ + settings_.answerTimeout;
  lateWindow_ = faults_.Hits(FaultKind::LateAnswers);
  // A reply may go unanswered; a poll may not, nor a frame the controller knows did not arrive whole.
  wantsAnswer_ = !frame.reply || sequence == 0 || spoiled;
}

void BusMaster::Tick(SimTime now) {
  controller_.Advance(now);
  if (loader_.Active()) {
    loader_.Tick(now);
    if (loader_.Active()) return;
    Trace(now, false, {}, loader_.Note());
    ResumeAfterLoader(now);
  }
  for (int step = 0; step < MaxStepsPerTick; ++step) {
    if (state_ == State::AwaitingAnswer && held_ && now >= listenFrom_) {
      HearLateAnswer(now);
    } else if (state_ == State::AwaitingAnswer && now >= deadline_) {
      Timeout(now);
    } else if (state_ == State::Silent && now >= silentUntil_) {
      state_ = State::Idle;
      silenceServed_ = true;
      nextPollAt_ = now;
      Trace(now, true, {}, "silence over");
    } else if (state_ == State::Idle && now >= nextPollAt_) {
      PollSlot(now);
    } else {
      return;
    }
  }
}

void BusMaster::Timeout(SimTime now) {
  if (!wantsAnswer_) {
    EndExchange(now);
    return;
  }
  ++statistics_.lostExchanges;
  Trace(now, false, {}, "no answer: resynchronising");
  if (onLostExchange) onLostExchange();
  resync_ = true;
  retry_ = outstanding_;
  state_ = State::Idle;
  nextPollAt_ = std::max(now, lastPollAt_ + settings_.pollInterval);
}

void BusMaster::CloseWindowEarly(SimTime now) {
  if (!wantsAnswer_) {
    EndExchange(now);
    return;
  }
  // A controller that waits too briefly repeats its frame with the same number; a late answer that
  // reaches it in the repeat's window is taken for the repeat.
  retry_ = outstanding_;
  resync_ = sentSequence_ == 0;
  state_ = State::Idle;
  nextPollAt_ = std::max(now, lastPollAt_ + settings_.pollInterval);
}

void BusMaster::EndExchange(SimTime now) {
  state_ = State::Idle;
  nextPollAt_ = std::max(now, lastPollAt_ + settings_.pollInterval);
}

void BusMaster::PollSlot(SimTime now) {
  SendTriggerReports(now);
  if (!silenceServed_) {
    if (const std::optional<SimTime> silence = faults_.Silence()) {
      state_ = State::Silent;
      silentUntil_ = now + *silence;
      Trace(now, true, {}, "silent for " + std::to_string(silence->count() / 1'000'000) + " ms (fault)");
      return;
    }
  }
  silenceServed_ = false;
  Frame frame = retry_.value_or(Frame{});
  retry_.reset();
  Send(frame, now);
}

void BusMaster::SendTriggerReports(SimTime now) {
  for (TriggerModule& module : triggers_) {
    if (!module.Due(now)) continue;
    const std::vector<std::uint8_t> report = module.TakeReport(now);
    Emit(link::EncodeFrame(report), now);
    Trace(now, true, report, "");
    ++statistics_.triggerReports;
    if (const auto decoded = link::DecodeTriggerReport(report)) controller_.HearTriggerReport(*decoded);
  }
}

SimTime BusMaster::NextWakeup(SimTime now) const {
  SimTime next = now + std::chrono::seconds(1);
  if (const auto due = output_.NextDue()) next = std::min(next, *due);
  if (const auto deadline = loader_.Deadline()) return std::max(std::min(next, *deadline), now);
  switch (state_) {
    case State::AwaitingAnswer:
      next = std::min(next, held_ ? listenFrom_ : deadline_);
      break;
    case State::Silent:
      next = std::min(next, silentUntil_);
      break;
    case State::Idle:
      next = std::min(next, nextPollAt_);
      break;
  }
  return std::max(next, now);
}

}  // namespace qd::sim
