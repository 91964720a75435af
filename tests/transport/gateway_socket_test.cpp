#include "transport/gateway_socket.h"

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <vector>

#include "link/frame_codec.h"
#include "transport/transport_test_support.h"

namespace qd::transport {

inline void PrintTo(const GatewayAddress& address, std::ostream* out) {
  *out << address.host.toStdString() << ':' << address.port;
}

namespace {

using test::WaitUntil;
using Bytes = std::vector<std::uint8_t>;

QByteArray ToQt(const Bytes& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

QByteArray Framed(const Bytes& message) {
  return ToQt(link::EncodeRawFrame(message));
}

TEST(ParseGatewayAddressTest, HostAloneUsesTheGatewayPort) {
  EXPECT_EQ(ParseGatewayAddress("gateway.example"), (GatewayAddress{"gateway.example", 14011}));
  EXPECT_EQ(ParseGatewayAddress("  127.0.0.1 "), (GatewayAddress{"127.0.0.1", 14011}));
  EXPECT_EQ(ParseGatewayAddress("::1"), (GatewayAddress{"::1", 14011})) << "IPv6 without brackets";
  EXPECT_EQ(ParseGatewayAddress("[::1]"), (GatewayAddress{"::1", 14011}));
}

TEST(ParseGatewayAddressTest, HostAndPort) {
  EXPECT_EQ(ParseGatewayAddress("127.0.0.1:15000"), (GatewayAddress{"127.0.0.1", 15000}));
  EXPECT_EQ(ParseGatewayAddress("[::1]:65535"), (GatewayAddress{"::1", 65535}));
  EXPECT_EQ(ParseGatewayAddress("host:1"), (GatewayAddress{"host", 1}));
}

TEST(ParseGatewayAddressTest, RefusesWhatIsNoAddress) {
  for (const char* text : {"", "   ", ":14011", "host:", "host:0", "host:65536", "host:12ab", "host:-1",
                           "[::1", "[::1]14011", "[]:80"})
    EXPECT_FALSE(ParseGatewayAddress(text)) << text;
}

// A gateway server on the loopback interface that the test plays by hand.
class GatewaySocketTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&socket_, &GatewaySocket::Connected, [this] { ++connected_; });
    QObject::connect(&socket_, &GatewaySocket::Disconnected, [this] { ++disconnected_; });
    QObject::connect(&socket_, &GatewaySocket::ErrorOccurred,
                     [this](int error, const QString&) { errors_.push_back(error); });
    QObject::connect(&socket_, &GatewaySocket::MessageReceived,
                     [this](const QByteArray& message) { messages_.push_back(message); });
    QObject::connect(&socket_, &GatewaySocket::BytesReceived,
                     [this](qint64 count) { receivedCounts_ += count; });
    QObject::connect(&socket_, &GatewaySocket::BytesSent, [this](qint64 count) { sentCounts_ += count; });
  }

  QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort()); }

  // Connects the socket under test and takes the server's end of it.
  void Connect() {
    ASSERT_TRUE(socket_.ConnectTo(Address()));
    ASSERT_TRUE(WaitUntil([&] { return connected_ > 0 && server_.hasPendingConnections(); }));
    peer_.reset(server_.nextPendingConnection());
    ASSERT_TRUE(peer_);
    peer_->setParent(nullptr);
    EXPECT_TRUE(socket_.IsConnected());
  }

  // What the server's end has received until `count` bytes are there.
  QByteArray PeerReceives(qsizetype count) {
    WaitUntil([&] {
      peerReceived_ += peer_->readAll();
      return peerReceived_.size() >= count;
    });
    return peerReceived_;
  }

  void PeerSends(const QByteArray& bytes) {
    peer_->write(bytes);
    peer_->flush();
  }

  QTcpServer server_;
  GatewaySocket socket_;
  std::unique_ptr<QTcpSocket> peer_;
  QByteArray peerReceived_;
  int connected_ = 0;
  int disconnected_ = 0;
  std::vector<int> errors_;
  std::vector<QByteArray> messages_;
  qint64 receivedCounts_ = 0;
  qint64 sentCounts_ = 0;
};

TEST_F(GatewaySocketTest, NothingIsSentWithoutAConnection) {
  const Bytes message{'A', 'C'};
  EXPECT_FALSE(socket_.SendGatewayMessage(message));
  EXPECT_FALSE(socket_.ConnectTo(QStringLiteral("127.0.0.1:0")));
  EXPECT_FALSE(socket_.IsOpen());
  socket_.Disconnect();
  EXPECT_EQ(socket_.TxBytes(), 0);
  EXPECT_EQ(disconnected_, 0);
}

