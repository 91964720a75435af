#include "transport/pump_prices.h"

#include "transport/preferences_store.h"

namespace qd::transport {
namespace {

QString PriceKey(std::size_t pump) {
  return QStringLiteral("PumpPrice%1").arg(pump + 1);
}

}  // namespace

qd::logs::PumpPrices ReadPumpPrices(QSettings& store) {
  qd::logs::PumpPrices prices;
  for (std::size_t p = 0; p < prices.size(); ++p) {
    const QVariant value = store.value(PriceKey(p));
    if (value.typeId() != QMetaType::QString) continue;
    prices[p] = qd::logs::ParsePricePerLitre(value.toString().toStdString());
  }
  return prices;
}

bool WritePumpPrices(QSettings& store, const qd::logs::PumpPrices& prices) {
  if (!store.isWritable()) return false;
  for (std::size_t p = 0; p < prices.size(); ++p) {
    if (prices[p]) {
      store.setValue(PriceKey(p), QString::fromStdString(qd::logs::PriceText(*prices[p], '.')));
    } else {
      store.remove(PriceKey(p));
    }
  }
  store.sync();
  return store.status() == QSettings::NoError;
}

qd::logs::PumpPrices StoredPumpPrices() {
  const std::unique_ptr<QSettings> store = OpenPreferences();
  return ReadPumpPrices(*store);
}

}  // namespace qd::transport
