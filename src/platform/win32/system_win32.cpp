#include "platform/win32/system_win32.h"

#include <iterator>
#include <string>

#include "platform/twips.h"
#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

UINT dpiOf(HWND window) {
  if (window) {
    UINT dpi = GetDpiForWindow(window);
    if (dpi) return dpi;
  }
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

ScreenMetrics ScreenWin32::metrics() const {
  ScreenMetrics m;
  m.widthPixels = GetSystemMetrics(SM_CXSCREEN);
  m.twipsPerPixelX = platform::twipsPerPixel(dpiOf(window_));
  m.twipsPerPixelY = m.twipsPerPixelX;
  return m;
}

LocalTime ClockWin32::now() const {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond};
}

void ClockWin32::sleep(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void MessageBoxWin32::exclamation(std::u16string_view text, std::u16string_view title) {
  // Short texts need no memory of their own: the report of an exhausted
  // memory still gets through.
  wchar_t shortText[512], shortTitle[64];
  std::wstring longText, longTitle;
  auto terminated = [](std::u16string_view from, auto& buffer, std::wstring& spill) -> const wchar_t* {
    if (from.size() < std::size(buffer)) {
      copyToField(buffer, from);
      return buffer;
    }
    spill = wideString(from);
    return spill.c_str();
  };
  // Above the program's own top-most windows (the window, the capture
  // overlay), where it would otherwise be hidden.
  MessageBoxW(owner_, terminated(text, shortText, longText), terminated(title, shortTitle, longTitle),
              MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
}

InstanceLockWin32::~InstanceLockWin32() {
  if (mutex_) CloseHandle(mutex_);
}

bool InstanceLockWin32::acquire() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
  // Backslashes are not allowed in a mutex name; the path stays unique without them.
  for (wchar_t& c : path)
    if (c == L'\\') c = L'/';
  std::wstring name = L"Local\\Vexlo-" + path;
  if (name.size() > MAX_PATH) name.resize(MAX_PATH);
  mutex_ = CreateMutexW(nullptr, TRUE, name.c_str());
  return mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

void MemoryWin32::trimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void ApplicationWin32::quit() { PostQuitMessage(0); }

}  // namespace vexlo::platform::win32
