#include "gateway_server.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdio>

namespace qd::sim {

GatewayServer::GatewayServer(GatewayDirectory directory, Controller& controller, std::function<SimTime()> now,
                             bool verbose, QObject* parent)
    : QObject(parent),
      server_(new QTcpServer(this)),
      directory_(std::move(directory)),
      controller_(controller),
      now_(std::move(now)),
      verbose_(verbose) {
  connect(server_, &QTcpServer::newConnection, this, &GatewayServer::Accept);
}

GatewayServer::~GatewayServer() {
  for (auto& [id, client] : clients_) {
    client.socket->disconnect(this);
    client.socket->abort();
  }
}

bool GatewayServer::Listen(const QString& host, quint16 port, QString& error) {
  QHostAddress address;
  if (host == QLatin1String("localhost"))
    address = QHostAddress::LocalHost;
  else if (!address.setAddress(host)) {
    error = QStringLiteral("--gateway-host wants an IP address, not '%1'").arg(host);
    return false;
  }
  if (!server_->listen(address, port)) {
    error = QStringLiteral("gateway on %1 port %2: %3").arg(host).arg(port).arg(server_->errorString());
    return false;
  }
  return true;
}

QString GatewayServer::Address() const {
  const QHostAddress address = server_->serverAddress();
  const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                           ? QStringLiteral("[%1]").arg(address.toString())
                           : address.toString();
  return QStringLiteral("%1:%2").arg(host).arg(server_->serverPort());
}

void GatewayServer::Accept() {
  while (QTcpSocket* socket = server_->nextPendingConnection()) {
    const int id = nextId_++;
    socket->setParent(this);
    Client client{socket, std::make_unique<GatewayConnection>(directory_, controller_, id)};
    client.connection->onSend = [socket](std::span<const std::uint8_t> frame) {
      socket->write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
    };
    if (verbose_) {
      client.connection->onTrace = [this, id](const GatewayConnection::TraceEvent& event) { Log(id, event); };
    }
    connect(socket, &QTcpSocket::readyRead, this, [this, id] { OnReadyRead(id); });
    connect(socket, &QTcpSocket::disconnected, this, [this, id] { OnDisconnected(id); });
    const QString peer =
        QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
    Log(id, {now_(), false, {}, "connected from " + peer.toStdString()});
    clients_.emplace(id, std::move(client));
  }
}

void GatewayServer::OnReadyRead(int id) {
  const auto it = clients_.find(id);
  if (it == clients_.end()) return;
  QTcpSocket* socket = it->second.socket;
  GatewayConnection& connection = *it->second.connection;
  const QByteArray bytes = socket->readAll();
  connection.Receive(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                   static_cast<std::size_t>(bytes.size())),
                     now_());
  // Goes once the frames before the fault are out; may end the client before it returns.
  if (connection.Dropping()) socket->disconnectFromHost();
}

void GatewayServer::OnDisconnected(int id) {
  const auto it = clients_.find(id);
  if (it == clients_.end()) return;
  it->second.connection->Close();
  Log(id, {now_(), false, {}, "closed"});
  it->second.socket->deleteLater();
  clients_.erase(it);
}

void GatewayServer::Log(int id, const GatewayConnection::TraceEvent& event) const {
  if (verbose_) std::fprintf(stderr, "%s\n", GatewayTraceLine(id, event).c_str());
}

}  // namespace qd::sim
