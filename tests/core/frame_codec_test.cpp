#include "link/frame_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "link/bus_payload.h"
#include "link/bus_receiver.h"

namespace qd::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Collects what a receiver delivers.
struct ReceiverProbe {
  BusReceiver receiver;
  std::vector<Bytes> frames;
  Bytes outside;

  ReceiverProbe() {
    receiver.onFrame = [this](std::span<const std::uint8_t> body) {
      frames.emplace_back(body.begin(), body.end());
    };
    receiver.onByteOutsideFrame = [this](std::uint8_t b) { outside.push_back(b); };
  }
  void Feed(const Bytes& bytes) { receiver.Feed(bytes); }
};

TEST(FrameCodec, StuffsExactlyTheFiveReservedBytes) {
  EXPECT_EQ(EncodeFrame(Bytes{0x02, 0x03, 0x10, 0x15, 0x16}),
            (Bytes{0x02, 0x10, 0x22, 0x10, 0x23, 0x10, 0x30, 0x10, 0x35, 0x10, 0x36, 0x03}));
  EXPECT_EQ(EncodeFrame(Bytes{0x00, 0x01, 0x04, 0x06, 0x11, 0x12, 0x14, 0x17, 0x22, 0xFF}),
            (Bytes{0x02, 0x00, 0x01, 0x04, 0x06, 0x11, 0x12, 0x14, 0x17, 0x22, 0xFF, 0x03}));
  EXPECT_EQ(EncodeFrame(Bytes{}), (Bytes{0x02, 0x03}));
  int reserved = 0;
  for (int b = 0; b < 256; ++b)
    reserved += NeedsStuffing(static_cast<std::uint8_t>(b));
  EXPECT_EQ(reserved, 5);
}

TEST(FrameCodec, ChecksumMakesTheBodySumToFF) {
  EXPECT_EQ(ChecksumOf(Bytes{}), 0xFF);
  EXPECT_EQ(ChecksumOf(Bytes{0x01, 0x02}), 0xFC);
  EXPECT_EQ(ChecksumOf(Bytes{0x80, 0x80, 0x01}), 0xFE);  // the sum wraps at 8 bits
  EXPECT_TRUE(SumIsValid(Bytes{0x01, 0x02, 0xFC}));
  EXPECT_TRUE(SumIsValid(Bytes{0xFF}));
  EXPECT_FALSE(SumIsValid(Bytes{0x01, 0x02, 0xFD}));
  EXPECT_FALSE(SumIsValid(Bytes{}));
}

TEST(FrameCodec, RawFrameAppendsAndStuffsItsChecksum) {
  EXPECT_EQ(EncodeRawFrame(Bytes{0x41, 0x42}), (Bytes{0x02, 0x41, 0x42, 0x7C, 0x03}));
  // ~0xEF = 0x10: the checksum itself needs escaping.
  EXPECT_EQ(EncodeRawFrame(Bytes{0xEF}), (Bytes{0x02, 0xEF, 0x10, 0x30, 0x03}));
  EXPECT_EQ(EncodeRawFrame(Bytes{}), (Bytes{0x02, 0xFF, 0x03}));
}

TEST(BusPayload, SealWritesLengthAndChecksum) {
  EXPECT_EQ(MakePayload(0x41, 0, 1, 2), (Bytes{0x41, 0x06, 0x00, 0x01, 0x02, 0xB5}));
  const Bytes data{0x80, 0x00, 0x01};
  const Bytes payload = MakePayload(0x44, 7, 1, 2, data);
  ASSERT_EQ(payload.size(), 9u);
  EXPECT_EQ(payload[LengthOffset], 9);
  EXPECT_TRUE(SumIsValid(payload));

  // A stale checksum or length is replaced, not added to.
  Bytes stale{0x40, 0x99, 0x01, 0x02, 0x01, 0x77, 0x05};
  SealPayload(stale);
  EXPECT_EQ(stale[LengthOffset], 7);
  EXPECT_TRUE(SumIsValid(stale));

  Bytes tooShort{0x40, 0x01, 0x02};
  SealPayload(tooShort);
  EXPECT_EQ(tooShort, (Bytes{0x40, 0x01, 0x02}));
}

TEST(BusPayload, ViewNeverReadsBeyondTheReceivedBytes) {
  const Bytes four{0x45, 0x89, 0x03, 0x02};
  const PayloadView view(four);
  EXPECT_EQ(view.Command(), 0x45);
  EXPECT_EQ(view.Sequence(), 0x03);
  EXPECT_EQ(view.Destination(), 0x02);
  EXPECT_EQ(view.Source(), 0);  // did not arrive
  EXPECT_TRUE(view.Has(4));
  EXPECT_FALSE(view.Has(5));
  EXPECT_EQ(view.At(1000), 0);
  EXPECT_TRUE(view.Slice(4, 10).empty());
  EXPECT_TRUE(view.Slice(100, 10).empty());
  EXPECT_EQ(view.Slice(2, 10).size(), 2u);
  EXPECT_EQ(view.Slice(1, 2).size(), 2u);

  const PayloadView empty{std::span<const std::uint8_t>{}};
  EXPECT_EQ(empty.Command(), 0);
  EXPECT_TRUE(empty.Slice(0, 1).empty());
}

