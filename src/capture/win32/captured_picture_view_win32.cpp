#include "capture/win32/captured_picture_view_win32.h"

#include <commctrl.h>

#include "capture/win32/bitmap_painting_win32.h"
#include "platform/win32/callback_guard_win32.h"

namespace vexlo::capture::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0x5043;  // "PC"

LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data);

LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  return platform::win32::guardedCallback(
      u"显示截图", [&] { return handle(hwnd, message, wParam, lParam, data); },
      [&] { return DefSubclassProc(hwnd, message, wParam, lParam); });
}

LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR data) {
  const auto& picture = *reinterpret_cast<const common::CapturedPicture*>(data);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      RECT client;
      GetClientRect(hwnd, &client);
      const std::vector<RECT> rects = updateRects(hwnd, client);
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      for (const RECT& r : rects) paintBitmapArea(dc, picture.bitmap(), r);
      // What the picture does not cover (nothing, or a pixel of rounding)
      // shows the panel's face.
      const RECT right{picture.bitmap().width, 0, client.right, client.bottom};
      const RECT below{0, picture.bitmap().height, client.right, client.bottom};
      for (const RECT& r : {right, below})
        if (r.left < r.right && r.top < r.bottom) FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, pictureProc, kSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void showCapturedPicture(HWND window, const common::CapturedPicture& picture) {
  if (!window) return;
  SetWindowSubclass(window, pictureProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&picture));
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace vexlo::capture::win32
