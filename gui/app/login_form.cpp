#include "gui/app/login_form.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qd::gui {
namespace {

// Blanks and control characters at either end go.
QString TrimBlanksAndControls(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text.at(begin).unicode() <= ' ')
    ++begin;
  while (end > begin && text.at(end - 1).unicode() <= ' ')
    --end;
  return text.mid(begin, end - begin);
}

}  // namespace

TLoginForm::TLoginForm() {
  setWindowTitle(tr("Login"));
  setObjectName(QStringLiteral("LoginForm"));

  auto* label = new QLabel(tr("Login code"), this);
  label->setObjectName(QStringLiteral("Label1"));
  CodeEdit = new QLineEdit(QString::fromLatin1(InitialCode), this);
  CodeEdit->setObjectName(QStringLiteral("CodeEdit"));
  label->setBuddy(CodeEdit);
  auto* okBtn = new QPushButton(tr("OK"), this);
  okBtn->setObjectName(QStringLiteral("OKBtn"));
  okBtn->setDefault(true);
  connect(okBtn, &QPushButton::clicked, this, &QDialog::accept);

  auto* form = new QFormLayout;
  form->addRow(label, CodeEdit);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(okBtn, 0, Qt::AlignRight);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  CodeEdit->setMinimumWidth(180);
}

QString TLoginForm::Code() const {
  return CodeEdit->text();
}

void TLoginForm::SetCode(const QString& code) {
  CodeEdit->setText(code);
}

void TLoginForm::showEvent(QShowEvent* event) {
  CodeEdit->clear();
  CodeEdit->setFocus();
  QDialog::showEvent(event);
}

void TLoginForm::done(int result) {
  // No cancel: Escape and the close box keep what was typed, like OK.
  CodeEdit->setText(TrimBlanksAndControls(CodeEdit->text()));
  QDialog::done(result);
}

}  // namespace qd::gui
