#include "event_loop.h"

#include <QDeadlineTimer>
#include <QEventLoop>

namespace qdtool {

void ProcessEventsFor(int milliseconds) {
  QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents,
                                    static_cast<int>(deadline.remainingTime()));
  }
}

bool ProcessEventsUntil(const std::function<bool()>& done, const std::function<bool()>& lost) {
  while (!done()) {
    if (lost()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
  }
  return true;
}

}  // namespace qdtool
