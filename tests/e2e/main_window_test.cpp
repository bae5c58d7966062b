// The application shell of the real Vexlo.exe, seen from outside: where its
// window sits, how big it is at 96 and 144 DPI, the single-instance rule,
// collapsing and expanding with the pointer, panel selection, the F2 hot key
// and the clock. Every test starts its own Vexlo in a fresh folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>

#include "at_144_dpi.h"
#include "e2e_support.h"

namespace vexlo::e2e {
namespace {

// 5205 x 4695 twips expanded, 690 x 690 collapsed; 15 twips per pixel at
// 96 DPI, 10 at 144 DPI, rounded to the nearest pixel.
constexpr int kExpandedWidth96 = 347, kExpandedHeight96 = 313;
constexpr int kCollapsedSide96 = 46;
constexpr int kExpandedWidth144 = 521, kExpandedHeight144 = 470;
constexpr int kCollapsedSide144 = 69;

const wchar_t* const kPanelCaptions[5] = {L"Vexlo", L"Flash·影音", L"屏幕·截图", L"文件·管理", L"我的工具箱"};

// Centred as the program computes it: (screen width - width) / 2, where
// either rounding of the half pixel is right.
void expectAtTopCentre(const RECT& r) {
  const double centredLeft = (screenSize().cx - widthOf(r)) / 2.0;
  EXPECT_LE(std::abs(r.left - centredLeft), 1.0)
      << "window " << describe(r) << " is not centred on a " << screenSize().cx << " px screen";
  EXPECT_EQ(r.top, 0) << "window " << describe(r) << " is not at the top edge";
}

bool hasSize(HWND window, int width, int height, int tolerance = 0) {
  const RECT r = windowRect(window);
  return std::abs(widthOf(r) - width) <= tolerance && std::abs(heightOf(r) - height) <= tolerance;
}

// A panel frame: a group box whose caption is the panel's name.
HWND panelFrame(const VexloInstance& vexlo, int index) {
  return vexlo.control(L"Button", kPanelCaptions[index], isGroupBox);
}

// A panel selector: the button named like its panel (by its tooltip).
HWND panelSelector(const VexloInstance& vexlo, int index) {
  return vexlo.control(L"Button", kPanelCaptions[index], [](HWND window) { return !isGroupBox(window); });
}

// A control's place in its parent's client area, in pixels.
RECT placeInParent(HWND control) {
  RECT r = windowRect(control);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Where a control of the given twips rectangle lies at 144 DPI.
RECT placeAt144Dpi(int left, int top, int width, int height) {
  auto px = [](int twips) { return static_cast<LONG>(std::lround(twips / 10.0)); };
  return {px(left), px(top), px(left) + px(width), px(top) + px(height)};
}

// True when sibling a lies above sibling b.
bool liesAbove(HWND a, HWND b) {
  for (HWND next = GetWindow(a, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
    if (next == b) return true;
  }
  return false;
}

std::vector<HWND> visibleDirectChildren(HWND window) {
  std::vector<HWND> visible;
  for (HWND child : descendants(window)) {
    if (GetParent(child) == window && isVisible(child)) visible.push_back(child);
  }
  return visible;
}

// Moves the pointer into the band left of the panel area, half-way down.
// The band is 105 twips wide: 7 px at 96 DPI, 10 px at 144 DPI.
void pointIntoLeftMargin(HWND window) {
  const RECT r = windowRect(window);
  ASSERT_TRUE(movePointer(r.left + 3, r.top + heightOf(r) / 2));
}

// Touches the collapsed square and waits for the window to expand.
void expandByTouchingTheSquare(HWND window) {
  const RECT r = windowRect(window);
  ASSERT_TRUE(movePointer(r.left + widthOf(r) / 2, r.top + heightOf(r) / 2));
  ASSERT_TRUE(waitUntil([&] { return hasSize(window, kExpandedWidth96, kExpandedHeight96); }, 3s))
      << "still " << describe(windowRect(window)) << " after the pointer touched the square";
}

// The pointer rests at a point of the window (client pixels) long enough
// for a mouse move there to have taken effect.
bool collapsesWhenPointerRestsAt(HWND window, int x, int y) {
  const RECT r = windowRect(window);
  EXPECT_TRUE(movePointer(r.left + x, r.top + y));
  return waitUntil([&] { return hasSize(window, kCollapsedSide96, kCollapsedSide96); }, 1500ms);
}

std::optional<int> secondsOfDay(std::wstring_view clock) {
  if (clock.size() != 8 || clock[2] != L':' || clock[5] != L':') return std::nullopt;
  for (size_t i : {0, 1, 3, 4, 6, 7}) {
    if (!std::iswdigit(clock[i])) return std::nullopt;
  }
  auto two = [&](size_t at) { return (clock[at] - L'0') * 10 + (clock[at + 1] - L'0'); };
  if (two(0) > 23 || two(3) > 59 || two(6) > 59) return std::nullopt;
  return two(0) * 3600 + two(3) * 60 + two(6);
}

HWND findClockLabel(HWND window) {
  for (HWND label : descendants(window, L"Static")) {
    if (isVisible(label) && secondsOfDay(textOf(label))) return label;
  }
  return nullptr;
}

}  // namespace

TEST(Environment, AnsiCodePageIsChinese) {
  ASSERT_EQ(GetACP(), 936u) << "The ANSI code page is " << GetACP()
                            << ", not 936. Vexlo addresses Chinese Windows; under Wine the code page follows the Unix "
                               "locale: run with LANG=zh_CN.UTF-8 and make sure that locale is generated "
                               "(scripts/prerequisites.sh does both).";
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(vexlo_.start()); }
  VexloInstance vexlo_;
};

TEST_F(MainWindow, StartsExpandedTopMostAtTheTopEdgeCentredWithOnlyTheFirstPanel) {
  HWND window = vexlo_.window();
  EXPECT_EQ(textOf(window), kMainWindowTitle);
  EXPECT_TRUE(isTopMost(window));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION) << "the window must have no caption bar";

