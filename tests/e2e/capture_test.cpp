// Screen capture of the real Vexlo.exe, used as a user does: F7 copies the
// whole screen and F8 opens the region overlay, while a window painted a
// known colour sits on the screen; the pictures are saved through the real
// save dialog and read back from disk by readers of this file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

// clang-format off
#include <objidl.h>  // before GDI+, which needs its property ids
#include <gdiplus.h>
// clang-format on

#include "e2e_support.h"
#include "formatter_support.h"

namespace vexlo::e2e {
namespace {

using formatter::clipboardData;
using formatter::readFileBytes;
using formatter::setText;
using formatter::writeFileBytes;

constexpr wchar_t kCaptureCaption[] = L"屏幕·截图";
constexpr wchar_t kSaveDialogTitle[] = L"保存图片文件...";
constexpr wchar_t kOverlayClass[] = L"VexloRegionOverlay";
constexpr wchar_t kMagnifierClass[] = L"VexloMagnifier";

// Red and blue differ, so a swapped byte order shows. The window reaches
// under Vexlo's window at the top centre (a copy taken before Vexlo hid
// would show Vexlo there) and lies off the screen's middle row (a picture
// stored upside down would put it elsewhere).
constexpr COLORREF kPainted = RGB(0xC8, 0x64, 0x1E);
constexpr RECT kPaintedRect{400, 10, 880, 610};

std::wstring sizeText(int width, int height) {
  return L"图片尺寸: " + std::to_wstring(width) + L" * " + std::to_wstring(height);
}

std::string describe(COLORREF c) {
  char text[32];
  std::snprintf(text, sizeof text, "RGB(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

bool closeTo(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// ----- pictures read back from disk -----------------------------------------

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;  // top row first
  COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

std::uint32_t little(const std::string& b, size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

// A 24-bit bottom-up BMP with the header sizes and row padding a reader
// relies on; anything else is a test failure and an empty picture.
std::optional<Picture> readBmp(const std::string& b) {
  if (b.size() < 54 || b.compare(0, 2, "BM") != 0) {
    ADD_FAILURE() << "not a BMP: " << b.size() << " bytes";
    return std::nullopt;
  }
  const auto width = static_cast<std::int32_t>(little(b, 18, 4));
  const auto height = static_cast<std::int32_t>(little(b, 22, 4));
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  EXPECT_EQ(little(b, 2, 4), b.size()) << "file size field";
  EXPECT_EQ(little(b, 10, 4), 54u) << "pixel data offset";
  EXPECT_EQ(little(b, 14, 4), 40u) << "info header size";
  EXPECT_GT(height, 0) << "a positive height: rows stored bottom-up";
  EXPECT_EQ(little(b, 26, 2), 1u) << "planes";
  EXPECT_EQ(little(b, 28, 2), 24u) << "bits per pixel";
  EXPECT_EQ(little(b, 30, 4), 0u) << "compression (BI_RGB)";
  if (width <= 0 || height <= 0 || b.size() != 54 + stride * height) {
    ADD_FAILURE() << "pixel data of " << b.size() - 54 << " bytes for " << width << " x " << height;
    return std::nullopt;
  }
  Picture p{width, height, {}};
  p.pixels.reserve(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const size_t row = 54 + stride * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const size_t at = row + 3 * static_cast<size_t>(x);
      p.pixels.push_back(RGB(static_cast<unsigned char>(b[at + 2]), static_cast<unsigned char>(b[at + 1]),
                             static_cast<unsigned char>(b[at])));
    }
  }
  return p;
}

// The frame size a JPEG announces in its SOF0/SOF1/SOF2 segment.
std::optional<SIZE> jpegFrameSize(const std::string& b) {
  if (b.size() < 4 || static_cast<unsigned char>(b[0]) != 0xFF || static_cast<unsigned char>(b[1]) != 0xD8)
    return std::nullopt;
  size_t at = 2;
  while (at + 4 <= b.size() && static_cast<unsigned char>(b[at]) == 0xFF) {
    const unsigned char marker = static_cast<unsigned char>(b[at + 1]);
    const size_t length = static_cast<unsigned char>(b[at + 2]) << 8 | static_cast<unsigned char>(b[at + 3]);
    if (marker >= 0xC0 && marker <= 0xC2 && at + 9 <= b.size()) {
      const auto big = [&](size_t i) {
        return static_cast<LONG>(static_cast<unsigned char>(b[i]) << 8 | static_cast<unsigned char>(b[i + 1]));
      };
      return SIZE{big(at + 7), big(at + 5)};
    }
    at += 2 + length;
  }
  return std::nullopt;
}

// The size is read from the markers by hand above; the pixels need a real
// decoder, and GDI+ is the one every Windows has.
std::optional<Picture> decodeWithGdiPlus(const std::wstring& path) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return std::nullopt;
  std::optional<Picture> result;
  {
    Gdiplus::Bitmap image(path.c_str());
    if (image.GetLastStatus() == Gdiplus::Ok) {
      Picture p{static_cast<int>(image.GetWidth()), static_cast<int>(image.GetHeight()), {}};
      for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
          Gdiplus::Color c;
          image.GetPixel(x, y, &c);
          p.pixels.push_back(RGB(c.GetR(), c.GetG(), c.GetB()));
        }
      result = std::move(p);
    }
  }
  Gdiplus::GdiplusShutdown(token);
  return result;
}

// A CF_DIB is a BMP file without its 14-byte file header.
std::optional<Picture> readDib(const std::string& dib) {
  std::string file = "BM";
  for (std::uint32_t field : {static_cast<std::uint32_t>(14 + dib.size()), 0u, 54u})
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<char>(field >> (8 * i) & 0xFF));
  return readBmp(file + dib);
}

// ----- the capture panel and its overlay ------------------------------------

// How many pixels of a label on the screen differ from its text drawn here
// the way a label draws it (default GUI font, black on the overlay's pale
// yellow): a label repainted in pieces shows parts of its text missing.
int pixelsUnlikeItsText(HWND label) {
  const RECT r = windowRect(label);
  const int width = widthOf(r), height = heightOf(r);
  const std::wstring text = textOf(label);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP drawn = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ oldBitmap = SelectObject(memory, drawn);
  HGDIOBJ oldFont = SelectObject(memory, GetStockObject(DEFAULT_GUI_FONT));
  constexpr COLORREF kBack = RGB(255, 255, 225);
  HBRUSH back = CreateSolidBrush(kBack);
  RECT box{0, 0, width, height};
  FillRect(memory, &box, back);
  DeleteObject(back);
  SetBkColor(memory, kBack);
  SetTextColor(memory, RGB(0, 0, 0));
  DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &box,
            DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCINVERT);  // equal pixels become 0
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  BITMAPINFOHEADER header{sizeof header, width, -height, 1, 32, BI_RGB};
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  const int rows =
      GetDIBits(memory, drawn, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(drawn);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows != height || pixels.empty()) return -1;
  return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](DWORD p) { return (p & 0xFFFFFF) != 0; }));
}

