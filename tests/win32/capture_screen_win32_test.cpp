// The screen copy: a window painted a known colour is read back at its
// place, at the screen's real pixel size.
#include <gtest/gtest.h>
#include <windows.h>

#include "capture/win32/desktop_info_win32.h"
#include "capture/win32/screen_copier_win32.h"

namespace vexlo::capture::win32 {
namespace {

constexpr COLORREF kPainted = RGB(10, 200, 30);

LRESULT CALLBACK paintedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH brush = CreateSolidBrush(kPainted);
    FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void pumpMessages() {
  MSG msg;
  for (int round = 0; round < 20; ++round) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
}

TEST(CaptureScreenWin32Test, CopyShowsAPaintedWindowAtItsPlace) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = paintedProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"CaptureScreenTestPainted";
  RegisterClassW(&wc);
  HWND painted = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100,
                                 120, 200, 150, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(painted, nullptr);
  UpdateWindow(painted);
  pumpMessages();

  const common::Bitmap screen = ScreenCopierWin32().copyScreen(DesktopInfoWin32().layout().virtualScreen);
  DestroyWindow(painted);

  EXPECT_EQ(screen.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(screen.height, GetSystemMetrics(SM_CYSCREEN));
  for (auto [x, y] : {std::pair{100, 120}, std::pair{200, 190}, std::pair{299, 269}})
    EXPECT_EQ(screen.colourAt(x, y), static_cast<controls::Colour>(kPainted)) << x << "," << y;
  EXPECT_NE(screen.colourAt(300, 190), static_cast<controls::Colour>(kPainted));
  for (common::DevicePixel pixel : {screen.pixels.front(), screen.pixels.back()}) EXPECT_EQ(pixel >> 24, 0u);
}

}  // namespace
}  // namespace vexlo::capture::win32
