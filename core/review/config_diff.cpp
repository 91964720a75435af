#include "review/config_diff.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/file_io.h"
#include "app/text.h"
#include "model/image_builder.h"
#include "model/image_parser.h"
#include "model/instruction_set.h"
#include "model/system_commands.h"
#include "model/system_file.h"

namespace qd::review {
namespace {

constexpr std::array<std::string_view, AlarmKinds> AlarmNames = {
    "Level alarm", "Water alarm", "Trigger error", "Keyboard error", "Dispense error"};
constexpr std::array<std::string_view, 4> LevelNames = {"-", "Low", "Mid", "High"};

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string OnOff(bool on) {
  return on ? "on" : "off";
}

std::string Numbered(std::string_view what, int number) {
  return std::string(what) + " " + std::to_string(number);
}

std::string Hex(std::uint8_t byte) {
  return Format("%02X", byte);
}

// Collects the items that differ, under a place prefix.
class Collector {
 public:
  explicit Collector(std::vector<Difference>& out, std::string prefix = {})
      : out_(out), prefix_(std::move(prefix)) {}

  Collector Under(const std::string& part) const { return Collector(out_, Place(part)); }

  void Item(const std::string& name, const std::string& before, const std::string& after) const {
    if (before != after) out_.push_back({Place(name), before, after});
  }
  void Text(const std::string& name, const std::string& before, const std::string& after) const {
    if (before != after) Item(name, Quoted(before), Quoted(after));
  }
  void Flag(const std::string& name, bool before, bool after) const {
    Item(name, OnOff(before), OnOff(after));
  }

 private:
  std::string Place(const std::string& part) const { return prefix_.empty() ? part : prefix_ + " / " + part; }

  std::vector<Difference>& out_;
  std::string prefix_;
};

std::string LineText(const ProgramLine& line) {
  const LineTexts texts = ShowLine(line);
  std::string text = std::string(TrimBlanks(texts.instruction));
  if (!texts.parameters.empty()) text += ": " + texts.parameters;
  if (!texts.comment.empty()) text += "  " + Quoted(texts.comment);
  return text;
}

// The line's bytes, for lines whose texts are equal although their bytes are not.
std::string LineBytes(const ProgramLine& line) {
  std::string text;
  for (std::uint8_t byte : std::span(line.bytes).first(6))
    text += (text.empty() ? "" : " ") + Hex(byte);
  return "[" + text + "]";
}

void CompareLine(const Collector& program, int number, const ProgramLine& before, const ProgramLine& after) {
  const std::string place = Numbered("Line", number);
  std::string a = LineText(before);
  std::string b = LineText(after);
  if (a == b && !std::equal(before.bytes.begin(), before.bytes.begin() + 6, after.bytes.begin())) {
    a += " " + LineBytes(before);
    b += " " + LineBytes(after);
  }
  program.Item(place, a, b);
}

void CompareProgram(const Collector& program, const DosingProgram& before, const DosingProgram& after) {
  program.Text("Name", before.Name, after.Name);
  program.Text("Comment", before.Comment, after.Comment);
  program.Flag("Active", before.Active, after.Active);
  program.Flag("Softner", before.Softner, after.Softner);
  program.Flag("Default softner", before.DefaultSoftner, after.DefaultSoftner);
  program.Item("Default level", std::string(LevelNames[before.DefaultLevel & 3]),
               std::string(LevelNames[after.DefaultLevel & 3]));
  for (int k = 0; k < DosingProgram::LineCount; ++k)
    CompareLine(program, k + 1, before.Lines[k], after.Lines[k]);
}

std::string TypeText(int code) {
  const std::string_view name = trigger::TypeName(code);
  return name.empty() ? Numbered("Type", code) : std::string(name);
}

std::string LockInputsText(const TriggerSettings& trigger) {
  std::string text;
  for (int input : trigger.LockInputs()) {
    if (input != 0) text += (text.empty() ? "" : ", ") + std::to_string(input);
  }
  return text.empty() ? "-" : text;
}

std::string ResetInputText(const TriggerSettings& trigger) {
  const int input = trigger.ResetMachineInput();
  if (input == 0) return "-";
  return Numbered("Input", input) + (trigger.ResetMachineFallingEdge() ? ", falling edge" : "");
}

// Marks the bytes a named item covers, so that only the others are compared byte by byte.
class Coverage {
 public:
  void Mark(int first, int count = 1) {
    for (int k = first; k < first + count && k < TriggerSettings::Size; ++k)
      covered_[k] = true;
  }
  bool Covered(int offset) const { return covered_[offset]; }

