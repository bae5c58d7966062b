#include "platform/win32/app_data_folder.h"

// The shell's header needs the system's first.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

namespace vexlo::platform::win32 {

std::u16string appDataFolder() {
  wchar_t path[MAX_PATH];
  // The shell's answer, not the environment variable, which a parent
  // process may have changed or dropped.
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return reinterpret_cast<const char16_t*>(path);
}

}  // namespace vexlo::platform::win32
