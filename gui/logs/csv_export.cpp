#include "gui/logs/csv_export.h"

#include <QCoreApplication>

#include "app/file_io.h"
#include "gui/app/file_dialog.h"
#include "gui/app/message_dialog.h"
#include "gui/app/text_codec.h"

namespace qd::gui {

bool ExportCsv(const QString& title, const QString& fileName, const std::string& csv) {
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::Save;
  request.title = title;
  //: File dialog filter: descriptions and patterns separated by '|'; translate the descriptions only
  request.filter = QCoreApplication::translate("CsvExport", "CSV file|*.csv|Any file|*.*");
  request.defaultSuffix = QStringLiteral("csv");
  request.fileName = InDocumentsFolder(fileName);
  const QString chosen = AskFileName(request);
  if (chosen.isEmpty()) return false;
  const qd::FileResult written = qd::WriteFileAtomically(PathOf(chosen), csv);
  if (!written.ok) {
    ShowMessageBox(QCoreApplication::translate("CsvExport", "Unable to export \"%1\".\n\n%2")
                       .arg(chosen, FromCp1252(written.error)),
                   DialogType::Error);
  }
  return written.ok;
}

}  // namespace qd::gui
