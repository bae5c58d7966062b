// The capture panel driven as a user drives it: its buttons, the format
// options, the quality list and the save dialog, with fake screen, dialogs,
// encoder and files.
#include <gtest/gtest.h>

#include "capture/bmp_file.h"
#include "capture/capture_text.h"
#include "fakes/capture_fakes.h"

using namespace vexlo;

namespace {

struct CapturePanelTest : ::testing::Test {
  fakes::CaptureHarness h;
  capture::CapturePanel& p = h.panel;

  const fakes::FakeTray::Balloon& lastReport() { return h.tray.balloons.back(); }
  void captureScreenOf(int width, int height) {
    h.screenCopier.screen = common::Bitmap::filled(width, height, 0x336699);
    p.fullScreenButton.userClick();
  }
  void saveAs(std::u16string path) {
    h.dialogs.chosenPath = std::move(path);
    p.saveButton.userClick();
  }
};

TEST_F(CapturePanelTest, StartsWithBmpChosenQualityOnHundredAndNothingToSave) {
  EXPECT_EQ(h.frame.caption(), u"屏幕·截图");
  EXPECT_TRUE(p.bmpOption.value());
  EXPECT_FALSE(p.jpegOption.value());
  EXPECT_FALSE(p.saveButton.enabled());
  EXPECT_FALSE(p.qualityLabel.enabled());
  EXPECT_FALSE(p.qualityList.enabled());
  EXPECT_EQ(p.qualityList.selectedText(), u"100");
  EXPECT_EQ(p.qualityList.items(),
            (std::vector<std::u16string>{u"100", u"90", u"80", u"70", u"60", u"50", u"40", u"30", u"20", u"10"}));
  EXPECT_FALSE(p.horizontalBar.enabled());
  EXPECT_FALSE(p.verticalBar.enabled());
  EXPECT_TRUE(h.tray.balloons.empty());
  EXPECT_EQ(p.picture.container(), &p.viewport);
}

TEST_F(CapturePanelTest, FullScreenHidesPausesCopiesThenShowsTheCapturePanel) {
  captureScreenOf(1280, 800);
  EXPECT_EQ(h.log.events,
            (std::vector<std::string>{"hide window", "sleep 500", "copy screen", "expand window", "show panel"}));
  EXPECT_EQ(h.frame.caption(), u"图片尺寸: 1280 * 800");
  EXPECT_EQ(p.picture.bitmap().width, 1280);
  EXPECT_EQ(p.picture.bitmap().colourAt(1279, 799), 0x336699u);
  EXPECT_TRUE(p.saveButton.enabled());
  EXPECT_EQ(lastReport().heading, u"操作:");
  EXPECT_EQ(lastReport().text, u" 全屏 < 截图 > ");
}

TEST_F(CapturePanelTest, HotKeyCaptureMakesNoReport) {
  p.capture(true);
  EXPECT_EQ(h.frame.caption(), u"图片尺寸: 1280 * 800");
  EXPECT_TRUE(h.tray.balloons.empty());
}

TEST_F(CapturePanelTest, ScrollRangesFollowThePictureAgainstTheViewport) {
  struct Case {
    int width, height;
    double twipsPerPixel;
    int horizontalMaximum, verticalMaximum;
  };
  // The viewport is 3825 x 3060 twips: 255 x 204 pixels at 96 DPI, 382.5 x 306 at 144.
  const Case cases[] = {
      {100, 100, 15, 1500 - 3825, 1500 - 3060},      // smaller: nothing to scroll
      {255, 204, 15, 0, 0},                          // exactly the viewport: still nothing
      {256, 205, 15, 15, 15},                        // one pixel more each way
      {1280, 800, 15, 19200 - 3825, 12000 - 3060},   // a whole screen
      {1920, 1080, 10, 19200 - 3825, 10800 - 3060},  // a 150 % screen at its real pixel size
      {300, 100, 15, 4500 - 3825, 1500 - 3060},      // wide and low: only across
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    h.screen.value.twipsPerPixelX = h.screen.value.twipsPerPixelY = c.twipsPerPixel;
    captureScreenOf(c.width, c.height);
    EXPECT_EQ(p.horizontalBar.maximum(), c.horizontalMaximum);
    EXPECT_EQ(p.verticalBar.maximum(), c.verticalMaximum);
    EXPECT_EQ(p.horizontalBar.enabled(), c.horizontalMaximum > 0);
    EXPECT_EQ(p.verticalBar.enabled(), c.verticalMaximum > 0);
    EXPECT_EQ(p.horizontalBar.value(), 0);
    EXPECT_EQ(p.verticalBar.value(), 0);
    EXPECT_EQ(p.picture.rect().left, 0);
    EXPECT_EQ(p.picture.rect().top, 0);
  }
}

TEST_F(CapturePanelTest, ScrollingSlidesThePictureAndANewCaptureScrollsBack) {
  captureScreenOf(1280, 800);
  p.horizontalBar.userScroll(4000);
  p.verticalBar.userScroll(720);
  EXPECT_EQ(p.picture.rect().left, -4000);
  EXPECT_EQ(p.picture.rect().top, -720);
  captureScreenOf(100, 100);
  EXPECT_EQ(p.picture.rect().left, 0);
  EXPECT_EQ(p.picture.rect().top, 0);
  EXPECT_EQ(p.picture.rect().width, 1500);
}

TEST_F(CapturePanelTest, FormatChoiceEnablesTheQualityListAndKeepsItsChoice) {
  p.jpegOption.userClick();
  EXPECT_TRUE(p.qualityLabel.enabled());
  EXPECT_TRUE(p.qualityList.enabled());
  EXPECT_EQ(lastReport().heading, u"设置:");
  EXPECT_EQ(lastReport().text, u" 保存格式 < JPG > ");
  p.qualityList.userSelect(2);
  EXPECT_EQ(lastReport().text, u" 压缩比 < 80% > ");
  p.bmpOption.userClick();
  EXPECT_FALSE(p.qualityLabel.enabled());
  EXPECT_FALSE(p.qualityList.enabled());
  EXPECT_EQ(lastReport().text, u" 保存格式 < BMP > ");
  p.jpegOption.userClick();
  EXPECT_EQ(p.qualityList.selectedText(), u"80");
}

TEST_F(CapturePanelTest, SaveDialogAsksWithTheFormatsFilterAndTitle) {
  captureScreenOf(4, 4);
  h.dialogs.chosenPath.reset();
  p.saveButton.userClick();
  p.jpegOption.userClick();
  p.saveButton.userClick();
  ASSERT_EQ(h.dialogs.requests.size(), 2u);
  EXPECT_EQ(h.dialogs.requests[0].filterName, u"位图文件 (*.BMP)");
  EXPECT_EQ(h.dialogs.requests[0].filterPattern, u"*.BMP");
  EXPECT_EQ(h.dialogs.requests[1].filterName, u"压缩位图文件 (*.JPG)");
  EXPECT_EQ(h.dialogs.requests[1].filterPattern, u"*.JPG");
  EXPECT_EQ(h.dialogs.requests[1].title, u"保存图片文件...");
}

TEST_F(CapturePanelTest, CancelledDialogWritesNothingButStillReports) {
  captureScreenOf(4, 4);
  h.dialogs.chosenPath.reset();
  p.saveButton.userClick();
  EXPECT_EQ(h.files.writeCount, 0);
  EXPECT_EQ(lastReport().heading, u"操作:");
  EXPECT_EQ(lastReport().text, u" 保存 < 截图 > ");
}

TEST_F(CapturePanelTest, BmpIsWrittenWholeAtTheCompletedPath) {
  captureScreenOf(3, 2);
  saveAs(u"C:\\shots\\shot.BMP");
  ASSERT_TRUE(h.files.files.count(u"C:\\shots\\shot.BMP.bmp"));
  EXPECT_EQ(h.files.files[u"C:\\shots\\shot.BMP.bmp"], capture::encodeBmp(p.picture.bitmap()));
  EXPECT_TRUE(h.dialogs.questions.empty());
  EXPECT_TRUE(h.dialogs.messages.empty());
  EXPECT_EQ(lastReport().text, u" 保存 < 截图 > ");
}

TEST_F(CapturePanelTest, EveryQualityItemReachesTheEncoder) {
  captureScreenOf(8, 8);
  p.jpegOption.userClick();
  const int expected[] = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
  for (int i = 0; i < 10; ++i) {
    p.qualityList.userSelect(i);
    saveAs(u"C:\\shots\\q" + capture::decimalText(i));
  }
  EXPECT_EQ(h.encoder.qualities, std::vector<int>(std::begin(expected), std::end(expected)));
  EXPECT_EQ(h.files.files[u"C:\\shots\\q2.jpg"], "JPEG 8x8 q80");
}

TEST_F(CapturePanelTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysYes) {
  captureScreenOf(2, 2);
  h.files.files[u"C:\\shots\\old.bmp"] = "old bytes";
  h.dialogs.answerYes = false;
  saveAs(u"C:\\shots\\old");
  ASSERT_EQ(h.dialogs.questions.size(), 1u);
  EXPECT_EQ(h.dialogs.questions[0], u"文件已存在，要替换吗？C:\\shots\\old.bmp");
  EXPECT_EQ(h.files.files[u"C:\\shots\\old.bmp"], "old bytes");
  EXPECT_EQ(h.files.writeCount, 0);
  EXPECT_EQ(lastReport().text, u" 保存 < 截图 > ");

  h.dialogs.answerYes = true;
  saveAs(u"C:\\shots\\old.bmp");
  EXPECT_EQ(h.files.files[u"C:\\shots\\old.bmp"], capture::encodeBmp(p.picture.bitmap()));
}

TEST_F(CapturePanelTest, FailedSavesTellTheUserAndKeepTheCapture) {
  struct Case {
    bool jpeg;
    int encoderStatus;
    bool writeFails;
    std::u16string message;
  };
  const Case cases[] = {
      {true, 7, false, u"不能保存这个图像: 7"},
      {true, 0, true, u"不能保存这个图像: Access is denied."},
      {false, 0, true, u"不能保存这个图像: Access is denied."},
  };
  captureScreenOf(5, 5);
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    (c.jpeg ? p.jpegOption : p.bmpOption).userClick();
    h.encoder.failingStatus = c.encoderStatus;
    h.files.failWrites = c.writeFails;
    h.dialogs.messages.clear();
    saveAs(u"C:\\shots\\shot");
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dialogs.messages[0], c.message);
    EXPECT_TRUE(h.files.files.empty());
    EXPECT_EQ(lastReport().text, u" 保存 < 截图 > ");
    EXPECT_EQ(h.frame.caption(), u"图片尺寸: 5 * 5");
    EXPECT_EQ(p.picture.bitmap().width, 5);
    EXPECT_TRUE(p.saveButton.enabled());
  }
}

}  // namespace
