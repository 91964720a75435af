#include "history/month_merge.h"

#include <charconv>

namespace qd::history {

logs::WideCounters StoredMonth::Total() const {
  logs::WideCounters total{};
  for (std::size_t c = 0; c < total.size(); ++c)
    total[c] = counters[c] + carried[c];
  return total;
}

StoredMonth MergeMonth(const std::optional<StoredMonth>& stored, const logs::WideCounters& counters,
                       const std::string& readAt) {
  if (!stored) return {counters, {}, readAt};
  if (readAt < stored->readAt) return *stored;
  StoredMonth merged = *stored;
  bool reset = false;
  for (std::size_t c = 0; c < counters.size(); ++c)
    reset = reset || counters[c] < stored->counters[c];
  if (reset) {
    for (std::size_t c = 0; c < counters.size(); ++c)
      merged.carried[c] += stored->counters[c];
  }
  merged.counters = counters;
  merged.readAt = readAt;
  return merged;
}

std::string CountersText(const logs::WideCounters& counters) {
  std::string text;
  for (std::size_t c = 0; c < counters.size(); ++c) {
    if (c > 0) text += ' ';
    text += std::to_string(counters[c]);
  }
  return text;
}

std::optional<logs::WideCounters> ParseCounters(std::string_view text) {
  logs::WideCounters counters{};
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  for (std::size_t c = 0; c < counters.size(); ++c) {
    if (c > 0) {
      if (at == end || *at != ' ') return std::nullopt;
      ++at;
    }
    const auto [next, error] = std::from_chars(at, end, counters[c]);
    if (error != std::errc() || next == at) return std::nullopt;
    at = next;
  }
  if (at != end) return std::nullopt;
  return counters;
}

}  // namespace qd::history