  const RECT outer = windowRect(window);
  EXPECT_EQ(widthOf(outer), kExpandedWidth96) << describe(outer);
  EXPECT_EQ(heightOf(outer), kExpandedHeight96) << describe(outer);
  const RECT client = clientRect(window);
  EXPECT_EQ(widthOf(client), kExpandedWidth96) << "client area " << describe(client);
  EXPECT_EQ(heightOf(client), kExpandedHeight96) << "client area " << describe(client);
  expectAtTopCentre(outer);

  // Five panels, each with its selector; at start only the reply
  // formatter's group box shows, and the others have no window until they
  // are first selected.
  HWND formatter = panelFrame(vexlo_, 0);
  ASSERT_NE(formatter, nullptr) << "no group box captioned " << toUtf8(kPanelCaptions[0]);
  EXPECT_TRUE(isVisible(formatter));
  for (int i = 0; i < 5; ++i) {
    if (i > 0)
      EXPECT_EQ(panelFrame(vexlo_, i), nullptr) << "the hidden panel has a window: " << toUtf8(kPanelCaptions[i]);
    EXPECT_NE(panelSelector(vexlo_, i), nullptr) << "no panel selector named " << toUtf8(kPanelCaptions[i]);
  }

  EXPECT_NE(saveScreenshot(L"vexlo-expanded.bmp"), L"");
}

TEST_F(MainWindow, SecondStartIsRefusedWithAMessageAndOneInstanceRemains) {
  Process second = vexlo_.startAnother();
  ASSERT_TRUE(second.started());

  HWND box = waitForMessageBox(second.id(), L"错误", 20s);
  ASSERT_NE(box, nullptr) << "the second start showed no message box titled 错误";
  EXPECT_EQ(messageBoxText(box), L"《 Vexlo 》已运行！。。。") << toUtf8(messageBoxText(box));
  // Nothing else of start-up runs while the refusal is showing.
  for (HWND window : topLevelWindows(second.id(), kMainWindowClass)) {
    EXPECT_FALSE(isVisible(window)) << "the refused instance showed a main window";
  }

  ASSERT_TRUE(pressMessageBoxButton(box, IDOK));
  EXPECT_TRUE(second.waitForExit(10s)) << "the refused instance did not end after OK";

  std::vector<HWND> mainWindows;
  for (HWND window : topLevelWindows(0, kMainWindowClass)) {
    if (isVisible(window)) mainWindows.push_back(window);
  }
  ASSERT_EQ(mainWindows.size(), 1u);
  EXPECT_EQ(mainWindows[0], vexlo_.window());
  EXPECT_TRUE(vexlo_.process().running());
  EXPECT_TRUE(hasSize(vexlo_.window(), kExpandedWidth96, kExpandedHeight96))
      << "the running instance was touched: " << describe(windowRect(vexlo_.window()));
}

TEST_F(MainWindow, PointerInTheLeftMarginCollapsesItAndTouchingTheSquareExpandsIt) {
  HWND window = vexlo_.window();
  const std::vector<HWND> shownExpanded = visibleDirectChildren(window);

  pointIntoLeftMargin(window);
  ASSERT_TRUE(waitUntil([&] { return hasSize(window, kCollapsedSide96, kCollapsedSide96); }, 3s))
      << "still " << describe(windowRect(window)) << " after the pointer entered the left margin";
  expectAtTopCentre(windowRect(window));
  EXPECT_TRUE(isTopMost(window));
  EXPECT_NE(saveScreenshot(L"vexlo-collapsed.bmp"), L"");

  // Collapsing shows the picture that is hidden while expanded, and the
  // square shows that picture and nothing else on top of it.
  std::vector<HWND> appeared;
  for (HWND child : visibleDirectChildren(window)) {
    if (std::find(shownExpanded.begin(), shownExpanded.end(), child) == shownExpanded.end()) {
      appeared.push_back(child);
    }
  }
  ASSERT_EQ(appeared.size(), 1u) << "children that showed when the window collapsed";
  HWND picture = appeared[0];
  const int side = widthOf(windowRect(window));
  for (POINT at : {POINT{side / 2, side / 2}, POINT{3, 3}, POINT{side - 6, side - 6}}) {
    EXPECT_EQ(ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE), picture)
        << "at (" << at.x << "," << at.y << ") of the square another control lies above the picture";
  }