TEST(BusReceiver, EscapedStxIsDataAndRawStxRestartsTheFrame) {
  ReceiverProbe probe;
  probe.Feed({0x02, 0x41, 0x10, 0x22, 0x42, 0x03});
  probe.Feed({0x02, 0x99, 0x98, 0x02, 0x43, 0x03});
  probe.Feed({0x02, 0x10, 0x03, 0x10, 0x02, 0x03});  // 0x02 and 0x03 after the escape are data
  ASSERT_EQ(probe.frames.size(), 3u);
  EXPECT_EQ(probe.frames[0], (Bytes{0x41, 0x02, 0x42}));
  EXPECT_EQ(probe.frames[1], (Bytes{0x43}));
  EXPECT_EQ(probe.frames[2], (Bytes{0x23, 0x22}));
  EXPECT_TRUE(probe.outside.empty());
  EXPECT_EQ(probe.receiver.CurrentState(), BusReceiver::State::Idle);
}

TEST(BusReceiver, HandsOnBytesOutsideFramesOnly) {
  ReceiverProbe probe;
  probe.Feed({0x06, 0x15, 0x02, 0x16, 0x03, 0x17, 0x03, 0x10});
  EXPECT_EQ(probe.outside, (Bytes{0x06, 0x15, 0x17, 0x03, 0x10}));
  ASSERT_EQ(probe.frames.size(), 1u);
  EXPECT_EQ(probe.frames[0], (Bytes{0x16}));
}

TEST(BusReceiver, AcceptsOneThousandBytesAndDropsOneThousandAndOne) {
  ReceiverProbe probe;
  Bytes exact(1000, 0x55);
  probe.Feed(EncodeFrame(exact));
  ASSERT_EQ(probe.frames.size(), 1u);
  EXPECT_EQ(probe.frames[0], exact);

  // The 1001st byte drops the frame; what follows it until the next STX is outside any frame.
  Bytes over(1001, 0x55);
  over.back() = 0x66;
  probe.Feed(EncodeFrame(over));
  EXPECT_EQ(probe.frames.size(), 1u);
  EXPECT_EQ(probe.outside, (Bytes{0x03}));

  // The same when the byte over the limit is escaped.
  Bytes overEscaped(1001, 0x55);
  overEscaped.back() = 0x02;
  probe.outside.clear();
  probe.Feed(EncodeFrame(overEscaped));
  EXPECT_EQ(probe.frames.size(), 1u);
  EXPECT_EQ(probe.outside, (Bytes{0x03}));

  probe.Feed({0x02, 0x01, 0x03});
  ASSERT_EQ(probe.frames.size(), 2u);
  EXPECT_EQ(probe.frames[1], (Bytes{0x01}));
}

TEST(BusReceiver, RoundTripsRandomBodiesOverAllByteValues) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byteValue(0, 255);
  std::uniform_int_distribution<int> length(0, 1000);
  ReceiverProbe probe;
  std::vector<Bytes> sent;

  Bytes everyValue(256);
  for (int i = 0; i < 256; ++i)
    everyValue[i] = static_cast<std::uint8_t>(i);
  sent.push_back(everyValue);
  for (int n = 0; n < 300; ++n) {
    Bytes body(length(random));
    for (auto& b : body)
      b = static_cast<std::uint8_t>(byteValue(random));
    sent.push_back(body);
  }
  for (const Bytes& body : sent) {
    const Bytes encoded = EncodeFrame(body);
    // Only the delimiters appear unescaped; 0x15 and 0x16 never do.
    for (std::size_t i = 1; i + 1 < encoded.size(); ++i) {
      ASSERT_NE(encoded[i], 0x02);
      ASSERT_NE(encoded[i], 0x03);
      ASSERT_NE(encoded[i], 0x15);
      ASSERT_NE(encoded[i], 0x16);
    }
    probe.Feed(encoded);
  }
  EXPECT_EQ(probe.frames, sent);
  EXPECT_TRUE(probe.outside.empty());
}

TEST(BusReceiver, RandomNoiseDeliversOnlyBoundedFrames) {
  std::mt19937 random(7);
  // Delimiters about once in a thousand bytes, so that frames end both below and beyond the limit,
  // restart, and meet STX and ETX right after an escape.
  const std::uint8_t alphabet[] = {0x02, 0x03, 0x10, 0x55, 0x00, 0xFF};
  std::discrete_distribution<int> pick({1, 1, 20, 1000, 500, 500});
  ReceiverProbe probe;
  std::size_t delivered = 0;
  std::size_t longest = 0;
  probe.receiver.onFrame = [&](std::span<const std::uint8_t> body) {
    ++delivered;
    longest = std::max(longest, body.size());
  };
  for (int i = 0; i < 2000000; ++i)
    probe.receiver.Feed(alphabet[pick(random)]);
  EXPECT_GT(delivered, 50u);
  EXPECT_GT(longest, 900u);
  EXPECT_LE(longest, BusReceiver::BufferSize);
}

}  // namespace
}  // namespace qd::link