 private:
  std::array<bool, TriggerSettings::Size> covered_{};
};

void CompareTriggerCommon(const Collector& c, const TriggerSettings& a, const TriggerSettings& b,
                          Coverage& covered) {
  using T = TriggerSettings;
  c.Item("Type", TypeText(a.Type()), TypeText(b.Type()));
  c.Item("Low adjust %", std::to_string(a.bytes[T::AdjustLowOffset]),
         std::to_string(b.bytes[T::AdjustLowOffset]));
  c.Item("High adjust %", std::to_string(a.bytes[T::AdjustHighOffset]),
         std::to_string(b.bytes[T::AdjustHighOffset]));
  c.Item("Max weight", trigger::MaxWeightText(a.bytes[T::MaxWeightOffset]) + " kg",
         trigger::MaxWeightText(b.bytes[T::MaxWeightOffset]) + " kg");
  c.Item("Keyboard lock inputs", LockInputsText(a), LockInputsText(b));
  c.Item("Keyboard lock delay", std::to_string(a.bytes[T::LockInputDelayOffset]),
         std::to_string(b.bytes[T::LockInputDelayOffset]));
  c.Item("Reset machine input", ResetInputText(a), ResetInputText(b));
  c.Flag("Softner 2", a.SoftnerActive2(), b.SoftnerActive2());
  c.Item("Reset machine delay", std::to_string(a.ResetMachineDelay()), std::to_string(b.ResetMachineDelay()));
  covered.Mark(T::TypeOffset);
  covered.Mark(T::AdjustLowOffset);
  covered.Mark(T::AdjustHighOffset);
  covered.Mark(T::MaxWeightOffset);
  // The module's kind and version are what the machine window last heard from the module, not a setting.
  covered.Mark(T::ModuleKindOffset, 2);
  covered.Mark(T::LockInputMaskOffset, 2);
  covered.Mark(T::ResetOffset, 3);
}

void CompareTriggerArea(const Collector& c, const TriggerSettings& a, const TriggerSettings& b,
                        Coverage& covered) {
  const auto uses = [&](int type) { return a.Type() == type || b.Type() == type; };
  if (uses(trigger::TypeMieleLogic)) {
    for (const trigger::MieleField& field : trigger::MieleFields) {
      c.Text(std::string(field.element), a.FieldText(field.offset, field.width),
             b.FieldText(field.offset, field.width));
      covered.Mark(field.offset, field.width);
    }
  }
  if (uses(trigger::TypeElectrolux)) {
    for (int n = 1; n <= trigger::ElectroluxEntries; ++n) {
      c.Item(Numbered("Program map", n), std::to_string(a.ElectroluxEntry(n)),
             std::to_string(b.ElectroluxEntry(n)));
    }
    covered.Mark(TriggerSettings::AreaOffset, 16);
  }
  if (uses(trigger::TypeMieleEthernet)) {
    c.Item("Machine serial number", trigger::MachineNumberText(a.MachineSerialNumber()),
           trigger::MachineNumberText(b.MachineSerialNumber()));
    c.Item("Machine ID", trigger::MachineNumberText(a.MachineID()),
           trigger::MachineNumberText(b.MachineID()));
    covered.Mark(TriggerSettings::AreaOffset, 8);
  }
}

void CompareTrigger(const Collector& c, const TriggerSettings& a, const TriggerSettings& b) {
  Coverage covered;
  CompareTriggerCommon(c, a, b, covered);
  CompareTriggerArea(c, a, b, covered);
  for (int k = 0; k < TriggerSettings::Size; ++k) {
    if (!covered.Covered(k)) c.Item(Numbered("Byte", k), Hex(a.bytes[k]), Hex(b.bytes[k]));
  }
}

std::string ChoiceText(int index) {
  return index <= 0 ? "-" : std::to_string(index);
}

void CompareMachine(const Collector& c, const MachineConfig& a, const MachineConfig& b) {
  c.Item("Default program", ChoiceText(a.DefaultProgram), ChoiceText(b.DefaultProgram));
  c.Flag("Allow no program", a.AllowNoProgram, b.AllowNoProgram);
  c.Item("Fabric softner", ChoiceText(a.SoftnerPump), ChoiceText(b.SoftnerPump));
  c.Item("Short flush time", a.ShortFlushTime, b.ShortFlushTime);
  c.Item("Long flush time", a.LongFlushTime, b.LongFlushTime);
  c.Item("Program timeout", a.ProgramTimeout, b.ProgramTimeout);
  c.Text("Comment", a.Comment, b.Comment);
  for (int p = 0; p < PumpCount; ++p)
    c.Item(Numbered("Calibration pump", p + 1), a.Calibration[p], b.Calibration[p]);
  CompareTrigger(c.Under("Trigger"), a.Trigger, b.Trigger);
  for (int p = 0; p < ProgramCount; ++p)
    CompareProgram(c.Under(Numbered("Program", p + 1)), a.Programs[p], b.Programs[p]);
}

void CompareSystemSettings(const Collector& c, const SystemConfig& a, const SystemConfig& b) {
  c.Text("Name", a.SystemName, b.SystemName);
  c.Item("Default input filter time", a.DefaultInputFilter, b.DefaultInputFilter);
  for (int g = 0; g < AlarmGroupCount; ++g) {
    const Collector group = c.Under(Numbered("Alarm group", g + 1));
    for (int k = 0; k < AlarmKinds; ++k)
      group.Flag(std::string(AlarmNames[k]), a.AlarmGroups[g][k], b.AlarmGroups[g][k]);
  }
  for (int r = 0; r < RecipientCount; ++r)
    c.Text(Numbered("Recipient", r + 1), a.Recipients[r], b.Recipients[r]);
  for (int p = 0; p < PumpCount; ++p)
    c.Flag(Numbered("Level alarm active high, pump", p + 1), a.ActiveHighLevel[p], b.ActiveHighLevel[p]);
  c.Flag("Level alarm active high, extra", a.ActiveHighExtra, b.ActiveHighExtra);
  c.Flag("Level alarm active high, common", a.ActiveHighCommon, b.ActiveHighCommon);
  c.Flag("Alarm on amount", a.AlarmOnAmountEnabled, b.AlarmOnAmountEnabled);
  for (int p = 0; p < SoapAmountPumps; ++p) {
    c.Item(Numbered("Alarm amount pump", p + 1), a.AlarmAmount[p], b.AlarmAmount[p]);
    c.Item(Numbered("Used amount pump", p + 1), a.UsedAmount[p], b.UsedAmount[p]);
  }
}

}  // namespace

std::string Difference::Text() const {
  return place + ": " + before + " -> " + after;
}

std::vector<Difference> CompareSystems(const SystemConfig& before, const SystemConfig& after) {
  std::vector<Difference> out;
  const Collector root(out);
  CompareSystemSettings(root.Under("System"), before, after);
  for (int m = 0; m < MachineCount; ++m) {
    const Collector machine = root.Under(Numbered("Machine", m + 1));
    machine.Flag("Enabled", before.MachineEnabled[m], after.MachineEnabled[m]);
    CompareMachine(machine, before.Machines[m], after.Machines[m]);
  }
  return out;
}

SystemConfig CanonicalSystem(const WorkingConfig& config) {
  WorkingConfig scratch = config;
  BuildImage(scratch, LocalDateTime{});
  ParseImage(scratch);
  return scratch.system;
}

bool SystemOfImage(const ControllerImage& image, SystemConfig& system) {
  WorkingConfig scratch;
  scratch.image = image;
  if (!ParseImage(scratch).ok) return false;
  system = scratch.system;
  return true;
}

LoadedSystem LoadSystemForComparison(const std::filesystem::path& path) {
  LoadedSystem loaded;
  WorkingConfig scratch;
  if (IsSystemFileName(path.string())) {
    const LoadResult result = LoadSystem(scratch, path, LocalDateTime{});
    if (!result.file.ok) {
      loaded.error = path.string() + ": " + result.file.error;
      return loaded;
    }
  } else {
    const auto bytes = ReadWholeFile(path, loaded.error, layout::ImageSize);
    if (!bytes) return loaded;
    if (bytes->size() != layout::ImageSize) {
      loaded.error = Format("%s: not a controller image (%zu bytes, not %zu)", path.string().c_str(),
                            bytes->size(), layout::ImageSize);
      return loaded;
    }
    std::copy(bytes->begin(), bytes->end(), scratch.image.bytes.begin());
  }
  loaded.ok = SystemOfImage(scratch.image, loaded.system);
  if (!loaded.ok) loaded.error = path.string() + ": " + ParseImage(scratch).error;
  return loaded;
}

}  // namespace qd::review
