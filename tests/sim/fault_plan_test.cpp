#include "fault_plan.h"

#include <gtest/gtest.h>

namespace qd::sim {
namespace {

FaultSpec Parse(const std::string& text) {
  std::string error;
  const auto fault = ParseFault(text, error);
  EXPECT_TRUE(fault) << text << ": " << error;
  return fault.value_or(FaultSpec{});
}

std::vector<int> Hits(FaultPlan& plan, FaultKind kind, int events) {
  std::vector<int> hits;
  for (int event = 1; event <= events; ++event) {
    if (plan.Hits(kind)) hits.push_back(event);
  }
  return hits;
}

TEST(FaultParsing, KindsAndSelectors) {
  EXPECT_EQ(Parse("drop-answers").selector, (FaultSelector{FaultSelector::Mode::Count, 1, 1, 1, 0}));
  EXPECT_EQ(Parse("drop-answers:3").selector.count, 3u);
  const FaultSpec from = Parse("bad-checksum:2@10");
  EXPECT_EQ(from.kind, FaultKind::BadChecksum);
  EXPECT_EQ(from.selector.count, 2u);
  EXPECT_EQ(from.selector.first, 10u);
  const FaultSpec every = Parse("drop-replies:every=5");
  EXPECT_EQ(every.selector.mode, FaultSelector::Mode::Every);
  EXPECT_EQ(every.selector.every, 5u);
  EXPECT_DOUBLE_EQ(Parse("noise:rate=0.25").selector.rate, 0.25);
  EXPECT_EQ(Parse("noise").selector.mode, FaultSelector::Mode::Every);
  const FaultSpec silence = Parse("silence:1500@4");
  EXPECT_EQ(silence.kind, FaultKind::Silence);
  EXPECT_EQ(silence.silence, Milliseconds(1500));
  EXPECT_EQ(silence.selector.first, 4u);
  EXPECT_EQ(Parse("silence:200").selector.first, 1u);
  EXPECT_EQ(Parse("late-answers:every=5").kind, FaultKind::LateAnswers);
}

TEST(FaultParsing, RejectsWhatIsNoFault) {
  for (const char* text :
       {"drop", "drop-answers:", "drop-answers:0", "drop-answers:x", "drop-answers:2@0", "noise:every=0",
        "noise:rate=1.5", "noise:rate=", "silence", "silence:0", "silence:10@", "bad-checksum:-1"}) {
    std::string error;
    EXPECT_FALSE(ParseFault(text, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(FaultPlan, CountFromAGivenEvent) {
  FaultPlan plan({Parse("drop-answers:2@3")}, 1);
  EXPECT_EQ(Hits(plan, FaultKind::DropAnswers, 10), (std::vector<int>{3, 4}));
}

TEST(FaultPlan, EveryNth) {
  FaultPlan plan({Parse("drop-replies:every=4")}, 1);
  EXPECT_EQ(Hits(plan, FaultKind::DropReplies, 13), (std::vector<int>{4, 8, 12}));
}

TEST(FaultPlan, KindsCountApart) {
  FaultPlan plan({Parse("drop-answers:1@2"), Parse("bad-checksum:1@1")}, 1);
  EXPECT_TRUE(plan.Hits(FaultKind::BadChecksum));
  EXPECT_FALSE(plan.Hits(FaultKind::DropAnswers));
  EXPECT_TRUE(plan.Hits(FaultKind::DropAnswers));
  EXPECT_FALSE(plan.Hits(FaultKind::BadChecksum));
  EXPECT_FALSE(plan.Hits(FaultKind::Noise));
}

TEST(FaultPlan, RatesAreRepeatableForASeedAndDifferBetweenSeeds) {
  FaultPlan a({Parse("noise:rate=0.3")}, 5);
  FaultPlan b({Parse("noise:rate=0.3")}, 5);
  FaultPlan c({Parse("noise:rate=0.3")}, 6);
  const auto hitsA = Hits(a, FaultKind::Noise, 1000);
  EXPECT_EQ(hitsA, Hits(b, FaultKind::Noise, 1000));
  EXPECT_NE(hitsA, Hits(c, FaultKind::Noise, 1000));
  EXPECT_GT(hitsA.size(), 220u);
  EXPECT_LT(hitsA.size(), 380u);
}

TEST(FaultPlan, NoiseNeverStartsAFrameNorLooksLikeALoaderAnswer) {
  FaultPlan plan({}, 3);
  for (int i = 0; i < 500; ++i) {
    const auto burst = plan.NoiseBurst();
    ASSERT_GE(burst.size(), 1u);
    ASSERT_LE(burst.size(), static_cast<std::size_t>(FaultPlan::MaxNoiseBytes));
    for (std::uint8_t byte : burst) {
      ASSERT_NE(byte, 0x02);
      ASSERT_NE(byte, 0x06);
      ASSERT_TRUE(byte < 0x15 || byte > 0x17);
    }
  }
}

TEST(FaultPlan, SilenceBeforeTheChosenPoll) {
  FaultPlan plan({Parse("silence:700@3")}, 1);
  EXPECT_FALSE(plan.Silence());
  EXPECT_FALSE(plan.Silence());
  EXPECT_EQ(plan.Silence(), Milliseconds(700));
  EXPECT_FALSE(plan.Silence());
}

}  // namespace
}  // namespace qd::sim
