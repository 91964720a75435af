#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/site_read.h"
#include "history/site_summary.h"
#include "history/timeline.h"
#include "logs/consumption_costs.h"
#include "store/store_location.h"

namespace qd::store {

// The history of every site read: the sites, their consumption by month and machine across log resets,
// their alarms and a snapshot of each read. One object is one database connection, used on the thread
// that opened it. Writers take a lock per site (SQLite: the database's write lock), so several tools
// recording at once lose nothing, and recording the same read twice changes nothing.
class HistoryStore {
 public:
  // Opens the store, creating it (an SQLite file and its folder, private to the user) or bringing an
  // older one up to date; none, and why in `error`, when it cannot be used.
  static std::unique_ptr<HistoryStore> Open(const StoreLocation& location, QString& error);
  ~HistoryStore();
  HistoryStore(const HistoryStore&) = delete;
  HistoryStore& operator=(const HistoryStore&) = delete;

  const StoreLocation& Location() const { return location_; }
  int SchemaVersion() const;

  // Records one read; false, with nothing recorded, when the store refused it.
  bool Record(const history::ReadRecord& read, QString& error);

  // Sites by serial number; on failure none and LastError() says why.
  std::vector<history::Site> Sites();
  std::optional<history::Site> FindSite(std::uint32_t serial);
  // Every site with its alarms since the previous contact and its last twelve months.
  std::vector<history::SiteSummary> SiteSummaries(const logs::PumpPrices& prices);
  // The months from..to of one site, oldest first, machine by machine.
  logs::ConsumptionRows Months(std::uint32_t serial, logs::YearMonth from = logs::EarliestLogMonth,
                               logs::YearMonth to = logs::LatestLogMonth);
  std::vector<history::AlarmEvent> Alarms(std::uint32_t serial);
  // The times of the reads kept, oldest first.
  std::vector<std::string> Snapshots(std::uint32_t serial);
  std::optional<std::vector<std::uint8_t>> SnapshotImage(std::uint32_t serial, const std::string& readAt);
  // Every read kept, oldest first, with what changed in the configuration since the one before.
  std::vector<history::TimelineStep> Timeline(std::uint32_t serial);

  // Why the last query failed; empty after one that worked.
  const QString& LastError() const { return lastError_; }

 private:
  HistoryStore(StoreLocation location, QString connectionName);
  bool Connect(QString& error);
  bool PrepareSchema(QString& error);
  bool Begin(std::int64_t lockKey, QString& error);
  void Rollback();
  bool RecordSite(const history::ReadRecord& read, QString& error);
  bool RecordMonths(const history::ReadRecord& read, QString& error);
  bool RecordAlarms(const history::ReadRecord& read, QString& error);
  bool RecordSnapshot(const history::ReadRecord& read, QString& error);

  StoreLocation location_;
  QString connectionName_;
  QString lastError_;
};

}  // namespace qd::store
