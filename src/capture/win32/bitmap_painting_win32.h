// Painting a captured picture straight from its pixels: no second copy of
// the picture is ever made for the screen.
#pragma once

#include <windows.h>

#include <vector>

#include "common/bitmap.h"

namespace vexlo::capture::win32 {

// The part `area` (in the picture's own pixels) at the same place of `dc`;
// what lies beyond the picture is left as it is.
void paintBitmapArea(HDC dc, const common::Bitmap& picture, const RECT& area);

// The whole picture stretched over `target`, each pixel a sharp block.
void paintEnlarged(HDC dc, const common::Bitmap& picture, const RECT& target);

// The rectangles that make up a window's update region (`bounds` when it
// cannot be read; none when nothing needs painting), so that a few thin strips cost only their own pixels
// and not the box around them. Call before BeginPaint empties it.
std::vector<RECT> updateRects(HWND window, const RECT& bounds);

}  // namespace vexlo::capture::win32
