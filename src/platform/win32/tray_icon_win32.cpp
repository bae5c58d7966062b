#include "platform/win32/tray_icon_win32.h"

#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

TrayIconWin32::TrayIconWin32(HWND window, HICON icon) {
  record_.cbSize = sizeof record_;
  record_.hWnd = window;
  record_.uID = 0;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE | NIF_INFO;
  record_.hIcon = icon;
  record_.dwInfoFlags = NIIF_INFO;
}

void TrayIconWin32::add(std::u16string_view tooltip) {
  copyToField(record_.szTip, tooltip);
  // The balloon fields stay as they are: a re-added icon shows no old balloon.
  NOTIFYICONDATAW quiet = record_;
  quiet.szInfo[0] = L'\0';
  Shell_NotifyIconW(NIM_ADD, &quiet);
}

void TrayIconWin32::showBalloon(std::u16string_view heading, std::u16string_view text) {
  copyToField(record_.szInfoTitle, heading);
  copyToField(record_.szInfo, text);
  Shell_NotifyIconW(NIM_MODIFY, &record_);
}

void TrayIconWin32::remove() { Shell_NotifyIconW(NIM_DELETE, &record_); }

}  // namespace vexlo::platform::win32
