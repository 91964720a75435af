#include "model/calibration.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/text.h"

namespace qd {

std::uint8_t StoredCalibration(std::string_view text) {
  // A negative entry would otherwise wrap to a large byte: several times the intended dose.
  return static_cast<std::uint8_t>(
      std::clamp(WholeNumberOr(text), std::int32_t{0}, std::int32_t{MaxCalibration}));
}

std::optional<NewCalibration> CalibrationFromMeasurement(std::string_view currentText,
                                                         std::string_view measuredText) {
  const std::int64_t measured = WholeNumberOr(measuredText);
  if (measured <= 0) return std::nullopt;
  const std::int64_t current = WholeNumberOr(currentText);
  // 64 bits: any 32-bit calibration times 100 fits. Rounds current x 100 / measured to the nearest.
  const std::int64_t computed = (current * 100 + measured / 2) / measured;
  return NewCalibration{static_cast<int>(std::clamp<std::int64_t>(computed, 0, MaxCalibration)),
                        computed > MaxCalibration};
}

bool CalibrationRun::Start(int pump, int seconds) {
  afterTest_ = 0;
  if (pump < 1 || pump > PumpCount || seconds <= 0) return false;
  running_ = true;
  pump_ = pump;
  ticksLeft_ = std::min(seconds, std::numeric_limits<int>::max() / TicksPerSecond) * TicksPerSecond;
  return true;
}

CalibrationRun::Event CalibrationRun::Tick() {
  if (!running_) return Event::None;
  if (ticksLeft_ > 0) {
    if (--ticksLeft_ > 0) return Event::None;
    afterTest_ = AfterTestTicks;
    return Event::TimeUp;
  }
  if (afterTest_ > 0) --afterTest_;
  if (afterTest_ > 0) return Event::None;
  running_ = false;
  return Event::ReleaseControl;
}

void CalibrationRun::Stop() {
  if (ticksLeft_ > 0) ticksLeft_ = 1;
}

}  // namespace qd
