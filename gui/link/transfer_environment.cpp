#include "gui/link/transfer_environment.h"

#include "gui/app/app.h"
#include "gui/app/login_form.h"
#include "gui/app/main_form.h"
#include "gui/app/process_events.h"
#include "gui/app/text_codec.h"
#include "gui/link/communication_form.h"

namespace qd::gui {

qd::link::SystemTransfer::Environment ControllerEnvironment(App& app) {
  qd::link::SystemTransfer::Environment env;
  env.localMode = [&app] { return app.Communication().LocalMode(); };
  env.masterLoginMode = [&app] { return app.Main().MasterLoginMode(); };
  env.userLoginCode = [&app] { return ToCp1252(app.Login().Code()); };
  env.queueRequest = [&app](std::uint8_t command, std::uint8_t destination,
                            std::span<const std::uint8_t> data) {
    return app.Communication().QueueRequest(command, destination, data);
  };
  env.sendGatewayMessage = [&app](std::span<const std::uint8_t> message) {
    return app.Communication().SendGatewayMessage(message);
  };
  // Replies arrive while the login code check waits.
  env.waitStep = [] { ProcessEventsFor(qd::link::SystemTransfer::LoginCheckStepMs, QEventLoop::AllEvents); };
  env.now = [] { return qd::LocalDateTime::Now(); };
  return env;
}

}  // namespace qd::gui
