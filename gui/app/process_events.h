#pragma once

#include <QEventLoop>

namespace qd::gui {

// Lets the window system run for `milliseconds`; `flags` say which events may be handled meanwhile.
void ProcessEventsFor(int milliseconds, QEventLoop::ProcessEventsFlags flags);

}  // namespace qd::gui
