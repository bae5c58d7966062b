// The media player's area: a plain black window of the program's own class
// inside which the player makes its video and transport windows.
#pragma once

#include <windows.h>

namespace vexlo::controls::win32 {

// Registered on first use.
const wchar_t* mediaHostClass();

}  // namespace vexlo::controls::win32
