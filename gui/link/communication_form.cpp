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
#include "gui/app/text_codec.h"
#include "gui/editors/machine_form.h"
#include "gui/editors/system_setup_form.h"
#include "gui/link/communication_error_form.h"
#include "gui/link/remote_login_form.h"

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

TCommunicationForm::TCommunicationForm(App& app)
    : app_(app), link_(port_), session_(MakeSessionEnvironment()) {
  setObjectName(QStringLiteral("CommunicationForm"));
  setWindowTitle(QStringLiteral("Communication"));
  CreateControls();
  ConnectTransports();
  session_.RegisterWith(dispatcher_);
  ShowRemoteView();
  discovery_.Start();
}

TCommunicationForm::~TCommunicationForm() {
  // The session may still call into the socket while it goes.
  session_.events = {};
  link_.handlers = {};
}

void TCommunicationForm::CreateControls() {
  const auto named = [](QWidget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
  };

  localGroup_ = new QGroupBox(QStringLiteral(" Local "), this);
  LocalBtn = new QRadioButton(QStringLiteral("Local"), localGroup_);
  COMportLabel = new QLabel(QStringLiteral("COM port"), localGroup_);
  ComPortCombo = new QComboBox(localGroup_);
  ComPortCombo->setEditable(true);
  ComPortCombo->setInsertPolicy(QComboBox::NoInsert);
  ComPortCombo->addItem(QString::fromLatin1(qd::transport::NoPortName));
  ComPortCombo->setEditText(QStringLiteral("COM1"));
  ComPortCombo->setMinimumContentsLength(12);
  COMportLabel->setBuddy(ComPortCombo);
  OpenBtn = new QPushButton(QStringLiteral("Open"), localGroup_);
  CloseBtn = new QPushButton(QStringLiteral("Close"), localGroup_);
  ComportStatusLabel = new QLabel(localGroup_);
  ComportStatusLabel->setAlignment(Qt::AlignCenter);
  ComportStatusLabel->setMinimumWidth(90);
  ComportStatusLabel->setAccessibleName(QStringLiteral("Port state"));
  ComportStatusLabel->hide();
  AdapterLatencyLabel = new QLabel(localGroup_);
  AdapterLatencyLabel->setWordWrap(true);
  AdapterLatencyLabel->hide();
  ShowChecksumErrorBtn = new QCheckBox(QStringLiteral("Show checksum errors (bus conflicts)."), localGroup_);
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

  remoteGroup_ = new QGroupBox(QStringLiteral(" Remote  "), this);
  RemoteBtn = new QRadioButton(QStringLiteral("Remote"), remoteGroup_);
  GatewayServerLabel = new QLabel(QStringLiteral("Gateway:"), remoteGroup_);
  GatewayServerAddressCombo = new QComboBox(remoteGroup_);
  GatewayServerAddressCombo->setEditable(true);
  GatewayServerAddressCombo->setInsertPolicy(QComboBox::NoInsert);
  GatewayServerAddressCombo->addItems(
      {QString::fromLatin1(DefaultGatewayHost), QString::fromLatin1(LoopbackGatewayHost)});
  GatewayServerAddressCombo->setEditText(QString());
  GatewayServerAddressCombo->setMinimumContentsLength(22);
  GatewayServerLabel->setBuddy(GatewayServerAddressCombo);
  RemoteConnectBtn = new QPushButton(TextOf(qd::link::ConnectCaption), remoteGroup_);
  RemoteStateLabel = new QLabel(remoteGroup_);
  RemoteStateLabel->setAlignment(Qt::AlignCenter);
  RemoteStateLabel->setMinimumWidth(90);
  RemoteStateLabel->setAccessibleName(QStringLiteral("Gateway state"));
  RemoteAccessLabel = new QLabel(remoteGroup_);
  RemoteSystemNameLabel1 = new QLabel(QStringLiteral("Name:"), remoteGroup_);
  RemoteSystemNameLabel2 = new QLabel(remoteGroup_);
  RemoteSystemNameLabel2->setTextInteractionFlags(Qt::TextSelectableByMouse);
  RemoteSystemIPaddressLabel = new QLabel(remoteGroup_);
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
  connect(OpenBtn, &QPushButton::clicked, this, [this] { OpenComPort(); });
  connect(CloseBtn, &QPushButton::clicked, this, &TCommunicationForm::CloseBtnClick);
  // A port chosen from the list, or a name typed and confirmed, opens at once.
  connect(ComPortCombo, &QComboBox::activated, this, [this] { OpenComPort(); });
  connect(ComPortCombo->lineEdit(), &QLineEdit::returnPressed, this, [this] { OpenComPort(); });
  connect(RemoteConnectBtn, &QPushButton::clicked, this, &TCommunicationForm::RemoteConnectBtnClick);
}

