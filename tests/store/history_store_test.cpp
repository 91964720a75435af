#include "store/history_store.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <thread>

#include "store/store_schema.h"

namespace qd::store {
namespace {

using history::AlarmEvent;
using history::ReadRecord;
using logs::YearMonth;

// The same tests run on an SQLite file and on the PostgreSQL server that QD_TEST_POSTGRES names (the
// test script starts a private one).
enum class Backend { SQLite, PostgreSQL };

class HistoryStoreTest : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    if (GetParam() == Backend::SQLite) {
      ASSERT_TRUE(folder_.isValid());
      location_.path = folder_.filePath(QStringLiteral("store/history.sqlite"));
      return;
    }
    const QString url = qEnvironmentVariable("QD_TEST_POSTGRES");
    if (url.isEmpty()) GTEST_FAIL() << "QD_TEST_POSTGRES names no server; run through with_postgres.sh";
    QString error;
    const auto location = ParseStoreLocation(url, error);
    ASSERT_TRUE(location) << error.toStdString();
    location_ = *location;
    DropTables();
  }

  void DropTables() {
    const QString name = QStringLiteral("cleaner");
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
      db.setHostName(location_.host);
      db.setPort(location_.port);
      db.setUserName(location_.user);
      db.setDatabaseName(location_.database);
      ASSERT_TRUE(db.open());
      QSqlQuery(db).exec(QStringLiteral("SET client_min_messages = warning"));
      QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS store_info, sites, months, alarms, snapshots"));
    }
    QSqlDatabase::removeDatabase(name);
  }

  std::unique_ptr<HistoryStore> Open() {
    QString error;
    auto store = HistoryStore::Open(location_, error);
    EXPECT_TRUE(store) << error.toStdString();
    return store;
  }

  // Runs statements on a connection of its own, as an older QDsystem or another tool would.
  void Execute(const QStringList& statements) {
    const QString name = QStringLiteral("raw");
    if (!location_.postgresql) QDir().mkpath(QFileInfo(location_.path).absolutePath());
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(
          location_.postgresql ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), name);
      db.setHostName(location_.host);
      if (location_.port) db.setPort(location_.port);
      db.setUserName(location_.user);
      db.setDatabaseName(location_.postgresql ? location_.database : location_.path);
      ASSERT_TRUE(db.open());
      for (const QString& statement : statements) {
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
      }
    }
    QSqlDatabase::removeDatabase(name);
  }

  Dialect DialectUsed() const { return location_.postgresql ? Dialect::PostgreSQL : Dialect::SQLite; }

  QTemporaryDir folder_;
  StoreLocation location_;
};

// A read of site `serial` at `readAt` whose months from..to hold `value` in every counter of machine 1.
ReadRecord Read(std::uint32_t serial, const std::string& readAt, YearMonth from, YearMonth to,
                std::uint32_t value, std::vector<AlarmEvent> alarms = {}) {
  ReadRecord read;
  read.site = {serial, "Laundry " + std::to_string(serial), 3, 2, 1};
  read.readAt = readAt;
  for (int key = logs::MonthIndex(from); key <= logs::MonthIndex(to); ++key) {
    logs::WideCounters counters{};
    counters.fill(value);
    read.months.push_back({logs::MonthOfIndex(key), 1, counters});
  }
  read.alarms = std::move(alarms);
  read.image.assign(64, static_cast<std::uint8_t>(value));
  return read;
}

void Record(HistoryStore& store, const ReadRecord& read) {
  QString error;
  ASSERT_TRUE(store.Record(read, error)) << error.toStdString();
}

// The first counter of machine 1 in each month stored.
std::vector<std::pair<int, std::uint32_t>> Firsts(const logs::ConsumptionRows& rows) {
  std::vector<std::pair<int, std::uint32_t>> firsts;
  for (const auto& row : rows)
    firsts.emplace_back(logs::MonthIndex(row.month), row.counters[0]);
  return firsts;
}

