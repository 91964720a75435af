#pragma once

#include <QLabel>
#include <QString>

namespace qd::gui {

// Shows `text` on a label that reports a status (a transfer's result, a link or programming state). The
// label's accessible name is its text, and Qt does not tell assistive technologies when a label's text
// changes: this does, so that a screen reader announces the new status.
void ShowStatusText(QLabel* label, const QString& text);

}  // namespace qd::gui
