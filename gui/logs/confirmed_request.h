#pragma once

#include <QString>
#include <functional>

#include "link/operation_gate.h"

namespace qd::gui {

class App;

// What a log reset and an alarm-log clear share: the controller is taken for the operation, the login
// code is checked, the user confirms `question`, and `send` sends the request (false: nothing went
// out). The operation then holds the controller until its confirmation ends it, its window closes, or
// the confirmation limit passes. A refusal because another operation runs is shown here; the other
// refusals show their own messages or none.
void RunConfirmedRequest(App& app, qd::link::Operation operation, const QString& question,
                         const std::function<bool()>& send);

}  // namespace qd::gui
