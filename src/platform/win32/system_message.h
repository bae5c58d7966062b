// The system's own words for an error code, for the messages the user sees.
#pragma once

#include <windows.h>

#include <string>

namespace vexlo::platform::win32 {

// The text of the error in the user's language, without its line end;
// "Error <code>" when the system has none.
std::u16string systemMessage(DWORD error);

}  // namespace vexlo::platform::win32
