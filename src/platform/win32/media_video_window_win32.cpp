#include "platform/win32/media_video_window_win32.h"

#include <algorithm>
#include <cmath>

#include "platform/win32/callback_guard_win32.h"

namespace vexlo::platform::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VexloMediaVideo";
constexpr LONG_PTR kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr LONG_PTR kPopupStyle = WS_POPUP | WS_VISIBLE;

RECT pictureRect(const RECT& area, SIZE picture) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (picture.cx <= 0 || picture.cy <= 0 || width <= 0 || height <= 0) return area;
  // Never enlarged: a small picture stretched to the panel only blurs.
  const double scale =
      std::min({1.0, static_cast<double>(width) / picture.cx, static_cast<double>(height) / picture.cy});
  const int fittedWidth = static_cast<int>(std::lround(picture.cx * scale));
  const int fittedHeight = static_cast<int>(std::lround(picture.cy * scale));
  const int left = area.left + (width - fittedWidth) / 2;
  const int top = area.top + (height - fittedHeight) / 2;
  return {left, top, left + fittedWidth, top + fittedHeight};
}

}  // namespace

MediaVideoWindow::~MediaVideoWindow() {
  if (window_) DestroyWindow(window_);
}

bool MediaVideoWindow::create(HWND host, const RECT& area) {
  static const bool registered = [] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered) return false;
  host_ = host;
  placeInHost_ = area;
  CreateWindowExW(0, kClassName, L"视频", static_cast<DWORD>(kChildStyle), area.left, area.top, area.right - area.left,
                  area.bottom - area.top, host, nullptr, GetModuleHandleW(nullptr), this);
  if (!window_) return false;
  // Whatever the panel lays over the player area stays visible above it.
  SetWindowPos(window_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return true;
}

void MediaVideoWindow::fitPicture(const RECT& area, SIZE pictureSize) {
  placeInHost_ = pictureRect(area, pictureSize);
  if (!window_ || fullScreen_) return;
  SetWindowPos(window_, nullptr, placeInHost_.left, placeInHost_.top, placeInHost_.right - placeInHost_.left,
               placeInHost_.bottom - placeInHost_.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MediaVideoWindow::setFullScreen(bool fullScreen) {
  if (!window_ || fullScreen == fullScreen_) return;
  fullScreen_ = fullScreen;
  if (fullScreen) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& screen = monitor.rcMonitor;
    SetParent(window_, nullptr);
    SetWindowLongPtrW(window_, GWL_STYLE, kPopupStyle);
    SetWindowPos(window_, HWND_TOPMOST, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    // Escape must reach this window, not the one that had the focus.
    SetForegroundWindow(window_);
    SetFocus(window_);
  } else {
    SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowLongPtrW(window_, GWL_STYLE, kChildStyle);
    SetParent(window_, host_);
    SetWindowPos(window_, HWND_BOTTOM, placeInHost_.left, placeInHost_.top, placeInHost_.right - placeInHost_.left,
                 placeInHost_.bottom - placeInHost_.top, SWP_FRAMECHANGED | SWP_NOACTIVATE);
  }
}

LRESULT CALLBACK MediaVideoWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MediaVideoWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MediaVideoWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return guardedCallback(
      u"媒体播放器的画面", [&] { return self->handle(message, wParam, lParam); },
      [&] { return DefWindowProcW(hwnd, message, wParam, lParam); });
}

LRESULT MediaVideoWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window_, &paint);
      if (onRepaint) onRepaint();
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_SIZE:
      if (onRepaint) onRepaint();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && fullScreen_) {
        setFullScreen(false);
        return 0;
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (fullScreen_) setFullScreen(false);
      return 0;
    case WM_NCDESTROY: {
      HWND closing = window_;
      SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
      window_ = nullptr;
      return DefWindowProcW(closing, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace vexlo::platform::win32
