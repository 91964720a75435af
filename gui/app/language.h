#pragma once

#include <QLocale>
#include <QSettings>
#include <QString>
#include <span>

class QCoreApplication;

namespace qd::gui {

// The language of the windows: the system's, or one chosen in the main window's "Language" menu. The
// choice is kept in the preferences and applies from the next start.
enum class Language { System, English, German, French };

struct LanguageEntry {
  Language language;
  const char* code;  // kept in the preferences; a locale name for the chosen ones
  const char* name;  // in its own language, as a speaker looks for it
};
std::span<const LanguageEntry> Languages();

inline constexpr char LanguageKey[] = "Language";

// An unknown or missing value reads as System.
Language StoredLanguage(QSettings& store);
void StoreLanguage(QSettings& store, Language language);

// Installs the translations of the windows, of Qt's own dialogs and of the core's texts for `language`
// into `application`; a language without translations (English) leaves the English source texts.
// Returns the locale the windows use.
QLocale InstallLanguage(QCoreApplication& application, Language language);

}  // namespace qd::gui
