#include "capture/win32/desktop_info_win32.h"

#include <dwmapi.h>
#include <windows.h>

#include <algorithm>

namespace vexlo::capture::win32 {

namespace {

PixelRect toPixelRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM found) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  auto& monitors = *reinterpret_cast<std::vector<PixelRect>*>(found);
  // The primary first: the one a lone fallback would be.
  if (info.dwFlags & MONITORINFOF_PRIMARY)
    monitors.insert(monitors.begin(), toPixelRect(info.rcMonitor));
  else
    monitors.push_back(toPixelRect(info.rcMonitor));
  return TRUE;
}

// The desktop's own windows: over them Space takes the monitor.
bool isShellDesktop(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpW(name, L"Progman") == 0 || lstrcmpW(name, L"WorkerW") == 0;
}

bool isCloaked(HWND window) {
  DWORD cloaked = 0;
  return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
}

// The frame as drawn: without the invisible resize borders where the
// system has them.
RECT visibleRect(HWND window) {
  RECT r = {};
  if (SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &r, sizeof r)) && r.right > r.left) return r;
  GetWindowRect(window, &r);
  return r;
}

BOOL CALLBACK addWindow(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() || !IsWindowVisible(window) || IsIconic(window) || isShellDesktop(window) ||
      isCloaked(window))
    return TRUE;
  const RECT r = visibleRect(window);
  if (r.right > r.left && r.bottom > r.top) reinterpret_cast<std::vector<PixelRect>*>(found)->push_back(toPixelRect(r));
  return TRUE;
}

}  // namespace

ScreenLayout DesktopInfoWin32::layout() {
  ScreenLayout layout;
  layout.virtualScreen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&layout.monitors));
  if (layout.monitors.empty())
    layout.monitors.push_back({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  return layout;
}

std::vector<PixelRect> DesktopInfoWin32::windows() {
  std::vector<PixelRect> found;
  EnumWindows(addWindow, reinterpret_cast<LPARAM>(&found));  // front to back
  return found;
}

int DesktopInfoWin32::doubleClickMs() { return static_cast<int>(GetDoubleClickTime()); }

}  // namespace vexlo::capture::win32
