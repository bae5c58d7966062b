// Buttons, check boxes, option buttons and labels: BUTTON and STATIC
// windows whose click reaches the model. A button in its own colour and the
// picture buttons are drawn here, and light up under the pointer.
#include "controls/win32/artwork.h"
#include "controls/win32/binder.h"
#include "platform/win32/wide.h"

namespace vexlo::controls::win32 {

using platform::win32::wide;

struct Binder::Buttons {
  static bool ownerDrawn(const Control& c) {
    return c.kind() == Kind::PictureButton || c.kind() == Kind::GraphicalOption ||
           (c.kind() == Kind::Button && c.backColour().has_value());
  }

  static WindowClass windowClass(const Control& c) {
    switch (c.kind()) {
      case Kind::Label: {
        WindowClass label{L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX};
        if (static_cast<const Label&>(c).pathEllipsis()) label.style |= SS_PATHELLIPSIS;
        return label;
      }
      case Kind::OptionButton:
        return {L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON};
      case Kind::CheckBox:
        return {L"BUTTON", WS_TABSTOP | BS_CHECKBOX};
      case Kind::Button: {
        const DWORD look = c.backColour() ? BS_OWNERDRAW : BS_PUSHBUTTON;
        return {L"BUTTON", WS_TABSTOP | look};
      }
      default:  // the picture buttons
        return {L"BUTTON", BS_OWNERDRAW};
    }
  }

  static std::u16string windowText(const Control& c) {
    const bool picture = c.kind() == Kind::PictureButton || c.kind() == Kind::GraphicalOption;
    return picture ? nameFromTooltip(c) : c.caption();
  }

  static void applyState(Binder& binder, Bound& b) { show(binder, b, Property::Value); }

  static void show(Binder&, Bound& b, Property property) {
    if (property != Property::Value) return;
    const Control& c = *b.control;
    if (c.kind() == Kind::CheckBox)
      SendMessageW(b.hwnd, BM_SETCHECK, static_cast<const CheckBox&>(c).value() ? BST_CHECKED : BST_UNCHECKED, 0);
    if (c.kind() == Kind::OptionButton)
      SendMessageW(b.hwnd, BM_SETCHECK, static_cast<const OptionButton&>(c).value() ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  // A label's click (STN_CLICKED) has the same number.
  static void command(Binder&, Bound& b, int code) {
    if (code == BN_CLICKED) b.control->userClick();
  }

  static void draw(Binder& binder, Bound& b, const DRAWITEMSTRUCT& item) {
    const Control& c = *b.control;
    const bool pressed = (item.itemState & ODS_SELECTED) ||
                         (c.kind() == Kind::GraphicalOption && static_cast<const OptionButton&>(c).value());
    if (!c.picture().empty()) {
      binder.drawPictureOf(c, item, pressed);
      return;
    }
    // A push button in its own colour.
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    HBRUSH fill = CreateSolidBrush(toColorRef(c.backColour().value_or(0xF0F0F0)));
    FillRect(dc, &r, fill);
    DeleteObject(fill);
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, c.enabled() ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ old = SelectObject(dc, binder.fontOf(c));
    if (pressed) OffsetRect(&r, 1, 1);
    DrawTextW(dc, wide(c.caption()), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    if (item.itemState & ODS_FOCUS) {
      RECT focus = item.rcItem;
      InflateRect(&focus, -3, -3);
      DrawFocusRect(dc, &focus);
    }
  }

  static bool message(Binder& binder, Bound& b, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND hwnd = b.hwnd;
    switch (message) {
      case WM_MOUSEMOVE:
        if (ownerDrawn(*b.control) && binder.hot_ != hwnd) {
          if (binder.hot_) InvalidateRect(binder.hot_, nullptr, FALSE);
          binder.hot_ = hwnd;
          InvalidateRect(hwnd, nullptr, FALSE);
          TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd, 0};
          TrackMouseEvent(&track);
        }
        return false;
      case WM_MOUSELEAVE:
        if (binder.hot_ == hwnd) {
          binder.hot_ = nullptr;
          InvalidateRect(hwnd, nullptr, FALSE);
        }
        return false;
      case WM_LBUTTONDBLCLK:
        // An owner-drawn button turns a quick second click into a double
        // click; it is a click.
        if (!ownerDrawn(*b.control)) return false;
        result = classProcedure(hwnd, WM_LBUTTONDOWN, wParam, lParam);
        return true;
      default:
        return false;
    }
  }
};

const Binder::Family Binder::kButtons = {
    .windowClass = &Buttons::windowClass,
    .windowText = &Buttons::windowText,
    .applyState = &Buttons::applyState,
    .show = &Buttons::show,
    .command = &Buttons::command,
    .draw = &Buttons::draw,
    .message = &Buttons::message,
};

}  // namespace vexlo::controls::win32
