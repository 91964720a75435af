#include "app/text.h"

#include <gtest/gtest.h>

namespace qd {
namespace {

TEST(WholeNumber, AcceptsDecimalWithSignAndBlanksAround) {
  EXPECT_EQ(ParseWholeNumber("42"), 42);
  EXPECT_EQ(ParseWholeNumber("  -7 "), -7);
  EXPECT_EQ(ParseWholeNumber("+300"), 300);
  EXPECT_EQ(ParseWholeNumber("\t0012"), 12);
  EXPECT_EQ(ParseWholeNumber("2147483647"), 2147483647);
  EXPECT_EQ(ParseWholeNumber("-2147483648"), INT32_MIN);
}

TEST(WholeNumber, RejectsEverythingElse) {
  for (const char* text : {"", " ", "-", "+", "1 2", "12a", "0x1F", "$1F", "1.0", "1,0", "2147483648",
                           "-2147483649", "99999999999999999999", "- 1"}) {
    EXPECT_FALSE(ParseWholeNumber(text).has_value()) << '"' << text << '"';
  }
  EXPECT_EQ(WholeNumberOr("abc"), 0);
  EXPECT_EQ(WholeNumberOr("abc", 2), 2);
}

TEST(Amount, RoundsHalfUpToHundredthsWithEitherSeparator) {
  EXPECT_EQ(ParseAmountHundredths("1,005"), 101);
  EXPECT_EQ(ParseAmountHundredths("1.005"), 101);
  EXPECT_EQ(ParseAmountHundredths("1.004999"), 100);
  EXPECT_EQ(ParseAmountHundredths("100,000"), 10000);
  EXPECT_EQ(ParseAmountHundredths("0"), 0);
  EXPECT_EQ(ParseAmountHundredths(" 2.5 "), 250);
  EXPECT_EQ(ParseAmountHundredths(".5"), 50);
  EXPECT_EQ(ParseAmountHundredths("3."), 300);
  EXPECT_EQ(ParseAmountHundredths("0.004"), 0);
  EXPECT_EQ(ParseAmountHundredths("0.005"), 1);
  EXPECT_EQ(ParseAmountHundredths("655.35"), 65535);
}

TEST(Amount, KeepsTheLowSixteenBitsOfLargeAndNegativeAmounts) {
  EXPECT_EQ(ParseAmountHundredths("655.36"), 0);
  EXPECT_EQ(ParseAmountHundredths("1000"), 100000 % 65536);
  EXPECT_EQ(ParseAmountHundredths("1e3"), 100000 % 65536);
  EXPECT_EQ(ParseAmountHundredths("12345678901234567890"), 14856);  // (n x 100) mod 65536, exactly
  EXPECT_EQ(ParseAmountHundredths("-0.004"), 0);                    // -0.4 + 0.5 truncates to 0
  EXPECT_EQ(ParseAmountHundredths("-0.01"), 0);                     // -1 + 0.5 = -0.5 truncates to 0
  EXPECT_EQ(ParseAmountHundredths("-0.02"), 65535);                 // -2 + 0.5 = -1.5 truncates to -1
  EXPECT_EQ(ParseAmountHundredths("-1,5"), 65536 - 149);            // -150 + 0.5 truncates to -149
}

TEST(Amount, RejectsTextThatIsNoNumber) {
  for (const char* text : {"", "abc", "1,0,0", "1.2.3", "1e", "e5", ",", "1 0", "--1", "1e99999"}) {
    EXPECT_FALSE(ParseAmountHundredths(text).has_value()) << '"' << text << '"';
  }
}

TEST(Amount, ShowsTwoDecimalsWithTheGivenSeparator) {
  EXPECT_EQ(FormatHundredths(101, ','), "1,01");
  EXPECT_EQ(FormatHundredths(0, '.'), "0.00");
  EXPECT_EQ(FormatHundredths(65535, '.'), "655.35");
}

TEST(TextHelpers, FormatAndCaseInsensitiveCompare) {
  EXPECT_EQ(Format("%s=%03d", "x", 7), "x=007");
  EXPECT_EQ(Format("%s", ""), "");
  EXPECT_TRUE(EqualsIgnoringCase("pump, HIGH volume", "Pump, high volume"));
  EXPECT_FALSE(EqualsIgnoringCase("Pump", "Pump "));
  EXPECT_FALSE(EqualsIgnoringCase("\xC4", "\xE4"));  // only ASCII letters fold
}

}  // namespace
}  // namespace qd

namespace qd {
namespace {

TEST(TerminalText, ControlCharactersCannotReachTheTerminal) {
  EXPECT_EQ(TerminalText("Laundry \x1b]0;owned\x07 \x1b[2J"), "Laundry ?]0;owned? ?[2J");
  EXPECT_EQ(TerminalText("a\rb\nc\td\x7f"), "a?b?c?d?");
  EXPECT_EQ(TerminalText("line 1\nline 2\r", true), "line 1\nline 2?");
  EXPECT_EQ(TerminalText("Caf\xe9 & <b>"), "Caf\xe9 & <b>") << "printable bytes stay";
}

}  // namespace
}  // namespace qd
