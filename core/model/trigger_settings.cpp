#include "model/trigger_settings.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "app/bytes.h"
#include "app/text.h"
#include "app/translation.h"

namespace qd {

void TriggerSettings::Reset() {
  bytes.fill(0);
  bytes[TypeOffset] = 1;
  bytes[AdjustLowOffset] = 25;
  bytes[AdjustHighOffset] = 25;
  bytes[MaxWeightOffset] = 14;
}

void TriggerSettings::ClearArea() {
  std::fill(bytes.begin() + AreaOffset, bytes.end(), 0);
}

int TriggerSettings::ElectroluxEntry(int n) const {
  if (n < 1 || n > trigger::ElectroluxEntries) return 0;
  const std::uint8_t b = bytes[AreaOffset + n / 2];
  return (n % 2 == 1) ? (b >> 4) : (b & 0x0F);
}

void TriggerSettings::SetElectroluxEntry(int n, int program) {
  if (n < 1 || n > trigger::ElectroluxEntries) return;
  std::uint8_t& b = bytes[AreaOffset + n / 2];
  const auto nibble = static_cast<std::uint8_t>(program & 0x0F);
  if (n % 2 == 1) {
    b = static_cast<std::uint8_t>((b & 0x0F) | (nibble << 4));
  } else {
    b = static_cast<std::uint8_t>((b & 0xF0) | nibble);
  }
}

std::uint32_t TriggerSettings::MachineSerialNumber() const {
  return bytes::GetU32BE(bytes, AreaOffset);
}
std::uint32_t TriggerSettings::MachineID() const {
  return bytes::GetU32BE(bytes, AreaOffset + 4);
}
void TriggerSettings::SetMachineSerialNumber(std::uint32_t value) {
  bytes::PutU32BE(bytes, AreaOffset, value);
}
void TriggerSettings::SetMachineID(std::uint32_t value) {
  bytes::PutU32BE(bytes, AreaOffset + 4, value);
}

std::string TriggerSettings::FieldText(int offset, int width) const {
  std::string text;
  for (int i = 0; i < width && bytes.at(offset + i) != 0; ++i)
    text += static_cast<char>(bytes[offset + i]);
  return text;
}

void TriggerSettings::SetFieldText(int offset, int width, std::string_view text) {
  for (int i = 0; i < width; ++i) {
    bytes.at(offset + i) = i < static_cast<int>(text.size()) ? static_cast<std::uint8_t>(text[i]) : 0;
  }
}

void TriggerSettings::ChangeType(int code) {
  if (code == Type()) return;
  ClearArea();
  SetType(code);
  if (code == trigger::TypeMieleLogic) {
    for (const auto& field : trigger::MieleFields)
      SetFieldText(field.offset, field.width, field.defaultText);
  }
}

std::array<int, TriggerSettings::LockInputSlots> TriggerSettings::LockInputs() const {
  std::array<int, LockInputSlots> inputs{};
  std::size_t slot = 0;
  for (int input = 1; input <= InputCount && slot < inputs.size(); ++input) {
    if ((bytes[LockInputMaskOffset] & (1 << (input - 1))) != 0) inputs[slot++] = input;
  }
  return inputs;
}

void TriggerSettings::SetLockInputs(std::span<const int> inputs) {
  std::uint8_t mask = 0;
  for (int input : inputs) {
    if (input >= 1 && input <= InputCount) mask = static_cast<std::uint8_t>(mask | (1 << (input - 1)));
  }
  bytes[LockInputMaskOffset] = mask;
}

int TriggerSettings::ResetEntry() const {
  const int input = ResetMachineInput();
  if (input == 0) return 0;
  if (input > InputCount) return -1;
  return ResetMachineFallingEdge() ? input + InputCount : input;
}

void TriggerSettings::SetResetEntry(int entry) {
  int input = 0;
  bool fallingEdge = false;
  if (entry >= 1 && entry <= InputCount) {
    input = entry;
  } else if (entry > InputCount && entry <= 2 * InputCount) {
    input = entry - InputCount;
    fallingEdge = true;
  }
  std::uint8_t& b = bytes[ResetOffset];
  b = static_cast<std::uint8_t>((b & ~(ResetInputMask | ResetFallingEdgeBit)) | input |
                                (fallingEdge ? ResetFallingEdgeBit : 0));
}

void TriggerSettings::SetSoftnerActive2(bool active) {
  std::uint8_t& b = bytes[ResetOffset];
  b = static_cast<std::uint8_t>(active ? (b | SoftnerActive2Bit) : (b & ~SoftnerActive2Bit));
}

namespace trigger {

std::string MaxWeightText(std::uint8_t halfKilograms) {
  return Format("%d,%d", halfKilograms / 2, (halfKilograms % 2 == 1) ? 5 : 0);
}

std::uint8_t MaxWeightOfText(std::string_view text) {
  const std::optional<DecimalText> number = ParseDecimalText(text);
  if (!number) return 0;
  // trunc(2 x |w|) = 2 x int(|w|) + (first fraction digit >= 5), kept modulo 256.
  const std::string& digits = number->digits;
  const int integerDigits = static_cast<int>(digits.size()) + number->exponent;
  unsigned integerPart = 0;
  for (int k = 0; k < integerDigits; ++k) {
    const unsigned digit = k < static_cast<int>(digits.size()) ? static_cast<unsigned>(digits[k] - '0') : 0;
    integerPart = (integerPart * 10 + digit) % 256;
  }
  const bool halfOrMore = integerDigits >= 0 && integerDigits < static_cast<int>(digits.size()) &&
                          digits[static_cast<std::size_t>(integerDigits)] >= '5';
  const unsigned halves = (2 * integerPart + (halfOrMore ? 1 : 0)) % 256;
  return static_cast<std::uint8_t>(number->negative ? (256 - halves) % 256 : halves);
}

std::string MachineNumberText(std::uint32_t value) {
  return std::to_string(static_cast<std::int32_t>(value));
}

std::uint32_t MachineNumberOfText(std::string_view text) {
  if (const auto whole = ParseWholeNumber(text)) return static_cast<std::uint32_t>(*whole);
  // A positive number beyond the signed range: digits only, at most 4294967295.
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.size() > 10) return 0;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value <= UINT32_MAX ? static_cast<std::uint32_t>(value) : 0;
}

std::string ModuleVersionText(int kind, std::uint8_t version) {
  std::string name;
  if (kind == ModuleKindQD520) name = "QD520";
  if (kind == ModuleKindQD740) name = "QD740";
  return Substitute(UiText("TriggerSettings", "%1, version: %2.%3"),
                    {name, std::to_string(version & 0x0F), std::to_string(version >> 4)});
}

int TypeCodeOfEntry(int entry) {
  if (entry >= 0 && entry <= 6) return entry;
  if (entry == 7) return TypeMieleEthernet;
  return -1;
}

int EntryOfTypeCode(int code) {
  if (code >= 0 && code <= 6) return code;
  if (code == TypeMieleEthernet) return 7;
  return -1;
}

std::string_view TypeName(int code) {
  const int entry = EntryOfTypeCode(code);
  return entry < 0 ? std::string_view{} : TypeNames[entry];
}

int TypeCodeFromName(std::string_view name) {
  for (int entry = 0; entry < static_cast<int>(TypeNames.size()); ++entry) {
    if (EqualsIgnoringCase(name, TypeNames[entry])) return TypeCodeOfEntry(entry);
  }
  return TypeNone;
}

}  // namespace trigger
}  // namespace qd
