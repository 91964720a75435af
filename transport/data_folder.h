#pragma once

#include <QString>

namespace qd::transport {

// The user's data folder of QDsystem, shared by qdsystem and qdtool: $QDSYSTEM_DATA when set, otherwise
// "Kestrelon/QDsystem" in the platform's data folder (~/.local/share on Linux, %LOCALAPPDATA% on
// Windows). Not created here.
QString UserDataFolder();

// Where every read from a controller leaves its backup.
QString BackupFolder();

// The calibration history: every calibration accepted in the pump calibration window.
QString CalibrationHistoryFile();

}  // namespace qd::transport
