// A frameless window filled with one colour at a given screen rectangle: a
// known picture on the screen for the capture tests to find in what Vexlo
// copies. It takes the foreground when it shows, so that keys synthesized
// afterwards are seen by Wine while one of its windows has the focus.
//
//   colour_window.exe x y w h RRGGBB
#include <windows.h>

#include <cwchar>
#include <cwctype>

namespace {

constexpr wchar_t kClassName[] = L"VexloE2EColourWindow";

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  long values[5] = {100, 100, 200, 200, 0xFF0000};
  const wchar_t* text = commandLine;
  for (int i = 0; i < 5 && text && *text; ++i) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, i == 4 ? 16 : 10);
    if (end == text) break;
    values[i] = value;
    text = end;
  }
  const COLORREF colour =
      RGB((values[4] >> 16) & 0xFF, (values[4] >> 8) & 0xFF, values[4] & 0xFF);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = CreateSolidBrush(colour);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) return 1;

  HWND window = CreateWindowExW(0, kClassName, L"colour_window", WS_POPUP, values[0], values[1],
                                values[2], values[3], nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  SetForegroundWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
