#include "fault_plan.h"

#include <charconv>
#include <cstdlib>

#include "link/frame_codec.h"

namespace qd::sim {

namespace {

struct KindName {
  FaultKind kind;
  std::string_view name;
};

constexpr std::array<KindName, FaultKindCount> KindNames = {{{FaultKind::DropAnswers, "drop-answers"},
                                                             {FaultKind::BadChecksum, "bad-checksum"},
                                                             {FaultKind::DropReplies, "drop-replies"},
                                                             {FaultKind::Noise, "noise"},
                                                             {FaultKind::Silence, "silence"},
                                                             {FaultKind::LateAnswers, "late-answers"}}};

std::optional<std::uint64_t> Whole(std::string_view text, std::uint64_t min) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min)
    return std::nullopt;
  return value;
}

std::optional<double> Probability(std::string_view text) {
  // strtod wants a terminated string and is locale-bound; the text is short and the simulator runs in
  // the C locale.
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (copy.empty() || end != copy.c_str() + copy.size() || !(value >= 0.0 && value <= 1.0))
    return std::nullopt;
  return value;
}

std::optional<FaultSelector> ParseSelector(std::string_view text) {
  FaultSelector selector;
  if (text.starts_with("every=")) {
    const auto every = Whole(text.substr(6), 1);
    if (!every) return std::nullopt;
    selector.mode = FaultSelector::Mode::Every;
    selector.every = *every;
    return selector;
  }
  if (text.starts_with("rate=")) {
    const auto rate = Probability(text.substr(5));
    if (!rate) return std::nullopt;
    selector.mode = FaultSelector::Mode::Rate;
    selector.rate = *rate;
    return selector;
  }
  const std::size_t at = text.find('@');
  const auto count = Whole(text.substr(0, at), 1);
  if (!count) return std::nullopt;
  selector.count = *count;
  if (at != std::string_view::npos) {
    const auto first = Whole(text.substr(at + 1), 1);
    if (!first) return std::nullopt;
    selector.first = *first;
  }
  return selector;
}

}  // namespace

std::string_view FaultKindName(FaultKind kind) {
  for (const KindName& entry : KindNames) {
    if (entry.kind == kind) return entry.name;
  }
  return "";
}

std::optional<FaultSpec> ParseFault(std::string_view text, std::string& error) {
  const std::size_t colon = text.find(':');
  const std::string_view name = text.substr(0, colon);
  const std::string_view argument =
      colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  FaultSpec fault;
  bool known = false;
  for (const KindName& entry : KindNames) {
    if (entry.name == name) {
      fault.kind = entry.kind;
      known = true;
    }
  }
  if (!known) {
    error = "unknown fault '" + std::string(name) + "'";
    return std::nullopt;
  }

  if (fault.kind == FaultKind::Silence) {
    // silence:MS[@K]: before the K-th poll (default the first).
    const std::size_t at = argument.find('@');
    const auto ms = Whole(argument.substr(0, at), 1);
    const auto poll =
        at == std::string_view::npos ? std::optional<std::uint64_t>(1) : Whole(argument.substr(at + 1), 1);
    if (!ms || !poll) {
      error = "fault '" + std::string(text) + "': expected silence:MS or silence:MS@K";
      return std::nullopt;
    }
    fault.silence = Milliseconds(static_cast<long long>(*ms));
    fault.selector.first = *poll;
    return fault;
  }

  if (argument.empty() && colon == std::string_view::npos) {
    if (fault.kind == FaultKind::Noise) fault.selector.mode = FaultSelector::Mode::Every;
    return fault;
  }
  const auto selector = ParseSelector(argument);
  if (!selector) {
    error = "fault '" + std::string(text) + "': expected N, N@K, every=M or rate=P after the colon";
    return std::nullopt;
  }
  fault.selector = *selector;
  return fault;
}

FaultPlan::FaultPlan(std::vector<FaultSpec> faults, std::uint32_t seed)
    : faults_(std::move(faults)), random_(seed) {}

double FaultPlan::Uniform() {
  // The engine's raw output is the same everywhere; the standard distributions are not.
  return static_cast<double>(random_()) / 4294967296.0;
}

bool FaultPlan::Selected(const FaultSelector& selector, std::uint64_t event) {
  switch (selector.mode) {
    case FaultSelector::Mode::Count:
      return event >= selector.first && event - selector.first < selector.count;
    case FaultSelector::Mode::Every:
      return event % selector.every == 0;
    case FaultSelector::Mode::Rate:
      return Uniform() < selector.rate;
  }
  return false;
}

bool FaultPlan::Hits(FaultKind kind) {
  const std::uint64_t event = ++events_[static_cast<std::size_t>(kind)];
  bool hit = false;
  for (const FaultSpec& fault : faults_) {
    // Every fault of the kind sees the event, so that rate draws do not depend on earlier faults' results.
    if (fault.kind == kind && Selected(fault.selector, event)) hit = true;
  }
  return hit;
}

std::optional<SimTime> FaultPlan::Silence() {
  const std::uint64_t poll = ++events_[static_cast<std::size_t>(FaultKind::Silence)];
  std::optional<SimTime> silence;
  for (const FaultSpec& fault : faults_) {
    if (fault.kind == FaultKind::Silence && fault.selector.first == poll) silence = fault.silence;
  }
  return silence;
}

std::vector<std::uint8_t> FaultPlan::NoiseBurst() {
  const auto length = 1 + random_() % MaxNoiseBytes;
  std::vector<std::uint8_t> noise;
  while (noise.size() < length) {
    const auto byte = static_cast<std::uint8_t>(random_());
    // Neither a frame start nor one of the single-byte answers of the firmware loaders.
    if (byte == link::Stx || byte == 0x06 || (byte >= 0x15 && byte <= 0x17)) continue;
    noise.push_back(byte);
  }
  return noise;
}

}  // namespace qd::sim
