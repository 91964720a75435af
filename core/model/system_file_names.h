#pragma once

#include <array>
#include <string_view>

// Element names of the system file that more than one place needs.
namespace qd::names {

// Alarm group flags in mask bit order; the reader also takes "WaterPressure" for "Water".
constexpr std::array<std::string_view, 5> AlarmElements = {"Level", "Water", "TriggerError", "KeyboardError",
                                                           "DispenseError"};
constexpr std::string_view WaterPressureAlias = "WaterPressure";

// The file carries Electrolux map entries 1..15 only.
constexpr int ElectroluxFileEntries = 15;

}  // namespace qd::names
