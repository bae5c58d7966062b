// Functions of the system libraries that only some actions use, looked up
// when an action first needs them. Start-up then loads only what every start
// uses: under Wine, Media Foundation, GDI+, the common dialogs and the
// multimedia library cost about a fifth of start-up, and some Windows
// editions have no Media Foundation at all, which would stop the program
// from starting.
#pragma once

#include <windows.h>

#include <string>

namespace vexlo::platform::win32 {

// The function `name` of the system library `library` (a file in the
// system folder), or null when the library or the function is missing.
// The library stays loaded for the program's life.
template <typename Function>
Function* systemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    module = LoadLibraryW((std::wstring(folder, length) + L"\\" + library).c_str());
  }
  if (!module) return nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace vexlo::platform::win32
