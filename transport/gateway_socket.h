#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

#include "link/gateway_codec.h"

namespace qd::transport {

inline constexpr quint16 DefaultGatewayPort = 14011;

struct GatewayAddress {
  QString host;
  quint16 port = DefaultGatewayPort;

  bool operator==(const GatewayAddress&) const = default;
};

// "HOST" (port 14011), "HOST:PORT", or "[IPV6]:PORT"; a text with more than one ':' and no brackets is
// an IPv6 address on port 14011. Blanks around the text are ignored. Nothing for an empty host or a
// port that is not 1..65535.
std::optional<GatewayAddress> ParseGatewayAddress(const QString& text);

// When a send "would block". QTcpSocket takes every write into a buffer of its own that the event
// loop hands to the system as the connection allows, so a write never refuses. Here a frame would
// block when the bytes the system has not yet taken, plus the frame, would go beyond `bufferLimit`:
// the frame is then not written at all (never in part), the sender waits `retryWait` while the socket
// hands over what it can, and tries again, `attempts` times in all.
struct GatewaySendPolicy {
  qint64 bufferLimit = 64 * 1024;
  int attempts = 100;
  std::chrono::milliseconds retryWait{10};
};

// The TCP connection to a gateway server, non-blocking. Gateway messages go out framed (class, code,
// data, checksum; stuffed between STX and ETX) and come in unframed, without their checksum; frames
// with a bad checksum are dropped. Bytes before the first STX of a connection are discarded.
//
// Signals: Connected once the connection is up; MessageReceived for every good frame;
// Disconnected when a connection that was up ends, whoever ended it (Disconnect() included, which
// emits it before it returns); ErrorOccurred for a failure (host not found, refused, network lost),
// which a connection that was up follows with Disconnected. The server closing the connection in
// order is no error: Disconnected alone.
//
// The byte counts take every byte read from the socket (in pieces of at most 2000 bytes) and every
// byte of each frame sent, STX and ETX included. All calls and signals belong to the object's thread.
class GatewaySocket : public QObject {
  Q_OBJECT

 public:
  static constexpr qint64 ReadPieceSize = 2000;
  static constexpr qint64 ReadBufferLimit = 64 * 1024;

  explicit GatewaySocket(QObject* parent = nullptr);
  ~GatewaySocket() override;

  // Starts connecting and returns at once. False, and nothing started, when the address text is not
  // one ParseGatewayAddress() takes or while a connection is open or being opened.
  bool ConnectTo(const QString& address);
  bool ConnectTo(const GatewayAddress& address);
  // Ends the connection or the attempt at once; frames the system has not taken yet are dropped.
  // Safe when nothing is open.
  void Disconnect();

  bool IsConnected() const { return connected_; }
  // Connecting or connected.
  bool IsOpen() const { return socket_.state() != QAbstractSocket::UnconnectedState; }
  GatewayAddress PeerAddress() const { return address_; }

  // Encodes the message and sends the whole frame. False when not connected, when the message does
  // not fit a gateway frame, when the frame would block (GatewaySendPolicy) on every attempt, or when
  // the connection ends while it waits; true once the whole frame is with the socket. The waits run
  // no event loop, but the socket may report its end from inside them.
  bool SendGatewayMessage(std::span<const std::uint8_t> message);

  void SetSendPolicy(const GatewaySendPolicy& policy) { policy_ = policy; }
  const GatewaySendPolicy& SendPolicy() const { return policy_; }

  // Bytes received and sent since construction or the last ClearByteCounts().
  qint64 RxBytes() const { return rxBytes_; }
  qint64 TxBytes() const { return txBytes_; }
  void ClearByteCounts() { rxBytes_ = txBytes_ = 0; }

  // Bytes not yet taken by the system.
  qint64 BytesToWrite() const { return socket_.bytesToWrite(); }

 signals:
  void Connected();
  // A message without its checksum byte: class, code, data.
  void MessageReceived(const QByteArray& message);
  void Disconnected();
  // The QAbstractSocket::SocketError number and the system's text for it.
  void ErrorOccurred(int socketError, const QString& text);
  // A piece read from the socket, counted before the messages it completes are emitted.
  void BytesReceived(qint64 count);
  // A frame sent, counted when SendGatewayMessage() gives true.
  void BytesSent(qint64 count);

 private:
  bool WouldBlock(qint64 frameSize) const;
  // Waits one retry interval while the socket hands its buffer over; false once the connection is gone.
  bool WaitForRoom();
  void OnConnected();
  void OnDisconnected();
  void OnError(QAbstractSocket::SocketError error);
  void ReadWaitingBytes();

  QTcpSocket socket_;
  qd::link::GatewayReceiver receiver_;
  GatewaySendPolicy policy_;
  GatewayAddress address_;
  bool connected_ = false;
  qint64 rxBytes_ = 0;
  qint64 txBytes_ = 0;
};

}  // namespace qd::transport
