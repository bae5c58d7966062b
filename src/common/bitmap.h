// A captured picture in memory: the frozen screen, a chosen rectangle, the
// magnifier's sample. Pixels are kept top row first, each as a 32-bit
// device-independent bitmap stores it (blue in the low byte, 0x00RRGGBB),
// so the one copy of the screen is painted, magnified and encoded as it is.
#pragma once

#include <cstdint>
#include <vector>

#include "controls/control.h"

namespace vexlo::common {

// 0x00RRGGBB, the memory layout of a 32-bit device-independent bitmap.
using DevicePixel = std::uint32_t;

// The program's colour value (0x00BBGGRR) and the device pixel swap their
// red and blue bytes; the conversion is its own inverse.
constexpr std::uint32_t swapRedAndBlue(std::uint32_t value) {
  return ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
}

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<DevicePixel> pixels;  // width * height, top row first

  // A picture of one colour (0x00BBGGRR).
  static Bitmap filled(int width, int height, controls::Colour colour);

  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // The colour value at (x, y); black outside the picture.
  controls::Colour colourAt(int x, int y) const;
  void setColourAt(int x, int y, controls::Colour colour);
  // The area from (left, top); the part that lies outside this picture is
  // black, so a copy near an edge never shows stale pixels.
  Bitmap copyArea(int left, int top, int areaWidth, int areaHeight) const;
};

}  // namespace vexlo::common
