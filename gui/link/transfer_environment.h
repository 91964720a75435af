#pragma once

#include "link/transfer.h"

namespace qd::gui {

class App;

// What every transfer of the windows reaches the controller with: the connection's part (mode, queue,
// gateway, operation gate, waits) and the login codes. Other windows are reached only when the
// transfer asks: some are created after the transfer's window. The caller adds the rest.
qd::link::SystemTransfer::Environment ControllerEnvironment(App& app);

}  // namespace qd::gui
