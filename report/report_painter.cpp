#include "report/report_painter.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QTextLayout>
#include <algorithm>
#include <numeric>
#include <variant>
#include <vector>

#include "report/consumption_chart_painter.h"

namespace qd::report {
namespace {

using qd::review::ReportBlock;
using qd::review::ReportChart;
using qd::review::ReportKeyValues;
using qd::review::ReportParagraph;
using qd::review::ReportSection;
using qd::review::ReportTable;

enum class FontRole { Body, Bold, Title, Chapter, Part, Small };

QFont FontOf(FontRole role) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  // Any letter spacing turns ligatures off: "fi" stays two letters for text search and extraction.
  font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
  const auto set = [&font](qreal points, bool bold) {
    font.setPointSizeF(points);
    font.setBold(bold);
  };
  switch (role) {
    case FontRole::Body:
      set(9, false);
      break;
    case FontRole::Bold:
      set(9, true);
      break;
    case FontRole::Title:
      set(16, true);
      break;
    case FontRole::Chapter:
      set(13, true);
      break;
    case FontRole::Part:
      set(10.5, true);
      break;
    case FontRole::Small:
      set(8, false);
      break;
  }
  return font;
}

Qt::Alignment AlignmentOf(qd::review::ColumnAlign align) {
  switch (align) {
    case qd::review::ColumnAlign::Right:
      return Qt::AlignRight;
    case qd::review::ColumnAlign::Centre:
      return Qt::AlignHCenter;
    case qd::review::ColumnAlign::Left:
      break;
  }
  return Qt::AlignLeft;
}

// Text wrapped to a width: at word boundaries, and inside a word only when it is wider than the line, so
// nothing is ever cut off.
class WrappedText {
 public:
  WrappedText(const QString& text, FontRole role, Qt::Alignment align, qreal width, QPaintDevice* device)
      : layout_(QString(text).replace(QLatin1Char('\n'), QChar::LineSeparator), FontOf(role), device) {
    QTextOption option(align);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout_.setTextOption(option);
    layout_.beginLayout();
    for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
      line.setLineWidth(std::max<qreal>(width, 1));
      line.setPosition(QPointF(0, height_));
      height_ += line.height();
    }
    layout_.endLayout();
  }
  qreal Height() const { return height_; }
  void Draw(QPainter& painter, QPointF at) const { layout_.draw(&painter, at); }

 private:
  QTextLayout layout_;
  qreal height_ = 0;
};

struct TextOp {
  QRectF rect;
  QString text;
  FontRole role = FontRole::Body;
  Qt::Alignment align = Qt::AlignLeft;
};
struct RuleOp {
  QLineF line;
  bool strong = false;
};
struct ShadeOp {
  QRectF rect;
};
struct ChartOp {
  QRectF rect;
  const std::vector<qd::logs::MonthTotals>* months = nullptr;
};
using DrawOp = std::variant<TextOp, RuleOp, ShadeOp, ChartOp>;
using Page = std::vector<DrawOp>;