class Capture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(vexlo_.start());
    const RECT& r = paintedRect_;
    wchar_t arguments[80];
    std::swprintf(arguments, 80, L"%ld %ld %ld %ld %02X%02X%02X", r.left, r.top, r.right - r.left, r.bottom - r.top,
                  GetRValue(kPainted), GetGValue(kPainted), GetBValue(kPainted));
    painter_ = Process::start(binFolder() + L"\\colour_window.exe", arguments, L"");
    ASSERT_TRUE(painter_.started());
    painted_ = waitForTopLevelWindow(painter_.id(), L"VexloE2EColourWindow", 20s);
    ASSERT_NE(painted_, nullptr) << "colour_window.exe showed no window";
    ASSERT_TRUE(waitUntil([&] { return formatter::screenPixel(r.right - 5, r.bottom - 5) == kPainted; }, 5s))
        << "the painted window is not on the screen";
  }

  // F7 and F8 are polled, and Wine reports keys only while one of its
  // windows has the focus: the painted window takes it first.
  void pressWithPaintedWindowInFront(WORD key) {
    bringToFront(painted_);
    pressKey(key);
  }

  // The capture panel's frame, captioned with the size of the picture it
  // holds; like its controls, it is made when the panel first shows (a
  // capture shows it).
  HWND frame() const {
    return firstChild(vexlo_.window(), L"Button", [](HWND w) {
      const std::wstring caption = textOf(w);
      return isGroupBox(w) && (caption == kCaptureCaption || caption.rfind(L"图片尺寸:", 0) == 0);
    });
  }

  // A control of the capture panel once the panel shows it: the panel's
  // controls are made when it is first shown.
  HWND shownControl(const wchar_t* caption) const {
    HWND found = nullptr;
    waitUntil(
        [&] {
          HWND panel = frame();
          return panel && (found = findDescendant(panel, L"Button", caption)) && isVisible(found);
        },
        3s);
    return found;
  }

  HWND openOverlay() {
    pressWithPaintedWindowInFront(VK_F8);
    return waitForTopLevelWindow(vexlo_.process().id(), kOverlayClass, 5s);
  }

  // The value beside a readout caption ("R", "X=", ...) of the magnifier.
  static std::wstring readout(HWND magnifier, std::wstring_view caption) {
    HWND label = findDescendant(magnifier, L"Static", caption);
    if (!label) return L"(no caption " + std::wstring(caption) + L")";
    const RECT c = windowRect(label);
    HWND nearest = nullptr;
    for (HWND value : descendants(magnifier, L"Static")) {
      const RECT v = windowRect(value);
      if (v.top == c.top && v.left >= c.right && (!nearest || v.left < windowRect(nearest).left)) nearest = value;
    }
    return nearest ? textOf(nearest) : L"(no value)";
  }

  // Moves the pointer and waits until the overlay has seen it there.
  static bool pointOverlayAt(HWND magnifier, POINT at) {
    return movePointer(at.x, at.y) && waitUntil(
                                          [&] {
                                            return readout(magnifier, L"X=") == std::to_wstring(at.x) &&
                                                   readout(magnifier, L"Y=") == std::to_wstring(at.y);
                                          },
                                          3s);
  }

  // The overlay's size label: its one Static child (the readout's belong to
  // the magnifier).
  static HWND sizeLabel(HWND overlay) {
    for (HWND w : descendants(overlay, L"Static"))
      if (GetParent(w) == overlay) return w;
    return nullptr;
  }

  // A full-screen capture with the painted window on the screen.
  SIZE captureFullScreen() {
    const SIZE screen = screenSize();
    pressWithPaintedWindowInFront(VK_F7);
    EXPECT_TRUE(waitUntil([&] { return textOf(frame()) == sizeText(screen.cx, screen.cy); }, 5s))
        << "the capture panel is captioned " << toUtf8(textOf(frame())) << " 5 s after F7";
    return screen;
  }

  // Saves through the real dialog, typing a name without extension; returns
  // the bytes of the file the program completed it to.
  std::optional<std::string> saveAs(const std::wstring& name, const wchar_t* extension) {
    HWND save = shownControl(L"保存");
    if (!save || !clickOn(save)) {
      ADD_FAILURE() << "the capture panel shows no 保存 button";
      return std::nullopt;
    }
    HWND dialog = waitForMessageBox(vexlo_.process().id(), kSaveDialogTitle, 10s);
    if (!dialog) {
      // A modal dialog on its way disables its owner; a lost click does not.
      ADD_FAILURE() << "保存 opened no dialog titled " << toUtf8(kSaveDialogTitle) << " within 10 s; Vexlo's window is "
                    << (IsWindowEnabled(vexlo_.window()) ? "enabled" : "disabled");
      saveScreenshot(L"vexlo-capture-no-save-dialog.bmp");
      return std::nullopt;
    }
    HWND nameBox = GetDlgItem(dialog, 0x480);  // edt1, the file name
    if (!nameBox || !isVisible(nameBox)) {
      for (HWND edit : descendants(dialog, L"Edit"))
        if (isVisible(edit)) nameBox = edit;
    }
    const std::wstring typed = folder_.file(name);
    EXPECT_TRUE(setText(nameBox, typed));
    EXPECT_TRUE(pressMessageBoxButton(dialog, IDOK));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, 5s)) << "the save dialog stayed open";
    const std::wstring written = typed + extension;
    if (!waitUntil([&] { return GetFileAttributesW(written.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5s)) {
      ADD_FAILURE() << "no file " << toUtf8(written);
      return std::nullopt;
    }
    return readFileBytes(written);
  }

  RECT paintedRect_ = kPaintedRect;
  VexloInstance vexlo_;
  TempFolder folder_;
  Process painter_;
  HWND painted_ = nullptr;
};

