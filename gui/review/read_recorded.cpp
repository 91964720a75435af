#include "gui/review/read_recorded.h"

namespace qd::gui {

ReadRecordedNotifier& ReadRecordedNotifier::Instance() {
  static ReadRecordedNotifier notifier;
  return notifier;
}

}  // namespace qd::gui
