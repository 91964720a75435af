#include "review/config_diff.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/file_io.h"
#include "app/text.h"
#include "app/translation.h"
#include "model/image_builder.h"
#include "model/image_parser.h"
#include "model/instruction_set.h"
#include "model/system_commands.h"
#include "model/system_file.h"

namespace qd::review {
namespace {

// The alarm kinds in the order of SystemConfig::AlarmGroups.
std::string AlarmName(int kind) {
  switch (kind) {
    case 0:
      return UiText("ConfigDiff", "Level alarm");
    case 1:
      return UiText("ConfigDiff", "Water alarm");
    case 2:
      return UiText("ConfigDiff", "Trigger error");
    case 3:
      return UiText("ConfigDiff", "Keyboard error");
    case 4:
      return UiText("ConfigDiff", "Dispense error");
    default:
      return std::to_string(kind);
  }
}
static_assert(AlarmKinds == 5);

std::string LevelName(int level) {
  switch (level & 3) {
    case 1:
      return UiText("ConfigDiff", "Low");
    case 2:
      return UiText("ConfigDiff", "Mid");
    case 3:
      return UiText("ConfigDiff", "High");
    default:
      return "-";
  }
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string OnOff(bool on) {
  return on ? UiText("ConfigDiff", "on") : UiText("ConfigDiff", "off");
}

// `pattern` with the number for %1.
std::string Numbered(const std::string& pattern, int number) {
  return Substitute(pattern, {std::to_string(number)});
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
  // Amounts compare as the controller stores them: "25,00" typed on one PC and "25.00" on another are the
  // same amount.
  void Amount(const std::string& name, const std::string& before, const std::string& after) const {
    const auto a = ParseAmountHundredths(before), b = ParseAmountHundredths(after);
    if (a && b ? *a != *b : before != after) out_.push_back({Place(name), before, after});
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
  const std::string place = Numbered(UiText("ConfigDiff", "Line %1"), number);
  std::string a = LineText(before);
  std::string b = LineText(after);
  if (a == b && !std::equal(before.bytes.begin(), before.bytes.begin() + 6, after.bytes.begin())) {
    a += " " + LineBytes(before);
    b += " " + LineBytes(after);
  }
  program.Item(place, a, b);
}

void CompareProgram(const Collector& program, const DosingProgram& before, const DosingProgram& after) {
  program.Text(UiText("ConfigDiff", "Name"), before.Name, after.Name);
  program.Text(UiText("ConfigDiff", "Comment"), before.Comment, after.Comment);
  program.Flag(UiText("ConfigDiff", "Active"), before.Active, after.Active);
  program.Flag(UiText("ConfigDiff", "Softner"), before.Softner, after.Softner);
  program.Flag(UiText("ConfigDiff", "Default softner"), before.DefaultSoftner, after.DefaultSoftner);
  program.Item(UiText("ConfigDiff", "Default level"), LevelName(before.DefaultLevel),
               LevelName(after.DefaultLevel));
  for (int k = 0; k < DosingProgram::LineCount; ++k)
    CompareLine(program, k + 1, before.Lines[k], after.Lines[k]);
}

std::string TypeText(int code) {
  const std::string_view name = trigger::TypeName(code);
  return name.empty() ? Numbered(UiText("ConfigDiff", "Type %1"), code) : std::string(name);
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
  return Numbered(trigger.ResetMachineFallingEdge() ? UiText("ConfigDiff", "Input %1, falling edge")
                                                    : UiText("ConfigDiff", "Input %1"),
                  input);
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
  c.Item(UiText("ConfigDiff", "Type"), TypeText(a.Type()), TypeText(b.Type()));
  c.Item(UiText("ConfigDiff", "Low adjust %"), std::to_string(a.bytes[T::AdjustLowOffset]),
         std::to_string(b.bytes[T::AdjustLowOffset]));
  c.Item(UiText("ConfigDiff", "High adjust %"), std::to_string(a.bytes[T::AdjustHighOffset]),
         std::to_string(b.bytes[T::AdjustHighOffset]));
  c.Item(UiText("ConfigDiff", "Max weight"), trigger::MaxWeightText(a.bytes[T::MaxWeightOffset]) + " kg",
         trigger::MaxWeightText(b.bytes[T::MaxWeightOffset]) + " kg");
  c.Item(UiText("ConfigDiff", "Keyboard lock inputs"), LockInputsText(a), LockInputsText(b));
  c.Item(UiText("ConfigDiff", "Keyboard lock delay"), std::to_string(a.bytes[T::LockInputDelayOffset]),
         std::to_string(b.bytes[T::LockInputDelayOffset]));
  c.Item(UiText("ConfigDiff", "Reset machine input"), ResetInputText(a), ResetInputText(b));
  c.Flag(UiText("ConfigDiff", "Softner 2"), a.SoftnerActive2(), b.SoftnerActive2());
  c.Item(UiText("ConfigDiff", "Reset machine delay"), std::to_string(a.ResetMachineDelay()),
         std::to_string(b.ResetMachineDelay()));
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
      c.Item(Numbered(UiText("ConfigDiff", "Program map %1"), n), std::to_string(a.ElectroluxEntry(n)),
             std::to_string(b.ElectroluxEntry(n)));
    }
    covered.Mark(TriggerSettings::AreaOffset, 16);
  }
  if (uses(trigger::TypeMieleEthernet)) {
    c.Item(UiText("ConfigDiff", "Machine serial number"), trigger::MachineNumberText(a.MachineSerialNumber()),
           trigger::MachineNumberText(b.MachineSerialNumber()));
    c.Item(UiText("ConfigDiff", "Machine ID"), trigger::MachineNumberText(a.MachineID()),
           trigger::MachineNumberText(b.MachineID()));
    covered.Mark(TriggerSettings::AreaOffset, 8);
  }
}

void CompareTrigger(const Collector& c, const TriggerSettings& a, const TriggerSettings& b) {
  Coverage covered;
  CompareTriggerCommon(c, a, b, covered);
  CompareTriggerArea(c, a, b, covered);
  for (int k = 0; k < TriggerSettings::Size; ++k) {
    if (!covered.Covered(k))
      c.Item(Numbered(UiText("ConfigDiff", "Byte %1"), k), Hex(a.bytes[k]), Hex(b.bytes[k]));
  }
}

std::string ChoiceText(int index) {
  return index <= 0 ? "-" : std::to_string(index);
}

void CompareMachine(const Collector& c, const MachineConfig& a, const MachineConfig& b) {
  c.Item(UiText("ConfigDiff", "Default program"), ChoiceText(a.DefaultProgram), ChoiceText(b.DefaultProgram));
  c.Flag(UiText("ConfigDiff", "Allow no program"), a.AllowNoProgram, b.AllowNoProgram);
  c.Item(UiText("ConfigDiff", "Fabric softner"), ChoiceText(a.SoftnerPump), ChoiceText(b.SoftnerPump));
  c.Item(UiText("ConfigDiff", "Short flush time"), a.ShortFlushTime, b.ShortFlushTime);
  c.Item(UiText("ConfigDiff", "Long flush time"), a.LongFlushTime, b.LongFlushTime);
  c.Item(UiText("ConfigDiff", "Program timeout"), a.ProgramTimeout, b.ProgramTimeout);
  c.Text(UiText("ConfigDiff", "Comment"), a.Comment, b.Comment);
  for (int p = 0; p < PumpCount; ++p)
    c.Item(Numbered(UiText("ConfigDiff", "Calibration pump %1"), p + 1), a.Calibration[p], b.Calibration[p]);
  CompareTrigger(c.Under(UiText("ConfigDiff", "Trigger")), a.Trigger, b.Trigger);
  for (int p = 0; p < ProgramCount; ++p)
    CompareProgram(c.Under(Numbered(UiText("ConfigDiff", "Program %1"), p + 1)), a.Programs[p],
                   b.Programs[p]);
}

void CompareSystemSettings(const Collector& c, const SystemConfig& a, const SystemConfig& b) {
  c.Text(UiText("ConfigDiff", "Name"), a.SystemName, b.SystemName);
  c.Item(UiText("ConfigDiff", "Default input filter time"), a.DefaultInputFilter, b.DefaultInputFilter);
  for (int g = 0; g < AlarmGroupCount; ++g) {
    const Collector group = c.Under(Numbered(UiText("ConfigDiff", "Alarm group %1"), g + 1));
    for (int k = 0; k < AlarmKinds; ++k)
      group.Flag(AlarmName(k), a.AlarmGroups[g][k], b.AlarmGroups[g][k]);
  }
  for (int r = 0; r < RecipientCount; ++r)
    c.Text(Numbered(UiText("ConfigDiff", "Recipient %1"), r + 1), a.Recipients[r], b.Recipients[r]);
  for (int p = 0; p < PumpCount; ++p) {
    c.Flag(Numbered(UiText("ConfigDiff", "Level alarm active high, pump %1"), p + 1), a.ActiveHighLevel[p],
           b.ActiveHighLevel[p]);
  }
  c.Flag(UiText("ConfigDiff", "Level alarm active high, extra"), a.ActiveHighExtra, b.ActiveHighExtra);
  c.Flag(UiText("ConfigDiff", "Level alarm active high, common"), a.ActiveHighCommon, b.ActiveHighCommon);
  c.Flag(UiText("ConfigDiff", "Alarm on amount"), a.AlarmOnAmountEnabled, b.AlarmOnAmountEnabled);
  for (int p = 0; p < SoapAmountPumps; ++p) {
    c.Amount(Numbered(UiText("ConfigDiff", "Alarm amount pump %1"), p + 1), a.AlarmAmount[p],
             b.AlarmAmount[p]);
    c.Amount(Numbered(UiText("ConfigDiff", "Used amount pump %1"), p + 1), a.UsedAmount[p], b.UsedAmount[p]);
  }
}

}  // namespace

std::string Difference::Text() const {
  return place + ": " + before + " -> " + after;
}

std::vector<Difference> CompareSystems(const SystemConfig& before, const SystemConfig& after) {
  std::vector<Difference> out;
  const Collector root(out);
  CompareSystemSettings(root.Under(UiText("ConfigDiff", "System")), before, after);
  for (int m = 0; m < MachineCount; ++m) {
    const Collector machine = root.Under(Numbered(UiText("ConfigDiff", "Machine %1"), m + 1));
    machine.Flag(UiText("ConfigDiff", "Enabled"), before.MachineEnabled[m], after.MachineEnabled[m]);
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
      loaded.error =
          Substitute(UiText("ConfigDiff", "%1: not a controller image (%2 bytes, not %3)"),
                     {path.string(), std::to_string(bytes->size()), std::to_string(layout::ImageSize)});
      return loaded;
    }
    std::copy(bytes->begin(), bytes->end(), scratch.image.bytes.begin());
  }
  loaded.ok = SystemOfImage(scratch.image, loaded.system);
  if (!loaded.ok) loaded.error = path.string() + ": " + ParseImage(scratch).error;
  return loaded;
}

}  // namespace qd::review
