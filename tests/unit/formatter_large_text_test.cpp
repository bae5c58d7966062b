// Texts of 1 MB and 10 MB put into the reply formatter and converted in
// every colour mode, as a user pasting a whole document would: gradient mode
// refuses them with its message, the other modes convert every character,
// and undo always brings the text back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fakes/shell_harness.h"
#include "text/characters.h"

using namespace vexlo;

namespace {

// `units` code units of Chinese and ASCII, a CR LF every 40 characters and
// now and then an emoji (a surrogate pair); no square brackets, so that the
// text between the tags of a result is the text itself.
std::u16string documentText(std::size_t units) {
  const std::u16string_view chinese = u"今天天气很好我们一起去公园散步吧欢迎大家回帖讨论";
  const std::u16string_view ascii = u"Hello, forum! 123 abc xyz";
  const std::u16string_view emoji = u"\U0001F600";
  std::u16string s;
  s.reserve(units);
  for (std::size_t k = 0, onLine = 0; s.size() < units; ++k, ++onLine) {
    if (onLine == 40) {
      s += u"\r\n";
      onLine = 0;
    } else if (k % 997 == 0 && s.size() + 2 <= units) {
      s += emoji;
    } else {
      const std::u16string_view from = (k / 7) % 2 ? chinese : ascii;
      s += from[k % from.size()];
    }
  }
  s.resize(units);
  if (!s.empty() && s.back() >= 0xD800 && s.back() <= 0xDBFF) s.back() = u'x';
  return s;
}

// True when `markup` carries exactly the characters of `source` between its
// tags, in order, with no surrogate pair cut in two; the per-character
// modes write nothing for a CR.
bool carriesEveryCharacter(std::u16string_view markup, std::u16string_view source, bool dropsCR) {
  std::size_t next = 0;
  for (std::size_t at = 0; at < markup.size(); ++at) {
    if (markup[at] == u'[') {
      at = markup.find(u']', at);
      if (at == std::u16string_view::npos) return false;
      continue;
    }
    while (dropsCR && next < source.size() && source[next] == u'\r') ++next;
    if (next == source.size() || markup[at] != source[next]) return false;
    // A pair stays whole: its low half follows at once.
    const bool high = markup[at] >= 0xD800 && markup[at] <= 0xDBFF;
    if (high && (at + 1 == markup.size() || markup[at + 1] != source[next + 1])) return false;
    if (high) ++at, ++next;
    ++next;
  }
  while (dropsCR && next < source.size() && source[next] == u'\r') ++next;
  return next == source.size();
}

constexpr std::size_t kMegabyte = 1 << 20;

// Through the panel, as the user does it: typed (pasted) into the input box,
// converted with the button, published and pasted, then undone.
TEST(FormatterLargeText, ThePanelConvertsOrRefusesAWholeDocumentAndUndoBringsItBack) {
  struct Case {
    std::size_t units;
    int mode;  // 0 single, 1 gradient, 2 rainbow, 3 random
  } cases[] = {{kMegabyte, 0}, {kMegabyte, 1},      {kMegabyte, 2},
               {kMegabyte, 3}, {10 * kMegabyte, 0}, {10 * kMegabyte, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.units << " code units, mode " << c.mode);
    const std::u16string source = documentText(c.units);
    fakes::ShellHarness h;
    formatter::SplitMixRandom random;
    shell::MainWindow window(h.services, random);
    ASSERT_TRUE(window.start());
    formatter::FormatterPanel& p = window.formatter;
    p.colourModeOptions[c.mode]->userClick();
    p.inputBox.userEdited(source);
    h.clipboard.content = u"before";
    h.log.events.clear();

    p.convertButton.userClick();
    if (c.mode == 1) {
      ASSERT_EQ(h.messageBox.shown.size(), 1u);
      EXPECT_EQ(h.messageBox.shown[0].text, formatter::kGradientLimitMessage);
      EXPECT_EQ(p.inputBox.text(), u"");
      EXPECT_FALSE(p.converted());
      EXPECT_EQ(h.clipboard.content, u"before");
      EXPECT_TRUE(h.log.events.empty());
    } else {
      EXPECT_TRUE(h.messageBox.shown.empty());
      EXPECT_TRUE(p.converted());
      EXPECT_TRUE(h.clipboard.content == p.inputBox.text());
      EXPECT_EQ(std::count(h.log.events.begin(), h.log.events.end(), "key down 86"), 1);  // pasted once
      EXPECT_TRUE(carriesEveryCharacter(p.inputBox.text(), source, c.mode != 0));
    }
    // Nothing the user typed is lost.
    p.undoButton.userClick();
    EXPECT_TRUE(p.inputBox.text() == source);
  }
}

// The per-character modes on 10 MB, in both dialects: the conversion
// writes some 19 to 60 code units for each character and must carry them
// all. One result's storage serves every case, as the panel's does.
TEST(FormatterLargeText, TenMegabytesConvertCharacterByCharacterInBothDialects) {
  const std::u16string source = documentText(10 * kMegabyte);
  formatter::MarkupOptions options;
  options.font = u"楷体";
  options.fontNames = {u"宋体", u"仿宋", u"幼圆", u"楷体", u"华文彩云"};
  formatter::GradientTable gradient;
  formatter::SplitMixRandom random;
  formatter::ConversionResult result;
  for (formatter::ColourMode mode : {formatter::ColourMode::Random, formatter::ColourMode::Rainbow}) {
    for (formatter::Dialect dialect : {formatter::Dialect::Forum, formatter::Dialect::Qzone}) {
      SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(mode) << ", dialect "
                                      << static_cast<int>(dialect));
      options.mode = mode;
      options.dialect = dialect;
      formatter::convertMarkupInto(result, options, source, gradient, u"", random);
      EXPECT_FALSE(result.overGradientLimit);
      EXPECT_GT(result.markup.size(), 15 * source.size());
      EXPECT_TRUE(carriesEveryCharacter(result.markup, source, true));
    }
  }
}

}  // namespace
