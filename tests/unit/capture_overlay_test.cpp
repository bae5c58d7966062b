// The region overlay, opened through the capture panel's region button and
// driven with mouse moves, clicks and keys on a fake frozen screen.
#include <gtest/gtest.h>

#include "capture/capture_text.h"
#include "fakes/capture_fakes.h"

using namespace vexlo;
using capture::PixelLine;
using capture::PixelPoint;

namespace {

struct CaptureOverlayTest : ::testing::Test {
  fakes::CaptureHarness h;
  capture::CapturePanel& p = h.panel;

  // A 1280 x 800 screen whose pixel (x, y) has red x % 256, green y % 256
  // and blue 7, with a pure red pixel at (500, 300) and a pure blue one beside it.
  void SetUp() override {
    common::Bitmap screen = common::Bitmap::filled(1280, 800, 0);
    for (int y = 0; y < 800; ++y)
      for (int x = 0; x < 1280; ++x)
        screen.setColourAt(x, y, static_cast<unsigned>(x % 256) | static_cast<unsigned>(y % 256) << 8 | 7u << 16);
    screen.setColourAt(500, 300, 0x0000FF);
    screen.setColourAt(501, 300, 0xFF0000);
    h.screenCopier.screen = std::move(screen);
  }
  capture::RegionOverlay& open(PixelPoint pointer = {640, 400}) {
    h.overlayWindow.pointer = pointer;
    p.regionButton.userClick();
    return *p.overlay();
  }
  void moveTo(int x, int y) { p.overlay()->mouseMove(x, y); }
  // Clicks a second apart: never a double click.
  std::uint32_t clickTime_ = 0;
  std::uint32_t nextClickTime() { return clickTime_ += 1000; }
};

TEST_F(CaptureOverlayTest, RegionCaptureCopiesTheScreenBeforeTheOverlayOpens) {
  capture::RegionOverlay& overlay = open();
  EXPECT_EQ(h.log.events, (std::vector<std::string>{"hide window", "sleep 500", "copy screen", "open overlay"}));
  EXPECT_EQ(h.overlayWindow.shown, &overlay);
  EXPECT_EQ(overlay.frozen().width, 1280);
  EXPECT_FALSE(overlay.selecting());
  EXPECT_EQ(overlay.readout(capture::kRed), u"0");
  EXPECT_EQ(overlay.readout(capture::kPointerY), u"0");
  EXPECT_TRUE(h.tray.balloons.empty());
  EXPECT_TRUE(p.saveButton.enabled());
}

TEST_F(CaptureOverlayTest, MagnifierStepsAsideFromThePointer) {
  struct Step {
    PixelPoint pointer;
    PixelPoint magnifier;
  };
  // The frame is 193 x 241 on a 1280 x 800 screen: bottom right is (1075, 547).
  const std::vector<Step> steps = {
      {{222, 270}, {1075, 547}},   // inside the top left area
      {{600, 400}, {1075, 547}},   // stays until the other corner is near
      {{1045, 517}, {1075, 547}},  // at the limits width-235, height-283: not yet
      {{1045, 518}, {1075, 547}}, {{1046, 517}, {1075, 547}}, {{1046, 518}, {0, 0}},  // beyond both
      {{223, 100}, {0, 0}},  // x = 223 is outside the top left area
      {{100, 271}, {0, 0}},  // y = 271 too
      {{0, 0}, {1075, 547}},
  };
  capture::RegionOverlay& overlay = open();
  EXPECT_EQ(overlay.magnifierPosition(), (PixelPoint{0, 0}));
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << s.pointer.x << "," << s.pointer.y);
    moveTo(s.pointer.x, s.pointer.y);
    EXPECT_EQ(overlay.magnifierPosition(), s.magnifier);
  }
}

TEST_F(CaptureOverlayTest, OpeningWithThePointerTopLeftPlacesTheMagnifierBottomRight) {
  EXPECT_EQ(open({10, 10}).magnifierPosition(), (PixelPoint{1075, 547}));
}