TEST_F(Capture, F7CopiesTheWholeScreenWithoutVexloAndSavesItAsABottomUpBmp) {
  const SIZE screen = screenSize();
  pressWithPaintedWindowInFront(VK_F7);
  ASSERT_TRUE(waitUntil([&] { return textOf(frame()) == sizeText(screen.cx, screen.cy); }, 5s))
      << "the capture panel is captioned " << toUtf8(textOf(frame())) << " 5 s after F7";
  EXPECT_TRUE(waitUntil([&] { return isVisible(vexlo_.window()); }, 3s)) << "Vexlo did not come back";

  const std::optional<std::string> bytes = saveAs(L"screen", L".bmp");
  ASSERT_TRUE(bytes);
  const std::optional<Picture> picture = readBmp(*bytes);
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->width, screen.cx);
  ASSERT_EQ(picture->height, screen.cy);
  const RECT& r = kPaintedRect;
  const RECT vexlo = windowRect(vexlo_.window());
  struct Probe {
    POINT at;
    bool painted;
    const char* where;
  };
  for (const Probe& p :
       {Probe{{(vexlo.left + vexlo.right) / 2, 20}, true, "under Vexlo's window"},
        Probe{{r.left, r.top}, true, "top left corner"},
        Probe{{r.right - 1, r.bottom - 1}, true, "bottom right corner"},
        Probe{{r.left - 1, 300}, false, "left of the window"}, Probe{{r.right, 300}, false, "right of the window"},
        Probe{{640, r.bottom}, false, "below the window"}}) {
    const COLORREF seen = picture->at(p.at.x, p.at.y);
    EXPECT_EQ(seen == kPainted, p.painted) << p.where << " (" << p.at.x << "," << p.at.y << "): " << describe(seen);
  }
}

