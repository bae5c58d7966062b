#include "platform/win32/launcher_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

bool LauncherWin32::open(std::u16string_view file, int showCommand) {
  const std::wstring path = wideString(file);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  // No message box of the shell's own: a failure is reported in the
  // program's balloon instead.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = path.c_str();
  info.nShow = showCommand;
  return ShellExecuteExW(&info) != FALSE;
}

}  // namespace vexlo::platform::win32
