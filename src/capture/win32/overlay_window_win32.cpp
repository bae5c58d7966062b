#include "capture/win32/overlay_window_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "capture/win32/bitmap_painting_win32.h"
#include "platform/win32/callback_guard_win32.h"
#include "platform/win32/wide.h"

namespace vexlo::capture::win32 {

namespace {

using platform::win32::wide;

constexpr wchar_t kOutlineLineClass[] = L"VexloOutlineLine";
constexpr wchar_t kWindowOutlineClass[] = L"VexloWindowOutline";
constexpr COLORREF kRed = RGB(255, 0, 0);
// The window Space would take: a colour apart from the rectangle's red,
// and thicker, so that it shows on a window's own frame.
constexpr COLORREF kWindowOutlineColour = RGB(0, 120, 215);
constexpr int kWindowOutlineWidth = 2;
constexpr COLORREF kSizeLabelBack = RGB(255, 255, 225);

COLORREF toColorRef(controls::Colour colour) { return static_cast<COLORREF>(colour & 0xFFFFFF); }

RECT toRect(const PixelRect& r) { return {r.left, r.top, r.left + r.width, r.top + r.height}; }

// A line of the outline as a window one pixel thick.
RECT lineRect(const PixelLine& line) {
  return {std::min(line.from.x, line.to.x), std::min(line.from.y, line.to.y), std::max(line.from.x, line.to.x) + 1,
          std::max(line.from.y, line.to.y) + 1};
}

// Thin coloured windows that the mouse passes through to the overlay.
LRESULT CALLBACK outlineLineProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerClasses(WNDPROC overlayProc, WNDPROC magnifierProc) {
  static bool registered = false;
  if (registered) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW overlay = {};
  overlay.lpfnWndProc = overlayProc;
  overlay.hInstance = instance;
  overlay.hCursor = LoadCursorW(nullptr, IDC_CROSS);
  overlay.lpszClassName = kOverlayWindowClass;
  RegisterClassW(&overlay);

  WNDCLASSW magnifier = {};
  magnifier.lpfnWndProc = magnifierProc;
  magnifier.hInstance = instance;
  magnifier.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  magnifier.lpszClassName = kMagnifierWindowClass;
  RegisterClassW(&magnifier);

  WNDCLASSW line = {};
  line.lpfnWndProc = outlineLineProc;
  line.hInstance = instance;
  line.hbrBackground = CreateSolidBrush(kRed);  // lives as long as the class
  line.lpszClassName = kOutlineLineClass;
  RegisterClassW(&line);
  line.hbrBackground = CreateSolidBrush(kWindowOutlineColour);
  line.lpszClassName = kWindowOutlineClass;
  RegisterClassW(&line);
  registered = true;
}

HWND createStatic(HWND parent, const std::u16string& text, const RECT& r, DWORD extraStyle = 0) {
  HWND h = CreateWindowExW(0, L"STATIC", wide(text), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | extraStyle, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return h;
}

void setText(HWND window, const std::u16string& text) { SetWindowTextW(window, wide(text)); }

}  // namespace

PixelPoint OverlayWindowWin32::pointerPosition() {
  POINT p = {};
  GetCursorPos(&p);
  return {p.x, p.y};
}

void OverlayWindowWin32::movePointer(PixelPoint to) { SetCursorPos(to.x, to.y); }

void OverlayWindowWin32::open(RegionOverlay& overlay) {
  close();
  if (!window_) makeWindows();
  if (!window_) return;
  overlay_ = &overlay;
  const PixelRect& cover = overlay.virtualScreen();
  origin_ = {cover.left, cover.top};
  // Made once and kept hidden between uses: F8 then costs the screen copy
  // and its painting, not the making of some twenty windows.
  showReadout();
  showOutline();
  showSizeLabel();
  showWindowOutline();
  placeMagnifier();
  overlay.setView(this);
  SetWindowPos(window_, HWND_TOPMOST, cover.left, cover.top, cover.width, cover.height, SWP_SHOWWINDOW);
  takeFocus();
  UpdateWindow(window_);
  // The move a system sends when a window appears under the pointer, which
  // not every system sends: the readout shows the pointer's place at once.
  const PixelPoint pointer = pointerPosition();
  deliver([&] { overlay_->mouseMove(pointer.x, pointer.y); });
}

void OverlayWindowWin32::takeFocus() {
  // Opened by a hot key while another program is in front: joining its
  // input for a moment lets the overlay take the foreground and the keys.
  const DWORD self = GetCurrentThreadId();
  const DWORD front = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const bool join = front != 0 && front != self && AttachThreadInput(self, front, TRUE);
  SetForegroundWindow(window_);
  SetFocus(window_);
  if (join) AttachThreadInput(self, front, FALSE);
}

void OverlayWindowWin32::makeWindows() {
  registerClasses(overlayProc, magnifierProc);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kOverlayWindowClass, L"", WS_POPUP | WS_CLIPCHILDREN, 0,
                            0, 1, 1, nullptr, nullptr, instance, this);
  if (!window_) return;
  for (HWND& line : windowLines_)
    line = CreateWindowExW(0, kWindowOutlineClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 1, 1, window_, nullptr,
                           instance, nullptr);
  for (HWND& line : lines_)
    line = CreateWindowExW(0, kOutlineLineClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 1, 1, window_, nullptr,
                           instance, nullptr);
  sizeLabelBrush_ = CreateSolidBrush(kSizeLabelBack);
  sizeLabel_ = createStatic(window_, {}, {0, 0, 1, 1}, WS_CLIPSIBLINGS);
  ShowWindow(sizeLabel_, SW_HIDE);