TEST_F(Capture, F8RegionChosenWithThePointerAndEnterIsSavedAsAJpegOfItsSize) {
  HWND overlay = openOverlay();
  ASSERT_NE(overlay, nullptr) << "no overlay within 5 s of F8";
  const SIZE screen = screenSize();
  const RECT cover = windowRect(overlay);
  EXPECT_TRUE(isTopMost(overlay));
  EXPECT_EQ(cover.left, 0);
  EXPECT_EQ(cover.top, 0);
  EXPECT_EQ(widthOf(cover), screen.cx);
  EXPECT_EQ(heightOf(cover), screen.cy);
  EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == overlay; }, 2s)) << "the overlay is not in front";
  const std::vector<HWND> magnifiers = descendants(overlay, kMagnifierClass);
  ASSERT_EQ(magnifiers.size(), 1u);
  HWND magnifier = magnifiers.front();

  // From inside the window to a point up and right, outside its right edge
  // (away from the start-up balloon at the top left): the program orders
  // the corners, and the picture holds both sides.
  const POINT first{kPaintedRect.right - 120, 350}, second{kPaintedRect.right + 60, 250};
  const int width = second.x - first.x, height = first.y - second.y;
  ASSERT_TRUE(pointOverlayAt(magnifier, first)) << "the readout does not follow the pointer";
  EXPECT_EQ(readout(magnifier, L"R"), std::to_wstring(GetRValue(kPainted)));
  EXPECT_EQ(readout(magnifier, L"G"), std::to_wstring(GetGValue(kPainted)));
  EXPECT_EQ(readout(magnifier, L"B"), std::to_wstring(GetBValue(kPainted)));
  ASSERT_TRUE(clickAt(first.x, first.y));
  HWND label = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (label = sizeLabel(overlay)) && isVisible(label); }, 3s))
      << "the click started no rectangle";
  ASSERT_TRUE(pointOverlayAt(magnifier, second));
  EXPECT_TRUE(waitUntil([&] { return textOf(label) == sizeText(width, height); }, 3s))
      << "the size label reads " << toUtf8(textOf(label));
  int unlike = -1;
  EXPECT_TRUE(waitUntil([&] { return (unlike = pixelsUnlikeItsText(label)) == 0; }, 2s))
      << unlike << " pixels of the size label on the screen differ from its text drawn in its font";
  EXPECT_NE(saveScreenshot(L"vexlo-capture-overlay.bmp"), L"");

  pressKey(VK_RETURN);
  EXPECT_TRUE(waitUntil([&] { return !isVisible(overlay); }, 3s)) << "Enter left the overlay open";
  ASSERT_TRUE(waitUntil([&] { return textOf(frame()) == sizeText(width, height); }, 3s))
      << "the capture panel is captioned " << toUtf8(textOf(frame()));
  HWND jpeg = shownControl(L"JPG");
  ASSERT_NE(jpeg, nullptr) << "the capture panel shows no JPG option";
  ASSERT_TRUE(clickOn(jpeg));
  ASSERT_TRUE(waitUntil([&] { return isChecked(jpeg); }, 2s));
  const std::optional<std::string> bytes = saveAs(L"region", L".jpg");
  ASSERT_TRUE(bytes);
  const std::optional<SIZE> frameSize = jpegFrameSize(*bytes);
  ASSERT_TRUE(frameSize) << "no JPEG start-of-frame marker in " << bytes->size() << " bytes";
  EXPECT_EQ(frameSize->cx, width);
  EXPECT_EQ(frameSize->cy, height);
  const std::optional<Picture> picture = decodeWithGdiPlus(folder_.file(L"region.jpg"));
  ASSERT_TRUE(picture) << "the JPEG does not decode";
  ASSERT_EQ(picture->width, width);
  ASSERT_EQ(picture->height, height);
  const int edge = kPaintedRect.right - first.x;  // the window's right edge in the picture
  for (int y = 8; y < height - 8; y += 10) {
    const COLORREF inside = picture->at(edge - 30, y), outside = picture->at(edge + 30, y);
    EXPECT_TRUE(closeTo(inside, kPainted, 12)) << "row " << y << " inside: " << describe(inside);
    EXPECT_FALSE(closeTo(outside, kPainted, 60)) << "row " << y << " outside: " << describe(outside);
  }
}

