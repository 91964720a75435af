#include "app/text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace qd {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Beyond this decimal exponent a number is no number a PC can hold.
constexpr int MaxAmountExponent = 4932;

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{1} << 31) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t WholeNumberOr(std::string_view text, std::int32_t fallback) {
  return ParseWholeNumber(text).value_or(fallback);
}

std::optional<DecimalText> ParseDecimalText(std::string_view text) {
  text = TrimBlanks(text);
  DecimalText number;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    number.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::size_t i = 0;
  while (i < text.size() && IsDigit(text[i]))
    number.digits += text[i++];
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      number.digits += text[i++];
      --number.exponent;
    }
  }
  if (number.digits.empty()) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    int typed = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      typed = typed * 10 + (text[i] - '0');
      if (typed > 10 * MaxAmountExponent) return std::nullopt;
    }
    number.exponent += negativeExponent ? -typed : typed;
  }
  if (i != text.size()) return std::nullopt;
  if (number.exponent + static_cast<int>(number.digits.size()) > MaxAmountExponent) return std::nullopt;
  return number;
}

std::optional<std::uint16_t> ParseAmountHundredths(std::string_view text) {
  const std::optional<DecimalText> number = ParseDecimalText(text);
  if (!number) return std::nullopt;
  const bool negative = number->negative;
  const std::string& digits = number->digits;
  const int exponent = number->exponent;

  // Split |amount| x 100 into its integer part (kept modulo 65536) and its first fractional digit.
  const int shift = exponent + 2;
  std::size_t integerDigits = digits.size();
  int trailingZeros = 0;
  char firstFraction = '0';
  if (shift >= 0) {
    trailingZeros = shift;
  } else if (static_cast<std::size_t>(-shift) >= digits.size()) {
    integerDigits = 0;
    if (static_cast<std::size_t>(-shift) == digits.size()) firstFraction = digits[0];
  } else {
    integerDigits = digits.size() - static_cast<std::size_t>(-shift);
    firstFraction = digits[integerDigits];
  }
  std::uint32_t integerPart = 0;
  bool integerIsZero = true;
  for (std::size_t k = 0; k < integerDigits; ++k) {
    integerPart = (integerPart * 10 + static_cast<std::uint32_t>(digits[k] - '0')) % 65536;
    if (digits[k] != '0') integerIsZero = false;
  }
  for (int k = 0; k < trailingZeros; ++k)
    integerPart = (integerPart * 10) % 65536;
  const bool halfOrMore = firstFraction >= '5';

  std::uint32_t magnitude;  // modulo 65536
  if (!negative) {
    magnitude = integerPart + (halfOrMore ? 1 : 0);
    return static_cast<std::uint16_t>(magnitude % 65536);
  }
  // -(|a| x 100 - 0.5), truncated toward zero.
  if (halfOrMore) {
    magnitude = integerPart;
  } else if (integerIsZero) {
    magnitude = 0;
  } else {
    magnitude = (integerPart + 65535) % 65536;
  }
  return static_cast<std::uint16_t>((65536 - magnitude) % 65536);
}

std::string FormatHundredths(std::uint16_t hundredths, char decimalSeparator) {
  return Format("%u%c%02u", hundredths / 100u, decimalSeparator, hundredths % 100u);
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string result;
  if (length > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    result.assign(buffer.data(), static_cast<std::size_t>(length));
  }
  va_end(args);
  return result;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string TerminalText(std::string_view text, bool keepLineFeeds) {
  std::string safe(text);
  for (char& c : safe) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 || byte == 0x7F) && !(keepLineFeeds && c == '\n')) c = '?';
  }
  return safe;
}

}  // namespace qd