  expandByTouchingTheSquare(window);
  if (HasFatalFailure()) return;
  expectAtTopCentre(windowRect(window));
  // The window takes its size a moment before the picture hides.
  EXPECT_TRUE(waitUntil([&] { return !isVisible(picture); }, 2s))
      << "the collapsed picture still shows after expanding";
  EXPECT_TRUE(isVisible(panelFrame(vexlo_, 0)));
}

// The band that collapses the window is X <= 105, X >= 5055 or Y >= 4515
// twips: at 96 DPI client pixels x <= 7, x >= 337 and y >= 301. The pixel
// just inside each limit must leave the window alone.
TEST_F(MainWindow, EachEdgeBandCollapsesAndThePixelInsideItDoesNot) {
  HWND window = vexlo_.window();
  const int midX = kExpandedWidth96 / 2, midY = kExpandedHeight96 / 2;
  struct Edge {
    const char* name;
    POINT inside, band;
  };
  const Edge edges[] = {
      {"left", {8, midY}, {7, midY}}, {"right", {336, midY}, {337, midY}}, {"bottom", {midX, 300}, {midX, 301}}};
  for (const Edge& edge : edges) {
    SCOPED_TRACE(edge.name);
    EXPECT_FALSE(collapsesWhenPointerRestsAt(window, edge.inside.x, edge.inside.y))
        << "collapsed at client (" << edge.inside.x << "," << edge.inside.y << ")";
    if (!hasSize(window, kExpandedWidth96, kExpandedHeight96)) expandByTouchingTheSquare(window);
    EXPECT_TRUE(collapsesWhenPointerRestsAt(window, edge.band.x, edge.band.y))
        << "did not collapse at client (" << edge.band.x << "," << edge.band.y << "): " << describe(windowRect(window));
    if (!hasSize(window, kExpandedWidth96, kExpandedHeight96)) expandByTouchingTheSquare(window);
  }
  // The strip above the panels never collapses the window.
  EXPECT_FALSE(collapsesWhenPointerRestsAt(window, midX, 4));
}

