#include "model/xml_document.h"

namespace qd::xml {
namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Writer::Writer() {
  out_ = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n";
}

void Writer::Indent() {
  out_.append(2 * open_.size(), ' ');
}

void Writer::Begin(std::string_view name, std::string_view attribute, std::string_view attributeValue) {
  Indent();
  out_ += '<';
  out_ += name;
  if (!attribute.empty()) {
    out_ += ' ';
    out_ += attribute;
    out_ += "=\"";
    out_ += Escape(attributeValue);
    out_ += '"';
  }
  out_ += ">\r\n";
  open_.emplace_back(name);
}

void Writer::End() {
  const std::string name = std::move(open_.back());
  open_.pop_back();
  Indent();
  out_ += "</" + name + ">\r\n";
}

void Writer::Text(std::string_view name, std::string_view value) {
  const std::string escaped = Escape(value);
  Indent();
  out_ += '<';
  out_ += name;
  if (escaped.empty()) {
    out_ += "/>\r\n";
    return;
  }
  out_ += '>';
  out_ += escaped;
  out_ += "</";
  out_ += name;
  out_ += ">\r\n";
}

void Writer::BinHex(std::string_view name, std::span<const std::uint8_t> data) {
  Text(name, EncodeBinHex(data));
}

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) break;
    if (byte < 32) {
      out += "&#";
      out += std::to_string(byte);
      out += ';';
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::optional<bool> ParseBool(std::string_view value) {
  if (value.empty()) return std::nullopt;
  switch (value.front()) {
    case 'T':
    case 't':
    case 'Y':
    case 'y':
      return true;
    case 'F':
    case 'f':
    case 'N':
    case 'n':
      return false;
    default:
      return std::nullopt;
  }
}

std::optional<std::vector<std::uint8_t>> DecodeBinHex(std::string_view value, std::size_t size) {
  std::string digits;
  digits.reserve(2 * size);
  for (char c : value) {
    if (static_cast<unsigned char>(c) >= 32) digits += c;
    if (digits.size() == 2 * size) break;
  }
  if (digits.size() < 2 * size) return std::nullopt;
  std::vector<std::uint8_t> data(size);
  for (std::size_t i = 0; i < size; ++i) {
    const int high = HexValue(digits[2 * i]);
    const int low = HexValue(digits[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    data[i] = static_cast<std::uint8_t>(high << 4 | low);
  }
  return data;
}

std::string EncodeBinHex(std::span<const std::uint8_t> data) {
  std::string out;
  out.reserve(2 * data.size());
  for (std::uint8_t byte : data) {
    out += HexDigits[byte >> 4];
    out += HexDigits[byte & 0x0F];
  }
  return out;
}

}  // namespace qd::xml