TEST_P(HistoryStoreTest, MonthsMergeAcrossReadsResetsAndTheRingMovingOn) {
  auto store = Open();
  ASSERT_TRUE(store);
  // 24 months in the controller, then the ring moves on by three, then the log is reset.
  Record(*store, Read(7, "2025-12-05 10:00:00", {2024, 1}, {2025, 12}, 100));
  Record(*store, Read(7, "2026-03-05 10:00:00", {2024, 4}, {2026, 3}, 120));
  Record(*store, Read(7, "2026-03-20 10:00:00", {2026, 3}, {2026, 3}, 30));
  Record(*store, Read(7, "2026-03-20 10:00:00", {2026, 3}, {2026, 3}, 30));  // the same read again

  const logs::ConsumptionRows rows = store->Months(7);
  ASSERT_EQ(rows.size(), 27u);
  EXPECT_EQ(Firsts(rows).front(), std::make_pair(logs::MonthIndex({2024, 1}), 100u));  // left the ring, kept
  EXPECT_EQ(rows[4].counters[0], 120u);                                                // read again: replaced
  EXPECT_EQ(rows.back().counters[0], 150u);                                            // 120 before the reset
  EXPECT_EQ(store->Months(7, {2026, 1}, {2026, 2}).size(), 2u);
  EXPECT_TRUE(store->Months(8).empty());
  EXPECT_EQ(store->Snapshots(7).size(), 3u);
}

TEST_P(HistoryStoreTest, SitesKeepTheirContactsAlarmsAndSnapshots) {
  auto store = Open();
  ASSERT_TRUE(store);
  const AlarmEvent early{"2026-01-02 03:04", 2, 0, 0};
  const AlarmEvent late{"2026-02-02 03:04", 1, 3, 0};
  Record(*store, Read(9, "2026-01-10 10:00:00", {2026, 1}, {2026, 1}, 1, {early}));
  Record(*store, Read(9, "2026-02-10 10:00:00", {2026, 2}, {2026, 2}, 2, {early, late}));
  Record(*store, Read(9, "2026-01-20 10:00:00", {2026, 1}, {2026, 1}, 1, {early}));  // a backup imported late
  Record(*store, Read(3, "2026-02-11 10:00:00", {2026, 2}, {2026, 2}, 5));

  const std::vector<history::Site> sites = store->Sites();
  ASSERT_EQ(sites.size(), 2u);
  EXPECT_EQ(sites[0].identity.serial, 3u);
  const history::Site& site = sites[1];
  EXPECT_EQ(site.identity.name, "Laundry 9");
  EXPECT_EQ(site.firstContact, "2026-01-10 10:00:00");
  EXPECT_EQ(site.lastContact, "2026-02-10 10:00:00");
  EXPECT_EQ(site.previousContact, "2026-01-20 10:00:00");
  EXPECT_EQ(store->Alarms(9), (std::vector<AlarmEvent>{early, late}));
  EXPECT_EQ(store->Snapshots(9),
            (std::vector<std::string>{"2026-01-10 10:00:00", "2026-01-20 10:00:00", "2026-02-10 10:00:00"}));
  EXPECT_EQ(store->SnapshotImage(9, "2026-02-10 10:00:00"), std::vector<std::uint8_t>(64, 2));
  EXPECT_FALSE(store->SnapshotImage(9, "2020-01-01 00:00:00"));

  const auto summaries = store->SiteSummaries({});
  ASSERT_EQ(summaries.size(), 2u);
  EXPECT_EQ(summaries[1].alarmsSincePrevious, 1);
  EXPECT_EQ(summaries[1].lastYear.noProgramWashes, 1u + 2);
}

TEST_P(HistoryStoreTest, NamesKeepTheirCharacters) {
  auto store = Open();
  ASSERT_TRUE(store);
  ReadRecord read = Read(11, "2026-01-10 10:00:00", {2026, 1}, {2026, 1}, 1);
  read.site.name = "W\xE4scherei \x80 M\xFCller";  // windows-1252
  Record(*store, read);
  EXPECT_EQ(store->FindSite(11)->identity.name, read.site.name);
}

