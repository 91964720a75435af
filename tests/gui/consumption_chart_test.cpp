// The consumption chart widget and its painting: bars where the layout says, the empty chart, full
// counters, the mode switch, tool tips, and the same painting at 1200 dpi and into a PDF.

#include "gui/logs/consumption_chart.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <functional>

#include "report/consumption_chart_painter.h"

namespace qd::gui::test {
namespace {

using qd::logs::MonthTotals;
using qd::logs::YearMonth;
using qd::report::ChartMode;
using qd::report::ConsumptionChartLayout;

constexpr int kPump1 = 7;
constexpr int kProgram1 = 1;

// Fills the counters of machine `machine` (0..9) of a month record.
using CounterFill = std::function<void(int record, int machine, qd::logs::MachineCounters& counters)>;

// `count` consecutive months from `first` (at most 24, one record each), through the core's monthly sums.
std::vector<MonthTotals> Months(YearMonth first, int count, const CounterFill& fill) {
  qd::logs::MonthRecords records{};
  for (int r = 0; r < count; ++r) {
    const YearMonth month = qd::logs::MonthOfEntry(first, r);
    // Stored in a shuffled order, as in the controller's ring.
    qd::logs::MonthRecord& record = records[static_cast<std::size_t>((r * 7) % 24)];
    record.yearByte = month.year - 2000;
    record.month = month.month;
    for (int m = 0; m < qd::logs::LoggedMachines; ++m)
      fill(r, m, record.machines[static_cast<std::size_t>(m)]);
  }
  return qd::logs::MonthlyConsumption(records, {});
}

// Pump 1 of machine 1 gives (r + 1) x 200 counts (1 L) in month r; the rest stays empty.
std::vector<MonthTotals> Ramp(YearMonth first, int count) {
  return Months(first, count, [](int r, int m, qd::logs::MachineCounters& c) {
    if (m == 0) c[kPump1] = static_cast<std::uint16_t>((r + 1) * 200);
  });
}

bool IsSeriesColour(QRgb pixel) {
  for (int s = 0; s < qd::report::ChartSeriesCount; ++s) {
    if (qd::report::SeriesColour(s).rgb() == (pixel | 0xFF000000)) return true;
  }
  return false;
}

bool IsDark(QRgb pixel) {
  return qGray(pixel) < 100;
}

// The y of the top of the coloured bar in column x, scanning up from just above the month axis and over
// the thin lines between a stack's parts.
int MeasuredBarTop(const QImage& image, int x, const ConsumptionChartLayout& layout) {
  const int gap = static_cast<int>(std::ceil(layout.pen)) + 2;
  int y = static_cast<int>(std::floor(layout.plot.bottom() - layout.pen)) - 1;
  const auto colouredWithin = [&](int from) {
    for (int k = 0; k <= gap && from - k >= 0; ++k) {
      if (IsSeriesColour(image.pixel(x, from - k))) return true;
    }
    return false;
  };
  while (y >= 0 && colouredWithin(y))
    --y;
  return y + 1;
}

// Pixels inside `rect` for which `test` holds.
int CountPixels(const QImage& image, const QRectF& rect, const std::function<bool(QRgb)>& test) {
  const QRect pixels = rect.toAlignedRect().intersected(image.rect());
  int count = 0;
  for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
    for (int x = pixels.left(); x <= pixels.right(); ++x)
      count += test(image.pixel(x, y)) ? 1 : 0;
  }
  return count;
}

// Every bar's top on `image` is where the layout puts its month's total, within a pixel or two.
void CompareBarsWithLayout(const QImage& image, const ConsumptionChartLayout& layout,
                           const std::vector<MonthTotals>& months, ChartMode mode) {
  for (int i = 0; i < layout.months; ++i) {
    const double total = qd::report::MonthTotal(months[static_cast<std::size_t>(i)].totals, mode);
    const int x = static_cast<int>(layout.SlotCentre(i));
    if (total <= 0) {
      const QRectF column(x, layout.plot.top(), 1, layout.plot.height() - layout.pen - 1);
      QVERIFY2(CountPixels(image, column, IsSeriesColour) == 0,
               qPrintable(QStringLiteral("month %1").arg(i)));
      continue;
    }
    const int measured = MeasuredBarTop(image, x, layout);
    const double expected = layout.BarRect(i, 0, total).top();
    QVERIFY2(
        std::abs(measured - expected) <= 2.5,
        qPrintable(QStringLiteral("month %1: bar top %2, expected %3").arg(i).arg(measured).arg(expected)));
  }
}

QFont NinePoint() {
  QFont font;
  font.setPointSizeF(9);
  return font;
}

}  // namespace

