#include "gui/logs/confirmed_request.h"

#include "gui/app/app.h"
#include "gui/app/message_dialog.h"
#include "gui/app/text_codec.h"
#include "gui/link/eeprom_form.h"

namespace qd::gui {

void RunConfirmedRequest(App& app, qd::link::Operation operation, const QString& question,
                         const std::function<bool()>& send) {
  qd::transport::Connection& link = app.Connection();
  if (!link.Begin(operation)) {
    ShowMessageBox(FromCp1252(link.BusyText()), DialogType::Warning);
    return;
  }
  const bool confirmed = app.Eeprom().CheckLoginCode() &&
                         ShowMessageDialog(question, DialogType::Warning,
                                           QMessageBox::Yes | QMessageBox::Cancel) == QMessageBox::Yes;
  if (!confirmed || !send()) {
    link.End(operation, false);
    return;
  }
  // The limit runs from the request on, not from the question.
  link.Begin(operation, qd::link::ConfirmationLimitTicks);
}

}  // namespace qd::gui
