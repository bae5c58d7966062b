#include "formatter/markup.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "text/characters.h"

namespace vexlo::formatter {

namespace {

constexpr char16_t kCR = 13;

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

  // One character: one code unit, or the two of a surrogate pair.
  void character(std::u16string_view ch) {
    if (ch.size() == 1) {
      *p_++ = ch[0];
    } else if (ch.size() == 2) {
      p_[0] = ch[0];
      p_[1] = ch[1];
      p_ += 2;
    }
  }

  void sample(int red, int green, int blue) {
    writeColourSample(p_, red, green, blue);
    p_ += GradientTable::kSampleLength;
  }

  void sample(std::u16string_view rrggbb) {
    std::memcpy(p_, rrggbb.data(), GradientTable::kSampleLength * sizeof(char16_t));
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

// Walks the source one character at a time; past the end it yields empty
// characters.
class Characters {
 public:
  explicit Characters(std::u16string_view text) : text_(text) {}

  bool done() const { return at_ >= text_.size(); }
  std::size_t remainingUnits() const { return text_.size() - at_; }

  std::u16string_view next() {
    if (done()) return {};
    const char16_t unit = text_[at_];
    std::size_t width = 1;
    if (unit >= 0xD800 && unit <= 0xDBFF) width = text::characterWidthAt(text_, at_);
    std::u16string_view ch(text_.data() + at_, width);
    at_ += width;
    return ch;
  }

 private:
  std::u16string_view text_;
  std::size_t at_ = 0;
};

bool isCR(std::u16string_view ch) { return ch.size() == 1 && ch[0] == kCR; }

// Runs `body(draws, ch)` for every character of the source, or once with an
// empty character for an empty source, after taking `Draws` fractions for
// it (a CR included). The draws are fetched for many positions at a time,
// in the same order as one by one, but never for more positions than the
// text still certainly has: every character is at most two code units.
template <std::size_t Draws, class Body>
void forEachDrawnPosition(std::u16string_view source, RandomSource& random, Body&& body) {
  constexpr std::size_t kBatch = 64;
  double u[kBatch * Draws];
  Characters chars(source);
  if (chars.done()) {
    random.next(u, Draws);
    body(u, std::u16string_view{});
    return;
  }
  while (!chars.done()) {
    const std::size_t batch = std::min(kBatch, (chars.remainingUnits() + 1) / 2);
    random.next(u, batch * Draws);
    for (std::size_t k = 0; k < batch; ++k) body(u + k * Draws, chars.next());
  }
}

// floor(u × count), kept inside 0 … count − 1 even if a source strays
// outside [0, 1) or returns NaN.
int scaled(double u, int count) {
  if (count <= 0 || !(u > 0.0)) return 0;
  const double v = u * count;
  if (v >= count) return count - 1;
  return static_cast<int>(v);
}

struct StyleWrapper {
  std::u16string prefix;
  std::u16string suffix;
};

StyleWrapper makeWrapper(const MarkupOptions& o, std::u16string_view emoticons) {
  const bool forum = o.dialect == Dialect::Forum;
  std::u16string_view alignOpen, alignClose;
  if (o.alignment == Alignment::Right) {
    alignOpen = forum ? u"[align=right]" : u"[R]";
    alignClose = forum ? u"[/align]" : u"[/R]";
  } else if (o.alignment == Alignment::Centre) {
    alignOpen = forum ? u"[align=center]" : u"[M]";
    alignClose = forum ? u"[/align]" : u"[/M]";
  }
  const std::u16string_view quoteOpen = o.quote ? u".....\r[quote]" : u"";
  const std::u16string_view quoteClose = o.quote ? u"[/quote]" : u"";
  const std::u16string_view boldOpen = !o.bold ? u"" : forum ? u"[b]" : u"[B]";
  const std::u16string_view boldClose = !o.bold ? u"" : forum ? u"[/b]" : u"[/B]";
  const std::u16string_view italicOpen = !o.italic ? u"" : forum ? u"[i]" : u"[I]";
  const std::u16string_view italicClose = !o.italic ? u"" : forum ? u"[/i]" : u"[/I]";
  const std::u16string_view underlineOpen = !o.underline ? u"" : forum ? u"[u]" : u"[U]";
  const std::u16string_view underlineClose = !o.underline ? u"" : forum ? u"[/u]" : u"[/U]";
  const std::u16string_view queued = forum ? emoticons : std::u16string_view{};

  StyleWrapper w;
  for (auto piece : {quoteOpen, alignOpen, boldOpen, italicOpen, underlineOpen}) w.prefix += piece;
  for (auto piece : {underlineClose, italicClose, boldClose, queued, alignClose, quoteClose}) w.suffix += piece;
  return w;
}

std::u16string sizeText(int sizeIndex) { return text::decimal(static_cast<long long>(sizeIndex) + 1); }

// The orientation mark exists only in the forum dialect.
std::u16string_view markFor(const MarkupOptions& o) {
  return o.horizontal && o.dialect == Dialect::Forum ? u"@" : u"";
}

// The tags that differ between the dialects in the per-character modes.
struct ForumTags {
  static constexpr char16_t colourOpen[] = u"[color=#";
  static constexpr char16_t colourClose[] = u"[/color]";
  static constexpr char16_t fontOpen[] = u"[font=";
  static constexpr char16_t sizeOpen[] = u"][size=";
  static constexpr char16_t drawnColourOpen[] = u"][color=#";
  static constexpr char16_t drawnClose[] = u"[/color][/size][/font]";
  static constexpr bool hasMark = true;
};

struct QzoneTags {
  static constexpr char16_t colourOpen[] = u"[ftc=#";
  static constexpr char16_t colourClose[] = u"[/ft]";
  static constexpr char16_t fontOpen[] = u"[ftf=";
  static constexpr char16_t sizeOpen[] = u"][fts=";
  static constexpr char16_t drawnColourOpen[] = u"][ftc=#";
  static constexpr char16_t drawnClose[] = u"[/ft][/ft][/ft]";
  static constexpr bool hasMark = false;
};

// A colour piece without its character: opener, RRGGBB, "]", closer.
template <class Tags>
constexpr std::size_t kColourPieceLength =
    lengthOf(Tags::colourOpen) + GradientTable::kSampleLength + 1 + lengthOf(Tags::colourClose);

template <class Tags>
void writeColourPiece(Writer& w, std::u16string_view rrggbb, std::u16string_view ch) {
  static_assert(kColourPieceLength<Tags> + 2 <= Writer::kPieceRoom);
  w.room(kColourPieceLength<Tags> + 2);
  w.literal(Tags::colourOpen);
  w.sample(rrggbb);
  w.literal(u"]");
  w.character(ch);
  w.literal(Tags::colourClose);
}

template <class Tags>
void writeColourPiece(Writer& w, int red, int green, int blue, std::u16string_view ch) {
  w.room(kColourPieceLength<Tags> + 2);
  w.literal(Tags::colourOpen);
  w.sample(red, green, blue);
  w.literal(u"]");
  w.character(ch);
  w.literal(Tags::colourClose);
}

// Font and size tags around the colour pieces of the gradient and rainbow
// modes.
struct BodyFrame {
  std::u16string head;
  std::u16string_view tail;
};

BodyFrame bodyFrame(const MarkupOptions& o) {
  const std::u16string font = markupFontName(o.font);
  const std::u16string size = sizeText(o.sizeIndex);
  BodyFrame f;
  if (o.dialect == Dialect::Forum) {
    f.head = u"[font=" + std::u16string(markFor(o)) + font + u"][size=" + size + u"]";
    f.tail = u"[/size][/font]";
  } else {
    f.head = u"[ftf=" + font + u"][fts=" + size + u"]";
    f.tail = u"[/ft][/ft]";
  }
  return f;
}

void convertSingle(const MarkupOptions& o, std::u16string_view source, const StyleWrapper& wrap,
                   std::u16string& out) {
  const std::u16string font = markupFontName(o.font);
  const std::u16string size = sizeText(o.sizeIndex);
  const std::u16string rrggbb = colourSample(o.singleColour);
  out.clear();
  out.reserve(wrap.prefix.size() + wrap.suffix.size() + font.size() + size.size() + source.size() + 64);
  out += wrap.prefix;
  if (o.dialect == Dialect::Forum) {
    out += u"[font=";
    out += markFor(o);
    out += font;
    out += u"][size=";
    out += size;
    out += u"][color=#";
    out += rrggbb;
    out += u"]";
    out += source;
    out += u"[/color][/size][/font]";
  } else {
    out += u"[ftf=";
    out += font;
    out += u"][fts=";
    out += size;
    out += u"]";
    out += o.glow ? u"[ffg,#" : u"[ftc=#";
    out += rrggbb;
    out += o.glow ? u",#FFFFFF]" : u"]";
    out += source;
    out += u"[/ft][/ft][/ft]";
  }
  out += wrap.suffix;
}

template <class Tags>
void writeGradientBody(Writer& w, std::u16string_view source, std::size_t n, const GradientTable& table) {
  // Spread the samples T(0) … T(256) over the characters: one sample every
  // `step`, at least as many samples as characters; a CR takes its sample
  // and writes nothing, samples past the text write empty pieces.
  const std::size_t m = std::max<std::size_t>(n, 2);
  const int step = GradientTable::kLastSample / static_cast<int>(m - 1);
  Characters chars(source);
  for (int j = 0; j <= GradientTable::kLastSample; j += step) {
    const std::u16string_view ch = chars.next();
    if (isCR(ch)) continue;
    writeColourPiece<Tags>(w, table.sampleView(j), ch);
  }
}

template <class Tags>
void writeRainbowBody(Writer& w, std::u16string_view source, RandomSource& random) {
  forEachDrawnPosition<3>(source, random, [&w](const double* u, std::u16string_view ch) {
    if (isCR(ch)) return;
    writeColourPiece<Tags>(w, scaled(u[0], 256), scaled(u[1], 256), scaled(u[2], 256), ch);
  });
}

template <class Tags>
void convertPerCharacter(const MarkupOptions& o, std::u16string_view source, std::size_t n,
                         const GradientTable& table, RandomSource& random, const StyleWrapper& wrap,
                         std::u16string& out) {
  const BodyFrame frame = bodyFrame(o);
  // Gradient: 257 pieces at most; rainbow: one piece per character.
  const std::size_t pieces = o.mode == ColourMode::Gradient ? GradientTable::kSampleCount
                                                            : std::max<std::size_t>(source.size(), 1);
  Writer w(out, wrap.prefix.size() + frame.head.size() + frame.tail.size() + wrap.suffix.size() +
                    pieces * kColourPieceLength<Tags> + source.size());
  w.text(wrap.prefix);
  w.text(frame.head);
  if (o.mode == ColourMode::Gradient) {
    writeGradientBody<Tags>(w, source, n, table);
  } else {
    writeRainbowBody<Tags>(w, source, random);
  }
  w.text(frame.tail);
  w.text(wrap.suffix);
  w.finish();
}

constexpr std::size_t kHeadStride = 32;

// A random-mode piece after its font head: size digit, colour opener,
// RRGGBB, "]", closers (the character not counted).
template <class Tags>
constexpr std::size_t kDrawnTailLength =
    1 + lengthOf(Tags::drawnColourOpen) + GradientTable::kSampleLength + 1 + lengthOf(Tags::drawnClose);

template <class Tags>
void convertRandom(const MarkupOptions& o, std::u16string_view source, RandomSource& random,
                   const StyleWrapper& wrap, std::u16string& out) {
  // Every font and mark gives a fixed head "[font=" + mark + name + "][size="
  // (or its Qzone form); build them once instead of per character. With an
  // empty font list the drawn name is empty.
  const std::size_t fontCount = std::max<std::size_t>(o.fontNames.size(), 1);
  std::vector<std::u16string> heads;  // index: mark × fontCount + font
  heads.reserve(2 * fontCount);
  std::size_t longestHead = 0;
  for (int marked = 0; marked < 2; ++marked) {
    for (std::size_t f = 0; f < fontCount; ++f) {
      std::u16string head(Tags::fontOpen);
      if (marked && Tags::hasMark) head += u'@';
      if (f < o.fontNames.size()) head += markupFontName(o.fontNames[f]);
      head += Tags::sizeOpen;
      longestHead = std::max(longestHead, head.size());
      heads.push_back(std::move(head));
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
  // The draws pick every head equally often, so the average head gives the
  // expected size; a little slack covers the spread of short texts.
  std::size_t headTotal = 0;
  for (const auto& head : heads) headTotal += head.size();
  const std::size_t pieceLength = (headTotal + heads.size() - 1) / heads.size() + kDrawnTailLength<Tags>;
  const std::size_t positions = std::max<std::size_t>(source.size(), 1);
  Writer w(out, wrap.prefix.size() + wrap.suffix.size() + positions * pieceLength * 17 / 16 + source.size() + 64);
  w.text(wrap.prefix);
  const int fonts = static_cast<int>(o.fontNames.size());
  forEachDrawnPosition<6>(source, random, [&](const double* u, std::u16string_view ch) {
    // Draws: red, green, blue, mark, size, font.
    if (isCR(ch)) return;
    const int marked = scaled(u[3], 2);
    const int font = scaled(u[5], fonts);
    const std::size_t h = static_cast<std::size_t>(marked) * fontCount + static_cast<std::size_t>(font);
    if (strided) {
      w.room(kHeadStride + kTail);
      w.strided<kHeadStride>(stridedHeads.data() + h * kHeadStride, heads[h].size());
    } else {
      w.text(heads[h]);
      w.room(kTail);
    }
    w.digit(scaled(u[4], 7) + 1);
    w.literal(Tags::drawnColourOpen);
    w.sample(scaled(u[0], 256), scaled(u[1], 256), scaled(u[2], 256));
    w.literal(u"]");
    w.character(ch);
    w.literal(Tags::drawnClose);
  });
  w.text(wrap.suffix);
  w.finish();
}

template <class Tags>
void convertIn(const MarkupOptions& o, std::u16string_view source, const GradientTable& table,
               RandomSource& random, const StyleWrapper& wrap, ConversionResult& result) {
  result.overGradientLimit = false;
  switch (o.mode) {
    case ColourMode::Single:
      convertSingle(o, source, wrap, result.markup);
      break;
    case ColourMode::Gradient: {
      const std::size_t n = text::characterCount(source);
      if (n > kGradientCharacterLimit) {
        result.overGradientLimit = true;
        result.markup.clear();
        break;
      }
      convertPerCharacter<Tags>(o, source, n, table, random, wrap, result.markup);
      break;
    }
    case ColourMode::Rainbow:
      convertPerCharacter<Tags>(o, source, 0, table, random, wrap, result.markup);
      break;
    case ColourMode::Random:
      convertRandom<Tags>(o, source, random, wrap, result.markup);
      break;
  }
}

}  // namespace

std::u16string markupFontName(std::u16string_view name) {
  if (name == u"仿宋") return u"仿宋_GB2312";
  if (name == u"楷体") return u"楷体_GB2312";
  return std::u16string(name);
}

void convertMarkupInto(ConversionResult& result, const MarkupOptions& options, std::u16string_view source,
                       const GradientTable& gradient, std::u16string_view pendingEmoticons, RandomSource& random) {
  // Converting the previous result again: the result's storage is rewritten
  // while the source is read, so work from a copy.
  const std::less<const char16_t*> before;
  const char16_t* storage = result.markup.data();
  if (!source.empty() && !before(source.data(), storage) && before(source.data(), storage + result.markup.size())) {
    const std::u16string copy(source);
    convertMarkupInto(result, options, copy, gradient, pendingEmoticons, random);
    return;
  }
  const StyleWrapper wrap = makeWrapper(options, pendingEmoticons);
  if (options.dialect == Dialect::Forum) {
    convertIn<ForumTags>(options, source, gradient, random, wrap, result);
  } else {
    convertIn<QzoneTags>(options, source, gradient, random, wrap, result);
  }
}

ConversionResult convertMarkup(const MarkupOptions& options, std::u16string_view source,
                               const GradientTable& gradient, std::u16string_view pendingEmoticons,
                               RandomSource& random) {
  ConversionResult result;
  convertMarkupInto(result, options, source, gradient, pendingEmoticons, random);
  return result;
}

}  // namespace vexlo::formatter
