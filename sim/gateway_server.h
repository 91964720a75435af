#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "controller.h"
#include "gateway_connection.h"
#include "gateway_directory.h"
#include "sim_time.h"

class QTcpServer;
class QTcpSocket;

namespace qd::sim {

// The gateway server on TCP: every accepted connection gets a GatewayConnection on the shared
// directory and the simulated controller, which the bus uses at the same time (all on one thread).
// A connection that a fault drops is closed once what was sent before the fault has gone out.
class GatewayServer : public QObject {
  Q_OBJECT

 public:
  GatewayServer(GatewayDirectory directory, Controller& controller, std::function<SimTime()> now,
                bool verbose, QObject* parent = nullptr);
  ~GatewayServer() override;

  // False with the reason in `error` when the address is not one or the port cannot be taken.
  bool Listen(const QString& host, quint16 port, QString& error);
  // "HOST:PORT" as listening, once listening.
  QString Address() const;

 private:
  struct Client {
    QTcpSocket* socket = nullptr;  // owned by the server object
    std::unique_ptr<GatewayConnection> connection;
  };

  void Accept();
  void OnReadyRead(int id);
  void OnDisconnected(int id);
  void Log(int id, const GatewayConnection::TraceEvent& event) const;

  QTcpServer* server_;
  GatewayDirectory directory_;
  Controller& controller_;
  std::function<SimTime()> now_;
  bool verbose_;
  int nextId_ = 1;
  std::map<int, Client> clients_;
};

}  // namespace qd::sim