// Frames stack by index: a higher panel lies above the lower ones, and
// selecting a panel hides only those above it.
TEST_F(MainWindow, SelectorsStackThePanelsAndPanelZeroHidesTheOthers) {
  HWND frames[5] = {};
  HWND selectors[5];
  for (int i = 0; i < 5; ++i) {
    selectors[i] = panelSelector(vexlo_, i);
    ASSERT_NE(selectors[i], nullptr) << toUtf8(kPanelCaptions[i]);
  }
  // A panel's window is made when it is first selected, among the others
  // as they stack, whatever the order of selection.
  auto select = [&](int i) {
    return clickOn(selectors[i]) &&
           waitUntil([&] { return (frames[i] = panelFrame(vexlo_, i)) && isVisible(frames[i]); }, 2s);
  };
  ASSERT_TRUE(select(4)) << "the last panel did not show";
  ASSERT_TRUE(select(0));
  EXPECT_FALSE(isVisible(frames[4])) << "selecting panel 0 left the last panel showing";
  ASSERT_TRUE(select(1)) << "the 影音 panel did not show";
  ASSERT_TRUE(select(2)) << "the 截图 panel did not show";
  EXPECT_TRUE(isVisible(frames[1])) << "selecting panel 2 hid panel 1, which lies beneath it";
  EXPECT_TRUE(liesAbove(frames[2], frames[1])) << "panel 2 does not lie above panel 1";
  ASSERT_TRUE(select(3));
  EXPECT_TRUE(isVisible(frames[1]) && isVisible(frames[2]));
  EXPECT_FALSE(isVisible(frames[4]));
  EXPECT_TRUE(hasSize(vexlo_.window(), kExpandedWidth96, kExpandedHeight96));

  ASSERT_TRUE(clickOn(selectors[0]));
  EXPECT_TRUE(waitUntil([&] { return !isVisible(frames[1]) && !isVisible(frames[2]); }, 2s))
      << "selecting panel 0 left panels above it showing";
  EXPECT_TRUE(isVisible(frames[0]));
  for (int i = 1; i < 5; ++i) EXPECT_FALSE(isVisible(frames[i])) << toUtf8(kPanelCaptions[i]);
  for (int i = 1; i < 5; ++i) EXPECT_TRUE(liesAbove(frames[i], frames[i - 1])) << i;
}

// A video must stay in view: on the media panel the edges do not collapse
// the window until its auto-hide box 隐藏 is ticked.
TEST_F(MainWindow, MediaPanelStaysOpenAtTheEdgesUntilAutoHideIsTicked) {
  HWND window = vexlo_.window();
  HWND selector = panelSelector(vexlo_, 1);
  ASSERT_NE(selector, nullptr);
  ASSERT_TRUE(clickOn(selector));
  ASSERT_TRUE(waitUntil([&] { return isVisible(panelFrame(vexlo_, 1)); }, 2s));

  EXPECT_FALSE(collapsesWhenPointerRestsAt(window, 3, kExpandedHeight96 / 2))
      << "the media panel collapsed at the left edge with 隐藏 clear";
  EXPECT_FALSE(collapsesWhenPointerRestsAt(window, kExpandedWidth96 / 2, 305))
      << "the media panel collapsed at the bottom edge with 隐藏 clear";
  if (!hasSize(window, kExpandedWidth96, kExpandedHeight96)) expandByTouchingTheSquare(window);

  HWND autoHide = vexlo_.control(L"Button", L"隐藏");
  ASSERT_NE(autoHide, nullptr) << "no check box 隐藏";
  ASSERT_TRUE(isVisible(autoHide));
  ASSERT_TRUE(clickOn(autoHide));
  ASSERT_TRUE(waitUntil([&] { return isChecked(autoHide); }, 2s)) << "clicking 隐藏 did not tick it";
  EXPECT_TRUE(collapsesWhenPointerRestsAt(window, 3, kExpandedHeight96 / 2))
      << "with 隐藏 ticked the left edge did not collapse the window";
}

