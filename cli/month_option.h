#pragma once

#include <optional>
#include <string>

#include "arguments.h"
#include "logs/consumption_log.h"

namespace qdtool {

// The month an option gives as "YYYY-MM" (month 01..12), none when it is not given; anything else is a
// usage error.
std::optional<qd::logs::YearMonth> MonthOption(const Arguments& arguments, const std::string& name);

}  // namespace qdtool