class ConsumptionChartTest : public QObject {
  Q_OBJECT

 private slots:
  void emptyChartDrawsTheFrameAndTheMessage();
  void monthsWithoutRecordsShowTheMessageToo();
  void oneMonthGivesOneBar();
  void barsOfTwentyFourMonthsFollowTheirTotals();
  void fullCountersOnAllMachinesInBothModes();
  void theSwitchChangesModeAndRepaints();
  void toolTipsListTheMonthsValues();
  void paintsAt1200DpiAndIntoAPdf();
};

void ConsumptionChartTest::emptyChartDrawsTheFrameAndTheMessage() {
  ConsumptionChart chart;
  chart.resize(520, 240);
  QVERIFY(chart.Months().empty());
  const QImage image = chart.grab().toImage();
  const ConsumptionChartLayout layout = chart.Layout();
  QVERIFY(layout.Fits());

  // The value axis and the month axis.
  const QRectF leftEdge(layout.plot.left() - 1, layout.plot.top(), 3, layout.plot.height());
  QVERIFY(CountPixels(image, leftEdge, IsDark) >= layout.plot.height() * 0.9);
  const QRectF bottomEdge(layout.plot.left(), layout.plot.bottom() - 1, layout.plot.width(), 3);
  QVERIFY(CountPixels(image, bottomEdge, IsDark) >= layout.plot.width() * 0.9);
  // The message across the middle, no bars.
  const QRectF middle(layout.plot.left() + layout.plot.width() * 0.2, layout.plot.center().y() - layout.line,
                      layout.plot.width() * 0.6, 2 * layout.line);
  QVERIFY(CountPixels(image, middle, IsDark) > 50);
  const QRectF inside = layout.plot.adjusted(2, 2, -2, -2);
  QCOMPARE(CountPixels(image, inside, IsSeriesColour), 0);
}

void ConsumptionChartTest::monthsWithoutRecordsShowTheMessageToo() {
  // The selection lies between two records: its months are there, with nothing included.
  qd::logs::MonthRecords records{};
  records[0] = {25, 1, {}};
  records[1] = {25, 12, {}};
  records[0].machines[0][kPump1] = 400;
  records[1].machines[0][kPump1] = 400;
  const std::vector<MonthTotals> months = qd::logs::MonthlyConsumption(records, {{2025, 3}, {2025, 8}, 0});
  QCOMPARE(months.size(), 6u);

  ConsumptionChart chart;
  chart.resize(520, 240);
  chart.SetMonths(months);
  const QImage image = chart.grab().toImage();
  const ConsumptionChartLayout layout = chart.Layout();
  const QRectF middle(layout.plot.left() + layout.plot.width() * 0.2, layout.plot.center().y() - layout.line,
                      layout.plot.width() * 0.6, 2 * layout.line);
  QVERIFY(CountPixels(image, middle, IsDark) > 50);
  QCOMPARE(CountPixels(image, layout.plot.adjusted(2, 2, -2, -2), IsSeriesColour), 0);
}

void ConsumptionChartTest::oneMonthGivesOneBar() {
  ConsumptionChart chart;
  chart.resize(520, 240);
  const std::vector<MonthTotals> months = Ramp({2026, 3}, 1);
  chart.SetMonths(months);
  QCOMPARE(chart.Months(), months);
  const QImage image = chart.grab().toImage();
  const ConsumptionChartLayout layout = chart.Layout();
  QCOMPARE(layout.months, 1);
  CompareBarsWithLayout(image, layout, months, ChartMode::PumpVolumes);
  // One bar, in the middle, not a slab across the plot.
  const QRectF bar = layout.BarRect(0, 0, 1);
  QVERIFY(std::abs(bar.center().x() - layout.plot.center().x()) < 1);
  QVERIFY(bar.width() < layout.plot.width() / 3);
  QVERIFY(CountPixels(image, bar.adjusted(1, 1, -1, -1), IsSeriesColour) > 0);
  QCOMPARE(CountPixels(image,
                       QRectF(layout.plot.left() + 2, layout.plot.top(), bar.left() - layout.plot.left() - 4,
                              layout.plot.height() - 2),
                       IsSeriesColour),
           0);
}

