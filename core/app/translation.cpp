#include "app/translation.h"

#include "app/text.h"

namespace qd {

namespace {
Translator installedTranslator = nullptr;
thread_local bool sourceTextsOnly = false;
}  // namespace

void InstallTranslator(Translator translator) {
  installedTranslator = translator;
}

std::string UiText(const char* context, const char* sourceText) {
  return installedTranslator && !sourceTextsOnly ? installedTranslator(context, sourceText)
                                                 : std::string(sourceText);
}

SourceTextScope::SourceTextScope() : outer_(sourceTextsOnly) {
  sourceTextsOnly = true;
}

SourceTextScope::~SourceTextScope() {
  sourceTextsOnly = outer_;
}

std::string UiDecimal(double value, int decimals) {
  std::string text = Format("%.*f", decimals, value);
  //: The decimal separator of the numbers the windows show
  const std::string separator = UiText("Numbers", ".");
  if (const std::size_t point = text.find('.'); point != std::string::npos) text.replace(point, 1, separator);
  return text;
}

std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
  std::string text;
  text.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const bool placeholder =
        c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9';
    const std::size_t index = placeholder ? static_cast<std::size_t>(pattern[i + 1] - '1') : 0;
    if (placeholder && index < arguments.size()) {
      text.append(arguments.begin()[index]);
      ++i;
    } else {
      text.push_back(c);
    }
  }
  return text;
}

}  // namespace qd
