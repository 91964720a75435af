#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The tables of the history store and how an older store is brought up to date. The same tables serve
// SQLite and PostgreSQL; only the type of the image column differs.
//
//   store_info  one row: the schema version
//   sites       serial (key), name, hardware, firmware, first/last/previous contact
//   months      serial, month (year x 12 + month - 1), machine: the counters of the last read, those
//               carried over resets, and the time of the last read
//   alarms      serial, time, kind, number, trigger type (all of them the key): each alarm once
//   snapshots   serial, time of the read (the key), the image as read
namespace qd::store {

inline constexpr int CurrentSchemaVersion = 2;

enum class Dialect { SQLite, PostgreSQL };

// The statements that create the tables of schema `version` (1 or the current one) in an empty store.
QStringList CreateStatements(Dialect dialect, int version);

// The statements that take a store of `version` to `version + 1`.
QStringList MigrationStatements(Dialect dialect, int version);

}  // namespace qd::store
