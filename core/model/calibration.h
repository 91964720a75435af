#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/counts.h"

namespace qd {

// A pump's calibration: the whole seconds the pump takes for 100 ml.
inline constexpr int MaxCalibration = 250;  // the most the controller image holds

// The calibration byte the controller gets for a typed calibration: the number (0 for text that is not
// one) limited to 0..MaxCalibration.
std::uint8_t StoredCalibration(std::string_view text);

struct NewCalibration {
  int value = 0;          // at most MaxCalibration
  bool overflow = false;  // the computed value was above MaxCalibration

  bool operator==(const NewCalibration&) const = default;
};

// The calibration that delivers 100 ml, from the calibration the test ran with and the volume it
// delivered (both as typed; text that is not a whole number reads as 0), rounded to the nearest whole
// second. None when no volume was measured.
std::optional<NewCalibration> CalibrationFromMeasurement(std::string_view currentText,
                                                         std::string_view measuredText);

// The timed test run of one pump. The pump runs for the test time, then is switched off; one second
// later it is handed back to the controller and the run ends. Counted in 100 ms ticks.
class CalibrationRun {
 public:
  static constexpr int PumpCount = qd::PumpCount;
  static constexpr int TicksPerSecond = 10;
  static constexpr int AfterTestTicks = 10;

  enum class Event {
    None,
    TimeUp,          // switch the pump off and hand it back
    ReleaseControl,  // the control is handed back once more; the run has ended
  };

  // Starts (or restarts) the pump 1..7 for `seconds`; false, and nothing runs, for other pumps or
  // times that are not above 0. A pending hand-back is dropped either way.
  bool Start(int pump, int seconds);
  Event Tick();
  // The window closed: a running test ends at the next tick.
  void Stop();

  bool Running() const { return running_; }
  int Pump() const { return pump_; }  // of the last run started
  bool PumpOn() const { return ticksLeft_ > 0; }
  int TicksLeft() const { return ticksLeft_; }

 private:
  bool running_ = false;
  int pump_ = 0;
  int ticksLeft_ = 0;
  int afterTest_ = 0;
};

}  // namespace qd
