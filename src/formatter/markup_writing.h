// The markup writer's machinery, for the runs of a reply or for runs as they
// are made: the conversion writes each run the moment the builder makes it,
// without storing 48 bytes and a string per character first.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/markup_tags.h"
#include "formatter/styled_text.h"
#include "text/characters.h"

namespace vexlo::formatter::writing {

using tags::ForumTags;
using tags::QzoneTags;

template <std::size_t N>
constexpr std::size_t lengthOf(const char16_t (&)[N]) {
  return N - 1;
}

// The per-run writers below are inlined into the loop that makes the runs:
// a call per character costs as much as the writing.
#if defined(__GNUC__)
#define VEXLO_INLINE_RUN __attribute__((always_inline))
#else
#define VEXLO_INLINE_RUN
#endif

// The per-character modes write tens of code units per source character.
// Pieces are assembled in a small buffer that stays in the cache, with
// constant-length copies for the tags, and move to the result a block at a
// time. The result's capacity is reserved once up front; reserving does not
// touch the memory, so only what is written costs anything.
class Writer {
 public:
  // The fixed part of any piece (everything but a font head) fits in this.
  static constexpr std::size_t kPieceRoom = 128;

  // Unchecked writes into room that the writer has made, through a write
  // position of its own: kept in a local, it stays in a register, while
  // the writer's own would be reloaded after every copy (a copy into the
  // buffer could, as far as the compiler knows, overwrite it).
  class Cursor {
   public:
    template <std::size_t N>
    void literal(const char16_t (&s)[N]) {
      std::memcpy(p_, s, (N - 1) * sizeof(char16_t));
      p_ += N - 1;
    }

    // Copies `Stride` code units from padded storage but keeps only the
    // first `length`: one constant-length copy instead of a variable one.
    template <std::size_t Stride>
    void strided(const char16_t* s, std::size_t length) {
      std::memcpy(p_, s, Stride * sizeof(char16_t));
      p_ += length;
    }

    // One character: none, one code unit or the two of a surrogate pair.
    void character(std::u16string_view s) {
      if (s.size() == 1) {
        *p_++ = s[0];
      } else if (s.size() == 2) {
        p_[0] = s[0];
        p_[1] = s[1];
        p_ += 2;
      }
    }

    void sample(Colour colour) {
      writeColourSample(p_, redOf(colour), greenOf(colour), blueOf(colour));
      p_ += GradientTable::kSampleLength;
    }

    void digit(int value) { *p_++ = static_cast<char16_t>(u'0' + value); }

   private:
    friend class Writer;
    explicit Cursor(char16_t* p) : p_(p) {}
    char16_t* p_;
  };