void ConsumptionChartTest::barsOfTwentyFourMonthsFollowTheirTotals() {
  ConsumptionChart chart;
  chart.resize(520, 240);
  const std::vector<MonthTotals> months = Ramp({2024, 11}, 24);
  chart.SetMonths(months);
  const QImage image = chart.grab().toImage();
  const ConsumptionChartLayout layout = chart.Layout();
  QCOMPARE(layout.months, 24);
  CompareBarsWithLayout(image, layout, months, ChartMode::PumpVolumes);
  // The biggest month (the last) stands taller than a smaller one.
  QVERIFY(MeasuredBarTop(image, static_cast<int>(layout.SlotCentre(23)), layout) <
          MeasuredBarTop(image, static_cast<int>(layout.SlotCentre(5)), layout) - 20);
  // The labels were thinned out to fit.
  QVERIFY(layout.labelStep > 1);
}

void ConsumptionChartTest::fullCountersOnAllMachinesInBothModes() {
  const std::vector<MonthTotals> months =
      Months({2024, 1}, 24, [](int, int, qd::logs::MachineCounters& c) { c.fill(65535); });
  QCOMPARE(months.size(), 24u);
  ConsumptionChart chart;
  chart.resize(520, 240);
  chart.SetMonths(months);
  for (const ChartMode mode : {ChartMode::PumpVolumes, ChartMode::ProgramWashes}) {
    chart.SetMode(mode);
    const QImage image = chart.grab().toImage();
    const ConsumptionChartLayout layout = chart.Layout();
    QVERIFY(layout.Fits());
    QVERIFY(layout.axis.Top() >= qd::report::MonthTotal(months[0].totals, mode));
    CompareBarsWithLayout(image, layout, months, mode);
    // Every bar reaches within one step of the top of the axis.
    const double nearTop = layout.Y(layout.axis.Top() - layout.axis.step);
    for (int i = 0; i < 24; ++i)
      QVERIFY(MeasuredBarTop(image, static_cast<int>(layout.SlotCentre(i)), layout) <= nearTop);
  }
}

void ConsumptionChartTest::theSwitchChangesModeAndRepaints() {
  // Month 1 has much volume and few washes, month 2 the other way round.
  const std::vector<MonthTotals> months =
      Months({2026, 1}, 2, [](int r, int m, qd::logs::MachineCounters& c) {
        if (m != 0) return;
        c[kPump1] = r == 0 ? 20000 : 2000;
        c[kProgram1] = r == 0 ? 10 : 100;
      });
  ConsumptionChartPanel panel;
  panel.resize(560, 300);
  panel.show();
  QVERIFY(QTest::qWaitForWindowExposed(&panel));
  ConsumptionChart& chart = panel.Chart();
  panel.SetMonths(months);
  auto* volume = panel.findChild<QRadioButton*>(QStringLiteral("VolumeModeButton"));
  auto* washes = panel.findChild<QRadioButton*>(QStringLiteral("WashesModeButton"));
  QVERIFY(volume && washes);
  QCOMPARE(volume->text(), QStringLiteral("Volume per pump"));
  QCOMPARE(washes->text(), QStringLiteral("Washes per program"));
  QVERIFY(volume->isChecked());
  QCOMPARE(chart.Mode(), ChartMode::PumpVolumes);

  const auto tops = [&chart] {
    const QImage image = chart.grab().toImage();
    const ConsumptionChartLayout layout = chart.Layout();
    return std::pair{MeasuredBarTop(image, static_cast<int>(layout.SlotCentre(0)), layout),
                     MeasuredBarTop(image, static_cast<int>(layout.SlotCentre(1)), layout)};
  };
  const auto [volumeFirst, volumeSecond] = tops();
  QVERIFY(volumeFirst < volumeSecond);

  QTest::mouseClick(washes, Qt::LeftButton);
  QCOMPARE(chart.Mode(), ChartMode::ProgramWashes);
  QVERIFY(!volume->isChecked());
  const auto [washesFirst, washesSecond] = tops();
  QVERIFY(washesFirst > washesSecond);

  QTest::mouseClick(volume, Qt::LeftButton);
  QCOMPARE(chart.Mode(), ChartMode::PumpVolumes);
  panel.SetMode(ChartMode::ProgramWashes);
  QVERIFY(washes->isChecked());
  QCOMPARE(chart.Mode(), ChartMode::ProgramWashes);
}

