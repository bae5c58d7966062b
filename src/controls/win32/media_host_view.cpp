#include "controls/win32/media_host_view.h"

namespace vexlo::controls::win32 {

const wchar_t* mediaHostClass() {
  static const wchar_t* const name = [] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"VexloMediaHost";
    RegisterClassExW(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

}  // namespace vexlo::controls::win32
