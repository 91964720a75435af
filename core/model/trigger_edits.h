#pragma once

#include <array>
#include <string>

#include "model/trigger_settings.h"

namespace qd {

// A machine's trigger block as the trigger window's controls hold it: numbers as typed, list entries.
// The type is not among them: a type change is stored at once (TriggerSettings::ChangeType).
struct TriggerEdits {
  std::string adjustLow, adjustHigh;                              // percent
  std::string maxWeight;                                          // kilograms, one decimal
  std::array<int, TriggerSettings::LockInputSlots> lockInputs{};  // 0 "-", 1..6 input n
  int resetEntry = 0;                                             // see TriggerSettings::ResetEntry
  std::string lockDelay, resetDelay;
  // Miele Logic
  std::array<std::string, trigger::MieleFields.size()> miele;
  bool softner2 = false;
  // Electrolux: 0 "Not in use", 1..6 program n; -1 for an entry the list does not hold
  std::array<int, trigger::ElectroluxEntries> electrolux{};
  // Ethernet
  std::string machineSerialNumber, machineId;

  bool operator==(const TriggerEdits&) const = default;
};

// What the controls show of `settings`.
TriggerEdits EditsOf(const TriggerSettings& settings);

// `settings` with the edits stored, for the type it has: numbers as the low byte of the typed whole
// number (0 for text that is none), the weight in half kilograms; the other types' areas stay. An
// Electrolux entry the list does not hold is stored as "Not in use".
TriggerSettings WithEdits(const TriggerSettings& settings, const TriggerEdits& edits);

// The trigger module last heard: kind in the low nibble of its byte (the high nibble stays), version.
void RecordTriggerModule(TriggerSettings& settings, int kind, std::uint8_t firmwareVersion);

}  // namespace qd
