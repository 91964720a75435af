#include "gui/history/site_timeline_page.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "gui/app/label_colours.h"
#include "gui/app/status_text.h"
#include "gui/app/text_codec.h"

namespace qd::gui {
namespace {

enum SnapshotColumn { ReadColumn, ChangesColumn, SnapshotColumnCount };
enum DifferenceColumn { ItemColumn, BeforeColumn, AfterColumn, DifferenceColumnCount };

// Rows keep the index of their entry in the timeline (oldest first); the list shows the newest first.
constexpr int EntryRole = Qt::UserRole;

QTableWidget* MakeGrid(QWidget* parent, const char* name, const QStringList& headers) {
  auto* grid = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  grid->setObjectName(QString::fromLatin1(name));
  grid->setHorizontalHeaderLabels(headers);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setAlternatingRowColors(true);
  grid->setWordWrap(false);
  grid->verticalHeader()->hide();
  grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid->horizontalHeader()->setStretchLastSection(true);
  return grid;
}

QString Time(const std::string& readAt) {
  return QString::fromStdString(readAt);
}

}  // namespace

SiteTimelinePage::SiteTimelinePage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SiteTimelinePage"));
  CreateControls();
  Clear();
}

void SiteTimelinePage::CreateControls() {
  SnapshotGrid = MakeGrid(this, "SnapshotGrid", {tr("Read"), tr("Changes")});
  SnapshotGrid->setAccessibleName(tr("Snapshots"));
  SnapshotGrid->setToolTip(tr("Choose one read to see what it changed, or two (Ctrl+click) to compare them"));
  SnapshotGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
  SnapshotGrid->setColumnWidth(
      ReadColumn, SnapshotGrid->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 24);
  SnapshotGrid->setMinimumWidth(SnapshotGrid->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 38);
  SnapshotsLabel = new QLabel(tr("S&napshots (newest first):"), this);
  SnapshotsLabel->setObjectName(QStringLiteral("SnapshotsLabel"));
  SnapshotsLabel->setBuddy(SnapshotGrid);
  CompareSnapshotsBtn = new QPushButton(tr("Compare"), this);
  CompareSnapshotsBtn->setObjectName(QStringLiteral("CompareSnapshotsBtn"));
  CompareSnapshotsBtn->setToolTip(
      tr("Compare the two reads chosen, or the one chosen with the read before it"));
  CompareSnapshotsBtn->setAutoDefault(false);

  ComparisonLabel = new QLabel(this);
  ComparisonLabel->setObjectName(QStringLiteral("ComparisonLabel"));
  ComparisonLabel->setAccessibleDescription(tr("Comparison"));
  ComparisonLabel->setWordWrap(true);
  ComparisonLabel->setMargin(3);
  SnapshotDifferenceGrid = MakeGrid(this, "SnapshotDifferenceGrid", {tr("Item"), tr("Before"), tr("After")});
  SnapshotDifferenceGrid->setAccessibleName(tr("Changes between the snapshots"));
  // Before and after share what the item leaves: program lines are long on both sides.
  QHeaderView* header = SnapshotDifferenceGrid->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Stretch);
  header->setSectionResizeMode(ItemColumn, QHeaderView::Interactive);
  SnapshotDifferenceGrid->setColumnWidth(ItemColumn, 260);

  auto* left = new QVBoxLayout;
  left->addWidget(SnapshotsLabel);
  left->addWidget(SnapshotGrid, 1);
  left->addWidget(CompareSnapshotsBtn, 0, Qt::AlignLeft);
  auto* right = new QVBoxLayout;
  right->addWidget(ComparisonLabel);
  right->addWidget(SnapshotDifferenceGrid, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);

  QWidget::setTabOrder(SnapshotGrid, CompareSnapshotsBtn);
  QWidget::setTabOrder(CompareSnapshotsBtn, SnapshotDifferenceGrid);
  connect(SnapshotGrid, &QTableWidget::itemSelectionChanged, this, &SiteTimelinePage::ChoiceChanged);
  connect(CompareSnapshotsBtn, &QPushButton::clicked, this, &SiteTimelinePage::CompareSnapshotsBtnClick);
}

