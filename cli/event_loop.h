#pragma once

#include <QCoreApplication>
#include <optional>

namespace qdtool {

// The Qt application that the commands talking to a port, a gateway or the history store run on (Qt SQL
// loads its drivers as plugins). One made while another lives leaves that one in charge, so that a
// command may run another's steps.
class EventLoopApp {
 public:
  EventLoopApp() {
    if (!QCoreApplication::instance()) app_.emplace(argc_, argv_);
  }

 private:
  int argc_ = 1;
  char name_[7] = "qdtool";
  char* argv_[2] = {name_, nullptr};
  std::optional<QCoreApplication> app_;
};

}  // namespace qdtool
