#include "platform/win32/module_path.h"

#include <windows.h>

namespace vexlo::platform::win32 {

std::u16string directoryOfModulePath(std::u16string_view modulePath) {
  std::size_t separator = modulePath.find_last_of(u"\\/");
  if (separator == std::u16string_view::npos) return {};
  std::u16string directory(modulePath.substr(0, separator));
  // "C:\Vexlo.exe" lives in the drive root "C:\", which keeps its backslash.
  if (directory.size() == 2 && directory[1] == u':') directory += u'\\';
  return directory;
}

std::u16string executableDirectory() {
  // Paths can be longer than MAX_PATH: grow until the name fits (a full
  // buffer means it was cut).
  std::u16string buffer(MAX_PATH, u'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(buffer.data()),
                                      static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= 65536) return {};
    buffer.resize(buffer.size() * 2);
  }
  return directoryOfModulePath(buffer);
}

}  // namespace vexlo::platform::win32
