// The binder's messages: what the user does in a window reaches the model,
// and what the model holds is drawn.
// First: it brings the <windows.h> that <commctrl.h> needs.
// clang-format off
#include "controls/win32/binder.h"
// clang-format on

#include <commctrl.h>
#include <windowsx.h>

#include "controls/win32/artwork.h"
#include "controls/win32/scroll_bar_view.h"
#include "controls/win32/shape_view.h"
#include "platform/twips.h"
#include "platform/win32/callback_guard_win32.h"
#include "platform/win32/wide.h"

namespace vexlo::controls::win32 {

using platform::win32::wide;

namespace {

bool isOwnerDrawnButton(const Control& c) {
  return c.kind() == Kind::PictureButton || c.kind() == Kind::GraphicalOption ||
         (c.kind() == Kind::Button && c.backColour().has_value());
}

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

// What the window's own class does with a message: the procedure the
// window had before the binder's took its place.
LRESULT classProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC)), hwnd, message, wParam,
                         lParam);
}

}  // namespace

void Binder::mouseMoved(Control& control, WPARAM wParam, LPARAM lParam) {
  const double perPixel = platform::twipsPerPixel(dpi_);
  control.userMouseMove(platform::pixelsToTwips(GET_X_LPARAM(lParam), perPixel),
                        platform::pixelsToTwips(GET_Y_LPARAM(lParam), perPixel), static_cast<int>(wParam));
}

