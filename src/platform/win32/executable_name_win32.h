// The running executable's own name, which the start-with-Windows
// registration names.
#pragma once

#include <string>
#include <string_view>

namespace vexlo::platform::win32 {

// The file name of a path without its folder and its extension
// ("C:\Tools\Vexlo.exe" gives "Vexlo").
std::u16string baseNameOfPath(std::u16string_view path);

// The running executable's base name; empty when the system cannot tell.
std::u16string executableBaseName();

}  // namespace vexlo::platform::win32
