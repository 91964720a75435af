#include "gui/history/site_alarms_page.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/app/text_codec.h"
#include "history/site_summary.h"

namespace qd::gui {
namespace {

enum AlarmColumn { TimeColumn, AlarmTextColumn, AlarmColumnCount };

}  // namespace

SiteAlarmsPage::SiteAlarmsPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SiteAlarmsPage"));
  AlarmCountLabel = new QLabel(this);
  AlarmCountLabel->setObjectName(QStringLiteral("AlarmCountLabel"));
  AlarmCountLabel->setAccessibleDescription(tr("Alarms recorded"));
  AlarmGrid = new QTableWidget(0, AlarmColumnCount, this);
  AlarmGrid->setObjectName(QStringLiteral("AlarmGrid"));
  AlarmGrid->setAccessibleName(tr("Alarms"));
  AlarmGrid->setHorizontalHeaderLabels({tr("Time"), tr("Alarm")});
  AlarmGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  AlarmGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  AlarmGrid->setAlternatingRowColors(true);
  AlarmGrid->setWordWrap(false);
  AlarmGrid->verticalHeader()->hide();
  AlarmGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  AlarmGrid->horizontalHeader()->setStretchLastSection(true);
  AlarmGrid->setColumnWidth(
      TimeColumn, AlarmGrid->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00")) + 24);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(AlarmCountLabel);
  layout->addWidget(AlarmGrid, 1);
  Clear();
}

QWidget* SiteAlarmsPage::FirstInTabOrder() const {
  return AlarmGrid;
}

void SiteAlarmsPage::Clear() {
  AlarmCountLabel->clear();
  AlarmGrid->setRowCount(0);
}

void SiteAlarmsPage::ShowAlarms(const std::vector<qd::history::AlarmEvent>& alarms,
                                const std::string& previousContact) {
  AlarmCountLabel->setText(tr("Alarms recorded: %1, since the previous contact: %2.")
                               .arg(alarms.size())
                               .arg(qd::history::AlarmsSince(alarms, previousContact)));
  AlarmGrid->setRowCount(static_cast<int>(alarms.size()));
  int row = 0;
  for (auto alarm = alarms.rbegin(); alarm != alarms.rend(); ++alarm, ++row) {
    AlarmGrid->setItem(row, TimeColumn, new QTableWidgetItem(QString::fromStdString(alarm->time)));
    AlarmGrid->setItem(row, AlarmTextColumn,
                       new QTableWidgetItem(FromCp1252(qd::history::AlarmEventText(*alarm))));
  }
}

}  // namespace qd::gui
