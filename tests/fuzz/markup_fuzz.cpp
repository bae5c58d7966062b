// The markup conversion, in all four colour modes and both dialects, with
// options, colours, font names, queued emoticons and text drawn from the
// input. The result is read back with the tag vocabulary of each dialect:
// its text without the tags must be the input text (without its CRs in the
// per-character modes, where a CR writes nothing), every per-character piece
// must hold one whole character, so no surrogate pair is ever split, and
// the result converted again must pass the same reading. The markup reader
// reads every result back: writing what it read gives the markup again, and
// where the markup can tell (no brackets in the text, the font names and the
// emoticon addresses, no font name starting with "@") it gives the runs the
// conversion built. The input text is read as markup too: the reader accepts
// only what the writer would write back the same.
//
// Input: 17 bytes of options, then UTF-16 code units (little-endian pairs):
// the custom font name, the queued emoticon markup, and the text.
//   0  bit 0 dialect (Qzone), bits 1-2 colour mode, bits 3-4 alignment
//      (1 right, 2 centre, else left), bit 5 horizontal, bit 6 glow, bit 7 quote
//   1  bit 0 bold, 1 italic, 2 underline, 3 convert a short result again,
//      bits 4-7 which of the four built-in font names are in the font list
//   2  selected font (an index into the font list; past its end: none)
//   3  size index, signed
//   4-12  single colour, gradient start and end colour, R G B each
//   13 emoticon markup length, 14-15 random seed, 16 custom font name length
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fakes/read_back.h"
#include "formatter/markup.h"
#include "formatter/styled_text.h"
#include "fuzz/fuzz_check.h"
#include "text/characters.h"

namespace {

using namespace vexlo;
using namespace vexlo::formatter;
using fuzz::check;

constexpr std::size_t kOptionBytes = 17;
constexpr char16_t kCR = 13;

struct Input {
  MarkupOptions options;
  GradientTable gradient;
  std::u16string emoticons;
  std::u16string text;
  std::uint64_t seed = 0;
  bool convertAgain = false;
};

Colour colourAt(const std::uint8_t* rgb) { return makeColour(rgb[0], rgb[1], rgb[2]); }

Input read(const std::uint8_t* data, std::size_t size) {
  Input in;
  std::uint8_t o[kOptionBytes] = {};
  for (std::size_t i = 0; i < kOptionBytes && i < size; ++i) o[i] = data[i];
  std::u16string units;
  for (std::size_t i = kOptionBytes; i + 1 < size; i += 2) units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));

  MarkupOptions& m = in.options;
  m.dialect = (o[0] & 1) ? Dialect::Qzone : Dialect::Forum;
  m.mode = static_cast<ColourMode>((o[0] >> 1) & 3);
  const int alignment = (o[0] >> 3) & 3;
  m.alignment = alignment == 1 ? Alignment::Right : alignment == 2 ? Alignment::Centre : Alignment::Left;
  m.horizontal = o[0] & 0x20;
  m.glow = o[0] & 0x40;
  m.quote = o[0] & 0x80;
  m.bold = o[1] & 1;
  m.italic = o[1] & 2;
  m.underline = o[1] & 4;
  in.convertAgain = o[1] & 8;
  // Two of them get their GB2312 names in the markup.
  const char16_t* const builtIn[] = {u"宋体", u"仿宋", u"楷体", u"方正姚体"};
  for (int f = 0; f < 4; ++f)
    if (o[1] & (0x10 << f)) m.fontNames.emplace_back(builtIn[f]);
  std::size_t at = 0;
  auto take = [&](std::size_t n) {
    n = std::min(n, units.size() - at);
    std::u16string piece = units.substr(at, n);
    at += n;
    return piece;
  };
  std::u16string customFont = take(o[16]);
  // The program's font names come from its own list and hold no brackets;
  // a bracket in a name would leave any reader of the markup guessing where
  // the font tag ends.
  std::erase_if(customFont, [](char16_t c) { return c == u'[' || c == u']'; });
  if (o[16] > 0) m.fontNames.push_back(customFont);
  if (o[2] < m.fontNames.size()) m.font = m.fontNames[o[2]];
  m.sizeIndex = static_cast<std::int8_t>(o[3]);
  m.singleColour = colourAt(o + 4);
  in.gradient.rebuild(colourAt(o + 7), colourAt(o + 10));
  in.emoticons = take(o[13]);
  in.seed = static_cast<std::uint64_t>(o[14]) | (static_cast<std::uint64_t>(o[15]) << 8);
  in.text = units.substr(at);
  return in;
}

