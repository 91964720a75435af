#include "gui/app/message_dialog.h"

#include <QApplication>
#include <QCoreApplication>

#include "app/diagnostic_log.h"
#include "gui/app/text_codec.h"

namespace qd::gui {
namespace {

MessageBoxAnswerer& Answerer() {
  static MessageBoxAnswerer answerer;
  return answerer;
}

QString CaptionOf(DialogType type) {
  switch (type) {
    case DialogType::Warning:
      return QCoreApplication::translate("MessageDialog", "Warning");
    case DialogType::Error:
      return QCoreApplication::translate("MessageDialog", "Error");
    case DialogType::Information:
      return QCoreApplication::translate("MessageDialog", "Information");
    case DialogType::Confirmation:
      return QCoreApplication::translate("MessageDialog", "Confirm");
  }
  return {};
}

QMessageBox::Icon IconOf(DialogType type) {
  switch (type) {
    case DialogType::Warning:
      return QMessageBox::Warning;
    case DialogType::Error:
      return QMessageBox::Critical;
    case DialogType::Information:
      return QMessageBox::Information;
    case DialogType::Confirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton Show(const MessageBoxRequest& request) {
  if (Answerer()) return Answerer()(request);
  QMessageBox box(IconOf(request.type), request.caption, request.text, request.buttons,
                  QApplication::activeWindow());
  if (request.defaultButton != QMessageBox::NoButton) box.setDefaultButton(request.defaultButton);
  const int pressed = box.exec();
  const auto button = static_cast<QMessageBox::StandardButton>(pressed);
  if (request.buttons.testFlag(button)) return button;
  return request.buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::NoButton;
}

}  // namespace

QMessageBox::StandardButton ShowMessageDialog(const QString& text, DialogType type,
                                              QMessageBox::StandardButtons buttons, int /*helpContext*/) {
  DiagnosticLog::Instance().Write("MsgDialog: %s", ToCp1252(text).c_str());
  return Show({text, CaptionOf(type), type, buttons, true});
}

QMessageBox::StandardButton ShowMessageBox(const QString& text, DialogType type,
                                           QMessageBox::StandardButtons buttons, const QString& caption,
                                           QMessageBox::StandardButton defaultButton) {
  return Show({text, caption.isEmpty() ? CaptionOf(type) : caption, type, buttons, false, defaultButton});
}

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
  Answerer() = std::move(answerer);
}

}  // namespace qd::gui
