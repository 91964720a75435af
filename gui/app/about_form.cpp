#include "gui/app/about_form.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/main_form.h"

namespace qd::gui {
namespace {

QLabel* AddLabel(QWidget* parent, QVBoxLayout* layout, const QString& name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignHCenter);
  layout->addWidget(label);
  return label;
}

}  // namespace

TAboutForm::TAboutForm() {
  setWindowTitle(tr("About"));
  setObjectName(QStringLiteral("AboutForm"));
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(6);
  layout->setContentsMargins(24, 18, 24, 14);

  QLabel* title =
      AddLabel(this, layout, QStringLiteral("TitleLabel"), tr("PC tool for QD310 dispenser system"));
  QFont titleFont = title->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
  title->setFont(titleFont);
  AddLabel(this, layout, QStringLiteral("VersionLabel"),
           tr("Version: %1.%2").arg(TMainForm::VersionMajor).arg(TMainForm::VersionMinor));
  AddLabel(this, layout, QStringLiteral("CreatedLabel"), CreatedText());
  layout->addSpacing(10);
  AddLabel(this, layout, QStringLiteral("MakerLabel1"), QStringLiteral("Kestrelon"));
  AddLabel(this, layout, QStringLiteral("MakerLabel2"), tr("Laundry dosing systems"));
  layout->addSpacing(10);

  auto* closeBtn = new QPushButton(tr("Close"), this);
  closeBtn->setObjectName(QStringLiteral("CloseBtn"));
  closeBtn->setDefault(true);
  connect(closeBtn, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(closeBtn, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TAboutForm::CreatedText() {
  return tr("Created: %1  %2").arg(QStringLiteral(__DATE__), QStringLiteral(__TIME__));
}

}  // namespace qd::gui
