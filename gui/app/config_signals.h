#pragma once

#include <QObject>

#include "model/working_config.h"

namespace qd::gui {

// The working configuration's changes as a Qt signal, for the windows. Registers with the configuration
// for as long as it lives.
class ConfigSignals : public QObject {
  Q_OBJECT

 public:
  explicit ConfigSignals(qd::WorkingConfig& config);
  ~ConfigSignals() override;
  ConfigSignals(const ConfigSignals&) = delete;
  ConfigSignals& operator=(const ConfigSignals&) = delete;

 signals:
  void Changed(const qd::ConfigChange& change);

 private:
  qd::WorkingConfig& config_;
  int key_ = 0;
};

}  // namespace qd::gui
