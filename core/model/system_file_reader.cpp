#include <optional>
#include <pugixml.hpp>
#include <stdexcept>
#include <vector>

#include "app/bytes.h"
#include "app/text.h"
#include "app/translation.h"
#include "model/instruction_set.h"
#include "model/system_file.h"
#include "model/system_file_names.h"
#include "model/xml_document.h"

namespace qd {
namespace {

// Ends the reading where it stands.
struct ReadFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The element children of a node in document order.
std::vector<pugi::xml_node> Elements(pugi::xml_node node) {
  std::vector<pugi::xml_node> children;
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_element) children.push_back(child);
  }
  return children;
}

// n when `name` is `prefix` followed by n written in decimal, first <= n <= last.
std::optional<int> IndexedName(std::string_view name, std::string_view prefix, int first, int last) {
  if (!name.starts_with(prefix)) return std::nullopt;
  const std::string_view digits = name.substr(prefix.size());
  for (int n = first; n <= last; ++n) {
    if (digits == std::to_string(n)) return n;
  }
  return std::nullopt;
}

bool IsScanSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// A hexadecimal number read the way scanf's %x reads it: leading white space, an optional sign and
// "0x", then as many digits as there are; too large a number saturates.
std::optional<std::uint64_t> ScanHex(std::string_view text, std::size_t pos) {
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  while (pos < text.size() && IsScanSpace(text[pos]))
    ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (pos + 2 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
      digit(text[pos + 2]) >= 0) {
    pos += 2;
  }
  if (pos >= text.size() || digit(text[pos]) < 0) return std::nullopt;
  std::uint64_t value = 0;
  bool saturated = false;
  for (; pos < text.size() && digit(text[pos]) >= 0; ++pos) {
    if (value > (UINT64_MAX >> 4)) saturated = true;
    value = (value << 4) | static_cast<std::uint64_t>(digit(text[pos]));
  }
  if (saturated) return UINT64_MAX;
  return negative ? (~value + 1) : value;
}

// Up to five numbers starting at characters 0, 3, 6, 9 and 12; their low bytes become b1, b2, ...
void ReadParameterBytes(std::string_view text, ProgramLine& line) {
  text = text.substr(0, 99);
  for (int i = 0; i < 5; ++i) {
    const std::size_t pos = 3 * static_cast<std::size_t>(i);
    if (pos >= text.size()) return;
    const auto value = ScanHex(text, pos);
    if (!value) return;
    line.Param(i + 1) = static_cast<std::uint8_t>(*value);
  }
}

class Reader {
 public:
  explicit Reader(WorkingConfig& config) : config_(config), system_(config.system) {}

  void ReadRoot(pugi::xml_node root) {
    for (pugi::xml_node child : Elements(root)) {
      const std::string_view name = child.name();
      const std::string path = name.data();
      if (name == "MainSetup")
        ReadMainSetup(child);
      else if (name == "Alarm")
        ReadAlarm(child, path);
      else if (name == "PCsettings")
        ReadPcSettings(child);
      else if (name == "MachineData")
        ReadMachineData(child, path);
      else if (name == "AlarmLog")
        ReadRegion(child, path, layout::AlarmLog, layout::AlarmLogSize);
      else if (name == "DataLog")
        ReadRegion(child, path, layout::ConsumptionLog, layout::ConsumptionLogSize);
    }
  }

 private:
  static std::string Text(pugi::xml_node node) { return node.child_value(); }

  static std::int32_t IntOr(pugi::xml_node node, std::int32_t fallback) {
    return WholeNumberOr(node.child_value(), fallback);
  }

  // A boolean that must be recognised.
  static bool RequiredBool(pugi::xml_node node, const std::string& path) {
    const auto value = xml::ParseBool(node.child_value());
    if (!value) {
      throw ReadFailure(
          Substitute(UiText("SystemFile", "%1: \"%2\" is not a boolean"), {path, node.child_value()}));
    }
    return *value;
  }

  static bool BoolOrFalse(pugi::xml_node node) { return xml::ParseBool(node.child_value()).value_or(false); }

  static std::string Child(const std::string& path, pugi::xml_node child) {
    return path + "/" + child.name();
  }

