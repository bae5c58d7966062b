#include "formatter/gradient.h"

#include <gtest/gtest.h>

#include "text/characters.h"

namespace vexlo::formatter {
namespace {

std::string sample(const GradientTable& t, int j) { return text::toUtf8(t.sample(j)); }

std::string pairs(int v) {
  const std::string p = text::toUtf8(hexPair(v));
  return p + p + p;
}

TEST(FormatterGradient, RedToAzureChannelsArriveSeparately) {
  GradientTable t(0x0000FF /* #FF0000 */, 0xFF8000 /* #0080FF */);
  EXPECT_EQ(sample(t, 0), "FF0000");
  EXPECT_EQ(sample(t, 1), "FF0000");
  EXPECT_EQ(sample(t, 2), "FE0101");
  EXPECT_EQ(sample(t, 129), "7F8080");
  for (int j = 129; j <= 256; ++j) EXPECT_EQ(sample(t, j).substr(2, 2), "80") << "T(" << j << ")";
  EXPECT_EQ(sample(t, 256), "0080FF");
}

TEST(FormatterGradient, BlackToWhiteStepsOneUnitPerSample) {
  GradientTable t(0x000000, 0xFFFFFF);
  EXPECT_EQ(sample(t, 0), "000000");
  for (int l = 1; l <= 256; ++l) EXPECT_EQ(sample(t, l), pairs(l - 1)) << "T(" << l << ")";
  EXPECT_EQ(sample(t, 256), "FFFFFF");
}

TEST(FormatterGradient, EqualColoursGiveEqualSamples) {
  GradientTable t(0x123456, 0x123456);
  for (int j = 0; j <= 256; ++j) EXPECT_EQ(sample(t, j), "563412");
}

TEST(FormatterGradient, AlwaysStartsAtStartAndEndsAtEnd) {
  const Colour colours[] = {0x000000, 0xFFFFFF, 0x0000FF, 0xFF0000, 0x00FF00, 0x7F7F7F, 0x010203, 0xFEFDFC};
  for (Colour a : colours) {
    for (Colour b : colours) {
      GradientTable t(a, b);
      EXPECT_EQ(t.sample(1), colourSample(a));
      EXPECT_EQ(t.sample(0), colourSample(a));
      EXPECT_EQ(t.sample(256), colourSample(b));
      EXPECT_EQ(t.sampleColour(256), b);
    }
  }
}

TEST(FormatterGradient, RebuildReplacesEverySampleAndReturnsTheStrip) {
  GradientTable t;  // start-up colours: red to blue
  EXPECT_EQ(sample(t, 1), "FF0000");
  EXPECT_EQ(sample(t, 256), "0000FF");

  const std::vector<StripLine> lines = t.rebuild(0x000000, 0xFFFFFF);
  EXPECT_EQ(sample(t, 100), pairs(99));
  ASSERT_EQ(lines.size(), 256u);
  for (int l = 1; l <= 256; ++l) {
    const StripLine& line = lines[static_cast<std::size_t>(l - 1)];
    EXPECT_EQ(line.x1, 3 * l);
    EXPECT_EQ(line.x2, 3 * l);
    EXPECT_EQ(line.y1, 0);
    EXPECT_EQ(line.y2, 255);
    EXPECT_EQ(colourSample(line.colour), t.sample(l)) << "line " << l;
  }
  EXPECT_EQ(t.stripLines().size(), 256u);
}

}  // namespace
}  // namespace vexlo::formatter
