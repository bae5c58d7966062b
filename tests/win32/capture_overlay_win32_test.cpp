// The overlay's real window over a known frozen screen: top-most with the
// focus, the readout as readable STATIC controls, the magnifier painted
// sharp with its cross-hair, only small strips repainted by a move, and
// Escape twice closing it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "capture/win32/overlay_window_win32.h"

namespace vexlo::capture::win32 {
namespace {

void pumpMessages() {
  MSG msg;
  for (int round = 0; round < 10; ++round) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
}

std::wstring textOf(HWND h) {
  wchar_t buffer[128] = {};
  GetWindowTextW(h, buffer, 128);
  return buffer;
}

COLORREF screenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

struct CaptureOverlayWin32Test : ::testing::Test {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  OverlayWindowWin32 window;
  std::optional<RegionOverlay::Ending> ending;
  std::unique_ptr<RegionOverlay> overlay;

  // A grey screen with a pure blue pixel at (600, 400) and a yellow band
  // across rows 700 to 709.
  void SetUp() override {
    common::Bitmap frozen = common::Bitmap::filled(width, height, 0x808080);
    frozen.setColourAt(600, 400, 0xFF0000);
    for (int y = 700; y < 710; ++y)
      for (int x = 0; x < width; ++x) frozen.setColourAt(x, y, 0x00FFFF);
    SetCursorPos(600, 400);
    overlay =
        std::make_unique<RegionOverlay>(std::move(frozen), DesktopScene{}, window.pointerPosition(),
                                        RegionOverlay::Callbacks{[this](PixelPoint to) { window.movePointer(to); },
                                                                 [this](RegionOverlay::Ending e) {
                                                                   ending = std::move(e);
                                                                   window.close();
                                                                 }});
    window.open(*overlay);
    pumpMessages();
  }
  void TearDown() override { window.close(); }
  void move(int x, int y) { SendMessageW(window.window(), WM_MOUSEMOVE, 0, at(x, y)); }
  void key(int virtualKey) { SendMessageW(window.window(), WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 0); }
  // Pixels of the overlay that wait to be repainted.
  long pendingArea() {
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window.window(), update, FALSE);
    long area = 0;
    const DWORD size = GetRegionData(update, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size && GetRegionData(update, size, data)) {
      const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
      for (DWORD i = 0; i < data->rdh.nCount; ++i)
        area += (rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
    }
    DeleteObject(update);
    return area;
  }
};

TEST_F(CaptureOverlayWin32Test, CoversTheScreenTopMostWithTheFocusAndShowsTheFrozenPicture) {
  HWND w = window.window();
  ASSERT_NE(w, nullptr);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, width);
  EXPECT_EQ(r.bottom, height);
  EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetFocus(), w);
  EXPECT_EQ(screenPixel(width / 2, 705), RGB(255, 255, 0));
  EXPECT_EQ(screenPixel(width / 2, 650), RGB(128, 128, 128));
}