void ConsumptionChartTest::toolTipsListTheMonthsValues() {
  ConsumptionChart chart;
  chart.resize(520, 240);
  chart.setLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
  chart.SetMonths(Months({2025, 12}, 3, [](int r, int m, qd::logs::MachineCounters& c) {
    if (r == 1) c.fill(65535);
    if (r == 2 && m == 0) c[kPump1 + 6] = 1;
  }));
  const ConsumptionChartLayout layout = chart.Layout();
  const double y = layout.plot.center().y();

  const QString january = chart.ToolTipAt({layout.SlotCentre(1), y});
  QVERIFY2(january.startsWith(QStringLiteral("January 2026\n")), qPrintable(january));
  QVERIFY2(january.contains(QStringLiteral("Pump 1: 3,276.75 L")), qPrintable(january));
  QVERIFY2(january.contains(QStringLiteral("Total: 22,937.25 L")), qPrintable(january));
  QVERIFY(chart.ToolTipAt({layout.SlotCentre(2), y}).contains(QStringLiteral("Pump 7: 0.01 L")));

  chart.SetMode(ChartMode::ProgramWashes);
  const QString washes = chart.ToolTipAt({layout.SlotCentre(1), y});
  QVERIFY2(washes.contains(QStringLiteral("Program 6: 655,350")), qPrintable(washes));
  QVERIFY2(washes.contains(QStringLiteral("No program: 655,350")), qPrintable(washes));
  QVERIFY2(washes.contains(QStringLiteral("Total: 4,587,450")), qPrintable(washes));

  chart.setLocale(QLocale(QLocale::German, QLocale::Germany));
  chart.SetMode(ChartMode::PumpVolumes);
  QVERIFY(chart.ToolTipAt({layout.SlotCentre(1), y}).contains(QStringLiteral("Pump 1: 3.276,75 L")));
  // Nothing beside the bars.
  QVERIFY(chart.ToolTipAt(layout.legend.center()).isEmpty());
  QVERIFY(chart.ToolTipAt({layout.SlotCentre(1), layout.plot.bottom() + layout.line}).isEmpty());
}

void ConsumptionChartTest::paintsAt1200DpiAndIntoAPdf() {
  const std::vector<MonthTotals> months = Ramp({2025, 10}, 14);

  // 90 x 50 mm at 1200 dpi.
  QImage image(4252, 2362, QImage::Format_RGB32);
  image.setDotsPerMeterX(47244);
  image.setDotsPerMeterY(47244);
  image.fill(Qt::white);
  const QRectF area(0, 0, image.width(), image.height());
  ConsumptionChartLayout layout;
  {
    QPainter painter(&image);
    painter.setFont(NinePoint());
    qd::report::PaintConsumptionChart(painter, area, months, ChartMode::PumpVolumes, QLocale::c());
    layout = qd::report::LayOutConsumptionChart(QFontMetricsF(painter.font(), &image), area, months,
                                                ChartMode::PumpVolumes, QLocale::c());
  }
  QVERIFY2(layout.line > 100, qPrintable(QString::number(layout.line)));
  CompareBarsWithLayout(image, layout, months, ChartMode::PumpVolumes);
  // Axis lines thick enough to print: several dots.
  const int axisY = static_cast<int>(layout.plot.center().y());
  int axisWidth = 0;
  for (int x = static_cast<int>(layout.plot.left()) - 20; x < layout.plot.left() + 20; ++x)
    axisWidth += IsDark(image.pixel(x, axisY)) ? 1 : 0;
  QVERIFY2(axisWidth >= 5, qPrintable(QString::number(axisWidth)));

  const auto pdf = [](const std::vector<MonthTotals>& data) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    painter.setFont(NinePoint());
    const QRectF page(0, 0, writer.width(), writer.height() / 3.0);
    qd::report::PaintConsumptionChart(painter, page, data, ChartMode::ProgramWashes);
    painter.end();
    return buffer.data();
  };
  const QByteArray withBars = pdf(months);
  const QByteArray empty = pdf({});
  QVERIFY(withBars.startsWith("%PDF"));
  QVERIFY(empty.startsWith("%PDF"));
  QVERIFY(withBars.size() > empty.size());
}

}  // namespace qd::gui::test

QTEST_MAIN(qd::gui::test::ConsumptionChartTest)
#include "consumption_chart_test.moc"