// Reads a result from left to right, failing the run at the first piece
// that is not where the vocabulary puts it.
class Reader {
 public:
  explicit Reader(std::u16string_view markup) : rest_(markup) {}

  std::u16string_view rest() const { return rest_; }
  bool at(std::u16string_view literal) const { return rest_.substr(0, literal.size()) == literal; }
  void expect(std::u16string_view literal, const char* what) {
    check(at(literal), what);
    rest_.remove_prefix(literal.size());
  }
  void expectOneOf(char16_t low, char16_t high, const char* what) {
    check(!rest_.empty() && rest_.front() >= low && rest_.front() <= high, what);
    rest_.remove_prefix(1);
  }
  void expectColourSample() {
    for (int i = 0; i < 6; ++i) {
      check(!rest_.empty() &&
                ((rest_.front() >= u'0' && rest_.front() <= u'9') || (rest_.front() >= u'A' && rest_.front() <= u'F')),
            "a colour sample is not RRGGBB in upper case");
      rest_.remove_prefix(1);
    }
  }
  // Up to the next "]", which stays.
  std::u16string_view untilBracket() {
    const std::size_t end = rest_.find(u']');
    check(end != std::u16string_view::npos, "a tag is not closed");
    const std::u16string_view taken = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return taken;
  }
  // The character of a per-character piece: nothing when the closer
  // follows at once, else one code unit or a surrogate pair.
  std::u16string_view pieceCharacter(std::u16string_view closer) {
    if (at(closer) || rest_.empty()) return {};
    const std::u16string_view taken = rest_.substr(0, text::characterWidthAt(rest_, 0));
    rest_.remove_prefix(taken.size());
    return taken;
  }

 private:
  std::u16string_view rest_;
};

struct Tags {
  std::u16string_view colourOpen, colourClose, fontOpen, sizeOpen, singleClose, bodyClose, drawnClose;
};
constexpr Tags kForum{u"[color=#",
                      u"[/color]",
                      u"[font=",
                      u"][size=",
                      u"[/color][/size][/font]",
                      u"[/size][/font]",
                      u"[/color][/size][/font]"};
constexpr Tags kQzone{u"[ftc=#", u"[/ft]", u"[ftf=", u"][fts=", u"[/ft][/ft][/ft]", u"[/ft][/ft]", u"[/ft][/ft][/ft]"};

// The style wrapper the options ask for, from the tag table of each dialect.
std::u16string prefixFor(const MarkupOptions& o) {
  const bool forum = o.dialect == Dialect::Forum;
  std::u16string p;
  if (o.quote) p += u".....\r[quote]";
  if (o.alignment == Alignment::Right) p += forum ? u"[align=right]" : u"[R]";
  if (o.alignment == Alignment::Centre) p += forum ? u"[align=center]" : u"[M]";
  if (o.bold) p += forum ? u"[b]" : u"[B]";
  if (o.italic) p += forum ? u"[i]" : u"[I]";
  if (o.underline) p += forum ? u"[u]" : u"[U]";
  return p;
}

std::u16string suffixFor(const MarkupOptions& o, std::u16string_view emoticons) {
  const bool forum = o.dialect == Dialect::Forum;
  std::u16string s;
  if (o.underline) s += forum ? u"[/u]" : u"[/U]";
  if (o.italic) s += forum ? u"[/i]" : u"[/I]";
  if (o.bold) s += forum ? u"[/b]" : u"[/B]";
  if (forum) s += emoticons;
  if (o.alignment == Alignment::Right) s += forum ? u"[/align]" : u"[/R]";
  if (o.alignment == Alignment::Centre) s += forum ? u"[/align]" : u"[/M]";
  if (o.quote) s += u"[/quote]";
  return s;
}

std::u16string sizeText(int sizeIndex) { return text::decimal(static_cast<long long>(sizeIndex) + 1); }

std::u16string_view markFor(const MarkupOptions& o) { return o.dialect == Dialect::Forum && o.horizontal ? u"@" : u""; }

