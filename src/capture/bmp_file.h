// The BMP file the program writes itself: 24 bits per pixel, rows bottom-up
// and padded to four bytes, with a BITMAPFILEHEADER and a BITMAPINFOHEADER.
// Without its file header it is the packed device-independent bitmap that
// the clipboard's CF_DIB holds.
#pragma once

#include <cstddef>
#include <string>

#include "common/bitmap.h"

namespace vexlo::capture {

inline constexpr int kDibHeaderBytes = 40;
inline constexpr int kBmpHeaderBytes = 14 + kDibHeaderBytes;

// The bytes of each stored row: three per pixel, rounded up to four.
int bmpRowBytes(int width);

// The packed bitmap: its BITMAPINFOHEADER, then the rows.
std::size_t dibSize(const common::Bitmap& picture);
// Writes the packed bitmap into `out`, which holds dibSize(picture) bytes.
void writeDib(const common::Bitmap& picture, unsigned char* out);

// The whole file.
std::string encodeBmp(const common::Bitmap& picture);

}  // namespace vexlo::capture
