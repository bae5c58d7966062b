// The runs of a conversion: the options and the text, with the colours the
// mode gives each character.
#include <algorithm>

#include "formatter/styled_text.h"
#include "text/characters.h"

namespace vexlo::formatter {

namespace {

constexpr char16_t kCR = 13;

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

Colour drawnColour(const double* u) { return makeColour(scaled(u[0], 256), scaled(u[1], 256), scaled(u[2], 256)); }

void addRun(StyledReply& reply, std::u16string_view text, Colour colour, int face, bool horizontal, int size) {
  StyledRun& run = reply.runs.emplace_back();
  run.text.assign(text.data(), text.size());
  run.colour = colour;
  run.face = face;
  run.horizontal = horizontal;
  run.size = size;
}

int faceIndex(StyledReply& reply, std::u16string face) {
  const auto found = std::find(reply.faces.begin(), reply.faces.end(), face);
  if (found != reply.faces.end()) return static_cast<int>(found - reply.faces.begin());
  reply.faces.push_back(std::move(face));
  return static_cast<int>(reply.faces.size() - 1);
}

// Gradient: spread the samples T(0) … T(256) over the characters, one
// sample every `step`, at least as many samples as characters; a CR takes
// its sample and makes no run, samples past the text make empty runs.
void buildGradient(StyledReply& reply, std::u16string_view source, std::size_t n, const GradientTable& table,
                   bool horizontal, int size) {
  const std::size_t m = std::max<std::size_t>(n, 2);
  const int step = GradientTable::kLastSample / static_cast<int>(m - 1);
  reply.runs.reserve(GradientTable::kSampleCount);
  Characters chars(source);
  for (int j = 0; j <= GradientTable::kLastSample; j += step) {
    const std::u16string_view ch = chars.next();
    if (isCR(ch)) continue;
    addRun(reply, ch, table.sampleColour(j), 0, horizontal, size);
  }
}

// Random: every character draws red, green, blue, the mark, the size and a
// font of the list; the panel's own font, size and mark play no part.
void buildRandom(StyledReply& reply, const MarkupOptions& o, std::u16string_view source, RandomSource& random) {
  const int fonts = static_cast<int>(o.fontNames.size());
  // The table index of each font of the list, once a run has used it, so
  // that the faces are in order of first use whatever the list holds.
  std::vector<int> faceOfFont(std::max(fonts, 1), -1);
  const bool forum = o.dialect == Dialect::Forum;
  reply.runs.reserve(std::max<std::size_t>(source.size(), 1));
  forEachDrawnPosition<6>(source, random, [&](const double* u, std::u16string_view ch) {
    if (isCR(ch)) return;
    const int font = scaled(u[5], fonts);
    int& face = faceOfFont[static_cast<std::size_t>(font)];
    if (face < 0) face = faceIndex(reply, font < fonts ? markupFontName(o.fontNames[font]) : std::u16string());
    addRun(reply, ch, drawnColour(u), face, forum && scaled(u[3], 2) == 1, scaled(u[4], 7) + 1);
  });
}

}  // namespace

void buildStyledReply(StyledReply& reply, const MarkupOptions& options, std::u16string_view source,
                      const GradientTable& gradient, std::u16string_view pendingEmoticons, RandomSource& random) {
  const bool forum = options.dialect == Dialect::Forum;
  reply.dialect = options.dialect;
  reply.mode = options.mode;
  reply.alignment = options.alignment;
  reply.bold = options.bold;
  reply.italic = options.italic;
  reply.underline = options.underline;
  reply.quote = options.quote;
  reply.glow = options.glow && !forum && options.mode == ColourMode::Single;
  reply.overGradientLimit = false;
  reply.faces.clear();
  reply.runs.clear();
  reply.emoticonMarkup = forum ? pendingEmoticons : std::u16string_view{};
  reply.emoticons = emoticonAddresses(reply.emoticonMarkup);

  // The orientation mark exists only in the forum dialect.
  const bool horizontal = options.horizontal && forum;
  // Wraps around rather than overflow for a size index no list has.
  const int size = static_cast<int>(static_cast<unsigned>(options.sizeIndex) + 1u);
  reply.frame = {};
  if (options.mode != ColourMode::Random) reply.frame = {0, horizontal, size};
  switch (options.mode) {
    case ColourMode::Single:
      reply.faces.push_back(markupFontName(options.font));
      addRun(reply, source, options.singleColour, 0, horizontal, size);
      break;
    case ColourMode::Gradient: {
      const std::size_t n = text::characterCount(source);
      if (n > kGradientCharacterLimit) {
        reply.overGradientLimit = true;
        break;
      }
      reply.faces.push_back(markupFontName(options.font));
      buildGradient(reply, source, n, gradient, horizontal, size);
      break;
    }
    case ColourMode::Rainbow:
      reply.faces.push_back(markupFontName(options.font));
      reply.runs.reserve(std::max<std::size_t>(source.size(), 1));
      forEachDrawnPosition<3>(source, random, [&](const double* u, std::u16string_view ch) {
        if (!isCR(ch)) addRun(reply, ch, drawnColour(u), 0, horizontal, size);
      });
      break;
    case ColourMode::Random:
      buildRandom(reply, options, source, random);
      break;
  }
}

}  // namespace vexlo::formatter
