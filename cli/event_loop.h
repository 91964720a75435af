#pragma once

#include <QCoreApplication>
#include <functional>

namespace qdtool {

// The Qt event loop that the commands talking to a port or a gateway run on.
class EventLoopApp {
 public:
  EventLoopApp() : app_(argc_, argv_) {}

 private:
  int argc_ = 1;
  char name_[7] = "qdtool";
  char* argv_[2] = {name_, nullptr};
  QCoreApplication app_;
};

// Processes events for `milliseconds`.
void ProcessEventsFor(int milliseconds);
// Processes events until `done` gives true; false as soon as `lost` gives true.
bool ProcessEventsUntil(const std::function<bool()>& done, const std::function<bool()>& lost);

}  // namespace qdtool
