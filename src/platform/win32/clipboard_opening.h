// Opening the clipboard the way every writer of the program does.
#pragma once

#include <windows.h>

namespace vexlo::platform::win32 {

// Another program may hold the clipboard for a moment: opening it is
// retried for about a second before the caller gives up.
bool openClipboardPatiently(HWND owner);

}  // namespace vexlo::platform::win32
