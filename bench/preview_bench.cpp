// Updating the preview from a 1 MiB input, as a keystroke in the input box
// does: the prefix the preview shows, its styled runs and their layout (with
// a measurer that answers at once, so the figure is the core's own work; the
// system's measuring is cached per character in the window). Single colour
// and rainbow, the two ends of the run count.
#include <benchmark/benchmark.h>

#include <string>

#include "formatter/preview_layout.h"
#include "formatter/styled_text.h"

namespace {

using namespace vexlo::formatter;

struct InstantMeasurer : TextMeasurer {
  FontMetrics metrics(const PreviewFont& font) override { return {font.pixels * 4 / 5, font.pixels / 5}; }
  int advance(const PreviewFont& font, std::u16string_view ch) override {
    return ch.size() == 1 && ch[0] < 0x80 ? font.pixels / 2 : font.pixels;
  }
};

std::u16string megabyteInput() {
  const std::u16string line = u"今天天气很好我们一起去公园散步吧 Hello, forum! 123\r\n";
  std::u16string s;
  while (s.size() * sizeof(char16_t) < (1u << 20)) s += line;
  return s;
}

void updatePreview(benchmark::State& state, ColourMode mode) {
  const std::u16string input = megabyteInput();
  MarkupOptions options;
  options.font = u"宋体";
  options.mode = mode;
  const GradientTable gradient;
  SplitMixRandom random;
  InstantMeasurer measurer;
  for (auto _ : state) {
    bool truncated = false;
    const std::u16string_view shown = previewPrefix(input, truncated);
    StyledReply reply;
    SplitMixRandom copy = random;
    copy.reseed(69);
    buildStyledReply(reply, options, shown, gradient, u"", copy);
    const PreviewFit fit = fitPreview(reply, u"", {347, 30, 96, 17}, measurer);
    benchmark::DoNotOptimize(fit.layout.pieces.data());
  }
}

BENCHMARK_CAPTURE(updatePreview, Single, ColourMode::Single)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(updatePreview, Rainbow, ColourMode::Rainbow)->Unit(benchmark::kMillisecond);

}  // namespace
