#pragma once

#include <QString>
#include <optional>

namespace qd::store {

// Where the history store lives: an SQLite file of the user's own, or a PostgreSQL database a service
// team shares. The password of a PostgreSQL user never appears here: libpq finds it where it always
// looks ($PGPASSFILE, ~/.pgpass).
struct StoreLocation {
  bool postgresql = false;
  QString path;  // SQLite
  QString host;  // PostgreSQL
  int port = 0;  // 0: libpq's default
  QString user;  // empty: libpq's default (the login name, $PGUSER)
  QString database;

  // "postgresql://user@host:port/db" or the file's path.
  QString Text() const;
  bool operator==(const StoreLocation&) const = default;
};

// The preference that names the store; empty or absent means the SQLite file in the data folder.
inline constexpr char StorePreferenceKey[] = "HistoryStore";

// "postgresql://[USER@]HOST[:PORT]/DATABASE" (also "postgres://"), or the path of an SQLite file. A
// password in the text is refused: it would sit in plain preferences and shell histories.
std::optional<StoreLocation> ParseStoreLocation(const QString& text, QString& error);

// The SQLite file in the user's data folder.
StoreLocation DefaultStoreLocation();

// `given` when not empty (qdtool --store), else the preference, else the default.
std::optional<StoreLocation> ChosenStoreLocation(const QString& given, QString& error);

}  // namespace qd::store
