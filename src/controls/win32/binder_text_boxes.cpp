// Text boxes: EDIT windows whose text is the model's, typed or set by
// another program.
#include "controls/win32/binder.h"
#include "platform/win32/wide.h"

namespace vexlo::controls::win32 {

using platform::win32::wide;

struct Binder::TextBoxes {
  static WindowClass windowClass(const Control& c) {
    WindowClass edit{L"EDIT", WS_TABSTOP | ES_AUTOVSCROLL | ES_NOHIDESEL, WS_EX_CLIENTEDGE};
    if (static_cast<const TextBox&>(c).multiLine()) edit.style |= ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL;
    return edit;
  }

  static std::u16string windowText(const Control& c) { return static_cast<const TextBox&>(c).text(); }

  static void applyState(Binder& binder, Bound& b) { show(binder, b, Property::Locked); }

  static void show(Binder&, Bound& b, Property property) {
    const auto& box = static_cast<const TextBox&>(*b.control);
    if (property == Property::Text) SetWindowTextW(b.hwnd, wide(box.text()));
    if (property == Property::Locked) SendMessageW(b.hwnd, EM_SETREADONLY, box.locked(), 0);
  }

  static void command(Binder&, Bound& b, int code) {
    if (code != EN_CHANGE) return;
    int length = GetWindowTextLengthW(b.hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(b.hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    static_cast<TextBox&>(*b.control).userEdited(platform::win32::fromWide(text));
  }

  static bool message(Binder& binder, Bound& b, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Control& c = *b.control;
    switch (message) {
      case WM_SETTEXT:
        // Another program's text (the binder's own is the model's already).
        if (binder.pushing_) return false;
        result = classProcedure(b.hwnd, message, wParam, lParam);
        static_cast<TextBox&>(c).userEdited(
            std::u16string(reinterpret_cast<const char16_t*>(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"")));
        return true;
      case WM_LBUTTONDBLCLK:
        result = classProcedure(b.hwnd, message, wParam, lParam);
        c.userDoubleClick();
        return true;
      default:
        return false;
    }
  }
};

const Binder::Family Binder::kTextBoxes = {
    .windowClass = &TextBoxes::windowClass,
    .windowText = &TextBoxes::windowText,
    .onWhite = true,
    .applyState = &TextBoxes::applyState,
    .show = &TextBoxes::show,
    .command = &TextBoxes::command,
    .message = &TextBoxes::message,
};

}  // namespace vexlo::controls::win32
