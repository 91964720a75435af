#include "paced_output.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qd::sim {
namespace {

constexpr std::int64_t ByteNs = 86'806;  // 10 bits at 115200 baud, rounded up

SimTime Completion(std::int64_t bytes) {
  return SimTime((bytes * 10'000'000'000LL + 115199) / 115200);
}

std::vector<std::uint8_t> Bytes(std::size_t n) {
  return std::vector<std::uint8_t>(n, 0x55);
}

TEST(PacedOutput, UnpacedBytesAreDueAtOnce) {
  PacedOutput output(0);
  EXPECT_EQ(output.Append(SimTime(500), Bytes(100)), SimTime(500));
  EXPECT_EQ(output.TakeDue(SimTime(500)).size(), 100u);
  EXPECT_TRUE(output.Empty());
}

TEST(PacedOutput, ByteIsDueWhenItsStopBitIsOver) {
  PacedOutput output(115200);
  const SimTime end = output.Append(SimTime{}, Bytes(3));
  EXPECT_EQ(end, Completion(3));
  EXPECT_TRUE(output.TakeDue(SimTime(ByteNs - 1)).empty());
  EXPECT_EQ(output.TakeDue(SimTime(ByteNs)).size(), 1u);
  EXPECT_EQ(output.NextDue(), Completion(2));
  EXPECT_EQ(output.TakeDue(end).size(), 2u);
  EXPECT_FALSE(output.NextDue());
}

TEST(PacedOutput, NeverFasterThanTheWireOverALongRun) {
  PacedOutput output(115200);
  output.Append(SimTime{}, Bytes(20000));
  std::size_t taken = 0;
  for (SimTime t{}; taken < 20000; t += std::chrono::microseconds(730)) {
    taken += output.TakeDue(t).size();
    const double wireBytes = static_cast<double>(t.count()) * 115200 / 10 / 1e9;
    ASSERT_LE(static_cast<double>(taken), wireBytes + 1e-9);
    ASSERT_GE(static_cast<double>(taken), std::min(wireBytes, 20000.0) - 1);
  }
}

TEST(PacedOutput, FramesQueuedWhileBusyFollowBackToBack) {
  PacedOutput output(115200);
  const SimTime first = output.Append(SimTime{}, Bytes(10));
  const SimTime second = output.Append(SimTime(1000), Bytes(10));
  EXPECT_EQ(second, Completion(20));
  EXPECT_GT(second, first);
  EXPECT_EQ(output.IdleAt(SimTime(1000)), second);
}

TEST(PacedOutput, AfterAnIdleWireANewFrameStartsWhenItIsQueued) {
  PacedOutput output(115200);
  const SimTime first = output.Append(SimTime{}, Bytes(2));
  EXPECT_EQ(output.TakeDue(first).size(), 2u);
  const SimTime later = SimTime(10'000'000);
  EXPECT_EQ(output.IdleAt(later), later);
  EXPECT_EQ(output.Append(later, Bytes(1)), later + Completion(1));
  // A frame queued while the last one waits untaken starts after it, not in the past.
  PacedOutput lagging(115200);
  lagging.Append(SimTime{}, Bytes(1));
  const SimTime end = lagging.Append(later, Bytes(1));
  EXPECT_EQ(end, later + Completion(1));
}

}  // namespace
}  // namespace qd::sim
