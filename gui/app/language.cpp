#include "gui/app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <array>
#include <memory>

#include "app/translation.h"
#include "gui/app/preferences.h"
#include "gui/app/text_codec.h"

namespace qd::gui {

namespace {

constexpr std::array<LanguageEntry, 4> LanguageTable{{
    {Language::System, "System", QT_TRANSLATE_NOOP("Language", "System")},
    {Language::English, "en", "English"},
    {Language::German, "de", "Deutsch"},
    {Language::French, "fr", "Français"},
}};

std::string TranslateCoreText(const char* context, const char* sourceText) {
  return ToCp1252(QCoreApplication::translate(context, sourceText));
}

// Loads `name`_<language>.qm from `folder` into the application; false when there is none.
bool InstallTranslation(QCoreApplication& application, const QLocale& locale, const QString& name,
                        const QString& folder) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(locale, name, QStringLiteral("_"), folder)) return false;
  translator->setParent(&application);
  QCoreApplication::installTranslator(translator.release());
  return true;
}

}  // namespace

std::span<const LanguageEntry> Languages() {
  return LanguageTable;
}

Language StoredLanguage(QSettings& store) {
  const QString code = store.value(QLatin1String(LanguageKey)).toString();
  for (const LanguageEntry& entry : LanguageTable)
    if (code == QLatin1String(entry.code)) return entry.language;
  return Language::System;
}

void StoreLanguage(QSettings& store, Language language) {
  for (const LanguageEntry& entry : LanguageTable)
    if (entry.language == language) store.setValue(QLatin1String(LanguageKey), QLatin1String(entry.code));
  SyncPrivately(store);
}

QLocale InstallLanguage(QCoreApplication& application, Language language) {
  QLocale locale = QLocale::system();
  for (const LanguageEntry& entry : LanguageTable)
    if (entry.language == language && language != Language::System)
      locale = QLocale(QLatin1String(entry.code));
  if (language != Language::System) QLocale::setDefault(locale);
  if (locale.language() == QLocale::English || locale.language() == QLocale::C) return locale;
  if (!InstallTranslation(application, locale, QStringLiteral("qdsystem"), QStringLiteral(":/i18n")))
    return locale;
  InstallTranslation(application, locale, QStringLiteral("qtbase"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  InstallTranslator(&TranslateCoreText);
  return locale;
}

}  // namespace qd::gui
