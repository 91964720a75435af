#pragma once

#include "link/transfer.h"

namespace qd::gui {

class App;

// What every transfer of the windows reaches the controller with: the link mode, the login codes, the
// bus queue and the gateway socket of the communication window, and a login code check that lets the
// window system run while it waits. Other windows are reached only when the transfer asks: some are
// created after the transfer's window. The caller adds the rest.
qd::link::SystemTransfer::Environment ControllerEnvironment(App& app);

}  // namespace qd::gui
