// The consumption chart's pure parts: the value axis, month labels, the layout on screen and on a
// 1200 dpi page, and the palette's grey levels.

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QTest>
#include <cmath>
#include <set>

#include "report/chart_axis.h"
#include "report/consumption_chart_layout.h"
#include "report/consumption_chart_series.h"

namespace qd::report::test {
namespace {

using qd::logs::MonthTotals;
using qd::logs::YearMonth;

// The mantissa of a step of 1, 2 or 5 x 10^n, or 0 for any other step.
int Mantissa(double step) {
  const double scaled = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  for (const int m : {1, 2, 5}) {
    if (std::abs(scaled - m) < 1e-6) return m;
  }
  return 0;
}

// `count` months from `first`, pump 1 of month k holding (k + 1) x 100 counts.
std::vector<MonthTotals> Ramp(YearMonth first, int count) {
  std::vector<MonthTotals> months;
  for (int k = 0; k < count; ++k) {
    MonthTotals month{qd::logs::MonthOfEntry(first, k), {}};
    qd::logs::MachineCounters counters{};
    counters[qd::logs::FirstPumpCounter] = static_cast<std::uint16_t>((k + 1) * 100);
    qd::logs::AddCounters(month.totals, qd::logs::Widened(counters));
    months.push_back(month);
  }
  return months;
}

QImage ImageAtDpi(int width, int height, int dpi) {
  QImage image(width, height, QImage::Format_RGB32);
  const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  return image;
}

QFont ChartFont() {
  QFont font;
  font.setPointSizeF(9);
  return font;
}

}  // namespace

class ConsumptionChartPartsTest : public QObject {
  Q_OBJECT