  magnifier_ = CreateWindowExW(0, kMagnifierWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                               0, 0, kMagnifierWidth, kMagnifierHeight, window_, nullptr, instance, this);
  crossHairPen_ = CreatePen(PS_SOLID, 1, kRed);
  swatch_ = createStatic(magnifier_, {}, toRect(kSwatch));
  for (int field = 0; field < kReadoutFieldCount; ++field) {
    const ReadoutRow& row = kReadoutRows[field];
    if (row.captionBack) captionBrushes_[field] = CreateSolidBrush(toColorRef(*row.captionBack));
    captions_[field] =
        createStatic(magnifier_, std::u16string(row.caption), toRect(row.captionRect), row.captionBack ? SS_CENTER : 0);
    values_[field] = createStatic(magnifier_, {}, toRect(row.valueRect));
  }
  // Above the outline and the label wherever they meet.
  SetWindowPos(magnifier_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void OverlayWindowWin32::close() {
  if (!overlay_) return;
  overlay_->setView(nullptr);
  overlay_ = nullptr;
  ShowWindow(window_, SW_HIDE);
}

OverlayWindowWin32::~OverlayWindowWin32() {
  close();
  if (window_) DestroyWindow(window_);  // its children go with it
  const auto release = [](auto& object) {
    if (object) DeleteObject(object);
  };
  for (HBRUSH brush : captionBrushes_) release(brush);
  release(swatchBrush_);
  release(sizeLabelBrush_);
  release(crossHairPen_);
}

void OverlayWindowWin32::overlayChanged(unsigned changes) {
  if (!window_) return;
  if (changes & kMagnifierMoved) placeMagnifier();
  if (changes & kMagnifierChanged) showReadout();
  if (changes & kOutlineChanged) showOutline();
  if (changes & kSizeLabelChanged) showSizeLabel();
  if (changes & kWindowOutlineChanged) showWindowOutline();
}

PixelPoint OverlayWindowWin32::toClient(PixelPoint p) const { return {p.x - origin_.x, p.y - origin_.y}; }

void OverlayWindowWin32::placeMagnifier() {
  const PixelPoint at = toClient(overlay_->magnifierPosition());
  SetWindowPos(magnifier_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OverlayWindowWin32::showReadout() {
  const RECT enlarged = toRect(kEnlargedView);
  InvalidateRect(magnifier_, &enlarged, FALSE);
  HBRUSH old = swatchBrush_;
  swatchBrush_ = CreateSolidBrush(toColorRef(overlay_->colour()));
  InvalidateRect(swatch_, nullptr, TRUE);
  if (old) DeleteObject(old);
  for (int field = 0; field < kReadoutFieldCount; ++field) {
    const std::u16string& value = overlay_->readout(static_cast<ReadoutField>(field));
    if (value == shownValues_[field]) continue;  // an unchanged value is not redrawn
    shownValues_[field] = value;
    setText(values_[field], value);
  }
}

void OverlayWindowWin32::showOutline() {
  const bool shown = overlay_->selecting();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (!shown) {
      ShowWindow(lines_[i], SW_HIDE);
      continue;
    }
    const PixelLine& line = overlay_->outline()[i];
    const RECT r = lineRect({toClient(line.from), toClient(line.to)});
    SetWindowPos(lines_[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

void OverlayWindowWin32::showSizeLabel() {
  if (!overlay_->selecting()) {
    ShowWindow(sizeLabel_, SW_HIDE);
    return;
  }
  const std::u16string& text = overlay_->sizeLabelText();
  setText(sizeLabel_, text);
  SIZE extent = {};
  HDC dc = GetDC(sizeLabel_);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  GetTextExtentPoint32W(dc, wide(text), static_cast<int>(text.size()), &extent);
  SelectObject(dc, oldFont);
  ReleaseDC(sizeLabel_, dc);
  const PixelPoint at = toClient(overlay_->sizeLabelPosition());
  // A static control may paint its new text at once, still at its old size,
  // where a longer text wraps; keeping those bits would leave that painting
  // in the label (under Wine the " * " of the size went missing).
  SetWindowPos(sizeLabel_, nullptr, at.x, at.y, extent.cx + 4, extent.cy,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
}

void OverlayWindowWin32::showWindowOutline() {
  const std::optional<PixelRect> outlined = overlay_->windowOutline();
  if (!outlined) {
    for (HWND line : windowLines_) ShowWindow(line, SW_HIDE);
    return;
  }
  // Inside the window's edges, which may be the screen's.
  const PixelPoint at = toClient({outlined->left, outlined->top});
  const int width = outlined->width, height = outlined->height, thick = kWindowOutlineWidth;
  const std::array<RECT, 4> edges = {{{at.x, at.y, at.x + width, at.y + thick},
                                      {at.x, at.y + height - thick, at.x + width, at.y + height},
                                      {at.x, at.y, at.x + thick, at.y + height},
                                      {at.x + width - thick, at.y, at.x + width, at.y + height}}};
  for (std::size_t i = 0; i < edges.size(); ++i) {
    const RECT& r = edges[i];
    SetWindowPos(windowLines_[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

template <typename Action>
void OverlayWindowWin32::deliver(Action action) {
  if (overlay_) action();
}

LRESULT OverlayWindowWin32::overlayMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Input may end the overlay and close this window: nothing of it is
  // touched after the overlay has had the input.
  switch (message) {
    case WM_MOUSEMOVE:
      deliver([&] { overlay_->mouseMove(GET_X_LPARAM(lParam) + origin_.x, GET_Y_LPARAM(lParam) + origin_.y); });
      return 0;
    case WM_LBUTTONDOWN:
      deliver([&] { overlay_->primaryButton(static_cast<std::uint32_t>(GetMessageTime())); });
      return 0;
    case WM_RBUTTONDOWN:
      deliver([&] { overlay_->secondaryButton(); });
      return 0;
    case WM_KEYDOWN:
      if (wParam == 'C' && GetKeyState(VK_CONTROL) < 0)
        deliver([&] { overlay_->copyShortcut(); });
      else
        deliver([&] { overlay_->keyDown(static_cast<int>(wParam)); });
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the frozen picture covers everything
    case WM_PAINT: {
      RECT client;
      GetClientRect(window_, &client);
      const std::vector<RECT> rects = updateRects(window_, client);
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      if (overlay_)
        for (const RECT& r : rects) paintBitmapArea(dc, overlay_->frozen(), r);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == sizeLabel_) {
        SetBkColor(reinterpret_cast<HDC>(wParam), kSizeLabelBack);
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(sizeLabelBrush_);
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT OverlayWindowWin32::magnifierMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the pointer's moves and clicks belong to the overlay
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      if (overlay_) paintEnlarged(dc, overlay_->sample(), toRect(kEnlargedView));
      HGDIOBJ oldPen = SelectObject(dc, crossHairPen_);
      MoveToEx(dc, kCrossHairFrom, kCrossHairAt, nullptr);
      LineTo(dc, kCrossHairTo + 1, kCrossHairAt);
      MoveToEx(dc, kCrossHairAt, kCrossHairFrom, nullptr);
      LineTo(dc, kCrossHairAt, kCrossHairTo + 1);
      SelectObject(dc, oldPen);
      RECT border;
      GetClientRect(hwnd, &border);
      FrameRect(dc, &border, GetSysColorBrush(COLOR_BTNSHADOW));
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HWND control = reinterpret_cast<HWND>(lParam);
      if (control == swatch_) return reinterpret_cast<LRESULT>(swatchBrush_);
      for (int field = 0; field < kReadoutFieldCount; ++field) {
        if (control != captions_[field] || !captionBrushes_[field]) continue;
        const COLORREF back = toColorRef(*kReadoutRows[field].captionBack);
        SetBkColor(dc, back);
        SetTextColor(dc, field == kBlue ? RGB(255, 255, 255) : RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(captionBrushes_[field]);
      }
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK OverlayWindowWin32::overlayProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<OverlayWindowWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  // Only the open window is served; one being destroyed gets the defaults.
  if (!self || self->window_ != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
  return platform::win32::guardedCallback(
      u"截图选区", [&] { return self->overlayMessage(message, wParam, lParam); },
      [&] { return DefWindowProcW(hwnd, message, wParam, lParam); });
}

LRESULT CALLBACK OverlayWindowWin32::magnifierProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<OverlayWindowWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->window_) return DefWindowProcW(hwnd, message, wParam, lParam);
  return platform::win32::guardedCallback(
      u"截图选区的放大镜", [&] { return self->magnifierMessage(hwnd, message, wParam, lParam); },
      [&] { return DefWindowProcW(hwnd, message, wParam, lParam); });
}

}  // namespace vexlo::capture::win32
