#include "capture/bmp_file.h"

#include <cstdint>

namespace vexlo::capture {

namespace {

void put16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

int bmpRowBytes(int width) { return (width * 3 + 3) / 4 * 4; }

std::string encodeBmp(const common::Bitmap& picture) {
  const std::uint32_t rowBytes = static_cast<std::uint32_t>(bmpRowBytes(picture.width));
  const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(picture.height);
  std::string out;
  out.reserve(kBmpHeaderBytes + imageBytes);

  // BITMAPFILEHEADER
  out += "BM";
  put32(out, kBmpHeaderBytes + imageBytes);
  put32(out, 0);  // two reserved words
  put32(out, kBmpHeaderBytes);
  // BITMAPINFOHEADER: a positive height means the rows run bottom-up.
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(picture.width));
  put32(out, static_cast<std::uint32_t>(picture.height));
  put16(out, 1);   // planes
  put16(out, 24);  // bits per pixel
  put32(out, 0);   // BI_RGB, no compression
  put32(out, imageBytes);
  put32(out, 0);  // no preferred resolution
  put32(out, 0);
  put32(out, 0);  // no palette
  put32(out, 0);

  const std::size_t padding = rowBytes - static_cast<std::size_t>(picture.width) * 3;
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const common::DevicePixel pixel = picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
      out.push_back(static_cast<char>(pixel & 0xFF));          // blue
      out.push_back(static_cast<char>((pixel >> 8) & 0xFF));   // green
      out.push_back(static_cast<char>((pixel >> 16) & 0xFF));  // red
    }
    out.append(padding, '\0');
  }
  return out;
}

}  // namespace vexlo::capture
