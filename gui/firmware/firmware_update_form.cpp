#include "gui/firmware/firmware_update_form.h"

namespace qd::gui {

TFirmwareUpdateForm::TFirmwareUpdateForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("FirmwareUpdateForm"));
  resize(560, 360);
}

void TFirmwareUpdateForm::ShowFor(Target target) {
  target_ = target;
  setWindowTitle(target == Target::Controller ? QStringLiteral("Firmware update, QD310.")
                                              : QStringLiteral("Firmware update, QD520 / QD740 trigger."));
  show();
  raise();
  activateWindow();
}

void TFirmwareUpdateForm::Tick() {}

}  // namespace qd::gui
