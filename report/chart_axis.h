#pragma once

#include "logs/consumption_log.h"

// Pure helpers of the chart's axes, apart from any painting so that they can be tested alone.
namespace qd::report {

// A value axis from 0 to Top() in `intervals` steps of `step`, a step of 1, 2 or 5 x 10^n.
struct NiceAxis {
  double step = 1;
  int intervals = 1;
  int decimals = 0;  // places a tick label needs: 0 for steps of 1 and more
  double Top() const { return step * intervals; }
  bool operator==(const NiceAxis&) const = default;
};

// The axis reaching `maxValue` with the coarsest 1/2/5 step that gives at most `maxIntervals` steps, none
// finer than 10^minExponent. Nothing to show (0, negative or not a number) gives an axis up to 1.
NiceAxis NiceScale(double maxValue, int maxIntervals, int minExponent);

// Every how many months the month axis has a label: 1, 2, 3, 4, 6, 12 or a number of whole years, the
// smallest for which labels `labelWidth` wide fit into slots `slotWidth` wide.
int MonthLabelStep(double slotWidth, double labelWidth);

// Whether `month` carries a label with labels every `step` months: the steps land on the same months
// of every year (quarters on January, April, July and October; whole years on January).
bool MonthLabelled(qd::logs::YearMonth month, int step);

// "Jan".."Dec", the English source texts (context "ConsumptionChart"); "?" for a month outside 1..12.
const char* MonthAbbreviation(int month);

}  // namespace qd::report
