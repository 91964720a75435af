#include "app/text.h"
#include "model/instruction_set.h"
#include "model/system_file.h"
#include "model/system_file_names.h"
#include "model/xml_document.h"

namespace qd {
namespace {

std::string Indexed(std::string_view prefix, int n) {
  return std::string(prefix) + std::to_string(n);
}

void WriteAlarm(xml::Writer& w, const SystemConfig& system) {
  w.Begin("Alarm");
  for (int g = 0; g < AlarmGroupCount; ++g) {
    w.Begin(Indexed("Group", g));
    for (int kind = 0; kind < AlarmKinds; ++kind)
      w.Bool(names::AlarmElements[kind], system.AlarmGroups[g][kind]);
    w.End();
  }
  for (int r = 0; r < RecipientCount; ++r)
    w.Text(Indexed("Recipient", r + 1), system.Recipients[r]);
  w.Begin("ActiveLevel");
  w.Bool("Common", system.ActiveHighCommon);
  for (int i = 0; i < PumpCount; ++i)
    w.Bool(Indexed("Level", i + 1), system.ActiveHighLevel[i]);
  w.Bool("Extra", system.ActiveHighExtra);
  w.End();
  w.Begin("AlarmOnAmount");
  w.Bool("Enabled", system.AlarmOnAmountEnabled);
  for (int p = 0; p < SoapAmountPumps; ++p)
    w.Text(Indexed("AlarmAmount", p + 1), system.AlarmAmount[p]);
  for (int p = 0; p < SoapAmountPumps; ++p)
    w.Text(Indexed("UsedAmount", p + 1), system.UsedAmount[p]);
  w.End();
  w.End();
}

void WriteTypeSpecific(xml::Writer& w, const TriggerSettings& trigger) {
  switch (trigger.Type()) {
    case trigger::TypeMieleLogic:
      w.Begin("MieleLogic");
      for (const auto& field : trigger::MieleFields)
        w.Text(field.element, trigger.FieldText(field.offset, field.width));
      w.Bool("SoftnerActive2",
             trigger.bytes[TriggerSettings::ResetOffset] & TriggerSettings::SoftnerActive2Bit);
      w.End();
      break;
    case trigger::TypeElectrolux:
      w.Begin("ElectroluxCompassPro");
      for (int n = 1; n <= names::ElectroluxFileEntries; ++n)
        w.Int(Indexed("ProgramMap", n), trigger.ElectroluxEntry(n));
      w.End();
      break;
    case trigger::TypeMieleEthernet:
      w.Begin("MieleLogicEthernet");
      w.Int("MachineSerialNumber", static_cast<std::int32_t>(trigger.MachineSerialNumber()));
      w.Int("MachineID", static_cast<std::int32_t>(trigger.MachineID()));
      w.End();
      break;
    default:
      break;
  }
}

void WriteTrigger(xml::Writer& w, const TriggerSettings& trigger) {
  const auto& b = trigger.bytes;
  const std::uint8_t reset = b[TriggerSettings::ResetOffset];
  w.Begin("Trigger");
  w.Text("Type", trigger::TypeName(trigger.Type()));
  w.Int("AdjustLow", b[TriggerSettings::AdjustLowOffset]);
  w.Int("AdjustHigh", b[TriggerSettings::AdjustHighOffset]);
  w.Int("MaxWeight", b[TriggerSettings::MaxWeightOffset]);
  w.Int("LockInputMask", b[TriggerSettings::LockInputMaskOffset]);
  w.Int("LockInputDelay", b[TriggerSettings::LockInputDelayOffset]);
  w.Int("ResetMachineInput", reset & TriggerSettings::ResetInputMask);
  w.Bool("ResetMachineFallingEdge", reset & TriggerSettings::ResetFallingEdgeBit);
  w.Int("ResetMachineDelay", trigger.ResetMachineDelay());
  WriteTypeSpecific(w, trigger);
  w.End();
}

// The first `count` parameter bytes as "%02X" separated by single blanks.
std::string HexBytes(const ProgramLine& line, int count) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) text += ' ';
    text += digits[line.Param(i) >> 4];
    text += digits[line.Param(i) & 0x0F];
  }
  return text;
}

