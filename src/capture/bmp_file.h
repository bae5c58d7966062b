// The BMP file the program writes itself: 24 bits per pixel, rows bottom-up
// and padded to four bytes, with a BITMAPFILEHEADER and a BITMAPINFOHEADER.
#pragma once

#include <string>

#include "common/bitmap.h"

namespace vexlo::capture {

inline constexpr int kBmpHeaderBytes = 14 + 40;

// The bytes of each stored row: three per pixel, rounded up to four.
int bmpRowBytes(int width);

// The whole file.
std::string encodeBmp(const common::Bitmap& picture);

}  // namespace vexlo::capture