 private slots:
  void niceScaleExamples_data();
  void niceScaleExamples();
  void niceScaleIsTheCoarsestFittingStepForManyValues();
  void monthLabelStepIsTheSmallestThatFits();
  void monthLabelsLandOnTheSameMonthsEveryYear();
  void labelsDoNotOverlapInANarrowChart();
  void layoutOnA1200DpiPageHasTheScreensProportions();
  void layoutOfTinyAreasAndHugeSpansStaysSane();
  void paletteReadsInGreyscale();
  void seriesFollowTheMode();
};

void ConsumptionChartPartsTest::niceScaleExamples_data() {
  QTest::addColumn<double>("maxValue");
  QTest::addColumn<int>("maxIntervals");
  QTest::addColumn<int>("minExponent");
  QTest::addColumn<double>("step");
  QTest::addColumn<int>("intervals");
  QTest::addColumn<int>("decimals");
  QTest::newRow("exact fit") << 100.0 << 5 << 0 << 20.0 << 5 << 0;
  QTest::newRow("just over") << 101.0 << 5 << 0 << 50.0 << 3 << 0;
  QTest::newRow("whole washes only") << 3.0 << 10 << 0 << 1.0 << 3 << 0;
  QTest::newRow("nothing: washes") << 0.0 << 5 << 0 << 1.0 << 1 << 0;
  QTest::newRow("nothing: litres") << 0.0 << 5 << -3 << 0.2 << 5 << 1;
  QTest::newRow("one count of 5 ml") << 0.005 << 5 << -3 << 0.001 << 5 << 3;
  QTest::newRow("tenths") << 0.3 << 3 << -3 << 0.1 << 3 << 1;
  QTest::newRow("full counters, all machines") << 22937.25 << 6 << -3 << 5000.0 << 5 << 0;
  QTest::newRow("no room for ticks") << 1234.0 << 0 << 0 << 2000.0 << 1 << 0;
  QTest::newRow("not a number") << std::nan("") << 4 << 0 << 1.0 << 1 << 0;
  QTest::newRow("infinite") << HUGE_VAL << 4 << 0 << 1.0 << 1 << 0;
  QTest::newRow("negative") << -5.0 << 4 << 0 << 1.0 << 1 << 0;
}

void ConsumptionChartPartsTest::niceScaleExamples() {
  QFETCH(double, maxValue);
  QFETCH(int, maxIntervals);
  QFETCH(int, minExponent);
  QFETCH(double, step);
  QFETCH(int, intervals);
  QFETCH(int, decimals);
  const NiceAxis axis = NiceScale(maxValue, maxIntervals, minExponent);
  QVERIFY2(std::abs(axis.step - step) < step * 1e-9, qPrintable(QString::number(axis.step)));
  QCOMPARE(axis.intervals, intervals);
  QCOMPARE(axis.decimals, decimals);
}

void ConsumptionChartPartsTest::niceScaleIsTheCoarsestFittingStepForManyValues() {
  for (double value = 0.004; value < 3e7; value *= 1.37) {
    for (const int maxIntervals : {1, 2, 3, 5, 8, 12}) {
      for (const int minExponent : {-3, 0}) {
        const NiceAxis axis = NiceScale(value, maxIntervals, minExponent);
        const QString what = QStringLiteral("value %1, %2 intervals").arg(value).arg(maxIntervals);
        QVERIFY2(Mantissa(axis.step) != 0, qPrintable(what));
        QVERIFY2(axis.step >= std::pow(10.0, minExponent) * (1 - 1e-9), qPrintable(what));
        QVERIFY2(axis.intervals >= 1 && axis.intervals <= maxIntervals, qPrintable(what));
        QVERIFY2(axis.Top() >= value * (1 - 1e-9), qPrintable(what));
        QVERIFY2(axis.Top() - axis.step < value, qPrintable(what));
        // The next finer 1/2/5 step would need more intervals than allowed (unless the floor stops it).
        const double finer = axis.step / (Mantissa(axis.step) == 2 ? 2 : 2.5);
        if (finer >= std::pow(10.0, minExponent) * (1 - 1e-9))
          QVERIFY2(std::ceil(value / finer - 1e-9) > maxIntervals, qPrintable(what));
      }
    }
  }
}

void ConsumptionChartPartsTest::monthLabelStepIsTheSmallestThatFits() {
  QCOMPARE(MonthLabelStep(100, 30), 1);
  QCOMPARE(MonthLabelStep(30, 30), 1);
  QCOMPARE(MonthLabelStep(20, 30), 2);
  QCOMPARE(MonthLabelStep(9, 30), 4);
  QCOMPARE(MonthLabelStep(6, 30), 6);
  QCOMPARE(MonthLabelStep(2, 30), 24);
  QCOMPARE(MonthLabelStep(0.3, 30), 120);
  QCOMPARE(MonthLabelStep(0.001, 30), 1200);
  QCOMPARE(MonthLabelStep(0, 30), 1200);
}

void ConsumptionChartPartsTest::monthLabelsLandOnTheSameMonthsEveryYear() {
  for (const int year : {2012, 2025, 2026}) {
    std::set<int> quarters;
    std::set<int> halves;
    int yearly = 0;
    for (int month = 1; month <= 12; ++month) {
      QVERIFY(MonthLabelled({year, month}, 1));
      if (MonthLabelled({year, month}, 3)) quarters.insert(month);
      if (MonthLabelled({year, month}, 6)) halves.insert(month);
      if (MonthLabelled({year, month}, 12)) yearly += month;
    }
    QCOMPARE(quarters, (std::set<int>{1, 4, 7, 10}));
    QCOMPARE(halves, (std::set<int>{1, 7}));
    QCOMPARE(yearly, 1);
  }
  QVERIFY(MonthLabelled({2026, 1}, 24));
  QVERIFY(!MonthLabelled({2025, 1}, 24));
  QVERIFY(MonthLabelled({2030, 1}, 60));
  QVERIFY(!MonthLabelled({2031, 1}, 60));
}

void ConsumptionChartPartsTest::labelsDoNotOverlapInANarrowChart() {
  const QImage image = ImageAtDpi(10, 10, 96);
  const QFontMetricsF metrics(ChartFont(), &image);
  double widest = metrics.horizontalAdvance(QStringLiteral("2026"));
  for (int m = 1; m <= 12; ++m)
    widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(MonthAbbreviation(m))));

  const std::vector<MonthTotals> months = Ramp({2024, 11}, 24);
  const ConsumptionChartLayout narrow =
      LayOutConsumptionChart(metrics, QRectF(0, 0, 300, 200), months, ChartMode::PumpVolumes, QLocale::c());
  QVERIFY(narrow.Fits());
  QVERIFY(narrow.labelStep > 1);
  QVERIFY(narrow.labelStep * narrow.slot >= widest);

  const ConsumptionChartLayout wide =
      LayOutConsumptionChart(metrics, QRectF(0, 0, 2400, 400), months, ChartMode::PumpVolumes, QLocale::c());
  QCOMPARE(wide.labelStep, 1);
}

void ConsumptionChartPartsTest::layoutOnA1200DpiPageHasTheScreensProportions() {
  // 170 x 80 mm, on a 96 dpi image and at 1200 dpi.
  const std::vector<MonthTotals> months = Ramp({2025, 10}, 14);
  const auto layOut = [&](int dpi) {
    const QImage device = ImageAtDpi(10, 10, dpi);
    const QRectF area(0, 0, 170 / 25.4 * dpi, 80 / 25.4 * dpi);
    return LayOutConsumptionChart(QFontMetricsF(ChartFont(), &device), area, months, ChartMode::PumpVolumes,
                                  QLocale::c());
  };
  const ConsumptionChartLayout screen = layOut(96);
  const ConsumptionChartLayout page = layOut(1200);
  QVERIFY(screen.Fits() && page.Fits());
  // Text 9 pt high is about 150 dots at 1200 dpi: sizes come from the device, not from pixels.
  QVERIFY2(page.line > 120, qPrintable(QString::number(page.line)));
  QCOMPARE(page.axis, screen.axis);
  QCOMPARE(page.labelStep, screen.labelStep);
  const auto share = [](const ConsumptionChartLayout& l) {
    return QRectF(l.plot.left() / l.area.width(), l.plot.top() / l.area.height(),
                  l.plot.width() / l.area.width(), l.plot.height() / l.area.height());
  };
  const QRectF a = share(screen);
  const QRectF b = share(page);
  for (const auto& [x, y] : {std::pair{a.left(), b.left()}, std::pair{a.top(), b.top()},
                             std::pair{a.width(), b.width()}, std::pair{a.height(), b.height()}})
    QVERIFY2(std::abs(x - y) < 0.03, qPrintable(QStringLiteral("%1 vs %2").arg(x).arg(y)));
  QVERIFY(page.pen > 5);
}

