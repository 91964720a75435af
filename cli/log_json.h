#pragma once

#include <QJsonObject>

#include "logs/consumption_costs.h"
#include "logs/consumption_log.h"
#include "model/controller_image.h"

// The documents of qdtool log --json.
namespace qdtool {

// The totals and costs of a selection of the consumption log, with the months the log holds.
QJsonObject ConsumptionJson(const qd::logs::MonthRecords& records,
                            const qd::logs::ConsumptionSelection& selection,
                            const qd::logs::PumpPrices& prices);
// The volumes, washes and costs of some totals, as the consumption document gives them.
QJsonObject TotalsJson(const qd::logs::ConsumptionTotals& totals, const qd::logs::ConsumptionCosts& costs);

// The alarm history, one entry per non-empty slot in stored order.
QJsonObject AlarmHistoryJson(const qd::ControllerImage& image);
// The alarms active now.
QJsonObject AlarmStateJson(const qd::ControllerImage& image);

}  // namespace qdtool
