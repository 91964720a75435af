#include "transport/pump_prices.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "transport/preferences_store.h"

namespace qd::transport {
namespace {

class PumpPricesStore : public ::testing::Test {
 protected:
  QString File() const { return dir_.filePath(QStringLiteral("prefs.ini")); }

  QTemporaryDir dir_;
};

TEST_F(PumpPricesStore, WrittenPricesReadBackAndMissingOnesStayMissing) {
  qd::logs::PumpPrices prices{};
  prices[0] = 2450;
  prices[6] = 0;
  {
    QSettings store(File(), QSettings::IniFormat);
    store.setValue(QStringLiteral("PumpPrice4"), QStringLiteral("1.5"));  // removed by the write below
    ASSERT_TRUE(WritePumpPrices(store, prices));
  }
  QSettings store(File(), QSettings::IniFormat);
  EXPECT_EQ(store.value(QStringLiteral("PumpPrice1")).toString(), QStringLiteral("2.450"));
  EXPECT_FALSE(store.contains(QStringLiteral("PumpPrice4")));
  EXPECT_EQ(ReadPumpPrices(store), prices);
}

TEST_F(PumpPricesStore, UnreadableValuesAreNoPrice) {
  QSettings store(File(), QSettings::IniFormat);
  store.setValue(QStringLiteral("PumpPrice1"), QStringLiteral("cheap"));
  store.setValue(QStringLiteral("PumpPrice2"), QStringLiteral("-1"));
  store.setValue(QStringLiteral("PumpPrice3"), QStringList{QStringLiteral("1"), QStringLiteral("2")});
  store.setValue(QStringLiteral("PumpPrice5"), QStringLiteral("3,25"));
  const qd::logs::PumpPrices read = ReadPumpPrices(store);
  EXPECT_FALSE(read[0] || read[1] || read[2] || read[3]);
  EXPECT_EQ(read[4], 3250);
}

TEST_F(PumpPricesStore, StoredPricesComeFromTheFileTheVariableNames) {
  {
    QSettings store(File(), QSettings::IniFormat);
    store.setValue(QStringLiteral("PumpPrice2"), QStringLiteral("0.875"));
  }
  qputenv(PreferencesFileVariable, File().toLocal8Bit());
  const qd::logs::PumpPrices stored = StoredPumpPrices();
  qunsetenv(PreferencesFileVariable);
  EXPECT_EQ(stored[1], 875);
  EXPECT_FALSE(stored[0].has_value());
}

}  // namespace
}  // namespace qd::transport
