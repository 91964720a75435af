#include "store/history_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <map>

#include "app/cp1252_text.h"
#include "history/month_merge.h"
#include "store/store_schema.h"

namespace qd::store {

namespace {

// The lock of the schema itself; sites lock their serial numbers (32 bits), so this never collides.
constexpr std::int64_t SchemaLockKey = std::int64_t{1} << 40;

QString NextConnectionName() {
  static std::atomic<int> next{0};
  return QStringLiteral("qdstore-%1").arg(next++);
}

QString Why(const QSqlError& error) {
  const QString text = error.text().trimmed();
  return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

bool Exec(QSqlQuery& query, QString& error) {
  if (query.exec()) return true;
  error = Why(query.lastError());
  return false;
}

bool ExecText(QSqlDatabase db, const QString& statement, QString& error) {
  QSqlQuery query(db);
  if (query.exec(statement)) return true;
  error = Why(query.lastError()) + QStringLiteral(" (") + statement.left(60) + QStringLiteral(")");
  return false;
}

QString Text(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string Bytes(const QVariant& value) {
  return value.toString().toLatin1().toStdString();
}

// Names are windows-1252 in the core and Unicode in the database, so that other tools read them right.
QString NameText(const std::string& bytes) {
  return QString::fromStdString(Utf8OfCp1252(bytes));
}

std::string NameBytes(const QVariant& value) {
  std::string bytes;
  for (const char32_t code : value.toString().toUcs4())
    bytes += Cp1252ByteOf(code);
  return bytes;
}

Dialect DialectOf(const StoreLocation& location) {
  return location.postgresql ? Dialect::PostgreSQL : Dialect::SQLite;
}

// The SQLite file is created private to the user before SQLite opens it; its journal takes the same mode.
bool PrepareSQLiteFile(const QString& path, QString& error) {
  const QFileInfo file(path);
  if (file.exists()) return true;
  if (!QDir().mkpath(file.absolutePath())) {
    error = QStringLiteral("cannot create the folder %1").arg(file.absolutePath());
    return false;
  }
  QFile::setPermissions(file.absolutePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QFile created(path);
  if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
    if (QFileInfo::exists(path)) return true;  // another tool was quicker
    error = QStringLiteral("cannot create %1: %2").arg(path, created.errorString());
    return false;
  }
  created.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  return true;
}

history::Site SiteOf(const QSqlQuery& query) {
  history::Site site;
  site.identity.serial = static_cast<std::uint32_t>(query.value(0).toLongLong());
  site.identity.name = NameBytes(query.value(1));
  site.identity.hardware = query.value(2).toInt();
  site.identity.firmwareMajor = query.value(3).toInt();
  site.identity.firmwareMinor = query.value(4).toInt();
  site.firstContact = Bytes(query.value(5));
  site.lastContact = Bytes(query.value(6));
  site.previousContact = Bytes(query.value(7));
  return site;
}

const QString SiteColumns = QStringLiteral(
    "serial, name, hardware, firmware_major, firmware_minor, first_contact, last_contact, previous_contact");

}  // namespace

HistoryStore::HistoryStore(StoreLocation location, QString connectionName)
    : location_(std::move(location)), connectionName_(std::move(connectionName)) {}

HistoryStore::~HistoryStore() {
  {
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (db.isOpen()) db.close();
  }
  QSqlDatabase::removeDatabase(connectionName_);
}

std::unique_ptr<HistoryStore> HistoryStore::Open(const StoreLocation& location, QString& error) {
  std::unique_ptr<HistoryStore> store(new HistoryStore(location, NextConnectionName()));
  if (!store->Connect(error) || !store->PrepareSchema(error)) return nullptr;
  return store;
}

bool HistoryStore::Connect(QString& error) {
  const QString driver = location_.postgresql ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
  if (!QSqlDatabase::isDriverAvailable(driver)) {
    error = location_.postgresql
                ? QStringLiteral("Qt's PostgreSQL driver is not installed (Debian: libqt6sql6-psql)")
                : QStringLiteral("Qt's SQLite driver is not installed (Debian: libqt6sql6-sqlite)");
    return false;
  }
  QSqlDatabase db = QSqlDatabase::addDatabase(driver, connectionName_);
  if (location_.postgresql) {
    db.setHostName(location_.host);
    if (location_.port != 0) db.setPort(location_.port);
    if (!location_.user.isEmpty()) db.setUserName(location_.user);
    db.setDatabaseName(location_.database);
    db.setConnectOptions(QStringLiteral("connect_timeout=10"));
  } else {
    if (!PrepareSQLiteFile(location_.path, error)) return false;
    db.setDatabaseName(location_.path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
  }
  if (!db.open()) {
    error = QStringLiteral("cannot open the history store %1: %2").arg(location_.Text(), Why(db.lastError()));
    return false;
  }
  if (!location_.postgresql) {
    QString ignored;
    ExecText(db, QStringLiteral("PRAGMA journal_mode=WAL"), ignored);
  }
  return true;
}

bool HistoryStore::Begin(std::int64_t lockKey, QString& error) {
  QSqlDatabase db = QSqlDatabase::database(connectionName_);
  if (!location_.postgresql) return ExecText(db, QStringLiteral("BEGIN IMMEDIATE"), error);
  if (!ExecText(db, QStringLiteral("BEGIN"), error)) return false;
  QSqlQuery lock(db);
  lock.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(?)"));
  lock.addBindValue(QVariant::fromValue<qlonglong>(lockKey));
  if (Exec(lock, error)) return true;
  Rollback();
  return false;
}

void HistoryStore::Rollback() {
  QString ignored;
  ExecText(QSqlDatabase::database(connectionName_), QStringLiteral("ROLLBACK"), ignored);
}

int HistoryStore::SchemaVersion() const {
  QSqlQuery query(QSqlDatabase::database(connectionName_));
  if (!query.exec(QStringLiteral("SELECT schema_version FROM store_info")) || !query.next()) return 0;
  return query.value(0).toInt();
}

bool HistoryStore::PrepareSchema(QString& error) {
  QSqlDatabase db = QSqlDatabase::database(connectionName_);
  if (!Begin(SchemaLockKey, error)) {
    error = QStringLiteral("cannot use the history store %1: %2").arg(location_.Text(), error);
    return false;
  }
  const bool exists = db.tables().contains(QStringLiteral("store_info"));
  const int version = exists ? SchemaVersion() : 0;
  QStringList statements;
  if (!exists) {
    statements = CreateStatements(DialectOf(location_), CurrentSchemaVersion);
  } else if (version > CurrentSchemaVersion || version < 1) {
    Rollback();
    error = QStringLiteral("the history store %1 has schema version %2; this QDsystem knows versions 1 to %3")
                .arg(location_.Text())
                .arg(version)
                .arg(CurrentSchemaVersion);
    return false;
  } else {
    for (int from = version; from < CurrentSchemaVersion; ++from)
      statements += MigrationStatements(DialectOf(location_), from);
  }
  for (const QString& statement : statements) {
    if (!ExecText(db, statement, error)) {
      Rollback();
      error = QStringLiteral("cannot prepare the history store %1: %2").arg(location_.Text(), error);
      return false;
    }
  }
  return ExecText(db, QStringLiteral("COMMIT"), error);
}

bool HistoryStore::Record(const history::ReadRecord& read, QString& error) {
  if (!Begin(read.site.serial, error)) return false;
  if (RecordSite(read, error) && RecordMonths(read, error) && RecordAlarms(read, error) &&
      RecordSnapshot(read, error) &&
      ExecText(QSqlDatabase::database(connectionName_), QStringLiteral("COMMIT"), error))
    return true;
  Rollback();
  return false;
}

bool HistoryStore::RecordSite(const history::ReadRecord& read, QString& error) {
  QSqlDatabase db = QSqlDatabase::database(connectionName_);
  const std::optional<history::Site> known = FindSite(read.site.serial);
  if (!lastError_.isEmpty()) {
    error = lastError_;
    return false;
  }
  history::Site site = known.value_or(history::Site{read.site, read.readAt, read.readAt, {}});
  if (known) {
    if (read.readAt > site.lastContact) {
      site.identity = read.site;  // the newest read names the site
      site.previousContact = site.lastContact;
      site.lastContact = read.readAt;
    } else if (read.readAt < site.lastContact && read.readAt > site.previousContact) {
      site.previousContact = read.readAt;
    }
    site.firstContact = std::min(site.firstContact, read.readAt);
  }
  QSqlQuery query(db);
  query.prepare(
      QStringLiteral("INSERT INTO sites (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?) "
                     "ON CONFLICT (serial) DO UPDATE SET name = excluded.name, hardware = excluded.hardware, "
                     "firmware_major = excluded.firmware_major, firmware_minor = excluded.firmware_minor, "
                     "first_contact = excluded.first_contact, last_contact = excluded.last_contact, "
                     "previous_contact = excluded.previous_contact")
          .arg(SiteColumns));
  query.addBindValue(QVariant::fromValue<qlonglong>(site.identity.serial));
  query.addBindValue(NameText(site.identity.name));
  query.addBindValue(site.identity.hardware);
  query.addBindValue(site.identity.firmwareMajor);
  query.addBindValue(site.identity.firmwareMinor);
  query.addBindValue(Text(site.firstContact));
  query.addBindValue(Text(site.lastContact));
  query.addBindValue(Text(site.previousContact));
  return Exec(query, error);
}

bool HistoryStore::RecordMonths(const history::ReadRecord& read, QString& error) {
  if (read.months.empty()) return true;
  QSqlDatabase db = QSqlDatabase::database(connectionName_);
  QSqlQuery select(db);
  select.prepare(
      QStringLiteral("SELECT month, machine, counters, carried, read_at FROM months "
                     "WHERE serial = ? AND month >= ? AND month <= ?"));
  select.addBindValue(QVariant::fromValue<qlonglong>(read.site.serial));
  select.addBindValue(logs::MonthIndex(read.months.front().month));
  select.addBindValue(logs::MonthIndex(read.months.back().month));
  if (!Exec(select, error)) return false;
  std::map<std::pair<int, int>, history::StoredMonth> stored;
  while (select.next()) {
    const auto counters = history::ParseCounters(Bytes(select.value(2)));
    const auto carried = history::ParseCounters(Bytes(select.value(3)));
    if (!counters || !carried) {
      error =
          QStringLiteral("the history store holds a month it cannot read (site %1)").arg(read.site.serial);
      return false;
    }
    stored[{select.value(0).toInt(), select.value(1).toInt()}] = {*counters, *carried,
                                                                  Bytes(select.value(4))};
  }

  QSqlQuery upsert(db);
  upsert.prepare(
      QStringLiteral("INSERT INTO months (serial, month, machine, counters, carried, read_at) "
                     "VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (serial, month, machine) DO UPDATE SET "
                     "counters = excluded.counters, carried = excluded.carried, read_at = excluded.read_at"));
  for (const logs::ConsumptionRow& row : read.months) {
    const std::pair<int, int> key{logs::MonthIndex(row.month), row.machine};
    const auto found = stored.find(key);
    const std::optional<history::StoredMonth> before =
        found == stored.end() ? std::nullopt : std::optional(found->second);
    const history::StoredMonth merged = history::MergeMonth(before, row.counters, read.readAt);
    if (before && merged == *before) continue;
    upsert.addBindValue(QVariant::fromValue<qlonglong>(read.site.serial));
    upsert.addBindValue(key.first);
    upsert.addBindValue(key.second);
    upsert.addBindValue(Text(history::CountersText(merged.counters)));
    upsert.addBindValue(Text(history::CountersText(merged.carried)));
    upsert.addBindValue(Text(merged.readAt));
    if (!Exec(upsert, error)) return false;
  }
  return true;
}

bool HistoryStore::RecordAlarms(const history::ReadRecord& read, QString& error) {
  QSqlQuery insert(QSqlDatabase::database(connectionName_));
  insert.prepare(
      QStringLiteral("INSERT INTO alarms (serial, at, kind, number, trigger_type) VALUES (?, ?, ?, ?, ?) "
                     "ON CONFLICT DO NOTHING"));
  for (const history::AlarmEvent& alarm : read.alarms) {
    insert.addBindValue(QVariant::fromValue<qlonglong>(read.site.serial));
    insert.addBindValue(Text(alarm.time));
    insert.addBindValue(alarm.kind);
    insert.addBindValue(alarm.number);
    insert.addBindValue(alarm.triggerType);
    if (!Exec(insert, error)) return false;
  }
  return true;
}

bool HistoryStore::RecordSnapshot(const history::ReadRecord& read, QString& error) {
  if (read.image.empty()) return true;  // a record made without an image has no snapshot to keep
  QSqlQuery insert(QSqlDatabase::database(connectionName_));
  insert.prepare(QStringLiteral(
      "INSERT INTO snapshots (serial, read_at, image) VALUES (?, ?, ?) ON CONFLICT DO NOTHING"));
  insert.addBindValue(QVariant::fromValue<qlonglong>(read.site.serial));
  insert.addBindValue(Text(read.readAt));
  insert.addBindValue(QByteArray(reinterpret_cast<const char*>(read.image.data()),
                                 static_cast<qsizetype>(read.image.size())));
  return Exec(insert, error);
}

std::vector<history::Site> HistoryStore::Sites() {
  lastError_.clear();
  QSqlQuery query(QSqlDatabase::database(connectionName_));
  std::vector<history::Site> sites;
  if (!query.exec(QStringLiteral("SELECT %1 FROM sites ORDER BY serial").arg(SiteColumns))) {
    lastError_ = Why(query.lastError());
    return sites;
  }
  while (query.next())
    sites.push_back(SiteOf(query));
  return sites;
}

std::optional<history::Site> HistoryStore::FindSite(std::uint32_t serial) {
  lastError_.clear();
  QSqlQuery query(QSqlDatabase::database(connectionName_));
  query.prepare(QStringLiteral("SELECT %1 FROM sites WHERE serial = ?").arg(SiteColumns));
  query.addBindValue(QVariant::fromValue<qlonglong>(serial));
  if (!Exec(query, lastError_) || !query.next()) return std::nullopt;
  return SiteOf(query);
}

std::vector<history::SiteSummary> HistoryStore::SiteSummaries(const logs::PumpPrices& prices) {
  std::vector<history::SiteSummary> summaries;
  for (const history::Site& site : Sites()) {
    const auto newest = history::MonthOfTime(site.lastContact);
    const logs::YearMonth to = newest.value_or(logs::LatestLogMonth);
    const logs::ConsumptionRows rows =
        Months(site.identity.serial, logs::MonthOfIndex(logs::MonthIndex(to) - 11), to);
    summaries.push_back(history::SummarizeSite(site, rows, Alarms(site.identity.serial), prices));
    if (!lastError_.isEmpty()) return {};
  }
  return summaries;
}

logs::ConsumptionRows HistoryStore::Months(std::uint32_t serial, logs::YearMonth from, logs::YearMonth to) {
  lastError_.clear();
  QSqlQuery query(QSqlDatabase::database(connectionName_));
  query.setForwardOnly(true);
  query.prepare(
      QStringLiteral("SELECT month, machine, counters, carried FROM months "
                     "WHERE serial = ? AND month >= ? AND month <= ? ORDER BY month, machine"));
  query.addBindValue(QVariant::fromValue<qlonglong>(serial));
  query.addBindValue(logs::MonthIndex(from));
  query.addBindValue(logs::MonthIndex(to));
  logs::ConsumptionRows rows;
  if (!Exec(query, lastError_)) return rows;
  while (query.next()) {
    const auto counters = history::ParseCounters(Bytes(query.value(2)));
    const auto carried = history::ParseCounters(Bytes(query.value(3)));
    const int machine = query.value(1).toInt();
    if (!counters || !carried || machine < 1 || machine > logs::LoggedMachines) continue;
    rows.push_back({logs::MonthOfIndex(query.value(0).toInt()), machine,
                    history::StoredMonth{*counters, *carried, {}}.Total()});
  }
  return rows;
}

std::vector<history::AlarmEvent> HistoryStore::Alarms(std::uint32_t serial) {
  lastError_.clear();
  QSqlQuery query(QSqlDatabase::database(connectionName_));
  query.setForwardOnly(true);
  query.prepare(
      QStringLiteral("SELECT at, kind, number, trigger_type FROM alarms WHERE serial = ? "
                     "ORDER BY at, kind, number, trigger_type"));
  query.addBindValue(QVariant::fromValue<qlonglong>(serial));
  std::vector<history::AlarmEvent> alarms;
  if (!Exec(query, lastError_)) return alarms;
  while (query.next())
    alarms.push_back(
        {Bytes(query.value(0)), query.value(1).toInt(), query.value(2).toInt(), query.value(3).toInt()});
  return alarms;
}

std::vector<std::string> HistoryStore::Snapshots(std::uint32_t serial) {
  lastError_.clear();
  QSqlQuery query(QSqlDatabase::database(connectionName_));
  query.prepare(QStringLiteral("SELECT read_at FROM snapshots WHERE serial = ? ORDER BY read_at"));
  query.addBindValue(QVariant::fromValue<qlonglong>(serial));
  std::vector<std::string> times;
  if (!Exec(query, lastError_)) return times;
  while (query.next())
    times.push_back(Bytes(query.value(0)));
  return times;
}

std::optional<std::vector<std::uint8_t>> HistoryStore::SnapshotImage(std::uint32_t serial,
                                                                     const std::string& readAt) {
  lastError_.clear();
  QSqlQuery query(QSqlDatabase::database(connectionName_));
  query.prepare(QStringLiteral("SELECT image FROM snapshots WHERE serial = ? AND read_at = ?"));
  query.addBindValue(QVariant::fromValue<qlonglong>(serial));
  query.addBindValue(Text(readAt));
  if (!Exec(query, lastError_) || !query.next()) return std::nullopt;
  const QByteArray image = query.value(0).toByteArray();
  return std::vector<std::uint8_t>(image.begin(), image.end());
}

std::vector<history::TimelineStep> HistoryStore::Timeline(std::uint32_t serial) {
  std::vector<history::TimelineStep> steps;
  history::TimelineBuilder builder;
  for (const std::string& readAt : Snapshots(serial)) {
    std::optional<std::vector<std::uint8_t>> image = SnapshotImage(serial, readAt);
    if (!lastError_.isEmpty()) return {};
    steps.push_back(builder.Add(readAt, std::move(image)));
  }
  return steps;
}

}  // namespace qd::store
