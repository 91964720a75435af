#include "link/gateway_messages.h"

#include <algorithm>

#include "app/text.h"
#include "link/gateway_codec.h"

namespace qd::link {
namespace {

void AppendText(std::vector<std::uint8_t>& message, std::string_view text) {
  message.insert(message.end(), text.begin(), text.end());
  message.push_back(0x00);
}

}  // namespace

std::vector<std::uint8_t> LoginMessage(std::string_view user, std::string_view password) {
  std::vector<std::uint8_t> message = {gateway::RequestClass, gateway::LoginRequest};
  AppendText(message, user);
  AppendText(message, password);
  return message;
}

std::vector<std::uint8_t> ConnectMessage(std::string_view serial) {
  std::vector<std::uint8_t> message = {gateway::RequestClass, gateway::ConnectRequest};
  AppendText(message, serial);
  return message;
}

std::optional<TerminatedText> ReadTerminatedText(std::span<const std::uint8_t> message, std::size_t offset,
                                                 std::size_t maxLength) {
  if (offset >= message.size()) return std::nullopt;
  const std::size_t searched = std::min(message.size() - offset, maxLength + 1);
  const auto field = message.subspan(offset, searched);
  const auto zero = std::find(field.begin(), field.end(), std::uint8_t{0});
  if (zero == field.end()) return std::nullopt;
  const auto length = static_cast<std::size_t>(zero - field.begin());
  return TerminatedText{std::string_view(reinterpret_cast<const char*>(field.data()), length),
                        offset + length + 1};
}

std::optional<SystemEntry> DecodeSystemListEntry(std::span<const std::uint8_t> message) {
  const auto serial = ReadTerminatedText(message, gateway::HeaderSize, gateway::MaxListSerial);
  if (!serial) return std::nullopt;
  if (serial->text.empty()) return SystemEntry{};
  const auto name = ReadTerminatedText(message, serial->next, gateway::MaxListName);
  if (!name) return std::nullopt;
  const auto inUse = ReadTerminatedText(message, name->next, gateway::MaxListInUse);
  if (!inUse) return std::nullopt;
  const auto address = ReadTerminatedText(message, inUse->next, gateway::MaxListAddress);
  if (!address) return std::nullopt;
  return SystemEntry{std::string(serial->text), std::string(name->text), std::string(inUse->text),
                     std::string(address->text)};
}

std::optional<ConnectReply> DecodeConnectResult(std::span<const std::uint8_t> message) {
  constexpr std::size_t ResultOffset = gateway::HeaderSize;
  if (message.size() <= ResultOffset) return std::nullopt;
  ConnectReply reply;
  reply.result = message[ResultOffset];
  if (reply.result != ConnectReply::Accepted) return reply;
  const auto serial = ReadTerminatedText(message, ResultOffset + 1, gateway::MaxResultSerial);
  if (!serial) return reply;
  const auto access = ReadTerminatedText(message, serial->next, gateway::MaxResultAccess);
  if (!access) return reply;
  reply.wellFormed = true;
  reply.serial = serial->text;
  reply.access = access->text;
  return reply;
}

std::optional<std::string> DecodeSystemAddress(std::span<const std::uint8_t> message) {
  if (message.size() < gateway::HeaderSize) return std::nullopt;
  const auto text = message.subspan(gateway::HeaderSize);
  const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
  return std::string(text.begin(), end);
}

std::int32_t SerialNumberValue(std::string_view serial) {
  return WholeNumberOr(serial, -1);
}

bool SameSerial(std::string_view resultSerial, std::string_view selectedSerial) {
  const auto result = ParseWholeNumber(resultSerial);
  return result && *result == SerialNumberValue(selectedSerial);
}

}  // namespace qd::link
