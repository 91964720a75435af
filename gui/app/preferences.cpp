#include "gui/app/preferences.h"

#include <QFile>

namespace qd::gui {
namespace {

// False when the value is missing or not a whole number.
bool ReadInteger(QSettings& store, const QString& name, std::optional<int>& out) {
  bool ok = false;
  const int value = store.value(name).toInt(&ok);
  if (!ok) return false;
  out = value;
  return true;
}

// A missing text reads as an empty one, as the registry gives it; a number or a list is the wrong type.
bool ReadText(QSettings& store, const QString& name, std::optional<QString>& out) {
  const QVariant value = store.value(name, QString());
  if (value.typeId() != QMetaType::QString) return false;
  out = value.toString();
  return true;
}

bool ReadBoolean(QSettings& store, const QString& name, std::optional<bool>& out) {
  std::optional<int> number;
  if (!ReadInteger(store, name, number)) return false;
  out = *number != 0;
  return true;
}

}  // namespace

StoredPreferences ReadPreferences(QSettings& store) {
  StoredPreferences read;
  if (store.status() != QSettings::NoError) return read;
  if (store.contains(QStringLiteral("GatewayServer")))
    ReadText(store, QStringLiteral("GatewayServer"), read.gatewayServer);

  std::optional<int> number;
  if (store.contains(QStringLiteral("Width"))) {
    if (!ReadInteger(store, QStringLiteral("Width"), number)) return read;
    read.width = std::max(*number, MinimumWidth);
  }
  if (store.contains(QStringLiteral("Height"))) {
    if (!ReadInteger(store, QStringLiteral("Height"), number)) return read;
    read.height = std::max(*number, MinimumHeight);
  }
  if (store.contains(QStringLiteral("Left")) && store.contains(QStringLiteral("Top"))) {
    std::optional<int> left;
    std::optional<int> top;
    if (!ReadInteger(store, QStringLiteral("Left"), left)) return read;
    if (!ReadInteger(store, QStringLiteral("Top"), top)) return read;
    read.topLeft = QPoint(*left, *top);
  }
  if (!store.contains(QStringLiteral("LastSystemFileName"))) return read;
  if (!ReadText(store, QStringLiteral("LastSystemFileName"), read.lastSystemFileName)) return read;
  if (!ReadText(store, QStringLiteral("ComPort"), read.comPort)) return read;
  if (!ReadBoolean(store, QStringLiteral("CommLocal"), read.commLocal)) return read;
  if (!ReadText(store, QStringLiteral("LastFirmwareFile1"), read.lastFirmwareFile)) return read;
  if (!ReadText(store, QStringLiteral("LoginCode"), read.loginCode)) return read;
  return read;
}

void WritePreferences(QSettings& store, const PreferencesToWrite& values) {
  const auto write = [&store](const char* name, const QVariant& value) {
    if (!store.isWritable()) return false;
    store.setValue(QString::fromLatin1(name), value);
    return true;
  };
  write("LastSystemFileName", values.lastSystemFileName) && write("CommLocal", values.commLocal ? 1 : 0) &&
      write("ComPort", values.comPort) && write("LastFirmwareFile1", values.lastFirmwareFile) &&
      write("LoginCode", values.loginCode) && write("Width", values.width) &&
      write("Height", values.height) && write("Left", values.left) && write("Top", values.top) &&
      write("GatewayServer", values.gatewayServer);
  SyncPrivately(store);
}

void SyncPrivately(QSettings& store) {
  store.sync();
  // The file holds the user's login code: for the user's eyes only, on a laptop that others use too.
  if (store.format() == QSettings::IniFormat)
    QFile::setPermissions(store.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace qd::gui