// The characters of the text a per-character mode writes: all but the CRs,
// each whole.
std::vector<std::u16string_view> writtenCharacters(std::u16string_view text) {
  std::vector<std::u16string_view> characters;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = text::characterWidthAt(text, i);
    if (!(width == 1 && text[i] == kCR)) characters.push_back(text.substr(i, width));
    i += width;
  }
  return characters;
}

// Every piece holds the next whole character of the text, or nothing once
// the text is used up.
void checkPieces(const std::vector<std::u16string_view>& pieces, std::u16string_view text) {
  const std::vector<std::u16string_view> expected = writtenCharacters(text);
  std::size_t next = 0;
  bool usedUp = false;
  for (std::u16string_view piece : pieces) {
    if (piece.empty()) {
      usedUp = true;
      continue;
    }
    check(!usedUp, "a character follows an empty piece");
    check(next < expected.size() && piece == expected[next],
          "a piece does not hold the next whole character of the text (a split surrogate pair?)");
    ++next;
  }
  check(next == expected.size(), "characters of the text are missing from the result");
}

void checkSingle(const MarkupOptions& o, const Tags& tags, std::u16string_view body, std::u16string_view text) {
  Reader r(body);
  r.expect(tags.fontOpen, "no font tag");
  r.expect(std::u16string(markFor(o)) + markupFontName(o.font) + std::u16string(tags.sizeOpen) + sizeText(o.sizeIndex) +
               u"]",
           "the font or size tag differs from the options");
  const bool glow = o.dialect == Dialect::Qzone && o.glow;
  r.expect(glow ? u"[ffg,#" : tags.colourOpen, "no colour or glow tag");
  r.expectColourSample();
  r.expect(glow ? u",#FFFFFF]" : u"]", "the colour tag is not closed");
  const std::u16string_view rest = r.rest();
  check(
      rest.size() >= tags.singleClose.size() && rest.substr(rest.size() - tags.singleClose.size()) == tags.singleClose,
      "the closers differ");
  check(rest.substr(0, rest.size() - tags.singleClose.size()) == text, "the text without the tags is not the input");
}

// Gradient and rainbow: one frame of font and size around colour pieces.
void checkColourPieces(const MarkupOptions& o, const Tags& tags, std::u16string_view body, std::u16string_view text) {
  Reader r(body);
  r.expect(std::u16string(tags.fontOpen) + std::u16string(markFor(o)) + markupFontName(o.font) +
               std::u16string(tags.sizeOpen) + sizeText(o.sizeIndex) + u"]",
           "the font or size tag differs from the options");
  std::vector<std::u16string_view> pieces;
  while (r.at(tags.colourOpen)) {
    r.expect(tags.colourOpen, "");
    r.expectColourSample();
    r.expect(u"]", "a colour tag is not closed");
    pieces.push_back(r.pieceCharacter(tags.colourClose));
    r.expect(tags.colourClose, "a piece holds more than one character");
  }
  r.expect(tags.bodyClose, "the closers differ");
  check(r.rest().empty(), "something follows the closers");
  checkPieces(pieces, text);
  if (o.mode == ColourMode::Rainbow) {
    check(pieces.size() == (text.empty() ? 1 : writtenCharacters(text).size()),
          "rainbow pieces are not one a character");
  }
}

// Random: every piece draws its own font, mark, size and colour.
void checkDrawnPieces(const MarkupOptions& o, const Tags& tags, std::u16string_view body, std::u16string_view text) {
  std::vector<std::u16string> names;
  for (const std::u16string& f : o.fontNames) names.push_back(markupFontName(f));
  if (names.empty()) names.emplace_back();
  auto isName = [&](std::u16string_view name) { return std::find(names.begin(), names.end(), name) != names.end(); };
  Reader r(body);
  std::vector<std::u16string_view> pieces;
  while (r.at(tags.fontOpen)) {
    r.expect(tags.fontOpen, "");
    const std::u16string_view font = r.untilBracket();
    const bool marked = o.dialect == Dialect::Forum && !font.empty() && font.front() == u'@';
    check(isName(font) || (marked && isName(font.substr(1))), "a drawn font is not in the font list");
    r.expect(tags.sizeOpen, "no size tag after a drawn font");
    r.expectOneOf(u'1', u'7', "a drawn size is not 1 to 7");
    r.expect(u"]", "a size tag is not closed");
    r.expect(tags.colourOpen, "no colour tag after a drawn size");
    r.expectColourSample();
    r.expect(u"]", "a colour tag is not closed");
    pieces.push_back(r.pieceCharacter(tags.drawnClose));
    r.expect(tags.drawnClose, "a drawn piece holds more than one character");
  }
  check(r.rest().empty(), "something follows the drawn pieces");
  checkPieces(pieces, text);
  check(pieces.size() == (text.empty() ? 1 : writtenCharacters(text).size()), "drawn pieces are not one a character");
}