TEST_F(GatewaySocketTest, SendsTheFramedMessageAndCountsItsBytes) {
  Connect();
  // A login whose texts hold bytes that must be stuffed.
  const Bytes message{'A', '@', 's', 0x02, 0x10, 0, 'p', 0x03, 0x15, 0x16, 0};
  ASSERT_TRUE(socket_.SendGatewayMessage(message));

  const QByteArray expected = Framed(message);
  EXPECT_EQ(PeerReceives(expected.size()), expected);
  EXPECT_EQ(expected.at(0), 0x02);
  EXPECT_EQ(expected.at(expected.size() - 1), 0x03);
  EXPECT_EQ(expected.mid(4, 4), QByteArray("\x10\x22\x10\x30", 4)) << "stuffed body bytes";
  EXPECT_EQ(socket_.TxBytes(), expected.size());
  EXPECT_EQ(sentCounts_, expected.size());

  ASSERT_TRUE(socket_.SendGatewayMessage(Bytes{0x00, 'X', 0x1E, 0x00}));
  EXPECT_EQ(PeerReceives(expected.size() + 7).mid(expected.size()),
            QByteArray("\x02\x00X\x1E\x00\x89\x03", 7));
  EXPECT_EQ(socket_.TxBytes(), expected.size() + 7);
}

TEST_F(GatewaySocketTest, AMessageTooLongForAGatewayFrameIsRefused) {
  Connect();
  const Bytes longest(250, 0x02);  // every byte stuffed: more than 500 bytes
  EXPECT_FALSE(socket_.SendGatewayMessage(longest));
  EXPECT_EQ(socket_.TxBytes(), 0);
  EXPECT_TRUE(socket_.SendGatewayMessage(Bytes(200, 0x41)));
}

TEST_F(GatewaySocketTest, ReceivesWholeMessagesWithoutTheirChecksum) {
  Connect();
  const Bytes status{'C', 'X', 0x02, 0x00, 0x10, 0x03};
  Bytes badSum = link::EncodeRawFrame(Bytes{'C', '!'});
  badSum[badSum.size() - 2] ^= 0x01;
  QByteArray stream = QByteArray("noise\x03", 6) + Framed({'B', 'F', '1', '2', '7', 0});
  stream += ToQt(badSum);
  stream += QByteArray("\x02\x41\xBE\x03", 4);  // two bytes before ETX: dropped, though the sum is right
  stream += Framed(status);
  stream += QByteArray("\x02\x43\x10\x22", 4);  // restarted by the next STX
  stream += Framed({'C', '#'});

  // In pieces that split frames and escapes.
  PeerSends(stream.left(9));
  ASSERT_TRUE(WaitUntil([&] { return socket_.RxBytes() == 9; }));
  PeerSends(stream.mid(9, 20));
  PeerSends(stream.mid(29));
  ASSERT_TRUE(WaitUntil([&] { return messages_.size() >= 3 && socket_.RxBytes() == stream.size(); }));

  ASSERT_EQ(messages_.size(), 3u);
  EXPECT_EQ(messages_[0], QByteArray("BF127\0", 6));
  EXPECT_EQ(messages_[1], ToQt(status));
  EXPECT_EQ(messages_[2], QByteArray("C#"));
  EXPECT_EQ(receivedCounts_, stream.size());
  EXPECT_TRUE(errors_.empty());
}

TEST_F(GatewaySocketTest, ReceivesADataBlockLongerThanOneReadPiece) {
  Connect();
  Bytes block{'B', 'H', 0xE8, 0x03, 0xE8, 0x03};
  for (int i = 0; i < 1000; ++i)
    block.push_back(static_cast<std::uint8_t>(i % 2 == 0 ? 0x10 : 0x02));  // every byte stuffed
  const QByteArray frame = Framed(block);
  ASSERT_GT(frame.size(), GatewaySocket::ReadPieceSize);
  PeerSends(frame + frame);
  ASSERT_TRUE(WaitUntil([&] { return messages_.size() >= 2; }));
  EXPECT_EQ(messages_[0], ToQt(block));
  EXPECT_EQ(messages_[1], ToQt(block));
  EXPECT_EQ(socket_.RxBytes(), 2 * frame.size());
}

TEST_F(GatewaySocketTest, TheServerClosingIsADisconnectAndNoError) {
  Connect();
  peer_->disconnectFromHost();
  ASSERT_TRUE(WaitUntil([&] { return disconnected_ > 0; }));
  EXPECT_EQ(disconnected_, 1);
  EXPECT_TRUE(errors_.empty());
  EXPECT_FALSE(socket_.IsConnected());
  EXPECT_FALSE(socket_.SendGatewayMessage(Bytes{'A', 'C'}));
}

TEST_F(GatewaySocketTest, DisconnectReportsTheEndBeforeItReturns) {
  Connect();
  socket_.Disconnect();
  EXPECT_EQ(disconnected_, 1);
  EXPECT_FALSE(socket_.IsConnected());
  EXPECT_FALSE(socket_.IsOpen());
  socket_.Disconnect();
  EXPECT_EQ(disconnected_, 1);
  EXPECT_TRUE(errors_.empty());
  ASSERT_TRUE(
      WaitUntil([&] { return peer_->state() == QAbstractSocket::UnconnectedState || !peer_->isValid(); }));
}

