#include "controls/win32/shape_view.h"

#include "controls/win32/artwork.h"

namespace vexlo::controls::win32 {

void drawShapeOutline(HDC dc, const RECT& area, const Control& shape) {
  HPEN pen = CreatePen(PS_SOLID, 1, shape.backColour() ? toColorRef(*shape.backColour()) : kShapeColour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, area.left, area.top, area.right, area.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

}  // namespace vexlo::controls::win32