void checkResult(const Input& in, std::u16string_view text, const ConversionResult& result) {
  const MarkupOptions& o = in.options;
  if (o.mode == ColourMode::Gradient && text::characterCount(text) > kGradientCharacterLimit) {
    check(result.overGradientLimit && result.markup.empty(), "a gradient over 256 characters was converted");
    return;
  }
  check(!result.overGradientLimit, "a text within the gradient limit was refused");
  const std::u16string prefix = prefixFor(o);
  const std::u16string suffix = suffixFor(o, in.emoticons);
  const std::u16string_view markup = result.markup;
  check(markup.size() >= prefix.size() + suffix.size() && markup.substr(0, prefix.size()) == prefix &&
            markup.substr(markup.size() - suffix.size()) == suffix,
        "the style tags or queued emoticons differ from the options");
  const std::u16string_view body = markup.substr(prefix.size(), markup.size() - prefix.size() - suffix.size());
  const Tags& tags = o.dialect == Dialect::Forum ? kForum : kQzone;
  switch (o.mode) {
    case ColourMode::Single:
      checkSingle(o, tags, body, text);
      break;
    case ColourMode::Gradient:
    case ColourMode::Rainbow:
      checkColourPieces(o, tags, body, text);
      break;
    case ColourMode::Random:
      checkDrawnPieces(o, tags, body, text);
      break;
  }
}

bool hasBracket(std::u16string_view s) { return s.find_first_of(u"[]") != std::u16string_view::npos; }

// Whether the markup alone tells the runs it was written from.
bool readable(const StyledReply& built) {
  if (!built.emoticonMarkup.empty() && built.emoticons.empty()) return false;
  for (const std::u16string& address : built.emoticons)
    if (hasBracket(address)) return false;
  for (const std::u16string& face : built.faces)
    if (hasBracket(face) || face.starts_with(u'@')) return false;
  for (const StyledRun& run : built.runs)
    if (hasBracket(run.text)) return false;
  return true;
}

void checkReading(const Input& in, std::u16string_view text, const ConversionResult& result) {
  if (result.overGradientLimit) return;
  SplitMixRandom random(in.seed);
  StyledReply built;
  buildStyledReply(built, in.options, text, in.gradient, in.emoticons, random);
  StyledReply read;
  const bool accepted = readMarkup(result.markup, in.options.dialect, read);
  if (accepted) {
    std::u16string again;
    writeMarkup(read, again);
    check(again == result.markup, "writing what the reader read changes the markup");
  }
  if (!readable(built)) return;
  check(accepted, "the reader refuses what a conversion wrote");
  check(read == fakes::asRead(built), "the reader does not give back the runs the markup was written from");
}

void checkReadingAnything(const Input& in) {
  StyledReply read;
  if (!readMarkup(in.text, in.options.dialect, read)) return;
  std::u16string again;
  writeMarkup(read, again);
  check(again == in.text, "the reader accepts markup that the writer does not write back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Input in = read(data, size);
  SplitMixRandom random(in.seed);
  ConversionResult result;
  convertMarkupInto(result, in.options, in.text, in.gradient, in.emoticons, random);
  checkResult(in, in.text, result);
  checkReading(in, in.text, result);
  checkReadingAnything(in);
  // The result as the next source, read from the storage being rewritten;
  // a short one does that as well as a long one, and far faster.
  if (in.convertAgain && result.markup.size() <= 2048) {
    const std::u16string first = result.markup;
    convertMarkupInto(result, in.options, result.markup, in.gradient, in.emoticons, random);
    checkResult(in, first, result);
  }
  return 0;
}
