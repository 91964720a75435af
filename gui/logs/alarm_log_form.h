#pragma once

#include <QWidget>

namespace qd::gui {

class App;

// The alarm log of the image.
class TAlarmLogForm : public QWidget {
  Q_OBJECT

 public:
  explicit TAlarmLogForm(App& app);

  // Shows the log of the image; nothing while the window is hidden.
  void ShowAlarmLog();
  void LinkStateChanged();

 private:
  App& app_;
};

}  // namespace qd::gui
