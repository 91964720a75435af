#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/site_read.h"
#include "history/site_summary.h"
#include "logs/consumption_log.h"
#include "review/config_diff.h"
#include "store/history_store.h"

// What the sites window asks of the history store, run on a worker thread (gui/history/store_query.h).
namespace qd::gui {

// A snapshot of the configuration timeline and how it differs from the one before it.
struct TimelineEntry {
  enum class Change { FirstRead, Counted, Unreadable };
  std::string readAt;  // "YYYY-MM-DD HH:MM:SS"
  Change change = Change::FirstRead;
  int changes = 0;  // items changed, when counted
};

// Everything the page of one site shows.
struct SiteHistory {
  bool found = false;  // the site is (still) in the store
  qd::history::Site site;
  qd::logs::ConsumptionRows months;             // every month kept, oldest first
  std::vector<qd::history::AlarmEvent> alarms;  // oldest first
  std::vector<TimelineEntry> timeline;          // oldest first
};

// The history of the site `serial`; sets `error` when the store failed.
SiteHistory LoadSiteHistory(qd::store::HistoryStore& store, std::uint32_t serial, QString& error);

// What changed from the snapshot read at `before` to the one read at `after`.
struct SnapshotComparison {
  std::string before;
  std::string after;
  bool readable = false;  // both snapshots are images the tool reads
  std::vector<qd::review::Difference> differences;
};
SnapshotComparison CompareSnapshots(qd::store::HistoryStore& store, std::uint32_t serial,
                                    const std::string& before, const std::string& after, QString& error);

}  // namespace qd::gui
