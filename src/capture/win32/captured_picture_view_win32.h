// Shows the capture panel's picture in the window the binder made for it:
// the pixels at their real size from its top left, painted straight from
// the picture the panel holds.
#pragma once

#include <windows.h>

#include "common/captured_picture.h"

namespace vexlo::capture::win32 {

// `window` is the binder's window of `picture`; both must outlive each
// other's use (the view lets go when the window is destroyed).
void showCapturedPicture(HWND window, const common::CapturedPicture& picture);

}  // namespace vexlo::capture::win32
