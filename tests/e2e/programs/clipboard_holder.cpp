// Holds the clipboard open for a while, as a misbehaving program does, so
// that the tests can see what Vexlo does when it cannot have it.
//
//   clipboard_holder.exe <milliseconds> <event signalled once it holds it>
//
// Exit code 0 after holding it for the whole time, 1 when it could not open
// the clipboard, 2 on bad usage.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 3) return 2;
  const DWORD holdFor = std::wcstoul(arguments[1], nullptr, 10);
  HANDLE holding = OpenEventW(EVENT_MODIFY_STATE, FALSE, arguments[2]);
  if (!holding) return 2;
  HWND owner =
      CreateWindowExW(0, L"STATIC", L"clipboard holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!OpenClipboard(owner)) return 1;
  SetEvent(holding);
  Sleep(holdFor);
  CloseClipboard();
  return 0;
}
