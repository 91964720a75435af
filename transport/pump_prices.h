#pragma once

#include <QSettings>

#include "logs/consumption_costs.h"

namespace qd::transport {

// The price per litre of each pump, kept in the preferences (not in the system file) as the texts
// "PumpPrice1" .. "PumpPrice7" with '.' as decimal separator; a missing or unreadable value is no price.
qd::logs::PumpPrices ReadPumpPrices(QSettings& store);
// A pump without a price removes its value. False when the store cannot be written.
bool WritePumpPrices(QSettings& store, const qd::logs::PumpPrices& prices);

// The prices of the user's preference store.
qd::logs::PumpPrices StoredPumpPrices();

}  // namespace qd::transport