QWidget* SiteTimelinePage::FirstInTabOrder() const {
  return SnapshotGrid;
}

QWidget* SiteTimelinePage::LastInTabOrder() const {
  return SnapshotDifferenceGrid;
}

void SiteTimelinePage::Clear() {
  location_.reset();
  serial_ = 0;
  Fill({});
}

void SiteTimelinePage::ShowTimeline(const qd::store::StoreLocation& location, std::uint32_t serial,
                                    std::vector<TimelineEntry> timeline) {
  location_ = location;
  serial_ = serial;
  Fill(std::move(timeline));
}

void SiteTimelinePage::Fill(std::vector<TimelineEntry> timeline) {
  timeline_ = std::move(timeline);
  ++generation_;  // a comparison still running belongs to what was shown before
  comparing_ = false;
  SnapshotDifferenceGrid->setRowCount(0);
  {
    const QSignalBlocker blocker(SnapshotGrid);
    SnapshotGrid->clearSelection();
    SnapshotGrid->setRowCount(static_cast<int>(timeline_.size()));
    for (int row = 0; row < SnapshotGrid->rowCount(); ++row) {
      const std::size_t index = timeline_.size() - 1 - static_cast<std::size_t>(row);
      const TimelineEntry& entry = timeline_[index];
      QString changes;
      switch (entry.change) {
        case TimelineEntry::Change::FirstRead:
          changes = tr("first read");
          break;
        case TimelineEntry::Change::Unreadable:
          changes = tr("not readable");
          break;
        case TimelineEntry::Change::Counted:
          changes = entry.changes == 0   ? tr("no change")
                    : entry.changes == 1 ? tr("1 change")
                                         : tr("%1 changes").arg(entry.changes);
          break;
      }
      const std::array<QString, SnapshotColumnCount> cells = {Time(entry.readAt), changes};
      for (int column = 0; column < SnapshotColumnCount; ++column) {
        auto* item = new QTableWidgetItem(cells[static_cast<std::size_t>(column)]);
        item->setData(EntryRole, static_cast<qulonglong>(index));
        SnapshotGrid->setItem(row, column, item);
      }
    }
  }
  if (timeline_.empty()) {
    ChoiceChanged();
    return;
  }
  SnapshotGrid->selectRow(0);
}

std::vector<std::size_t> SiteTimelinePage::ChosenEntries() const {
  std::vector<std::size_t> chosen;
  for (const QModelIndex& row : SnapshotGrid->selectionModel()->selectedRows(ReadColumn))
    chosen.push_back(row.data(EntryRole).toULongLong());
  std::sort(chosen.begin(), chosen.end());
  return chosen;
}