qd::link::GatewaySession::Environment TCommunicationForm::MakeSessionEnvironment() {
  qd::link::GatewaySession::Environment env;
  env.sendGatewayMessage = [this](std::span<const std::uint8_t> message) {
    return SendGatewayMessage(message);
  };
  env.openSocket = [this](const std::string& host, std::uint16_t /*port*/) {
    // The address may name its own port ("HOST:PORT"); 14011 otherwise.
    if (!socket_.ConnectTo(FromCp1252(host))) SocketError(QAbstractSocket::HostNotFoundError, {});
  };
  env.closeSocket = [this] { socket_.Disconnect(); };
  env.askLogin = [this] { return app_.RemoteLogin().AskLogin(); };
  env.chooseSystem = [this](const qd::link::SystemList& systems) {
    return app_.RemoteLogin().ChooseSystem(systems);
  };
  env.retryLogin = [] {
    return ShowMessageDialog(TextOf(qd::link::LoginRefusedText), DialogType::Error,
                             QMessageBox::Retry | QMessageBox::Cancel) == QMessageBox::Retry;
  };
  env.statusWindowShown = [this] {
    if (app_.SystemSetup().isVisible()) return true;
    for (int i = 0; i < qd::link::Dispatcher::MachineCount; ++i) {
      if (app_.Machine(i).isVisible()) return true;
    }
    return false;
  };
  return env;
}

void TCommunicationForm::ConnectTransports() {
  link_.handlers.dispatch = [this](qd::link::PayloadView frame) { dispatcher_.DispatchBusFrame(frame); };
  link_.handlers.linkStateChanged = [this] {
    ShowPortStatus();
    emit LinkStateChanged();
  };
  link_.handlers.checksumError = [this] { ChecksumError(); };
  link_.handlers.openPort = [this] { OpenComPort(); };
  link_.handlers.manualOutputs = [this] { return app_.SystemSetup().ManualControl(); };
  link_.handlers.triggerFrame = [this](int machineIndex, qd::link::PayloadView frame) {
    if (machineIndex >= 0 && machineIndex < qd::link::Dispatcher::MachineCount)
      app_.Machine(machineIndex).ApplyStatus(frame);
  };
  connect(&port_, &qd::transport::ComPort::BytesReceived, this,
          [this](const QByteArray& bytes) { link_.Receive(qd::transport::ByteSpan(bytes)); });
  // An adapter pulled out: the link is no longer ready, and the tick shows "Port closed". A request still
  // queued belongs to the lost transfer and must not reach whatever controller is plugged in next.
  connect(&port_, &qd::transport::ComPort::ClosedByError, this, [this] {
    link_.ClearQueue();
    link_.ResetLinkState();
    emit ConnectionLost();
  });

  session_.events.changed = [this] { ShowRemoteView(); };
  session_.events.linkStateChanged = [this] { emit LinkStateChanged(); };
  session_.events.captionChanged = [this] { emit CaptionChanged(); };
  session_.events.connectionLost = [this] {
    link_.ResetLinkState();
    emit ConnectionLost();
  };
  connect(&socket_, &qd::transport::GatewaySocket::Connected, this,
          [this] { session_.ClientSocketConnect(); });
  connect(&socket_, &qd::transport::GatewaySocket::MessageReceived, this, [this](const QByteArray& message) {
    dispatcher_.DispatchGatewayMessage(qd::transport::ByteSpan(message));
  });
  connect(&socket_, &qd::transport::GatewaySocket::Disconnected, this,
          [this] { session_.ClientSocketDisconnect(); });
  connect(&socket_, &qd::transport::GatewaySocket::ErrorOccurred, this,
          [this](int error, const QString& text) { SocketError(error, text); });
  connect(&socket_, &qd::transport::GatewaySocket::BytesReceived, this,
          [this](qint64 count) { link_.CountGatewayBytes(static_cast<std::size_t>(count), 0); });
  connect(&socket_, &qd::transport::GatewaySocket::BytesSent, this,
          [this](qint64 count) { link_.CountGatewayBytes(0, static_cast<std::size_t>(count)); });
  connect(&discovery_, &qd::transport::PortDiscovery::PortsFound, this, &TCommunicationForm::ComPortsFound);
}

