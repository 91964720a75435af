#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "logs/consumption_log.h"

namespace qd::gui {

// The core writes volumes and money with '.' and ','; the windows show the user's separators.
inline constexpr qd::logs::NumberSeparators CoreSeparators{'.', ','};

// `text` as the core wrote it with CoreSeparators, in the separators of the user's locale.
QString WithLocaleSeparators(const std::string& text);

// "1,234.50 L" of a volume in 5 ml counts, in the user's separators.
QString LitresShown(std::uint32_t counts);
// "1,234.50" of hundredths, in the user's separators; empty for none.
QString MoneyShown(const std::optional<std::int64_t>& hundredths);

}  // namespace qd::gui
