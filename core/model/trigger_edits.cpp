#include "model/trigger_edits.h"

#include <algorithm>

#include "app/text.h"
#include "model/counts.h"

namespace qd {
namespace {

using Offsets = TriggerSettings;
constexpr int ElectroluxMapBytes = 1 + trigger::ElectroluxEntries / 2;

std::uint8_t LowByteOf(const std::string& typed) {
  return static_cast<std::uint8_t>(WholeNumberOr(typed));
}

}  // namespace

TriggerEdits EditsOf(const TriggerSettings& settings) {
  const auto& b = settings.bytes;
  TriggerEdits edits;
  edits.adjustLow = std::to_string(b[Offsets::AdjustLowOffset]);
  edits.adjustHigh = std::to_string(b[Offsets::AdjustHighOffset]);
  edits.maxWeight = trigger::MaxWeightText(b[Offsets::MaxWeightOffset]);
  edits.lockInputs = settings.LockInputs();
  edits.resetEntry = settings.ResetEntry();
  edits.lockDelay = std::to_string(b[Offsets::LockInputDelayOffset]);
  edits.resetDelay = std::to_string(b[Offsets::ResetMachineDelayOffset]);
  for (std::size_t i = 0; i < edits.miele.size(); ++i) {
    const trigger::MieleField& field = trigger::MieleFields[i];
    edits.miele[i] = settings.FieldText(field.offset, field.width);
  }
  edits.softner2 = settings.SoftnerActive2();
  for (int n = 1; n <= trigger::ElectroluxEntries; ++n) {
    const int program = settings.ElectroluxEntry(n);
    edits.electrolux[n - 1] = program <= ProgramCount ? program : -1;
  }
  edits.machineSerialNumber = trigger::MachineNumberText(settings.MachineSerialNumber());
  edits.machineId = trigger::MachineNumberText(settings.MachineID());
  return edits;
}

TriggerSettings WithEdits(const TriggerSettings& settings, const TriggerEdits& edits) {
  TriggerSettings stored = settings;
  auto& b = stored.bytes;
  b[Offsets::AdjustLowOffset] = LowByteOf(edits.adjustLow);
  b[Offsets::AdjustHighOffset] = LowByteOf(edits.adjustHigh);
  stored.SetLockInputs(edits.lockInputs);
  stored.SetResetEntry(edits.resetEntry);
  b[Offsets::LockInputDelayOffset] = LowByteOf(edits.lockDelay);
  b[Offsets::ResetMachineDelayOffset] = LowByteOf(edits.resetDelay);
  b[Offsets::MaxWeightOffset] = trigger::MaxWeightOfText(edits.maxWeight);
  switch (stored.Type()) {
    case trigger::TypeMieleLogic:
      for (std::size_t i = 0; i < edits.miele.size(); ++i) {
        const trigger::MieleField& field = trigger::MieleFields[i];
        stored.SetFieldText(field.offset, field.width, edits.miele[i]);
      }
      stored.SetSoftnerActive2(edits.softner2);
      break;
    case trigger::TypeElectrolux:
      // The whole map is written: bits beside the entries do not survive a store.
      std::fill_n(b.begin() + Offsets::AreaOffset, ElectroluxMapBytes, 0);
      for (int n = 1; n <= trigger::ElectroluxEntries; ++n)
        stored.SetElectroluxEntry(n, std::max(edits.electrolux[n - 1], 0));
      break;
    case trigger::TypeMieleEthernet:
      stored.SetMachineSerialNumber(trigger::MachineNumberOfText(edits.machineSerialNumber));
      stored.SetMachineID(trigger::MachineNumberOfText(edits.machineId));
      break;
    default:
      break;
  }
  return stored;
}

void RecordTriggerModule(TriggerSettings& settings, int kind, std::uint8_t firmwareVersion) {
  std::uint8_t& kindByte = settings.bytes[Offsets::ModuleKindOffset];
  kindByte = static_cast<std::uint8_t>((kindByte & 0xF0) | (kind & 0x0F));
  settings.bytes[Offsets::ModuleVersionOffset] = firmwareVersion;
}

}  // namespace qd
