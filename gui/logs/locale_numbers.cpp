#include "gui/logs/locale_numbers.h"

#include <QLocale>

#include "logs/consumption_costs.h"

namespace qd::gui {

QString WithLocaleSeparators(const std::string& text) {
  const QLocale locale;
  const bool grouped = !(locale.numberOptions() & QLocale::OmitGroupSeparator);
  QString shown;
  for (const char c : text) {
    if (c == CoreSeparators.decimal) {
      shown += locale.decimalPoint();
    } else if (c == CoreSeparators.thousands) {
      if (grouped) shown += locale.groupSeparator();
    } else {
      shown += QLatin1Char(c);
    }
  }
  return shown;
}

QString LitresShown(std::uint32_t counts) {
  return WithLocaleSeparators(qd::logs::LitresText(counts, CoreSeparators));
}

QString MoneyShown(const std::optional<std::int64_t>& hundredths) {
  return hundredths ? WithLocaleSeparators(qd::logs::MoneyText(*hundredths, CoreSeparators)) : QString();
}

}  // namespace qd::gui
