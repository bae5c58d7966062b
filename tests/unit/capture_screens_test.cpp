// Every monitor and a window in one step: the virtual-screen arithmetic, and
// the overlay opened through the capture panel on three monitors, one left
// of and above the primary and one above it, with windows from a fake.
#include <gtest/gtest.h>

#include "capture/capture_text.h"
#include "capture/screen_layout.h"
#include "fakes/capture_fakes.h"

using namespace vexlo;
using capture::PixelPoint;
using capture::PixelRect;

namespace {

// The primary at (0, 0); a 1024 x 768 monitor left of it reaching 268 pixels
// above; a 1920 x 1080 one above it. The virtual screen spans all three.
const PixelRect kPrimary{0, 0, 1280, 800};
const PixelRect kLeft{-1024, -268, 1024, 768};
const PixelRect kAbove{0, -1080, 1920, 1080};
const capture::ScreenLayout kLayout{{-1024, -1080, 2944, 1880}, {kPrimary, kLeft, kAbove}};

// Front to back: a window over the primary's bottom right corner reaching
// off the virtual screen, one across the left and primary monitors, and a
// large one behind both.
const PixelRect kOffScreen{1100, 600, 400, 300};
const PixelRect kAcross{-200, 100, 500, 300};
const PixelRect kBehind{100, 50, 900, 600};

// A colour for every point of the virtual screen, so a picture shows where it came from.
controls::Colour colourAt(int x, int y) { return static_cast<unsigned>((x + 2000) % 251 | (y + 2000) % 241 << 8); }

TEST(CaptureScreens, MonitorUnderThePointerOrTheNearest) {
  const std::pair<PixelPoint, PixelRect> cases[] = {
      {{1279, 799}, kPrimary}, {{-1, 0}, kLeft},      {{-1024, -268}, kLeft},
      {{0, -1}, kAbove},       {{-900, -300}, kLeft},  // a gap: nearer to the left monitor than to the one above
      {{1900, 700}, kPrimary},                         // a gap right of the primary
  };
  for (const auto& [point, monitor] : cases) EXPECT_EQ(capture::monitorAt(kLayout, point), monitor);
}

TEST(CaptureScreens, MagnifierStepsAsideOnTheMonitorUnderThePointer) {
  struct Case {
    PixelPoint magnifier, pointer, expected;
  };
  const Case cases[] = {
      {{0, 0}, {100, 100}, {1075, 547}},           // the primary's top left: to its bottom right
      {{1075, 547}, {1100, 700}, {0, 0}},          // the primary's bottom right: to its top left
      {{0, 0}, {-500, 100}, {-1024, -268}},        // another monitor: to its top left
      {{1075, 547}, {-1000, -250}, {-205, 247}},   // its top left area: to its bottom right
      {{-1024, -268}, {-10, 490}, {-1024, -268}},  // its bottom right area: to its top left
      {{0, 0}, {5, -1075}, {1715, -253}},          // the monitor above, from its top left corner
      {{1715, -253}, {1800, -100}, {0, -1080}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(capture::magnifierPlace(c.magnifier, c.pointer, capture::monitorAt(kLayout, c.pointer)), c.expected);
}

TEST(CaptureScreens, FrontWindowUnderThePointerClippedToTheVirtualScreen) {
  const capture::DesktopScene scene{kLayout, {kOffScreen, kAcross, kBehind}, 500};
  const std::pair<PixelPoint, std::optional<PixelRect>> cases[] = {
      {{1200, 700}, PixelRect{1100, 600, 400, 200}},  // cut at the virtual screen's bottom
      {{1499, 799}, PixelRect{1100, 600, 400, 200}},
      {{1500, 700}, std::nullopt},
      {{-200, 100}, kAcross},  // on the left monitor
      {{250, 300}, kAcross},   // in front of the one behind
      {{400, 300}, kBehind},
      {{1000, 700}, std::nullopt},  // the desktop
  };
  for (const auto& [point, window] : cases) EXPECT_EQ(capture::windowAt(scene, point), window);
}

TEST(CaptureScreens, DoubleClickIsTheSamePointWithinTheTime) {
  struct Case {
    capture::Click first, second;
    bool doubled;
  };
  const Case cases[] = {
      {{{10, 10}, 1000}, {{10, 10}, 1500}, true},         {{{10, 10}, 1000}, {{10, 10}, 1501}, false},
      {{{10, 10}, 1000}, {{11, 10}, 1100}, false},        {{{10, 10}, 1000}, {{10, 9}, 1100}, false},
      {{{-5, -5}, 0xFFFFFF00u}, {{-5, -5}, 0x10u}, true},  // across the time's wrap
  };
  for (const Case& c : cases) EXPECT_EQ(capture::isDoubleClick(c.first, c.second, 500), c.doubled);
}

struct CaptureScreensPanelTest : ::testing::Test {
  fakes::CaptureHarness h;
  capture::CapturePanel& p = h.panel;

  void SetUp() override {
    const PixelRect& v = kLayout.virtualScreen;
    common::Bitmap screen = common::Bitmap::filled(v.width, v.height, 0);
    for (int y = 0; y < v.height; ++y)
      for (int x = 0; x < v.width; ++x) screen.setColourAt(x, y, colourAt(x + v.left, y + v.top));
    h.screenCopier.screen = std::move(screen);
    h.desktop.shownLayout = kLayout;
    h.desktop.shownWindows = {kOffScreen, kAcross, kBehind};
  }
  capture::RegionOverlay& open(PixelPoint pointer) {
    h.overlayWindow.pointer = pointer;
    p.regionButton.userClick();
    p.overlay()->mouseMove(pointer.x, pointer.y);
    return *p.overlay();
  }
  // The panel's picture is the virtual screen's area `r`.
  void expectPictureOf(const PixelRect& r) {
    EXPECT_FALSE(p.overlayOpen());
    EXPECT_EQ(h.frame.caption(), capture::sizeText(r.width, r.height));
    const common::Bitmap& picture = p.picture.bitmap();
    ASSERT_EQ(picture.width, r.width);
    ASSERT_EQ(picture.height, r.height);
    EXPECT_EQ(picture.colourAt(0, 0), colourAt(r.left, r.top));
    EXPECT_EQ(picture.colourAt(r.width - 1, r.height - 1), colourAt(r.left + r.width - 1, r.top + r.height - 1));
  }
};

TEST_F(CaptureScreensPanelTest, FullScreenAndOverlayUseTheVirtualScreen) {
  p.fullScreenButton.userClick();
  EXPECT_EQ(h.screenCopier.areas, (std::vector<PixelRect>{kLayout.virtualScreen}));
  expectPictureOf(kLayout.virtualScreen);

  capture::RegionOverlay& overlay = open({-300, -200});
  EXPECT_EQ(overlay.readout(capture::kPointerX), u"-300");
  EXPECT_EQ(overlay.readout(capture::kPointerY), u"-200");
  EXPECT_EQ(overlay.colour(), colourAt(-300, -200));
  EXPECT_EQ(overlay.sample().colourAt(0, 0), colourAt(-311, -211));
  EXPECT_EQ(overlay.magnifierPosition(), (PixelPoint{-1024, -268}));
  overlay.primaryButton(0);
  overlay.mouseMove(-200, -150);
  overlay.primaryButton(1000);
  expectPictureOf({-300, -200, 100, 50});
}

TEST_F(CaptureScreensPanelTest, SpaceOrADoubleClickTakesTheWindowOrOverTheDesktopTheMonitor) {
  struct Case {
    const char* how;
    PixelPoint at;
    void (*take)(capture::RegionOverlay&);
    PixelRect expected;
  };
  const auto space = [](capture::RegionOverlay& o) { o.keyDown(capture::kVirtualKeySpace); };
  const auto doubleClick = [](capture::RegionOverlay& o) {
    o.primaryButton(7000);
    o.primaryButton(7400);
  };
  const Case cases[] = {
      {"space", {1200, 700}, space, {1100, 600, 400, 200}},
      {"space", {-100, 200}, space, kAcross},
      {"space over the desktop", {1000, 700}, space, kPrimary},
      {"space over the left desktop", {-900, -200}, space, kLeft},
      {"double click", {500, 500}, doubleClick, kBehind},
      {"double click over the desktop", {100, -500}, doubleClick, kAbove},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    c.take(open(c.at));
    expectPictureOf(c.expected);
    EXPECT_EQ(h.log.events.back(), "show panel");
  }
}

TEST_F(CaptureScreensPanelTest, TheWindowIsOutlinedOnlyWhileNoRectangleIsChosen) {
  capture::RegionOverlay& overlay = open({1000, 700});
  EXPECT_EQ(overlay.windowOutline(), std::nullopt);
  h.overlayWindow.changes.clear();
  overlay.mouseMove(400, 300);
  EXPECT_EQ(overlay.windowOutline(), kBehind);
  overlay.mouseMove(401, 300);  // the same window: nothing to redraw
  overlay.primaryButton(0);
  EXPECT_EQ(overlay.windowOutline(), std::nullopt);
  overlay.keyDown(capture::kVirtualKeySpace);  // ignored while choosing a rectangle
  EXPECT_TRUE(p.overlayOpen());
  overlay.mouseMove(250, 300);
  overlay.keyDown(capture::kVirtualKeyEscape);
  EXPECT_EQ(overlay.windowOutline(), kAcross);
  using namespace capture;
  EXPECT_EQ(h.overlayWindow.changes,
            (std::vector<unsigned>{kMagnifierChanged | kWindowOutlineChanged, kMagnifierChanged,
                                   kOutlineChanged | kSizeLabelChanged | kWindowOutlineChanged,
                                   kMagnifierChanged | kOutlineChanged | kSizeLabelChanged,
                                   kOutlineChanged | kSizeLabelChanged | kWindowOutlineChanged}));
}

}  // namespace
