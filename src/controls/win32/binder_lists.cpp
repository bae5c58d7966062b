// List boxes and drop-down lists: LISTBOX and COMBOBOX windows filled from
// the model's items, whose selection, chosen by a click or by the keyboard,
// reaches the model. An outline list draws its own items.
#include <algorithm>

#include "controls/win32/binder.h"
#include "platform/win32/wide.h"

namespace vexlo::controls::win32 {

using platform::win32::wide;

namespace {

constexpr int kDropDownExtraPixels = 200;

bool isCombo(const Control& c) { return c.kind() == Kind::DropDownList; }

}  // namespace

struct Binder::Lists {
  static WindowClass windowClass(const Control& c) {
    if (isCombo(c)) return {L"COMBOBOX", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL};
    WindowClass list{L"LISTBOX", WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
    if (static_cast<const ListBox&>(c).outline()) list.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    return list;
  }

  // A drop-down list's window includes the list that drops down.
  static void place(const Control& c, RECT& r) {
    if (isCombo(c)) r.bottom += kDropDownExtraPixels;
  }

  static void applyState(Binder& binder, Bound& b) {
    applyItemHeight(binder, b);
    applyItems(b);
  }

  static void show(Binder&, Bound& b, Property property) {
    if (property == Property::Items) applyItems(b);
    if (property == Property::Selection) {
      const auto& list = static_cast<const ListControl&>(*b.control);
      SendMessageW(b.hwnd, isCombo(list) ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(list.selectedIndex()), 0);
    }
  }

  static void applyItems(const Bound& b) {
    const auto& list = static_cast<const ListControl&>(*b.control);
    const bool combo = isCombo(list);
    // A long list (a folder of thousands of files) fills with its drawing
    // off and its storage made once. Redrawing is switched only for a shown
    // window: switching it back on would show a hidden one.
    const bool shown = (GetWindowLongW(b.hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown) SendMessageW(b.hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(b.hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    std::size_t characters = 0;
    for (const std::u16string& item : list.items()) characters += item.size() + 1;
    SendMessageW(b.hwnd, combo ? CB_INITSTORAGE : LB_INITSTORAGE, list.items().size(),
                 static_cast<LPARAM>(characters * sizeof(wchar_t)));
    for (const std::u16string& item : list.items())
      SendMessageW(b.hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item)));
    SendMessageW(b.hwnd, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(list.selectedIndex()), 0);
    if (shown) {
      SendMessageW(b.hwnd, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(b.hwnd, nullptr, TRUE);
    }
  }

  // An outline list's items are as tall as its icons or its text.
  static void applyItemHeight(Binder& binder, Bound& b) {
    const Control& c = *b.control;
    if (isCombo(c) || !static_cast<const ListBox&>(c).outline()) return;
    SendMessageW(b.hwnd, LB_SETITEMHEIGHT, 0, outlineItemHeight(b.hwnd, binder.fontOf(c), binder.dpi_));
  }

  // The list that drops down is wide enough for its longest entry (a drive
  // with its volume label), however narrow the closed box. Measured as it
  // drops, so that filling a list costs nothing more.
  static void applyDroppedWidth(Binder& binder, const Bound& b) {
    HDC dc = GetDC(b.hwnd);
    HGDIOBJ old = SelectObject(dc, binder.fontOf(*b.control));
    int widest = 0;
    for (const std::u16string& item : static_cast<const ListControl&>(*b.control).items()) {
      SIZE size = {};
      GetTextExtentPoint32W(dc, wide(item), static_cast<int>(item.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(b.hwnd, dc);
    SendMessageW(b.hwnd, CB_SETDROPPEDWIDTH, widest + GetSystemMetrics(SM_CXVSCROLL) + binder.toPixels(120), 0);
  }

  static void command(Binder& binder, Bound& b, int code) {
    auto& list = static_cast<ListControl&>(*b.control);
    if (isCombo(list)) {
      if (code == CBN_DROPDOWN) applyDroppedWidth(binder, b);
      if (code == CBN_SELCHANGE) list.userSelect(static_cast<int>(SendMessageW(b.hwnd, CB_GETCURSEL, 0, 0)));
      return;
    }
    const int index = static_cast<int>(SendMessageW(b.hwnd, LB_GETCURSEL, 0, 0));
    if (code == LBN_SELCHANGE && binder.keySelecting_) list.userKeySelect(index);
    if (code == LBN_SELCHANGE && !binder.keySelecting_) list.userSelect(index);
    if (code == LBN_DBLCLK) list.userDoubleClick();
  }

  static void draw(Binder& binder, Bound& b, const DRAWITEMSTRUCT& item) {
    const auto& list = static_cast<const ListControl&>(*b.control);
    drawOutlineItem(item, list, binder.fontOf(list), binder.folderIcons_, binder.dpi_);
  }

  static bool message(Binder& binder, Bound& b, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (isCombo(*b.control)) return false;
    switch (message) {
      case WM_KEYDOWN:
      case WM_CHAR:
        // The arrows, paging and typed letters move a list's selection.
        binder.keySelecting_ = true;
        result = classProcedure(b.hwnd, message, wParam, lParam);
        binder.keySelecting_ = false;
        return true;
      case WM_LBUTTONDBLCLK:
        // In an outline list one click acts (enters a directory, and the
        // list changes under the pointer): the second click of a double
        // click must not act again on whatever now lies there.
        if (!static_cast<const ListBox&>(*b.control).outline()) return false;
        result = 0;
        return true;
      default:
        return false;
    }
  }
};

const Binder::Family Binder::kLists = {
    .windowClass = &Lists::windowClass,
    .onWhite = true,
    .place = &Lists::place,
    .applyState = &Lists::applyState,
    .show = &Lists::show,
    .fontChanged = &Lists::applyItemHeight,
    .command = &Lists::command,
    .draw = &Lists::draw,
    .message = &Lists::message,
};

}  // namespace vexlo::controls::win32
