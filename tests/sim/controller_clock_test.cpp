#include "controller_clock.h"

#include <gtest/gtest.h>

namespace qd::sim {
namespace {

TEST(ControllerClock, StartsWhereSetAndRunsWithTheTime) {
  const ControllerClock clock({2023, 6, 1, 12, 0, 0}, Milliseconds(5000));
  EXPECT_EQ(clock.At(Milliseconds(5000)), (ClockTime{2023, 6, 1, 12, 0, 0}));
  EXPECT_EQ(clock.At(Milliseconds(5999)), (ClockTime{2023, 6, 1, 12, 0, 0}));
  EXPECT_EQ(clock.At(Milliseconds(6000)), (ClockTime{2023, 6, 1, 12, 0, 1}));
  EXPECT_EQ(clock.At(Milliseconds(5000 + 3'723'000)), (ClockTime{2023, 6, 1, 13, 2, 3}));
}

TEST(ControllerClock, RollsOverDaysMonthsAndYears) {
  const ControllerClock leap({2024, 2, 28, 23, 59, 59}, SimTime{});
  EXPECT_EQ(leap.At(Milliseconds(1000)), (ClockTime{2024, 2, 29, 0, 0, 0}));
  const ControllerClock common({2023, 2, 28, 23, 59, 59}, SimTime{});
  EXPECT_EQ(common.At(Milliseconds(1000)), (ClockTime{2023, 3, 1, 0, 0, 0}));
  const ControllerClock newYear({2024, 12, 31, 23, 59, 59}, SimTime{});
  EXPECT_EQ(newYear.At(Milliseconds(1000)), (ClockTime{2025, 1, 1, 0, 0, 0}));
}

TEST(ControllerClock, EncodesAsTheMemoryKeepsIt) {
  EXPECT_EQ(ControllerClock::Encode({2031, 11, 9, 8, 7, 6}),
            (std::array<std::uint8_t, 6>{6, 7, 8, 9, 11, 31}));
}

}  // namespace
}  // namespace qd::sim
