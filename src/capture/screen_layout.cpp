#include "capture/screen_layout.h"

#include <algorithm>
#include <cstdlib>

namespace vexlo::capture {

namespace {

// How far the point lies outside the rectangle, squared; 0 inside.
long long distanceSquared(const PixelRect& r, PixelPoint p) {
  const long long dx = p.x < r.left ? r.left - p.x : std::max(0, p.x - (r.left + r.width - 1));
  const long long dy = p.y < r.top ? r.top - p.y : std::max(0, p.y - (r.top + r.height - 1));
  return dx * dx + dy * dy;
}

}  // namespace

bool contains(const PixelRect& r, PixelPoint p) {
  return p.x >= r.left && p.y >= r.top && p.x < r.left + r.width && p.y < r.top + r.height;
}

PixelRect intersection(const PixelRect& a, const PixelRect& b) {
  const int left = std::max(a.left, b.left), top = std::max(a.top, b.top);
  const int right = std::min(a.left + a.width, b.left + b.width);
  const int bottom = std::min(a.top + a.height, b.top + b.height);
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

const PixelRect& monitorAt(const ScreenLayout& layout, PixelPoint p) {
  return *std::min_element(layout.monitors.begin(), layout.monitors.end(), [&](const PixelRect& a, const PixelRect& b) {
    return distanceSquared(a, p) < distanceSquared(b, p);
  });
}

std::optional<PixelRect> windowAt(const DesktopScene& scene, PixelPoint p) {
  for (const PixelRect& window : scene.windows) {
    if (!contains(window, p)) continue;
    const PixelRect visible = intersection(window, scene.layout.virtualScreen);
    if (visible.width > 0) return visible;
  }
  return std::nullopt;
}

bool isDoubleClick(const Click& first, const Click& second, int doubleClickMs) {
  // Unsigned subtraction keeps the interval right across the time's wrap.
  return first.at == second.at && second.timeMs - first.timeMs <= static_cast<std::uint32_t>(doubleClickMs);
}

PixelPoint magnifierPlace(PixelPoint current, PixelPoint pointer, const PixelRect& monitor) {
  PixelPoint place = contains(monitor, current) ? current : PixelPoint{monitor.left, monitor.top};
  const int x = pointer.x - monitor.left, y = pointer.y - monitor.top;
  if (x < kTopLeftAreaWidth && y < kTopLeftAreaHeight)
    place = {monitor.left + monitor.width - kBottomRightOffsetX, monitor.top + monitor.height - kBottomRightOffsetY};
  if (x > monitor.width - kBottomRightAreaX && y > monitor.height - kBottomRightAreaY)
    place = {monitor.left, monitor.top};
  return place;
}

}  // namespace vexlo::capture