TEST_F(Capture, EscapeTwiceDropsTheRectangleThenClosesTheOverlayWithoutACapture) {
  // A full-screen capture first, which the abandoned region must empty.
  const SIZE screen = screenSize();
  pressWithPaintedWindowInFront(VK_F7);
  ASSERT_TRUE(waitUntil([&] { return textOf(frame()) == sizeText(screen.cx, screen.cy); }, 5s));
  HWND save = shownControl(L"保存");
  ASSERT_NE(save, nullptr) << "the capture panel shows no 保存 button";
  ASSERT_TRUE(IsWindowEnabled(save));

  HWND overlay = openOverlay();
  ASSERT_NE(overlay, nullptr) << "no overlay within 5 s of F8";
  const std::vector<HWND> magnifiers = descendants(overlay, kMagnifierClass);
  ASSERT_EQ(magnifiers.size(), 1u);
  ASSERT_TRUE(pointOverlayAt(magnifiers.front(), {600, 300}));
  pressKey(VK_RETURN);
  HWND label = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (label = sizeLabel(overlay)) && isVisible(label); }, 3s))
      << "Enter started no rectangle";

  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntil([&] { return !isVisible(label); }, 3s)) << "the first Escape kept the rectangle";
  EXPECT_TRUE(IsWindow(overlay) && isVisible(overlay)) << "the first Escape closed the overlay";

  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntil([&] { return !isVisible(overlay); }, 3s)) << "the second Escape left the overlay open";
  EXPECT_TRUE(waitUntil([&] { return isVisible(vexlo_.window()); }, 3s)) << "Vexlo did not come back";
  EXPECT_EQ(textOf(frame()), kCaptureCaption);
  EXPECT_FALSE(IsWindowEnabled(save)) << "保存 still offers a picture";
}