  void ReadMainSetup(pugi::xml_node node) {
    for (pugi::xml_node child : Elements(node)) {
      const std::string_view name = child.name();
      if (name == "SystemName")
        system_.SystemName = Text(child);
      else if (name == "VersionMajor")
        config_.image.bytes[layout::VersionMajor] = static_cast<std::uint8_t>(IntOr(child, 0));
      else if (name == "VersionMinor")
        config_.image.bytes[layout::VersionMinor] = static_cast<std::uint8_t>(IntOr(child, 0));
    }
  }

  void ReadPcSettings(pugi::xml_node node) {
    for (pugi::xml_node child : Elements(node)) {
      if (std::string_view(child.name()) == "DefaultInputFilter") system_.DefaultInputFilter = Text(child);
    }
  }

  void ReadAlarm(pugi::xml_node node, const std::string& path) {
    for (pugi::xml_node child : Elements(node)) {
      const std::string_view name = child.name();
      if (auto g = IndexedName(name, "Group", 0, AlarmGroupCount - 1)) {
        ReadAlarmGroup(child, Child(path, child), system_.AlarmGroups[*g]);
      } else if (auto r = IndexedName(name, "Recipient", 1, RecipientCount)) {
        system_.Recipients[*r - 1] = Text(child);
      } else if (name == "ActiveLevel") {
        ReadActiveLevel(child, Child(path, child));
      } else if (name == "AlarmOnAmount") {
        ReadAlarmOnAmount(child, Child(path, child));
      }
    }
  }

  void ReadAlarmGroup(pugi::xml_node node, const std::string& path, AlarmGroup& group) {
    for (pugi::xml_node child : Elements(node)) {
      std::string_view name = child.name();
      if (name == names::WaterPressureAlias) name = names::AlarmElements[static_cast<int>(Alarm::Water)];
      for (int kind = 0; kind < AlarmKinds; ++kind) {
        if (name == names::AlarmElements[kind]) group[kind] = RequiredBool(child, Child(path, child));
      }
    }
  }

  void ReadActiveLevel(pugi::xml_node node, const std::string& path) {
    for (pugi::xml_node child : Elements(node)) {
      const std::string_view name = child.name();
      if (name == "Common")
        system_.ActiveHighCommon = RequiredBool(child, Child(path, child));
      else if (name == "Extra")
        system_.ActiveHighExtra = RequiredBool(child, Child(path, child));
      else if (auto i = IndexedName(name, "Level", 1, PumpCount))
        system_.ActiveHighLevel[*i - 1] = RequiredBool(child, Child(path, child));
    }
  }

  void ReadAlarmOnAmount(pugi::xml_node node, const std::string& path) {
    for (pugi::xml_node child : Elements(node)) {
      const std::string_view name = child.name();
      if (name == "Enabled")
        system_.AlarmOnAmountEnabled = RequiredBool(child, Child(path, child));
      else if (auto p = IndexedName(name, "AlarmAmount", 1, SoapAmountPumps))
        system_.AlarmAmount[*p - 1] = Text(child);
      else if (auto u = IndexedName(name, "UsedAmount", 1, SoapAmountPumps))
        system_.UsedAmount[*u - 1] = Text(child);
    }
  }

  void ReadMachineData(pugi::xml_node node, const std::string& path) {
    for (pugi::xml_node child : Elements(node)) {
      if (auto m = IndexedName(child.name(), "Machine", 1, MachineCount))
        ReadMachine(child, Child(path, child), *m - 1);
    }
  }

