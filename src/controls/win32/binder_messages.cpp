// The binder's messages: what the user does in a window reaches the model,
// and what the model holds is drawn. The procedure every control window
// shares; each kind's own handling is in binder_<kind>.cpp.
// First: it brings the <windows.h> that <commctrl.h> needs.
// clang-format off
#include "controls/win32/binder.h"
// clang-format on

#include <commctrl.h>
#include <windowsx.h>

#include "controls/win32/artwork.h"
#include "platform/twips.h"
#include "platform/win32/callback_guard_win32.h"
#include "platform/win32/wide.h"

namespace vexlo::controls::win32 {

using platform::win32::wideString;

namespace {

// What a child window tells its parent about itself.
bool isChildNotification(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return true;
    default:
      return false;
  }
}

}  // namespace

LRESULT Binder::classProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC)), hwnd, message, wParam,
                         lParam);
}

void Binder::mouseMoved(Control& control, WPARAM wParam, LPARAM lParam) {
  const double perPixel = platform::twipsPerPixel(dpi_);
  control.userMouseMove(platform::pixelsToTwips(GET_X_LPARAM(lParam), perPixel),
                        platform::pixelsToTwips(GET_Y_LPARAM(lParam), perPixel), static_cast<int>(wParam));
}

HCURSOR Binder::pointerOf(const Control& control) {
  if (control.pointer().empty()) return nullptr;
  auto [it, isNew] = pointers_.try_emplace(control.pointer(), nullptr);
  if (isNew) it->second = createPointer(control.pointer());
  return it->second;
}

