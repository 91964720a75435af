#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "logs/consumption_log.h"

// How a month's counters read from a controller join what the history holds of that month.
//
// A month read again replaces what an earlier read gave, and an older read (an imported backup) never
// replaces a newer one. The controller's counters only grow within a month, so a counter lower than the
// last one read means the log was reset in that month: what the last read counted is carried over and
// kept, so a reset never takes counts out of the history. Merging the same read twice changes nothing.
namespace qd::history {

struct StoredMonth {
  logs::WideCounters counters{};  // as the last read gave them
  logs::WideCounters carried{};   // counted before resets within the month
  std::string readAt;             // "YYYY-MM-DD HH:MM:SS" of the last read

  // What the site used in the month.
  logs::WideCounters Total() const;
  bool operator==(const StoredMonth&) const = default;
};

// The month after a read of it at `readAt` that found `counters`.
StoredMonth MergeMonth(const std::optional<StoredMonth>& stored, const logs::WideCounters& counters,
                       const std::string& readAt);

// Counters as stored: fifteen decimal numbers separated by blanks; none when the text is not that.
std::string CountersText(const logs::WideCounters& counters);
std::optional<logs::WideCounters> ParseCounters(std::string_view text);

}  // namespace qd::history
