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

}  // namespace qd::history