TEST_F(GatewaySocketTest, ARefusedConnectionIsAnErrorWithoutConnectOrDisconnect) {
  const quint16 port = server_.serverPort();
  server_.close();
  ASSERT_TRUE(socket_.ConnectTo(GatewayAddress{QStringLiteral("127.0.0.1"), port}));
  EXPECT_TRUE(socket_.IsOpen());
  ASSERT_TRUE(WaitUntil([&] { return !errors_.empty(); }));
  EXPECT_EQ(errors_.front(), static_cast<int>(QAbstractSocket::ConnectionRefusedError));
  EXPECT_EQ(connected_, 0);
  EXPECT_EQ(disconnected_, 0);
  EXPECT_FALSE(socket_.IsOpen());
}

TEST_F(GatewaySocketTest, ASecondConnectWhileOpenIsRefused) {
  Connect();
  EXPECT_FALSE(socket_.ConnectTo(Address()));
  EXPECT_TRUE(socket_.IsConnected());
}

TEST_F(GatewaySocketTest, ANewConnectionDiscardsUntilTheFirstStx) {
  Connect();
  PeerSends(
      QByteArray("\x02"
                 "C",
                 2));  // a frame cut off by the end of the connection
  ASSERT_TRUE(WaitUntil([&] { return socket_.RxBytes() == 2; }));
  socket_.Disconnect();

  Connect();
  PeerSends(QByteArray("!\xBC\x03", 3) + Framed({'C', '#'}));
  ASSERT_TRUE(WaitUntil([&] { return !messages_.empty(); }));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], QByteArray("C#"));
}

TEST_F(GatewaySocketTest, NoMessageIsDeliveredAfterAReceiverDisconnected) {
  Connect();
  QObject::connect(&socket_, &GatewaySocket::MessageReceived, &socket_, [this] { socket_.Disconnect(); });
  PeerSends(Framed({'B', 'I'}) + Framed({'B', 'D', 0, 0, 0, 0}));
  ASSERT_TRUE(WaitUntil([&] { return disconnected_ > 0; }));
  EXPECT_EQ(messages_.size(), 1u);
}

// Sends numbered 400-byte messages until one is refused; the number of messages that went out.
int SendUntilRefused(GatewaySocket& socket) {
  Bytes message(400, 0);
  for (int i = 0; i < 500000; ++i) {
    message[0] = static_cast<std::uint8_t>(i);
    if (!socket.SendGatewayMessage(message)) return i;
  }
  return -1;
}

// The server's end stops reading: the system's buffers fill, then the socket's own, and a frame that
// would go beyond the limit is refused after the attempts, never sent in part.
TEST_F(GatewaySocketTest, AFrameThatWouldBlockOnEveryAttemptIsRefused) {
  Connect();
  socket_.SetSendPolicy({2048, 3, std::chrono::milliseconds(1)});
  ASSERT_EQ(socket_.SendPolicy().attempts, 3);

  const int sent = SendUntilRefused(socket_);
  ASSERT_GT(sent, 0) << "the peer's buffers never filled";
  EXPECT_TRUE(socket_.IsConnected());
  EXPECT_LE(socket_.BytesToWrite(), 2048);
  const qint64 tx = socket_.TxBytes();

  // Everything counted arrives, frame for frame, once the server reads again.
  const QByteArray received = PeerReceives(tx);
  EXPECT_EQ(received.size(), tx);
  link::GatewayReceiver check;
  int frames = 0;
  check.onMessage = [&](std::span<const std::uint8_t> m) {
    EXPECT_EQ(m.size(), 400u);
    EXPECT_EQ(m[0], static_cast<std::uint8_t>(frames));
    ++frames;
  };
  for (const char byte : received)
    check.Feed(static_cast<std::uint8_t>(byte));
  EXPECT_EQ(frames, sent);

  // With the buffers drained the next frame goes out again.
  EXPECT_TRUE(WaitUntil([&] { return socket_.BytesToWrite() == 0; }));
  EXPECT_TRUE(socket_.SendGatewayMessage(Bytes{'A', 'C'}));
}

// The retries stop as soon as the connection is gone, long before the attempts are used up.
TEST_F(GatewaySocketTest, WaitingForRoomEndsWithTheConnection) {
  Connect();
  socket_.SetSendPolicy({2048, 3, std::chrono::milliseconds(1)});
  ASSERT_GT(SendUntilRefused(socket_), 0);

  peer_->abort();  // the connection is reset while the client still has frames waiting
  socket_.SetSendPolicy({2048, 1000000, std::chrono::milliseconds(10)});
  EXPECT_FALSE(socket_.SendGatewayMessage(Bytes(400, 0x41)));
  EXPECT_EQ(disconnected_, 1);
  EXPECT_FALSE(socket_.IsConnected());
  EXPECT_FALSE(errors_.empty());
}

TEST_F(GatewaySocketTest, ByteCountsCanBeCleared) {
  Connect();
  ASSERT_TRUE(socket_.SendGatewayMessage(Bytes{'A', 'C'}));
  PeerSends(Framed({'C', '!'}));
  ASSERT_TRUE(WaitUntil([&] { return socket_.RxBytes() > 0; }));
  socket_.ClearByteCounts();
  EXPECT_EQ(socket_.RxBytes(), 0);
  EXPECT_EQ(socket_.TxBytes(), 0);
}

}  // namespace
}  // namespace qd::transport