TEST_F(MainWindow, F2InAnotherProgramSelectsTheMediaPanelAndExpands) {
  HWND window = vexlo_.window();
  ASSERT_EQ(panelFrame(vexlo_, 1), nullptr) << "the media panel shows, or has a window before it first shows";

  pointIntoLeftMargin(window);
  ASSERT_TRUE(waitUntil([&] { return hasSize(window, kCollapsedSide96, kCollapsedSide96); }, 3s))
      << describe(windowRect(window));

  // The hot keys are polled, so they work while another program has the focus.
  Process other = Process::start(binFolder() + L"\\minimal_window.exe", L"", L"");
  ASSERT_TRUE(other.started());
  HWND otherWindow = waitForTopLevelWindow(other.id(), L"VexloE2EMinimalWindow", 20s);
  ASSERT_NE(otherWindow, nullptr);
  bringToFront(otherWindow);

  pressKey(VK_F2);
  HWND media = nullptr;
  EXPECT_TRUE(waitUntil([&] { return (media = panelFrame(vexlo_, 1)) && isVisible(media); }, 3s))
      << "the 影音 panel did not show within 3 s of F2";
  EXPECT_TRUE(waitUntil([&] { return hasSize(window, kExpandedWidth96, kExpandedHeight96); }, 3s))
      << "window " << describe(windowRect(window)) << " 3 s after F2";
  expectAtTopCentre(windowRect(window));
  EXPECT_NE(saveScreenshot(L"vexlo-f2-media-panel.bmp"), L"");
}

TEST_F(MainWindow, ClockShowsTheLocalTimeAndTicks) {
  HWND clock = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (clock = findClockLabel(vexlo_.window())) != nullptr; }, 3s))
      << "no visible label shows a time as hh:mm:ss";
  const std::wstring first = textOf(clock);

  std::wstring next;
  ASSERT_TRUE(waitUntil([&] { return (next = textOf(clock)) != first; }, 2s))
      << "the clock stayed at " << toUtf8(first) << " for 2 s";
  ASSERT_TRUE(secondsOfDay(next)) << "the clock shows " << toUtf8(next);

  SYSTEMTIME now;
  GetLocalTime(&now);
  const int expected = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
  int difference = std::abs(*secondsOfDay(next) - expected);
  difference = std::min(difference, 86400 - difference);  // around midnight
  EXPECT_LE(difference, 3) << "the clock shows " << toUtf8(next) << ", local time is " << now.wHour << ":"
                           << now.wMinute << ":" << now.wSecond;
}

using MainWindowAt144Dpi = VexloAt144Dpi;

TEST_F(MainWindowAt144Dpi, ExpandedAndCollapsedSizesScale) {
  HWND window = vexlo_.window();
  RECT r = windowRect(window);
  EXPECT_TRUE(hasSize(window, kExpandedWidth144, kExpandedHeight144, 1)) << "expanded at 144 DPI: " << describe(r);
  expectAtTopCentre(r);
  EXPECT_TRUE(isTopMost(window));
  EXPECT_NE(saveScreenshot(L"vexlo-expanded-144dpi.bmp"), L"");

  pointIntoLeftMargin(window);
  EXPECT_TRUE(waitUntil([&] { return hasSize(window, kCollapsedSide144, kCollapsedSide144, 1); }, 3s))
      << "collapsed at 144 DPI: " << describe(windowRect(window));
  expectAtTopCentre(windowRect(window));
}

// A panel's contents get their windows when the panel first shows; made
// late, they take their place at the window's DPI like the controls made at
// start-up.
TEST_F(MainWindowAt144Dpi, PanelContentsMadeWhenFirstShownScaleLikeThoseMadeAtStartUp) {
  EXPECT_EQ(panelFrame(vexlo_, 1), nullptr) << "the hidden media panel already has a window";
  HWND bold = vexlo_.control(L"Button", L"粗体");
  ASSERT_NE(bold, nullptr);
  EXPECT_EQ(describe(placeInParent(bold)), describe(placeAt144Dpi(2160, 2940, 660, 210)));

  ASSERT_TRUE(clickOn(panelSelector(vexlo_, 1)));
  HWND autoHide = nullptr;
  ASSERT_TRUE(waitUntil(
      [&] {
        autoHide = vexlo_.control(L"Button", L"隐藏");
        return autoHide && isVisible(autoHide);
      },
      2s))
      << "隐藏 did not appear with the media panel";
  HWND media = panelFrame(vexlo_, 1);
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(GetParent(autoHide), media);
  EXPECT_EQ(describe(placeInParent(autoHide)), describe(placeAt144Dpi(4110, 2580, 660, 195)));
}

}  // namespace vexlo::e2e
