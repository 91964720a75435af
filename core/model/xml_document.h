#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qd::xml {

// An element of a document being written: name, attributes in order of addition, a text value and
// child elements in order. Children are always appended, never merged.
class Element {
 public:
  explicit Element(std::string name) : name_(std::move(name)) {}

  Element& AddChild(std::string name) { return children_.emplace_back(std::move(name)); }
  Element& AddText(std::string name, std::string value);
  Element& AddBool(std::string name, bool value) {
    return AddText(std::move(name), value ? "True" : "False");
  }
  Element& AddInt(std::string name, long long value) {
    return AddText(std::move(name), std::to_string(value));
  }
  Element& AddBinHex(std::string name, std::span<const std::uint8_t> data);
  void SetAttribute(std::string name, std::string value) {
    attributes_.emplace_back(std::move(name), std::move(value));
  }

  // Readable layout: declaration, two blanks per level below the root, CR LF line ends.
  std::string Serialize() const;

 private:
  void SerializeInto(std::string& out, int depth) const;

  std::string name_;
  std::vector<std::pair<std::string, std::string>> attributes_;
  std::string value_;
  std::deque<Element> children_;
};

// The five escapes of text and attribute values.
std::string Escape(std::string_view text);

// First character T/Y is true, F/N is false, in either case; anything else is no boolean.
std::optional<bool> ParseBool(std::string_view value);

// `size` bytes from BinHex digits; characters below 32 are ignored and extra digits too.
// No value when fewer digits remain or one of them is not hexadecimal.
std::optional<std::vector<std::uint8_t>> DecodeBinHex(std::string_view value, std::size_t size);
std::string EncodeBinHex(std::span<const std::uint8_t> data);

}  // namespace qd::xml
