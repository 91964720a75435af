#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qd::xml {

// Writes a document in the readable layout: the declaration, every element on a line of its own,
// two blanks per level below the root, CR LF line ends. An element with a value and no children is
// one line; one with neither is an empty-element tag. Values are escaped with Escape().
class Writer {
 public:
  Writer();

  // Starts an element that gets child elements; End() closes it.
  void Begin(std::string_view name, std::string_view attribute = {}, std::string_view attributeValue = {});
  void End();

  void Text(std::string_view name, std::string_view value);
  void Bool(std::string_view name, bool value) { Text(name, value ? "True" : "False"); }
  void Int(std::string_view name, long long value) { Text(name, std::to_string(value)); }
  void BinHex(std::string_view name, std::span<const std::uint8_t> data);

  // The document so far; every Begin must have been ended.
  const std::string& Document() const { return out_; }

 private:
  void Indent();

  std::string out_;
  std::vector<std::string> open_;
};

// A text or attribute value as markup: the five named escapes, and a character reference (&#13;) for
// every byte below 32, so that end-of-line and attribute normalisation leave CR, LF and TAB alone and no
// control character stands in the file literally. Bytes from 127 up stay as they are (windows-1252).
// A text ends at its first zero byte.
std::string Escape(std::string_view text);

// First character T/Y is true, F/N is false, in either case; anything else is no boolean.
std::optional<bool> ParseBool(std::string_view value);

// `size` bytes from BinHex digits; characters below 32 are ignored and extra digits too.
// No value when fewer digits remain or one of them is not hexadecimal.
std::optional<std::vector<std::uint8_t>> DecodeBinHex(std::string_view value, std::size_t size);
std::string EncodeBinHex(std::span<const std::uint8_t> data);

}  // namespace qd::xml
