#pragma once

#include <QString>
#include <functional>

namespace qd::gui {

struct FileDialogRequest {
  enum class Kind { Open, Save };
  Kind kind = Kind::Open;
  QString title;
  // As the program names its filters: "XML-file (*.xml)|*.xml|Any file (*.*)|*.*", description and
  // pattern pairs separated by '|'.
  QString filter;
  QString defaultSuffix;  // without the dot
  QString fileName;       // preselected
};

// The open or save dialog, modal. Gives the chosen path, or an empty text when cancelled.
QString AskFileName(const FileDialogRequest& request);

// `fileName` in the user's documents folder: where a new export is suggested.
QString InDocumentsFolder(const QString& fileName);

// The Qt filter text of a '|'-separated filter: "XML-file (*.xml);;Any file (*.*)".
QString QtFilterOf(const QString& filter);

// Tests choose the file instead of a user.
using FileDialogAnswerer = std::function<QString(const FileDialogRequest&)>;
void SetFileDialogAnswerer(FileDialogAnswerer answerer);  // empty: real dialogs again

}  // namespace qd::gui

#include <filesystem>

namespace qd::gui {

// A path chosen in a dialog as the core's file functions take it.
std::filesystem::path PathOf(const QString& fileName);

}  // namespace qd::gui