  void ReadMachine(pugi::xml_node node, const std::string& path, int m) {
    MachineConfig& machine = system_.Machines[m];
    int programSlot = 0;
    for (pugi::xml_node child : Elements(node)) {
      const std::string_view name = child.name();
      if (name == "Enabled") {
        system_.MachineEnabled[m] = RequiredBool(child, Child(path, child));
      } else if (name == "DefaultProgram") {
        const std::int32_t index = IntOr(child, 0);
        machine.DefaultProgram = (index >= 0 && index <= ProgramCount) ? index : -1;
      } else if (name == "AllowNoProgram") {
        machine.AllowNoProgram = BoolOrFalse(child);
      } else if (name == "ShortFlushTime") {
        machine.ShortFlushTime = Text(child);
      } else if (name == "LongFlushTime") {
        machine.LongFlushTime = Text(child);
      } else if (name == "ProgramTimeout") {
        machine.ProgramTimeout = Text(child);
      } else if (name == "SoftnerPump") {
        machine.SoftnerPump = SoftnerPumpIndexOfText(Text(child));
      } else if (name == "Comment") {
        machine.Comment = Text(child);
      } else if (auto pump = IndexedName(name, "Calibration", 1, PumpCount)) {
        machine.Calibration[*pump - 1] = std::to_string(IntOr(child, 0));
      } else if (name == "Trigger") {
        ReadTrigger(child, machine.Trigger);
      } else if (name == "Program") {
        if (programSlot < ProgramCount) ReadProgram(child, machine.Programs[programSlot]);
        ++programSlot;
      }
    }
  }

  void ReadTrigger(pugi::xml_node node, TriggerSettings& trigger) {
    auto& b = trigger.bytes;
    for (pugi::xml_node child : Elements(node)) {
      const std::string_view name = child.name();
      const auto low8 = [&] { return static_cast<std::uint8_t>(IntOr(child, 0)); };
      if (name == "Type") {
        trigger.SetType(trigger::TypeCodeFromName(Text(child)));
      } else if (name == "AdjustLow") {
        b[TriggerSettings::AdjustLowOffset] = low8();
      } else if (name == "AdjustHigh") {
        b[TriggerSettings::AdjustHighOffset] = low8();
      } else if (name == "MaxWeight") {
        b[TriggerSettings::MaxWeightOffset] = low8();
      } else if (name == "LockInputMask") {
        b[TriggerSettings::LockInputMaskOffset] = low8();
      } else if (name == "LockInputDelay") {
        b[TriggerSettings::LockInputDelayOffset] = low8();
      } else if (name == "ResetMachineInput") {
        std::uint8_t& reset = b[TriggerSettings::ResetOffset];
        reset = static_cast<std::uint8_t>((reset & ~TriggerSettings::ResetInputMask) |
                                          (low8() & TriggerSettings::ResetInputMask));
      } else if (name == "ResetMachineFallingEdge") {
        SetBit(b[TriggerSettings::ResetOffset], TriggerSettings::ResetFallingEdgeBit, BoolOrFalse(child));
      } else if (name == "ResetMachineDelay") {
        bytes::PutU16LE(b, TriggerSettings::ResetMachineDelayOffset,
                        static_cast<std::uint16_t>(IntOr(child, 0)));
      } else if (name == "MieleLogic") {
        ReadMieleLogic(child, trigger);
      } else if (name == "ElectroluxCompassPro") {
        ReadElectrolux(child, trigger);
      } else if (name == "MieleLogicEthernet") {
        ReadMieleEthernet(child, trigger);
      }
    }
  }

  static void SetBit(std::uint8_t& byte, std::uint8_t bit, bool on) {
    byte = static_cast<std::uint8_t>(on ? (byte | bit) : (byte & ~bit));
  }

  void ReadMieleLogic(pugi::xml_node node, TriggerSettings& trigger) {
    for (pugi::xml_node child : Elements(node)) {
      const std::string_view name = child.name();
      if (name == "SoftnerActive2") {
        SetBit(trigger.bytes[TriggerSettings::ResetOffset], TriggerSettings::SoftnerActive2Bit,
               BoolOrFalse(child));
        continue;
      }
      for (const auto& field : trigger::MieleFields) {
        if (name == field.element) trigger.SetFieldText(field.offset, field.width, Text(child));
      }
    }
  }

  void ReadElectrolux(pugi::xml_node node, TriggerSettings& trigger) {
    trigger.ClearArea();
    for (pugi::xml_node child : Elements(node)) {
      const auto n = IndexedName(child.name(), "ProgramMap", 1, names::ElectroluxFileEntries);
      if (!n) continue;
      // A value above 15 keeps its low four bits and never spills into the neighbouring entry.
      trigger.SetElectroluxEntry(*n, trigger.ElectroluxEntry(*n) | (IntOr(child, 0) & 0x0F));
    }
  }

