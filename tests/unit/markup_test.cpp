#include "formatter/markup.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "fakes/scripted_random.h"
#include "text/characters.h"

namespace vexlo::formatter {
namespace {

using fakes::ScriptedRandom;

const std::vector<std::u16string> kFonts = {u"宋体",     u"仿宋",     u"幼圆",     u"楷体",     u"隶书",
                                            u"黑体",     u"新宋体",   u"华文彩云", u"华文仿宋", u"华文细黑",
                                            u"华文新魏", u"华文行楷", u"华文中宋", u"方正舒体", u"方正姚体"};

const std::u16string kEmoji = u"\U0001F600";  // one character, two code units

std::string utf8(std::u16string_view s) { return text::toUtf8(s); }

std::u16string repeat(std::u16string_view unit, std::size_t times) {
  std::u16string s;
  for (std::size_t i = 0; i < times; ++i) s += unit;
  return s;
}

// A 'count'-character text of distinct-looking ASCII letters.
std::u16string letters(std::size_t count) {
  std::u16string s;
  for (std::size_t i = 0; i < count; ++i) s += static_cast<char16_t>(u'a' + i % 26);
  return s;
}

struct Piece {
  std::string colour;
  std::string ch;
  bool operator==(const Piece&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Piece& p) { return os << "{" << p.colour << "," << p.ch << "}"; }

// The colour pieces of a result, in order.
std::vector<Piece> piecesOf(std::u16string_view markup, Dialect dialect) {
  const std::u16string_view open = dialect == Dialect::Forum ? u"[color=#" : u"[ftc=#";
  const std::u16string_view close = dialect == Dialect::Forum ? u"[/color]" : u"[/ft]";
  std::vector<Piece> out;
  for (std::size_t at = markup.find(open); at != std::u16string_view::npos; at = markup.find(open, at)) {
    const std::size_t hex = at + open.size();
    const std::size_t body = hex + 7;  // RRGGBB and "]"
    const std::size_t end = markup.find(close, body);
    if (end == std::u16string_view::npos) break;
    out.push_back({utf8(markup.substr(hex, 6)), utf8(markup.substr(body, end - body))});
    at = end + close.size();
  }
  return out;
}

class FormatterMarkup : public ::testing::Test {
 protected:
  FormatterMarkup() {
    options.font = u"宋体";
    options.sizeIndex = 0;
    options.singleColour = 0x0000FF;
    options.fontNames = kFonts;
  }

  ConversionResult run(std::u16string_view source, std::u16string_view emoticons = {}) {
    return convertMarkup(options, source, table, emoticons, random);
  }

  std::string convert(std::u16string_view source, std::u16string_view emoticons = {}) {
    ConversionResult r = run(source, emoticons);
    EXPECT_FALSE(r.overGradientLimit);
    return utf8(r.markup);
  }

  std::vector<Piece> pieces(std::u16string_view source) {
    ConversionResult r = run(source);
    EXPECT_FALSE(r.overGradientLimit);
    return piecesOf(r.markup, options.dialect);
  }

  std::string T(int j) const { return utf8(table.sample(j)); }

