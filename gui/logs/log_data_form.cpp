#include "gui/logs/log_data_form.h"

namespace qd::gui {

TLogDataForm::TLogDataForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("LogDataForm"));
  setWindowTitle(QStringLiteral("Log data"));
  resize(720, 480);
}

void TLogDataForm::LinkStateChanged() {}

}  // namespace qd::gui
