#include "gui/app/config_signals.h"

namespace qd::gui {

ConfigSignals::ConfigSignals(qd::WorkingConfig& config) : config_(config) {
  key_ = config_.observers.Add([this](const qd::ConfigChange& change) { emit Changed(change); });
}

ConfigSignals::~ConfigSignals() {
  config_.observers.Remove(key_);
}

}  // namespace qd::gui
