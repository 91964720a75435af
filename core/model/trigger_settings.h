#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qd {

// The 224-byte trigger block of one machine, in the controller's format.
//   0 type, 1 low adjust %, 2 high adjust %, 3 max weight (0.5 kg), 4..5 reserved,
//   6 module kind (low nibble), 7 module firmware (low nibble major, high nibble minor),
//   8 lock input mask, 9 lock delay, 10 reset input (bits 0..2) / falling edge (bit 3) / softener 2 (bit 4),
//   11..12 reset delay, 13..15 reserved, 16..223 type-specific area
struct TriggerSettings {
  static constexpr int Size = 224;
  static constexpr int TypeOffset = 0;
  static constexpr int AdjustLowOffset = 1;
  static constexpr int AdjustHighOffset = 2;
  static constexpr int MaxWeightOffset = 3;
  static constexpr int ModuleKindOffset = 6;
  static constexpr int ModuleVersionOffset = 7;
  static constexpr int LockInputMaskOffset = 8;
  static constexpr int LockInputDelayOffset = 9;
  static constexpr int ResetOffset = 10;
  static constexpr int ResetMachineDelayOffset = 11;
  static constexpr int AreaOffset = 16;
  static constexpr int AreaSize = Size - AreaOffset;
  static constexpr int LockInputSlots = 3;
  static constexpr int InputCount = 6;

  static constexpr std::uint8_t ResetInputMask = 0x07;
  static constexpr std::uint8_t ResetFallingEdgeBit = 0x08;
  static constexpr std::uint8_t SoftnerActive2Bit = 0x10;

  std::array<std::uint8_t, Size> bytes{};

  TriggerSettings() { Reset(); }

  // Zero, then type 1, adjustments 25 % and a maximum weight of 7.0 kg.
  void Reset();
  void ClearArea();

  int Type() const { return bytes[TypeOffset]; }
  void SetType(int code) { bytes[TypeOffset] = static_cast<std::uint8_t>(code); }

  std::uint16_t ResetMachineDelay() const {
    return static_cast<std::uint16_t>(bytes[ResetMachineDelayOffset] |
                                      (bytes[ResetMachineDelayOffset + 1] << 8));
  }

  // Electrolux map entry n (1..30): byte 16 + n / 2, high nibble for odd n.
  int ElectroluxEntry(int n) const;
  void SetElectroluxEntry(int n, int program);

  std::uint32_t MachineSerialNumber() const;
  std::uint32_t MachineID() const;
  void SetMachineSerialNumber(std::uint32_t value);
  void SetMachineID(std::uint32_t value);

  // A text field: its characters up to the first zero byte or its full width.
  std::string FieldText(int offset, int width) const;
  // The first `width` characters of `text`, the rest of the field zero.
  void SetFieldText(int offset, int width, std::string_view text);

  // Type change of the trigger window: clear the area, set the type, Miele Logic defaults for type 5.
  void ChangeType(int code);

  // The keyboard lock inputs as the trigger window's three lock lists hold them: the inputs 1..6 whose
  // bits are set, lowest first, at most three; 0 ("-") fills the rest.
  std::array<int, LockInputSlots> LockInputs() const;
  // Bit (input - 1) for each input 1..6 given; duplicates fold together, anything else sets no bit.
  void SetLockInputs(std::span<const int> inputs);

  int ResetMachineInput() const { return bytes[ResetOffset] & ResetInputMask; }
  bool ResetMachineFallingEdge() const { return (bytes[ResetOffset] & ResetFallingEdgeBit) != 0; }
  // The entry of the machine reset list: 0 "-", 1..6 "Input n", 7..12 "Input n, falling edge"; -1 for
  // an input number 7, which the list does not hold.
  int ResetEntry() const;
  // Entries 1..6 and 7..12 set the input and the falling edge; any other entry means no reset input.
  // The other bits of the byte stay.
  void SetResetEntry(int entry);

  bool SoftnerActive2() const { return (bytes[ResetOffset] & SoftnerActive2Bit) != 0; }
  void SetSoftnerActive2(bool active);

  // The trigger module last heard, as the machine window records it from the module's reports.
  int ModuleKind() const { return bytes[ModuleKindOffset] & 0x0F; }
  std::uint8_t ModuleVersion() const { return bytes[ModuleVersionOffset]; }

  bool operator==(const TriggerSettings&) const = default;
};

namespace trigger {

constexpr int TypeNone = 0;
constexpr int TypeQd520 = 1;
constexpr int TypeNortec = 2;
constexpr int TypeNyborgW3 = 3;
constexpr int TypeNyborgHs = 4;
constexpr int TypeMieleLogic = 5;
constexpr int TypeElectrolux = 6;
constexpr int TypeMieleEthernet = 10;
constexpr int ElectroluxEntries = 30;

// The type list: entries 0..6 are codes 0..6, entry 7 is code 10.
constexpr std::array<std::string_view, 8> TypeNames = {
    "Trigger - none",       "QD520, Standard",    "QD520, Nortec",          "QD740, Nyborg: W3xxH",
    "QD740, Nyborg: HSxxx", "QD740, Miele Logic", "QD310, Electrolux: 5xx", "Ethernet, Miele Logic"};

int TypeCodeOfEntry(int entry);  // -1 for no entry
int EntryOfTypeCode(int code);   // -1 when the code has no entry
// The type's entry text, or "" when the code has no entry.
std::string_view TypeName(int code);
// Code of a type text, without regard to case; 0 for a text not in the list.
int TypeCodeFromName(std::string_view name);

// The maximum weight in kilograms, "%d,%d" with one decimal (always a comma): 15 gives "7,5".
std::string MaxWeightText(std::uint8_t halfKilograms);
// A typed weight in kilograms, ',' or '.' as the decimal separator, blanks around and an optional
// exponent allowed: twice the weight truncated toward zero ("7,7" gives 15), low byte. Exact decimal
// arithmetic on the typed digits. Text that is no number gives 0.
std::uint8_t MaxWeightOfText(std::string_view text);

// An Ethernet machine serial number or machine ID shown as a signed 32-bit number.
std::string MachineNumberText(std::uint32_t value);
// A typed serial number or machine ID: a whole number from -2147483648 to 4294967295 as its 32-bit
// pattern (a serial number above 2147483647 may be typed as printed on the machine); anything else 0.
std::uint32_t MachineNumberOfText(std::string_view text);

constexpr int ModuleKindQD520 = 1;
constexpr int ModuleKindQD740 = 2;
// "QD520, version: 1.2": the module's name (none for an unknown kind), then the version byte's low
// nibble as major and high nibble as minor.
std::string ModuleVersionText(int kind, std::uint8_t version);

// A Miele Logic text field of the type-specific area.
struct MieleField {
  std::string_view element;  // system file element
  int offset;                // within the trigger block
  int width;
  std::string_view defaultText;
};

// In the order the system file writes them.
constexpr std::array<MieleField, 11> MieleFields = {{
    {"Header1", 16, 16, "Wash program"},
    {"Header2", 56, 16, "Fabric softner"},
    {"Header3", 96, 16, "Level"},
    {"Text11", 32, 8, "Prgm 1"},
    {"Text12", 40, 8, "Prgm 2"},
    {"Text13", 48, 8, "Prgm 3"},
    {"Text21", 72, 8, "Softner"},
    {"Text23", 88, 8, ""},
    {"Text31", 112, 8, "High"},
    {"Text32", 120, 8, "Mid"},
    {"Text33", 128, 8, "Low"},
}};

}  // namespace trigger
}  // namespace qd
