// Markup of either dialect back into runs. The reader accepts only what the
// writer writes (upper-case colours, sizes as the writer spells them), so
// that writing what it read gives the same markup.
#include <algorithm>
#include <array>
#include <cstring>

#include "formatter/markup_tags.h"
#include "formatter/styled_text.h"

namespace vexlo::formatter {

namespace {

using tags::ForumTags;
using tags::QzoneTags;

bool take(std::u16string_view& s, std::u16string_view literal) {
  if (literal.empty() || !s.starts_with(literal)) return false;
  s.remove_prefix(literal.size());
  return true;
}

// A tag of the vocabulary: its length is known where it is written, which
// matters once per piece of a per-character reply.
template <std::size_t N>
bool take(std::u16string_view& s, const char16_t (&literal)[N]) {
  static_assert(N > 1);
  if (s.size() < N - 1 || std::memcmp(s.data(), literal, (N - 1) * sizeof(char16_t)) != 0) return false;
  s.remove_prefix(N - 1);
  return true;
}

// Where `literal` first starts in `s`; npos when nowhere.
template <std::size_t N>
std::size_t find(std::u16string_view s, const char16_t (&literal)[N]) {
  for (std::size_t at = s.find(literal[0]); at != std::u16string_view::npos; at = s.find(literal[0], at + 1)) {
    std::u16string_view rest = s.substr(at);
    if (take(rest, literal)) return at;
  }
  return std::u16string_view::npos;
}

bool takeBack(std::u16string_view& s, std::u16string_view literal) {
  if (literal.empty() || !s.ends_with(literal)) return false;
  s.remove_suffix(literal.size());
  return true;
}

// The value of an upper-case hex digit; -1 for any other code unit.
constexpr std::array<signed char, 128> kHexValues = [] {
  std::array<signed char, 128> values{};
  values.fill(-1);
  for (int d = 0; d < 10; ++d) values[u'0' + d] = static_cast<signed char>(d);
  for (int d = 0; d < 6; ++d) values[u'A' + d] = static_cast<signed char>(10 + d);
  return values;
}();

int hexValue(char16_t c) { return c < kHexValues.size() ? kHexValues[c] : -1; }

// RRGGBB in upper case.
bool takeColour(std::u16string_view& s, Colour& colour) {
  if (s.size() < 6) return false;
  int digits[6];
  int any = 0;
  for (int k = 0; k < 6; ++k) any |= digits[k] = hexValue(s[k]);
  if (any < 0) return false;
  colour = makeColour(digits[0] * 16 + digits[1], digits[2] * 16 + digits[3], digits[4] * 16 + digits[5]);
  s.remove_prefix(6);
  return true;
}

// A decimal number as the writer spells it ("0", "7", "-3"; no "+", no
// leading zero), up to and with the "]" after it.
bool takeSize(std::u16string_view& s, int& size) {
  const std::size_t end = s.find(u']');
  if (end == std::u16string_view::npos || end == 0 || end > 11) return false;
  const std::u16string_view number = s.substr(0, end);
  const bool negative = number[0] == u'-';
  const std::u16string_view digits = number.substr(negative ? 1 : 0);
  if (digits.empty() || (digits[0] == u'0' && (digits.size() > 1 || negative))) return false;
  long long value = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return false;
    value = value * 10 + (c - u'0');
  }
  value = negative ? -value : value;
  if (value < -2147483648LL || value > 2147483647LL) return false;
  size = static_cast<int>(value);
  s.remove_prefix(end + 1);
  return true;
}

int faceIndex(StyledReply& reply, std::u16string_view face) {
  const auto found = std::find(reply.faces.begin(), reply.faces.end(), face);
  if (found != reply.faces.end()) return static_cast<int>(found - reply.faces.begin());
  reply.faces.emplace_back(face);
  return static_cast<int>(reply.faces.size() - 1);
}

// "[font=" mark face "][size=" size "]" (or the Qzone form) into the style
// of the runs that follow. A face ends at the first "]".
template <class Tags>
bool takeHead(std::u16string_view& s, StyledReply& reply, StyledRun& style) {
  if (!take(s, Tags::fontOpen)) return false;
  const std::size_t end = s.find(u']');
  if (end == std::u16string_view::npos) return false;
  std::u16string_view face = s.substr(0, end);
  s.remove_prefix(end);
  style.horizontal = Tags::hasMark && take(face, u"@");
  // Runs mostly keep the face of the run before them.
  if (!(style.face < static_cast<int>(reply.faces.size()) && reply.faces[style.face] == face))
    style.face = faceIndex(reply, face);
  return take(s, Tags::sizeOpen) && takeSize(s, style.size);
}

// Runs of colour pieces, each with its own head (random mode) or all under
// one (single colour, gradient, rainbow). A piece's text ends at the first
// colour closer.
template <class Tags>
bool readPieces(std::u16string_view body, StyledReply& reply) {
  StyledRun style;
  int segments = 0;
  std::size_t mostPieces = 0;
  while (!body.empty()) {
    if (!takeHead<Tags>(body, reply, style)) return false;
    if (segments == 0) reply.frame = {style.face, style.horizontal, style.size};
    std::size_t pieces = 0;
    // A frame holds no piece where the text was line breaks alone.
    while (take(body, Tags::colourOpen)) {
      StyledRun& run = reply.runs.emplace_back(style);
      if (!takeColour(body, run.colour) || !take(body, u"]")) return false;
      const std::size_t end = find(body, Tags::colourClose);
      if (end == std::u16string_view::npos) return false;
      run.text.assign(body.data(), end);
      body.remove_prefix(end + std::size(Tags::colourClose) - 1);
      ++pieces;
    }
    if (!take(body, Tags::frameClose)) return false;
    ++segments;
    mostPieces = std::max(mostPieces, pieces);
  }
  if (segments > 1 && mostPieces != 1) return false;
  reply.mode = segments > 1 ? ColourMode::Random : mostPieces == 1 ? ColourMode::Single : ColourMode::Rainbow;
  // Random mode over line breaks alone writes no piece at all.
  if (segments == 0) reply.mode = ColourMode::Random;
  if (reply.mode == ColourMode::Random) reply.frame = {};
  return true;
}

// Single colour whose text holds what looks like a closer, or the Qzone
// glow: one run up to the closers at the very end.
template <class Tags>
bool readSingle(std::u16string_view body, StyledReply& reply) {
  StyledRun run;
  if (!takeHead<Tags>(body, reply, run)) return false;
  reply.frame = {run.face, run.horizontal, run.size};
  if (!Tags::hasMark && take(body, tags::kGlowOpen)) {
    if (!takeColour(body, run.colour) || !take(body, tags::kGlowColourEnd)) return false;
    reply.glow = true;
  } else if (!take(body, Tags::colourOpen) || !takeColour(body, run.colour) || !take(body, u"]")) {
    return false;
  }
  if (!takeBack(body, Tags::drawnClose)) return false;
  run.text = body;
  reply.runs.push_back(std::move(run));
  reply.mode = ColourMode::Single;
  return true;
}

// Strips the queued emoticons off the end of `m`; they follow the style
// closers and hold no "[" of their own.
std::u16string_view takeEmoticons(std::u16string_view& m) {
  std::size_t start = m.size();
  while (m.substr(0, start).ends_with(tags::kImageClose)) {
    const std::size_t close = start - tags::kImageClose.size();
    const std::size_t open = close == 0 ? std::u16string_view::npos : m.rfind(u'[', close - 1);
    if (open == std::u16string_view::npos || m.substr(open, close - open).substr(0, 5) != tags::kImageOpen) break;
    start = open;
  }
  const std::u16string_view queued = m.substr(start);
  m = m.substr(0, start);
  return queued;
}

template <class Tags>
bool readIn(std::u16string_view m, StyledReply& r) {
  const Dialect d = r.dialect;
  r.quote = take(m, tags::kQuoteOpen);
  if (take(m, tags::alignmentTag(d, Alignment::Right).open)) {
    r.alignment = Alignment::Right;
  } else if (take(m, tags::alignmentTag(d, Alignment::Centre).open)) {
    r.alignment = Alignment::Centre;
  }
  r.bold = take(m, tags::boldTag(d).open);
  r.italic = take(m, tags::italicTag(d).open);
  r.underline = take(m, tags::underlineTag(d).open);

  if (r.quote && !takeBack(m, tags::kQuoteClose)) return false;
  if (r.alignment != Alignment::Left && !takeBack(m, tags::alignmentTag(d, r.alignment).close)) return false;
  if (d == Dialect::Forum) {
    r.emoticonMarkup = takeEmoticons(m);
    r.emoticons = emoticonAddresses(r.emoticonMarkup);
  }
  if (r.bold && !takeBack(m, tags::boldTag(d).close)) return false;
  if (r.italic && !takeBack(m, tags::italicTag(d).close)) return false;
  if (r.underline && !takeBack(m, tags::underlineTag(d).close)) return false;

  if (readPieces<Tags>(m, r)) return true;
  r.runs.clear();
  r.faces.clear();
  return readSingle<Tags>(m, r);
}

}  // namespace

bool readMarkup(std::u16string_view markup, Dialect dialect, StyledReply& reply) {
  // Keeps the run storage of an earlier reading.
  std::vector<StyledRun> runs = std::move(reply.runs);
  runs.clear();
  reply = StyledReply{};
  reply.runs = std::move(runs);
  reply.dialect = dialect;
  return dialect == Dialect::Forum ? readIn<ForumTags>(markup, reply) : readIn<QzoneTags>(markup, reply);
}

}  // namespace vexlo::formatter