TEST_P(HistoryStoreTest, TwoToolsRecordingAtOnceLoseNothing) {
  { ASSERT_TRUE(Open()); }
  const auto writer = [this](int tool) {
    QString error;
    auto store = HistoryStore::Open(location_, error);
    ASSERT_TRUE(store) << error.toStdString();
    for (int k = 0; k < 15; ++k) {
      const std::string minute = std::to_string(10 + k);
      const std::string at = "2026-0" + std::to_string(tool) + "-01 10:" + minute + ":00";
      const ReadRecord read = Read(21, at, {2026, tool}, {2026, tool}, static_cast<std::uint32_t>(k + 1),
                                   {{"2026-0" + std::to_string(tool) + "-01 09:" + minute, 2, 0, 0}});
      ASSERT_TRUE(store->Record(read, error)) << error.toStdString();
    }
  };
  std::thread first(writer, 1);
  std::thread second(writer, 2);
  first.join();
  second.join();
  auto store = Open();
  EXPECT_EQ(store->Snapshots(21).size(), 30u);
  EXPECT_EQ(store->Alarms(21).size(), 30u);
  EXPECT_EQ(Firsts(store->Months(21)),
            (std::vector<std::pair<int, std::uint32_t>>{{logs::MonthIndex({2026, 1}), 15u},
                                                        {logs::MonthIndex({2026, 2}), 15u}}));
  EXPECT_EQ(store->FindSite(21)->lastContact, "2026-02-01 10:24:00");
}

TEST_P(HistoryStoreTest, AnOlderStoreIsBroughtUpToDateAndANewerOneRefused) {
  QStringList older = CreateStatements(DialectUsed(), 1);
  older << QStringLiteral(
      "INSERT INTO sites VALUES (5, 'Old', 1, 1, 0, '2025-01-01 00:00:00', '2025-03-01 00:00:00')");
  for (const char* at : {"2025-01-01 00:00:00", "2025-02-01 00:00:00", "2025-03-01 00:00:00"}) {
    older << QStringLiteral("INSERT INTO snapshots VALUES (5, '%1', %2)")
                 .arg(QLatin1String(at),
                      location_.postgresql ? QStringLiteral("'\\x00'") : QStringLiteral("x'00'"));
  }
  Execute(older);
  {
    auto store = Open();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->SchemaVersion(), CurrentSchemaVersion);
    EXPECT_EQ(store->FindSite(5)->previousContact, "2025-02-01 00:00:00");
  }
  Execute({QStringLiteral("UPDATE store_info SET schema_version = 99")});
  QString error;
  EXPECT_FALSE(HistoryStore::Open(location_, error));
  EXPECT_TRUE(error.contains(QStringLiteral("schema version 99"))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(SQLite, HistoryStoreTest, ::testing::Values(Backend::SQLite));
INSTANTIATE_TEST_SUITE_P(PostgreSQL, HistoryStoreTest, ::testing::Values(Backend::PostgreSQL));

TEST(StoreLocation, ParsesFilesAndPostgresAddressesAndRefusesPasswords) {
  struct Case {
    const char* text;
    bool ok;
    const char* normal;  // Text() of the location
  };
  const std::vector<Case> cases = {
      {"/var/lib/qd/history.sqlite", true, "/var/lib/qd/history.sqlite"},
      {" postgresql://service@db.example:5433/fleet ", true, "postgresql://service@db.example:5433/fleet"},
      {"postgres://db/fleet", true, "postgresql://db/fleet"},
      {"postgresql://service:secret@db/fleet", false, ""},
      {"postgresql://db/", false, ""},
      {"postgresql://db/fleet?sslmode=disable", false, ""},
      {"postgresql:///fleet", false, ""},
      {"mysql://db/fleet", false, ""},
      {"  ", false, ""},
  };
  for (const Case& c : cases) {
    QString error;
    const auto location = ParseStoreLocation(QString::fromLatin1(c.text), error);
    EXPECT_EQ(location.has_value(), c.ok) << c.text;
    EXPECT_EQ(location.has_value(), error.isEmpty()) << c.text;
    if (location) {
      EXPECT_EQ(location->Text().toStdString(), c.normal);
    }
  }
}

TEST(StoreLocation, AStoreThatCannotBeMadeSaysWhy) {
  StoreLocation location;
  location.path = QStringLiteral("/proc/no/such/history.sqlite");
  QString error;
  EXPECT_FALSE(HistoryStore::Open(location, error));
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace qd::store

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // Qt SQL loads its drivers as plugins
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
