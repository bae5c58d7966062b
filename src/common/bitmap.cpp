#include "common/bitmap.h"

#include <algorithm>

namespace vexlo::common {

namespace {

std::size_t indexOf(const Bitmap& bitmap, int x, int y) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width) + static_cast<std::size_t>(x);
}

}  // namespace

Bitmap Bitmap::filled(int width, int height, controls::Colour colour) {
  Bitmap bitmap{std::max(0, width), std::max(0, height), {}};
  bitmap.pixels.assign(static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height),
                       swapRedAndBlue(colour));
  return bitmap;
}

controls::Colour Bitmap::colourAt(int x, int y) const {
  return contains(x, y) ? swapRedAndBlue(pixels[indexOf(*this, x, y)]) : 0;
}

void Bitmap::setColourAt(int x, int y, controls::Colour colour) {
  if (contains(x, y)) pixels[indexOf(*this, x, y)] = swapRedAndBlue(colour);
}

Bitmap Bitmap::copyArea(int left, int top, int areaWidth, int areaHeight) const {
  Bitmap area = filled(areaWidth, areaHeight, 0);
  // Only the rows and columns both pictures share are copied.
  const int fromX = std::max(0, -left), toX = std::min(area.width, width - left);
  const int fromY = std::max(0, -top), toY = std::min(area.height, height - top);
  if (fromX >= toX) return area;
  for (int y = fromY; y < toY; ++y) {
    auto source = pixels.begin() + static_cast<std::ptrdiff_t>(indexOf(*this, left + fromX, top + y));
    std::copy(source, source + (toX - fromX),
              area.pixels.begin() + static_cast<std::ptrdiff_t>(indexOf(area, fromX, y)));
  }
  return area;
}

}  // namespace vexlo::common
