#include "report/chart_axis.h"

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cmath>

namespace qd::report {
namespace {

constexpr std::array<int, 12> LabelSteps = {1, 2, 3, 4, 6, 12, 24, 60, 120, 240, 600, 1200};

// The source texts; the chart shows them translated (MonthLabel).
constexpr std::array<const char*, 12> MonthAbbreviations = {
    //: Month abbreviation on the chart's month axis
    QT_TRANSLATE_NOOP("ConsumptionChart", "Jan"), QT_TRANSLATE_NOOP("ConsumptionChart", "Feb"),
    QT_TRANSLATE_NOOP("ConsumptionChart", "Mar"), QT_TRANSLATE_NOOP("ConsumptionChart", "Apr"),
    //: Month abbreviation on the chart's month axis
    QT_TRANSLATE_NOOP("ConsumptionChart", "May"), QT_TRANSLATE_NOOP("ConsumptionChart", "Jun"),
    QT_TRANSLATE_NOOP("ConsumptionChart", "Jul"), QT_TRANSLATE_NOOP("ConsumptionChart", "Aug"),
    QT_TRANSLATE_NOOP("ConsumptionChart", "Sep"), QT_TRANSLATE_NOOP("ConsumptionChart", "Oct"),
    QT_TRANSLATE_NOOP("ConsumptionChart", "Nov"), QT_TRANSLATE_NOOP("ConsumptionChart", "Dec")};

// Rounding slack, so that 3 x 0.1 still counts as reaching 0.3.
constexpr double Slack = 1e-9;

NiceAxis AxisWithStep(double maxValue, int mantissa, int exponent) {
  NiceAxis axis;
  axis.step = mantissa * std::pow(10.0, exponent);
  axis.intervals = std::max(1, static_cast<int>(std::ceil(maxValue / axis.step - Slack)));
  axis.decimals = std::max(0, -exponent);
  return axis;
}

}  // namespace

NiceAxis NiceScale(double maxValue, int maxIntervals, int minExponent) {
  if (!(maxValue > 0) || !std::isfinite(maxValue)) maxValue = 1;
  maxIntervals = std::max(1, maxIntervals);
  const double raw = maxValue / maxIntervals;
  int exponent = std::max(minExponent, static_cast<int>(std::floor(std::log10(raw))));
  // Two decades always hold a step: 1, 2, 5 of the first and 1 of the next reach ten times the first.
  for (int tries = 0; tries < 2; ++tries, ++exponent) {
    for (const int mantissa : {1, 2, 5}) {
      const NiceAxis axis = AxisWithStep(maxValue, mantissa, exponent);
      if (axis.intervals <= maxIntervals) return axis;
    }
  }
  return AxisWithStep(maxValue, 1, exponent);
}

int MonthLabelStep(double slotWidth, double labelWidth) {
  for (const int step : LabelSteps) {
    if (step * slotWidth >= labelWidth) return step;
  }
  return LabelSteps.back();
}

bool MonthLabelled(qd::logs::YearMonth month, int step) {
  if (step <= 1) return true;
  return (month.year * 12 + month.month - 1) % step == 0;
}

const char* MonthAbbreviation(int month) {
  return month >= 1 && month <= 12 ? MonthAbbreviations[static_cast<std::size_t>(month - 1)] : "?";
}

}  // namespace qd::report
