#pragma once

#include <QWidget>

namespace qd::gui {

class App;

// The consumption log of the image.
class TLogDataForm : public QWidget {
  Q_OBJECT

 public:
  explicit TLogDataForm(App& app);

  // The log areas changed: the lists are rebuilt at the next show.
  void MarkLogChanged() { logChanged_ = true; }
  bool LogChanged() const { return logChanged_; }
  void LinkStateChanged();

 private:
  App& app_;
  bool logChanged_ = true;
};

}  // namespace qd::gui
