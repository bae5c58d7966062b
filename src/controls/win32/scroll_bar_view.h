// A scroll bar control shows the model's value and maximum in twips; the
// user's scrolling turns into a value the model then accepts or refuses.
#pragma once

#include <windows.h>

#include <optional>

#include "controls/control.h"

namespace vexlo::controls::win32 {

// Range, page and position: the thumb reaches the model's maximum, and a
// negative maximum leaves nothing to scroll.
void showScrollRange(HWND bar, const ScrollBar& model);
void showScrollValue(HWND bar, const ScrollBar& model);

// The value a WM_VSCROLL request asks for, kept within 0..maximum; none
// for requests that move nothing (the end of a scroll).
std::optional<int> requestedScrollValue(HWND bar, const ScrollBar& model, int request);

}  // namespace vexlo::controls::win32
