#include "capture/win32/bitmap_painting_win32.h"

#include <algorithm>

namespace vexlo::capture::win32 {

namespace {

// A top-down 32-bit picture: rows run downwards, as the pixels are kept.
BITMAPINFO topDownInfo(int width, int rows) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -rows;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

void paintBitmapArea(HDC dc, const common::Bitmap& picture, const RECT& area) {
  const int left = std::max<int>(0, area.left), right = std::min<int>(picture.width, area.right);
  const int top = std::max<int>(0, area.top), bottom = std::min<int>(picture.height, area.bottom);
  if (left >= right || top >= bottom) return;
  // Only the band of rows the area crosses is handed over, starting at its
  // first row, so the system never walks the whole picture.
  const int rows = bottom - top;
  const BITMAPINFO info = topDownInfo(picture.width, rows);
  const common::DevicePixel* band = picture.pixels.data() + static_cast<std::size_t>(top) * picture.width;
  SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(right - left), static_cast<DWORD>(rows), left, 0, 0,
                    static_cast<UINT>(rows), band, &info, DIB_RGB_COLORS);
}

void paintEnlarged(HDC dc, const common::Bitmap& picture, const RECT& target) {
  if (picture.width <= 0 || picture.height <= 0) return;
  const BITMAPINFO info = topDownInfo(picture.width, picture.height);
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);  // nearest neighbour: pixels stay sharp
  StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                picture.width, picture.height, picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

std::vector<RECT> updateRects(HWND window, const RECT& bounds) {
  std::vector<RECT> rects;
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetUpdateRgn(window, update, FALSE);
  if (kind != NULLREGION && kind != ERROR) {
    if (const DWORD size = GetRegionData(update, 0, nullptr)) {
      std::vector<char> buffer(size);
      auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
      if (GetRegionData(update, size, data)) {
        const RECT* first = reinterpret_cast<const RECT*>(data->Buffer);
        rects.assign(first, first + data->rdh.nCount);
      }
    }
  }
  DeleteObject(update);
  if (kind != NULLREGION && rects.empty()) rects.push_back(bounds);
  return rects;
}

}  // namespace vexlo::capture::win32
