#include "gui/logs/alarm_log_form.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "gui/app/app.h"
#include "gui/app/config_signals.h"
#include "gui/app/message_dialog.h"
#include "gui/app/text_codec.h"
#include "gui/logs/confirmed_request.h"
#include "gui/logs/csv_export.h"
#include "logs/alarm_log.h"
#include "logs/consumption_log.h"
#include "logs/log_reset.h"

namespace qd::gui {

TAlarmLogForm::TAlarmLogForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("AlarmLogForm"));
  setWindowTitle(tr("Alarm log"));
  resize(560, 420);
  CreateControls();
  SetTabOrder();
  app_.Connection().Dispatch().handlers.alarmLogCleared = [this] { AlarmLogCleared(); };
  connect(&app_.Changes(), &ConfigSignals::Changed, this, [this](const qd::ConfigChange& change) {
    if (change.Replaces() || change.cause == qd::ChangeCause::Save) ShowAlarmLog();
  });
  LinkStateChanged();
}

void TAlarmLogForm::CreateControls() {
  AlarmHistoryBtn = new QRadioButton(tr("Alarm history"), this);
  AlarmHistoryBtn->setObjectName(QStringLiteral("AlarmHistoryBtn"));
  AlarmHistoryBtn->setChecked(true);
  AlarmStateBtn = new QRadioButton(tr("Alarm state"), this);
  AlarmStateBtn->setObjectName(QStringLiteral("AlarmStateBtn"));
  Memo = new QPlainTextEdit(this);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setAccessibleName(tr("Alarm log"));
  Memo->setReadOnly(true);
  Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The lines are padded into columns.
  Memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  ClearAlarmLogBtn = new QPushButton(tr("Clear alarm log"), this);
  ClearAlarmLogBtn->setObjectName(QStringLiteral("ClearAlarmLogBtn"));
  AlarmResetDoneLabel = new QLabel(CoreText("ConsumptionLog", qd::logs::ResetDoneText), this);
  AlarmResetDoneLabel->setObjectName(QStringLiteral("AlarmResetDoneLabel"));
  AlarmResetDoneLabel->hide();
  ExportCsvBtn = new QPushButton(tr("Export CSV..."), this);
  ExportCsvBtn->setObjectName(QStringLiteral("ExportCsvBtn"));
  ExportCsvBtn->setToolTip(tr("Save the alarm history as a CSV file"));
  CloseBtn = new QPushButton(tr("Close"), this);
  CloseBtn->setObjectName(QStringLiteral("CloseBtn"));

  auto* kinds = new QHBoxLayout;
  kinds->addWidget(AlarmHistoryBtn);
  kinds->addWidget(AlarmStateBtn);
  kinds->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ClearAlarmLogBtn);
  buttons->addWidget(AlarmResetDoneLabel);
  buttons->addStretch(1);
  buttons->addWidget(ExportCsvBtn);
  buttons->addWidget(CloseBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(kinds);
  layout->addWidget(Memo, 1);
  layout->addLayout(buttons);

  // AlarmTypeBtnClick: either radio button redraws the list.
  connect(AlarmHistoryBtn, &QRadioButton::clicked, this, &TAlarmLogForm::ShowAlarmLog);
  connect(AlarmStateBtn, &QRadioButton::clicked, this, &TAlarmLogForm::ShowAlarmLog);
  connect(ClearAlarmLogBtn, &QPushButton::clicked, this, &TAlarmLogForm::ClearAlarmLogBtnClick);
  connect(ExportCsvBtn, &QPushButton::clicked, this, &TAlarmLogForm::ExportCsvBtnClick);
  connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
}

void TAlarmLogForm::SetTabOrder() {
  QWidget::setTabOrder(AlarmHistoryBtn, AlarmStateBtn);
  QWidget::setTabOrder(AlarmStateBtn, Memo);
  QWidget::setTabOrder(Memo, ClearAlarmLogBtn);
  QWidget::setTabOrder(ClearAlarmLogBtn, ExportCsvBtn);
  QWidget::setTabOrder(ExportCsvBtn, CloseBtn);
}

void TAlarmLogForm::ExportCsvBtnClick() {
  // The suggested file name stays English, plain ASCII for every file system.
  ExportCsv(tr("Export alarm history"), QStringLiteral("alarm_history.csv"),
            qd::logs::AlarmHistoryCsv(app_.Config().image));
}

void TAlarmLogForm::LinkStateChanged() {
  ClearAlarmLogBtn->setEnabled(app_.Connection().MayStart(qd::link::Operation::AlarmLogClear));
}

void TAlarmLogForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  AlarmResetDoneLabel->hide();
  AlarmHistoryBtn->setChecked(true);
  ShowAlarmLog();
}

void TAlarmLogForm::closeEvent(QCloseEvent* event) {
  // A confirmation still awaited no longer holds the controller.
  app_.Connection().End(qd::link::Operation::AlarmLogClear, false);
  QWidget::closeEvent(event);
}

void TAlarmLogForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TAlarmLogForm::ShowAlarmLog() {
  if (!isVisible()) return;
  const qd::ControllerImage& image = app_.Config().image;
  const std::vector<std::string> lines =
      AlarmHistoryBtn->isChecked() ? qd::logs::AlarmHistoryLines(image) : qd::logs::AlarmStateLines(image);
  QStringList shown;
  for (const std::string& line : lines)
    shown << FromCp1252(line);
  Memo->setPlainText(shown.join(QLatin1Char('\n')));
}

void TAlarmLogForm::ClearAlarmLogBtnClick() {
  AlarmResetDoneLabel->hide();
  RunConfirmedRequest(app_, qd::link::Operation::AlarmLogClear,
                      CoreText("AlarmLog", qd::logs::ClearAlarmLogQuestion),
                      [this] { return SendClearRequest(); });
}

bool TAlarmLogForm::SendClearRequest() {
  qd::transport::Connection& link = app_.Connection();
  const qd::logs::ResetLinkState state{link.LocalMode(), link.RemoteLoggedIn(), link.RemoteOnline()};
  switch (qd::logs::AlarmLogClearRoute(state)) {
    case qd::logs::ResetRoute::Bus:
      // A request the link cannot queue is not retried; "Reset done" only follows the confirmation.
      return link.QueueRequest(qd::logs::AlarmLogClearRequest, qd::link::ControllerAddress, {});
    case qd::logs::ResetRoute::Gateway:
      return link.SendGatewayMessage(qd::logs::GatewayAlarmLogClear);
    case qd::logs::ResetRoute::None:
      break;
  }
  ShowMessageBox(CoreText("AlarmLog", qd::logs::ClearAlarmLogNotConnected), DialogType::Error,
                 QMessageBox::Ok);
  return false;
}

void TAlarmLogForm::AlarmLogCleared() {
  app_.Connection().End(qd::link::Operation::AlarmLogClear, true);
  qd::logs::ClearAlarmHistory(app_.Config().image);
  ShowAlarmLog();
  AlarmResetDoneLabel->show();
}

}  // namespace qd::gui