void Binder::onCommand(Bound& b, int code) {
  if (pushing_) return;
  Control& c = *b.control;
  switch (c.kind()) {
    case Kind::TextBox:
      if (code == EN_CHANGE) {
        int length = GetWindowTextLengthW(b.hwnd);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(b.hwnd, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        static_cast<TextBox&>(c).userEdited(platform::win32::fromWide(text));
      }
      break;
    case Kind::ListBox: {
      auto& list = static_cast<ListControl&>(c);
      const int index = static_cast<int>(SendMessageW(b.hwnd, LB_GETCURSEL, 0, 0));
      if (code == LBN_SELCHANGE && keySelecting_) list.userKeySelect(index);
      if (code == LBN_SELCHANGE && !keySelecting_) list.userSelect(index);
      if (code == LBN_DBLCLK) c.userDoubleClick();
      break;
    }
    case Kind::DropDownList:
      if (code == CBN_DROPDOWN) applyDroppedWidth(b);
      if (code == CBN_SELCHANGE)
        static_cast<ListControl&>(c).userSelect(static_cast<int>(SendMessageW(b.hwnd, CB_GETCURSEL, 0, 0)));
      break;
    case Kind::Frame:
      break;
    default:
      if (code == BN_CLICKED) c.userClick();
      break;
  }
}

void Binder::scrolled(Bound& b, int request) {
  if (pushing_) return;
  auto& bar = static_cast<ScrollBar&>(*b.control);
  if (std::optional<int> value = requestedScrollValue(b.hwnd, bar, request)) bar.userScroll(*value);
}

bool Binder::holdsShape(const Control& container) const {
  for (const Control* c : container.children())
    if (c->kind() == Kind::Shape) return true;
  return false;
}

void Binder::paintShapes(HDC dc, const Control& container) {
  for (const Control* c : container.children()) {
    if (c->kind() != Kind::Shape || !c->visible()) continue;
    auto found = index_.find(c);
    if (found != index_.end()) drawShapeOutline(dc, bound_[found->second].area, *c);
  }
}

HCURSOR Binder::pointerOf(const Control& control) {
  if (control.pointer().empty()) return nullptr;
  auto [it, isNew] = pointers_.try_emplace(control.pointer(), nullptr);
  if (isNew) it->second = createPointer(control.pointer());
  return it->second;
}

void Binder::drawItem(Bound& b, const DRAWITEMSTRUCT& item) {
  Control& c = *b.control;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  if (item.CtlType == ODT_LISTBOX) {
    drawOutlineItem(item, static_cast<ListControl&>(c), fontOf(c), folderIcons_, dpi_);
    return;
  }
  const bool pressed =
      (item.itemState & ODS_SELECTED) || (c.kind() == Kind::GraphicalOption && static_cast<OptionButton&>(c).value());
  if (!c.picture().empty()) {
    FillRect(dc, &r, backgroundOf(c));
    drawPicture(dc, r, c.picture(), pressed, item.hwndItem == hot_);
    return;
  }
  if (c.kind() == Kind::PictureBox) {
    auto& box = static_cast<PictureBox&>(c);
    if (isBlank(box))
      FillRect(dc, &r, panelBrush_);
    else
      paintPictureBox(dc, r, box, b.icons, platform::twipsPerPixel(dpi_));
    return;
  }
  // A push button in its own colour.
  HBRUSH fill = CreateSolidBrush(toColorRef(c.backColour().value_or(0xF0F0F0)));
  FillRect(dc, &r, fill);
  DeleteObject(fill);
  DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, c.enabled() ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
  HGDIOBJ old = SelectObject(dc, fontOf(c));
  if (pressed) OffsetRect(&r, 1, 1);
  DrawTextW(dc, wide(c.caption()), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

bool Binder::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      // Routed by the sender's window, not by its 16-bit id.
      Bound* b = boundByHwnd(reinterpret_cast<HWND>(lParam));
      if (!b) return false;
      onCommand(*b, HIWORD(wParam));
      result = 0;
      return true;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      Bound* b = item.CtlType == ODT_MENU ? nullptr : boundByHwnd(item.hwndItem);
      if (!b) return false;
      drawItem(*b, item);
      result = TRUE;
      return true;
    }
    case WM_VSCROLL:
    case WM_HSCROLL: {  // the requests of both have the same numbers
      Bound* b = boundByHwnd(reinterpret_cast<HWND>(lParam));
      if (!b || b->control->kind() != Kind::ScrollBar) return false;
      scrolled(*b, LOWORD(wParam));
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
      if (c.kind() == Kind::TextBox || c.kind() == Kind::ListBox || c.kind() == Kind::DropDownList) {
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
  // A model handler may take this very control away, window and all: after
  // each, nothing of it is touched unless it is still bound.
  const auto stillBound = [self, hwnd] { return self->boundByHwnd(hwnd) != nullptr; };
  switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR: {
      if (message == WM_KEYDOWN) c.userKeyDown(static_cast<int>(wParam));
      if (!stillBound()) return 0;
      if (c.kind() != Kind::ListBox) break;
      // The arrows, paging and typed letters move a list's selection.
      self->keySelecting_ = true;
      const LRESULT r = classProcedure(hwnd, message, wParam, lParam);
      self->keySelecting_ = false;
      return r;
    }
    case WM_MOUSEMOVE: {
      if (isOwnerDrawnButton(c) && self->hot_ != hwnd) {
        if (self->hot_) InvalidateRect(self->hot_, nullptr, FALSE);
        self->hot_ = hwnd;
        InvalidateRect(hwnd, nullptr, FALSE);
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
      }
      self->mouseMoved(c, wParam, lParam);
      if (!stillBound()) return 0;
      break;
    }
    case WM_RBUTTONDOWN:
      c.userRightPress();
      if (!stillBound()) return 0;
      break;
    case WM_MOUSELEAVE:
      if (self->hot_ == hwnd) {
        self->hot_ = nullptr;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
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
    case WM_SETTEXT:
      if (c.kind() == Kind::TextBox && !self->pushing_) {
        LRESULT r = classProcedure(hwnd, message, wParam, lParam);
        static_cast<TextBox&>(c).userEdited(
            std::u16string(reinterpret_cast<const char16_t*>(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"")));
        return r;
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (c.kind() == Kind::TextBox) {
        LRESULT r = classProcedure(hwnd, message, wParam, lParam);
        c.userDoubleClick();
        return r;
      }
      // An owner-drawn button turns a quick second click into a double click; it is a click.
      if (isOwnerDrawnButton(c)) return classProcedure(hwnd, WM_LBUTTONDOWN, wParam, lParam);
      // In an outline list one click acts (enters a directory, and the list
      // changes under the pointer): the second click of a double click must
      // not act again on whatever now lies there.
      if (c.kind() == Kind::ListBox && static_cast<ListBox&>(c).outline()) return 0;
      break;
    case WM_PAINT:
      if (self->holdsShape(c)) {
        // The control paints itself, then its shapes go over it, clipped to
        // what needed painting and kept off its child windows.
        HRGN update = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(hwnd, update, FALSE);
        LRESULT r = classProcedure(hwnd, message, wParam, lParam);
        if (stillBound()) {
          HDC dc = GetDCEx(hwnd, nullptr, DCX_CACHE | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS);
          SelectClipRgn(dc, update);
          self->paintShapes(dc, c);
          ReleaseDC(hwnd, dc);
        }
        DeleteObject(update);
        return r;
      }
      break;
    default:
      break;
  }
  if (isChildNotification(message)) {
    LRESULT result = 0;
    if (self->handle(message, wParam, lParam, result)) return result;
  }
  if (c.kind() == Kind::Frame) {
    switch (message) {
      case WM_NCHITTEST:
        return HTCLIENT;  // a group box is see-through to the mouse; a panel is not
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, self->panelBrush_);
        return 1;
      }
      default:
        break;
    }
  }
  return classProcedure(hwnd, message, wParam, lParam);
}

}  // namespace vexlo::controls::win32
