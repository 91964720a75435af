#pragma once

#include <QPoint>
#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

#include "transport/preferences_store.h"

namespace qd::gui {

using qd::transport::OpenPreferences;
using qd::transport::PreferencesFileVariable;

// What the first activation takes from the store. Reading stops at the first value of the wrong type
// and at a missing number once "LastSystemFileName" exists ("CommLocal"); a missing text reads as empty.
// Values after the stop stay unset.
struct StoredPreferences {
  std::optional<int> width;       // raised to MinimumWidth
  std::optional<int> height;      // raised to MinimumHeight
  std::optional<QPoint> topLeft;  // only when both "Left" and "Top" exist
  // Only when "LastSystemFileName" exists:
  std::optional<QString> lastSystemFileName;
  std::optional<QString> comPort;
  std::optional<bool> commLocal;
  std::optional<QString> lastFirmwareFile;
  std::optional<QString> loginCode;
  // Read whatever came before: the last gateway host used, offered in the remote group's list.
  std::optional<QString> gatewayServer;
};

// What the program writes at close, in the store's order.
struct PreferencesToWrite {
  QString lastSystemFileName;
  bool commLocal = false;
  QString comPort;
  QString lastFirmwareFile;
  QString loginCode;
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
  QString gatewayServer;
};

inline constexpr int MinimumWidth = 800;
inline constexpr int MinimumHeight = 50;

StoredPreferences ReadPreferences(QSettings& store);
// Stops at the first value the store refuses; the values written before it stay.
void WritePreferences(QSettings& store, const PreferencesToWrite& values);
// Writes the store out, readable by the user alone.
void SyncPrivately(QSettings& store);

}  // namespace qd::gui
