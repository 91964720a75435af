#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

namespace qd::gui {

enum class DialogType { Warning, Error, Information, Confirmation };

struct MessageBoxRequest {
  QString text;
  QString caption;
  DialogType type = DialogType::Information;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  bool logged = false;  // went through ShowMessageDialog
  // The button Enter presses; NoButton: the box's own choice (the first accepting button).
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Shows the message box modally and gives the button pressed (Cancel or Escape's button when the box
// was closed otherwise). Writes "MsgDialog: <text>" to the diagnostic log first.
QMessageBox::StandardButton ShowMessageDialog(const QString& text, DialogType type,
                                              QMessageBox::StandardButtons buttons, int helpContext = 0);

// The boxes that are shown directly, without a log entry. An empty caption gives the type's caption.
QMessageBox::StandardButton ShowMessageBox(const QString& text, DialogType type,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           const QString& caption = {},
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// Tests answer the boxes instead of a user: every box is handed to the answerer and not shown.
using MessageBoxAnswerer = std::function<QMessageBox::StandardButton(const MessageBoxRequest&)>;
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);  // an empty answerer shows real boxes again

}  // namespace qd::gui
