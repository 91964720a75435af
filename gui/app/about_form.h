#pragma once

#include <QDialog>

namespace qd::gui {

// "About": the program's title, version and build time.
class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  TAboutForm();

  // "Created: Jan 23 2021  13:02:08"
  static QString CreatedText();
};

}  // namespace qd::gui