TEST_F(CaptureOverlayTest, ReadoutShowsTheFrozenColourInFourNotations) {
  struct Case {
    PixelPoint at;
    std::u16string red, green, blue, hex, dec;
  };
  const Case cases[] = {
      {{501, 300}, u"0", u"0", u"255", u"FF0000", u"16711680"},  // pure blue
      {{500, 300}, u"255", u"0", u"0", u"FF", u"255"},           // pure red
      {{258, 3}, u"2", u"3", u"7", u"70302", u"459522"},
  };
  capture::RegionOverlay& overlay = open();
  for (const Case& c : cases) {
    moveTo(c.at.x, c.at.y);
    EXPECT_EQ(overlay.readout(capture::kRed), c.red);
    EXPECT_EQ(overlay.readout(capture::kGreen), c.green);
    EXPECT_EQ(overlay.readout(capture::kBlue), c.blue);
    EXPECT_EQ(overlay.readout(capture::kHex), c.hex);
    EXPECT_EQ(overlay.readout(capture::kDecimal), c.dec);
    EXPECT_EQ(overlay.readout(capture::kPointerX), capture::decimalText(c.at.x));
    EXPECT_EQ(overlay.readout(capture::kPointerY), capture::decimalText(c.at.y));
    EXPECT_EQ(capture::hexText(overlay.colour()), c.hex);
  }
}

TEST_F(CaptureOverlayTest, SampleIsTheSquareAroundThePointerBlackBeyondTheScreen) {
  capture::RegionOverlay& overlay = open();
  moveTo(500, 300);
  ASSERT_EQ(overlay.sample().width, 23);
  ASSERT_EQ(overlay.sample().height, 23);
  EXPECT_EQ(overlay.sample().colourAt(11, 11), 0x0000FFu);
  EXPECT_EQ(overlay.sample().colourAt(12, 11), 0xFF0000u);
  EXPECT_EQ(overlay.sample().colourAt(0, 0), h.screenCopier.screen.colourAt(489, 289));
  moveTo(1279, 0);
  EXPECT_EQ(overlay.sample().colourAt(11, 11), h.screenCopier.screen.colourAt(1279, 0));
  EXPECT_EQ(overlay.sample().colourAt(12, 11), 0u);  // right of the screen
  EXPECT_EQ(overlay.sample().colourAt(11, 10), 0u);  // above it
}

TEST_F(CaptureOverlayTest, OutlineAndSizeLabelFollowThePointerWhileSelecting) {
  capture::RegionOverlay& overlay = open();
  moveTo(100, 120);
  overlay.primaryButton(nextClickTime());
  EXPECT_TRUE(overlay.selecting());
  EXPECT_EQ(overlay.sizeLabelText(), u"图片尺寸: 0 * 0");
  EXPECT_EQ(overlay.sizeLabelPosition(), (PixelPoint{105, 104}));
  for (const PixelLine& line : overlay.outline()) EXPECT_EQ(line, (PixelLine{{100, 120}, {100, 120}}));

  moveTo(40, 300);
  const std::array<PixelLine, 4> expected = {
      {{{100, 120}, {40, 120}}, {{100, 120}, {100, 300}}, {{40, 300}, {100, 300}}, {{40, 300}, {40, 120}}}};
  EXPECT_EQ(overlay.outline(), expected);
  EXPECT_EQ(overlay.sizeLabelText(), u"图片尺寸: 60 * 180");
}

TEST_F(CaptureOverlayTest, EitherDirectionGivesTheSameCapture) {
  struct Case {
    PixelPoint first, second;
  };
  for (const Case& c : {Case{{10, 20}, {60, 50}}, Case{{60, 50}, {10, 20}}, Case{{10, 50}, {60, 20}}}) {
    capture::RegionOverlay& overlay = open();
    moveTo(c.first.x, c.first.y);
    overlay.primaryButton(nextClickTime());
    moveTo(c.second.x, c.second.y);
    overlay.primaryButton(nextClickTime());
    EXPECT_FALSE(p.overlayOpen());
    EXPECT_EQ(h.frame.caption(), u"图片尺寸: 50 * 30");
    const common::Bitmap& picture = p.picture.bitmap();
    ASSERT_EQ(picture.width, 50);
    ASSERT_EQ(picture.height, 30);
    EXPECT_EQ(picture.colourAt(0, 0), h.screenCopier.screen.colourAt(10, 20));
    EXPECT_EQ(picture.colourAt(49, 29), h.screenCopier.screen.colourAt(59, 49));
    EXPECT_EQ(p.picture.rect().width, 750);
  }
}

TEST_F(CaptureOverlayTest, FinishingDeliversClosesAndShowsThePanel) {
  capture::RegionOverlay& overlay = open();
  h.log.events.clear();
  moveTo(200, 200);
  overlay.keyDown(capture::kVirtualKeyEnter);
  moveTo(300, 260);
  overlay.keyDown(capture::kVirtualKeyEnter);
  EXPECT_EQ(h.log.events, (std::vector<std::string>{"close overlay", "expand window", "show panel"}));
  EXPECT_TRUE(p.saveButton.enabled());
  EXPECT_EQ(overlay.frozen().pixels.size(), 0u);  // the frozen screen is released
  overlay.primaryButton(nextClickTime());         // a late click does nothing
  EXPECT_EQ(h.log.events.size(), 3u);
}

