#include "capture/win32/screen_copier_win32.h"

#include <windows.h>

#include <algorithm>

namespace vexlo::capture::win32 {

common::Bitmap ScreenCopierWin32::copyScreen(const PixelRect& area) {
  const int width = std::max(area.width, 0);
  const int height = std::max(area.height, 0);
  common::Bitmap screen = common::Bitmap::filled(width, height, 0);
  if (screen.pixels.empty()) return screen;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the picture keeps its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  HDC screenDc = GetDC(nullptr);
  HDC memoryDc = CreateCompatibleDC(screenDc);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memoryDc && section && bits) {
    HGDIOBJ old = SelectObject(memoryDc, section);
    if (BitBlt(memoryDc, 0, 0, width, height, screenDc, area.left, area.top, SRCCOPY)) {
      GdiFlush();
      const auto* source = static_cast<const common::DevicePixel*>(bits);
      // The fourth byte is not part of the colour: keep it zero.
      std::transform(source, source + screen.pixels.size(), screen.pixels.begin(),
                     [](common::DevicePixel pixel) { return pixel & 0x00FFFFFFu; });
    }
    SelectObject(memoryDc, old);
  }
  if (section) DeleteObject(section);
  if (memoryDc) DeleteDC(memoryDc);
  ReleaseDC(nullptr, screenDc);
  return screen;
}

}  // namespace vexlo::capture::win32