TEST_F(Capture, CopyThenReadTheClipboardAsBitmapAndPng) {
  const SIZE screen = captureFullScreen();
  HWND copy = shownControl(L"复制");
  ASSERT_NE(copy, nullptr) << "the capture panel shows no 复制 button";
  ASSERT_TRUE(formatter::setClipboardText(L"before"));

  // Ctrl+C in the panel, with the focus on one of its buttons.
  ASSERT_TRUE(clickOn(shownControl(L"BMP")));
  pressKeyWith(VK_CONTROL, 'C');
  std::optional<std::string> dib;
  ASSERT_TRUE(waitUntil([&] { return (dib = clipboardData(CF_DIB)).has_value(); }, 5s))
      << "Ctrl+C put no bitmap on the clipboard";
  const std::optional<Picture> bitmap = readDib(*dib);
  ASSERT_TRUE(bitmap);
  ASSERT_EQ(bitmap->width, screen.cx);
  ASSERT_EQ(bitmap->height, screen.cy);
  EXPECT_EQ(bitmap->at(kPaintedRect.left, kPaintedRect.top), kPainted);
  EXPECT_NE(bitmap->at(kPaintedRect.left - 1, kPaintedRect.top), kPainted);

  // The button, and the PNG rendered when this program asks for it.
  ASSERT_TRUE(formatter::setClipboardText(L"before"));
  ASSERT_TRUE(clickOn(copy));
  const UINT pngFormat = RegisterClipboardFormatW(L"PNG");
  std::optional<std::string> png;
  ASSERT_TRUE(waitUntil([&] { return (png = clipboardData(pngFormat)).has_value(); }, 5s))
      << "复制 put no PNG on the clipboard";
  ASSERT_TRUE(writeFileBytes(folder_.file(L"clipboard.png"), *png));
  const std::optional<Picture> decoded = decodeWithGdiPlus(folder_.file(L"clipboard.png"));
  ASSERT_TRUE(decoded) << "the clipboard's PNG does not decode";
  EXPECT_TRUE(decoded->width == bitmap->width && decoded->pixels == bitmap->pixels)
      << "the PNG and the bitmap show different pictures";
}

TEST_F(Capture, SaveAsPngThenReadTheFileEqualToTheBmpOfTheSameCapture) {
  captureFullScreen();
  const std::optional<std::string> bmp = saveAs(L"screen", L".bmp");
  ASSERT_TRUE(bmp);
  const std::optional<Picture> expected = readBmp(*bmp);
  ASSERT_TRUE(expected);

  HWND png = shownControl(L"PNG");
  ASSERT_NE(png, nullptr) << "the capture panel shows no PNG option";
  ASSERT_TRUE(clickOn(png));
  ASSERT_TRUE(waitUntil([&] { return isChecked(png); }, 2s));
  const std::optional<std::string> bytes = saveAs(L"screen", L".png");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->substr(0, 8), "\x89PNG\r\n\x1A\n");
  const std::optional<Picture> decoded = decodeWithGdiPlus(folder_.file(L"screen.png"));
  ASSERT_TRUE(decoded) << "the PNG does not decode";
  EXPECT_TRUE(decoded->width == expected->width && decoded->pixels == expected->pixels)
      << "the PNG lost pixels of the capture";
}

// Run apart on two monitors (scripts/on-two-monitors.sh): the primary
// 1280 x 800 and 1024 x 768 right of it. The painted window sits on the
// second one, clear of the magnifier at that monitor's top left.
class TwoMonitors : public Capture {
 protected:
  TwoMonitors() { paintedRect_ = {1480, 100, 2080, 500}; }
  void SetUp() override {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "not on the two-monitor display";
    Capture::SetUp();
  }
  static RECT virtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  }
};

