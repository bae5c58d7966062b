#include "formatter/colour.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "text/characters.h"

namespace vexlo::formatter {
namespace {

std::string utf8(std::u16string_view s) { return text::toUtf8(s); }

TEST(FormatterColour, SplitsRedFromTheLowByte) {
  const Colour c = 0x00AB0005;  // red 5, green 0, blue 171
  EXPECT_EQ(redOf(c), 5);
  EXPECT_EQ(greenOf(c), 0);
  EXPECT_EQ(blueOf(c), 171);
  EXPECT_EQ(makeColour(5, 0, 171), c);
  // Bits above the 24 colour bits do not leak into blue.
  EXPECT_EQ(blueOf(0xFF123456u), 0x12);
}

TEST(FormatterColour, HexPairsKeepTheirLeadingZeroAndAreUpperCase) {
  EXPECT_EQ(utf8(hexPair(0)), "00");
  EXPECT_EQ(utf8(hexPair(5)), "05");
  EXPECT_EQ(utf8(hexPair(15)), "0F");
  EXPECT_EQ(utf8(hexPair(16)), "10");
  EXPECT_EQ(utf8(hexPair(171)), "AB");
  EXPECT_EQ(utf8(hexPair(255)), "FF");
}

TEST(FormatterColour, ColourSampleIsRedGreenBlue) {
  EXPECT_EQ(utf8(colourSample(0x0000FF)), "FF0000");
  EXPECT_EQ(utf8(colourSample(0xFF0000)), "0000FF");
  EXPECT_EQ(utf8(colourSample(makeColour(5, 0, 171))), "0500AB");
  EXPECT_EQ(utf8(colourSample(0x00FF00)), "00FF00");
  EXPECT_EQ(utf8(colourSample(0xFFFFFF)), "FFFFFF");
}

TEST(FormatterColour, SwatchGridCorners) {
  EXPECT_EQ(utf8(colourSample(swatchColour(0, 0))), "000000");
  EXPECT_EQ(utf8(colourSample(swatchColour(11, 0))), "FFFF00");
  EXPECT_EQ(utf8(colourSample(swatchColour(5, 5))), "00FFFF");
  EXPECT_EQ(utf8(colourSample(swatchColour(11, 5))), "FFFFFF");
  EXPECT_EQ(utf8(colourSample(swatchColour(6, 0))), "FF0000");
  EXPECT_EQ(utf8(colourSample(swatchColour(2, 3))), "006699");
}

TEST(FormatterColour, SwatchGridHasSeventyTwoDistinctColours) {
  std::vector<Colour> seen;
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 12; ++c) seen.push_back(swatchColour(c, r));
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::unique(seen.begin(), seen.end()) - seen.begin(), 72);
}

}  // namespace
}  // namespace vexlo::formatter
