// A picture box's persistent surface: its background, the lines drawn on
// it and the icons drawn at its top left, kept until it is cleared.
#pragma once

#include <windows.h>

#include <vector>

#include "controls/control.h"
#include "platform/win32/icon_win32.h"

namespace vexlo::controls::win32 {

// The icons a picture box shows, one entry per icon the model drew (empty
// for a file without one). Each is read from its file once, when the model
// draws it, and released when the box is cleared or goes away.
class KeptIcons {
 public:
  // Catches up with the model: icons drawn since are read now; a list
  // shorter than what is kept means the box was cleared.
  void follow(const PictureBox& box);
  void release() { icons_.clear(); }
  // The live handles, oldest first.
  std::vector<HICON> handles() const;
  void draw(HDC dc, const RECT& area) const;

 private:
  std::vector<platform::win32::OwnedIcon> icons_;
};

// Nothing set and nothing drawn: the box shows its container's background.
bool isBlank(const PictureBox& box);

// Back colour (white when none), then the lines, then the icons in the
// order they were drawn.
void paintPictureBox(HDC dc, const RECT& area, const PictureBox& box, const KeptIcons& icons, double twipsPerPixel);

}  // namespace vexlo::controls::win32
