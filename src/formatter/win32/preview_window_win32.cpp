#include "formatter/win32/preview_window_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "platform/win32/callback_guard_win32.h"
#include "platform/win32/system_win32.h"

namespace vexlo::formatter::win32 {

namespace {

constexpr int kButtonId = 1;
// The strip under the drawn reply that holds the button, at 96 DPI.
constexpr int kStripHeight = 28;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 22;
constexpr int kLineStep = 16;
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kFrameFill = RGB(244, 244, 244);
constexpr COLORREF kFrameLine = RGB(176, 176, 176);
constexpr COLORREF kGlowText = RGB(255, 255, 255);

void registerClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

template <class Member>
LRESULT dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Member member) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<PreviewWindowWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return platform::win32::guardedCallback(
      u"处理预览窗口的消息", [&] { return (self->*member)(hwnd, message, wParam, lParam); },
      [&] { return DefWindowProcW(hwnd, message, wParam, lParam); });
}

bool controlHeld() { return GetKeyState(VK_CONTROL) < 0; }

SCROLLINFO scrollInfo(UINT mask) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = mask;
  return info;
}

}  // namespace

PreviewWindowWin32::~PreviewWindowWin32() {
  if (window_) DestroyWindow(window_);
  if (buttonFont_) DeleteObject(buttonFont_);
}

void PreviewWindowWin32::make() {
  registerClass(kPreviewWindowClass, windowProc, GetSysColorBrush(COLOR_BTNFACE));
  registerClass(kPreviewAreaClass, areaProc, nullptr);
  // Owned by the main window: above it, no taskbar button, gone with it.
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPreviewWindowClass, kPreviewTitle,
                            WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, 0, 0, 100, 100, owner_, nullptr,
                            GetModuleHandleW(nullptr), this);
  area_ = CreateWindowExW(0, kPreviewAreaClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 10, 10, window_, nullptr,
                          GetModuleHandleW(nullptr), this);
  button_ =
      CreateWindowExW(0, L"BUTTON", kRichCopyCaption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 10, 10, window_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), GetModuleHandleW(nullptr), nullptr);
  makeButtonFont();
}

void PreviewWindowWin32::makeButtonFont() {
  const int dpi = static_cast<int>(platform::win32::dpiOf(owner_));
  HFONT old = buttonFont_;
  buttonFont_ = CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"SimSun");
  SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_), TRUE);
  if (old) DeleteObject(old);
}

void PreviewWindowWin32::dpiChanged() {
  if (!window_) return;
  makeButtonFont();
  if (shown_) fit();
}

void PreviewWindowWin32::update(const PreviewContent& content) {
  content_ = content;
  if (shown_) fit();
}

void PreviewWindowWin32::show() {
  if (!window_) make();
  shown_ = true;
  fit();
}

void PreviewWindowWin32::hide() {
  shown_ = false;
  if (window_ && IsWindowVisible(window_)) ShowWindow(window_, SW_HIDE);
}

