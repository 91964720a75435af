#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace qd::gui {

// With QDSYSTEM_STARTUP_PROBE=1 the program prints one line once the main window has painted for the
// first time, and quits: the start-up benchmark times it from exec to that line.
class StartupProbe : public QObject {
 public:
  StartupProbe(QWidget& window, const QElapsedTimer& sinceMain) : QObject(&window), sinceMain_(sinceMain) {
    window.installEventFilter(this);
  }

  static bool Wanted() { return qEnvironmentVariableIntValue("QDSYSTEM_STARTUP_PROBE") == 1; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !reported_) {
      reported_ = true;
      // Reported after the paint has finished, from the event loop.
      QTimer::singleShot(0, this, [this] {
        std::printf("main window shown: %lld ms after main\n", static_cast<long long>(sinceMain_.elapsed()));
        std::fflush(stdout);
        QApplication::quit();
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QElapsedTimer sinceMain_;
  bool reported_ = false;
};

}  // namespace qd::gui
