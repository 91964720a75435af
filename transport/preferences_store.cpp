#include "transport/preferences_store.h"

#include <QStandardPaths>

namespace qd::transport {

std::unique_ptr<QSettings> OpenPreferences() {
  const QString file = qEnvironmentVariable(PreferencesFileVariable);
  if (!file.isEmpty()) return std::make_unique<QSettings>(file, QSettings::IniFormat);
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(
      QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrelon\\QDsystem\\QD310"), QSettings::NativeFormat);
#else
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return std::make_unique<QSettings>(folder + QStringLiteral("/Kestrelon/QDsystem/QD310.ini"),
                                     QSettings::IniFormat);
#endif
}

}  // namespace qd::transport
