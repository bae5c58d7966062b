// The capture's copy to the clipboard (the button, Ctrl+C in the panel and
// in the overlay, a clipboard held by another program) and its third save
// format, PNG, with fake services.
#include <gtest/gtest.h>

#include "fakes/capture_fakes.h"
#include "fakes/shell_harness.h"

using namespace vexlo;
using capture::ClipboardResult;

namespace {

struct CaptureCopyTest : ::testing::Test {
  fakes::CaptureHarness h;
  capture::CapturePanel& p = h.panel;

  void captureScreenOf(int width, int height) {
    h.screenCopier.screen = common::Bitmap::filled(width, height, 0x336699);
    p.fullScreenButton.userClick();
  }
  const fakes::FakeTray::Balloon& lastReport() { return h.tray.balloons.back(); }
};

TEST_F(CaptureCopyTest, EachFormatSavesWithItsOwnFilterExtensionAndEncoding) {
  struct Case {
    controls::OptionButton capture::CapturePanel::*option;
    std::u16string report, filterName, filterPattern;
    bool qualityUsable;
    std::u16string typed, written;
    std::string bytes;
  };
  const Case cases[] = {
      {&capture::CapturePanel::pngOption, u" 保存格式 < PNG > ", u"PNG 图片文件 (*.PNG)", u"*.PNG", false,
       u"C:\\s\\shot", u"C:\\s\\shot.png", "PNG 3x2"},
      {&capture::CapturePanel::pngOption, u" 保存格式 < PNG > ", u"PNG 图片文件 (*.PNG)", u"*.PNG", false,
       u"C:\\s\\a.png", u"C:\\s\\a.png", "PNG 3x2"},
      {&capture::CapturePanel::pngOption, u" 保存格式 < PNG > ", u"PNG 图片文件 (*.PNG)", u"*.PNG", false,
       u"C:\\s\\b.PNG", u"C:\\s\\b.PNG.png", "PNG 3x2"},
      {&capture::CapturePanel::pngOption, u" 保存格式 < PNG > ", u"PNG 图片文件 (*.PNG)", u"*.PNG", false,
       u"C:\\s\\c.jpg", u"C:\\s\\c.jpg.png", "PNG 3x2"},
      {&capture::CapturePanel::jpegOption, u" 保存格式 < JPG > ", u"压缩位图文件 (*.JPG)", u"*.JPG", true,
       u"C:\\s\\d.png", u"C:\\s\\d.png.jpg", "JPEG 3x2 q100"},
      {&capture::CapturePanel::bmpOption, u" 保存格式 < BMP > ", u"位图文件 (*.BMP)", u"*.BMP", false, u"C:\\s\\e.png",
       u"C:\\s\\e.png.bmp", ""},
  };
  EXPECT_TRUE(p.bmpOption.value());
  EXPECT_FALSE(p.pngOption.value());
  captureScreenOf(3, 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
    (p.*c.option).userClick();
    EXPECT_EQ(lastReport().heading, u"设置:");
    EXPECT_EQ(lastReport().text, c.report);
    EXPECT_EQ(p.qualityList.enabled(), c.qualityUsable);
    EXPECT_EQ(p.qualityLabel.enabled(), c.qualityUsable);
    h.dialogs.chosenPath = c.typed;
    p.saveButton.userClick();
    EXPECT_EQ(h.dialogs.requests.back().filterName, c.filterName);
    EXPECT_EQ(h.dialogs.requests.back().filterPattern, c.filterPattern);
    ASSERT_EQ(h.files.files.count(c.written), 1u);
    if (!c.bytes.empty()) EXPECT_EQ(h.files.files[c.written], c.bytes);
    EXPECT_EQ(lastReport().text, u" 保存 < 截图 > ");
  }
  EXPECT_EQ(h.encoder.formats, (std::vector<capture::ImageFormat>{capture::ImageFormat::Png, capture::ImageFormat::Png,
                                                                  capture::ImageFormat::Png, capture::ImageFormat::Png,
                                                                  capture::ImageFormat::Jpeg}));
}

TEST_F(CaptureCopyTest, PngAsksBeforeReplacingAndReportsAFailedEncoding) {
  captureScreenOf(2, 2);
  p.pngOption.userClick();
  h.files.files[u"C:\\s\\old.png"] = "old bytes";
  h.dialogs.answerYes = false;
  h.dialogs.chosenPath = u"C:\\s\\old";
  p.saveButton.userClick();
  EXPECT_EQ(h.dialogs.questions, std::vector<std::u16string>{u"文件已存在，要替换吗？C:\\s\\old.png"});
  EXPECT_EQ(h.files.files[u"C:\\s\\old.png"], "old bytes");

  h.encoder.failingStatus = 7;
  h.dialogs.chosenPath = u"C:\\s\\new";
  p.saveButton.userClick();
  EXPECT_EQ(h.dialogs.messages, std::vector<std::u16string>{u"不能保存这个图像: 7"});
  EXPECT_EQ(h.files.files.count(u"C:\\s\\new.png"), 0u);
  EXPECT_EQ(h.files.writeCount, 0);
}

TEST_F(CaptureCopyTest, CopyIsOfferedExactlyWhenSaveIs) {
  struct Step {
    const char* what;
    std::function<void()> act;
    bool offered;
  };
  const Step steps[] = {
      {"at start", [] {}, false},
      {"full screen", [&] { captureScreenOf(4, 4); }, true},
      {"region opened", [&] { p.regionButton.userClick(); }, true},
      {"region abandoned", [&] { p.overlay()->keyDown(capture::kVirtualKeyEscape); }, false},
      {"region finished",
       [&] {
         p.regionButton.userClick();
         p.overlay()->primaryButton();
         p.overlay()->mouseMove(3, 2);
         p.overlay()->primaryButton();
       },
       true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    EXPECT_EQ(p.saveButton.enabled(), s.offered);
    EXPECT_EQ(p.copyButton.enabled(), s.offered);
  }
}

// The clipboard reads the picture where it is: every later capture, full
// or region, finished or abandoned, must leave it the copied one.
TEST_F(CaptureCopyTest, CopyPlacesThePictureReportsItAndKeepsItThroughLaterCaptures) {
  captureScreenOf(5, 3);
  const common::Bitmap copied = p.picture.bitmap();
  p.copyButton.userClick();
  ASSERT_EQ(h.clipboard.places, 1);
  EXPECT_EQ(h.clipboard.placed, &p.picture.bitmap());
  EXPECT_EQ(lastReport().heading, u"当前操作:");
  EXPECT_EQ(lastReport().text, u" 复制 < 截图 > ");
  EXPECT_TRUE(h.dialogs.messages.empty());

  captureScreenOf(7, 7);
  p.regionButton.userClick();
  p.overlay()->keyDown(capture::kVirtualKeyEscape);
  for (const char* step : {"after a full screen and an abandoned region", "after a finished region"}) {
    SCOPED_TRACE(step);
    EXPECT_EQ(h.clipboard.placed->width, 5);
    EXPECT_EQ(h.clipboard.placed->pixels, copied.pixels);
    p.regionButton.userClick();
    p.overlay()->primaryButton();
    p.overlay()->primaryButton();
  }
}

TEST_F(CaptureCopyTest, AClipboardThatCannotTakeThePictureIsToldAndNothingIsLost) {
  struct Case {
    ClipboardResult answer;
    int width;
    std::u16string_view message;
  };
  const Case cases[] = {
      {ClipboardResult::Busy, 4, capture::kPictureClipboardBusyMessage},
      {ClipboardResult::Failed, 4, capture::kPictureClipboardFailedMessage},
      {ClipboardResult::Placed, 0, capture::kNothingToCopyMessage},  // an empty rectangle
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    if (c.width > 0) {
      captureScreenOf(c.width, c.width);
    } else {  // two clicks on one point
      p.regionButton.userClick();
      p.overlay()->primaryButton();
      p.overlay()->primaryButton();
    }
    h.tray.balloons.clear();
    h.dialogs.messages.clear();
    h.clipboard.answer = c.answer;
    p.copyButton.userClick();
    EXPECT_EQ(h.dialogs.messages, std::vector<std::u16string>{std::u16string(c.message)});
    EXPECT_TRUE(h.tray.balloons.empty()) << "a copy that did not happen is not reported as done";
    EXPECT_EQ(h.clipboard.places, 0);
    EXPECT_EQ(p.picture.bitmap().width, c.width);
    EXPECT_TRUE(p.copyButton.enabled());
  }
}

TEST_F(CaptureCopyTest, CtrlCInTheOverlayFinishesTheRectangleAndCopiesIt) {
  p.regionButton.userClick();
  capture::RegionOverlay& overlay = *p.overlay();
  overlay.copyShortcut();  // no rectangle yet: nothing to finish
  EXPECT_FALSE(overlay.ended());
  overlay.mouseMove(100, 50);
  overlay.primaryButton();
  overlay.mouseMove(40, 80);
  overlay.copyShortcut();
  EXPECT_TRUE(overlay.ended());
  EXPECT_EQ(h.frame.caption(), u"图片尺寸: 60 * 30");
  ASSERT_EQ(h.clipboard.places, 1);
  EXPECT_EQ(h.clipboard.placed->width, 60);
  EXPECT_EQ(h.clipboard.placed->height, 30);
  EXPECT_EQ(h.tray.balloons.back().text, u" 复制 < 截图 > ");
}

TEST(CaptureCopyShortcutTest, CtrlCCopiesOnlyWhereTheCapturePanelShows) {
  struct Case {
    const char* where;
    int panel;
    bool capture, collapse, consumed;
    int places;
  };
  const Case cases[] = {
      {"capture panel with a picture", 2, true, false, true, 1},
      {"capture panel, nothing captured", 2, false, false, true, 0},
      {"formatter: its boxes copy text", 0, true, false, false, 0},
      {"collapsed", 2, true, true, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    fakes::ShellHarness h;
    shell::MainWindow window{h.services, h.random};
    ASSERT_TRUE(window.start());
    if (c.capture) window.capture.capture(true);
    window.panelSelector[c.panel]->setValue(true);
    if (c.collapse) window.collapse();
    EXPECT_EQ(window.copyShortcut(), c.consumed);
    EXPECT_EQ(h.pictureClipboard.places, c.places);
  }
}

}  // namespace
