// The program's pictures, drawn in code so they stay sharp at every DPI.
#pragma once

#include <windows.h>

#include <string>

#include "controls/control.h"

namespace vexlo::controls::win32 {

// Draws the named picture into the rectangle; `pressed` gives a selected
// option or a button held down its sunken look.
void drawPicture(HDC dc, const RECT& area, const std::string& name, bool pressed, bool hot);

// Paints the window's own background: the strip above the panels and the frame.
void drawWindowBackground(HDC dc, const RECT& client, int stripBottom);

// The named mouse pointer drawn in code ("tile": an arrow with a star over
// the favourite tiles); null for a name it does not know. The caller
// destroys it with DestroyCursor.
HCURSOR createPointer(const std::string& name);

// The model's colours are 0x00BBGGRR, the layout of a COLORREF.
inline COLORREF toColorRef(Colour colour) { return static_cast<COLORREF>(colour & 0xFFFFFF); }

// The colours the views share.
inline constexpr COLORREF kStripColour = RGB(0xDD, 0xE8, 0xF3);
inline constexpr COLORREF kPanelColour = RGB(0xF6, 0xF9, 0xFC);
inline constexpr COLORREF kAccentColour = RGB(0x2F, 0x5F, 0x96);
inline constexpr COLORREF kTitleColour = RGB(0x1F, 0x3F, 0x6A);
inline constexpr COLORREF kShapeColour = RGB(0x33, 0x66, 0xCC);

}  // namespace vexlo::controls::win32
