#include "transport/process_events.h"

#include <QCoreApplication>
#include <QTimer>

namespace qd::transport {

void ProcessEventsFor(int milliseconds, QEventLoop::ProcessEventsFlags flags) {
  // A loop of its own sleeps until the next event; processEvents() with a time limit would spin.
  QEventLoop loop;
  QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec(flags);
}

bool ProcessEventsUntil(const std::function<bool()>& done, const std::function<bool()>& lost) {
  // Wakes the wait now and then, so the conditions are looked at even when no event comes.
  QTimer wake;
  wake.start(100);
  while (!done()) {
    if (lost()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

}  // namespace qd::transport
