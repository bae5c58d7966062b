// How the options and the text make runs, handed one at a time to a sink
// instead of stored: the conversion writes each run's markup as it is made,
// and buildStyledReply keeps them. One walk serves both, so the markup and
// the runs cannot drift apart.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/styled_text.h"
#include "text/characters.h"

namespace vexlo::formatter::runs {

// The reply-wide fields, the frame and (but in random mode) the face table;
// no runs. The text's length in characters where the mode needs it (the
// gradient; 0 otherwise) for forEachRun, or nothing when no runs follow:
// the gradient limit.
std::optional<std::size_t> beginReply(StyledReply& reply, const MarkupOptions& options, std::u16string_view source,
                                      std::u16string_view pendingEmoticons);

// The font list's names as markup writes them, with the longest one's
// length: random mode's faces come from it.
std::size_t longestFontName(const MarkupOptions& options);

namespace detail {

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

inline bool isCR(std::u16string_view ch) { return ch.size() == 1 && ch[0] == kCR; }

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
inline int scaled(double u, int count) {
  if (count <= 0 || !(u > 0.0)) return 0;
  const double v = u * count;
  if (v >= count) return count - 1;
  return static_cast<int>(v);
}

inline Colour drawnColour(const double* u) {
  return makeColour(scaled(u[0], 256), scaled(u[1], 256), scaled(u[2], 256));
}

// The face table index of `face`, added at the end when new.
int faceIndex(StyledReply& reply, std::u16string face);

}  // namespace detail

// Hands every run of a reply that beginReply started (and whose count of
// characters it gave) to `sink(text, colour, face, horizontal, size)`;
// random mode adds each face to the table before the first run that uses
// it.
template <class Sink>
void forEachRun(StyledReply& reply, const MarkupOptions& o, std::u16string_view source, std::size_t characters,
                const GradientTable& gradient, RandomSource& random, Sink&& sink) {
  using namespace detail;
  const StyledReply::Frame frame = reply.frame;
  switch (o.mode) {
    case ColourMode::Single:
      sink(source, o.singleColour, 0, frame.horizontal, frame.size);
      break;
    case ColourMode::Gradient: {
      // Spread the samples T(0) … T(256) over the characters, one sample
      // every `step`, at least as many samples as characters; a CR takes its
      // sample and makes no run, samples past the text make empty runs.
      const std::size_t m = std::max<std::size_t>(characters, 2);
      const int step = GradientTable::kLastSample / static_cast<int>(m - 1);
      Characters chars(source);
      for (int j = 0; j <= GradientTable::kLastSample; j += step) {
        const std::u16string_view ch = chars.next();
        if (!isCR(ch)) sink(ch, gradient.sampleColour(j), 0, frame.horizontal, frame.size);
      }
      break;
    }
    case ColourMode::Rainbow:
      forEachDrawnPosition<3>(source, random, [&](const double* u, std::u16string_view ch) {
        if (!isCR(ch)) sink(ch, drawnColour(u), 0, frame.horizontal, frame.size);
      });
      break;
    case ColourMode::Random: {
      // Every character draws red, green, blue, the mark, the size and a
      // font of the list; the panel's own font, size and mark play no part.
      const int fonts = static_cast<int>(o.fontNames.size());
      // The table index of each font of the list, once a run has used it, so
      // that the faces are in order of first use whatever the list holds.
      std::vector<int> faceOfFont(std::max(fonts, 1), -1);
      const bool forum = o.dialect == Dialect::Forum;
      forEachDrawnPosition<6>(source, random, [&](const double* u, std::u16string_view ch) {
        if (isCR(ch)) return;
        const int font = scaled(u[5], fonts);
        int& face = faceOfFont[static_cast<std::size_t>(font)];
        if (face < 0) face = faceIndex(reply, font < fonts ? markupFontName(o.fontNames[font]) : std::u16string());
        sink(ch, drawnColour(u), face, forum && scaled(u[3], 2) == 1, scaled(u[4], 7) + 1);
      });
      break;
    }
  }
}

// At most as many runs as forEachRun makes.
inline std::size_t runsAtMost(ColourMode mode, std::u16string_view source) {
  if (mode == ColourMode::Single) return 1;
  if (mode == ColourMode::Gradient) return GradientTable::kSampleCount;
  return std::max<std::size_t>(source.size(), 1);
}

}  // namespace vexlo::formatter::runs
