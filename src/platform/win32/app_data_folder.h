// The user's roaming application-data folder, where settings go when the
// executable's own folder takes no files.
#pragma once

#include <string>

namespace vexlo::platform::win32 {

// %APPDATA% as the shell knows it; empty when it cannot tell.
std::u16string appDataFolder();

}  // namespace vexlo::platform::win32
