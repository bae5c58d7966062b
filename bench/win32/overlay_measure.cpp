// The region overlay measured under Wine (or Windows) against one bare
// BitBlt of the virtual screen (every monitor) into a memory bitmap in the
// same run:
//   - F8's path after its pause: the monitors and windows read, the screen
//     copy plus the overlay shown and painted (median of 5 openings); run it
//     on two monitors and on one of the same area to compare the two;
//   - one mouse move while selecting, with everything it repaints flushed
//     (median of 1,000 synthesized moves);
//   - the working set while the overlay is open, against one screen's bytes.
// With an argument N it keeps the overlay open N milliseconds after the
// measurements, with a rectangle drawn, for a screenshot.
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "capture/win32/desktop_info_win32.h"
#include "capture/win32/overlay_window_win32.h"
#include "capture/win32/screen_copier_win32.h"
#include "timing.h"

namespace {

using namespace vexlo::capture;
using namespace vexlo;
using vexlo::bench::Clock;
using vexlo::bench::median;
using vexlo::bench::millisecondsSince;

std::size_t workingSetKb() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize / 1024;
}

void pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Everything waiting to be painted, on the screen now.
void flush(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

double bareBlit(const PixelRect& area) {
  const int width = area.width, height = area.height;
  const Clock::time_point start = Clock::now();
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  const double elapsed = millisecondsSince(start);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return elapsed;
}

// The least F8 can cost: the screen copied, then painted back whole on a
// window already shown over it.
double blitAndPaintBack(HWND shownWindow, const PixelRect& area) {
  const int width = area.width, height = area.height;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
  const Clock::time_point start = Clock::now();
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  HDC target = GetDC(shownWindow);
  SetDIBitsToDevice(target, 0, 0, width, height, 0, 0, 0, height, bits, &info, DIB_RGB_COLORS);
  GdiFlush();
  const double elapsed = millisecondsSince(start);
  ReleaseDC(shownWindow, target);
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  win32::DesktopInfoWin32 desktop;
  const ScreenLayout layout = desktop.layout();
  const PixelRect& area = layout.virtualScreen;
  const int width = area.width, height = area.height;
  std::vector<double> blits;
  for (int i = 0; i < 31; ++i) blits.push_back(bareBlit(area));
  const double blit = median(blits);
  HWND plain = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, area.left,
                               area.top, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  pumpMessages();
  std::vector<double> floors;
  for (int i = 0; i < 31; ++i) floors.push_back(blitAndPaintBack(plain, area));
  DestroyWindow(plain);
  pumpMessages();

  const std::size_t before = workingSetKb();
  win32::OverlayWindowWin32 window;
  win32::ScreenCopierWin32 copier;
  std::unique_ptr<RegionOverlay> overlay;
  std::vector<double> openings, copies, shown;
  for (int i = 0; i < 5; ++i) {
    window.close();
    overlay.reset();
    pumpMessages();
    const Clock::time_point start = Clock::now();
    ScreenLayout opened = desktop.layout();
    common::Bitmap screen = copier.copyScreen(opened.virtualScreen);
    copies.push_back(millisecondsSince(start));
    overlay = std::make_unique<RegionOverlay>(
        std::move(screen), DesktopScene{std::move(opened), desktop.windows(), desktop.doubleClickMs()},
        window.pointerPosition(),
        RegionOverlay::Callbacks{[&](PixelPoint to) { window.movePointer(to); },
                                 [&](RegionOverlay::Ending) { window.close(); }});
    window.open(*overlay);
    shown.push_back(millisecondsSince(start));
    flush(window.window());
    openings.push_back(millisecondsSince(start));
  }
  pumpMessages();
  const std::size_t open = workingSetKb();

  HWND hwnd = window.window();
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
  flush(hwnd);
  std::vector<double> moves;
  for (int i = 0; i < 1000; ++i) {
    const Clock::time_point start = Clock::now();
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(400 + i % 300, 300 + i % 200));
    flush(hwnd);
    moves.push_back(millisecondsSince(start));
  }

  std::printf("virtual screen %d x %d at %d,%d on %zu monitor(s):", width, height, area.left, area.top,
              layout.monitors.size());
  for (const PixelRect& m : layout.monitors) std::printf(" %dx%d at %d,%d", m.width, m.height, m.left, m.top);
  std::printf("\n");
  std::printf("full-screen BitBlt, median of 31: %.2f ms\n", blit);
  std::printf("F8 after the pause (copy + overlay shown), median of 5: %.2f ms = %.2f x BitBlt\n", median(openings),
              median(openings) / blit);
  std::printf("  the least it can be, a copy painted back on a shown window, median of 31: %.2f ms = %.2f x BitBlt\n",
              median(floors), median(floors) / blit);
  std::printf("  of which the screen copy %.2f ms, the copy and the window shown %.2f ms\n", median(copies),
              median(shown));
  std::printf("one mouse move while selecting, median of 1000: %.3f ms = %.3f x BitBlt\n", median(moves),
              median(moves) / blit);
  std::printf("working set: %zu KB before, %zu KB with the overlay open (+%zu KB; one screen is %d KB)\n", before, open,
              open - before, width * height * 4 / 1024);
  std::fflush(stdout);

  if (argc > 1) {
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(520, 390));
    flush(hwnd);
    std::printf("overlay shown for %s ms\n", argv[1]);
    std::fflush(stdout);
    const Clock::time_point start = Clock::now();
    while (millisecondsSince(start) < std::atoi(argv[1])) {
      pumpMessages();
      Sleep(20);
    }
  }
  return 0;
}
