#pragma once

#include <string>

#include "model/config_change.h"
#include "model/controller_image.h"
#include "model/system_config.h"

namespace qd {

// The local date and time as the image stores it.
struct LocalDateTime {
  int year = 2000;  // full year
  int month = 1, day = 1, hour = 0, minute = 0, second = 0;
  int weekday = 5;  // 0 = Monday .. 6 = Sunday

  static LocalDateTime Now();
  // "YYYY-MM-DD HH:MM:SS"; the weekday follows from the date.
  static bool Parse(const std::string& text, LocalDateTime& out);
  // "YYYY-MM-DD HH:MM:SS"
  std::string Text() const;
};

// Everything the tool holds of one dosing system: the editors' working copy, the image buffer and
// the settings that decide how the image is built.
struct WorkingConfig {
  SystemConfig system;
  ControllerImage image;
  std::string loginCodeEdit;     // the system login code field, written into the image in master-login mode
  bool masterLoginMode = false;  // "MasterLogin" option
  char decimalSeparator = '.';   // how soap amounts are shown
  // Told by the commands that change the configuration (system_commands.h).
  ConfigObservers observers;
};

// "Used text: %.1f%%"
std::string UsedTextLabel(double percent);

}  // namespace qd
