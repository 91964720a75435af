#include "gui/app/file_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>
#include <QStringList>

namespace qd::gui {
namespace {

FileDialogAnswerer& Answerer() {
  static FileDialogAnswerer answerer;
  return answerer;
}

}  // namespace

QString InDocumentsFolder(const QString& fileName) {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(fileName);
}

QString QtFilterOf(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << (description.contains(QLatin1Char('(')) ? description
                                                       : description + QStringLiteral(" (") + patterns + ')');
  }
  QString joined = filters.join(QStringLiteral(";;"));
#ifndef Q_OS_WIN
  joined.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));  // files without an extension too
#endif
  return joined;
}

QString AskFileName(const FileDialogRequest& request) {
  if (Answerer()) return Answerer()(request);
  QFileDialog dialog(QApplication::activeWindow(), request.title, {}, QtFilterOf(request.filter));
  dialog.setAcceptMode(request.kind == FileDialogRequest::Kind::Open ? QFileDialog::AcceptOpen
                                                                     : QFileDialog::AcceptSave);
  dialog.setFileMode(request.kind == FileDialogRequest::Kind::Open ? QFileDialog::ExistingFile
                                                                   : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

void SetFileDialogAnswerer(FileDialogAnswerer answerer) {
  Answerer() = std::move(answerer);
}

}  // namespace qd::gui

namespace qd::gui {

std::filesystem::path PathOf(const QString& fileName) {
#ifdef Q_OS_WIN
  return std::filesystem::path(fileName.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(fileName).toStdString());
#endif
}

}  // namespace qd::gui
