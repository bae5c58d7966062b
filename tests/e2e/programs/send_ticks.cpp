// Runs a program's one-second tick many times at once, so that a memory
// measurement can look at a program after ten minutes of ticks without
// waiting ten minutes. A tool for scripts/measure-startup.sh.
//
//   send_ticks.exe <window class> <timer id> <count>
//
// Each tick is sent (not posted), so the program has handled every one of
// them when this returns. Exit code 0 when the window was found.
#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 4) return 2;
  HWND window = FindWindowW(arguments[1], nullptr);
  if (!window) return 1;
  const WPARAM timerId = static_cast<WPARAM>(_wtoi(arguments[2]));
  const int ticks = _wtoi(arguments[3]);
  for (int i = 0; i < ticks; ++i) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(window, WM_TIMER, timerId, 0, SMTO_NORMAL, 10000, &ignored)) return 3;
  }
  return 0;
}
