// Twips to pixels: the one conversion every position passes through.
#pragma once

#include <cmath>

namespace vexlo::shell {

inline int twipsToPixels(double twips, double twipsPerPixel) {
  return static_cast<int>(std::lround(twips / twipsPerPixel));
}

}  // namespace vexlo::shell