TEST_F(CaptureOverlayTest, FinishingOnTheAnchorGivesAnEmptyPicture) {
  capture::RegionOverlay& overlay = open();
  moveTo(400, 300);
  overlay.primaryButton(nextClickTime());
  overlay.primaryButton(nextClickTime());  // slower than a double click
  EXPECT_EQ(h.frame.caption(), u"图片尺寸: 0 * 0");
  EXPECT_EQ(p.picture.bitmap().width, 0);
  EXPECT_EQ(p.picture.rect().height, 0);
  EXPECT_FALSE(p.horizontalBar.enabled());
}

TEST_F(CaptureOverlayTest, CancelFirstDropsTheRectangleThenAbandonsTheCapture) {
  struct Case {
    const char* name;
    void (*cancel)(capture::RegionOverlay&);
  };
  const Case cases[] = {
      {"escape", [](capture::RegionOverlay& o) { o.keyDown(capture::kVirtualKeyEscape); }},
      {"secondary button", [](capture::RegionOverlay& o) { o.secondaryButton(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    p.capture(true);  // a capture to lose
    capture::RegionOverlay& overlay = open();
    moveTo(100, 100);
    overlay.primaryButton(nextClickTime());
    moveTo(150, 150);
    h.log.events.clear();
    c.cancel(overlay);
    EXPECT_FALSE(overlay.selecting());
    EXPECT_TRUE(p.overlayOpen());
    EXPECT_TRUE(h.log.events.empty());
    // A new rectangle can start at once.
    overlay.primaryButton(nextClickTime());
    EXPECT_EQ(overlay.anchor(), (PixelPoint{150, 150}));
    c.cancel(overlay);
    c.cancel(overlay);
    EXPECT_FALSE(p.overlayOpen());
    EXPECT_EQ(h.log.events, (std::vector<std::string>{"close overlay", "expand window"}));
    EXPECT_EQ(h.frame.caption(), u"屏幕·截图");
    EXPECT_FALSE(p.saveButton.enabled());
    EXPECT_EQ(p.picture.bitmap().width, 0);
    EXPECT_EQ(p.picture.rect().width, 0);
  }
}

TEST_F(CaptureOverlayTest, ArrowKeysMoveThePointerOnePixel) {
  capture::RegionOverlay& overlay = open({300, 300});
  moveTo(300, 300);
  const std::pair<int, PixelPoint> keys[] = {
      {capture::kVirtualKeyLeft, {299, 300}},  {capture::kVirtualKeyUp, {299, 299}},
      {capture::kVirtualKeyRight, {300, 299}}, {capture::kVirtualKeyDown, {300, 300}},
      {capture::kVirtualKeyDown, {300, 301}},  {'A', {300, 301}}};
  for (auto [key, pointer] : keys) {
    overlay.keyDown(key);
    EXPECT_EQ(h.overlayWindow.pointer, pointer);
    EXPECT_EQ(overlay.pointer(), pointer);
  }
  EXPECT_EQ(overlay.readout(capture::kPointerY), u"301");
}

TEST_F(CaptureOverlayTest, ChangesReportedAreOnlyWhatMoved) {
  capture::RegionOverlay& overlay = open();
  moveTo(600, 400);
  overlay.primaryButton(nextClickTime());
  moveTo(610, 410);
  moveTo(0, 0);
  overlay.secondaryButton();
  using namespace capture;
  EXPECT_EQ(h.overlayWindow.changes,
            (std::vector<unsigned>{kMagnifierChanged, kOutlineChanged | kSizeLabelChanged,
                                   kMagnifierChanged | kOutlineChanged | kSizeLabelChanged,
                                   kMagnifierChanged | kMagnifierMoved | kOutlineChanged | kSizeLabelChanged,
                                   kOutlineChanged | kSizeLabelChanged}));
}

TEST_F(CaptureOverlayTest, CapturesWaitWhileTheOverlayIsOpen) {
  open();
  h.log.events.clear();
  p.capture(true);
  p.capture(false);
  EXPECT_TRUE(h.log.events.empty());
  EXPECT_TRUE(p.overlayOpen());
}

}  // namespace