void WriteLine(xml::Writer& w, const ProgramLine& line) {
  const int code = line.Instruction();
  w.Begin("L");
  w.Text("I", code < InstructionCount ? std::string(InstructionNames[code]) : Format("?%d", code));
  if (const int count = ParameterByteCount(code); count > 0) w.Text("D", HexBytes(line, count));
  if (!line.comment.empty()) w.Text("C", line.comment);
  w.End();
}

void WriteProgram(xml::Writer& w, const DosingProgram& program) {
  w.Begin("Program");
  w.Text("Name", program.Name);
  if (!program.Comment.empty()) w.Text("Comment", program.Comment);
  w.Bool("Active", program.Active);
  w.Bool("Softner", program.Softner);
  w.Bool("DefaultSoftner", program.DefaultSoftner);
  w.Int("DefaultLevel", program.DefaultLevel);
  for (const ProgramLine& line : program.Lines)
    WriteLine(w, line);
  w.End();
}

void WriteMachine(xml::Writer& w, const SystemConfig& system, int m) {
  const MachineConfig& machine = system.Machines[m];
  w.Begin(Indexed("Machine", m + 1));
  w.Bool("Enabled", system.MachineEnabled[m]);
  w.Int("DefaultProgram", machine.DefaultProgram);
  w.Bool("AllowNoProgram", machine.AllowNoProgram);
  w.Text("ShortFlushTime", machine.ShortFlushTime);
  w.Text("LongFlushTime", machine.LongFlushTime);
  w.Text("ProgramTimeout", machine.ProgramTimeout);
  w.Text("SoftnerPump", SoftnerPumpItemText(machine.SoftnerPump));
  w.Text("Comment", machine.Comment);
  for (int pump = 0; pump < PumpCount; ++pump) {
    w.Int(Indexed("Calibration", pump + 1), WholeNumberOr(machine.Calibration[pump]));
  }
  WriteTrigger(w, machine.Trigger);
  for (const DosingProgram& program : machine.Programs)
    WriteProgram(w, program);
  w.End();
}

}  // namespace

std::string SystemFileText(const WorkingConfig& config) {
  const SystemConfig& system = config.system;
  const ControllerImage& image = config.image;
  xml::Writer w;
  w.Begin("QDsystem", "Version", "1.0");
  w.Begin("MainSetup");
  w.Text("SystemName", system.SystemName);
  w.Int("VersionMajor", image.FormatMajor());
  w.Int("VersionMinor", image.FormatMinor());
  w.End();
  w.Begin("PCsettings");
  w.Text("DefaultInputFilter", system.DefaultInputFilter);
  w.End();
  WriteAlarm(w, system);
  w.Begin("MachineData");
  for (int m = 0; m < MachineCount; ++m)
    WriteMachine(w, system, m);
  w.End();
  const auto b = image.Span();
  w.BinHex("AlarmLog", b.subspan(layout::AlarmLog, layout::AlarmLogSize));
  w.BinHex("DataLog", b.subspan(layout::ConsumptionLog, layout::ConsumptionLogSize));
  w.End();
  return w.Document();
}

FileResult WriteSystemFile(const WorkingConfig& config, const std::filesystem::path& path) {
  return WriteFileAtomically(path, SystemFileText(config));
}

}  // namespace qd

namespace qd {

bool SetsUnkeptElectroluxEntries(const TriggerSettings& trigger) {
  if (trigger.Type() != trigger::TypeElectrolux) return false;
  for (int n = names::ElectroluxFileEntries + 1; n <= trigger::ElectroluxEntries; ++n) {
    if (trigger.ElectroluxEntry(n) != 0) return true;
  }
  return false;
}

std::vector<int> MachinesWithUnkeptElectroluxEntries(const SystemConfig& system) {
  std::vector<int> machines;
  for (int m = 0; m < MachineCount; ++m) {
    if (SetsUnkeptElectroluxEntries(system.Machines[m].Trigger)) machines.push_back(m + 1);
  }
  return machines;
}

}  // namespace qd
