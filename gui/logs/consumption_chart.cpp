#include "gui/logs/consumption_chart.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QPainter>
#include <QRadioButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "gui/app/text_codec.h"
#include "report/consumption_chart_painter.h"

namespace qd::gui {
namespace {

using qd::report::ChartMode;

// Chart sizes in lines of the widget's font: about 520 x 240 pixels with a 9 pt font.
constexpr int HintWidthLines = 36;
constexpr int HintHeightLines = 16;
constexpr int MinimumWidthLines = 26;
constexpr int MinimumHeightLines = 11;

QString ValueText(double value, ChartMode mode, const QLocale& locale) {
  if (mode == ChartMode::PumpVolumes) return locale.toString(value, 'f', 2) + QStringLiteral(" L");
  return locale.toString(static_cast<qlonglong>(value));
}

// "March 2026", then one line per series and the total.
QString MonthText(const qd::logs::MonthTotals& month, ChartMode mode, const QLocale& locale) {
  QString text = qd::gui::FromCp1252(qd::logs::MonthEntryText(month.month)).remove(QLatin1Char(','));
  if (!month.totals.anyIncluded)
    return text + QStringLiteral("\n") +
           QCoreApplication::translate("ConsumptionChart", qd::report::NoChartDataText);
  const qd::report::SeriesValues values = qd::report::MonthSeries(month.totals, mode);
  for (int s = 0; s < qd::report::ChartSeriesCount; ++s) {
    //: A line of a bar's tool tip: the series (a pump or a program) and its value
    text += QStringLiteral("\n") + QCoreApplication::translate("qd::gui::ConsumptionChart", "%1: %2")
                                       .arg(qd::report::SeriesName(mode, s),
                                            ValueText(values[static_cast<std::size_t>(s)], mode, locale));
  }
  text +=
      QStringLiteral("\n") + QCoreApplication::translate("qd::gui::ConsumptionChart", "Total: %1")
                                 .arg(ValueText(qd::report::MonthTotal(month.totals, mode), mode, locale));
  return text;
}

}  // namespace

ConsumptionChart::ConsumptionChart(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ConsumptionChart"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ConsumptionChart::SetMonths(std::vector<qd::logs::MonthTotals> months) {
  months_ = std::move(months);
  update();
}

void ConsumptionChart::SetMode(ChartMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  update();
}

qd::report::ConsumptionChartLayout ConsumptionChart::Layout() const {
  return qd::report::LayOutConsumptionChart(QFontMetricsF(font(), this), QRectF(rect()), months_, mode_,
                                            locale());
}

QString ConsumptionChart::ToolTipAt(const QPointF& position) const {
  const qd::report::ConsumptionChartLayout layout = Layout();
  if (!layout.Fits() || position.y() < layout.plot.top() || position.y() > layout.plot.bottom()) return {};
  const int index = layout.SlotAt(position.x());
  if (index < 0) return {};
  return MonthText(months_[static_cast<std::size_t>(index)], mode_, locale());
}

QSize ConsumptionChart::sizeHint() const {
  const int line = fontMetrics().height();
  return {line * HintWidthLines, line * HintHeightLines};
}

QSize ConsumptionChart::minimumSizeHint() const {
  const int line = fontMetrics().height();
  return {line * MinimumWidthLines, line * MinimumHeightLines};
}

void ConsumptionChart::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  // White whatever the style: the chart looks as it does on paper.
  painter.fillRect(rect(), Qt::white);
  painter.setPen(Qt::black);
  qd::report::PaintConsumptionChart(painter, QRectF(rect()), months_, mode_, locale());
}

bool ConsumptionChart::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = ToolTipAt(help->pos());
    if (text.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  return QWidget::event(event);
}

ConsumptionChartPanel::ConsumptionChartPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ConsumptionChartPanel"));
  chart_ = new ConsumptionChart(this);
  volumeButton_ = new QRadioButton(tr("Volume per pump"), this);
  volumeButton_->setObjectName(QStringLiteral("VolumeModeButton"));
  washesButton_ = new QRadioButton(tr("Washes per program"), this);
  washesButton_->setObjectName(QStringLiteral("WashesModeButton"));
  auto* buttons = new QButtonGroup(this);
  buttons->addButton(volumeButton_);
  buttons->addButton(washesButton_);
  volumeButton_->setChecked(true);

  auto* switchRow = new QHBoxLayout;
  switchRow->addWidget(volumeButton_);
  switchRow->addWidget(washesButton_);
  switchRow->addStretch(1);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addLayout(switchRow);
  column->addWidget(chart_, 1);

  connect(volumeButton_, &QRadioButton::toggled, this,
          [this](bool on) { chart_->SetMode(on ? ChartMode::PumpVolumes : ChartMode::ProgramWashes); });
}

void ConsumptionChartPanel::SetMode(ChartMode mode) {
  (mode == ChartMode::PumpVolumes ? volumeButton_ : washesButton_)->setChecked(true);
  chart_->SetMode(mode);
}

}  // namespace qd::gui
