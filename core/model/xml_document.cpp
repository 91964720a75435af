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

Element& Element::AddText(std::string name, std::string value) {
  Element& child = AddChild(std::move(name));
  child.value_ = std::move(value);
  return child;
}

Element& Element::AddBinHex(std::string name, std::span<const std::uint8_t> data) {
  return AddText(std::move(name), EncodeBinHex(data));
}

std::string Element::Serialize() const {
  std::string out = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n";
  SerializeInto(out, 0);
  return out;
}

void Element::SerializeInto(std::string& out, int depth) const {
  const std::string indent(static_cast<std::size_t>(2 * depth), ' ');
  out += indent;
  out += '<';
  out += name_;
  for (const auto& [attribute, value] : attributes_) {
    out += ' ';
    out += attribute;
    out += "=\"";
    out += Escape(value);
    out += '"';
  }
  if (!children_.empty()) {
    out += ">\r\n";
    for (const Element& child : children_)
      child.SerializeInto(out, depth + 1);
    out += indent + "</" + name_ + ">\r\n";
  } else if (!value_.empty()) {
    out += '>';
    out += Escape(value_);
    out += "</" + name_ + ">\r\n";
  } else {
    out += "/>\r\n";
  }
}

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
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