void PreviewWindowWin32::fit() {
  const int dpi = static_cast<int>(platform::win32::dpiOf(owner_));
  RECT owner = {}, outer = {}, client = {};
  GetWindowRect(owner_, &owner);
  GetWindowRect(window_, &outer);
  GetClientRect(window_, &client);
  const int borderWidth = (outer.right - outer.left) - client.right;
  const int borderHeight = (outer.bottom - outer.top) - client.bottom;
  const int width = owner.right - owner.left;
  const int strip = scaledPixels(kStripHeight, dpi);
  fit_ = fitPreview(content_.reply, content_.message,
                    {width - borderWidth, strip + borderHeight, dpi, GetSystemMetricsForDpi(SM_CXVSCROLL, dpi)},
                    measurer_);
  const int clientWidth = width - borderWidth;
  const int areaHeight = fit_.windowHeight - borderHeight - strip;
  MoveWindow(area_, 0, 0, clientWidth, areaHeight, FALSE);
  const int buttonWidth = scaledPixels(kButtonWidth, dpi), buttonHeight = scaledPixels(kButtonHeight, dpi);
  MoveWindow(button_, clientWidth - buttonWidth - scaledPixels(3, dpi), areaHeight + (strip - buttonHeight) / 2,
             buttonWidth, buttonHeight, TRUE);
  SCROLLINFO info = scrollInfo(SIF_RANGE | SIF_PAGE);
  info.nMax = std::max(0, fit_.layout.height - 1);
  info.nPage = static_cast<UINT>(std::max(0, areaHeight));
  SetScrollInfo(area_, SB_VERT, &info, TRUE);
  scrollTo(scroll_);
  SetWindowPos(window_, HWND_TOPMOST, owner.left, owner.bottom, width, fit_.windowHeight,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // A shorter area leaves its old pixels in the strip below it.
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void PreviewWindowWin32::scrollTo(int position) {
  SCROLLINFO info = scrollInfo(SIF_POS);
  info.nPos = position;
  SetScrollInfo(area_, SB_VERT, &info, TRUE);
  GetScrollInfo(area_, SB_VERT, &info);  // the system keeps it inside the range
  if (info.nPos != scroll_) InvalidateRect(area_, nullptr, FALSE);
  scroll_ = info.nPos;
}

void PreviewWindowWin32::paint(HDC target, const RECT& client) {
  // Drawn off screen and copied at once: a keystroke repaints without flicker.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, std::max(1L, client.right), std::max(1L, client.bottom));
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HBRUSH paper = CreateSolidBrush(kPaper);
  FillRect(dc, &client, paper);
  DeleteObject(paper);

  HBRUSH fill = CreateSolidBrush(kFrameFill);
  HPEN line = CreatePen(PS_SOLID, 1, kFrameLine);
  HGDIOBJ oldBrush = SelectObject(dc, fill);
  HGDIOBJ oldPen = SelectObject(dc, line);
  for (const PreviewRect& r : fit_.layout.frames)
    Rectangle(dc, r.left, r.top - scroll_, r.left + r.width, r.top - scroll_ + r.height);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(line);
  DeleteObject(fill);

  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  const auto draw = [&](const PreviewPiece& p, int dx, int dy) {
    ExtTextOutW(dc, p.x + dx, p.baseline - scroll_ + dy, 0, nullptr, reinterpret_cast<const wchar_t*>(p.text.data()),
                static_cast<UINT>(p.text.size()), p.advances.data());
  };
  const int reach = scaledPixels(64, GetDeviceCaps(target, LOGPIXELSY));
  // Rainbow text is a piece per character: the font and colour are changed
  // only when they differ from the last piece's, which is most of the cost.
  std::optional<std::size_t> selectedFont;
  std::optional<COLORREF> selectedColour;
  for (const PreviewPiece& p : fit_.layout.pieces) {
    const int y = p.baseline - scroll_;
    if (y < -reach || y > client.bottom + reach) continue;
    if (selectedFont != p.font) {
      SelectObject(dc, measurer_.handle(fit_.layout.fonts[p.font]));
      selectedFont = p.font;
    }
    const COLORREF colour = static_cast<COLORREF>(p.colour);  // both 0x00BBGGRR
    if (selectedColour != colour || p.glow) SetTextColor(dc, colour);
    selectedColour = p.glow ? kGlowText : colour;
    if (p.glow) {
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
          if ((dx || dy) && dx * dx + dy * dy <= 5) draw(p, dx, dy);
      SetTextColor(dc, kGlowText);
    }
    draw(p, 0, 0);
  }
  SelectObject(dc, oldFont);
  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

void PreviewWindowWin32::copy() {
  if (onCopyRichText) onCopyRichText();
}

LRESULT PreviewWindowWin32::windowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
        copy();
        SetFocus(area_);  // so that Ctrl+C goes on working from the keyboard
      }
      return 0;
    case WM_SETFOCUS:
      if (area_) SetFocus(area_);
      return 0;
    case WM_CLOSE:
      // The preview goes with its button on the formatter panel.
      return 0;
    case WM_DPICHANGED:
      // Its place and size follow the owner's, which dpiChanged() is told of
      // once the owner has its new size; the suggested rectangle would
      // undock it.
      return 0;
    case WM_NCDESTROY:
      window_ = area_ = button_ = nullptr;
      shown_ = false;
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT PreviewWindowWin32::areaMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      paint(dc, client);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_KEYDOWN:
      if (wParam == 'C' && controlHeld()) copy();
      if (wParam == VK_DOWN || wParam == VK_UP) scrollTo(scroll_ + (wParam == VK_DOWN ? kLineStep : -kLineStep));
      return 0;
    case WM_MOUSEWHEEL:
      scrollTo(scroll_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3 * kLineStep);
      return 0;
    case WM_VSCROLL: {
      SCROLLINFO info = scrollInfo(SIF_ALL);
      GetScrollInfo(area_, SB_VERT, &info);
      int to = info.nPos;
      switch (LOWORD(wParam)) {
        case SB_LINEUP:
          to -= kLineStep;
          break;
        case SB_LINEDOWN:
          to += kLineStep;
          break;
        case SB_PAGEUP:
          to -= static_cast<int>(info.nPage);
          break;
        case SB_PAGEDOWN:
          to += static_cast<int>(info.nPage);
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          to = info.nTrackPos;
          break;
        case SB_TOP:
          to = 0;
          break;
        case SB_BOTTOM:
          to = info.nMax;
          break;
      }
      scrollTo(to);
      return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK PreviewWindowWin32::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return dispatch(hwnd, message, wParam, lParam, &PreviewWindowWin32::windowMessage);
}

LRESULT CALLBACK PreviewWindowWin32::areaProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return dispatch(hwnd, message, wParam, lParam, &PreviewWindowWin32::areaMessage);
}

}  // namespace vexlo::formatter::win32
