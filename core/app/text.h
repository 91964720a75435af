#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qd {

// The text without the blanks and tabs around it.
std::string_view TrimBlanks(std::string_view text);

// A whole number typed as text: blanks around, an optional sign, decimal digits, and a value that fits
// in 32 bits. Anything else is not a number.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

// The number typed, or `fallback` when the text is not a whole number.
std::int32_t WholeNumberOr(std::string_view text, std::int32_t fallback = 0);

// A decimal number as typed, exactly: |value| = digits x 10^exponent. Blanks around, an optional sign,
// ',' or '.' as the decimal separator and an optional exponent; nothing for other text or a number beyond
// what a PC could hold.
struct DecimalText {
  bool negative = false;
  std::string digits;  // at least one
  int exponent = 0;
};
std::optional<DecimalText> ParseDecimalText(std::string_view text);

// A litre amount typed as text, with ',' or '.' as decimal separator and an optional exponent,
// converted to hundredths as the controller stores it: the integer part of (amount + 0.005) x 100,
// truncated toward zero, low 16 bits. Exact decimal arithmetic on the typed digits.
std::optional<std::uint16_t> ParseAmountHundredths(std::string_view text);

// Hundredths shown as litres with two decimals ("0.00" format) and the given decimal separator.
std::string FormatHundredths(std::uint16_t hundredths, char decimalSeparator);

// The text safe to print to a terminal: control characters (escape included) become '?', so that a text
// from a file or a gateway cannot move the cursor, recolour or retitle the terminal. Line feeds stay
// when `keepLineFeeds` is set, for messages that are ours to break.
std::string TerminalText(std::string_view text, bool keepLineFeeds = false);

// mingw's C++ library prints through its own C99 printf rather than the system's, so formats are
// checked against that one ("%zu" and "%lld" work there).
#ifdef __MINGW32__
#define QD_PRINTF_FORMAT gnu_printf
#else
#define QD_PRINTF_FORMAT printf
#endif

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(QD_PRINTF_FORMAT, 1, 2)));

// Case-insensitive comparison of ASCII letters; other bytes compare exactly.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace qd
