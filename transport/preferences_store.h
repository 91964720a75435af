#pragma once

#include <QSettings>
#include <memory>

namespace qd::transport {

// The environment variable that points the preferences at an INI file of its own (tests).
inline constexpr char PreferencesFileVariable[] = "QDSYSTEM_SETTINGS";

// The preference store shared by qdsystem and qdtool: the machine-wide registry key on Windows, an INI
// file in the user's configuration folder elsewhere, or the file the environment variable names.
std::unique_ptr<QSettings> OpenPreferences();

}  // namespace qd::transport
