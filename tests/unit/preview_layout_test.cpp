// Where the preview puts the reply: sizes, alignment, wrapping, the quote
// and the emoticons, the window's fitted height and the long-text prefix.
#include <gtest/gtest.h>

#include "fakes/preview_fakes.h"

using namespace vexlo;
using namespace vexlo::formatter;

namespace {

// One run of `text` at markup size 3 (16 px at 96 DPI: 8 px a Latin
// character, 16 px any other; lines 15 px high).
StyledReply replyOf(std::u16string text, Alignment alignment = Alignment::Left) {
  StyledReply reply;
  reply.alignment = alignment;
  reply.faces = {u"宋体", u"黑体"};
  reply.runs.push_back({std::move(text), 0x0000FF, 0, false, 3});
  return reply;
}

PreviewLayout layOut(const StyledReply& reply, int width, int dpi = 96) {
  fakes::FixedMeasurer measurer;
  return layoutPreview(reply, width, dpi, measurer);
}

TEST(PreviewLayoutTest, SizesMapAsBrowsersDoScaledByDpi) {
  struct Case {
    int size, dpi, pixels;
  } cases[] = {{1, 96, 10}, {2, 96, 13}, {3, 96, 16}, {4, 96, 18},  {5, 96, 24}, {6, 96, 32},
               {7, 96, 48}, {0, 96, 10}, {9, 96, 48}, {3, 144, 24}, {7, 192, 96}};
  for (const Case& c : cases) EXPECT_EQ(sizePixels(c.size, c.dpi), c.pixels) << c.size << " at " << c.dpi;
}

TEST(PreviewLayoutTest, AlignmentPlacesEachLineInTheWidth) {
  // 200 px wide: 192 between the margins; "abcd" takes 32.
  struct Case {
    Alignment alignment;
    int x;
  } cases[] = {{Alignment::Left, 4}, {Alignment::Right, 164}, {Alignment::Centre, 84}};
  for (const Case& c : cases) {
    const PreviewLayout layout = layOut(replyOf(u"abcd", c.alignment), 200);
    ASSERT_EQ(layout.pieces.size(), 1u);
    EXPECT_EQ(layout.pieces[0].x, c.x);
    EXPECT_EQ(layout.pieces[0].advances, (std::vector<int>{8, 8, 8, 8}));
  }
}

TEST(PreviewLayoutTest, LinesBreakAtLineEndsAtWordsAndBetweenCharacters) {
  struct Case {
    std::u16string text;
    int width;
    std::vector<std::u16string> lines;
  } cases[] = {
      {u"aaaa bbbb", 68, {u"aaaa ", u"bbbb"}},         // the word moves whole
      {u"abcdefghij", 68, {u"abcdefg", u"hij"}},       // a word longer than the line breaks inside
      {u"一二三四五", 40, {u"一二", u"三四", u"五"}},  // between any two Chinese characters
      {u"a\r\nb\nc\rd", 200, {u"a", u"b", u"c", u"d"}},
      {u"aaaaaaa bb", 68, {u"aaaaaaa", u"bb"}},  // the blank at the break takes no room
      {u"😀😀😀", 40, {u"😀😀", u"😀"}},               // a pair is one character
  };
  for (const Case& c : cases) {
    const PreviewLayout layout = layOut(replyOf(c.text), c.width);
    std::vector<std::u16string> lines;
    int lastBaseline = -1;
    for (const PreviewPiece& p : layout.pieces) {
      if (p.baseline != lastBaseline) lines.emplace_back();
      lines.back() += p.text;
      EXPECT_EQ(p.advances.size(), p.text.size());
      lastBaseline = p.baseline;
    }
    EXPECT_EQ(lines, c.lines) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(layout.pieces.front().x, 4);
  }
  // An empty line keeps its height: three lines of 15 px between margins.
  EXPECT_EQ(layOut(replyOf(u"a\r\n\r\nb"), 200).height, 4 + 3 * 15 + 4);
}

TEST(PreviewLayoutTest, QuoteFramesTheTextUnderItsDotsAndEmoticonsAreNamedPlaceholders) {
  StyledReply reply = replyOf(u"ab", Alignment::Right);
  reply.quote = true;
  reply.emoticons = {u"http://host/faces/smile.gif", u"C:\\faces\\cry.png"};
  const PreviewLayout layout = layOut(reply, 300);
  ASSERT_EQ(layout.pieces.size(), 4u);
  EXPECT_EQ(layout.pieces[0].text, u".....");
  EXPECT_EQ(layout.pieces[0].x, 4);  // before the alignment's tag
  EXPECT_EQ(layout.pieces[1].text, u"ab");
  EXPECT_EQ(layout.pieces[2].text, u"smile.gif");
  EXPECT_EQ(layout.pieces[3].text, u"cry.png");
  ASSERT_EQ(layout.frames.size(), 3u);
  const PreviewRect quote = layout.frames[0];
  EXPECT_GE(quote.top, layout.pieces[0].baseline);
  for (std::size_t i = 1; i < 3; ++i) {
    const PreviewRect& r = layout.frames[i];
    EXPECT_GT(r.left, quote.left);
    EXPECT_LT(r.left + r.width, quote.left + quote.width);
    EXPECT_LT(r.top + r.height, quote.top + quote.height);
    EXPECT_GT(layout.pieces[i + 1].x, r.left);  // the name inside its frame
  }
  EXPECT_EQ(layout.frames[2].left, layout.frames[1].left + layout.frames[1].width);  // side by side
}

TEST(PreviewLayoutTest, StylesReachTheFontsAndTheOrientationMarkTheFace) {
  StyledReply reply = replyOf(u"a");
  reply.bold = reply.italic = reply.underline = reply.glow = reply.quote = true;
  reply.runs.push_back({u"b", 0x00FF00, 1, true, 7});
  PreviewLayout layout = layOut(reply, 300);
  ASSERT_EQ(layout.pieces.size(), 3u);
  EXPECT_FALSE(layout.pieces[0].glow);  // the quote's dots are no part of the styled text
  layout.pieces.erase(layout.pieces.begin());
  EXPECT_TRUE(layout.pieces[0].glow && layout.pieces[1].glow);
  const PreviewFont& second = layout.fonts[layout.pieces[1].font];
  EXPECT_EQ(second, (PreviewFont{u"@黑体", 48, true, true, true}));
  EXPECT_EQ(layout.pieces[1].colour, 0x00FF00u);
  EXPECT_EQ(layout.pieces[1].x, layout.pieces[0].x + 8);
}

TEST(PreviewLayoutTest, WindowHeightFitsTheContentBetweenItsLimits) {
  fakes::FixedMeasurer measurer;
  struct Case {
    int lines, dpi, height;
    bool scrolls;
  } cases[] = {
      {1, 96, 60, false},
      {1, 144, 90, false},                  // the least
      {6, 96, 4 + 6 * 15 + 4 + 30, false},  // fitted: content and chrome
      {40, 96, 240, true},
      {40, 144, 360, true},  // the most, then scrolling
  };
  for (const Case& c : cases) {
    std::u16string text;
    for (int i = 0; i < c.lines; ++i) text += u"a\n";
    text.pop_back();
    const PreviewFit fit = fitPreview(replyOf(text, Alignment::Right), u"", {300, 30, c.dpi, 20}, measurer);
    EXPECT_EQ(fit.windowHeight, c.height) << c.lines << " lines at " << c.dpi;
    EXPECT_EQ(fit.scrolls, c.scrolls);
    // Scrolling, the text keeps clear of the scroll bar.
    const int margin = scaledPixels(4, c.dpi);
    EXPECT_EQ(fit.layout.pieces[0].x + fit.layout.pieces[0].advances[0], 300 - margin - (c.scrolls ? 20 : 0));
  }
}

TEST(PreviewLayoutTest, AMessageTakesThePlaceOfTheReply) {
  fakes::FixedMeasurer measurer;
  const PreviewFit fit = fitPreview(replyOf(u"reply"), u"too long", {300, 30, 96, 20}, measurer);
  std::u16string shown;
  for (const PreviewPiece& p : fit.layout.pieces) shown += p.text;
  EXPECT_EQ(shown, u"too long");
}

TEST(PreviewLayoutTest, LongTextsArePreviewedFromTheirFirstTenThousandCharacters) {
  struct Case {
    std::u16string text;
    std::size_t units;
    bool truncated;
  } cases[] = {
      {std::u16string(10000, u'a'), 10000, false},
      {std::u16string(10001, u'a'), 10000, true},
      {std::u16string(9999, u'a') + u"😀b", 10001, true},  // the pair stays whole
      {u"", 0, false},
  };
  for (const Case& c : cases) {
    bool truncated = !c.truncated;
    EXPECT_EQ(previewPrefix(c.text, truncated).size(), c.units);
    EXPECT_EQ(truncated, c.truncated);
  }
}

}  // namespace
