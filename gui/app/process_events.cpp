#include "gui/app/process_events.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace qd::gui {

void ProcessEventsFor(int milliseconds, QEventLoop::ProcessEventsFlags flags) {
  QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(flags, static_cast<int>(deadline.remainingTime()));
  }
}

}  // namespace qd::gui
