#pragma once

#include <QEventLoop>
#include <functional>

namespace qd::transport {

// Lets the event loop run for `milliseconds`; `flags` say which events may be handled meanwhile.
void ProcessEventsFor(int milliseconds, QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);
// Lets the event loop run until `done` gives true; false as soon as `lost` gives true instead.
bool ProcessEventsUntil(const std::function<bool()>& done, const std::function<bool()>& lost);

}  // namespace qd::transport
