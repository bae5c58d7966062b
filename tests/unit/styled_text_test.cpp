#include "formatter/styled_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/iconv_codec.h"
#include "fakes/read_back.h"
#include "text/characters.h"

namespace vexlo::formatter {
namespace {

const std::u16string kEmoji = u"\U0001F600";
const std::u16string kQueue = u"[img]http://e/1.gif[/img][img]http://e/2.gif[/img]";

// Option sets that between them turn on every style.
std::vector<MarkupOptions> optionSets() {
  std::vector<MarkupOptions> sets(3);
  sets[0].font = u"宋体";
  sets[1].font = u"仿宋";
  sets[1].sizeIndex = 6;
  sets[1].bold = sets[1].italic = sets[1].underline = sets[1].quote = true;
  sets[1].horizontal = sets[1].glow = true;
  sets[1].alignment = Alignment::Centre;
  sets[2].sizeIndex = -1;  // no font, no size
  sets[2].alignment = Alignment::Right;
  sets[2].singleColour = 0xAB0005;
  for (MarkupOptions& o : sets) o.fontNames = {u"宋体", u"楷体", u"华文彩云", u"Microsoft YaHei UI Light"};
  return sets;
}

TEST(StyledRuns, ConversionWritesItsRunsAndReadsBackToThem) {
  const GradientTable table(0x0000FF, 0xFF8000);
  const std::u16string texts[] = {u"", u"a", u"\r", u"你好，\r\n世界" + kEmoji + u"[b]x]"};
  for (Dialect dialect : {Dialect::Forum, Dialect::Qzone}) {
    for (ColourMode mode : {ColourMode::Single, ColourMode::Gradient, ColourMode::Rainbow, ColourMode::Random}) {
      for (MarkupOptions options : optionSets()) {
        for (const std::u16string& text : texts) {
          options.dialect = dialect;
          options.mode = mode;
          SCOPED_TRACE(testing::Message() << int(dialect) << "/" << int(mode) << " " << text::toUtf8(text));
          SplitMixRandom forConversion(7), forRuns(7);
          const ConversionResult converted = convertMarkup(options, text, table, kQueue, forConversion);
          StyledReply built;
          buildStyledReply(built, options, text, table, kQueue, forRuns);
          std::u16string written;
          writeMarkup(built, written);
          EXPECT_EQ(text::toUtf8(written), text::toUtf8(converted.markup));

          StyledReply read;
          ASSERT_TRUE(readMarkup(written, dialect, read));
          EXPECT_EQ(read, fakes::asRead(built));
          std::u16string again;
          writeMarkup(read, again);
          EXPECT_EQ(again, written);
        }
      }
    }
  }
}

TEST(StyledRuns, ReaderRefusesWhatNoConversionWrites) {
  const std::u16string good = u"[b][font=宋体][size=1][color=#FF0000]a[/color][/size][/font][/b]";
  StyledReply r;
  ASSERT_TRUE(readMarkup(good, Dialect::Forum, r));
  const std::pair<const char16_t*, Dialect> bad[] = {
      {u"plain text", Dialect::Forum},
      {u"[b][font=宋体][size=1][color=#FF0000]a[/color][/size][/font]", Dialect::Forum},  // no closer
      {u"[font=宋体][size=1][color=#ff0000]a[/color][/size][/font]", Dialect::Forum},     // lower case
      {u"[font=宋体][size=01][color=#FF0000]a[/color][/size][/font]", Dialect::Forum},    // not the writer's number
      {u"[font=宋体][size=1][color=#FF00]a[/color][/size][/font]", Dialect::Forum},       // short colour
      {u"[font=宋体][size=1][color=#FF0000]a[/color][/size]", Dialect::Forum},            // cut short
      {u"[font=宋体][size=1][color=#FF0000]a[/color][/size][/font]", Dialect::Qzone},     // other dialect
      {u"[ftf=宋体][fts=1][ffg,#FF0000,#000000]a[/ft][/ft][/ft]", Dialect::Qzone},        // not the glow
      {u"[color=#000000]a[/color]", Dialect::Forum},                                      // no font
      {u"[font=宋体][size=1][color=#FF0000]a[/color][/size][/font][img]x[/img", Dialect::Forum},
  };
  for (const auto& [markup, dialect] : bad) EXPECT_FALSE(readMarkup(markup, dialect, r)) << text::toUtf8(markup);
}

// A reply of two styled runs and the given reply-wide styles.
StyledReply sample() {
  StyledReply r;
  r.faces = {u"楷体_GB2312", u""};
  r.runs = {{u"a<b>&\"'", 0x0000FF, 0, true, 3}, {u"你\r\n" + kEmoji, 0x00FF00, 1, false, 7}};
  return r;
}

TEST(StyledRuns, HtmlHeaderOffsetsSliceTheDocumentAndTheFragment) {
  StyledReply r = sample();
  r.emoticons = {u"http://e/1.gif?a=1&b=\"2\""};
  const std::string html = writeClipboardHtml(r);
  auto offset = [&](const std::string& name) {
    const std::size_t at = html.find(name + ":");
    return at == std::string::npos ? std::string::npos : std::stoul(html.substr(at + name.size() + 1, 10));
  };
  ASSERT_EQ(offset("EndHTML"), html.size());
  EXPECT_TRUE(html.substr(offset("StartHTML")).starts_with("<html>"));
  EXPECT_TRUE(html.substr(0, offset("StartFragment")).ends_with("<!--StartFragment-->"));
  EXPECT_TRUE(html.substr(offset("EndFragment")).starts_with("<!--EndFragment-->"));
  const std::string fragment = html.substr(offset("StartFragment"), offset("EndFragment") - offset("StartFragment"));
  EXPECT_EQ(fragment,
            "<div><span style=\"color:#FF0000;font-family:&#39;楷体_GB2312&#39;;font-size:16px\">"
            "a&lt;b&gt;&amp;&quot;&#39;</span><span style=\"color:#00FF00;font-size:48px\">你<br>😀</span>"
            "<img src=\"http://e/1.gif?a=1&amp;b=&quot;2&quot;\" alt=\"\"></div>");
}

TEST(StyledRuns, HtmlAndRtfCarryTheReplyStyles) {
  const fakes::IconvCodec gbk("GBK");
  struct Case {
    const char* what;
    void (*change)(StyledReply&);
    std::vector<std::string> html, rtf;
  };
  const Case cases[] = {
      {"plain",
       [](StyledReply&) {},
       {"<div><span"},
       {"{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
        "\\'bf\\'ac\\'cc\\'e5_GB2312;}}",
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green255\\blue0;}",
        "{\\f0\\fs24\\cf1 a<b>&\"'}{\\fs72\\cf2 \\'c4\\'e3\\line "
        "\\u-10179?\\u-8704?}"}},
      {"styles",
       [](StyledReply& r) { r.bold = r.italic = r.underline = true; },
       {";font-weight:bold;font-style:italic;text-decoration:underline\">"},
       {"\\cf1\\b\\i\\ul a"}},
      {"centre",
       [](StyledReply& r) { r.alignment = Alignment::Centre; },
       {"<div style=\"text-align:center\">"},
       {"\\pard\\qc"}},
      {"right",
       [](StyledReply& r) { r.alignment = Alignment::Right; },
       {"<div style=\"text-align:right\">"},
       {"\\pard\\qr"}},
      {"quote",
       [](StyledReply& r) { r.quote = true; },
       {"<!--StartFragment--><div>.....</div><blockquote><div>", "</div></blockquote><!--EndFragment-->"},
       {"\\pard .....\\par\r\n\\pard\\li720\r\n"}},
      {"escapes",
       [](StyledReply& r) { r.runs[0].text = u"\\{x}\t한"; },
       {"\\{x}\t한"},
       {" \\\\\\{x\\}\\tab \\u-10916?}"}},
      {"face with a quote",
       [](StyledReply& r) { r.faces[0] = u"O'Font"; },
       {"font-family:&#39;O\\&#39;Font&#39;"},
       {"O'Font;"}},
  };
  for (const Case& c : cases) {
    StyledReply r = sample();
    c.change(r);
    const std::string html = writeClipboardHtml(r), rtf = writeRtf(r, gbk);
    for (const std::string& piece : c.html) EXPECT_NE(html.find(piece), std::string::npos) << c.what << ": " << piece;
    for (const std::string& piece : c.rtf) EXPECT_NE(rtf.find(piece), std::string::npos) << c.what << ": " << piece;
    EXPECT_EQ(html.find("@"), std::string::npos) << c.what;  // the mark is no part of a family name
    EXPECT_TRUE(rtf.ends_with("\\par\r\n}")) << c.what;
  }
}

TEST(StyledRuns, RandomModeWritesAFaceMissingFromTheTableAsNone) {
  StyledReply r = sample();
  r.mode = ColourMode::Random;
  const std::pair<int, std::u16string> cases[] = {
      {-1, u"[font=@][size=3][color=#FF0000]a<b>&\"'[/color][/size][/font]"},
      {7, u"[font=@][size=3][color=#FF0000]a<b>&\"'[/color][/size][/font]"},
      {0, u"[font=@楷体_GB2312][size=3][color=#FF0000]a<b>&\"'[/color][/size][/font]"},
  };
  for (const auto& [face, expected] : cases) {
    r.runs[0].face = face;
    std::u16string markup;
    writeMarkup(r, markup);
    EXPECT_TRUE(markup.starts_with(expected)) << face << ": " << text::toUtf8(markup);
  }
}

TEST(StyledRuns, PlainTextHasNoTagsAndWindowsLineBreaks) {
  MarkupOptions options;
  options.quote = options.bold = true;
  options.mode = ColourMode::Rainbow;
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"a\r\nb", u".....\r\na\r\nb"}, {u"a\nb", u".....\r\na\r\nb"}, {kEmoji + u"x", u".....\r\n" + kEmoji + u"x"}};
  for (const auto& [source, expected] : cases) {
    for (ColourMode mode : {ColourMode::Single, ColourMode::Rainbow}) {
      options.mode = mode;
      SplitMixRandom random;
      StyledReply r;
      buildStyledReply(r, options, source, GradientTable(), kQueue, random);
      EXPECT_EQ(text::toUtf8(plainText(r)), text::toUtf8(expected));
    }
  }
}

}  // namespace
}  // namespace vexlo::formatter
