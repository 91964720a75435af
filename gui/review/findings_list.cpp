#include "gui/review/findings_list.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

#include "gui/app/text_codec.h"

namespace qd::gui {

using qd::review::Finding;
using qd::review::Severity;

FindingsList::FindingsList(QWidget* parent, int visibleRows) : QListWidget(parent) {
  setObjectName(QStringLiteral("FindingsList"));
  setAccessibleName(tr("Program check"));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);
  setUniformItemSizes(true);
  setIconSize(QSize(16, 16));
  const int rowHeight = fontMetrics().height() + 4;
  setFixedHeight(rowHeight * visibleRows + 2 * frameWidth());
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const int index = row(item);
    if (index >= 0 && index < static_cast<int>(findings_.size()) && findings_[index].line > 0)
      emit LineChosen(findings_[index].line - 1);
  });
  ShowFindings({});
}

QString FindingsList::ItemText(const Finding& finding) const {
  QString place;
  if (wholePlace_) {
    place = FromCp1252(finding.Place());
  } else if (finding.line > 0) {
    place = tr("Line %1").arg(finding.line);
  } else {
    place = tr("Program");
  }
  //: A finding: where (a line, a program or a place) and what
  return tr("%1: %2").arg(place, FromCp1252(finding.message));
}

void FindingsList::ShowFindings(const std::vector<Finding>& findings) {
  std::vector<Finding> sorted = findings;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const Finding& a, const Finding& b) { return a.severity > b.severity; });
  if (shown_ && sorted == findings_) return;
  shown_ = true;
  findings_ = std::move(sorted);
  clear();
  if (findings_.empty()) {
    auto* item = new QListWidgetItem(tr("No findings"), this);
    item->setFlags(Qt::NoItemFlags);
    return;
  }
  QStyle* style = QApplication::style();
  const QIcon error = style->standardIcon(QStyle::SP_MessageBoxCritical);
  const QIcon warning = style->standardIcon(QStyle::SP_MessageBoxWarning);
  for (const Finding& finding : findings_) {
    auto* item = new QListWidgetItem(ItemText(finding), this);
    const bool isError = finding.severity == Severity::Error;
    item->setIcon(isError ? error : warning);
    item->setToolTip(
        PlainToolTip(isError ? tr("Error: %1").arg(item->text()) : tr("Warning: %1").arg(item->text())));
  }
}

}  // namespace qd::gui
