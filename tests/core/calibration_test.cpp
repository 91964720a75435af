#include "model/calibration.h"

#include <gtest/gtest.h>

#include "app/tenths_text.h"

namespace qd {
namespace {

TEST(CalibrationArithmetic, RoundsToTheNearestSecond) {
  EXPECT_EQ(CalibrationFromMeasurement("30", "120"), (NewCalibration{25, false}));
  // 3000 / 90 = 33.3 -> 33; 3000 / 80 = 37.5 -> 38 (half up).
  EXPECT_EQ(CalibrationFromMeasurement("30", "90"), (NewCalibration{33, false}));
  EXPECT_EQ(CalibrationFromMeasurement("30", "80"), (NewCalibration{38, false}));
  EXPECT_EQ(CalibrationFromMeasurement(" 30 ", "100"), (NewCalibration{30, false}));
}

TEST(CalibrationArithmetic, CapsAtTwoHundredFiftyWithOverflow) {
  EXPECT_EQ(CalibrationFromMeasurement("30", "7"), (NewCalibration{250, true}));
  EXPECT_EQ(CalibrationFromMeasurement("250", "100"), (NewCalibration{250, false}));
  // 25050 / 100 rounds to 251.
  EXPECT_EQ(CalibrationFromMeasurement("2505", "1000"), (NewCalibration{250, true}));
  // The largest calibration a number can hold does not overflow the arithmetic.
  EXPECT_EQ(CalibrationFromMeasurement("2147483647", "1"), (NewCalibration{250, true}));
}

TEST(CalibrationArithmetic, NoVolumeGivesNoCalibration) {
  for (const char* measured : {"", "0", "-5", "abc", "12ml"})
    EXPECT_FALSE(CalibrationFromMeasurement("30", measured).has_value()) << measured;
}

TEST(CalibrationArithmetic, CurrentThatIsNoNumberReadsAsZero) {
  EXPECT_EQ(CalibrationFromMeasurement("x", "100"), (NewCalibration{0, false}));
  EXPECT_EQ(CalibrationFromMeasurement("-30", "100"), (NewCalibration{0, false})) << "never negative";
}

TEST(CalibrationStored, IsTheNearestEndOfZeroToTwoHundredFiftyNeverALowByte) {
  const std::pair<const char*, int> cases[] = {{"30", 30},   {"-30", 0},   {"-1", 0},      {"-2147483648", 0},
                                               {"250", 250}, {"251", 250}, {"70000", 250}, {"abc", 0}};
  for (const auto& [typed, stored] : cases)
    EXPECT_EQ(StoredCalibration(typed), stored) << typed;
}

TEST(CalibrationRunTicks, PumpRunsForTheTestTimeThenIsHandedBackASecondLater) {
  CalibrationRun run;
  ASSERT_TRUE(run.Start(3, 25));
  EXPECT_TRUE(run.Running());
  EXPECT_TRUE(run.PumpOn());
  EXPECT_EQ(run.TicksLeft(), 250);
  for (int i = 0; i < 249; ++i)
    ASSERT_EQ(run.Tick(), CalibrationRun::Event::None) << i;
  EXPECT_EQ(run.TicksLeft(), 1);
  EXPECT_EQ(run.Tick(), CalibrationRun::Event::TimeUp);
  EXPECT_FALSE(run.PumpOn());
  EXPECT_TRUE(run.Running());
  for (int i = 0; i < CalibrationRun::AfterTestTicks - 1; ++i)
    ASSERT_EQ(run.Tick(), CalibrationRun::Event::None) << i;
  EXPECT_EQ(run.Tick(), CalibrationRun::Event::ReleaseControl);
  EXPECT_FALSE(run.Running());
  EXPECT_EQ(run.Tick(), CalibrationRun::Event::None);
}

TEST(CalibrationRunTicks, RefusesPumpsOutsideOneToSevenAndTimesNotAboveZero) {
  CalibrationRun run;
  EXPECT_FALSE(run.Start(0, 30));
  EXPECT_FALSE(run.Start(8, 30));
  EXPECT_FALSE(run.Start(1, 0));
  EXPECT_FALSE(run.Start(1, -3));
  EXPECT_FALSE(run.Running());
  EXPECT_EQ(run.Tick(), CalibrationRun::Event::None);
}

TEST(CalibrationRunTicks, StartDuringATestRestartsTheTime) {
  CalibrationRun run;
  run.Start(1, 2);
  for (int i = 0; i < 15; ++i)
    run.Tick();
  run.Start(1, 2);
  EXPECT_EQ(run.TicksLeft(), 20);
}

TEST(CalibrationRunTicks, StartRefusedDuringTheHandBackEndsTheRunAtTheNextTick) {
  CalibrationRun run;
  run.Start(1, 1);
  for (int i = 0; i < 10; ++i)
    run.Tick();
  ASSERT_TRUE(run.Running());
  EXPECT_FALSE(run.Start(1, 0));
  EXPECT_EQ(run.Tick(), CalibrationRun::Event::ReleaseControl);
  EXPECT_FALSE(run.Running());
}

TEST(CalibrationRunTicks, StopEndsARunningTestAtTheNextTick) {
  CalibrationRun run;
  run.Start(7, 250);
  run.Tick();
  run.Stop();
  EXPECT_EQ(run.Tick(), CalibrationRun::Event::TimeUp);
  // Stopping after the time is up changes nothing.
  run.Stop();
  EXPECT_FALSE(run.PumpOn());
}

TEST(CalibrationRunTicks, HugeTimesDoNotOverflow) {
  CalibrationRun run;
  ASSERT_TRUE(run.Start(1, 2147483647));
  EXPECT_GT(run.TicksLeft(), 0);
}

TEST(TenthsText, OneDecimalWithTheGivenSeparator) {
  EXPECT_EQ(FormatTenths(249, '.'), "24.9");
  EXPECT_EQ(FormatTenths(249, ','), "24,9");
  EXPECT_EQ(FormatTenths(0, '.'), "0.0");
  EXPECT_EQ(FormatTenths(5, ','), "0,5");
  EXPECT_EQ(FormatTenths(-15, '.'), "-1.5");
}

}  // namespace
}  // namespace qd
