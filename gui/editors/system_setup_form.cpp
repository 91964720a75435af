#include "gui/editors/system_setup_form.h"

#include "gui/app/app.h"
#include "model/system_setup.h"

namespace qd::gui {

TSystemSetupForm::TSystemSetupForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("SystemSetupForm"));
  setWindowTitle(QStringLiteral("System setup"));
  resize(720, 520);
}

void TSystemSetupForm::InitSystemSetup() {}

void TSystemSetupForm::ResetSystemSetup() {
  qd::ResetSystemSetup(app_.Config());
}

void TSystemSetupForm::FillFromSystemData() {
  qd::FillFromSystemData(app_.Config());
}

void TSystemSetupForm::LinkStateChanged() {}

}  // namespace qd::gui
