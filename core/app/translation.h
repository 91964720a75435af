#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace qd {

// Texts the core makes for people (statuses, alarm names, findings) are marked with UiText(context, text).
// The desktop tool installs a translator at start; qdtool, the simulator, the files and the diagnostic
// log never install one and keep the English source texts. The translator returns windows-1252 bytes,
// like every text of the core.
using Translator = std::string (*)(const char* context, const char* sourceText);
void InstallTranslator(Translator translator);

// The text in the language of the desktop tool, or `sourceText` itself when no translator is installed.
std::string UiText(const char* context, const char* sourceText);

// Marks a text kept in a constant for the translators where it is defined; where it is shown,
// UiText(context, constant.data()) translates it (the constant must be a NUL-terminated literal).
#define QD_TRANSLATABLE(context, text) text

// While one lives, UiText on this thread gives the English source texts: for output that stays English
// whatever the desktop tool's language (CSV exports, texts only the diagnostic log gets) but is made by
// functions whose texts windows show too. Scopes nest.
class SourceTextScope {
 public:
  SourceTextScope();
  ~SourceTextScope();
  SourceTextScope(const SourceTextScope&) = delete;
  SourceTextScope& operator=(const SourceTextScope&) = delete;

 private:
  bool outer_;
};

// `value` with `decimals` decimals and the decimal separator of the desktop tool's language.
std::string UiDecimal(double value, int decimals);

// `pattern` with %1 .. %9 replaced by the arguments: the placeholders a translation may reorder, and that
// a wrong translation cannot turn into a crash (an unknown placeholder stays as it is).
std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> arguments);

}  // namespace qd
