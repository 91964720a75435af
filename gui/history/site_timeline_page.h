#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "gui/history/site_history.h"
#include "gui/history/store_query.h"
#include "store/store_location.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace qd::gui {

// The configuration timeline of one site: every snapshot kept, newest first, with the number of items
// changed since the one before it, and the changes item by item between two of them. One snapshot chosen
// is compared with the one before it.
class SiteTimelinePage : public QWidget {
  Q_OBJECT

 public:
  explicit SiteTimelinePage(QWidget* parent);

  // The timeline of site `serial` in the store at `location`; the newest snapshot is chosen.
  void ShowTimeline(const qd::store::StoreLocation& location, std::uint32_t serial,
                    std::vector<TimelineEntry> timeline);
  void Clear();
  // Compares the snapshots chosen: two with each other, one with the one before it.
  void CompareSnapshotsBtnClick();
  // Chooses the snapshots read at these times (oldest first or not) in the list.
  void ChooseSnapshots(const std::vector<std::string>& readTimes);

  bool Comparing() const { return comparing_; }

  QWidget* FirstInTabOrder() const;
  QWidget* LastInTabOrder() const;

 private:
  void CreateControls();
  // The list of `timeline`, its newest snapshot chosen.
  void Fill(std::vector<TimelineEntry> timeline);
  // The indices into timeline_ of the rows chosen, oldest first.
  std::vector<std::size_t> ChosenEntries() const;
  void ChoiceChanged();
  void Compare(std::size_t before, std::size_t after);
  void ShowComparison(const StoreReply<SnapshotComparison>& reply);

  std::optional<qd::store::StoreLocation> location_;
  std::uint32_t serial_ = 0;
  std::vector<TimelineEntry> timeline_;  // oldest first
  int generation_ = 0;
  bool comparing_ = false;

  QLabel* SnapshotsLabel = nullptr;
  QTableWidget* SnapshotGrid = nullptr;
  QPushButton* CompareSnapshotsBtn = nullptr;
  QLabel* ComparisonLabel = nullptr;
  QTableWidget* SnapshotDifferenceGrid = nullptr;
};

}  // namespace qd::gui
