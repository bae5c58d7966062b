// A shape has no window: the container draws its outline over its own
// background, and the container's child windows, clipped out of that
// drawing, stay above it. The mouse passes through to the container.
#pragma once

#include <windows.h>

#include "controls/control.h"

namespace vexlo::controls::win32 {

// A one-pixel outline just inside `area`, in the shape's back colour or
// the program's shape blue.
void drawShapeOutline(HDC dc, const RECT& area, const Control& shape);

}  // namespace vexlo::controls::win32