QString Q(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A fact's label as it stands before its value.
QString FactLabel(const std::string& label) {
  //: A label before its value in the report, e.g. "Serial number:"
  return QCoreApplication::translate("ServiceReport", "%1:").arg(Q(label));
}

// Walks the report top to bottom, starting a page whenever the next piece does not fit.
class Layout {
 public:
  Layout(QPaintDevice* device, QSizeF page) : device_(device), page_(page) {
    const QFontMetricsF small(FontOf(FontRole::Small), device);
    bodyTop_ = small.height() + Mm(4);
    bodyBottom_ = page.height() - small.height() - Mm(4);
    NewPage();
  }

  std::vector<Page> Take(const qd::review::ServiceReport& report) {
    AddText(QCoreApplication::translate("ServiceReport", "Service report"), FontRole::Title, 0, page_.width(),
            Mm(2));
    for (const ReportSection& section : report.sections)
      AddSection(section);
    return std::move(pages_);
  }

 private:
  qreal Mm(qreal mm) const { return mm * device_->logicalDpiY() / 25.4; }
  qreal BodyHeight() const { return bodyBottom_ - bodyTop_; }
  qreal BlockSpacing() const { return Mm(2); }
  void NewPage() {
    pages_.emplace_back();
    y_ = bodyTop_;
  }
  // Starts a new page unless `height` fits below the cursor (or the page is still empty).
  void Reserve(qreal height) {
    if (y_ + height > bodyBottom_ && y_ > bodyTop_) NewPage();
  }
  qreal TextHeight(const QString& text, FontRole role, qreal width) const {
    return WrappedText(text, role, Qt::AlignLeft, width, device_).Height();
  }
  void AddText(const QString& text, FontRole role, qreal x, qreal width, qreal spaceAfter) {
    const qreal height = TextHeight(text, role, width);
    Reserve(height);
    pages_.back().push_back(TextOp{QRectF(x, y_, width, height), text, role, Qt::AlignLeft});
    y_ += height + spaceAfter;
  }

  void AddSection(const ReportSection& section) {
    const FontRole role = section.level <= 1 ? FontRole::Chapter : FontRole::Part;
    const qreal before = section.level <= 1 ? Mm(5) : Mm(3.5);
    const QString heading = Q(section.heading);
    const qreal headingHeight = TextHeight(heading, role, page_.width()) + Mm(1.5);
    // A heading stays with the start of what it heads.
    const qreal lead = SectionLead(section);
    if (y_ > bodyTop_) y_ += before;
    Reserve(headingHeight + lead);
    AddText(heading, role, 0, page_.width(), Mm(1.5));
    for (const ReportBlock& block : section.blocks) {
      std::visit([this](const auto& content) { Add(content); }, block);
      y_ += BlockSpacing();
    }
  }

  // The height of the part of a block that must share a page with the heading before it.
  qreal LeadHeight(const ReportBlock& block) const {
    if (const auto* paragraph = std::get_if<ReportParagraph>(&block)) {
      const QString first = Q(paragraph->text).section(QLatin1Char('\n'), 0, 0);
      return TextHeight(first, FontRole::Body, page_.width());
    }
    if (const auto* table = std::get_if<ReportTable>(&block)) {
      const TableGeometry geometry = Measure(*table);
      const qreal whole = geometry.TotalHeight();
      if (table->keepTogether && whole <= BodyHeight()) return whole;
      return geometry.headerHeight + (geometry.rowHeights.empty() ? 0 : geometry.rowHeights.front());
    }
    if (std::holds_alternative<ReportChart>(block)) return ChartHeight();
    return QFontMetricsF(FontOf(FontRole::Body), device_).height();
  }

  qreal BlockHeight(const ReportBlock& block) const {
    if (const auto* paragraph = std::get_if<ReportParagraph>(&block)) {
      qreal height = 0;
      for (const QString& line : Q(paragraph->text).split(QLatin1Char('\n')))
        height += TextHeight(line, FontRole::Body, page_.width());
      return height;
    }
    if (const auto* facts = std::get_if<ReportKeyValues>(&block)) {
      const FactsGeometry geometry = Measure(*facts);
      return std::accumulate(geometry.heights.begin(), geometry.heights.end(), 0.0);
    }
    return LeadHeight(block);
  }

  // What must share a page with the heading: the texts that introduce the section's first table or chart
  // and that table (whole, when it is kept together) or chart; when that is more than a page, only the
  // start of the first block.
  qreal SectionLead(const ReportSection& section) const {
    if (section.blocks.empty()) return 0;
    qreal lead = 0;
    for (const ReportBlock& block : section.blocks) {
      const bool introduction =
          std::holds_alternative<ReportParagraph>(block) || std::holds_alternative<ReportKeyValues>(block);
      lead += (introduction ? BlockHeight(block) : LeadHeight(block)) + BlockSpacing();
      if (!introduction) break;
    }
    return lead <= BodyHeight() - Mm(10) ? lead : LeadHeight(section.blocks.front());
  }

  void Add(const ReportParagraph& paragraph) {
    for (const QString& line : Q(paragraph.text).split(QLatin1Char('\n')))
      AddText(line, FontRole::Body, 0, page_.width(), 0);
  }

  struct FactsGeometry {
    qreal labelWidth = 0;
    qreal valueX = 0;
    std::vector<qreal> heights;  // per item
  };
  // The labels in a column as wide as the widest (at most 40 % of the page), the values beside them.
  FactsGeometry Measure(const ReportKeyValues& facts) const {
    FactsGeometry geometry;
    const QFontMetricsF bold(FontOf(FontRole::Bold), device_);
    for (const auto& item : facts.items)
      geometry.labelWidth = std::max(geometry.labelWidth, bold.horizontalAdvance(FactLabel(item.first)) + 1);
    geometry.labelWidth = std::min(geometry.labelWidth, page_.width() * 0.4);
    geometry.valueX = geometry.labelWidth + Mm(3);
    for (const auto& [label, value] : facts.items) {
      geometry.heights.push_back(
          std::max(TextHeight(FactLabel(label), FontRole::Bold, geometry.labelWidth),
                   TextHeight(Q(value), FontRole::Body, page_.width() - geometry.valueX)));
    }
    return geometry;
  }

  void Add(const ReportKeyValues& facts) {
    const FactsGeometry geometry = Measure(facts);
    const qreal valueWidth = page_.width() - geometry.valueX;
    for (std::size_t i = 0; i < facts.items.size(); ++i) {
      const qreal height = geometry.heights[i];
      Reserve(height);
      pages_.back().push_back(TextOp{QRectF(0, y_, geometry.labelWidth, height),
                                     FactLabel(facts.items[i].first), FontRole::Bold, Qt::AlignLeft});
      pages_.back().push_back(TextOp{QRectF(geometry.valueX, y_, valueWidth, height),
                                     Q(facts.items[i].second), FontRole::Body, Qt::AlignLeft});
      y_ += height;
    }
  }

  struct TableGeometry {
    std::vector<qreal> widths;  // per column, padding included
    qreal headerHeight = 0;
    std::vector<qreal> rowHeights;
    qreal TotalHeight() const {
      return headerHeight + std::accumulate(rowHeights.begin(), rowHeights.end(), 0.0);
    }
    qreal Width() const { return std::accumulate(widths.begin(), widths.end(), 0.0); }
  };
  qreal CellPadding() const { return Mm(1.2); }
  qreal RowPadding() const { return Mm(0.35); }

  // Each column as wide as its widest text; a table wider than the page shares the width out, giving
  // narrow columns what they need and wrapping the wide ones. A last column of text takes the rest.
  std::vector<qreal> ColumnWidths(const ReportTable& table) const {
    const QFontMetricsF body(FontOf(FontRole::Body), device_);
    const QFontMetricsF bold(FontOf(FontRole::Bold), device_);
    const std::size_t count = table.columns.size();
    std::vector<qreal> natural(count, 0);
    for (std::size_t c = 0; c < count; ++c) {
      natural[c] = bold.horizontalAdvance(Q(table.columns[c].title));
      for (const auto& row : table.rows) {
        if (c < row.size()) {
          for (const QString& line : Q(row[c]).split(QLatin1Char('\n')))
            natural[c] = std::max(natural[c], body.horizontalAdvance(line));
        }
      }
      natural[c] += 2 * CellPadding() + 1;
    }
    const qreal available = page_.width();
    std::vector<qreal> widths = natural;
    qreal total = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (total <= available) {
      if (count > 2 && table.columns.back().align == qd::review::ColumnAlign::Left)
        widths.back() += available - total;
      return widths;
    }
    std::vector<bool> fixed(count, false);
    for (bool changed = true; changed;) {
      changed = false;
      qreal freeWidth = available;
      std::size_t freeColumns = 0;
      for (std::size_t c = 0; c < count; ++c) {
        if (fixed[c]) {
          freeWidth -= natural[c];
        } else {
          ++freeColumns;
        }
      }
      for (std::size_t c = 0; c < count && freeColumns > 0; ++c) {
        if (!fixed[c] && natural[c] <= freeWidth / static_cast<qreal>(freeColumns)) {
          fixed[c] = true;
          changed = true;
        }
      }
      if (!changed) {
        qreal wide = 0;
        for (std::size_t c = 0; c < count; ++c)
          wide += fixed[c] ? 0 : natural[c];
        for (std::size_t c = 0; c < count; ++c)
          widths[c] = fixed[c] ? natural[c] : std::max(freeWidth, 0.0) * natural[c] / wide;
      }
    }
    return widths;
  }

  qreal RowHeight(const std::vector<std::string>& cells, const std::vector<qreal>& widths,
                  FontRole role) const {
    qreal height = QFontMetricsF(FontOf(role), device_).height();
    for (std::size_t c = 0; c < widths.size() && c < cells.size(); ++c)
      height = std::max(height, TextHeight(Q(cells[c]), role, widths[c] - 2 * CellPadding()));
    return height + 2 * RowPadding();
  }

  TableGeometry Measure(const ReportTable& table) const {
    TableGeometry geometry;
    geometry.widths = ColumnWidths(table);
    std::vector<std::string> titles;
    for (const auto& column : table.columns)
      titles.push_back(column.title);
    geometry.headerHeight = RowHeight(titles, geometry.widths, FontRole::Bold);
    for (const auto& row : table.rows)
      geometry.rowHeights.push_back(RowHeight(row, geometry.widths, FontRole::Body));
    return geometry;
  }

  void AddRow(const ReportTable& table, const std::vector<std::string>& cells, const TableGeometry& geometry,
              qreal height, FontRole role) {
    Page& page = pages_.back();
    if (role == FontRole::Bold) page.push_back(ShadeOp{QRectF(0, y_, geometry.Width(), height)});
    qreal x = 0;
    for (std::size_t c = 0; c < geometry.widths.size(); ++c) {
      const qreal width = geometry.widths[c];
      const QRectF text(x + CellPadding(), y_ + RowPadding(), width - 2 * CellPadding(),
                        height - 2 * RowPadding());
      if (c < cells.size())
        page.push_back(TextOp{text, Q(cells[c]), role, AlignmentOf(table.columns[c].align)});
      x += width;
    }
    y_ += height;
    page.push_back(RuleOp{QLineF(0, y_, geometry.Width(), y_), role == FontRole::Bold});
  }

  void Add(const ReportTable& table) {
    const TableGeometry geometry = Measure(table);
    if (table.keepTogether && geometry.TotalHeight() <= BodyHeight()) Reserve(geometry.TotalHeight());
    std::vector<std::string> titles;
    for (const auto& column : table.columns)
      titles.push_back(column.title);
    const qreal firstRow = geometry.rowHeights.empty() ? 0 : geometry.rowHeights.front();
    Reserve(geometry.headerHeight + firstRow);
    AddRow(table, titles, geometry, geometry.headerHeight, FontRole::Bold);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      if (y_ + geometry.rowHeights[r] > bodyBottom_) {
        NewPage();
        AddRow(table, titles, geometry, geometry.headerHeight, FontRole::Bold);
      }
      AddRow(table, table.rows[r], geometry, geometry.rowHeights[r], FontRole::Body);
    }
  }

  qreal ChartHeight() const { return std::min(Mm(80), BodyHeight()); }

  void Add(const ReportChart& chart) {
    const qreal height = ChartHeight();
    Reserve(height);
    pages_.back().push_back(ChartOp{QRectF(0, y_, page_.width(), height), &chart.months});
    y_ += height;
  }

  QPaintDevice* device_;
  QSizeF page_;
  qreal bodyTop_ = 0;
  qreal bodyBottom_ = 0;
  qreal y_ = 0;
  std::vector<Page> pages_;
};

