#include "link/gateway_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "link/frame_codec.h"

namespace qd::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct GatewayProbe {
  GatewayReceiver receiver;
  std::vector<Bytes> messages;

  GatewayProbe() {
    receiver.onMessage = [this](std::span<const std::uint8_t> m) {
      messages.emplace_back(m.begin(), m.end());
    };
  }
  void Feed(const Bytes& bytes) { receiver.Feed(bytes); }
};

TEST(GatewayEncode, FramesTheMessageWithItsChecksum) {
  EXPECT_EQ(EncodeGatewayMessage(Bytes{'C', 'X'}), (Bytes{0x02, 0x43, 0x58, 0x64, 0x03}));
  EXPECT_EQ(EncodeGatewayMessage(Bytes{0x03, '%', 0x02, 0x00}),
            (Bytes{0x02, 0x10, 0x23, 0x25, 0x10, 0x22, 0x00, 0xD5, 0x03}));
}

TEST(GatewayEncode, RefusesMessagesWhoseFrameExceedsFiveHundredBytes) {
  EXPECT_EQ(EncodeGatewayMessage(Bytes(497, 0x41)).size(), 500u);
  EXPECT_TRUE(EncodeGatewayMessage(Bytes(498, 0x41)).empty());
  // Escapes count: 248 escaped bytes fit (499), 249 do not (501).
  EXPECT_EQ(EncodeGatewayMessage(Bytes(248, 0x02)).size(), 499u);
  EXPECT_TRUE(EncodeGatewayMessage(Bytes(249, 0x02)).empty());
}

TEST(GatewayReceiver, PassesMessagesOfTwoOrMoreBytesWithoutTheChecksum) {
  GatewayProbe probe;
  probe.Feed(EncodeRawFrame(Bytes{'B', 'I'}));
  probe.Feed(EncodeRawFrame(Bytes{'B'}));  // two bytes before ETX
  probe.Feed(EncodeRawFrame(Bytes{}));
  probe.Feed(Bytes{0x02, 0x03});
  ASSERT_EQ(probe.messages.size(), 1u);
  EXPECT_EQ(probe.messages[0], (Bytes{'B', 'I'}));
}

TEST(GatewayReceiver, DropsBadChecksumsSilently) {
  GatewayProbe probe;
  Bytes frame = EncodeRawFrame(Bytes{'C', '#', 0, 0});
  frame[frame.size() - 2] ^= 0x40;
  probe.Feed(frame);
  probe.Feed(EncodeRawFrame(Bytes{'C', '!'}));
  ASSERT_EQ(probe.messages.size(), 1u);
  EXPECT_EQ(probe.messages[0], (Bytes{'C', '!'}));
}

TEST(GatewayReceiver, DiscardsEverythingOutsideFrames) {
  GatewayProbe probe;
  const Bytes body{'C', '!', ChecksumOf(Bytes{'C', '!'})};
  Bytes noise = body;
  noise.push_back(Etx);
  probe.Feed(noise);  // no STX yet
  probe.Feed(EncodeRawFrame(Bytes{'C', 'S', 1}));
  // After an ETX everything is discarded until the next STX; zeros would keep the last frame's sum.
  probe.Feed(Bytes{0x00, 0x00, Etx});
  probe.Feed(noise);
  // An escaped STX is data, not a frame start.
  Bytes escaped{Dle, Stx};
  escaped.insert(escaped.end(), noise.begin(), noise.end());
  probe.Feed(escaped);
  ASSERT_EQ(probe.messages.size(), 1u);
  EXPECT_EQ(probe.messages[0], (Bytes{'C', 'S', 1}));
}

TEST(GatewayReceiver, StxRestartsAndResetDiscards) {
  GatewayProbe probe;
  Bytes bytes{Stx, 0x11, 0x22};
  const Bytes frame = EncodeRawFrame(Bytes{'B', 'F', 'x', 0});
  bytes.insert(bytes.end(), frame.begin(), frame.end());
  probe.Feed(bytes);
  ASSERT_EQ(probe.messages.size(), 1u);
  EXPECT_EQ(probe.messages[0], (Bytes{'B', 'F', 'x', 0}));

  probe.Feed(Bytes(frame.begin(), frame.end() - 1));
  probe.receiver.Reset();
  probe.Feed(Bytes{Etx});
  EXPECT_EQ(probe.messages.size(), 1u);
}

TEST(GatewayReceiver, KeepsAtMostTwoThousandBytes) {
  GatewayProbe probe;
  Bytes full(1999, 0x41);
  probe.Feed(EncodeRawFrame(full));
  ASSERT_EQ(probe.messages.size(), 1u);
  EXPECT_EQ(probe.messages[0], full);

  // Bytes beyond the buffer are not stored: the sum covers the first 2000 only.
  Bytes longer = full;
  longer.push_back(ChecksumOf(full));
  longer.insert(longer.end(), 500, 0x77);
  probe.Feed(EncodeFrame(longer));
  ASSERT_EQ(probe.messages.size(), 2u);
  EXPECT_EQ(probe.messages[1], full);
}

TEST(GatewayReceiver, RoundTripsRandomMessagesInRandomPieces) {
  std::mt19937 random(1403);
  std::uniform_int_distribution<int> byteValue(0, 255);
  std::uniform_int_distribution<int> length(2, 240);  // fits the 500-byte frame even fully escaped
  std::uniform_int_distribution<int> piece(1, 64);
  std::vector<Bytes> sent;
  Bytes stream;
  for (int n = 0; n < 500; ++n) {
    Bytes message(length(random));
    for (auto& b : message)
      b = static_cast<std::uint8_t>(byteValue(random));
    const Bytes frame = EncodeGatewayMessage(message);
    ASSERT_FALSE(frame.empty());
    stream.insert(stream.end(), frame.begin(), frame.end());
    sent.push_back(message);
  }
  GatewayProbe probe;
  for (std::size_t at = 0; at < stream.size();) {
    const std::size_t n = std::min<std::size_t>(piece(random), stream.size() - at);
    probe.receiver.Feed(std::span<const std::uint8_t>(stream).subspan(at, n));
    at += n;
  }
  EXPECT_EQ(probe.messages, sent);
}

TEST(GatewayReceiver, RandomNoiseYieldsOnlyWellFormedMessages) {
  std::mt19937 random(99);
  const std::uint8_t alphabet[] = {Stx, Etx, Dle, 0x00, 0x42, 0x43, 0xFF, 0x58};
  std::discrete_distribution<int> pick({1, 1, 2, 20, 20, 20, 20, 20});
  GatewayProbe probe;
  for (int i = 0; i < 500000; ++i)
    probe.receiver.Feed(alphabet[pick(random)]);
  ASSERT_FALSE(probe.messages.empty());
  for (const Bytes& m : probe.messages) {
    EXPECT_GE(m.size(), 2u);
    EXPECT_LT(m.size(), GatewayReceiver::BufferSize);
  }
}

}  // namespace
}  // namespace qd::link