void SiteTimelinePage::ChooseSnapshots(const std::vector<std::string>& readTimes) {
  QItemSelection selection;
  for (int row = 0; row < SnapshotGrid->rowCount(); ++row) {
    const std::string& readAt =
        timeline_[SnapshotGrid->item(row, ReadColumn)->data(EntryRole).toULongLong()].readAt;
    if (std::find(readTimes.begin(), readTimes.end(), readAt) == readTimes.end()) continue;
    const QModelIndex index = SnapshotGrid->model()->index(row, ReadColumn);
    selection.select(index, index);
  }
  SnapshotGrid->selectionModel()->select(selection,
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void SiteTimelinePage::ChoiceChanged() {
  const std::size_t chosen = ChosenEntries().size();
  CompareSnapshotsBtn->setEnabled(chosen == 1 || chosen == 2);
  if (timeline_.empty()) {
    ShowStatusText(ComparisonLabel, location_ ? tr("No snapshots of this site are kept.") : QString());
    SetLabelBackground(ComparisonLabel, Background::Normal);
    SnapshotDifferenceGrid->setRowCount(0);
    return;
  }
  // One read chosen shows what it changed at once; two wait for Compare, so that Ctrl+click can choose.
  if (chosen == 1) {
    CompareSnapshotsBtnClick();
  } else {
    ShowStatusText(ComparisonLabel,
                   chosen == 2 ? tr("Press Compare to list the changes between the two reads chosen.")
                               : tr("Choose one read, or two to compare."));
    SetLabelBackground(ComparisonLabel, Background::Normal);
  }
}

void SiteTimelinePage::CompareSnapshotsBtnClick() {
  const std::vector<std::size_t> chosen = ChosenEntries();
  if (chosen.size() == 2) {
    Compare(chosen[0], chosen[1]);
  } else if (chosen.size() == 1 && chosen[0] > 0) {
    Compare(chosen[0] - 1, chosen[0]);
  } else if (chosen.size() == 1) {
    ++generation_;
    comparing_ = false;
    SnapshotDifferenceGrid->setRowCount(0);
    ShowStatusText(
        ComparisonLabel,
        tr("The read of %1 is the first one kept of this site: there is nothing before it to compare with.")
            .arg(Time(timeline_[chosen[0]].readAt)));
    SetLabelBackground(ComparisonLabel, Background::Normal);
  }
}

void SiteTimelinePage::Compare(std::size_t before, std::size_t after) {
  if (!location_) return;
  const std::string first = timeline_[before].readAt;
  const std::string second = timeline_[after].readAt;
  const std::uint32_t serial = serial_;
  const int generation = ++generation_;
  comparing_ = true;
  ShowStatusText(ComparisonLabel, tr("Comparing the reads of %1 and %2...").arg(Time(first), Time(second)));
  SetLabelBackground(ComparisonLabel, Background::Normal);
  QueryStoreInBackground<SnapshotComparison>(
      *location_, this,
      [serial, first, second](qd::store::HistoryStore& store, QString& error) {
        return CompareSnapshots(store, serial, first, second, error);
      },
      [this, generation](const StoreReply<SnapshotComparison>& reply) {
        if (generation != generation_) return;
        comparing_ = false;
        ShowComparison(reply);
      });
}

void SiteTimelinePage::ShowComparison(const StoreReply<SnapshotComparison>& reply) {
  const SnapshotComparison& comparison = reply.answer;
  const QString before = Time(comparison.before);
  const QString after = Time(comparison.after);
  SnapshotDifferenceGrid->setRowCount(0);
  if (!reply.Ok()) {
    ShowStatusText(ComparisonLabel, tr("The snapshots could not be read: %1").arg(reply.error));
    SetLabelBackground(ComparisonLabel, Background::Red);
  } else if (!comparison.readable) {
    ShowStatusText(ComparisonLabel,
                   tr("The reads of %1 and %2 cannot be compared: one of them is not an image "
                      "this version of QDsystem reads.")
                       .arg(before, after));
    SetLabelBackground(ComparisonLabel, Background::Red);
  } else {
    const int count = static_cast<int>(comparison.differences.size());
    SnapshotDifferenceGrid->setRowCount(count);
    for (int row = 0; row < count; ++row) {
      const qd::review::Difference& d = comparison.differences[static_cast<std::size_t>(row)];
      const std::array<std::string, DifferenceColumnCount> cells = {d.place, d.before, d.after};
      for (int column = 0; column < DifferenceColumnCount; ++column) {
        auto* item = new QTableWidgetItem(FromCp1252(cells[static_cast<std::size_t>(column)]));
        item->setToolTip(PlainToolTip(FromCp1252(d.Text())));
        SnapshotDifferenceGrid->setItem(row, column, item);
      }
    }
    const QString text =
        count == 0   ? tr("No changes from the read of %1 to the read of %2.").arg(before, after)
        : count == 1 ? tr("1 change from the read of %1 to the read of %2.").arg(before, after)
                     : tr("%1 changes from the read of %2 to the read of %3.").arg(count).arg(before, after);
    ShowStatusText(ComparisonLabel, text);
    SetLabelBackground(ComparisonLabel, count == 0 ? Background::Green : Background::Yellow);
  }
}

}  // namespace qd::gui