void ConsumptionChartPartsTest::layoutOfTinyAreasAndHugeSpansStaysSane() {
  const QImage image = ImageAtDpi(10, 10, 96);
  const QFontMetricsF metrics(ChartFont(), &image);
  const std::vector<MonthTotals> months = Ramp({2000, 1}, 1200);
  for (const QRectF& area : {QRectF(0, 0, 0, 0), QRectF(0, 0, 40, 20), QRectF(0, 0, -50, -50)}) {
    const ConsumptionChartLayout layout =
        LayOutConsumptionChart(metrics, area, months, ChartMode::PumpVolumes, QLocale::c());
    QVERIFY(!layout.Fits());
    QCOMPARE(layout.SlotAt(area.center().x()), -1);
  }
  const ConsumptionChartLayout all =
      LayOutConsumptionChart(metrics, QRectF(0, 0, 600, 300), months, ChartMode::PumpVolumes, QLocale::c());
  QVERIFY(all.Fits());
  QVERIFY(all.labelStep >= 60);
  QCOMPARE(all.SlotAt(all.plot.left()), 0);
  QCOMPARE(all.SlotAt(all.plot.right() - 1e-6), 1199);
  QCOMPARE(all.SlotAt(all.plot.right()), -1);
  QCOMPARE(all.SlotAt(all.plot.left() - 1), -1);
  // Values beyond the axis stay inside the plot.
  QCOMPARE(all.Y(all.axis.Top() * 5), all.plot.top());
  QCOMPARE(all.Y(-1), all.plot.bottom());
}

void ConsumptionChartPartsTest::paletteReadsInGreyscale() {
  std::vector<int> greys;
  std::set<QRgb> colours;
  for (int s = 0; s < ChartSeriesCount; ++s) {
    const QColor colour = SeriesColour(s);
    colours.insert(colour.rgb());
    greys.push_back(qGray(colour.rgb()));
    // Darker than paper, lighter than ink.
    QVERIFY2(greys.back() >= 30 && greys.back() <= 225, qPrintable(QString::number(s)));
  }
  QCOMPARE(colours.size(), std::size_t{ChartSeriesCount});
  for (int s = 0; s < ChartSeriesCount; ++s) {
    for (int t = s + 1; t < ChartSeriesCount; ++t) {
      const int apart = std::abs(greys[static_cast<std::size_t>(s)] - greys[static_cast<std::size_t>(t)]);
      // Neighbours in a stack differ clearly; any two still differ.
      QVERIFY2(apart >= (t == s + 1 ? 60 : 25), qPrintable(QStringLiteral("%1 and %2").arg(s).arg(t)));
    }
  }
}

void ConsumptionChartPartsTest::seriesFollowTheMode() {
  qd::logs::ConsumptionTotals totals;
  qd::logs::MachineCounters counters{};
  counters[qd::logs::NoProgramCounter] = 3;
  counters[qd::logs::FirstProgramCounter + 5] = 4;
  counters[qd::logs::FirstPumpCounter] = 65535;
  counters[qd::logs::FirstPumpCounter + 6] = 1;
  counters[qd::logs::SoftnerCounter] = 9;
  qd::logs::AddCounters(totals, qd::logs::Widened(counters));

  const SeriesValues litres = MonthSeries(totals, ChartMode::PumpVolumes);
  QCOMPARE(litres[0], 327.675);
  QCOMPARE(litres[6], 0.005);
  QCOMPARE(MonthTotal(totals, ChartMode::PumpVolumes), 327.68);
  const SeriesValues washes = MonthSeries(totals, ChartMode::ProgramWashes);
  QCOMPARE(washes[5], 4.0);
  QCOMPARE(washes[6], 3.0);
  QCOMPARE(MonthTotal(totals, ChartMode::ProgramWashes), 7.0);

  QCOMPARE(SeriesName(ChartMode::PumpVolumes, 0), QStringLiteral("Pump 1"));
  QCOMPARE(SeriesName(ChartMode::PumpVolumes, 6), QStringLiteral("Pump 7"));
  QCOMPARE(SeriesName(ChartMode::ProgramWashes, 5), QStringLiteral("Program 6"));
  QCOMPARE(SeriesName(ChartMode::ProgramWashes, 6), QStringLiteral("No program"));
  QCOMPARE(UnitText(ChartMode::PumpVolumes), QStringLiteral("L"));
  QCOMPARE(UnitText(ChartMode::ProgramWashes), QStringLiteral("Washes"));
}

}  // namespace qd::report::test

QTEST_MAIN(qd::report::test::ConsumptionChartPartsTest)
#include "consumption_chart_parts_test.moc"
