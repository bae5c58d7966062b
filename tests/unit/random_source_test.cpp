#include "formatter/random_source.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace vexlo::formatter {
namespace {

std::vector<double> draw(RandomSource& r, int count) {
  std::vector<double> out;
  for (int i = 0; i < count; ++i) out.push_back(r.next());
  return out;
}

TEST(FormatterRandom, FreshGeneratorsAreDeterministic) {
  SplitMixRandom a(69), b(69), c(70);
  const auto first = draw(a, 50);
  EXPECT_EQ(first, draw(b, 50));
  EXPECT_NE(first, draw(c, 50));
}

TEST(FormatterRandom, BatchDrawsMatchSingleDraws) {
  SplitMixRandom single(3), batch(3);
  const auto expected = draw(single, 13);
  std::vector<double> got(13);
  batch.next(got.data(), 6);
  batch.next(got.data() + 6, 7);
  EXPECT_EQ(got, expected);
}

TEST(FormatterRandom, DrawsAreUniformFractionsBelowOne) {
  SplitMixRandom r(12345);
  constexpr int kDraws = 160000;
  std::array<int, 16> buckets{};
  for (int i = 0; i < kDraws; ++i) {
    const double u = r.next();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
    ++buckets[static_cast<std::size_t>(u * 16)];
  }
  for (int count : buckets) {
    EXPECT_GT(count, kDraws / 16 * 95 / 100);
    EXPECT_LT(count, kDraws / 16 * 105 / 100);
  }
}

TEST(FormatterRandom, ReseedingFromTheSameConstantStillMovesOn) {
  // Every conversion reseeds from 69: two conversions in a row must not get
  // the same colours, whether or not the first one drew anything.
  SplitMixRandom r(1);
  r.reseed(69);
  const auto first = draw(r, 8);
  r.reseed(69);
  const auto second = draw(r, 8);
  EXPECT_NE(first, second);

  // A single-colour conversion draws nothing between two reseeds.
  SplitMixRandom once(1), twice(1);
  once.reseed(69);
  twice.reseed(69);
  twice.reseed(69);
  EXPECT_NE(draw(once, 8), draw(twice, 8));
}

TEST(FormatterRandom, ReseedingIsAFunctionOfStateAndSeed) {
  SplitMixRandom a(7), b(7);
  a.reseed(69);
  b.reseed(69);
  EXPECT_EQ(draw(a, 20), draw(b, 20));
  SplitMixRandom c(7), d(7);
  c.reseed(69);
  d.reseed(70);
  EXPECT_NE(draw(c, 20), draw(d, 20));
}

}  // namespace
}  // namespace vexlo::formatter
