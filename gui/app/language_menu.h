#pragma once

#include <QMenu>

#include "gui/app/language.h"

namespace qd::gui {

// The "Language" menu: the system's language or one chosen, kept in the preferences for the next start.
class LanguageMenu : public QMenu {
  Q_OBJECT

 public:
  explicit LanguageMenu(QWidget* parent);

 private:
  void Choose(Language language);
};

}  // namespace qd::gui
