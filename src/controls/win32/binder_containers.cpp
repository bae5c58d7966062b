// Frames and scroll bars. A frame is a group box that holds controls and
// paints the panel's background behind them; a scroll bar shows the model's
// value and range, and the user's scrolling becomes a value the model then
// accepts or refuses.
#include "controls/win32/binder.h"
#include "controls/win32/scroll_bar_view.h"

namespace vexlo::controls::win32 {

struct Binder::Containers {
  static WindowClass frameClass(const Control&) { return {L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN}; }

  static bool frameMessage(Binder& binder, Bound& b, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
      case WM_NCHITTEST:
        result = HTCLIENT;  // a group box is see-through to the mouse; a panel is not
        return true;
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(b.hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, binder.panelBrush_);
        result = 1;
        return true;
      }
      default:
        return false;
    }
  }

  // A bar wider than tall scrolls sideways.
  static WindowClass scrollBarClass(const Control& c) {
    const DWORD direction = c.rect().width > c.rect().height ? SBS_HORZ : SBS_VERT;
    return {L"SCROLLBAR", direction};
  }

  static void applyScrollState(Binder& binder, Bound& b) { showScrollBar(binder, b, Property::Range); }

  static void showScrollBar(Binder&, Bound& b, Property property) {
    const auto& bar = static_cast<const ScrollBar&>(*b.control);
    if (property == Property::Value) showScrollValue(b.hwnd, bar);
    if (property == Property::Range) showScrollRange(b.hwnd, bar);
  }

  static void scrolled(Binder&, Bound& b, int request) {
    auto& bar = static_cast<ScrollBar&>(*b.control);
    if (std::optional<int> value = requestedScrollValue(b.hwnd, bar, request)) bar.userScroll(*value);
  }
};

const Binder::Family Binder::kFrames = {
    .windowClass = &Containers::frameClass,
    .message = &Containers::frameMessage,
};

const Binder::Family Binder::kScrollBars = {
    .windowClass = &Containers::scrollBarClass,
    .applyState = &Containers::applyScrollState,
    .show = &Containers::showScrollBar,
    .scrolled = &Containers::scrolled,
};

}  // namespace vexlo::controls::win32
