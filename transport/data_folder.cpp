#include "transport/data_folder.h"

#include <QDir>
#include <QStandardPaths>

namespace qd::transport {

QString UserDataFolder() {
  const QString overridden = qEnvironmentVariable("QDSYSTEM_DATA");
  if (!overridden.isEmpty()) return QDir::cleanPath(overridden);
  const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return QDir::cleanPath(generic + QStringLiteral("/Kestrelon/QDsystem"));
}

QString BackupFolder() {
  return UserDataFolder() + QStringLiteral("/backups");
}

QString CalibrationHistoryFile() {
  return UserDataFolder() + QStringLiteral("/calibrations.csv");
}

}  // namespace qd::transport
