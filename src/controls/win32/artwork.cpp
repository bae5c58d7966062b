#include "controls/win32/artwork.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace vexlo::controls::win32 {

namespace {

struct Pen {
  Pen(HDC dc, COLORREF colour, int width) : dc(dc), pen(CreatePen(PS_SOLID, width, colour)) {
    old = SelectObject(dc, pen);
  }
  ~Pen() {
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  HDC dc;
  HPEN pen;
  HGDIOBJ old;
};

struct Brush {
  Brush(HDC dc, COLORREF colour) : dc(dc), brush(CreateSolidBrush(colour)) { old = SelectObject(dc, brush); }
  ~Brush() {
    SelectObject(dc, old);
    DeleteObject(brush);
  }
  HDC dc;
  HBRUSH brush;
  HGDIOBJ old;
};

void verticalGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  TRIVERTEX v[2] = {};
  v[0].x = r.left;
  v[0].y = r.top;
  v[0].Red = static_cast<COLOR16>(GetRValue(top) << 8);
  v[0].Green = static_cast<COLOR16>(GetGValue(top) << 8);
  v[0].Blue = static_cast<COLOR16>(GetBValue(top) << 8);
  v[1].x = r.right;
  v[1].y = r.bottom;
  v[1].Red = static_cast<COLOR16>(GetRValue(bottom) << 8);
  v[1].Green = static_cast<COLOR16>(GetGValue(bottom) << 8);
  v[1].Blue = static_cast<COLOR16>(GetBValue(bottom) << 8);
  GRADIENT_RECT g = {0, 1};
  GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

// The face of a picture button: a rounded tile, sunken when pressed.
void tile(HDC dc, const RECT& r, bool pressed, bool hot, COLORREF base) {
  RECT inner = r;
  verticalGradient(dc, inner, pressed ? RGB(0xB8, 0xCC, 0xE4) : (hot ? RGB(0xFF, 0xFF, 0xFF) : RGB(0xF8, 0xFB, 0xFE)),
                   pressed ? RGB(0xD4, 0xE2, 0xF2) : base);
  Pen border(dc, pressed ? kAccentColour : RGB(0x8E, 0xA9, 0xC8), 1);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  int round = std::max(3, static_cast<int>((r.bottom - r.top) / 5));
  RoundRect(dc, r.left, r.top, r.right, r.bottom, round, round);
  SelectObject(dc, oldBrush);
}

struct Box {
  int x, y, w, h;  // the drawing square inside the tile
  int px(double f) const { return x + static_cast<int>(std::lround(f * w)); }
  int py(double f) const { return y + static_cast<int>(std::lround(f * h)); }
  int unit() const { return std::max(1, w / 10); }
};

Box glyphBox(const RECT& r, bool pressed) {
  int w = r.right - r.left, h = r.bottom - r.top;
  int side = std::min(w, h) * 7 / 10;
  int offset = pressed ? 1 : 0;
  return {r.left + (w - side) / 2 + offset, r.top + (h - side) / 2 + offset, side, side};
}

void polygon(HDC dc, const Box& b, std::initializer_list<std::pair<double, double>> points, COLORREF fill) {
  POINT p[12];
  int n = 0;
  for (auto [fx, fy] : points) p[n++] = {b.px(fx), b.py(fy)};
  Brush brush(dc, fill);
  Pen pen(dc, fill, 1);
  Polygon(dc, p, n);
}

void line(HDC dc, const Box& b, double x1, double y1, double x2, double y2, COLORREF colour, int width) {
  Pen pen(dc, colour, width);
  MoveToEx(dc, b.px(x1), b.py(y1), nullptr);
  LineTo(dc, b.px(x2), b.py(y2));
}

void ellipse(HDC dc, const Box& b, double x1, double y1, double x2, double y2, COLORREF fill, COLORREF edge,
             int width) {
  Brush brush(dc, fill);
  Pen pen(dc, edge, width);
  Ellipse(dc, b.px(x1), b.py(y1), b.px(x2), b.py(y2));
}

void rect(HDC dc, const Box& b, double x1, double y1, double x2, double y2, COLORREF fill, COLORREF edge) {
  Brush brush(dc, fill);
  Pen pen(dc, edge, 1);
  Rectangle(dc, b.px(x1), b.py(y1), b.px(x2), b.py(y2));
}

void letterV(HDC dc, const Box& b, COLORREF colour) {
  polygon(dc, b, {{0.12, 0.18}, {0.34, 0.18}, {0.5, 0.62}, {0.66, 0.18}, {0.88, 0.18}, {0.6, 0.86}, {0.4, 0.86}},
          colour);
}

void drawGlyph(HDC dc, const Box& b, const std::string& name) {
  const COLORREF ink = kAccentColour;
  const int u = b.unit();
  if (name == "panel0") {  // the formatter: a pen over lines of text
    line(dc, b, 0.1, 0.3, 0.6, 0.3, ink, u);
    line(dc, b, 0.1, 0.55, 0.5, 0.55, ink, u);
    line(dc, b, 0.1, 0.8, 0.4, 0.8, ink, u);
    polygon(dc, b, {{0.62, 0.82}, {0.95, 0.25}, {0.85, 0.15}, {0.52, 0.72}}, RGB(0xE0, 0x6C, 0x2E));
  } else if (name == "panel1") {  // media: play
    ellipse(dc, b, 0.02, 0.02, 0.98, 0.98, RGB(0xE8, 0xF1, 0xFB), ink, u);
    polygon(dc, b, {{0.38, 0.26}, {0.76, 0.5}, {0.38, 0.74}}, RGB(0x2E, 0x9E, 0x5B));
  } else if (name == "panel2") {  // capture: viewfinder corners around a dot
    struct Corner {
      double x, y, dx, dy;
    };
    for (const Corner& k : {Corner{0.05, 0.05, 1, 1}, Corner{0.95, 0.05, -1, 1}, Corner{0.05, 0.95, 1, -1},
                            Corner{0.95, 0.95, -1, -1}}) {
      const double x = k.x, y = k.y, dx = k.dx, dy = k.dy;
      line(dc, b, x, y, x + 0.3 * dx, y, ink, u);
      line(dc, b, x, y, x, y + 0.3 * dy, ink, u);
    }
    ellipse(dc, b, 0.35, 0.35, 0.65, 0.65, RGB(0xD6, 0x3B, 0x3B), RGB(0xD6, 0x3B, 0x3B), 1);
  } else if (name == "panel3") {  // files: a folder
    polygon(dc, b, {{0.05, 0.2}, {0.4, 0.2}, {0.5, 0.32}, {0.95, 0.32}, {0.95, 0.85}, {0.05, 0.85}},
            RGB(0xF0, 0xB4, 0x3C));
    line(dc, b, 0.05, 0.42, 0.95, 0.42, RGB(0xC8, 0x8A, 0x1E), 1);
  } else if (name == "panel4") {  // toolbox: four tiles
    const COLORREF colours[] = {RGB(0x3C, 0x7D, 0xD9), RGB(0x2E, 0x9E, 0x5B), RGB(0xE0, 0x6C, 0x2E),
                                RGB(0x8E, 0x5B, 0xC8)};
    int k = 0;
    for (double y : {0.08, 0.54})
      for (double x : {0.08, 0.54}) rect(dc, b, x, y, x + 0.38, y + 0.38, colours[k], colours[k]), ++k;
  } else if (name == "cd-open" || name == "cd-close") {  // a disc with an arrow
    ellipse(dc, b, 0.0, 0.1, 0.8, 0.9, RGB(0xD8, 0xDE, 0xE6), RGB(0x7A, 0x88, 0x99), 1);
    ellipse(dc, b, 0.32, 0.42, 0.48, 0.58, RGB(0xFF, 0xFF, 0xFF), RGB(0x7A, 0x88, 0x99), 1);
    if (name == "cd-open")
      polygon(dc, b, {{0.62, 0.45}, {0.81, 0.12}, {1.0, 0.45}}, RGB(0x2E, 0x9E, 0x5B));
    else
      polygon(dc, b, {{0.62, 0.55}, {0.81, 0.88}, {1.0, 0.55}}, RGB(0x2E, 0x9E, 0x5B));
  } else if (name == "recycle") {  // a bin
    rect(dc, b, 0.15, 0.12, 0.85, 0.24, ink, ink);
    rect(dc, b, 0.4, 0.02, 0.6, 0.12, ink, ink);
    polygon(dc, b, {{0.22, 0.3}, {0.78, 0.3}, {0.7, 0.98}, {0.3, 0.98}}, RGB(0x6C, 0x8E, 0xB8));
    for (double x : {0.4, 0.5, 0.6}) line(dc, b, x, 0.4, x, 0.88, RGB(0xFF, 0xFF, 0xFF), 1);
  } else if (name == "power") {  // the power sign
    Pen pen(dc, RGB(0xC8, 0x3A, 0x3A), u + 1);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Arc(dc, b.px(0.1), b.py(0.12), b.px(0.9), b.py(0.92), b.px(0.35), b.py(0.12), b.px(0.65), b.py(0.12));
    SelectObject(dc, oldBrush);
    line(dc, b, 0.5, 0.0, 0.5, 0.45, RGB(0xC8, 0x3A, 0x3A), u + 1);
  } else if (name == "open") {  // an open folder
    polygon(dc, b, {{0.04, 0.14}, {0.36, 0.14}, {0.46, 0.26}, {0.86, 0.26}, {0.86, 0.86}, {0.04, 0.86}},
            RGB(0xC8, 0x8A, 0x1E));
    polygon(dc, b, {{0.2, 0.42}, {0.99, 0.42}, {0.84, 0.86}, {0.04, 0.86}}, RGB(0xF5, 0xC2, 0x4C));
  } else if (name == "new-folder") {  // a folder with a plus
    polygon(dc, b, {{0.02, 0.3}, {0.32, 0.3}, {0.42, 0.42}, {0.8, 0.42}, {0.8, 0.92}, {0.02, 0.92}},
            RGB(0xF0, 0xB4, 0x3C));
    line(dc, b, 0.78, 0.04, 0.78, 0.4, RGB(0x2E, 0x9E, 0x5B), u + 1);
    line(dc, b, 0.6, 0.22, 0.96, 0.22, RGB(0x2E, 0x9E, 0x5B), u + 1);
  } else if (name == "cut") {  // scissors
    line(dc, b, 0.25, 0.02, 0.62, 0.66, ink, u);
    line(dc, b, 0.75, 0.02, 0.38, 0.66, ink, u);
    ellipse(dc, b, 0.08, 0.62, 0.42, 0.96, RGB(0xFF, 0xFF, 0xFF), RGB(0xD6, 0x3B, 0x3B), u);
    ellipse(dc, b, 0.58, 0.62, 0.92, 0.96, RGB(0xFF, 0xFF, 0xFF), RGB(0xD6, 0x3B, 0x3B), u);
  } else if (name == "copy") {  // two sheets
    rect(dc, b, 0.06, 0.04, 0.62, 0.7, RGB(0xFF, 0xFF, 0xFF), ink);
    rect(dc, b, 0.38, 0.3, 0.94, 0.96, RGB(0xFF, 0xFF, 0xFF), ink);
    for (double y : {0.48, 0.62, 0.76}) line(dc, b, 0.48, y, 0.84, y, RGB(0x8E, 0xA9, 0xC8), 1);
  } else if (name == "paste") {  // a sheet on a clipboard
    rect(dc, b, 0.1, 0.1, 0.78, 0.96, RGB(0xC8, 0x8A, 0x1E), RGB(0x8A, 0x5A, 0x00));
    rect(dc, b, 0.3, 0.02, 0.58, 0.18, RGB(0x7A, 0x88, 0x99), RGB(0x7A, 0x88, 0x99));
    rect(dc, b, 0.42, 0.36, 0.96, 0.98, RGB(0xFF, 0xFF, 0xFF), ink);
    for (double y : {0.54, 0.68, 0.82}) line(dc, b, 0.52, y, 0.86, y, RGB(0x8E, 0xA9, 0xC8), 1);
  } else if (name == "rename") {  // a name box with the text cursor
    rect(dc, b, 0.02, 0.26, 0.98, 0.74, RGB(0xFF, 0xFF, 0xFF), ink);
    line(dc, b, 0.14, 0.5, 0.5, 0.5, RGB(0x33, 0x33, 0x33), u + 1);
    line(dc, b, 0.66, 0.12, 0.66, 0.88, RGB(0xD6, 0x3B, 0x3B), u);
    line(dc, b, 0.56, 0.12, 0.76, 0.12, RGB(0xD6, 0x3B, 0x3B), u);
    line(dc, b, 0.56, 0.88, 0.76, 0.88, RGB(0xD6, 0x3B, 0x3B), u);
  } else if (name == "delete") {  // a red cross
    line(dc, b, 0.14, 0.14, 0.86, 0.86, RGB(0xD6, 0x3B, 0x3B), u + 2);
    line(dc, b, 0.86, 0.14, 0.14, 0.86, RGB(0xD6, 0x3B, 0x3B), u + 2);
  } else if (name == "exit") {  // a cross
    line(dc, b, 0.2, 0.2, 0.8, 0.8, RGB(0xFF, 0xFF, 0xFF), u + 1);
    line(dc, b, 0.8, 0.2, 0.2, 0.8, RGB(0xFF, 0xFF, 0xFF), u + 1);
  }
}

// The tile pointer on a 32x32 grid: an arrow with its tip at the hot spot
// and a gold star at its foot. Drawn twice: in colour over black, and in
// black over white as the mask that cuts its outline out of the screen.
constexpr int kPointerSize = 32;
constexpr POINT kPointerHotSpot = {1, 1};

void drawTilePointer(HDC dc, bool mask) {
  const auto inkOr = [mask](COLORREF colour) { return mask ? RGB(0, 0, 0) : colour; };
  const POINT arrow[] = {{1, 1}, {1, 23}, {6, 18}, {10, 27}, {14, 25}, {10, 17}, {17, 17}};
  {
    Brush fill(dc, inkOr(RGB(0xFF, 0xFF, 0xFF)));
    Pen edge(dc, RGB(0, 0, 0), 1);
    Polygon(dc, arrow, static_cast<int>(std::size(arrow)));
  }
  POINT star[10];
  const double centreX = 23, centreY = 23, outer = 8.5, inner = 3.6;
  for (int i = 0; i < 10; ++i) {
    const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
    const double radius = i % 2 ? inner : outer;
    star[i] = {static_cast<LONG>(std::lround(centreX + radius * std::cos(angle))),
               static_cast<LONG>(std::lround(centreY + radius * std::sin(angle)))};
  }
  Brush fill(dc, inkOr(RGB(0xF5, 0xB8, 0x00)));
  Pen edge(dc, inkOr(RGB(0x8A, 0x5A, 0x00)), 1);
  Polygon(dc, star, 10);
}

}  // namespace

void drawPicture(HDC dc, const RECT& area, const std::string& name, bool pressed, bool hot) {
  SetBkMode(dc, TRANSPARENT);
  if (name == "collapsed") {
    verticalGradient(dc, area, RGB(0x4A, 0x86, 0xC8), RGB(0x1F, 0x4A, 0x80));
    int w = area.right - area.left;
    Box b{area.left + w / 6, area.top + w / 6, w * 2 / 3, w * 2 / 3};
    letterV(dc, b, RGB(0xFF, 0xFF, 0xFF));
    return;
  }
  if (name == "exit") {
    RECT r = area;
    verticalGradient(dc, r, hot ? RGB(0xF0, 0x70, 0x70) : RGB(0xE0, 0x5A, 0x5A), RGB(0xB8, 0x2E, 0x2E));
    int h = area.bottom - area.top;
    Box b{area.left + (area.right - area.left - h * 6 / 10) / 2, area.top + h * 2 / 10, h * 6 / 10, h * 6 / 10};
    drawGlyph(dc, b, name);
    return;
  }
  tile(dc, area, pressed, hot, RGB(0xE2, 0xEC, 0xF7));
  drawGlyph(dc, glyphBox(area, pressed), name);
}

void drawWindowBackground(HDC dc, const RECT& client, int stripBottom) {
  HBRUSH brush = CreateSolidBrush(kStripColour);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  // A thin accent under the strip and around the edge frame the panels.
  Pen accent(dc, kAccentColour, 1);
  MoveToEx(dc, client.left + 4, stripBottom, nullptr);
  LineTo(dc, client.right - 4, stripBottom);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, client.left, client.top, client.right, client.bottom);
  SelectObject(dc, oldBrush);
}

HCURSOR createPointer(const std::string& name) {
  if (name != "tile") return nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  // A device bitmap carries no alpha, so the mask alone decides what shows.
  HBITMAP colour = CreateCompatibleBitmap(screen, kPointerSize, kPointerSize);
  HBITMAP mask = CreateBitmap(kPointerSize, kPointerSize, 1, 1, nullptr);
  ReleaseDC(nullptr, screen);
  const RECT all = {0, 0, kPointerSize, kPointerSize};
  HGDIOBJ old = SelectObject(dc, colour);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  drawTilePointer(dc, false);
  SelectObject(dc, mask);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  drawTilePointer(dc, true);
  SelectObject(dc, old);
  DeleteDC(dc);
  ICONINFO info = {FALSE, static_cast<DWORD>(kPointerHotSpot.x), static_cast<DWORD>(kPointerHotSpot.y), mask, colour};
  HCURSOR cursor = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  return cursor;
}

}  // namespace vexlo::controls::win32
