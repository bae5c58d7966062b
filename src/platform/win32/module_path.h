// Where the running executable lives.
#pragma once

#include <string>
#include <string_view>

namespace vexlo::platform::win32 {

// The directory of the running executable, without a trailing backslash
// unless it is a drive root ("C:\"), so that shell::settingsPath applies.
// Empty when the system cannot tell.
std::u16string executableDirectory();

// The directory part of a module's full path, by the same rule.
std::u16string directoryOfModulePath(std::u16string_view modulePath);

}  // namespace vexlo::platform::win32
