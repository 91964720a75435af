#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "bus_master.h"

namespace qd::sim {

// One payload in words: "0x44 read seq=5 2->1 count=128 addr=0x0080". Reads only the bytes given.
std::string DescribeFrame(std::span<const std::uint8_t> payload);

// One line of the frame log: "   12.345678 tx 0x40 poll seq=1 1->2", with the event's note in brackets;
// an event without a frame reads "   12.345678 -- <note>".
std::string TraceLine(const BusMaster::TraceEvent& event);

}  // namespace qd::sim
