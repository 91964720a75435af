#include "gui/link/communication_error_form.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/app.h"
#include "gui/link/communication_form.h"

namespace qd::gui {
namespace {

// A count label, described for screen readers by its caption.
QLabel* CountLabel(const QString& name, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(QStringLiteral("0"), parent);
  label->setObjectName(name);
  label->setAccessibleDescription(caption);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

TCommunicationErrorForm::TCommunicationErrorForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("CommunicationErrorForm"));
  setWindowTitle(tr("Warning, communication error"));
  setModal(false);
  setWindowFlag(Qt::WindowStaysOnTopHint);

  const QString retryCaption = tr("Re-try count");
  const QString checksumCaption = tr("Checksum error count:");
  RetryErrorLabel = CountLabel(QStringLiteral("RetryErrorLabel"), retryCaption, this);
  CheckSumErrorLabel = CountLabel(QStringLiteral("CheckSumErrorLabel"), checksumCaption, this);
  CloseBtn = new QPushButton(tr("Close"), this);
  CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
  CloseBtn->setDefault(true);
  connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);

  auto* counts = new QFormLayout;
  counts->addRow(retryCaption, RetryErrorLabel);
  counts->addRow(checksumCaption, CheckSumErrorLabel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(counts);
  layout->addWidget(CloseBtn, 0, Qt::AlignRight);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TCommunicationErrorForm::ShowCounts(int retryCount, int checksumErrorCount) {
  RetryErrorLabel->setText(QString::number(retryCount));
  CheckSumErrorLabel->setText(QString::number(checksumErrorCount));
}

void TCommunicationErrorForm::done(int result) {
  qd::link::BusLink& link = app_.Connection().Link();
  link.ClearErrorCounters();
  ShowCounts(link.Counters().retryCount, link.Counters().checksumErrorCount);
  QDialog::done(result);
}

}  // namespace qd::gui
