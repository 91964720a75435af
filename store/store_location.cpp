#include "store/store_location.h"

#include <QUrl>

#include "transport/data_folder.h"
#include "transport/preferences_store.h"

namespace qd::store {

QString StoreLocation::Text() const {
  if (!postgresql) return path;
  QString text = QStringLiteral("postgresql://");
  if (!user.isEmpty()) text += user + QLatin1Char('@');
  text += host;
  if (port != 0) text += QLatin1Char(':') + QString::number(port);
  return text + QLatin1Char('/') + database;
}

namespace {

std::optional<StoreLocation> ParsePostgresUrl(const QString& text, QString& error) {
  const QUrl url(text, QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty()) {
    error =
        QStringLiteral("%1 is not a PostgreSQL address (postgresql://[USER@]HOST[:PORT]/DATABASE)").arg(text);
    return std::nullopt;
  }
  if (!url.password().isEmpty()) {
    error = QStringLiteral(
        "the store address holds a password; put it in ~/.pgpass (or the file $PGPASSFILE names)");
    return std::nullopt;
  }
  StoreLocation location;
  location.postgresql = true;
  location.host = url.host();
  location.port = url.port(0);
  location.user = url.userName();
  location.database = url.path().mid(1);
  if (location.database.isEmpty() || location.database.contains(QLatin1Char('/')) || url.hasQuery()) {
    error = QStringLiteral("%1 names no database (postgresql://[USER@]HOST[:PORT]/DATABASE)").arg(text);
    return std::nullopt;
  }
  return location;
}

}  // namespace

std::optional<StoreLocation> ParseStoreLocation(const QString& text, QString& error) {
  const QString trimmed = text.trimmed();
  if (trimmed.startsWith(QStringLiteral("postgresql://")) ||
      trimmed.startsWith(QStringLiteral("postgres://")))
    return ParsePostgresUrl(trimmed, error);
  if (trimmed.contains(QStringLiteral("://"))) {
    error = QStringLiteral("%1: the store is an SQLite file or a postgresql:// address").arg(trimmed);
    return std::nullopt;
  }
  if (trimmed.isEmpty()) {
    error = QStringLiteral("no store given");
    return std::nullopt;
  }
  StoreLocation location;
  location.path = trimmed;
  return location;
}

StoreLocation DefaultStoreLocation() {
  StoreLocation location;
  location.path = transport::UserDataFolder() + QStringLiteral("/history.sqlite");
  return location;
}

std::optional<StoreLocation> ChosenStoreLocation(const QString& given, QString& error) {
  if (!given.isEmpty()) return ParseStoreLocation(given, error);
  const QString preferred = transport::OpenPreferences()->value(QLatin1String(StorePreferenceKey)).toString();
  if (!preferred.trimmed().isEmpty()) return ParseStoreLocation(preferred, error);
  return DefaultStoreLocation();
}

}  // namespace qd::store