void TCommunicationForm::SocketError(int error, const QString& reason) {
  const std::string text = session_.ClientSocketError(error);
  if (text.empty()) return;
  // The reason in words helps more than the number alone.
  QString message = FromCp1252(text);
  if (!reason.isEmpty()) message += QStringLiteral("\n\n") + reason;
  ShowMessageBox(message, DialogType::Error);
}

bool TCommunicationForm::LinkReady() const {
  return localMode_ ? link_.LinkReady() : session_.LinkReady();
}

bool TCommunicationForm::ChangesAllowed() const {
  return localMode_ || session_.RemoteChangesAllowed();
}

bool TCommunicationForm::QueueRequest(std::uint8_t command, std::uint8_t destination,
                                      std::span<const std::uint8_t> data) {
  return link_.QueueRequest(command, destination, data);
}

bool TCommunicationForm::SendFrame(std::vector<std::uint8_t>& payload) {
  return link_.SendFrame(payload);
}

bool TCommunicationForm::SendRawFrame(std::span<const std::uint8_t> data) {
  return link_.SendRawFrame(data);
}

bool TCommunicationForm::SendGatewayMessage(std::span<const std::uint8_t> message) {
  return socket_.SendGatewayMessage(message);
}

bool TCommunicationForm::OpenComPort() {
  link_.ResetLinkState();
  if (link_.OpenDelayLeft() > 0) return false;
  const QString name = ComPortCombo->currentText().trimmed();
  if (name == QLatin1String(qd::transport::NoPortName)) {
    port_.Close();
    ShowAdapterLatency();
    return false;
  }
  // The port component maps the name to its device (COM12 and /dev paths included).
  if (name != port_.DeviceName()) {
    port_.Close();
    port_.SetDeviceName(name);
  }
  if (!port_.IsOpen()) {
    port_.Open();
    // After the open: the port asks the driver for low latency, which may lower the timer.
    adapterLatency_ = port_.IsOpen() ? qd::transport::FindLatencyTimer(name) : std::nullopt;
  }
  ShowAdapterLatency();
  return port_.IsOpen();
}

void TCommunicationForm::CloseBtnClick() {
  port_.Close();
  link_.PortClosedByUser();
  ShowPortStatus();
}

void TCommunicationForm::SetLinkMode(bool local) {
  localMode_ = local;
  link_.ResetLinkState();
  ComportStatusLabel->hide();
  // Clears the session, closes the socket and tells the dependent windows.
  session_.SetLinkMode(local);
  LocalBtn->setChecked(local);
  RemoteBtn->setChecked(!local);
  if (local) {
    OpenComPort();
  } else {
    port_.Close();
  }
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
  ShowPortStatus();
  emit LinkStateChanged();
}

void TCommunicationForm::Start() {
  if (LocalBtn->isChecked() && !ComPortCombo->currentText().isEmpty()) OpenComPort();
}

void TCommunicationForm::LinkTick() {
  link_.Tick(localMode_);
  if (localMode_) {
    ShowPortStatus();
  } else {
    session_.LinkTick();
  }
}

void TCommunicationForm::RefreshCounters() {
  if (!isVisible()) return;
  const std::array<std::string, CounterPanelCount> texts = qd::link::CounterTexts(link_.Counters());
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

void TCommunicationForm::RemoteConnectBtnClick() {
  session_.RemoteConnectBtnClick(ToCp1252(GatewayServerAddressCombo->currentText().trimmed()));
}

void TCommunicationForm::ShowPortStatus() {
  ShowAdapterLatency();
  const qd::link::PortStatus status = link_.Status();
  if (status == qd::link::PortStatus::Hidden) {
    ComportStatusLabel->hide();
    return;
  }
  ComportStatusLabel->setText(TextOf(qd::link::PortStatusText(status)));
  SetLabelBackground(ComportStatusLabel, BackgroundOf(status));
  ComportStatusLabel->show();
}

void TCommunicationForm::ShowAdapterLatency() {
  const bool slow = localMode_ && port_.IsOpen() && adapterLatency_ &&
                    adapterLatency_->milliseconds > qd::transport::LowLatencyTimerMs;
  if (slow) {
    AdapterLatencyLabel->setText(QStringLiteral("Adapter latency %1 ms: answers are slow. "
                                                "Install the udev rule or run 'qdtool doctor'.")
                                     .arg(adapterLatency_->milliseconds));
  }
  AdapterLatencyLabel->setVisible(slow);
}

void TCommunicationForm::ShowRemoteView() {
  const qd::link::RemoteView& view = session_.View();
  RemoteStateLabel->setText(TextOf(qd::link::RemoteStateText(view.state)));
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
  const qd::link::LinkCounters& counters = link_.Counters();
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
