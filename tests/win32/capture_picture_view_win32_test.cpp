// The captured picture in the window the binder makes for it: the pixels at
// their real size, repainted when the panel puts a new capture in.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "capture/win32/captured_picture_view_win32.h"
#include "common/captured_picture.h"
#include "controls/win32/binder.h"

namespace vexlo::capture::win32 {
namespace {

controls::win32::Binder* activeBinder = nullptr;

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (activeBinder && activeBinder->handle(message, wParam, lParam, result)) return result;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

COLORREF screenPixel(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

TEST(CapturePictureViewWin32Test, ShowsTheCapturedPixelsAndEachNewCapture) {
  controls::Window model{"Form", {0, 0, 6000, 4500}, u"host"};
  controls::PictureBox viewport{"P2", {120, 240, 3825, 3060}};
  common::CapturedPicture picture{"P1", {0, 0, 15, 15}};
  model.add(viewport);
  viewport.add(picture);

  WNDCLASSW wc = {};
  wc.lpfnWndProc = hostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"CapturePictureHost";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              400, 300, nullptr, nullptr, wc.hInstance, nullptr);
  auto binder = std::make_unique<controls::win32::Binder>(host, model);
  activeBinder = binder.get();
  binder->create();
  HWND view = binder->windowFor(picture);
  ASSERT_NE(view, nullptr);
  showCapturedPicture(view, picture);

  const double twips = 1440.0 / binder->dpi();
  for (controls::Colour colour : {0x0000FFu, 0xFF8000u}) {
    common::Bitmap captured = common::Bitmap::filled(60, 40, colour);
    captured.setColourAt(59, 39, 0x00FF00);
    picture.setRect({0, 0, static_cast<int>(60 * twips + 0.5), static_cast<int>(40 * twips + 0.5)});
    picture.setBitmap(std::move(captured));
    UpdateWindow(host);
    RedrawWindow(host, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(screenPixel(view, 0, 0), static_cast<COLORREF>(colour));
    EXPECT_EQ(screenPixel(view, 58, 39), static_cast<COLORREF>(colour));
    EXPECT_EQ(screenPixel(view, 59, 39), RGB(0, 255, 0));  // real size: the last pixel is the picture's last
  }

  activeBinder = nullptr;
  binder.reset();
  DestroyWindow(host);
}

}  // namespace
}  // namespace vexlo::capture::win32
