#include "gui/link/transfer_environment.h"

#include "gui/app/app.h"
#include "gui/app/login_form.h"
#include "gui/app/main_form.h"
#include "gui/app/text_codec.h"

namespace qd::gui {

qd::link::SystemTransfer::Environment ControllerEnvironment(App& app) {
  qd::link::SystemTransfer::Environment env = app.Connection().TransferEnvironment();
  env.masterLoginMode = [&app] { return app.Main().MasterLoginMode(); };
  env.userLoginCode = [&app] { return ToCp1252(app.Login().Code()); };
  return env;
}

}  // namespace qd::gui
