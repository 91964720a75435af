#pragma once

class QLabel;

namespace qd::gui {

// Status labels that show a state on a coloured background; the text always names the state too.
enum class Background { Normal, Green, Yellow, Red };
void SetLabelBackground(QLabel* label, Background background);

}  // namespace qd::gui
