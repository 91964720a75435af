#include "model/trigger_settings.h"

#include <algorithm>
#include <span>

#include "app/bytes.h"
#include "app/text.h"

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

namespace trigger {

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
