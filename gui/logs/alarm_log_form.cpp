#include "gui/logs/alarm_log_form.h"

namespace qd::gui {

TAlarmLogForm::TAlarmLogForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("AlarmLogForm"));
  setWindowTitle(QStringLiteral("Alarm log"));
  resize(720, 480);
}

void TAlarmLogForm::ShowAlarmLog() {}

void TAlarmLogForm::LinkStateChanged() {}

}  // namespace qd::gui
