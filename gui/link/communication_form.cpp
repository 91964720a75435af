#include "gui/link/communication_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "gui/app/app.h"
#include "gui/app/label_colours.h"
#include "gui/app/message_dialog.h"
#include "gui/app/status_text.h"
#include "gui/app/text_codec.h"
#include "gui/editors/machine_form.h"
#include "gui/editors/system_setup_form.h"
#include "gui/link/communication_error_form.h"
#include "gui/link/remote_login_form.h"
#include "transport/gateway_hosts.h"

namespace qd::gui {
namespace {

QString TextOf(std::string_view text) {
  return FromCp1252(text);
}

Background BackgroundOf(qd::link::PortStatus status) {
  switch (status) {
    case qd::link::PortStatus::Ready:
      return Background::Green;
    case qd::link::PortStatus::PortOpen:
    case qd::link::PortStatus::PortClosed:
      return Background::Yellow;
    default:
      return Background::Normal;
  }
}

Background BackgroundOf(qd::link::LabelColour colour) {
  switch (colour) {
    case qd::link::LabelColour::Green:
      return Background::Green;
    case qd::link::LabelColour::Yellow:
      return Background::Yellow;
    default:
      return Background::Normal;
  }
}

}  // namespace

TCommunicationForm::TCommunicationForm(App& app) : app_(app), connection_(app.Connection()) {
  setObjectName(QStringLiteral("CommunicationForm"));
  setWindowTitle(tr("Communication"));
  CreateControls();
  SetSessionPrompts();
  ConnectToConnection();
  ShowRemoteView();
  discovery_.Start();
}

TCommunicationForm::~TCommunicationForm() {
  connection_.SetSessionPrompts({});
}

void TCommunicationForm::CreateControls() {
  const auto named = [](QWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
  };

  localGroup_ = new QGroupBox(tr(" Local "), this);
  LocalBtn = new QRadioButton(tr("Local"), localGroup_);
  COMportLabel = new QLabel(tr("COM port"), localGroup_);
  ComPortCombo = new QComboBox(localGroup_);
  ComPortCombo->setEditable(true);
  ComPortCombo->setInsertPolicy(QComboBox::NoInsert);
  ComPortCombo->addItem(QString::fromLatin1(qd::transport::NoPortName));
  ComPortCombo->setEditText(QStringLiteral("COM1"));
  ComPortCombo->setMinimumContentsLength(12);
  COMportLabel->setBuddy(ComPortCombo);
  OpenBtn = new QPushButton(tr("Open"), localGroup_);
  CloseBtn = new QPushButton(tr("Close"), localGroup_);
  ComportStatusLabel = new QLabel(localGroup_);
  ComportStatusLabel->setAlignment(Qt::AlignCenter);
  ComportStatusLabel->setMinimumWidth(90);
  ComportStatusLabel->setAccessibleDescription(tr("Port state"));
  ComportStatusLabel->hide();
  AdapterLatencyLabel = new QLabel(localGroup_);
  AdapterLatencyLabel->setWordWrap(true);
  AdapterLatencyLabel->hide();
  ShowChecksumErrorBtn = new QCheckBox(tr("Show checksum errors (bus conflicts)."), localGroup_);
  for (auto [widget, name] : {std::pair<QWidget*, const char*>{LocalBtn, "LocalBtn"},
                              {COMportLabel, "COMportLabel"},
                              {ComPortCombo, "ComPortCombo"},
                              {OpenBtn, "OpenBtn"},
                              {CloseBtn, "CloseBtn"},
                              {ComportStatusLabel, "ComportStatusLabel"},
                              {AdapterLatencyLabel, "AdapterLatencyLabel"},
                              {ShowChecksumErrorBtn, "ShowChecksumErrorBtn"}}) {
    named(widget, name);
  }

  auto* portRow = new QHBoxLayout;
  portRow->addWidget(COMportLabel);
  portRow->addWidget(ComPortCombo, 1);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(OpenBtn);
  buttonRow->addWidget(CloseBtn);
  buttonRow->addWidget(ComportStatusLabel, 1);
  auto* local = new QVBoxLayout(localGroup_);
  local->addWidget(LocalBtn);
  local->addLayout(portRow);
  local->addLayout(buttonRow);
  local->addWidget(AdapterLatencyLabel);
  local->addWidget(ShowChecksumErrorBtn);
  local->addStretch(1);

  remoteGroup_ = new QGroupBox(tr(" Remote  "), this);
  RemoteBtn = new QRadioButton(tr("Remote"), remoteGroup_);
  GatewayServerLabel = new QLabel(tr("Gateway:"), remoteGroup_);
  GatewayServerAddressCombo = new QComboBox(remoteGroup_);
  GatewayServerAddressCombo->setEditable(true);
  GatewayServerAddressCombo->setInsertPolicy(QComboBox::NoInsert);
  GatewayServerAddressCombo->addItems(qd::transport::GatewayHostChoices(QString()));
  GatewayServerAddressCombo->setEditText(QString());
  GatewayServerAddressCombo->setMinimumContentsLength(22);
  GatewayServerLabel->setBuddy(GatewayServerAddressCombo);
  RemoteConnectBtn = new QPushButton(CoreText("GatewaySession", qd::link::ConnectCaption), remoteGroup_);
  RemoteStateLabel = new QLabel(remoteGroup_);
  RemoteStateLabel->setAlignment(Qt::AlignCenter);
  RemoteStateLabel->setMinimumWidth(90);
  RemoteStateLabel->setAccessibleDescription(tr("Gateway state"));
  RemoteAccessLabel = new QLabel(remoteGroup_);
  RemoteSystemNameLabel1 = new QLabel(tr("Name:"), remoteGroup_);
  RemoteSystemNameLabel2 = new QLabel(remoteGroup_);
  RemoteSystemNameLabel2->setTextInteractionFlags(Qt::TextSelectableByMouse);
  RemoteSystemIPaddressLabel = new QLabel(remoteGroup_);
  // What a gateway sends is text, never markup.
  RemoteSystemNameLabel2->setTextFormat(Qt::PlainText);
  RemoteSystemIPaddressLabel->setTextFormat(Qt::PlainText);
  RemoteSystemIPaddressLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  for (auto [widget, name] : {std::pair<QWidget*, const char*>{RemoteBtn, "RemoteBtn"},
                              {GatewayServerLabel, "GatewayServerLabel"},
                              {GatewayServerAddressCombo, "GatewayServerAddressCombo"},
                              {RemoteConnectBtn, "RemoteConnectBtn"},
                              {RemoteStateLabel, "RemoteStateLabel"},
                              {RemoteAccessLabel, "RemoteAccessLabel"},
                              {RemoteSystemNameLabel1, "RemoteSystemNameLabel1"},
                              {RemoteSystemNameLabel2, "RemoteSystemNameLabel2"},
                              {RemoteSystemIPaddressLabel, "RemoteSystemIPaddressLabel"}}) {
    named(widget, name);
  }

  auto* gatewayRow = new QHBoxLayout;
  gatewayRow->addWidget(GatewayServerLabel);
  gatewayRow->addWidget(GatewayServerAddressCombo, 1);
  auto* connectRow = new QHBoxLayout;
  connectRow->addWidget(RemoteConnectBtn);
  connectRow->addWidget(RemoteStateLabel);
  connectRow->addWidget(RemoteAccessLabel, 1);
  auto* systemRow = new QHBoxLayout;
  systemRow->addWidget(RemoteSystemNameLabel1);
  systemRow->addWidget(RemoteSystemNameLabel2, 1);
  auto* remote = new QVBoxLayout(remoteGroup_);
  remote->addWidget(RemoteBtn);
  remote->addLayout(gatewayRow);
  remote->addLayout(connectRow);
  remote->addLayout(systemRow);
  remote->addWidget(RemoteSystemIPaddressLabel);
  remote->addStretch(1);

  auto* modes = new QButtonGroup(this);
  modes->addButton(LocalBtn);
  modes->addButton(RemoteBtn);

  auto* counters = new QStatusBar(this);
  counters->setObjectName(QStringLiteral("StatusBar"));
  counters->setSizeGripEnabled(false);
  for (int i = 0; i < CounterPanelCount; ++i) {
    auto* panel = new QLabel(counters);
    panel->setObjectName(QStringLiteral("CounterPanel%1").arg(i));
    panel->setMinimumWidth(i < 2 ? 80 : 100);
    counters->addWidget(panel, i == CounterPanelCount - 1 ? 1 : 0);
    counterPanels_[i] = panel;
  }

  auto* groups = new QHBoxLayout;
  groups->addWidget(localGroup_, 1);
  groups->addWidget(remoteGroup_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addWidget(counters);

  connect(LocalBtn, &QRadioButton::clicked, this, [this] { SetLinkMode(true); });
  connect(RemoteBtn, &QRadioButton::clicked, this, [this] { SetLinkMode(false); });
  connect(OpenBtn, &QPushButton::clicked, this, [this] { connection_.OpenComPort(); });
  connect(CloseBtn, &QPushButton::clicked, this, [this] { connection_.ClosePort(); });
  // The connection opens the port named here, also when its open delay runs out.
  connection_.SetPortName(ComPortCombo->currentText());
  connect(ComPortCombo, &QComboBox::editTextChanged, this,
          [this](const QString& text) { connection_.SetPortName(text); });
  // A port chosen from the list, or a name typed and confirmed, opens at once.
  connect(ComPortCombo, &QComboBox::activated, this,
          [this] { connection_.OpenComPort(ComPortCombo->currentText()); });
  connect(ComPortCombo->lineEdit(), &QLineEdit::returnPressed, this,
          [this] { connection_.OpenComPort(ComPortCombo->currentText()); });
  connect(RemoteConnectBtn, &QPushButton::clicked, this, &TCommunicationForm::RemoteConnectBtnClick);
}

void TCommunicationForm::SetSessionPrompts() {
  qd::transport::Connection::SessionPrompts prompts;
  prompts.askLogin = [this] { return app_.RemoteLogin().AskLogin(GatewayServerText()); };
  prompts.chooseSystem = [this](const qd::link::SystemList& systems) {
    return app_.RemoteLogin().ChooseSystem(systems);
  };
  prompts.retryLogin = [] {
    return ShowMessageDialog(CoreText("GatewaySession", qd::link::LoginRefusedText), DialogType::Error,
                             QMessageBox::Retry | QMessageBox::Cancel) == QMessageBox::Retry;
  };
  prompts.statusWanted = [this] {
    const auto shown = [](const QWidget* window) { return window != nullptr && window->isVisible(); };
    if (shown(app_.SystemSetupIfCreated())) return true;
    for (int i = 0; i < qd::MachineCount; ++i) {
      if (shown(app_.MachineIfCreated(i))) return true;
    }
    return false;
  };
  connection_.SetSessionPrompts(std::move(prompts));
}

void TCommunicationForm::ConnectToConnection() {
  using qd::transport::Connection;
  connect(&connection_, &Connection::PortStatusChanged, this, &TCommunicationForm::ShowPortStatus);
  connect(&connection_, &Connection::RemoteViewChanged, this, &TCommunicationForm::ShowRemoteView);
  connect(&connection_, &Connection::ChecksumError, this, &TCommunicationForm::ChecksumError);
  connect(&connection_, &Connection::GatewayError, this, &TCommunicationForm::ShowGatewayError);
  connect(&discovery_, &qd::transport::PortDiscovery::PortsFound, this, &TCommunicationForm::ComPortsFound);
}

void TCommunicationForm::ShowGatewayError(int /*error*/, const QString& text, const QString& reason) {
  // The reason in words helps more than the number alone.
  QString message = text;
  if (!reason.isEmpty()) message += QStringLiteral("\n\n") + reason;
  ShowMessageBox(message, DialogType::Error);
}

void TCommunicationForm::SetLinkMode(bool local) {
  connection_.SetLinkMode(local);
  ShowMode(local);
  ShowPortStatus();
}

void TCommunicationForm::ShowMode(bool local) {
  LocalBtn->setChecked(local);
  RemoteBtn->setChecked(!local);
  for (QWidget* control : {static_cast<QWidget*>(COMportLabel), static_cast<QWidget*>(ComPortCombo),
                           static_cast<QWidget*>(OpenBtn), static_cast<QWidget*>(CloseBtn),
                           static_cast<QWidget*>(ShowChecksumErrorBtn)}) {
    control->setEnabled(local);
  }
  for (QWidget* control :
       {static_cast<QWidget*>(GatewayServerLabel), static_cast<QWidget*>(GatewayServerAddressCombo),
        static_cast<QWidget*>(RemoteConnectBtn)}) {
    control->setEnabled(!local);
  }
}

void TCommunicationForm::Start() {
  if (LocalBtn->isChecked() && !ComPortCombo->currentText().isEmpty()) connection_.OpenComPort();
}

void TCommunicationForm::RefreshCounters() {
  if (!isVisible()) return;
  const std::array<std::string, CounterPanelCount> texts =
      qd::link::CounterTexts(connection_.Link().Counters());
  for (int i = 0; i < CounterPanelCount; ++i)
    counterPanels_[i]->setText(FromCp1252(texts[i]));
}

QString TCommunicationForm::CounterPanelText(int panel) const {
  return counterPanels_.at(panel)->text();
}

QString TCommunicationForm::ComPortText() const {
  return ComPortCombo->currentText();
}

void TCommunicationForm::SetComPortText(const QString& text) {
  ComPortCombo->setEditText(text);
  connection_.SetPortName(text);
}

bool TCommunicationForm::LocalSelected() const {
  return LocalBtn->isChecked();
}

QString TCommunicationForm::GatewayServerText() const {
  return GatewayServerAddressCombo->currentText();
}

void TCommunicationForm::SetGatewayServerText(const QString& text) {
  GatewayServerAddressCombo->setEditText(text);
}

QString TCommunicationForm::GatewayHostToKeep() const {
  const QString text = GatewayServerText().trimmed();
  return text.isEmpty() ? lastGatewayHost_ : text;
}

void TCommunicationForm::SetLastGatewayHost(const QString& host) {
  lastGatewayHost_ = host.trimmed();
  const QString text = GatewayServerAddressCombo->currentText();
  GatewayServerAddressCombo->clear();
  GatewayServerAddressCombo->addItems(qd::transport::GatewayHostChoices(lastGatewayHost_));
  GatewayServerAddressCombo->setEditText(text);
}

void TCommunicationForm::RemoteConnectBtnClick() {
  const QString host = GatewayServerAddressCombo->currentText().trimmed();
  // A connect, not the disconnect of an open socket, names the host to offer next time.
  if (connection_.Session().Socket() == qd::link::SocketState::Closed && !host.isEmpty())
    SetLastGatewayHost(host);
  connection_.RemoteConnect(host.toStdString());
}

void TCommunicationForm::ShowPortStatus() {
  ShowAdapterLatency();
  const qd::link::PortStatus status = connection_.Link().Status();
  if (status == qd::link::PortStatus::Hidden) {
    ComportStatusLabel->hide();
    return;
  }
  ShowStatusText(ComportStatusLabel, TextOf(qd::link::PortStatusText(status)));
  SetLabelBackground(ComportStatusLabel, BackgroundOf(status));
  ComportStatusLabel->show();
}

void TCommunicationForm::ShowAdapterLatency() {
  qd::transport::ComPort& port = connection_.Port();
  if (!port.IsOpen()) {
    latencyPort_.clear();
  } else if (latencyPort_ != port.DeviceName()) {
    // Read once after the open: the port asks the driver for low latency, which may lower the timer.
    latencyPort_ = port.DeviceName();
    adapterLatency_ = qd::transport::FindLatencyTimer(latencyPort_);
  }
  const bool slow = connection_.LocalMode() && port.IsOpen() && adapterLatency_ &&
                    adapterLatency_->milliseconds > qd::transport::LowLatencyTimerMs;
  if (slow) {
    AdapterLatencyLabel->setText(
        tr("Adapter latency %1 ms: answers are slow. Install the udev rule or run 'qdtool doctor'.")
            .arg(adapterLatency_->milliseconds));
  }
  AdapterLatencyLabel->setVisible(slow);
}

void TCommunicationForm::ShowRemoteView() {
  const qd::link::RemoteView& view = connection_.Session().View();
  ShowStatusText(RemoteStateLabel, TextOf(qd::link::RemoteStateText(view.state)));
  SetLabelBackground(RemoteStateLabel, BackgroundOf(qd::link::RemoteStateColour(view.state)));
  RemoteStateLabel->setVisible(view.stateVisible);
  RemoteAccessLabel->setText(TextOf(qd::link::RemoteAccessText(view.access)));
  RemoteAccessLabel->setVisible(view.accessVisible);
  RemoteSystemNameLabel1->setEnabled(view.systemNameCaptionEnabled);
  RemoteSystemNameLabel2->setText(FromCp1252(view.systemName));
  RemoteSystemNameLabel2->setVisible(view.systemNameVisible);
  RemoteSystemIPaddressLabel->setText(FromCp1252(view.ipAddress));
  RemoteSystemIPaddressLabel->setVisible(view.ipAddressVisible);
  RemoteConnectBtn->setText(TextOf(view.connectCaption));
}

void TCommunicationForm::ComPortsFound(const QStringList& portNames) {
  const QString text = ComPortCombo->currentText();
  ComPortCombo->clear();
  ComPortCombo->addItem(QString::fromLatin1(qd::transport::NoPortName));
  ComPortCombo->addItems(portNames);
  ComPortCombo->setEditText(text);
}

void TCommunicationForm::ChecksumError() {
  const qd::link::LinkCounters& counters = connection_.Link().Counters();
  TCommunicationErrorForm& window = app_.CommunicationError();
  window.ShowCounts(counters.retryCount, counters.checksumErrorCount);
  if (ShowChecksumErrorBtn->isChecked() && !window.isVisible()) {
    // Shown from the receive handler: it must not take the keyboard from the window being typed in.
    window.setAttribute(Qt::WA_ShowWithoutActivating);
    window.show();
  }
}

void TCommunicationForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace qd::gui
