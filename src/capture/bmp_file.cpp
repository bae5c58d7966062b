#include "capture/bmp_file.h"

#include <cstdint>
#include <cstring>

namespace vexlo::capture {

namespace {

unsigned char* put16(unsigned char* out, std::uint32_t value) {
  out[0] = static_cast<unsigned char>(value & 0xFF);
  out[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
  return out + 2;
}

unsigned char* put32(unsigned char* out, std::uint32_t value) { return put16(put16(out, value & 0xFFFF), value >> 16); }

std::uint32_t imageBytes(const common::Bitmap& picture) {
  return static_cast<std::uint32_t>(bmpRowBytes(picture.width)) * static_cast<std::uint32_t>(picture.height);
}

}  // namespace

int bmpRowBytes(int width) { return (width * 3 + 3) / 4 * 4; }

std::size_t dibSize(const common::Bitmap& picture) { return kDibHeaderBytes + std::size_t{imageBytes(picture)}; }

void writeDib(const common::Bitmap& picture, unsigned char* out) {
  // BITMAPINFOHEADER: a positive height means the rows run bottom-up.
  out = put32(out, kDibHeaderBytes);
  out = put32(out, static_cast<std::uint32_t>(picture.width));
  out = put32(out, static_cast<std::uint32_t>(picture.height));
  out = put16(out, 1);   // planes
  out = put16(out, 24);  // bits per pixel
  out = put32(out, 0);   // BI_RGB, no compression
  out = put32(out, imageBytes(picture));
  out = put32(out, 0);  // no preferred resolution
  out = put32(out, 0);
  out = put32(out, 0);  // no palette
  out = put32(out, 0);

  const std::size_t rowBytes = static_cast<std::size_t>(bmpRowBytes(picture.width));
  const std::size_t padding = rowBytes - static_cast<std::size_t>(picture.width) * 3;
  for (int y = picture.height - 1; y >= 0; --y) {
    const common::DevicePixel* row = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
    int x = 0;
    // Four pixels fill three words: the copy of a screen goes to the
    // clipboard at about the speed of a plain memory copy.
    for (; x + 4 <= picture.width; x += 4) {
      const std::uint32_t p0 = row[x] & 0xFFFFFF, p1 = row[x + 1] & 0xFFFFFF, p2 = row[x + 2] & 0xFFFFFF,
                          p3 = row[x + 3] & 0xFFFFFF;
      out = put32(put32(put32(out, p0 | p1 << 24), p1 >> 8 | p2 << 16), p2 >> 16 | p3 << 8);
    }
    for (; x < picture.width; ++x) {
      const common::DevicePixel pixel = row[x];
      out[0] = static_cast<unsigned char>(pixel & 0xFF);          // blue
      out[1] = static_cast<unsigned char>((pixel >> 8) & 0xFF);   // green
      out[2] = static_cast<unsigned char>((pixel >> 16) & 0xFF);  // red
      out += 3;
    }
    std::memset(out, 0, padding);
    out += padding;
  }
}

std::string encodeBmp(const common::Bitmap& picture) {
  const std::size_t fileHeaderBytes = kBmpHeaderBytes - kDibHeaderBytes;
  std::string file(fileHeaderBytes + dibSize(picture), '\0');
  auto* out = reinterpret_cast<unsigned char*>(file.data());
  // BITMAPFILEHEADER
  out[0] = 'B';
  out[1] = 'M';
  out = put32(out + 2, static_cast<std::uint32_t>(file.size()));
  out = put32(out, 0);  // two reserved words
  out = put32(out, kBmpHeaderBytes);
  writeDib(picture, out);
  return file;
}

}  // namespace vexlo::capture
