// The overlay model's share of one mouse move at 1280 x 800 (the 23 x 23
// sample, the colour readout in four notations, the outline and the size
// label), next to a copy of the whole frozen screen, which is what a move
// must never cost. The window's share (repainting the strips, the enlarged
// view and the changed values) is measured under Wine by
// bench/win32/overlay_measure.cpp.
#include <benchmark/benchmark.h>

#include "capture/region_overlay.h"

namespace {

using namespace vexlo::capture;
using namespace vexlo;

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

common::Bitmap frozenScreen() {
  common::Bitmap screen = common::Bitmap::filled(kWidth, kHeight, 0);
  for (std::size_t i = 0; i < screen.pixels.size(); ++i)
    screen.pixels[i] = static_cast<common::DevicePixel>(i * 2654435761u) & 0xFFFFFF;
  return screen;
}

void MouseMoveWhileSelecting(benchmark::State& state) {
  RegionOverlay overlay(frozenScreen(), {}, {300, 200}, {[](PixelPoint) {}, [](RegionOverlay::Ending) {}});
  overlay.mouseMove(300, 200);
  overlay.primaryButton(0);
  int i = 0;
  for (auto _ : state) {
    overlay.mouseMove(400 + i % 300, 300 + i % 200);
    benchmark::DoNotOptimize(overlay.readout(kDecimal).data());
    ++i;
  }
}
BENCHMARK(MouseMoveWhileSelecting);

void WholeScreenCopy(benchmark::State& state) {
  const common::Bitmap screen = frozenScreen();
  for (auto _ : state) {
    common::Bitmap copy = screen.copyArea(0, 0, kWidth, kHeight);
    benchmark::DoNotOptimize(copy.pixels.data());
  }
}
BENCHMARK(WholeScreenCopy);

}  // namespace
