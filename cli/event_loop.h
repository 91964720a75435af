#pragma once

#include <QCoreApplication>

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

}  // namespace qdtool
