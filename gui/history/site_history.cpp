#include "gui/history/site_history.h"

#include "history/timeline.h"

namespace qd::gui {

namespace {

// True when the store failed the last query; its reason goes to `error`.
bool Failed(const qd::store::HistoryStore& store, QString& error) {
  if (store.LastError().isEmpty()) return false;
  error = store.LastError();
  return true;
}

}  // namespace

SiteHistory LoadSiteHistory(qd::store::HistoryStore& store, std::uint32_t serial, QString& error) {
  SiteHistory history;
  const std::optional<qd::history::Site> site = store.FindSite(serial);
  if (Failed(store, error) || !site) return history;
  history.found = true;
  history.site = *site;
  history.months = store.Months(serial);
  if (Failed(store, error)) return history;
  history.alarms = store.Alarms(serial);
  if (Failed(store, error)) return history;
  for (const qd::history::TimelineStep& step : store.Timeline(serial)) {
    TimelineEntry entry{step.readAt, TimelineEntry::Change::FirstRead, 0};
    if (!step.readable) {
      entry.change = TimelineEntry::Change::Unreadable;
    } else if (step.changes) {
      entry.change = TimelineEntry::Change::Counted;
      entry.changes = static_cast<int>(step.changes->size());
    }
    history.timeline.push_back(entry);
  }
  Failed(store, error);
  return history;
}

SnapshotComparison CompareSnapshots(qd::store::HistoryStore& store, std::uint32_t serial,
                                    const std::string& before, const std::string& after, QString& error) {
  SnapshotComparison comparison{before, after, false, {}};
  const auto first = store.SnapshotImage(serial, before);
  if (Failed(store, error)) return comparison;
  const auto second = store.SnapshotImage(serial, after);
  if (Failed(store, error) || !first || !second) return comparison;
  if (auto changes = qd::history::SnapshotChanges(*first, *second)) {
    comparison.readable = true;
    comparison.differences = std::move(*changes);
  }
  return comparison;
}

}  // namespace qd::gui