  void ReadMieleEthernet(pugi::xml_node node, TriggerSettings& trigger) {
    trigger.ClearArea();
    for (pugi::xml_node child : Elements(node)) {
      const std::string_view name = child.name();
      const auto value = static_cast<std::uint32_t>(IntOr(child, 0));
      if (name == "MachineSerialNumber")
        trigger.SetMachineSerialNumber(value);
      else if (name == "MachineID")
        trigger.SetMachineID(value);
    }
  }

  void ReadProgram(pugi::xml_node node, DosingProgram& program) {
    int lineSlot = 0;
    for (pugi::xml_node child : Elements(node)) {
      const std::string_view name = child.name();
      if (name == "Name") {
        program.Name = Text(child);
      } else if (name == "Comment") {
        program.Comment = Text(child);
      } else if (name == "Active") {
        program.Active = BoolOrFalse(child);
      } else if (name == "Softner") {
        program.Softner = BoolOrFalse(child);
      } else if (name == "DefaultSoftner") {
        program.DefaultSoftner = BoolOrFalse(child);
      } else if (name == "DefaultLevel") {
        const std::int32_t level = IntOr(child, 2);
        program.DefaultLevel = (level >= 0 && level <= 3) ? level : 2;
      } else if (name == "L") {
        if (lineSlot < DosingProgram::LineCount) ReadLine(child, program.Lines[lineSlot]);
        ++lineSlot;
      }
    }
  }

  static int InstructionCodeOfName(std::string_view name) {
    for (int code = 0; code < static_cast<int>(InstructionNames.size()); ++code) {
      if (EqualsIgnoringCase(name, InstructionNames[code])) return code;
    }
    return 15;
  }

  void ReadLine(pugi::xml_node node, ProgramLine& line) {
    for (pugi::xml_node child : Elements(node)) {
      const std::string_view name = child.name();
      if (name == "I")
        line.SetInstruction(InstructionCodeOfName(child.child_value()));
      else if (name == "D")
        ReadParameterBytes(child.child_value(), line);
      else if (name == "C")
        line.comment = Text(child);
    }
  }

  void ReadRegion(pugi::xml_node node, const std::string& path, std::size_t at, std::size_t size) {
    const auto data = xml::DecodeBinHex(node.child_value(), size);
    if (!data) {
      throw ReadFailure(Substitute(UiText("SystemFile", "%1: fewer than %2 hexadecimal digits"),
                                   {path, std::to_string(2 * size)}));
    }
    std::copy(data->begin(), data->end(), config_.image.bytes.begin() + static_cast<std::ptrdiff_t>(at));
  }

  WorkingConfig& config_;
  SystemConfig& system_;
};

}  // namespace

FileResult ReadSystemFileText(WorkingConfig& config, std::string_view text) {
  FileResult result;
  pugi::xml_document document;
  // A character reference becomes the UTF-8 of its character: below 128 the byte itself, and pugixml
  // takes references to control characters that XML 1.0 leaves out (&#1;) as well. Literal CR and
  // CR LF inside a value read as LF.
  const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single;
  const pugi::xml_parse_result parsed =
      document.load_buffer(text.data(), text.size(), options, pugi::encoding_utf8);
  if (!parsed) {
    result.error = Substitute(UiText("SystemFile", "not a well-formed XML file at byte %1: %2"),
                              {std::to_string(static_cast<long long>(parsed.offset)), parsed.description()});
    return result;
  }
  const pugi::xml_node root = document.document_element();
  if (std::string_view(root.name()) != "QDsystem") {
    result.error = UiText("SystemFile", "the root element is not QDsystem");
    return result;
  }
  try {
    Reader(config).ReadRoot(root);
  } catch (const ReadFailure& failure) {
    result.error = failure.what();
    return result;
  }
  result.ok = true;
  return result;
}

FileResult ReadSystemFile(WorkingConfig& config, const std::filesystem::path& path) {
  constexpr std::uintmax_t MaxSystemFileBytes = std::uintmax_t{16} << 20;  // the largest system is ~200 KB
  std::string error;
  const auto text = ReadWholeFile(path, error, MaxSystemFileBytes);
  if (!text) return FileResult{false, error};
  return ReadSystemFileText(config, *text);
}

}  // namespace qd
