#include "formatter/gradient.h"

namespace vexlo::formatter {

namespace {

// One unit toward the target, never past it.
void stepToward(int& value, int target) {
  if (value < target) ++value;
  if (value > target) --value;
}

}  // namespace

GradientTable::GradientTable() : GradientTable(makeColour(255, 0, 0), makeColour(0, 0, 255)) {}

GradientTable::GradientTable(Colour start, Colour end) { rebuild(start, end); }

std::vector<StripLine> GradientTable::rebuild(Colour start, Colour end) {
  start_ = start;
  end_ = end;
  int r = redOf(start), g = greenOf(start), b = blueOf(start);
  const int r2 = redOf(end), g2 = greenOf(end), b2 = blueOf(end);

  lines_.clear();
  lines_.reserve(kStripLineCount);
  for (int l = 1; l <= kLastSample; ++l) {
    writeColourSample(text_[l].data(), r, g, b);
    colours_[l] = makeColour(r, g, b);
    lines_.push_back(StripLine{3 * l, 0, 3 * l, 255, colours_[l]});
    stepToward(r, r2);
    stepToward(g, g2);
    stepToward(b, b2);
  }
  text_[0] = text_[1];
  colours_[0] = colours_[1];
  return lines_;
}

std::u16string GradientTable::sample(int j) const { return std::u16string(sampleView(j)); }

std::u16string_view GradientTable::sampleView(int j) const {
  const auto& text = text_[clampIndex(j)];
  return {text.data(), text.size()};
}

}  // namespace vexlo::formatter
