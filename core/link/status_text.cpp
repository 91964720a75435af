#include "link/status_text.h"

#include "app/text.h"
#include "model/counts.h"
#include "model/trigger_settings.h"

namespace qd::link {

namespace {

constexpr int InputCount = 6;

// Trigger types whose reports carry a weight or a percent value in byte 8.
constexpr int TypeNyborgW3 = trigger::TypeNyborgW3;
constexpr int TypeNyborgHS = trigger::TypeNyborgHs;
constexpr int TypeMieleLogic = trigger::TypeMieleLogic;
constexpr int TypeElectrolux = trigger::TypeElectrolux;

const char* OnOff(bool on) {
  return on ? "on" : "off";
}

std::string KindText(int kind) {
  switch (kind) {
    case TriggerModuleStatus::KindQD520:
      return "QD520";
    case TriggerModuleStatus::KindQD740:
      return "QD740";
    default:
      return std::to_string(kind);
  }
}

}  // namespace

std::string MaskText(unsigned mask, int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += ((mask >> i) & 1U) != 0 ? '1' : '0';
  return text;
}

bool IsIdle(const MachineStatus& status) {
  return status.RunningProgram() < 0 && status.RunningLine() == 0 && !status.TriggerOnline() &&
         !status.KeyboardLocked() && status.Inputs() == 0 && status.Percent() == 0;
}

std::string MachineStatusText(int m, const MachineStatus& status) {
  const int program = status.RunningProgram();
  const int line = status.RunningLine();
  std::string text = Format("M%d", m + 1);
  text += program >= 0 ? Format(" prog=%d", program + 1) : std::string(" prog=-");
  text += line != 0 ? Format(" line=%d", line) : std::string(" line=-");
  text += Format(" trig=%s", OnOff(status.TriggerOnline()));
  if (status.KeyboardLocked()) text += " kbd-locked";
  text += " inputs=" + MaskText(status.Inputs(), InputCount);
  text += Format(" pct=%d", status.Percent());
  return text;
}

std::string ControllerStatusText(const ControllerStatus& status) {
  std::string text = "status";
  if (status.WasConverted())
    text += " (44-byte form)";
  else if (!status.IsCurrentForm())
    text += Format(" (length %d)", status.Bytes()[1]);
  text += ": pumps=" + MaskText(status.PumpsRunning(), PumpCount);
  text += " machines=" + MaskText(status.MachineSignals(), MachineCount);
  text += Format(" water=%s drain=%s alarm=%s", OnOff(status.FlushWater()), OnOff(status.FlushDrain()),
                 OnOff(status.AlarmOutput()));
  for (int m = 0; m < MachineCount; ++m) {
    const MachineStatus machine = status.Machine(m);
    if (!IsIdle(machine)) text += " | " + MachineStatusText(m, machine);
  }
  return text;
}

std::string GatewayStatusText(const GatewayStatus& status) {
  std::string text = "remote status: pumps=" + MaskText(status.PumpsRunning(), PumpCount);
  text += " machines=" + MaskText(status.MachineSignals(), MachineCount);
  text += Format(" water=%s drain=%s", OnOff(status.FlushWater()), OnOff(status.FlushDrain()));
  for (int m = 0; m < MachineCount; ++m) {
    const MachineStatus machine = status.Machine(m);
    if (!IsIdle(machine)) text += " | " + MachineStatusText(m, machine);
  }
  return text;
}

std::string TriggerReportText(const TriggerReport& report, int triggerType) {
  std::string text = Format("trigger M%d cmd=%d: inputs=", report.machine + 1, report.command);
  text += MaskText(report.inputs, InputCount);
  switch (triggerType) {
    case TypeNyborgW3:
    case TypeNyborgHS:
    case TypeElectrolux: {
      const int tenths = report.WeightTenthsKg();
      text += Format(" weight=%d.%dkg", tenths / 10, tenths % 10);
      break;
    }
    case TypeMieleLogic:
      text += Format(" pct=%d", report.value);
      break;
    case UnknownTriggerType:
      text += Format(" value=%d", report.value);
      break;
    default:
      break;
  }
  if (report.module) {
    const TriggerModuleStatus& module = *report.module;
    text += " kind=" + KindText(module.kind);
    text += Format(" fw=%d.%d serial=%s kbd=%s", module.VersionMajor(), module.VersionMinor(),
                   OnOff(module.serialConnection), OnOff(module.keyboardConnected));
  }
  if (report.electroluxProgram && (triggerType == TypeElectrolux || triggerType == UnknownTriggerType))
    text += Format(" elux-prog=%d", *report.electroluxProgram);
  return text;
}

}  // namespace qd::link
