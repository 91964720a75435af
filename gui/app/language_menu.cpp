#include "gui/app/language_menu.h"

#include <QActionGroup>
#include <QCoreApplication>

#include "gui/app/message_dialog.h"
#include "gui/app/preferences.h"

namespace qd::gui {

LanguageMenu::LanguageMenu(QWidget* parent) : QMenu(tr("Language"), parent) {
  setObjectName(QStringLiteral("LanguageMenu"));
  auto* group = new QActionGroup(this);
  const Language stored = StoredLanguage(*OpenPreferences());
  for (const LanguageEntry& entry : Languages()) {
    const QString name = entry.language == Language::System
                             ? QCoreApplication::translate("Language", entry.name)
                             : QString::fromUtf8(entry.name);
    QAction* action = addAction(name);
    action->setObjectName(QStringLiteral("Language_%1").arg(QLatin1String(entry.code)));
    action->setCheckable(true);
    action->setChecked(entry.language == stored);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, language = entry.language] { Choose(language); });
  }
}

void LanguageMenu::Choose(Language language) {
  StoreLanguage(*OpenPreferences(), language);
  ShowMessageBox(tr("The language changes when QDsystem is started again."), DialogType::Information);
}

}  // namespace qd::gui