TEST_F(CaptureOverlayWin32Test, ReadoutIsReadableFromItsStaticControls) {
  move(600, 400);
  const std::pair<ReadoutField, const wchar_t*> expected[] = {
      {kRed, L"0"},        {kGreen, L"0"},    {kBlue, L"255"},        {kPointerX, L"600"},
      {kPointerY, L"400"}, {kHex, L"FF0000"}, {kDecimal, L"16711680"}};
  for (auto [field, text] : expected) EXPECT_EQ(textOf(window.valueWindow(field)), text) << field;

  std::vector<std::wstring> captions;
  for (HWND child = GetWindow(window.magnifier(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    EXPECT_STREQ(cls, L"Static");
    captions.push_back(textOf(child));
  }
  for (const wchar_t* caption : {L"R", L"G", L"B", L"X=", L"Y=", L"Hex:", L"Dec:"})
    EXPECT_NE(std::find(captions.begin(), captions.end(), caption), captions.end()) << caption;
  EXPECT_EQ(GetParent(window.magnifier()), window.window());
}

TEST_F(CaptureOverlayWin32Test, MagnifierShowsSharpPixelsAndTheRedCrossHair) {
  move(600, 400);
  UpdateWindow(window.window());
  RECT frame;
  GetWindowRect(window.magnifier(), &frame);
  ASSERT_EQ(frame.left, 0);
  // The pointer's pixel is the enlarged block of about 93..99, crossed at 96.
  for (int offset : {94, 95, 97, 98}) EXPECT_EQ(screenPixel(offset, 94), RGB(0, 0, 255)) << offset;
  EXPECT_EQ(screenPixel(96, 94), RGB(255, 0, 0));
  EXPECT_EQ(screenPixel(94, 96), RGB(255, 0, 0));
  EXPECT_EQ(screenPixel(101, 94), RGB(128, 128, 128));  // the neighbour stays its own colour
  EXPECT_EQ(screenPixel(30, 30), RGB(128, 128, 128));
}

TEST_F(CaptureOverlayWin32Test, MovesRepaintOnlySmallStrips) {
  move(600, 400);
  SendMessageW(window.window(), WM_LBUTTONDOWN, MK_LBUTTON, at(600, 400));
  move(700, 500);
  UpdateWindow(window.window());
  pumpMessages();
  const long screenArea = static_cast<long>(width) * height;
  for (auto [x, y] : {std::pair{710, 505}, std::pair{720, 530}, std::pair{500, 300}}) {
    move(x, y);
    const long pending = pendingArea();
    EXPECT_LT(pending, screenArea / 100) << x << "," << y;
    UpdateWindow(window.window());
  }
  EXPECT_TRUE(IsWindowVisible(window.outlineLine(0)));
  EXPECT_TRUE(IsWindowVisible(window.sizeLabel()));
  EXPECT_EQ(textOf(window.sizeLabel()), L"图片尺寸: 100 * 100");
  RECT line;
  GetWindowRect(window.outlineLine(2), &line);  // from the pointer across to the anchor
  EXPECT_EQ(line.left, 500);
  EXPECT_EQ(line.right, 601);
  EXPECT_EQ(line.top, 300);
  EXPECT_EQ(screenPixel(550, 300), RGB(255, 0, 0));
}

TEST_F(CaptureOverlayWin32Test, EnterFinishesWithTheRectangle) {
  move(590, 390);
  key(VK_RETURN);
  move(610, 402);
  key(VK_RETURN);
  EXPECT_EQ(window.window(), nullptr);
  ASSERT_TRUE(ending.has_value());
  EXPECT_TRUE(ending->finished);
  EXPECT_EQ(ending->sizeText, u"图片尺寸: 20 * 12");
  EXPECT_EQ(ending->picture.colourAt(10, 10), 0xFF0000u);
}

TEST_F(CaptureOverlayWin32Test, EscapeTwiceClosesWithoutACapture) {
  HWND w = window.window();
  move(300, 300);
  key(VK_RETURN);
  key(VK_ESCAPE);
  EXPECT_TRUE(IsWindow(w));
  EXPECT_FALSE(IsWindowVisible(window.outlineLine(0)));
  key(VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(w));
  ASSERT_TRUE(ending.has_value());
  EXPECT_FALSE(ending->finished);
}

TEST_F(CaptureOverlayWin32Test, ArrowKeysMoveTheScreenPointerWhoseMoveReachesTheOverlay) {
  move(600, 400);
  for (int virtualKey : {VK_RIGHT, VK_DOWN, VK_DOWN}) {
    key(virtualKey);
    pumpMessages();  // the system's mouse move after the pointer moved
  }
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 601);
  EXPECT_EQ(p.y, 402);
  EXPECT_EQ(textOf(window.valueWindow(kPointerY)), L"402");
}

}  // namespace
}  // namespace vexlo::capture::win32
