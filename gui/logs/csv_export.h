#pragma once

#include <QString>
#include <string>

namespace qd::gui {

// Asks where to save `csv` (suggesting `fileName` in the user's documents folder) and writes it whole or
// not at all; a failure is shown with the file name and the reason. True when the file was written.
bool ExportCsv(const QString& title, const QString& fileName, const std::string& csv);

}  // namespace qd::gui
