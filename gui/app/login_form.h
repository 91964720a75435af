#pragma once

#include <QDialog>
#include <QString>

#include "model/counts.h"

class QLineEdit;

namespace qd::gui {

// "Login": the user's login code. The field is emptied each time the window is shown; whatever it
// holds when the window closes, trimmed, is the code in effect.
class TLoginForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* InitialCode = qd::DefaultLoginCode;

  TLoginForm();

  // The user's login code.
  QString Code() const;
  void SetCode(const QString& code);

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  QLineEdit* CodeEdit = nullptr;
};

}  // namespace qd::gui
