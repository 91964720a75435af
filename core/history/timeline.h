#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "review/config_diff.h"

// The configuration timeline of a site: what changed between two snapshots (images kept of reads).
namespace qd::history {

// Every item that differs between the configurations the two images hold, in the order the windows
// show them; none when either image is not one the tool reads.
std::optional<std::vector<review::Difference>> SnapshotChanges(std::span<const std::uint8_t> before,
                                                               std::span<const std::uint8_t> after);

// The configuration an image of a snapshot holds; none when it is no image the tool reads.
std::optional<SystemConfig> SnapshotSystem(std::span<const std::uint8_t> image);

// One read of the timeline.
struct TimelineStep {
  std::string readAt;    // "YYYY-MM-DD HH:MM:SS"
  bool readable = true;  // the image kept is one the tool reads
  // What changed since the readable read before it; none for the first readable read (and an unreadable one).
  std::optional<std::vector<review::Difference>> changes;
};

// The timeline, fed the snapshots oldest first one at a time (a site read every week for years keeps
// many 32 KiB images): each read is compared with the last readable one before it.
class TimelineBuilder {
 public:
  TimelineStep Add(const std::string& readAt, std::optional<std::vector<std::uint8_t>> image);

 private:
  std::optional<std::vector<std::uint8_t>> previous_;
};

}  // namespace qd::history
