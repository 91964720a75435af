#pragma once

#include <QWidget>
#include <utility>
#include <vector>

#include "logs/consumption_series.h"
#include "report/consumption_chart_layout.h"
#include "report/consumption_chart_series.h"

class QRadioButton;

namespace qd::gui {

// The monthly consumption chart on screen: stacked bars of each month of a selection, painted on white
// by the same code as the printed report. A tool tip on a bar lists its month's values.
class ConsumptionChart : public QWidget {
  Q_OBJECT

 public:
  explicit ConsumptionChart(QWidget* parent = nullptr);

  void SetMonths(std::vector<qd::logs::MonthTotals> months);
  const std::vector<qd::logs::MonthTotals>& Months() const { return months_; }
  void SetMode(qd::report::ChartMode mode);
  qd::report::ChartMode Mode() const { return mode_; }

  // Where the parts go at the widget's present size.
  qd::report::ConsumptionChartLayout Layout() const;
  // The month and its values for a point over its bar's slot; empty elsewhere.
  QString ToolTipAt(const QPointF& position) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  std::vector<qd::logs::MonthTotals> months_;
  qd::report::ChartMode mode_ = qd::report::ChartMode::PumpVolumes;
};

// The chart with its switch above it: the radio buttons "Volume per pump" (VolumeModeButton) and
// "Washes per program" (WashesModeButton). The log window places this panel and feeds it the months.
class ConsumptionChartPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ConsumptionChartPanel(QWidget* parent = nullptr);

  void SetMonths(std::vector<qd::logs::MonthTotals> months) { chart_->SetMonths(std::move(months)); }
  ConsumptionChart& Chart() { return *chart_; }
  // Checks the button of `mode` and shows it.
  void SetMode(qd::report::ChartMode mode);

 private:
  ConsumptionChart* chart_ = nullptr;
  QRadioButton* volumeButton_ = nullptr;
  QRadioButton* washesButton_ = nullptr;
};

}  // namespace qd::gui
