#include "platform/win32/executable_name_win32.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

std::u16string baseNameOfPath(std::u16string_view path) {
  const std::size_t separator = path.find_last_of(u"\\/");
  std::u16string_view name = separator == std::u16string_view::npos ? path : path.substr(separator + 1);
  const std::size_t dot = name.rfind(u'.');
  return std::u16string(dot == std::u16string_view::npos ? name : name.substr(0, dot));
}

std::u16string executableBaseName() {
  // The longest path the system allows, so the name is never cut.
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  return baseNameOfPath(fromWide(path));
}

}  // namespace vexlo::platform::win32
