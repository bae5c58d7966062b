// The monitors and the top-level windows as the overlay sees them, in
// pixels of the virtual screen: the primary monitor's top left is (0, 0), so
// a monitor left of or above it has negative coordinates.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "capture/overlay_layout.h"

namespace vexlo::capture {

struct ScreenLayout {
  PixelRect virtualScreen;          // the box around every monitor
  std::vector<PixelRect> monitors;  // the primary first; never empty
};

// What the overlay knows of the desktop from the moment it opened.
struct DesktopScene {
  ScreenLayout layout;
  // The visible rectangles of the top-level windows shown then, front to
  // back, without this program's own.
  std::vector<PixelRect> windows;
  int doubleClickMs = 500;
};

struct Click {
  PixelPoint at;
  std::uint32_t timeMs = 0;  // the system's message time, which wraps
};

bool contains(const PixelRect& r, PixelPoint p);
// Empty (zero width and height) when they do not meet.
PixelRect intersection(const PixelRect& a, const PixelRect& b);

// The monitor that holds the point, else the nearest one (a point may lie in
// a gap of the virtual screen that no monitor covers).
const PixelRect& monitorAt(const ScreenLayout& layout, PixelPoint p);

// The front-most window under the point, clipped to the virtual screen;
// nothing over the desktop.
std::optional<PixelRect> windowAt(const DesktopScene& scene, PixelPoint p);

// Two clicks at the same point within the double-click time.
bool isDoubleClick(const Click& first, const Click& second, int doubleClickMs);

// Where the magnifier goes when the pointer moves to `pointer` on `monitor`:
// on another monitor it comes to this one's top left corner, and near one
// corner of this monitor it steps aside to the other.
PixelPoint magnifierPlace(PixelPoint current, PixelPoint pointer, const PixelRect& monitor);

}  // namespace vexlo::capture