  // `expected` is only a capacity hint: the result grows past it if need be.
  Writer(std::u16string& out, std::size_t expected) : out_(out) {
    out_.clear();
    out_.reserve(expected);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  // Room for `n` ≤ kPieceRoom code units, to be written through the cursor
  // and handed back with `moveTo` before the writer is used again.
  Cursor room(std::size_t n) {
    if (static_cast<std::size_t>(buffer_ + kBlock - p_) < n) flush();
    return Cursor(p_);
  }
  void moveTo(const Cursor& c) { p_ = c.p_; }

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

// A run's text and what closes its piece: a character straight through the
// cursor (whose room the caller made for it and `close`), anything longer
// (single colour's whole text) through the writer.
template <std::size_t N>
void writeRunText(Writer& w, Writer::Cursor& c, std::u16string_view text, const char16_t (&close)[N]) {
  if (text.size() > 2) {
    w.moveTo(c);
    w.text(text);
    c = w.room(N - 1);
  } else {
    c.character(text);
  }
  c.literal(close);
  w.moveTo(c);
}

struct StyleWrapper {
  std::u16string prefix;
  std::u16string suffix;
};

StyleWrapper makeWrapper(const StyledReply& r);

// "[font=" + mark + face + "][size=" (or its Qzone form), without the size.
template <class Tags>
std::u16string fontHead(std::u16string_view face, bool horizontal) {
  std::u16string head(Tags::fontOpen);
  if (horizontal && Tags::hasMark) head += u'@';
  head += face;
  head += Tags::sizeOpen;
  return head;
}

// Upper bounds of what the runs hold, for reserving the result once; the
// result grows past them if need be.
struct RunBounds {
  std::size_t runs = 0;
  std::size_t textUnits = 0;
  std::size_t faceUnits = 0;  // the longest face
};

// A colour piece without its text: opener, RRGGBB, "]", closer.
template <class Tags>
constexpr std::size_t kColourPieceLength = lengthOf(Tags::colourOpen) + GradientTable::kSampleLength + 1 +
                                           lengthOf(Tags::colourClose);

template <class Tags>
constexpr std::size_t kGlowPieceLength = lengthOf(tags::kGlowOpen) + GradientTable::kSampleLength +
                                         lengthOf(tags::kGlowColourEnd) + lengthOf(Tags::colourClose);

// Single colour, gradient and rainbow: one frame of font and size around a
// colour piece for every run (the glow's own opener in its place when the
// reply glows).
template <class Tags, class ForEachRun>
void writeFramed(const StyledReply& r, const StyleWrapper& wrap, RunBounds bounds, ForEachRun&& forEachRun,
                 std::u16string& out) {
  StyledRun frame;
  frame.face = r.frame.face;
  std::u16string head = fontHead<Tags>(r.faceOf(frame), r.frame.horizontal);
  head += text::decimal(r.frame.size);
  head += u']';
  const bool glow = r.glow && r.dialect == Dialect::Qzone;
  // Not a unit more than the pieces need: a few percent over sends a long
  // text's result past the allocator's threshold for fresh pages, which then
  // cost a page fault apiece on every conversion.
  const std::size_t pieceLength = glow ? kGlowPieceLength<Tags> : kColourPieceLength<Tags>;
  Writer w(out, wrap.prefix.size() + head.size() + lengthOf(Tags::frameClose) + wrap.suffix.size() +
                    bounds.runs * pieceLength + bounds.textUnits);
  w.text(wrap.prefix);
  w.text(head);
  // Either opener, its sample, a character and the closer.
  static_assert(kGlowPieceLength<Tags> + 2 <= Writer::kPieceRoom);
  forEachRun([&](std::u16string_view text, Colour colour, int, bool, int) VEXLO_INLINE_RUN {
    Writer::Cursor c = w.room(kGlowPieceLength<Tags> + 2);
    if (glow) {
      c.literal(tags::kGlowOpen);
      c.sample(colour);
      c.literal(tags::kGlowColourEnd);
    } else {
      c.literal(Tags::colourOpen);
      c.sample(colour);
      c.literal(u"]");
    }
    writeRunText(w, c, text, Tags::colourClose);
  });
  w.text(Tags::frameClose);
  w.text(wrap.suffix);
  w.finish();
}

// A random-mode piece after its font head: size digit, colour opener,
// RRGGBB, "]", closers (the text not counted).
template <class Tags>
constexpr std::size_t kDrawnTailLength = 1 + lengthOf(Tags::drawnColourOpen) + GradientTable::kSampleLength + 1 +
                                         lengthOf(Tags::drawnClose);

// The font head of every face and mark, made the first time a run needs it
// (runs being made add faces as they go). Short heads (all the usual font
// names) are kept at a fixed stride, so that each is written by one
// constant-length copy.
template <class Tags>
class DrawnHeads {
 public:
  static constexpr std::size_t kStride = 32;

  explicit DrawnHeads(const StyledReply& r) : reply_(r) { add(u""); }

  // The head for a face index and mark; an index not in the table has no
  // face.
  std::size_t index(int face, bool horizontal) {
    if (face < 0 || static_cast<std::size_t>(face) >= reply_.faces.size()) return horizontal ? 1 : 0;
    while (made_ <= static_cast<std::size_t>(face)) add(reply_.faces[made_++]);
    return 2 + 2 * static_cast<std::size_t>(face) + (horizontal ? 1 : 0);
  }

  // Writes head `h` and gives a cursor after it with room for `Tail` more.
  template <std::size_t Tail>
  Writer::Cursor write(Writer& w, std::size_t h) const {
    static_assert(kStride + Tail <= Writer::kPieceRoom);
    if (heads_[h].size() > kStride) {
      w.text(heads_[h]);
      return w.room(Tail);
    }
    Writer::Cursor c = w.room(kStride + Tail);
    c.strided<kStride>(strided_.data() + h * kStride, heads_[h].size());
    return c;
  }

 private:
  void add(std::u16string_view face) {
    for (bool marked : {false, true}) {
      heads_.push_back(fontHead<Tags>(face, marked));
      strided_.resize(heads_.size() * kStride, u'\0');
      const std::u16string& head = heads_.back();
      if (head.size() <= kStride) std::copy(head.begin(), head.end(), strided_.end() - kStride);
    }
  }

  const StyledReply& reply_;
  std::size_t made_ = 0;               // faces of the table whose heads are made
  std::vector<std::u16string> heads_;  // index: 2 × (face + 1) + mark; first the two without a face
  std::vector<char16_t> strided_;
};

// Random: every run in its own font, size and colour.
template <class Tags, class ForEachRun>
void writeDrawn(const StyledReply& r, const StyleWrapper& wrap, RunBounds bounds, ForEachRun&& forEachRun,
                std::u16string& out) {
  DrawnHeads<Tags> heads(r);
  constexpr std::size_t kTail = kDrawnTailLength<Tags> + 2;
  const std::size_t pieceLength =
      lengthOf(Tags::fontOpen) + 1 + bounds.faceUnits + lengthOf(Tags::sizeOpen) + kDrawnTailLength<Tags>;
  Writer w(out, wrap.prefix.size() + wrap.suffix.size() + bounds.runs * pieceLength + bounds.textUnits + 64);
  w.text(wrap.prefix);
  forEachRun([&](std::u16string_view text, Colour colour, int face, bool horizontal, int size) VEXLO_INLINE_RUN {
    Writer::Cursor c = heads.template write<kTail>(w, heads.index(face, horizontal));
    if (size >= 0 && size <= 9) {
      c.digit(size);
    } else {
      w.moveTo(c);
      w.text(text::decimal(size));
      c = w.room(kTail);
    }
    c.literal(Tags::drawnColourOpen);
    c.sample(colour);
    c.literal(u"]");
    writeRunText(w, c, text, Tags::drawnClose);
  });
  w.text(wrap.suffix);
  w.finish();
}

// The markup of the reply's dialect for the runs that
// `forEachRun(piece)` hands to `piece(text, colour, face, horizontal,
// size)`, the reply giving everything else.
template <class ForEachRun>
void writeRuns(const StyledReply& r, RunBounds bounds, ForEachRun&& forEachRun, std::u16string& out) {
  const StyleWrapper wrap = makeWrapper(r);
  const bool forum = r.dialect == Dialect::Forum;
  if (r.mode == ColourMode::Random) {
    forum ? writeDrawn<ForumTags>(r, wrap, bounds, forEachRun, out)
          : writeDrawn<QzoneTags>(r, wrap, bounds, forEachRun, out);
  } else {
    forum ? writeFramed<ForumTags>(r, wrap, bounds, forEachRun, out)
          : writeFramed<QzoneTags>(r, wrap, bounds, forEachRun, out);
  }
}

}  // namespace vexlo::formatter::writing
