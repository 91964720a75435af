#include "gui/app/status_text.h"

#include <QAccessible>

namespace qd::gui {

void ShowStatusText(QLabel* label, const QString& text) {
  if (label->text() == text) return;
  label->setText(text);
  QAccessibleEvent event(label, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

}  // namespace qd::gui
