#pragma once

#include <QString>
#include <QWidget>

namespace qd::gui {

class App;

// Programs the controller or the trigger modules from an Intel HEX file through their boot loaders.
class TFirmwareUpdateForm : public QWidget {
  Q_OBJECT

 public:
  enum class Target { Controller, Trigger };

  explicit TFirmwareUpdateForm(App& app);

  // Sets the window up for the target and shows it.
  void ShowFor(Target target);
  void Tick();

  QString LastFirmwareFile() const { return lastFirmwareFile_; }
  void SetLastFirmwareFile(const QString& path) { lastFirmwareFile_ = path; }

 private:
  App& app_;
  Target target_ = Target::Controller;
  QString lastFirmwareFile_;
};

}  // namespace qd::gui
