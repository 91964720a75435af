#include "gui/app/label_colours.h"

#include <QLabel>

namespace qd::gui {

void SetLabelBackground(QLabel* label, Background background) {
  // Dark text on light colours stays readable with dark desktop themes too.
  switch (background) {
    case Background::Normal:
      label->setStyleSheet(QString());
      break;
    case Background::Green:
      label->setStyleSheet(
          QStringLiteral("QLabel { background-color: #7ed67e; color: black; padding: 2px 6px; }"));
      break;
    case Background::Yellow:
      label->setStyleSheet(
          QStringLiteral("QLabel { background-color: #ffe36b; color: black; padding: 2px 6px; }"));
      break;
    case Background::Red:
      label->setStyleSheet(
          QStringLiteral("QLabel { background-color: #f08080; color: black; padding: 2px 6px; }"));
      break;
  }
}

}  // namespace qd::gui
