#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "sim_time.h"

namespace qd::sim {

// Faults the simulated dosing system can be told to make. Each kind counts its own events from 1:
//   drop-answers  answers of the PC: the controller ignores the answer as if it never came
//   bad-checksum  frames of the controller to the PC: the frame goes out with a wrong checksum
//   drop-replies  replies of the controller to a request of the PC: the reply is lost
//   noise         frames of the controller: a few random bytes that start no frame go out before it
//   silence       polls: before the poll the controller stays silent for a while
//   late-answers  frames of the controller to the PC: the answer window closes before the PC's answer
//                 arrives; the controller repeats its frame with the same number and hears the late
//                 answer in the window of its next frame
enum class FaultKind { DropAnswers, BadChecksum, DropReplies, Noise, Silence, LateAnswers };
inline constexpr std::size_t FaultKindCount = 6;

// Which events of a kind a fault hits.
struct FaultSelector {
  enum class Mode { Count, Every, Rate };
  Mode mode = Mode::Count;
  std::uint64_t count = 1;  // Count: this many events ...
  std::uint64_t first = 1;  // ... from event number `first` on
  std::uint64_t every = 1;  // Every: events every, 2 x every, ...
  double rate = 0;          // Rate: each event with this probability

  bool operator==(const FaultSelector&) const = default;
};

struct FaultSpec {
  FaultKind kind = FaultKind::DropAnswers;
  FaultSelector selector;
  SimTime silence{};  // silence only

  bool operator==(const FaultSpec&) const = default;
};

// "KIND[:SELECTOR]" and "silence:MS[@K]"; SELECTOR is N, N@K, every=M or rate=P. Without a selector a
// fault hits the first event (noise: every event). Nothing, with the reason in `error`, when the text
// is not a fault.
std::optional<FaultSpec> ParseFault(std::string_view text, std::string& error);
std::string_view FaultKindName(FaultKind kind);

// Decides which events the faults hit, and draws the noise. The same faults and seed give the same
// decisions for the same sequence of events.
class FaultPlan {
 public:
  static constexpr int MaxNoiseBytes = 8;

  FaultPlan() : FaultPlan({}, 1) {}
  FaultPlan(std::vector<FaultSpec> faults, std::uint32_t seed);

  // Counts one event of `kind`; true when a fault hits it. Silence events go through Silence().
  bool Hits(FaultKind kind);
  // Counts a poll; how long to stay silent before it, if at all.
  std::optional<SimTime> Silence();
  // 1..MaxNoiseBytes random bytes; none is a frame start or a firmware loader's answer byte.
  std::vector<std::uint8_t> NoiseBurst();

  bool Empty() const { return faults_.empty(); }
  std::uint64_t Events(FaultKind kind) const { return events_[static_cast<std::size_t>(kind)]; }

 private:
  bool Selected(const FaultSelector& selector, std::uint64_t event);
  double Uniform();

  std::vector<FaultSpec> faults_;
  std::array<std::uint64_t, FaultKindCount> events_{};
  std::mt19937 random_;
};

}  // namespace qd::sim