class PagePainter {
 public:
  PagePainter(QPainter& painter, QSizeF page) : painter_(painter), page_(page) {}

  void Paint(const DrawOp& op) {
    std::visit([this](const auto& item) { Draw(item); }, op);
  }

  void Frame(const qd::review::ServiceReport& report, int number, int count) {
    const QFontMetricsF small(FontOf(FontRole::Small), painter_.device());
    const qreal width = page_.width();
    Draw(TextOp{QRectF(0, 0, width * 0.7, small.height()), Q(report.systemName), FontRole::Small,
                Qt::AlignLeft});
    Draw(TextOp{QRectF(width * 0.7, 0, width * 0.3, small.height()), Q(report.date), FontRole::Small,
                Qt::AlignRight});
    const qreal rule = small.height() + small.descent();
    Draw(RuleOp{QLineF(0, rule, width, rule), true});
    const QString footer =
        QCoreApplication::translate("ServiceReport", "Page %1 of %2").arg(number).arg(count);
    Draw(TextOp{QRectF(0, page_.height() - small.height(), width, small.height()), footer, FontRole::Small,
                Qt::AlignHCenter});
  }

 private:
  void Draw(const TextOp& op) {
    painter_.setPen(Qt::black);
    WrappedText(op.text, op.role, op.align, op.rect.width(), painter_.device())
        .Draw(painter_, op.rect.topLeft());
  }
  void Draw(const RuleOp& op) {
    const qreal dpi = painter_.device()->logicalDpiY();
    painter_.setPen(
        QPen(op.strong ? QColor(80, 80, 80) : QColor(190, 190, 190), (op.strong ? 0.25 : 0.15) * dpi / 25.4));
    painter_.drawLine(op.line);
  }
  void Draw(const ShadeOp& op) { painter_.fillRect(op.rect, QColor(232, 232, 232)); }
  void Draw(const ChartOp& op) {
    painter_.save();
    painter_.setFont(FontOf(FontRole::Small));
    PaintConsumptionChart(painter_, op.rect, *op.months, ChartMode::PumpVolumes);
    painter_.restore();
  }

  QPainter& painter_;
  QSizeF page_;
};

}  // namespace

QPageLayout ServiceReportPageLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                     QPageLayout::Millimeter);
}

int PaintServiceReport(QPainter& painter, QPagedPaintDevice& device,
                       const qd::review::ServiceReport& report) {
  const QSizeF page = device.pageLayout().paintRectPixels(device.logicalDpiX()).size();
  const std::vector<Page> pages = Layout(&device, page).Take(report);
  PagePainter pagePainter(painter, page);
  const int count = static_cast<int>(pages.size());
  for (int p = 0; p < count; ++p) {
    if (p > 0) device.newPage();
    pagePainter.Frame(report, p + 1, count);
    for (const DrawOp& op : pages[static_cast<std::size_t>(p)])
      pagePainter.Paint(op);
  }
  return count;
}

}  // namespace qd::report