TEST_F(TwoMonitors, F7CopiesBothMonitorsAndVexloStaysOnThePrimary) {
  const RECT all = virtualScreen();
  pressWithPaintedWindowInFront(VK_F7);
  ASSERT_TRUE(waitUntil([&] { return textOf(frame()) == sizeText(widthOf(all), heightOf(all)); }, 5s))
      << "the capture panel is captioned " << toUtf8(textOf(frame())) << " 5 s after F7";
  ASSERT_TRUE(waitUntil([&] { return isVisible(vexlo_.window()); }, 3s)) << "Vexlo did not come back";
  const RECT vexlo = windowRect(vexlo_.window());
  EXPECT_EQ(vexlo.top, 0);
  EXPECT_GE(vexlo.left, 0);
  EXPECT_LE(vexlo.right, GetSystemMetrics(SM_CXSCREEN)) << "Vexlo's window left the primary monitor";

  const std::optional<std::string> bytes = saveAs(L"screens", L".bmp");
  ASSERT_TRUE(bytes);
  const std::optional<Picture> picture = readBmp(*bytes);
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->width, widthOf(all));
  ASSERT_EQ(picture->height, heightOf(all));
  const RECT& r = paintedRect_;
  for (auto [x, y, painted] : {std::tuple{r.left, r.top, true}, std::tuple{r.right - 1, r.bottom - 1, true},
                               std::tuple{r.left - 1, r.top, false}, std::tuple{r.right, r.bottom - 1, false}}) {
    const COLORREF seen = picture->at(x - all.left, y - all.top);
    EXPECT_EQ(seen == kPainted, painted) << "(" << x << "," << y << "): " << describe(seen);
  }
}

TEST_F(TwoMonitors, SpaceOverAWindowTakesItsRectangle) {
  HWND overlay = openOverlay();
  ASSERT_NE(overlay, nullptr) << "no overlay within 5 s of F8";
  const RECT cover = windowRect(overlay), all = virtualScreen();
  EXPECT_TRUE(EqualRect(&cover, &all)) << "the overlay does not cover both monitors";
  const std::vector<HWND> magnifiers = descendants(overlay, kMagnifierClass);
  ASSERT_EQ(magnifiers.size(), 1u);
  const POINT inside{paintedRect_.left + 300, paintedRect_.top + 200};
  ASSERT_TRUE(pointOverlayAt(magnifiers.front(), inside)) << "the readout does not follow the pointer";
  const std::vector<HWND> outline = descendants(overlay, L"VexloWindowOutline");
  ASSERT_EQ(outline.size(), 4u);
  RECT outlined{};
  EXPECT_TRUE(waitUntil(
      [&] {
        outlined = {};
        for (HWND line : outline) {
          const RECT lineRect = windowRect(line);
          if (isVisible(line)) UnionRect(&outlined, &outlined, &lineRect);
        }
        return EqualRect(&outlined, &paintedRect_) != FALSE;
      },
      3s))
      << "the outline is at " << outlined.left << "," << outlined.top << " - " << outlined.right << ","
      << outlined.bottom;
  EXPECT_NE(saveScreenshot(L"vexlo-capture-two-monitors.bmp"), L"");

  pressKey(VK_SPACE);
  EXPECT_TRUE(waitUntil([&] { return !isVisible(overlay); }, 3s)) << "Space left the overlay open";
  ASSERT_TRUE(waitUntil([&] { return textOf(frame()) == sizeText(widthOf(paintedRect_), heightOf(paintedRect_)); }, 3s))
      << "the capture panel is captioned " << toUtf8(textOf(frame()));
  const std::optional<std::string> bytes = saveAs(L"window", L".bmp");
  ASSERT_TRUE(bytes);
  const std::optional<Picture> picture = readBmp(*bytes);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, widthOf(paintedRect_));
  EXPECT_EQ(picture->height, heightOf(paintedRect_));
  const auto unlike =
      std::count_if(picture->pixels.begin(), picture->pixels.end(), [](COLORREF c) { return c != kPainted; });
  EXPECT_EQ(unlike, 0) << "pixels of the picture are not the window's colour";
}

}  // namespace
}  // namespace vexlo::e2e
