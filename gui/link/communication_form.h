#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "transport/connection.h"
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

// "Communication": shows the connection to the dosing system (the App's one Connection) and edits its
// settings: local on a serial port or remote through a gateway, the port, the gateway host, the login
// to the gateway, and the counters.
class TCommunicationForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int CounterPanelCount = 5;

  explicit TCommunicationForm(App& app);
  ~TCommunicationForm() override;

  void SetLinkMode(bool local);
  // First activation, after the preferences: opens the port in local mode (once the open delay ran out).
  void Start();
  // Once a second: the counter panels, while the window is shown.
  void RefreshCounters();

  // The fields the preferences keep.
  QString ComPortText() const;
  void SetComPortText(const QString& text);
  bool LocalSelected() const;
  QString GatewayServerText() const;
  void SetGatewayServerText(const QString& text);
  // The host to offer next time: the gateway text, or when it is empty the last host connected to
  // (this run's, else the one the preferences remembered).
  QString GatewayHostToKeep() const;
  // Offers `host` in the list, after the build's default host.
  void SetLastGatewayHost(const QString& host);
  QString CounterPanelText(int panel) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void SetSessionPrompts();
  void ConnectToConnection();
  void RemoteConnectBtnClick();
  void ShowGatewayError(int error, const QString& text, const QString& reason);
  void ShowMode(bool local);
  void ShowPortStatus();
  // The note on a slow adapter, while its port is open in local mode.
  void ShowAdapterLatency();
  void ShowRemoteView();
  void ComPortsFound(const QStringList& portNames);
  void ChecksumError();

  App& app_;
  qd::transport::Connection& connection_;
  qd::transport::PortDiscovery discovery_;
  QString lastGatewayHost_;
  std::optional<qd::transport::LatencyTimer> adapterLatency_;  // of the port open now
  QString latencyPort_;                                        // the port it was read for

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
