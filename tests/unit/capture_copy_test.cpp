// The capture's copy to the clipboard (the button, Ctrl+C in the panel and
// in the overlay, a clipboard held by another program) and its third save
// format, PNG, with fake services.
#include <gtest/gtest.h>

#include <tuple>

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
  // A rectangle from the pointer's place, finished with two clicks.
  void captureRegionOf(int width, int height) {
    p.regionButton.userClick();
    p.overlay()->primaryButton(0);
    p.overlay()->mouseMove(640 + width, 400 + height);
    p.overlay()->primaryButton(1000);
  }
  const fakes::FakeTray::Balloon& lastReport() { return h.tray.balloons.back(); }
};

TEST_F(CaptureCopyTest, EachFormatSavesWithItsOwnFilterExtensionAndEncoding) {
  using capture::CapturePanel;
  struct Case {
    controls::OptionButton CapturePanel::*option;
    std::u16string_view name, filterName, typed, written;
    std::string_view bytes;  // empty: the program's own BMP
  };
  const Case cases[] = {
      {&CapturePanel::pngOption, u"PNG", u"PNG 图片文件 (*.PNG)", u"C:\\s\\a", u"C:\\s\\a.png", "PNG 3x2"},
      {&CapturePanel::pngOption, u"PNG", u"PNG 图片文件 (*.PNG)", u"C:\\s\\b.png", u"C:\\s\\b.png", "PNG 3x2"},
      {&CapturePanel::pngOption, u"PNG", u"PNG 图片文件 (*.PNG)", u"C:\\s\\c.PNG", u"C:\\s\\c.PNG.png", "PNG 3x2"},
      {&CapturePanel::jpegOption, u"JPG", u"压缩位图文件 (*.JPG)", u"C:\\s\\d.png", u"C:\\s\\d.png.jpg",
       "JPEG 3x2 q100"},
      {&CapturePanel::bmpOption, u"BMP", u"位图文件 (*.BMP)", u"C:\\s\\e.png", u"C:\\s\\e.png.bmp", ""},
  };
  EXPECT_TRUE(p.bmpOption.value());
  captureScreenOf(3, 2);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
    (p.*c.option).userClick();
    EXPECT_EQ(lastReport().text, u" 保存格式 < " + std::u16string(c.name) + u" > ");
    EXPECT_EQ(p.qualityList.enabled(), c.name == u"JPG");  // only JPEG has a quality
    EXPECT_EQ(p.qualityLabel.enabled(), c.name == u"JPG");
    h.dialogs.chosenPath = std::u16string(c.typed);
    p.saveButton.userClick();
    EXPECT_EQ(h.dialogs.requests.back().filterName, c.filterName);
    EXPECT_EQ(h.dialogs.requests.back().filterPattern, u"*." + std::u16string(c.name));
    ASSERT_EQ(h.files.files.count(std::u16string(c.written)), 1u);
    if (!c.bytes.empty()) EXPECT_EQ(h.files.files[std::u16string(c.written)], c.bytes);
  }
}

TEST_F(CaptureCopyTest, CopyIsOfferedExactlyWhenSaveIs) {
  const std::pair<std::function<void()>, bool> steps[] = {
      {[] {}, false},
      {[&] { captureScreenOf(4, 4); }, true},
      {[&] { p.regionButton.userClick(); }, true},  // the overlay open
      {[&] { p.overlay()->keyDown(capture::kVirtualKeyEscape); }, false},
      {[&] { captureRegionOf(3, 2); }, true},
  };
  for (const auto& [act, offered] : steps) {
    SCOPED_TRACE(&act - &steps[0].first);
    act();
    EXPECT_EQ(p.saveButton.enabled(), offered);
    EXPECT_EQ(p.copyButton.enabled(), offered);
  }
}

// The clipboard reads the picture where it is: later captures, full or
// region, finished or abandoned, must leave it the copied one.
TEST_F(CaptureCopyTest, CopyPlacesThePictureReportsItAndKeepsItThroughLaterCaptures) {
  captureScreenOf(5, 3);
  const common::Bitmap copied = p.picture.bitmap();
  p.copyButton.userClick();
  ASSERT_EQ(h.clipboard.places, 1);
  EXPECT_EQ(h.clipboard.placed, &p.picture.bitmap());
  EXPECT_EQ(lastReport().heading, u"当前操作:");
  EXPECT_EQ(lastReport().text, u" 复制 < 截图 > ");
  captureScreenOf(7, 7);
  p.regionButton.userClick();
  p.overlay()->keyDown(capture::kVirtualKeyEscape);
  captureRegionOf(2, 2);
  EXPECT_EQ(h.clipboard.placed->pixels, copied.pixels);
}

TEST_F(CaptureCopyTest, AClipboardThatCannotTakeThePictureIsToldAndNothingIsLost) {
  const std::tuple<ClipboardResult, int, std::u16string_view> cases[] = {
      {ClipboardResult::Busy, 4, capture::kPictureClipboardBusyMessage},
      {ClipboardResult::Failed, 4, capture::kPictureClipboardFailedMessage},
      {ClipboardResult::Placed, 0, capture::kNothingToCopyMessage},  // an empty rectangle
  };
  for (const auto& [answer, size, message] : cases) {
    SCOPED_TRACE(size);
    captureRegionOf(size, size);
    h.tray.balloons.clear();
    h.dialogs.messages.clear();
    h.clipboard.answer = answer;
    p.copyButton.userClick();
    EXPECT_EQ(h.dialogs.messages, std::vector<std::u16string>{std::u16string(message)});
    EXPECT_TRUE(h.tray.balloons.empty()) << "a copy that did not happen is not reported as done";
    EXPECT_EQ(h.clipboard.places, 0);
    EXPECT_EQ(p.picture.bitmap().width, size);
  }
}

TEST_F(CaptureCopyTest, CtrlCInTheOverlayFinishesTheRectangleAndCopiesIt) {
  p.regionButton.userClick();
  capture::RegionOverlay& overlay = *p.overlay();
  overlay.copyShortcut();  // no rectangle yet: nothing to finish
  EXPECT_FALSE(overlay.ended());
  overlay.mouseMove(100, 50);
  overlay.primaryButton(0);
  overlay.mouseMove(40, 80);
  overlay.copyShortcut();
  EXPECT_EQ(h.frame.caption(), u"图片尺寸: 60 * 30");
  ASSERT_EQ(h.clipboard.places, 1);
  EXPECT_EQ(h.clipboard.placed->width, 60);
  EXPECT_EQ(lastReport().text, u" 复制 < 截图 > ");
}

TEST(CaptureCopyShortcutTest, CtrlCCopiesOnlyWhereTheCapturePanelShows) {
  // panel shown, collapsed, taken by Ctrl+C (the formatter's boxes copy text)
  for (const auto& [panel, collapse, consumed] : {std::tuple{2, false, true}, {0, false, false}, {2, true, false}}) {
    SCOPED_TRACE(panel * 10 + collapse);
    fakes::ShellHarness h;
    shell::MainWindow window{h.services, h.random};
    ASSERT_TRUE(window.start());
    EXPECT_EQ(window.copyShortcut(), false) << "nothing shown to copy yet";
    window.capture.capture(true);
    window.panelSelector[panel]->setValue(true);
    if (collapse) window.collapse();
    EXPECT_EQ(window.copyShortcut(), consumed);
    EXPECT_EQ(h.pictureClipboard.places, consumed ? 1 : 0);
  }
}

}  // namespace
