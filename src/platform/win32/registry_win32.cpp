#include "platform/win32/registry_win32.h"

#include <windows.h>

#include <initializer_list>

#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

namespace {

// Deletes one value; a value that is not there is as good as deleted.
bool deleteValue(HKEY root, REGSAM view, const std::wstring& name) {
  HKEY key = nullptr;
  LSTATUS opened = RegOpenKeyExW(root, kRunKey, 0, KEY_SET_VALUE | view, &key);
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  if (opened != ERROR_SUCCESS) return false;
  const LSTATUS deleted = RegDeleteValueW(key, name.c_str());
  RegCloseKey(key);
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool StartupRegistryWin32::registerProgram(std::u16string_view valueName, std::u16string_view commandLine) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const std::wstring name = wideString(valueName);
  const std::wstring data = wideString(commandLine);
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));  // with the terminating zero
  const LSTATUS written =
      RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes);
  RegCloseKey(key);
  return written == ERROR_SUCCESS;
}

bool StartupRegistryWin32::unregisterProgram(std::u16string_view valueName) {
  const std::wstring name = wideString(valueName);
  // Earlier versions registered for the whole machine, as 32-bit programs
  // whose values live in the machine's 32-bit view. Without the rights to
  // remove such a value it stays: only an administrator can change it.
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) deleteValue(HKEY_LOCAL_MACHINE, view, name);
  return deleteValue(HKEY_CURRENT_USER, 0, name);
}

}  // namespace vexlo::platform::win32
