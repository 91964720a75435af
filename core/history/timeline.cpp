#include "history/timeline.h"

#include <algorithm>

namespace qd::history {

std::optional<SystemConfig> SnapshotSystem(std::span<const std::uint8_t> image) {
  if (image.size() != layout::ImageSize) return std::nullopt;
  ControllerImage buffer;
  std::copy(image.begin(), image.end(), buffer.bytes.begin());
  buffer.imageHeld = true;
  SystemConfig system;
  if (!review::SystemOfImage(buffer, system)) return std::nullopt;
  return system;
}

std::optional<std::vector<review::Difference>> SnapshotChanges(std::span<const std::uint8_t> before,
                                                               std::span<const std::uint8_t> after) {
  const std::optional<SystemConfig> first = SnapshotSystem(before);
  const std::optional<SystemConfig> second = SnapshotSystem(after);
  if (!first || !second) return std::nullopt;
  return review::CompareSystems(*first, *second);
}

TimelineStep TimelineBuilder::Add(const std::string& readAt, std::optional<std::vector<std::uint8_t>> image) {
  TimelineStep step{readAt, image && SnapshotSystem(*image).has_value(), std::nullopt};
  if (!step.readable) return step;
  if (previous_) step.changes = SnapshotChanges(*previous_, *image);
  previous_ = std::move(image);
  return step;
}

}  // namespace qd::history
