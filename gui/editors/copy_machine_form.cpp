#include "gui/editors/copy_machine_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/editors/machine_form.h"
#include "model/system_commands.h"

namespace qd::gui {

TCopyMachineForm::TCopyMachineForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("CopyMachineForm"));
  setWindowTitle(tr("Copy Machine"));
  setModal(true);

  CopyFromCombo = new QComboBox(this);
  CopyFromCombo->setObjectName(QStringLiteral("CopyFromCombo"));
  CopyToCombo = new QComboBox(this);
  CopyToCombo->setObjectName(QStringLiteral("CopyToCombo"));
  for (int m = 1; m <= TMainForm::MachineCount; ++m) {
    CopyFromCombo->addItem(tr("Machine %1").arg(m));
    CopyToCombo->addItem(tr("Machine %1").arg(m));
  }
  CopyToCombo->addItem(tr("All"));
  CopyFromLabel = new QLabel(tr("Copy from"), this);
  CopyFromLabel->setObjectName(QStringLiteral("CopyFromLabel"));
  CopyFromLabel->setBuddy(CopyFromCombo);
  CopyToLabel = new QLabel(tr("Copy to"), this);
  CopyToLabel->setObjectName(QStringLiteral("CopyToLabel"));
  CopyToLabel->setBuddy(CopyToCombo);
  CopyBtn = new QPushButton(tr("Copy"), this);
  CopyBtn->setObjectName(QStringLiteral("CopyBtn"));
  CopyBtn->setDefault(true);
  CloseBtn = new QPushButton(tr("Close"), this);
  CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
  StatusBar = new QStatusBar(this);
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  StatusBar->setSizeGripEnabled(false);

  auto* fields = new QGridLayout;
  fields->addWidget(CopyFromLabel, 0, 0);
  fields->addWidget(CopyFromCombo, 0, 1);
  fields->addWidget(CopyToLabel, 1, 0);
  fields->addWidget(CopyToCombo, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(CopyBtn);
  buttons->addWidget(CloseBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->addWidget(StatusBar);
  setMinimumWidth(280);

  connect(CopyBtn, &QPushButton::clicked, this, &TCopyMachineForm::CopyBtnClick);
  connect(CloseBtn, &QPushButton::clicked, this, &TCopyMachineForm::reject);
}

void TCopyMachineForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  StatusBar->clearMessage();
  CopyFromCombo->setCurrentIndex(0);
  CopyToCombo->setCurrentIndex(1);
}

void TCopyMachineForm::CopyBtnClick() {
  if (app_.Main().CheckUnsavedPrograms()) return;
  const int from = CopyFromCombo->currentIndex();
  const int to = CopyToCombo->currentIndex();
  if (from < 0 || to < 0) return;
  if (from == to) {
    StatusBar->showMessage(tr("Copy ?"));
    return;
  }
  if (to == AllEntry) {
    for (int m = 0; m < TMainForm::MachineCount; ++m) {
      if (m != from) CopyMachine(from, m);
    }
    StatusBar->showMessage(tr("Copy %1 to all.").arg(CopyFromCombo->currentText()));
    return;
  }
  CopyMachine(from, to);
  StatusBar->showMessage(tr("Copy %1 to %2.").arg(CopyFromCombo->currentText(), CopyToCombo->currentText()));
}

void TCopyMachineForm::CopyMachine(int from, int to) {
  // The source's trigger window holds what the user sees; that is what is copied.
  if (TMachineForm* source = app_.MachineIfCreated(from)) source->CommitTrigger();
  qd::CopyMachine(app_.Config(), from, to);
}

QString TCopyMachineForm::StatusText() const {
  return StatusBar->currentMessage();
}

}  // namespace qd::gui
