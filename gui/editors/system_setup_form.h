#pragma once

#include <QWidget>

#include "link/bus_link.h"

namespace qd::gui {

class App;

// The system-wide settings, alarms, manual control and the controller's identity.
class TSystemSetupForm : public QWidget {
  Q_OBJECT

 public:
  explicit TSystemSetupForm(App& app);

  void InitSystemSetup();
  void ResetSystemSetup();
  void FillFromSystemData();
  // The link state changed: the reset-machine controls follow the access.
  void LinkStateChanged();

  // The pumps and outputs under the PC's control, sent with every idle answer on the bus.
  qd::link::ManualOutputs& ManualControl() { return manualControl_; }

 private:
  App& app_;
  qd::link::ManualOutputs manualControl_;
};

}  // namespace qd::gui
