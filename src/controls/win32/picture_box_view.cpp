#include "controls/win32/picture_box_view.h"

#include <algorithm>

#include "controls/win32/artwork.h"
#include "platform/twips.h"

namespace vexlo::controls::win32 {

void KeptIcons::follow(const PictureBox& box) {
  const std::vector<std::u16string>& paths = box.icons();
  if (paths.size() < icons_.size()) icons_.clear();
  for (std::size_t i = icons_.size(); i < paths.size(); ++i)
    icons_.push_back(platform::win32::extractFirstIcon(paths[i]));
}

std::vector<HICON> KeptIcons::handles() const {
  std::vector<HICON> live;
  for (const platform::win32::OwnedIcon& icon : icons_)
    if (icon) live.push_back(icon.get());
  return live;
}

void KeptIcons::draw(HDC dc, const RECT& area) const {
  // Width and height 0: each icon at the size it was read at.
  for (const platform::win32::OwnedIcon& icon : icons_)
    if (icon) DrawIconEx(dc, area.left, area.top, icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
}

bool isBlank(const PictureBox& box) {
  return !box.backColour() && box.picture().empty() && box.drawing().empty() && box.icons().empty();
}

void paintPictureBox(HDC dc, const RECT& area, const PictureBox& box, const KeptIcons& icons, double twipsPerPixel) {
  const COLORREF back = box.backColour() ? toColorRef(*box.backColour()) : RGB(255, 255, 255);
  HBRUSH fill = CreateSolidBrush(back);
  FillRect(dc, &area, fill);
  DeleteObject(fill);
  auto px = [twipsPerPixel](int twips) { return platform::twipsToPixels(twips, twipsPerPixel); };
  for (const DrawnLine& line : box.drawing()) {
    HPEN pen = CreatePen(PS_SOLID, 1, toColorRef(line.colour));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, area.left + px(line.x1), area.top + px(line.y1), nullptr);
    // A horizontal line one pixel tall still shows.
    LineTo(dc, area.left + px(line.x2), area.top + std::max(px(line.y2), px(line.y1) + 1));
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  icons.draw(dc, area);
}

}  // namespace vexlo::controls::win32
