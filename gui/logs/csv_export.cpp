#include "gui/logs/csv_export.h"

#include "app/file_io.h"
#include "gui/app/file_dialog.h"
#include "gui/app/message_dialog.h"

namespace qd::gui {

bool ExportCsv(const QString& title, const QString& fileName, const std::string& csv) {
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::Save;
  request.title = title;
  request.filter = QStringLiteral("CSV file|*.csv|Any file|*.*");
  request.defaultSuffix = QStringLiteral("csv");
  request.fileName = InDocumentsFolder(fileName);
  const QString chosen = AskFileName(request);
  if (chosen.isEmpty()) return false;
  const qd::FileResult written = qd::WriteFileAtomically(PathOf(chosen), csv);
  if (!written.ok) {
    ShowMessageBox(
        QStringLiteral("Unable to export \"%1\".\n\n%2").arg(chosen, QString::fromStdString(written.error)),
        DialogType::Error);
  }
  return written.ok;
}

}  // namespace qd::gui
