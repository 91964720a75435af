// The windows in another language: the choice kept for the next start, and every window of the German
// tool free of English texts that have a German translation.
#include "gui/app/language.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QTabWidget>
#include <QXmlStreamReader>
#include <QtTest>

#include "app/translation.h"
#include "gui/app/app.h"
#include "gui/app/language_menu.h"
#include "gui/app/main_form.h"
#include "gui/app/preferences.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

// The English source texts of the translation file whose translation reads differently.
QSet<QString> TranslatedSources(const QString& tsPath) {
  QFile file(tsPath);
  QSet<QString> sources;
  if (!file.open(QIODevice::ReadOnly)) return sources;
  QXmlStreamReader xml(&file);
  QString source;
  while (!xml.atEnd()) {
    if (!xml.readNextStartElement()) continue;
    if (xml.name() == QLatin1String("source")) source = xml.readElementText();
    if (xml.name() == QLatin1String("translation") && xml.readElementText() != source) sources.insert(source);
  }
  return sources;
}

struct ShownText {
  QString where;  // the widget's object name
  QString text;
};

// Every text a window shows: captions, labels, buttons, group titles, items, headers, menus, tips.
std::vector<ShownText> ShownTexts(const QWidget* window) {
  std::vector<ShownText> texts{{window->objectName(), window->windowTitle()}};
  for (const QWidget* widget : window->findChildren<QWidget*>()) {
    const auto add = [&texts, widget](const QString& text) { texts.push_back({widget->objectName(), text}); };
    add(widget->toolTip());
    add(widget->accessibleName());
    add(widget->accessibleDescription());
    if (const auto* label = qobject_cast<const QLabel*>(widget)) add(label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) add(button->text());
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) add(group->title());
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
      for (int i = 0; i < combo->count(); ++i)
        add(combo->itemText(i));
    if (const auto* tabs = qobject_cast<const QTabWidget*>(widget))
      for (int i = 0; i < tabs->count(); ++i)
        add(tabs->tabText(i));
    if (const auto* header = qobject_cast<const QHeaderView*>(widget); header && header->model())
      for (int i = 0; i < header->count(); ++i)
        add(header->model()->headerData(i, header->orientation(), Qt::DisplayRole).toString());
    if (const auto* menu = qobject_cast<const QMenu*>(widget)) add(menu->title());
    for (const QAction* action : widget->actions())
      add(action->text());  // a tool tip repeats it
  }
  return texts;
}

// Texts that are the same as a translated English text by chance: program names stored in the sample
// system file, and the German keyboard indicator "T" (Tastatur).
const QSet<QString> Data{QStringLiteral("Program 1"), QStringLiteral("Program 2"),
                         QStringLiteral("Program 3"), QStringLiteral("T")};

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void choiceIsKeptForTheNextStart() {
    TemporaryPreferences preferences;
    ScriptedUser user;
    for (const LanguageEntry& entry : Languages()) {
      LanguageMenu menu(nullptr);
      auto* action = menu.findChild<QAction*>(QStringLiteral("Language_%1").arg(QLatin1String(entry.code)));
      QVERIFY(action != nullptr);
      const auto boxes = user.Boxes().size();
      action->trigger();
      QCOMPARE(user.Boxes().size(), boxes + 1);  // the change waits for the next start, and says so
      LanguageMenu next(nullptr);
      const auto checked =
          next.findChild<QAction*>(QStringLiteral("Language_%1").arg(QLatin1String(entry.code)));
      QVERIFY2(checked->isChecked(), entry.code);
      QCOMPARE(StoredLanguage(*OpenPreferences()), entry.language);
    }
  }

  void germanWindowsShowNoEnglishText() {
    const QSet<QString> english =
        TranslatedSources(QStringLiteral(QD_TEST_DATA_DIR "/../../translations/qdsystem_de.ts"));
    QVERIFY(english.size() > 100);
    InstallLanguage(*QCoreApplication::instance(), Language::German);
    QVERIFY(qd::UiText("Transfer", "Reading %1 bytes.") != "Reading %1 bytes.");  // the core's texts too

    AppFixture f;
    QStringList untranslated;
    for (const QWidget* window : EveryWindow(f.app))
      for (const auto& [where, text] : ShownTexts(window))
        if (english.contains(text) && !Data.contains(text))
          untranslated << QStringLiteral("%1 / %2: %3").arg(window->objectName(), where, text);
    untranslated.removeDuplicates();
    QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
  }
};

}  // namespace

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
