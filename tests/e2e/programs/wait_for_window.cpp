// Waits until a visible top-level window of a given window class exists.
// Used by scripts/run.sh, which cannot see Win32 window classes from Linux.
//
//   wait_for_window.exe <class name> [timeout in ms, default 30000]
// Exit code 0 when the window showed up, 1 after the timeout, 2 on bad usage.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {

struct Search {
  const wchar_t* className;
  bool found;
};

BOOL CALLBACK checkWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  wchar_t name[256] = {};
  if (IsWindowVisible(window) && GetClassNameW(window, name, 256) &&
      std::wcscmp(name, search->className) == 0) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 2) return 2;
  const DWORD timeout = count >= 3 ? std::wcstoul(arguments[2], nullptr, 10) : 30000;

  Search search{arguments[1], false};
  const ULONGLONG end = GetTickCount64() + timeout;
  do {
    EnumWindows(checkWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return 0;
    Sleep(50);
  } while (GetTickCount64() < end);
  return 1;
}
