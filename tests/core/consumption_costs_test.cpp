#include "logs/consumption_costs.h"

#include <gtest/gtest.h>

namespace qd::logs {
namespace {

TEST(PricePerLitre, TypedWithEitherSeparatorAndKeptToThreeDecimals) {
  EXPECT_EQ(ParsePricePerLitre("2.45"), 2450);
  EXPECT_EQ(ParsePricePerLitre(" 2,45 "), 2450);
  EXPECT_EQ(ParsePricePerLitre("0.875"), 875);
  EXPECT_EQ(ParsePricePerLitre("1.0005"), 1001);  // the fourth decimal rounds half up
  EXPECT_EQ(ParsePricePerLitre("1.0004"), 1000);
  EXPECT_EQ(ParsePricePerLitre("3"), 3000);
  EXPECT_EQ(ParsePricePerLitre("1e2"), 100000);
  EXPECT_EQ(ParsePricePerLitre("0"), 0);
  EXPECT_EQ(ParsePricePerLitre("-0"), 0);
}

TEST(PricePerLitre, RefusesWhatIsNoPrice) {
  for (const char* text : {"", "abc", "-1", "-0.01", "2.4.5", "1e6", "1000000", "12 EUR"})
    EXPECT_FALSE(ParsePricePerLitre(text).has_value()) << text;
  EXPECT_EQ(ParsePricePerLitre("999999.999"), 999'999'999);
}

TEST(PricePerLitre, TextReadsBackAsTheSamePrice) {
  EXPECT_EQ(PriceText(2450, '.'), "2.450");
  EXPECT_EQ(PriceText(875, ','), "0,875");
  for (std::int64_t price : {0, 1, 999, 1000, 123456789})
    EXPECT_EQ(ParsePricePerLitre(PriceText(price, ',')), price);
}

TEST(ConsumptionCostsOf, ExactPerPumpTotalAndPerWash) {
  ConsumptionTotals totals;
  totals.pumpCounts = {200, 3, 0, 1, 0, 0, 999};  // 1 L, 15 ml, -, 5 ml, -, -, 4.995 L
  totals.washTotal = 7;
  PumpPrices prices{};
  prices[0] = 2450;  // 1 L x 2.45 = 2.45
  prices[1] = 1000;  // 0.015 L x 1.00 = 0.015 -> 0.02 (half up)
  prices[3] = 999;   // 0.005 L x 0.999 = 0.004995 -> 0.00
  prices[6] = 3333;  // 4.995 L x 3.333 = 16.648335 -> 16.65
  const ConsumptionCosts costs = CostsOf(totals, prices);
  EXPECT_EQ(costs.pumps[0], 245);
  EXPECT_EQ(costs.pumps[1], 2);
  EXPECT_FALSE(costs.pumps[2].has_value());
  EXPECT_EQ(costs.pumps[3], 0);
  EXPECT_EQ(costs.pumps[6], 1665);
  EXPECT_EQ(costs.total, 245 + 2 + 0 + 1665);
  EXPECT_EQ(costs.perWash, (1912 * 2 + 7) / 14);  // 273.14... -> 273
  EXPECT_TRUE(costs.anyPrice);
}

TEST(ConsumptionCostsOf, NoPricesOrNoWashes) {
  ConsumptionTotals totals;
  totals.pumpCounts = {65535, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(CostsOf(totals, PumpPrices{}), ConsumptionCosts{});
  PumpPrices prices{};
  prices[0] = 999'999'999;  // the largest price with the largest sum of a selection does not overflow
  totals.pumpCounts[0] = 0xFFFFFFFFu;
  const ConsumptionCosts costs = CostsOf(totals, prices);
  EXPECT_EQ(costs.total, (2 * (std::int64_t{0xFFFFFFFF} * 999'999'999) + 2000) / 4000);
  EXPECT_FALSE(costs.perWash.has_value());
}

TEST(MoneyTextOf, GroupsAndSeparators) {
  EXPECT_EQ(MoneyText(0, {'.', ','}), "0.00");
  EXPECT_EQ(MoneyText(5, {'.', ','}), "0.05");
  EXPECT_EQ(MoneyText(123456789, {',', '.'}), "1.234.567,89");
  EXPECT_EQ(MoneyText(123456789, {'.', '\0'}), "1234567.89");
}

}  // namespace
}  // namespace qd::logs