bool Binder::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      // Routed by the sender's window, not by its 16-bit id.
      Bound* b = boundByHwnd(reinterpret_cast<HWND>(lParam));
      if (!b) return false;
      const auto command = familyOf(*b->control).command;
      if (command && !pushing_) command(*this, *b, HIWORD(wParam));
      result = 0;
      return true;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      Bound* b = item.CtlType == ODT_MENU ? nullptr : boundByHwnd(item.hwndItem);
      const auto draw = b ? familyOf(*b->control).draw : nullptr;
      if (!draw) return false;
      draw(*this, *b, item);
      result = TRUE;
      return true;
    }
    case WM_VSCROLL:
    case WM_HSCROLL: {  // the requests of both have the same numbers
      Bound* b = boundByHwnd(reinterpret_cast<HWND>(lParam));
      const auto scrolled = b ? familyOf(*b->control).scrolled : nullptr;
      if (!scrolled) return false;
      if (!pushing_) scrolled(*this, *b, LOWORD(wParam));
      result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      Bound* b = boundByHwnd(reinterpret_cast<HWND>(lParam));
      if (!b) return false;
      HDC dc = reinterpret_cast<HDC>(wParam);
      Control& c = *b->control;
      if (familyOf(c).onWhite) {
        SetBkColor(dc, RGB(255, 255, 255));
        result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        return true;
      }
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, inPanel(c) ? RGB(0x20, 0x20, 0x20) : kTitleColour);
      // Without a colour of its own, a control on a coloured picture box
      // (a tile's caption) shows the box's colour.
      std::optional<Colour> colour = c.backColour();
      if (!colour && c.container() && c.container()->kind() == Kind::PictureBox) colour = c.container()->backColour();
      if (colour) {
        HBRUSH& brush = colourBrushes_[*colour];
        if (!brush) brush = CreateSolidBrush(toColorRef(*colour));
        result = reinterpret_cast<LRESULT>(brush);
      } else {
        result = reinterpret_cast<LRESULT>(backgroundOf(c));
      }
      return true;
    }
    case WM_MOUSEMOVE:
      mouseMoved(window_, wParam, lParam);
      result = 0;
      return true;
    case WM_SETCURSOR: {
      HCURSOR pointer =
          reinterpret_cast<HWND>(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT ? pointerOf(window_) : nullptr;
      if (!pointer) return false;
      SetCursor(pointer);
      result = TRUE;
      return true;
    }
    case WM_PAINT: {
      if (!holdsShape(window_)) return false;
      // The background comes with WM_ERASEBKGND; the shapes go over it.
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      paintShapes(dc, window_);
      EndPaint(hwnd_, &paint);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

void Binder::addTool(Bound& b) {
  if (!tooltip_)
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  if (!tooltip_) return;
  std::wstring text = wideString(b.control->tooltip());
  TTTOOLINFOW info = {};
  info.cbSize = sizeof info;
  info.hwnd = GetParent(b.hwnd);
  info.uId = reinterpret_cast<UINT_PTR>(b.hwnd);
  // Relayed by the binder's own procedure rather than the tooltip's subclass.
  info.uFlags = TTF_IDISHWND;
  info.lpszText = text.data();
  b.hasTool = SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void Binder::removeTool(Bound& b) {
  if (!b.hasTool) return;
  TTTOOLINFOW info = {};
  info.cbSize = sizeof info;
  info.hwnd = GetParent(b.hwnd);
  info.uId = reinterpret_cast<UINT_PTR>(b.hwnd);
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  b.hasTool = false;
}

void Binder::relayToTooltip(Bound& b, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message < WM_MOUSEFIRST || message > WM_MOUSELAST || b.control->tooltip().empty()) return;
  if (!b.hasTool) addTool(b);
  if (!b.hasTool) return;
  MSG relayed = {b.hwnd, message, wParam, lParam, 0, {}};
  SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

// The user's events reach the model inside the window's guard already; this
// one catches what the drawing and the window's own handling may throw.
LRESULT CALLBACK Binder::childProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::win32::guardedCallback(
      u"处理控件的消息", [&] { return controlMessage(hwnd, message, wParam, lParam); },
      [&] { return classProcedure(hwnd, message, wParam, lParam); });
}

LRESULT Binder::controlMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // Null once the binder is gone; no record once the control is taken away
  // and its window is on its way out.
  auto* self = reinterpret_cast<Binder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  Bound* b = self ? self->boundByHwnd(hwnd) : nullptr;
  if (!b) return classProcedure(hwnd, message, wParam, lParam);
  self->relayToTooltip(*b, message, wParam, lParam);
  Control& c = *b->control;
  // The user's input reaches the model first. A model handler may take
  // this very control away, window and all: after each, nothing of it is
  // touched unless it is still bound.
  const auto stillBound = [self, hwnd] { return self->boundByHwnd(hwnd) != nullptr; };
  switch (message) {
    case WM_KEYDOWN:
      c.userKeyDown(static_cast<int>(wParam));
      if (!stillBound()) return 0;
      break;
    case WM_MOUSEMOVE:
      self->mouseMoved(c, wParam, lParam);
      if (!stillBound()) return 0;
      break;
    case WM_RBUTTONDOWN:
      c.userRightPress();
      if (!stillBound()) return 0;
      break;
    case WM_SETCURSOR:
      // Only for itself: a child that wants the system's pointer asks its
      // parent first and must not get the parent's.
      if (reinterpret_cast<HWND>(wParam) == hwnd && LOWORD(lParam) == HTCLIENT) {
        if (HCURSOR pointer = self->pointerOf(c)) {
          SetCursor(pointer);
          return TRUE;
        }
      }
      break;
    case WM_PAINT:
      if (self->holdsShape(c)) return self->paintWithShapes(hwnd, c, wParam, lParam);
      break;
    default:
      break;
  }
  LRESULT result = 0;
  if (const auto own = familyOf(c).message; own && own(*self, *b, message, wParam, lParam, result)) return result;
  if (isChildNotification(message) && self->handle(message, wParam, lParam, result)) return result;
  return classProcedure(hwnd, message, wParam, lParam);
}

}  // namespace vexlo::controls::win32
