#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qd::gui {

// The core keeps texts as windows-1252 bytes; the windows show QStrings. A character that
// windows-1252 cannot hold becomes '?'.
QString FromCp1252(std::string_view bytes);
std::string ToCp1252(const QString& text);

// A core text kept in a constant (marked QD_TRANSLATABLE(context, ...)), in the windows' language.
QString CoreText(const char* context, std::string_view constant);

// A tooltip that shows `text` as it is: a tooltip that looks like markup would otherwise be taken as
// markup.
QString PlainToolTip(const QString& text);

}  // namespace qd::gui
