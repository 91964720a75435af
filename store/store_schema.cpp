#include "store/store_schema.h"

namespace qd::store {

namespace {

QString ImageType(Dialect dialect) {
  return dialect == Dialect::PostgreSQL ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
}

}  // namespace

QStringList CreateStatements(Dialect dialect, int version) {
  QStringList statements = {
      QStringLiteral("CREATE TABLE store_info (schema_version INTEGER NOT NULL)"),
      QStringLiteral("INSERT INTO store_info (schema_version) VALUES (1)"),
      QStringLiteral(
          "CREATE TABLE sites (serial BIGINT PRIMARY KEY, name TEXT NOT NULL, hardware INTEGER NOT NULL, "
          "firmware_major INTEGER NOT NULL, firmware_minor INTEGER NOT NULL, "
          "first_contact TEXT NOT NULL, last_contact TEXT NOT NULL)"),
      QStringLiteral(
          "CREATE TABLE months (serial BIGINT NOT NULL, month INTEGER NOT NULL, machine INTEGER NOT NULL, "
          "counters TEXT NOT NULL, carried TEXT NOT NULL, read_at TEXT NOT NULL, "
          "PRIMARY KEY (serial, month, machine))"),
      QStringLiteral("CREATE TABLE alarms (serial BIGINT NOT NULL, at TEXT NOT NULL, kind INTEGER NOT NULL, "
                     "number INTEGER NOT NULL, trigger_type INTEGER NOT NULL, "
                     "PRIMARY KEY (serial, at, kind, number, trigger_type))"),
      QStringLiteral(
          "CREATE TABLE snapshots (serial BIGINT NOT NULL, read_at TEXT NOT NULL, image %1 NOT NULL, "
          "PRIMARY KEY (serial, read_at))")
          .arg(ImageType(dialect)),
  };
  for (int from = 1; from < version; ++from)
    statements += MigrationStatements(dialect, from);
  return statements;
}

QStringList MigrationStatements(Dialect, int version) {
  switch (version) {
    case 1:
      // The contact before the last one, for the alarms that came since; known from the snapshots.
      return {QStringLiteral("ALTER TABLE sites ADD COLUMN previous_contact TEXT NOT NULL DEFAULT ''"),
              QStringLiteral(
                  "UPDATE sites SET previous_contact = COALESCE((SELECT MAX(read_at) FROM snapshots "
                  "WHERE snapshots.serial = sites.serial AND snapshots.read_at < sites.last_contact), '')"),
              QStringLiteral("UPDATE store_info SET schema_version = 2")};
    default:
      return {};
  }
}

}  // namespace qd::store
