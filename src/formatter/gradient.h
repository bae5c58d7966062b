// The gradient table: 257 colour samples T(0)..T(256) from the start colour
// to the end colour, and the lines of the preview strip that shows them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/colour.h"

namespace vexlo::formatter {

// One vertical line of the preview strip, in twips on the strip.
struct StripLine {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  Colour colour = 0;
};

class GradientTable {
 public:
  static constexpr int kLastSample = 256;
  static constexpr int kSampleCount = kLastSample + 1;
  static constexpr int kStripLineCount = 256;
  static constexpr int kSampleLength = 6;  // RRGGBB

  // Built for the start-up colours: red to blue.
  GradientTable();
  GradientTable(Colour start, Colour end);

  // Recomputes every sample for new start and end colours and returns the
  // preview strip's lines: line l (1..256) runs from (3·l, 0) to (3·l, 255)
  // in the colour of T(l). Each channel walks one unit per line toward its
  // end value on its own and stops there, so T(1) is the start colour and
  // T(256) the end colour; T(0) repeats T(1).
  std::vector<StripLine> rebuild(Colour start, Colour end);

  // The lines of the last rebuild.
  const std::vector<StripLine>& stripLines() const { return lines_; }

  // T(j) as RRGGBB, j = 0..256 (clamped into that range).
  std::u16string sample(int j) const;
  std::u16string_view sampleView(int j) const;
  // Inline: the gradient's conversion asks for one per character.
  Colour sampleColour(int j) const { return colours_[clampIndex(j)]; }

  Colour start() const { return start_; }
  Colour end() const { return end_; }

 private:
  static int clampIndex(int j) { return j < 0 ? 0 : j > kLastSample ? kLastSample : j; }

  Colour start_ = 0;
  Colour end_ = 0;
  std::array<std::array<char16_t, kSampleLength>, kSampleCount> text_{};
  std::array<Colour, kSampleCount> colours_{};
  std::vector<StripLine> lines_;
};

}  // namespace vexlo::formatter
