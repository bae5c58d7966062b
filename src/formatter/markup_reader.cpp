// Markup of either dialect back into runs. The reader accepts only what the
// writer writes (upper-case colours, sizes as the writer spells them), so
// that writing what it read gives the same markup.
#include <algorithm>

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

bool takeBack(std::u16string_view& s, std::u16string_view literal) {
  if (literal.empty() || !s.ends_with(literal)) return false;
  s.remove_suffix(literal.size());
  return true;
}

int hexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// RRGGBB in upper case.
bool takeColour(std::u16string_view& s, Colour& colour) {
  if (s.size() < 6) return false;
  int channels[3];
  for (int k = 0; k < 3; ++k) {
    const int high = hexValue(s[2 * k]), low = hexValue(s[2 * k + 1]);
    if (high < 0 || low < 0) return false;
    channels[k] = high * 16 + low;
  }
  colour = makeColour(channels[0], channels[1], channels[2]);
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
    while (body.starts_with(Tags::colourOpen)) {
      StyledRun& run = reply.runs.emplace_back(style);
      if (!take(body, Tags::colourOpen) || !takeColour(body, run.colour) || !take(body, u"]")) return false;
      const std::size_t end = body.find(Tags::colourClose);
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