  MarkupOptions options;
  GradientTable table{0x000000, 0xFFFFFF};  // T(l) = l − 1 in every channel
  ScriptedRandom random;
};

// ---- single colour and the style wrapper ----

TEST_F(FormatterMarkup, WorkedExample) {
  options.bold = true;
  options.alignment = Alignment::Right;
  options.sizeIndex = 2;
  EXPECT_EQ(convert(u"你好"),
            "[align=right][b][font=宋体][size=3][color=#FF0000]你好[/color][/size][/font][/b][/align]");
  EXPECT_EQ(random.draws(), 0u);
}

TEST_F(FormatterMarkup, KaitiGetsItsGb2312NameInBothDialects) {
  options.font = u"楷体";
  options.singleColour = 0x00FF00;
  EXPECT_EQ(convert(u"abc"), "[font=楷体_GB2312][size=1][color=#00FF00]abc[/color][/size][/font]");
  options.dialect = Dialect::Qzone;
  EXPECT_EQ(convert(u"abc"), "[ftf=楷体_GB2312][fts=1][ftc=#00FF00]abc[/ft][/ft][/ft]");
  options.glow = true;
  EXPECT_EQ(convert(u"abc"), "[ftf=楷体_GB2312][fts=1][ffg,#00FF00,#FFFFFF]abc[/ft][/ft][/ft]");
}

TEST_F(FormatterMarkup, GlowOnlyInQzoneSingleColour) {
  options.glow = true;
  EXPECT_EQ(convert(u"x"), "[font=宋体][size=1][color=#FF0000]x[/color][/size][/font]");
  options.dialect = Dialect::Qzone;
  options.mode = ColourMode::Gradient;
  EXPECT_EQ(convert(u"x").find("ffg"), std::string::npos);
}

TEST_F(FormatterMarkup, FontNameReplacementsAreExactMatchesOnly) {
  EXPECT_EQ(utf8(markupFontName(u"仿宋")), "仿宋_GB2312");
  EXPECT_EQ(utf8(markupFontName(u"楷体")), "楷体_GB2312");
  EXPECT_EQ(utf8(markupFontName(u"仿宋体")), "仿宋体");
  EXPECT_EQ(utf8(markupFontName(u"华文仿宋")), "华文仿宋");
  EXPECT_EQ(utf8(markupFontName(u"楷体 ")), "楷体 ");
  EXPECT_EQ(utf8(markupFontName(u"楷体_GB2312")), "楷体_GB2312");
  options.font = u"仿宋";
  EXPECT_EQ(convert(u"a"), "[font=仿宋_GB2312][size=1][color=#FF0000]a[/color][/size][/font]");
}

TEST_F(FormatterMarkup, LowChannelsKeepTheirLeadingZero) {
  options.singleColour = makeColour(5, 0, 171);
  EXPECT_EQ(convert(u"a"), "[font=宋体][size=1][color=#0500AB]a[/color][/size][/font]");
}

TEST_F(FormatterMarkup, StylesAreLowerCaseInForumAndUpperCaseInQzone) {
  options.bold = options.italic = options.underline = true;
  options.alignment = Alignment::Centre;
  EXPECT_EQ(convert(u"a"),
            "[align=center][b][i][u][font=宋体][size=1][color=#FF0000]a[/color][/size][/font][/u][/i][/b][/align]");
  options.dialect = Dialect::Qzone;
  EXPECT_EQ(convert(u"a"), "[M][B][I][U][ftf=宋体][fts=1][ftc=#FF0000]a[/ft][/ft][/ft][/U][/I][/B][/M]");
  options.alignment = Alignment::Right;
  options.bold = options.italic = false;
  EXPECT_EQ(convert(u"a"), "[R][U][ftf=宋体][fts=1][ftc=#FF0000]a[/ft][/ft][/ft][/U][/R]");
}

TEST_F(FormatterMarkup, HorizontalMarkOnlyInForum) {
  options.horizontal = true;
  EXPECT_EQ(convert(u"a"), "[font=@宋体][size=1][color=#FF0000]a[/color][/size][/font]");
  options.mode = ColourMode::Gradient;
  EXPECT_TRUE(convert(u"a").starts_with("[font=@宋体][size=1][color=#"));
  options.dialect = Dialect::Qzone;
  EXPECT_EQ(convert(u"a").find('@'), std::string::npos);
  options.mode = ColourMode::Single;
  EXPECT_EQ(convert(u"a"), "[ftf=宋体][fts=1][ftc=#FF0000]a[/ft][/ft][/ft]");
}

TEST_F(FormatterMarkup, QuoteWithRightAlignment) {
  options.quote = true;
  options.alignment = Alignment::Right;
  const std::string forum = convert(u"a");
  EXPECT_EQ(forum.rfind(".....\r[quote][align=right][font=", 0), 0u) << forum;
  EXPECT_TRUE(forum.ends_with("[/font][/align][/quote]")) << forum;
  options.dialect = Dialect::Qzone;
  EXPECT_EQ(convert(u"a"), ".....\r[quote][R][ftf=宋体][fts=1][ftc=#FF0000]a[/ft][/ft][/ft][/R][/quote]");
}

TEST_F(FormatterMarkup, EmoticonsGoBetweenBoldAndAlignmentClosersInForumOnly) {
  const std::u16string queued = u"[img]http://e/1.gif[/img][img]http://e/2.gif[/img]";
  options.bold = true;
  options.underline = true;
  options.alignment = Alignment::Right;
  options.quote = true;
  EXPECT_EQ(convert(u"a", queued),
            ".....\r[quote][align=right][b][u][font=宋体][size=1][color=#FF0000]a[/color][/size][/font]"
            "[/u][/b][img]http://e/1.gif[/img][img]http://e/2.gif[/img][/align][/quote]");
  options.mode = ColourMode::Rainbow;
  random = ScriptedRandom({0, 0, 0});
  EXPECT_TRUE(convert(u"a", queued).ends_with("[/size][/font][/u][/b][img]http://e/1.gif[/img][img]http://e/2.gif[/img][/align][/quote]"));
  random = ScriptedRandom({0, 0, 0, 0, 0, 0});
  options.mode = ColourMode::Random;
  EXPECT_TRUE(convert(u"a", queued).ends_with("[/font][/u][/b][img]http://e/1.gif[/img][img]http://e/2.gif[/img][/align][/quote]"));

  options.dialect = Dialect::Qzone;
  for (ColourMode mode : {ColourMode::Single, ColourMode::Gradient, ColourMode::Rainbow, ColourMode::Random}) {
    options.mode = mode;
    EXPECT_EQ(convert(u"a", queued).find("[img]"), std::string::npos);
  }
}

TEST_F(FormatterMarkup, NoFontOrSizeSelection) {
  options.font.clear();
  options.sizeIndex = -1;
  EXPECT_EQ(convert(u"a"), "[font=][size=0][color=#FF0000]a[/color][/size][/font]");
  options.dialect = Dialect::Qzone;
  EXPECT_EQ(convert(u"a"), "[ftf=][fts=0][ftc=#FF0000]a[/ft][/ft][/ft]");
  options.mode = ColourMode::Gradient;
  EXPECT_TRUE(convert(u"a").starts_with("[ftf=][fts=0][ftc=#"));
}

TEST_F(FormatterMarkup, SingleColourTakesTheWholeTextLineBreaksAndEmojiIncluded) {
  const std::u16string source = u"第一行\r\n" + kEmoji + u"第二行";
  EXPECT_EQ(convert(source), "[font=宋体][size=1][color=#FF0000]第一行\r\n😀第二行[/color][/size][/font]");
  // No length limit in this mode.
  EXPECT_FALSE(run(letters(5000)).overGradientLimit);
}

TEST_F(FormatterMarkup, EmptyTextInEveryMode) {
  EXPECT_EQ(convert(u""), "[font=宋体][size=1][color=#FF0000][/color][/size][/font]");

  options.mode = ColourMode::Gradient;
  EXPECT_EQ(convert(u""), "[font=宋体][size=1][color=#000000][/color][color=#FFFFFF][/color][/size][/font]");

  options.mode = ColourMode::Rainbow;
  random = ScriptedRandom({0.5, 0.5, 0.5});
  EXPECT_EQ(convert(u""), "[font=宋体][size=1][color=#808080][/color][/size][/font]");
  EXPECT_EQ(random.draws(), 3u);

  options.mode = ColourMode::Random;
  random = ScriptedRandom({0.5, 0.5, 0.5, 0.0, 0.0, 0.0});
  EXPECT_EQ(convert(u""), "[font=宋体][size=1][color=#808080][/color][/size][/font]");
  EXPECT_EQ(random.draws(), 6u);

  options.dialect = Dialect::Qzone;
  options.mode = ColourMode::Gradient;
  EXPECT_EQ(convert(u""), "[ftf=宋体][fts=1][ftc=#000000][/ft][ftc=#FFFFFF][/ft][/ft][/ft]");
}

TEST_F(FormatterMarkup, ConvertingIntoAnEarlierResultReplacesIt) {
  ConversionResult result;
  convertMarkupInto(result, options, letters(300), table, u"", random);
  options.mode = ColourMode::Gradient;
  convertMarkupInto(result, options, letters(300), table, u"", random);
  EXPECT_TRUE(result.overGradientLimit);
  EXPECT_TRUE(result.markup.empty());
  for (ColourMode mode : {ColourMode::Single, ColourMode::Gradient, ColourMode::Rainbow, ColourMode::Random}) {
    options.mode = mode;
    random = ScriptedRandom();
    const std::u16string fresh = run(u"ab").markup;
    random = ScriptedRandom();
    convertMarkupInto(result, options, u"ab", table, u"", random);
    EXPECT_FALSE(result.overGradientLimit);
    EXPECT_EQ(utf8(result.markup), utf8(fresh));
  }
  // The previous result itself as the source.
  options.mode = ColourMode::Single;
  convertMarkupInto(result, options, u"ab", table, u"", random);
  convertMarkupInto(result, options, result.markup, table, u"", random);
  EXPECT_EQ(utf8(result.markup),
            "[font=宋体][size=1][color=#FF0000][font=宋体][size=1][color=#FF0000]ab[/color][/size][/font]"
            "[/color][/size][/font]");
}

// ---- gradient ----

TEST_F(FormatterMarkup, GradientOfThreeCharactersUsesFirstMiddleAndLastSample) {
  options.mode = ColourMode::Gradient;
  EXPECT_EQ(convert(u"abc"),
            "[font=宋体][size=1][color=#000000]a[/color][color=#7F7F7F]b[/color][color=#FFFFFF]c[/color]"
            "[/size][/font]");
  options.dialect = Dialect::Qzone;
  EXPECT_EQ(convert(u"abc"),
            "[ftf=宋体][fts=1][ftc=#000000]a[/ft][ftc=#7F7F7F]b[/ft][ftc=#FFFFFF]c[/ft][/ft][/ft]");
}

TEST_F(FormatterMarkup, GradientOfOneCharacterGetsAnEmptyLastSample) {
  options.mode = ColourMode::Gradient;
  EXPECT_EQ(pieces(u"a"), (std::vector<Piece>{{T(0), "a"}, {T(256), ""}}));
}

TEST_F(FormatterMarkup, GradientOfThirtyCharactersStepsByEight) {
  options.mode = ColourMode::Gradient;
  const std::u16string source = letters(30);
  const auto p = pieces(source);
  ASSERT_EQ(p.size(), 33u);
  for (int k = 0; k < 30; ++k) EXPECT_EQ(p[k], (Piece{T(8 * k), utf8(source.substr(k, 1))})) << k;
  EXPECT_EQ(p[30], (Piece{T(240), ""}));
  EXPECT_EQ(p[31], (Piece{T(248), ""}));
  EXPECT_EQ(p[32], (Piece{T(256), ""}));
}

TEST_F(FormatterMarkup, GradientOf129CharactersFitsEveryOtherSampleExactly) {
  options.mode = ColourMode::Gradient;
  const std::u16string source = letters(129);
  const auto p = pieces(source);
  ASSERT_EQ(p.size(), 129u);
  for (int k = 0; k < 129; ++k) EXPECT_EQ(p[k], (Piece{T(2 * k), utf8(source.substr(k, 1))})) << k;
}

TEST_F(FormatterMarkup, GradientFrom130CharactersTakesOneSampleEach) {
  options.mode = ColourMode::Gradient;
  for (std::size_t n : {130u, 256u}) {
    const std::u16string source = letters(n);
    const auto p = pieces(source);
    ASSERT_EQ(p.size(), 257u) << n;
    for (std::size_t j = 0; j <= 256; ++j) {
      const std::string ch = j < n ? utf8(source.substr(j, 1)) : "";
      EXPECT_EQ(p[j], (Piece{T(static_cast<int>(j)), ch})) << n << " T(" << j << ")";
    }
  }
}

TEST_F(FormatterMarkup, GradientRefusesMoreThan256Characters) {
  options.mode = ColourMode::Gradient;
  for (Dialect d : {Dialect::Forum, Dialect::Qzone}) {
    options.dialect = d;
    ConversionResult r = run(letters(257));
    EXPECT_TRUE(r.overGradientLimit);
    EXPECT_TRUE(r.markup.empty());
  }
}

TEST_F(FormatterMarkup, GradientCountsEmojiAsOneCharacter) {
  options.mode = ColourMode::Gradient;
  auto p = pieces(kEmoji + kEmoji + u"z");
  EXPECT_EQ(p, (std::vector<Piece>{{T(0), "😀"}, {T(128), "😀"}, {T(256), "z"}}));

  // 256 emoji are 512 code units but 256 characters: accepted.
  p = pieces(repeat(kEmoji, 256));
  ASSERT_EQ(p.size(), 257u);
  for (std::size_t j = 0; j < 256; ++j) EXPECT_EQ(p[j], (Piece{T(static_cast<int>(j)), "😀"})) << j;
  EXPECT_EQ(p[256], (Piece{T(256), ""}));

  ConversionResult over = run(repeat(kEmoji, 257));
  EXPECT_TRUE(over.overGradientLimit);
  EXPECT_TRUE(over.markup.empty());
}

TEST_F(FormatterMarkup, GradientLineBreakCrTakesASampleAndWritesNothing) {
  options.mode = ColourMode::Gradient;
  // Four characters: step 85, samples T(0), T(85), T(170), T(255).
  EXPECT_EQ(pieces(u"a\r\nb"), (std::vector<Piece>{{T(0), "a"}, {T(170), "\n"}, {T(255), "b"}}));
  EXPECT_EQ(convert(u"a\r\nb").find('\r'), std::string::npos);
}

// ---- rainbow ----

TEST_F(FormatterMarkup, RainbowDrawsRedGreenBluePerCharacter) {
  options.mode = ColourMode::Rainbow;
  random = ScriptedRandom({0.0, 0.5, 0.999, 0.25, 0.75, 1.0 / 256});
  EXPECT_EQ(convert(u"ab"),
            "[font=宋体][size=1][color=#0080FF]a[/color][color=#40C001]b[/color][/size][/font]");
  EXPECT_EQ(random.draws(), 6u);
  EXPECT_EQ(random.overruns(), 0u);
  EXPECT_TRUE(random.reseeds().empty());  // the caller reseeds

  options.dialect = Dialect::Qzone;
  random = ScriptedRandom({0.0, 0.5, 0.999, 0.25, 0.75, 1.0 / 256});
  EXPECT_EQ(convert(u"ab"), "[ftf=宋体][fts=1][ftc=#0080FF]a[/ft][ftc=#40C001]b[/ft][/ft][/ft]");
}

TEST_F(FormatterMarkup, RainbowCrConsumesItsDraws) {
  options.mode = ColourMode::Rainbow;
  random = ScriptedRandom({0.0, 0.0, 0.0, 0.5, 0.5, 0.5, 0.25, 0.25, 0.25, 0.999, 0.999, 0.999});
  EXPECT_EQ(pieces(u"a\r\nb"), (std::vector<Piece>{{"000000", "a"}, {"404040", "\n"}, {"FFFFFF", "b"}}));
  EXPECT_EQ(random.draws(), 12u);
}

TEST_F(FormatterMarkup, RainbowGivesAnEmojiOnePiece) {
  options.mode = ColourMode::Rainbow;
  random = ScriptedRandom({0.0, 0.0, 0.0, 0.5, 0.5, 0.5});
  EXPECT_EQ(pieces(kEmoji + u"中"), (std::vector<Piece>{{"000000", "😀"}, {"808080", "中"}}));
  EXPECT_EQ(random.draws(), 6u);
  // A lone surrogate half is a character of its own and kept as it is.
  random = ScriptedRandom();
  const std::u16string lone = std::u16string(1, char16_t(0xD83D)) + u"x";
  const ConversionResult r = run(lone);
  EXPECT_EQ(random.draws(), 6u);
  EXPECT_NE(r.markup.find(lone.substr(0, 1) + u"[/color]"), std::u16string::npos);
}

TEST_F(FormatterMarkup, DrawsOutsideTheUnitRangeStayInRange) {
  options.mode = ColourMode::Rainbow;
  random = ScriptedRandom({1.0, -0.5, std::numeric_limits<double>::quiet_NaN()});
  EXPECT_EQ(pieces(u"a"), (std::vector<Piece>{{"FF0000", "a"}}));
}

// ---- random ----

TEST_F(FormatterMarkup, RandomDrawsColourMarkSizeAndFontInOrder) {
  options.mode = ColourMode::Random;
  // The panel's own font, size and horizontal box play no part.
  options.font = u"黑体";
  options.sizeIndex = 5;
  options.horizontal = true;
  const std::vector<double> draws = {0.0, 0.5, 0.999, /*mark*/ 0.5, /*size*/ 0.999, /*font 3*/ 0.25,
                                     0.25, 0.25, 0.25, /*no mark*/ 0.49, /*size*/ 0.0, /*font 0*/ 0.0};
  random = ScriptedRandom(draws);
  EXPECT_EQ(convert(u"ab"),
            "[font=@楷体_GB2312][size=7][color=#0080FF]a[/color][/size][/font]"
            "[font=宋体][size=1][color=#404040]b[/color][/size][/font]");
  EXPECT_EQ(random.draws(), 12u);

  options.dialect = Dialect::Qzone;
  random = ScriptedRandom(draws);
  EXPECT_EQ(convert(u"ab"),
            "[ftf=楷体_GB2312][fts=7][ftc=#0080FF]a[/ft][/ft][/ft]"
            "[ftf=宋体][fts=1][ftc=#404040]b[/ft][/ft][/ft]");
}

TEST_F(FormatterMarkup, RandomFontIndexComesFromTheDraw) {
  options.mode = ColourMode::Random;
  const std::pair<double, const char*> cases[] = {
      {0.0, "宋体"}, {0.1, "仿宋_GB2312"}, {0.35, "黑体"}, {0.5, "华文彩云"}, {0.55, "华文仿宋"}, {0.999, "方正姚体"}};
  for (const auto& [u, name] : cases) {
    random = ScriptedRandom({0, 0, 0, 0, 0, u});
    EXPECT_EQ(convert(u"a"), std::string("[font=") + name + "][size=1][color=#000000]a[/color][/size][/font]") << u;
  }
  // The size covers 1 … 7.
  random = ScriptedRandom({0, 0, 0, 0, 3.0 / 7, 0});
  EXPECT_NE(convert(u"a").find("[size=4]"), std::string::npos);
}

TEST_F(FormatterMarkup, RandomWithAnEmptyFontListWritesAnEmptyName) {
  options.mode = ColourMode::Random;
  options.fontNames.clear();
  random = ScriptedRandom({0, 0, 0, 0.9, 0, 0.7});
  EXPECT_EQ(convert(u"a"), "[font=@][size=1][color=#000000]a[/color][/size][/font]");
  EXPECT_EQ(random.draws(), 6u);
}

TEST_F(FormatterMarkup, RandomCrConsumesSixDrawsAndEmojiIsOnePiece) {
  options.mode = ColourMode::Random;
  std::vector<double> draws;
  for (double c : {0.0, 0.5, 0.25, 0.999}) draws.insert(draws.end(), {c, c, c, 0.0, 0.0, 0.0});
  random = ScriptedRandom(draws);
  EXPECT_EQ(pieces(u"a\r\n" + kEmoji),
            (std::vector<Piece>{{"000000", "a"}, {"404040", "\n"}, {"FFFFFF", "😀"}}));
  EXPECT_EQ(random.draws(), 24u);
  EXPECT_EQ(random.overruns(), 0u);
}

TEST_F(FormatterMarkup, RandomWithVeryLongFontNames) {
  options.mode = ColourMode::Random;
  const std::u16string longName = repeat(u"长", 40);
  options.fontNames = {u"宋体", longName};
  random = ScriptedRandom({0, 0, 0, 0, 0, 0.9, 0, 0, 0, 0.9, 0, 0.0});
  EXPECT_EQ(convert(u"ab"), "[font=" + utf8(longName) + "][size=1][color=#000000]a[/color][/size][/font]" +
                                "[font=@宋体][size=1][color=#000000]b[/color][/size][/font]");
}

// Long texts go through many internal blocks; every character must still get
// the draws of its own position, in order, whatever the mix of emoji, line
// breaks and plain characters.
TEST_F(FormatterMarkup, LongTextsKeepEveryCharacterWithItsOwnDraws) {
  std::u16string source;
  std::vector<std::u16string> chars;
  for (int k = 0; k < 3000; ++k) {
    std::u16string ch = k % 7 == 0    ? kEmoji
                        : k % 50 == 49 ? u"\r"
                        : k % 50 == 0  ? u"\n"
                                       : std::u16string(1, static_cast<char16_t>(u'一' + k % 100));
    source += ch;
    chars.push_back(ch);
  }
  for (int draws : {3, 6}) {
    options.mode = draws == 3 ? ColourMode::Rainbow : ColourMode::Random;
    std::vector<double> script;
    for (std::size_t k = 0; k < chars.size(); ++k) {
      const double red = static_cast<double>(k % 256) / 256, green = static_cast<double>(k / 256) / 256;
      script.insert(script.end(), {red, green, 0.0});
      if (draws == 6) script.insert(script.end(), {0.0, 0.0, 0.0});
    }
    random = ScriptedRandom(script);
    const auto p = pieces(source);
    EXPECT_EQ(random.draws(), script.size());
    EXPECT_EQ(random.overruns(), 0u);
    std::vector<Piece> expected;
    for (std::size_t k = 0; k < chars.size(); ++k) {
      if (chars[k] == u"\r") continue;
      expected.push_back({utf8(colourSample(makeColour(static_cast<int>(k % 256), static_cast<int>(k / 256), 0))),
                          utf8(chars[k])});
    }
    EXPECT_EQ(p, expected) << draws;
  }
}

TEST_F(FormatterMarkup, RandomWrapsStylesAroundTheBody) {
  options.mode = ColourMode::Random;
  options.bold = true;
  options.alignment = Alignment::Centre;
  random = ScriptedRandom({0, 0, 0, 0, 0, 0});
  EXPECT_EQ(convert(u"a"), "[align=center][b][font=宋体][size=1][color=#000000]a[/color][/size][/font][/b][/align]");
}

}  // namespace
}  // namespace vexlo::formatter
