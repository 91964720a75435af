#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "link/bus_link.h"
#include "link/dispatch.h"
#include "link/gateway_session.h"
#include "transport/com_port.h"
#include "transport/gateway_socket.h"
#include "transport/port_discovery.h"
#include "transport/serial_latency.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace qd::gui {

class App;

// The link to the dosing system: the serial port and the bus link in local mode, the gateway socket and
// session in remote mode, the reply dispatch, and the counters. Other windows send through it and get
// their replies through Dispatch().
class TCommunicationForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr char DefaultGatewayHost[] = "gateway.kestrelon.com";
  static constexpr char LoopbackGatewayHost[] = "127.0.0.1";
  static constexpr int CounterPanelCount = 5;

  explicit TCommunicationForm(App& app);
  ~TCommunicationForm() override;

  qd::link::BusLink& Link() { return link_; }
  qd::link::Dispatcher& Dispatch() { return dispatcher_; }
  qd::link::GatewaySession& Session() { return session_; }
  qd::transport::ComPort& Port() { return port_; }

  // Link flags other windows read.
  bool LocalMode() const { return localMode_; }
  bool LinkReady() const;
  bool RemoteLoggedIn() const { return session_.RemoteLoggedIn(); }
  bool RemoteOnline() const { return session_.RemoteOnline(); }
  bool RemoteFullAccess() const { return session_.RemoteFullAccess(); }
  // Local mode, or remote with the system online and full access: controls that change the controller.
  bool ChangesAllowed() const;

  // Senders.
  bool QueueRequest(std::uint8_t command, std::uint8_t destination, std::span<const std::uint8_t> data);
  bool SendFrame(std::vector<std::uint8_t>& payload);
  bool SendRawFrame(std::span<const std::uint8_t> data);
  bool SendGatewayMessage(std::span<const std::uint8_t> message);

  bool OpenComPort();
  void SetLinkMode(bool local);
  // First activation, after the preferences: opens the port in local mode (once the open delay ran out).
  void Start();
  void LinkTick();
  // Once a second: the counter panels, while the window is shown.
  void RefreshCounters();

  // The fields the preferences keep.
  QString ComPortText() const;
  void SetComPortText(const QString& text);
  bool LocalSelected() const;
  QString GatewayServerText() const;
  void SetGatewayServerText(const QString& text);
  QString CounterPanelText(int panel) const;

 signals:
  // LinkReady, the mode or the remote session changed: windows that act on the controller refresh.
  void LinkStateChanged();
  // The remote connection or the selected remote system changed.
  void CaptionChanged();
  // The serial port closed itself (adapter unplugged) or the gateway connection ended.
  void ConnectionLost();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  qd::link::GatewaySession::Environment MakeSessionEnvironment();
  void ConnectTransports();
  void CloseBtnClick();
  void RemoteConnectBtnClick();
  void SocketError(int error, const QString& reason);
  void ShowPortStatus();
  // The note on a slow adapter, while its port is open in local mode.
  void ShowAdapterLatency();
  void ShowRemoteView();
  void ComPortsFound(const QStringList& portNames);
  void ChecksumError();

  App& app_;
  qd::transport::ComPort port_;
  qd::link::BusLink link_;
  qd::link::Dispatcher dispatcher_;
  qd::transport::GatewaySocket socket_;
  qd::link::GatewaySession session_;
  qd::transport::PortDiscovery discovery_;
  bool localMode_ = false;  // neither mode until the preferences or the user choose
  std::optional<qd::transport::LatencyTimer> adapterLatency_;  // read when the port opened

  QGroupBox* localGroup_ = nullptr;
  QRadioButton* LocalBtn = nullptr;
  QLabel* COMportLabel = nullptr;
  QComboBox* ComPortCombo = nullptr;
  QPushButton* OpenBtn = nullptr;
  QPushButton* CloseBtn = nullptr;
  QLabel* ComportStatusLabel = nullptr;
  QLabel* AdapterLatencyLabel = nullptr;
  QCheckBox* ShowChecksumErrorBtn = nullptr;
  QGroupBox* remoteGroup_ = nullptr;
  QRadioButton* RemoteBtn = nullptr;
  QLabel* GatewayServerLabel = nullptr;
  QComboBox* GatewayServerAddressCombo = nullptr;
  QPushButton* RemoteConnectBtn = nullptr;
  QLabel* RemoteStateLabel = nullptr;
  QLabel* RemoteAccessLabel = nullptr;
  QLabel* RemoteSystemNameLabel1 = nullptr;
  QLabel* RemoteSystemNameLabel2 = nullptr;
  QLabel* RemoteSystemIPaddressLabel = nullptr;
  std::array<QLabel*, CounterPanelCount> counterPanels_{};
};

}  // namespace qd::gui
