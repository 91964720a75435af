#pragma once

#include <QObject>

namespace qd::gui {

// Tells the windows that show the history store that a read was recorded in it.
class ReadRecordedNotifier : public QObject {
  Q_OBJECT

 public:
  static ReadRecordedNotifier& Instance();

 signals:
  void ReadRecorded();
};

}  // namespace qd::gui
