#include <cstdio>
#include <fstream>
#include <system_error>

#include "app/text.h"
#include "model/instruction_set.h"
#include "model/system_file.h"
#include "model/system_file_names.h"
#include "model/xml_document.h"

namespace qd {
namespace {

using xml::Element;

void WriteAlarm(Element& root, const SystemConfig& system) {
  Element& alarm = root.AddChild("Alarm");
  for (int g = 0; g < AlarmGroupCount; ++g) {
    Element& group = alarm.AddChild("Group" + std::to_string(g));
    for (int kind = 0; kind < AlarmKinds; ++kind) {
      group.AddBool(std::string(names::AlarmElements[kind]), system.AlarmGroups[g][kind]);
    }
  }
  for (int r = 0; r < RecipientCount; ++r) {
    alarm.AddText("Recipient" + std::to_string(r + 1), system.Recipients[r]);
  }
  Element& active = alarm.AddChild("ActiveLevel");
  active.AddBool("Common", system.ActiveHighCommon);
  for (int i = 0; i < PumpCount; ++i)
    active.AddBool("Level" + std::to_string(i + 1), system.ActiveHighLevel[i]);
  active.AddBool("Extra", system.ActiveHighExtra);
  Element& amounts = alarm.AddChild("AlarmOnAmount");
  amounts.AddBool("Enabled", system.AlarmOnAmountEnabled);
  for (int p = 0; p < SoapAmountPumps; ++p)
    amounts.AddText("AlarmAmount" + std::to_string(p + 1), system.AlarmAmount[p]);
  for (int p = 0; p < SoapAmountPumps; ++p)
    amounts.AddText("UsedAmount" + std::to_string(p + 1), system.UsedAmount[p]);
}

void WriteTrigger(Element& machineElement, const TriggerSettings& trigger) {
  const auto& b = trigger.bytes;
  Element& t = machineElement.AddChild("Trigger");
  t.AddText("Type", std::string(trigger::TypeName(trigger.Type())));
  t.AddInt("AdjustLow", b[TriggerSettings::AdjustLowOffset]);
  t.AddInt("AdjustHigh", b[TriggerSettings::AdjustHighOffset]);
  t.AddInt("MaxWeight", b[TriggerSettings::MaxWeightOffset]);
  t.AddInt("LockInputMask", b[TriggerSettings::LockInputMaskOffset]);
  t.AddInt("LockInputDelay", b[TriggerSettings::LockInputDelayOffset]);
  const std::uint8_t reset = b[TriggerSettings::ResetOffset];
  t.AddInt("ResetMachineInput", reset & TriggerSettings::ResetInputMask);
  t.AddBool("ResetMachineFallingEdge", reset & TriggerSettings::ResetFallingEdgeBit);
  t.AddInt("ResetMachineDelay", b[TriggerSettings::ResetMachineDelayOffset] |
                                    (b[TriggerSettings::ResetMachineDelayOffset + 1] << 8));
  switch (trigger.Type()) {
    case trigger::TypeMieleLogic: {
      Element& miele = t.AddChild("MieleLogic");
      for (const auto& field : trigger::MieleFields) {
        miele.AddText(std::string(field.element), trigger.FieldText(field.offset, field.width));
      }
      miele.AddBool("SoftnerActive2", reset & TriggerSettings::SoftnerActive2Bit);
      break;
    }
    case trigger::TypeElectrolux: {
      Element& map = t.AddChild("ElectroluxCompassPro");
      for (int n = 1; n <= names::ElectroluxFileEntries; ++n) {
        map.AddInt("ProgramMap" + std::to_string(n), trigger.ElectroluxEntry(n));
      }
      break;
    }
    case trigger::TypeMieleEthernet: {
      Element& ethernet = t.AddChild("MieleLogicEthernet");
      ethernet.AddInt("MachineSerialNumber", static_cast<std::int32_t>(trigger.MachineSerialNumber()));
      ethernet.AddInt("MachineID", static_cast<std::int32_t>(trigger.MachineID()));
      break;
    }
    default:
      break;
  }
}

std::string HexBytes(const ProgramLine& line, int count) {
  std::string text;
  for (int i = 1; i <= count; ++i)
    text += Format(i == 1 ? "%02X" : " %02X", line.Param(i));
  return text;
}

void WriteProgram(Element& machineElement, const DosingProgram& program) {
  Element& p = machineElement.AddChild("Program");
  p.AddText("Name", program.Name);
  if (!program.Comment.empty()) p.AddText("Comment", program.Comment);
  p.AddBool("Active", program.Active);
  p.AddBool("Softner", program.Softner);
  p.AddBool("DefaultSoftner", program.DefaultSoftner);
  p.AddInt("DefaultLevel", program.DefaultLevel);
  for (const ProgramLine& line : program.Lines) {
    Element& l = p.AddChild("L");
    const int code = line.Instruction();
    l.AddText("I", code < static_cast<int>(InstructionNames.size()) ? std::string(InstructionNames[code])
                                                                    : Format("?%d", code));
    const int count = ParameterByteCount(code);
    if (count > 0) l.AddText("D", HexBytes(line, count));
    if (!line.comment.empty()) l.AddText("C", line.comment);
  }
}

void WriteMachine(Element& machineData, const SystemConfig& system, int m) {
  const MachineConfig& machine = system.Machines[m];
  Element& e = machineData.AddChild("Machine" + std::to_string(m + 1));
  e.AddBool("Enabled", system.MachineEnabled[m]);
  e.AddInt("DefaultProgram", machine.DefaultProgram);
  e.AddBool("AllowNoProgram", machine.AllowNoProgram);
  e.AddText("ShortFlushTime", machine.ShortFlushTime);
  e.AddText("LongFlushTime", machine.LongFlushTime);
  e.AddText("ProgramTimeout", machine.ProgramTimeout);
  e.AddText("SoftnerPump", SoftnerPumpItemText(machine.SoftnerPump));
  e.AddText("Comment", machine.Comment);
  for (int pump = 0; pump < PumpCount; ++pump) {
    e.AddInt("Calibration" + std::to_string(pump + 1), WholeNumberOr(machine.Calibration[pump]));
  }
  WriteTrigger(e, machine.Trigger);
  for (const DosingProgram& program : machine.Programs)
    WriteProgram(e, program);
}

}  // namespace

std::string SystemFileText(const WorkingConfig& config) {
  const SystemConfig& system = config.system;
  const ControllerImage& image = config.image;

  Element root("QDsystem");
  root.SetAttribute("Version", "1.0");
  Element& mainSetup = root.AddChild("MainSetup");
  mainSetup.AddText("SystemName", system.SystemName);
  mainSetup.AddInt("VersionMajor", image.FormatMajor());
  mainSetup.AddInt("VersionMinor", image.FormatMinor());
  root.AddChild("PCsettings").AddText("DefaultInputFilter", system.DefaultInputFilter);
  WriteAlarm(root, system);
  Element& machineData = root.AddChild("MachineData");
  for (int m = 0; m < MachineCount; ++m)
    WriteMachine(machineData, system, m);
  const auto b = image.Span();
  root.AddBinHex("AlarmLog", b.subspan(layout::AlarmLog, layout::AlarmLogSize));
  root.AddBinHex("DataLog", b.subspan(layout::ConsumptionLog, layout::ConsumptionLogSize));
  return root.Serialize();
}

FileResult WriteSystemFile(const WorkingConfig& config, const std::filesystem::path& path) {
  return WriteFileAtomically(path, SystemFileText(config));
}

}  // namespace qd
