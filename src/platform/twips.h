// Twips and pixels: the one conversion every position passes through, in
// the core and in the Win32 view alike.
#pragma once

#include <cmath>

namespace vexlo::platform {

inline constexpr double kTwipsPerInch = 1440.0;

inline double twipsPerPixel(double dotsPerInch) { return kTwipsPerInch / dotsPerInch; }

inline int twipsToPixels(double twips, double twipsPerPixel) {
  return static_cast<int>(std::lround(twips / twipsPerPixel));
}

inline int pixelsToTwips(int pixels, double twipsPerPixel) {
  return static_cast<int>(std::lround(pixels * twipsPerPixel));
}

}  // namespace vexlo::platform
