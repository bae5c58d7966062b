// The runs as forum or Qzone markup.
#include <algorithm>
#include <cstring>

#include "formatter/markup_tags.h"
#include "formatter/styled_text.h"
#include "text/characters.h"

namespace vexlo::formatter {

namespace {

using tags::ForumTags;
using tags::QzoneTags;

template <std::size_t N>
constexpr std::size_t lengthOf(const char16_t (&)[N]) {
  return N - 1;
}

// The per-character modes write tens of code units per source character.
// Pieces are assembled in a small buffer that stays in the cache, with
// constant-length copies for the tags, and move to the result a block at a
// time. The result's capacity is reserved once up front; reserving does not
// touch the memory, so only what is written costs anything.
class Writer {
 public:
  // The fixed part of any piece (everything but a font head) fits in this.
  static constexpr std::size_t kPieceRoom = 128;

  // `expected` is only a capacity hint: the result grows past it if need be.
  Writer(std::u16string& out, std::size_t expected) : out_(out) {
    out_.clear();
    out_.reserve(expected);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  // Makes room for `n` ≤ kPieceRoom unchecked code units.
  void room(std::size_t n) {
    if (static_cast<std::size_t>(buffer_ + kBlock - p_) < n) flush();
  }

  template <std::size_t N>
  void literal(const char16_t (&s)[N]) {
    std::memcpy(p_, s, (N - 1) * sizeof(char16_t));
    p_ += N - 1;
  }

  // Copies `Stride` code units from padded storage but keeps only the first
  // `length`: one constant-length copy instead of a variable one.
  template <std::size_t Stride>
  void strided(const char16_t* s, std::size_t length) {
    std::memcpy(p_, s, Stride * sizeof(char16_t));
    p_ += length;
  }

  // Text of any length; checks its own room.
  void text(std::u16string_view s) {
    if (s.size() > kBlock / 4) {
      flush();
      out_.append(s);
      return;
    }
    room(s.size());
    if (!s.empty()) std::memcpy(p_, s.data(), s.size() * sizeof(char16_t));
    p_ += s.size();
  }

  // A run's text: one character (one code unit or the two of a surrogate
  // pair) without a call, anything longer through text().
  void runText(const std::u16string& s) {
    if (s.size() == 1) {
      *p_++ = s[0];
    } else if (s.size() == 2) {
      p_[0] = s[0];
      p_[1] = s[1];
      p_ += 2;
    } else if (!s.empty()) {
      text(s);
    }
  }

  void sample(Colour colour) {
    writeColourSample(p_, redOf(colour), greenOf(colour), blueOf(colour));
    p_ += GradientTable::kSampleLength;
  }

  void digit(int value) { *p_++ = static_cast<char16_t>(u'0' + value); }

  void finish() { flush(); }

 private:
  static constexpr std::size_t kBlock = 8192;

  void flush() {
    out_.append(buffer_, static_cast<std::size_t>(p_ - buffer_));
    p_ = buffer_;
  }

  std::u16string& out_;
  char16_t buffer_[kBlock];
  char16_t* p_ = buffer_;
};

struct StyleWrapper {
  std::u16string prefix;
  std::u16string suffix;
};

StyleWrapper makeWrapper(const StyledReply& r) {
  const tags::StyleTag none{};
  const tags::StyleTag quote = r.quote ? tags::StyleTag{tags::kQuoteOpen, tags::kQuoteClose} : none;
  const tags::StyleTag align = tags::alignmentTag(r.dialect, r.alignment);
  const tags::StyleTag bold = r.bold ? tags::boldTag(r.dialect) : none;
  const tags::StyleTag italic = r.italic ? tags::italicTag(r.dialect) : none;
  const tags::StyleTag underline = r.underline ? tags::underlineTag(r.dialect) : none;
  const std::u16string_view queued = r.dialect == Dialect::Forum ? std::u16string_view(r.emoticonMarkup) : u"";

  StyleWrapper w;
  for (auto piece : {quote.open, align.open, bold.open, italic.open, underline.open}) w.prefix += piece;
  for (auto piece : {underline.close, italic.close, bold.close, queued, align.close, quote.close}) w.suffix += piece;
  return w;
}

std::u16string sizeText(int size) { return text::decimal(size); }

// "[font=" + mark + face + "][size=" (or its Qzone form), without the size.
template <class Tags>
std::u16string fontHead(std::u16string_view face, bool horizontal) {
  std::u16string head(Tags::fontOpen);
  if (horizontal && Tags::hasMark) head += u'@';
  head += face;
  head += Tags::sizeOpen;
  return head;
}

// A colour piece without its text: opener, RRGGBB, "]", closer.
template <class Tags>
constexpr std::size_t kColourPieceLength = lengthOf(Tags::colourOpen) + GradientTable::kSampleLength + 1 +
                                           lengthOf(Tags::colourClose);

// Single colour, gradient and rainbow: one frame of font and size around a colour piece for every run (the glow's own
// opener in its place when the reply glows).
template <class Tags>
void writeFramed(const StyledReply& r, const StyleWrapper& wrap, std::u16string& out) {
  StyledRun frame;
  frame.face = r.frame.face;
  const std::u16string head = fontHead<Tags>(r.faceOf(frame), r.frame.horizontal) + sizeText(r.frame.size) + u"]";
  std::size_t textUnits = 0;
  for (const StyledRun& run : r.runs) textUnits += run.text.size();
  Writer w(out, wrap.prefix.size() + head.size() + lengthOf(Tags::frameClose) + wrap.suffix.size() +
                    r.runs.size() * (kColourPieceLength<Tags> + lengthOf(tags::kGlowColourEnd)) + textUnits);
  w.text(wrap.prefix);
  w.text(head);
  const bool glow = r.glow && r.dialect == Dialect::Qzone;
  static_assert(kColourPieceLength<Tags> + lengthOf(tags::kGlowColourEnd) + 2 <= Writer::kPieceRoom);
  for (const StyledRun& run : r.runs) {
    w.room(kColourPieceLength<Tags> + lengthOf(tags::kGlowColourEnd) + 2);
    if (glow) {
      w.literal(tags::kGlowOpen);
      w.sample(run.colour);
      w.literal(tags::kGlowColourEnd);
    } else {
      w.literal(Tags::colourOpen);
      w.sample(run.colour);
      w.literal(u"]");
    }
    w.runText(run.text);
    w.room(lengthOf(Tags::colourClose));
    w.literal(Tags::colourClose);
  }
  w.text(Tags::frameClose);
  w.text(wrap.suffix);
  w.finish();
}

constexpr std::size_t kHeadStride = 32;

// A random-mode piece after its font head: size digit, colour opener,
// RRGGBB, "]", closers (the text not counted).
template <class Tags>
constexpr std::size_t kDrawnTailLength = 1 + lengthOf(Tags::drawnColourOpen) + GradientTable::kSampleLength + 1 +
                                         lengthOf(Tags::drawnClose);

// Random: every run in its own font, size and colour.
template <class Tags>
void writeDrawn(const StyledReply& r, const StyleWrapper& wrap, std::u16string& out) {
  // Every face and mark gives a fixed head; build them once instead of per
  // run. Index: mark × faces + face; the last face slot is "no face".
  const std::size_t faceCount = r.faces.size() + 1;
  std::vector<std::u16string> heads;
  heads.reserve(2 * faceCount);
  std::size_t longestHead = 0;
  std::size_t headTotal = 0;
  for (int marked = 0; marked < 2; ++marked) {
    for (std::size_t f = 0; f < faceCount; ++f) {
      heads.push_back(fontHead<Tags>(f < r.faces.size() ? std::u16string_view(r.faces[f]) : u"", marked));
      longestHead = std::max(longestHead, heads.back().size());
      headTotal += heads.back().size();
    }
  }
  // Short heads (all the usual font names) are also kept at a fixed stride,
  // so that each is written by one constant-length copy.
  const bool strided = longestHead <= kHeadStride;
  std::vector<char16_t> stridedHeads(strided ? heads.size() * kHeadStride : 0, u'\0');
  if (strided) {
    for (std::size_t h = 0; h < heads.size(); ++h)
      std::copy(heads[h].begin(), heads[h].end(), stridedHeads.begin() + static_cast<std::ptrdiff_t>(h * kHeadStride));
  }

  constexpr std::size_t kTail = kDrawnTailLength<Tags> + 2;
  static_assert(kHeadStride + kTail <= Writer::kPieceRoom);
  // Runs pick every head about equally often, so the average head gives the
  // expected size; a little slack covers the spread of short texts.
  const std::size_t pieceLength = (headTotal + heads.size() - 1) / heads.size() + kDrawnTailLength<Tags>;
  Writer w(out, wrap.prefix.size() + wrap.suffix.size() + r.runs.size() * (pieceLength * 17 / 16 + 2) + 64);
  w.text(wrap.prefix);
  for (const StyledRun& run : r.runs) {
    const bool known = run.face >= 0 && static_cast<std::size_t>(run.face) < r.faces.size();
    const std::size_t face = known ? static_cast<std::size_t>(run.face) : faceCount - 1;
    const std::size_t h = (run.horizontal ? faceCount : 0) + face;
    if (strided) {
      w.room(kHeadStride + kTail);
      w.strided<kHeadStride>(stridedHeads.data() + h * kHeadStride, heads[h].size());
    } else {
      w.text(heads[h]);
      w.room(kTail);
    }
    if (run.size >= 0 && run.size <= 9) {
      w.digit(run.size);
    } else {
      w.text(sizeText(run.size));
      w.room(kTail);
    }
    w.literal(Tags::drawnColourOpen);
    w.sample(run.colour);
    w.literal(u"]");
    w.runText(run.text);
    w.room(lengthOf(Tags::drawnClose));
    w.literal(Tags::drawnClose);
  }
  w.text(wrap.suffix);
  w.finish();
}

template <class Tags>
void writeIn(const StyledReply& r, std::u16string& out) {
  const StyleWrapper wrap = makeWrapper(r);
  if (r.mode == ColourMode::Random) {
    writeDrawn<Tags>(r, wrap, out);
  } else {
    writeFramed<Tags>(r, wrap, out);
  }
}

}  // namespace

void writeMarkup(const StyledReply& reply, std::u16string& out) {
  if (reply.overGradientLimit) {
    out.clear();
    return;
  }
  if (reply.dialect == Dialect::Forum) {
    writeIn<ForumTags>(reply, out);
  } else {
    writeIn<QzoneTags>(reply, out);
  }
}

}  // namespace vexlo::formatter
