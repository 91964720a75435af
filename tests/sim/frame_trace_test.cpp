#include "frame_trace.h"

#include <gtest/gtest.h>

#include "link/bus_payload.h"

namespace qd::sim {
namespace {

TEST(FrameTrace, DescribesRequestsWithCountAndAddress) {
  const std::uint8_t data[] = {128, 0x80, 0x01};
  const auto payload = link::MakePayload(link::command::ReadMemory, 17, 1, 2, data);
  EXPECT_EQ(DescribeFrame(payload), "0x44 read seq=17 2->1 count=128 addr=0x0180");
}

TEST(FrameTrace, ShortPayloadsAreDescribedAsFarAsTheyGo) {
  const std::uint8_t bytes[] = {0x45, 9, 3};
  EXPECT_EQ(DescribeFrame(bytes), "0x45 data seq=3 0->0");
  EXPECT_EQ(DescribeFrame({}), "0x00 ? seq=0 0->0");
}

TEST(FrameTrace, LinesShowTimeDirectionAndNote) {
  BusMaster::TraceEvent sent{Milliseconds(1500), true, link::MakePayload(0x40, 1, 2, 1), "lost (fault)"};
  EXPECT_EQ(TraceLine(sent), "    1.500000 tx 0x40 poll seq=1 1->2 [lost (fault)]");
  BusMaster::TraceEvent note{Milliseconds(2), false, {}, "no answer: resynchronising"};
  EXPECT_EQ(TraceLine(note), "    0.002000 -- no answer: resynchronising");
}

}  // namespace
}  // namespace qd::sim
