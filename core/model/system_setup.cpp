#include "model/system_setup.h"

#include "app/bytes.h"
#include "app/text.h"

namespace qd {

void FillFromSystemData(WorkingConfig& config) {
  SystemConfig& system = config.system;
  const ControllerImage& image = config.image;
  const auto b = image.Span();

  for (int r = 0; r < RecipientCount; ++r) {
    system.Recipients[r] =
        image.FieldText(layout::Recipients + layout::RecipientField * r, layout::RecipientField);
  }
  system.SystemName = image.FieldText(layout::SystemName, layout::SystemNameField);
  system.DefaultInputFilter = std::to_string(b[layout::DefaultInputFilter]);

  for (int g = 0; g < AlarmGroupCount; ++g) {
    const std::uint16_t mask = bytes::GetU16LE(b, layout::AlarmGroups + 2 * g);
    for (int kind = 0; kind < AlarmKinds; ++kind)
      system.AlarmGroups[g][kind] = (mask >> (kind + 1)) & 1;
  }

  system.ActiveHighCommon = b[layout::ActiveLevelCommon] & 1;
  const std::uint8_t levels = b[layout::ActiveLevelMask];
  system.ActiveHighExtra = levels & 1;
  for (int i = 0; i < PumpCount; ++i)
    system.ActiveHighLevel[i] = (levels >> (i + 1)) & 1;

  system.AlarmOnAmountEnabled = b[layout::AlarmOnAmountEnabled] != 0;
  for (int p = 0; p < SoapAmountPumps; ++p) {
    system.AlarmAmount[p] =
        FormatHundredths(bytes::GetU16LE(b, layout::AlarmAmounts + 2 * p), config.decimalSeparator);
    system.UsedAmount[p] =
        FormatHundredths(bytes::GetU16LE(b, layout::UsedAmounts + 2 * p), config.decimalSeparator);
  }

  ApplyGroupZeroRule(system);
}

AlarmGroup ForcedGroupZeroAlarms(const SystemConfig& system) {
  AlarmGroup forced{};
  for (int kind = 0; kind < AlarmKinds; ++kind) {
    forced[kind] = system.AlarmGroups[1][kind] || system.AlarmGroups[2][kind];
  }
  return forced;
}

void ApplyGroupZeroRule(SystemConfig& system) {
  const AlarmGroup forced = ForcedGroupZeroAlarms(system);
  for (int kind = 0; kind < AlarmKinds; ++kind) {
    if (forced[kind]) system.AlarmGroups[0][kind] = true;
  }
}

void ResetSystemSetup(WorkingConfig& config) {
  FillFromSystemData(config);
  SystemConfig& system = config.system;
  system.MachineEnabled.fill(false);
  system.MachineEnabled[0] = true;
  system.SystemName.clear();
  system.DefaultInputFilter = SystemConfig{}.DefaultInputFilter;
  for (auto& group : system.AlarmGroups)
    group.fill(false);
  system.ActiveHighCommon = false;
  system.ActiveHighLevel.fill(false);
  system.ActiveHighExtra = false;
  for (auto& recipient : system.Recipients)
    recipient.clear();
}

}  // namespace qd
