// The smallest useful Win32 program: one window and a message loop. It is the
// yardstick for Vexlo's start-up time (scripts/measure-startup.sh) and a
// harmless foreign window for the end-to-end tests.
//
//   minimal_window.exe                    stays until closed
//   minimal_window.exe --exit-when-shown  quits a quarter of a second after its
//                                         window shows (long enough for a
//                                         poller to see the window)
#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"VexloE2EMinimalWindow";
constexpr UINT_PTR kExitTimer = 1;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kExitTimer) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
  const bool exitWhenShown = std::wcsstr(commandLine, L"--exit-when-shown") != nullptr;

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) return 1;

  HWND window = CreateWindowExW(0, kClassName, L"minimal_window", WS_OVERLAPPEDWINDOW, 100, 100,
                                320, 200, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
  UpdateWindow(window);
  if (exitWhenShown) SetTimer(window, kExitTimer, 250, nullptr);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
