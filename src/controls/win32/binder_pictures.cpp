// Picture boxes, shapes and media hosts. A picture box is an owner-drawn
// STATIC that shows a named picture or the model's drawing and icons; a
// shape has no window and is drawn by its container over its background;
// a media host is the plain window the media player fills.
#include "controls/win32/artwork.h"
#include "controls/win32/binder.h"
#include "controls/win32/media_host_view.h"
#include "controls/win32/shape_view.h"
#include "platform/twips.h"

namespace vexlo::controls::win32 {

struct Binder::Pictures {
  static WindowClass pictureBoxClass(const Control&) { return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY | WS_CLIPCHILDREN}; }

  static void applyPictureBoxState(Binder& binder, Bound& b) { showPictureBox(binder, b, Property::Drawing); }

  // Icons drawn since are read now; the box then repaints.
  static void showPictureBox(Binder&, Bound& b, Property property) {
    if (property == Property::Drawing) b.icons.follow(static_cast<const PictureBox&>(*b.control));
  }

  // A static's click (STN_CLICKED).
  static void pictureBoxCommand(Binder&, Bound& b, int code) {
    if (code == STN_CLICKED) b.control->userClick();
  }

  static void drawPictureBox(Binder& binder, Bound& b, const DRAWITEMSTRUCT& item) {
    const auto& box = static_cast<const PictureBox&>(*b.control);
    if (!box.picture().empty()) {
      binder.drawPictureOf(box, item, (item.itemState & ODS_SELECTED) != 0);
      return;
    }
    RECT r = item.rcItem;
    if (isBlank(box))
      FillRect(item.hDC, &r, binder.panelBrush_);
    else
      paintPictureBox(item.hDC, r, box, b.icons, platform::twipsPerPixel(binder.dpi_));
  }

  static void applyShapeState(Binder& binder, Bound& b) {
    if (b.control->visible()) repaint(binder.handleOf(*b.control->container()), &b.area);
  }

  // Whatever changed, the container repaints where the shape was and is.
  static void showShape(Binder& binder, Bound& b, Property property) {
    HWND container = binder.handleOf(*b.control->container());
    switch (property) {
      case Property::Geometry:
        repaint(container, &b.area);
        b.area = binder.pixelRect(*b.control);
        repaint(container, &b.area);
        break;
      case Property::Visible:
      case Property::BackColour:
        repaint(container, &b.area);
        break;
      default:
        break;
    }
  }

  static WindowClass mediaHostClass(const Control&) { return {win32::mediaHostClass(), WS_CLIPCHILDREN}; }
};

const Binder::Family Binder::kPictureBoxes = {
    .windowClass = &Pictures::pictureBoxClass,
    .windowText = &Binder::nameFromTooltip,
    .applyState = &Pictures::applyPictureBoxState,
    .show = &Pictures::showPictureBox,
    .command = &Pictures::pictureBoxCommand,
    .draw = &Pictures::drawPictureBox,
};

const Binder::Family Binder::kShapes = {
    .applyState = &Pictures::applyShapeState,
    .show = &Pictures::showShape,
};

const Binder::Family Binder::kMediaHosts = {
    .windowClass = &Pictures::mediaHostClass,
};

void Binder::drawPictureOf(const Control& c, const DRAWITEMSTRUCT& item, bool pressed) {
  RECT r = item.rcItem;
  FillRect(item.hDC, &r, backgroundOf(c));
  drawPicture(item.hDC, r, c.picture(), pressed, item.hwndItem == hot_);
}

bool Binder::holdsShape(const Control& container) const {
  for (const Control* c : container.children())
    if (c->kind() == Kind::Shape) return true;
  return false;
}

void Binder::paintShapes(HDC dc, const Control& container) {
  for (const Control* c : container.children()) {
    if (c->kind() != Kind::Shape || !c->visible()) continue;
    auto found = index_.find(c);
    if (found != index_.end()) drawShapeOutline(dc, bound_[found->second].area, *c);
  }
}

LRESULT Binder::paintWithShapes(HWND hwnd, const Control& container, WPARAM wParam, LPARAM lParam) {
  // The control paints itself, then its shapes go over it, clipped to what
  // needed painting and kept off its child windows.
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  GetUpdateRgn(hwnd, update, FALSE);
  LRESULT r = classProcedure(hwnd, WM_PAINT, wParam, lParam);
  if (boundByHwnd(hwnd)) {
    HDC dc = GetDCEx(hwnd, nullptr, DCX_CACHE | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS);
    SelectClipRgn(dc, update);
    paintShapes(dc, container);
    ReleaseDC(hwnd, dc);
  }
  DeleteObject(update);
  return r;
}

}  // namespace vexlo::controls::win32
