#include "transport/gateway_socket.h"

#include <QDeadlineTimer>
#include <algorithm>
#include <vector>

namespace qd::transport {

namespace {

std::optional<quint16> PortNumber(const QString& text) {
  bool ok = false;
  const uint port = text.toUInt(&ok, 10);
  if (!ok || port == 0 || port > 65535) return std::nullopt;
  return static_cast<quint16>(port);
}

}  // namespace

std::optional<GatewayAddress> ParseGatewayAddress(const QString& text) {
  const QString trimmed = text.trimmed();
  GatewayAddress address;
  if (trimmed.startsWith(QLatin1Char('['))) {
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0) return std::nullopt;
    address.host = trimmed.mid(1, close - 1);
    const QString rest = trimmed.mid(close + 1);
    if (!rest.isEmpty()) {
      if (!rest.startsWith(QLatin1Char(':'))) return std::nullopt;
      const auto port = PortNumber(rest.mid(1));
      if (!port) return std::nullopt;
      address.port = *port;
    }
  } else if (trimmed.count(QLatin1Char(':')) == 1) {
    const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
    address.host = trimmed.left(colon);
    const auto port = PortNumber(trimmed.mid(colon + 1));
    if (!port) return std::nullopt;
    address.port = *port;
  } else {
    address.host = trimmed;
  }
  if (address.host.isEmpty()) return std::nullopt;
  return address;
}

GatewaySocket::GatewaySocket(QObject* parent) : QObject(parent), socket_(this) {
  // What a gateway sends faster than it is taken waits in the kernel, not in our memory.
  socket_.setReadBufferSize(ReadBufferLimit);
  connect(&socket_, &QTcpSocket::connected, this, &GatewaySocket::OnConnected);
  connect(&socket_, &QTcpSocket::disconnected, this, &GatewaySocket::OnDisconnected);
  connect(&socket_, &QTcpSocket::errorOccurred, this, &GatewaySocket::OnError);
  connect(&socket_, &QTcpSocket::readyRead, this, &GatewaySocket::ReadWaitingBytes);
  receiver_.onMessage = [this](std::span<const std::uint8_t> message) {
    emit MessageReceived(
        QByteArray(reinterpret_cast<const char*>(message.data()), static_cast<qsizetype>(message.size())));
  };
}

GatewaySocket::~GatewaySocket() {
  // No signals from a half-destroyed object.
  socket_.disconnect(this);
  socket_.abort();
}

bool GatewaySocket::ConnectTo(const QString& address) {
  const std::optional<GatewayAddress> parsed = ParseGatewayAddress(address);
  return parsed && ConnectTo(*parsed);
}

bool GatewaySocket::ConnectTo(const GatewayAddress& address) {
  if (IsOpen() || address.host.isEmpty() || address.port == 0) return false;
  address_ = address;
  connected_ = false;
  receiver_.Reset();
  socket_.connectToHost(address.host, address.port);
  return true;
}

void GatewaySocket::Disconnect() {
  if (!IsOpen()) return;
  // Hand over what the system takes without waiting; the rest goes with the connection.
  socket_.flush();
  socket_.abort();
  // abort() reports the end through OnDisconnected() when the connection was up; make sure.
  OnDisconnected();
}

bool GatewaySocket::SendGatewayMessage(std::span<const std::uint8_t> message) {
  if (!connected_) return false;
  const std::vector<std::uint8_t> frame = qd::link::EncodeGatewayMessage(message);
  if (frame.empty()) return false;
  const auto size = static_cast<qint64>(frame.size());
  for (int attempt = 1; attempt <= policy_.attempts; ++attempt) {
    if (!connected_) return false;
    if (!WouldBlock(size)) {
      if (socket_.write(reinterpret_cast<const char*>(frame.data()), size) != size) return false;
      // Hand the frame to the system now rather than at the next turn of the event loop; a connection
      // found broken on the way takes the frame with it.
      socket_.flush();
      if (!connected_) return false;
      txBytes_ += size;
      emit BytesSent(size);
      return true;
    }
    if (attempt < policy_.attempts && !WaitForRoom()) return false;
  }
  return false;
}

bool GatewaySocket::WouldBlock(qint64 frameSize) const {
  return socket_.bytesToWrite() + frameSize > policy_.bufferLimit;
}

bool GatewaySocket::WaitForRoom() {
  const QDeadlineTimer interval(policy_.retryWait);
  while (connected_ && !interval.hasExpired()) {
    // Writes what the system takes and returns early when it took something; a stalled connection
    // waits out the rest of the interval here.
    const int left = static_cast<int>(std::max<qint64>(interval.remainingTime(), 0));
    if (!socket_.waitForBytesWritten(left) && socket_.state() != QAbstractSocket::ConnectedState) {
      OnDisconnected();
    }
  }
  return connected_;
}

void GatewaySocket::OnConnected() {
  receiver_.Reset();
  connected_ = true;
  emit Connected();
}

void GatewaySocket::OnDisconnected() {
  if (!connected_) return;
  connected_ = false;
  emit Disconnected();
}

void GatewaySocket::OnError(QAbstractSocket::SocketError error) {
  // The server ending the connection in order is reported by Disconnected alone.
  if (error == QAbstractSocket::RemoteHostClosedError) return;
  emit ErrorOccurred(static_cast<int>(error), socket_.errorString());
}

void GatewaySocket::ReadWaitingBytes() {
  while (connected_ && socket_.bytesAvailable() > 0) {
    const QByteArray piece = socket_.read(ReadPieceSize);
    if (piece.isEmpty()) return;
    rxBytes_ += piece.size();
    emit BytesReceived(piece.size());
    for (const char byte : piece) {
      // A receiver of a message may have ended the connection: the rest belongs to no one.
      if (!connected_) return;
      receiver_.Feed(static_cast<std::uint8_t>(byte));
    }
  }
}

}  // namespace qd::transport
