#include <gtest/gtest.h>

#include "fakes/shell_harness.h"
#include "text/characters.h"

using namespace vexlo;

namespace {

struct MainWindowTest : ::testing::Test {
  fakes::ShellHarness h;
  shell::MainWindow window{h.services, h.random};

  void started() {
    ASSERT_TRUE(window.start());
    h.log.events.clear();
    h.tray.balloons.clear();
  }
  void moveOverWindow(int x, int y) { window.window.userMouseMove(x, y); }
};

TEST_F(MainWindowTest, StartPlacesTopMostAtTopCentredAndExpanded) {
  started();
  EXPECT_TRUE(window.window.topMost());
  EXPECT_TRUE(window.window.visible());
  EXPECT_EQ(window.window.rect().top, 0);
  EXPECT_EQ(window.window.rect().width, 5205);
  EXPECT_EQ(window.window.rect().height, 4695);
  EXPECT_EQ(window.window.rect().left, (1280 * 15 - 5205) / 2);
  EXPECT_FALSE(window.collapsedSquare.visible());
  EXPECT_TRUE(window.panelSelector[0]->value());
  EXPECT_TRUE(window.panelFrames[0]->visible());
  for (int i = 1; i < 5; ++i) EXPECT_FALSE(window.panelFrames[i]->visible());
}

TEST_F(MainWindowTest, StartShowsTrayIconAndWelcomeBalloonBeforeExpanding) {
  ASSERT_TRUE(window.start());
  EXPECT_TRUE(h.tray.present);
  EXPECT_EQ(h.tray.tooltip, u" Vexlo v11.0 - Quenby_Sarn (Pebbo) ");
  ASSERT_EQ(h.tray.balloons.size(), 1u);
  EXPECT_EQ(h.tray.balloons[0].heading, u"欢迎您使用:");
  EXPECT_EQ(h.tray.balloons[0].text, u"\r      Vexlo v11.0\r\r设计者: Quenby_Sarn (Pebbo)");
  // expand-window ends start-up: the pointer goes over the input box and clicks.
  ASSERT_EQ(h.log.events.size(), 2u);
  EXPECT_EQ(h.log.events[1], "click");
}

TEST_F(MainWindowTest, SecondInstanceIsRefusedWithMessageAndNothingElseRuns) {
  h.instanceLock.otherInstanceRunning = true;
  EXPECT_FALSE(window.start());
  ASSERT_EQ(h.messageBox.shown.size(), 1u);
  EXPECT_EQ(h.messageBox.shown[0].text, u"《 Vexlo 》已运行！。。。");
  EXPECT_EQ(h.messageBox.shown[0].title, u"错误");
  EXPECT_FALSE(h.tray.present);
  EXPECT_FALSE(window.window.visible());
  EXPECT_TRUE(h.log.events.empty());
}

TEST_F(MainWindowTest, ClockTooltipCarriesStartDateAndWeekdayMark) {
  const char16_t* marks[] = {u" 12-06-2026(日) ", u" 12-07-2026(一) ", u" 12-08-2026(二) ", u" 12-09-2026(三) ",
                             u" 12-10-2026(四) ", u" 12-11-2026(五) ", u" 12-12-2026(六) "};
  for (int weekday = 0; weekday < 7; ++weekday) {
    fakes::ShellHarness fresh;
    fresh.clock.time = {2026, 12, 6 + weekday, weekday, 8, 5, 9};
    shell::MainWindow w(fresh.services, fresh.random);
    ASSERT_TRUE(w.start());
    EXPECT_EQ(w.strip.clockLabel.tooltip(), marks[weekday]) << weekday;
  }
}

TEST_F(MainWindowTest, ClockTooltipKeepsStartDateAfterMidnight) {
  h.clock.time = {2027, 1, 3, 0, 23, 59, 59};
  started();
  h.clock.time = {2027, 1, 4, 1, 0, 0, 1};
  window.tick();
  EXPECT_EQ(window.strip.clockLabel.tooltip(), u" 01-03-2027(日) ");
  EXPECT_EQ(window.strip.clockLabel.caption(), u"00:00:01");
}

TEST_F(MainWindowTest, ClockCaptionIsEightCharactersWithTwoDigitFields) {
  started();
  EXPECT_EQ(window.strip.clockLabel.caption(), u"00:00:00");
  h.clock.time = {2026, 12, 7, 1, 7, 3, 9};
  window.tick();
  EXPECT_EQ(window.strip.clockLabel.caption(), u"07:03:09");
  h.clock.time = {2026, 12, 7, 1, 23, 45, 0};
  window.tick();
  EXPECT_EQ(window.strip.clockLabel.caption(), u"23:45:00");
}

TEST_F(MainWindowTest, CollapseBandLimits) {
  started();
  struct Case {
    int x, y;
    bool collapses;
  } cases[] = {{105, 2000, true},  {106, 2000, false}, {0, 0, true},        {5054, 2000, false},
               {5055, 2000, true}, {2000, 4514, false}, {2000, 4515, true}, {2000, 300, false}};
  for (const Case& c : cases) {
    window.expand();
    moveOverWindow(c.x, c.y);
    EXPECT_EQ(window.collapsed(), c.collapses) << c.x << "," << c.y;
  }
}

TEST_F(MainWindowTest, CollapsedWindowIsSquareCentredAtSameTop) {
  started();
  moveOverWindow(50, 1000);
  EXPECT_TRUE(window.collapsedSquare.visible());
  EXPECT_EQ(window.window.rect().width, 690);
  EXPECT_EQ(window.window.rect().height, 690);
  EXPECT_EQ(window.window.rect().left, (1280 * 15 - 690) / 2);
  EXPECT_EQ(window.window.rect().top, 0);
}

TEST_F(MainWindowTest, MediaPanelWithAutoHideClearNeverCollapses) {
  started();
  window.panelSelector[1]->userClick();
  for (auto [x, y] : {std::pair{0, 2000}, {5100, 2000}, {2000, 4600}}) {
    moveOverWindow(x, y);
    EXPECT_FALSE(window.collapsed()) << x << "," << y;
  }
  window.media.autoHideBox.userClick();
  moveOverWindow(0, 2000);
  EXPECT_TRUE(window.collapsed());
}

TEST_F(MainWindowTest, AutoHideReportsItsToggle) {
  started();
  window.media.autoHideBox.userClick();
  EXPECT_EQ(h.tray.balloons.back().heading, u"设置:");
  EXPECT_EQ(h.tray.balloons.back().text, u" 视频窗口 < 自动隐藏 > ");
  window.media.autoHideBox.userClick();
  EXPECT_EQ(h.tray.balloons.back().heading, u"取消:");
}

TEST_F(MainWindowTest, TouchingTheSquareExpandsAndClicksOverInputBox) {
  started();
  moveOverWindow(0, 0);
  h.log.events.clear();
  window.collapsedSquare.userMouseMove(10, 10);
  EXPECT_FALSE(window.collapsed());
  EXPECT_EQ(window.window.rect().width, 5205);
  // (screen width / 2 + 1440 twips) and 1695 twips, in pixels at 15 twips each.
  ASSERT_EQ(h.log.events.size(), 2u);
  EXPECT_EQ(h.log.events[0], "move 736,113");
  EXPECT_EQ(h.log.events[1], "click");
}

TEST_F(MainWindowTest, ExpandPointerTargetFollowsDpi) {
  h.screen.value = {1920, 10, 10};  // 144 DPI
  started();
  window.expand();
  EXPECT_EQ(h.log.events[0], "move 1104,170");  // 9600+1440 twips / 10, 1695 / 10 rounded
}

TEST_F(MainWindowTest, PanelSelectionReportsTooltipWithEmptyHeading) {
  started();
  window.panelSelector[3]->userClick();
  ASSERT_FALSE(h.tray.balloons.empty());
  EXPECT_EQ(h.tray.balloons.back().heading, u"");
  EXPECT_EQ(h.tray.balloons.back().text, u" 文件·管理 ");
}

TEST_F(MainWindowTest, PanelSelectionLeavesLowerFramesAsTheyAre) {
  started();
  window.panelSelector[1]->userClick();
  window.panelSelector[2]->userClick();
  EXPECT_TRUE(window.panelFrames[1]->visible());  // beneath W(2)
  EXPECT_TRUE(window.panelFrames[2]->visible());
  EXPECT_EQ(window.selectedPanel(), 2);
  window.panelSelector[0]->userClick();
  EXPECT_TRUE(window.panelFrames[0]->visible());
  for (int i = 1; i < 5; ++i) EXPECT_FALSE(window.panelFrames[i]->visible()) << i;
  EXPECT_TRUE(window.panelSelector[0]->value());
  EXPECT_FALSE(window.panelSelector[2]->value());
}

TEST_F(MainWindowTest, PanelHotKeysSelectThenExpandInTableOrder) {
  started();
  window.collapse();
  h.keyboard.pressed = {0x71, 0x73};  // F2 and F4 in the same tick
  window.tick();
  EXPECT_EQ(window.selectedPanel(), 3);
  EXPECT_TRUE(window.panelFrames[1]->visible());
  EXPECT_TRUE(window.panelFrames[3]->visible());
  EXPECT_FALSE(window.collapsed());
  ASSERT_GE(h.tray.balloons.size(), 2u);
  EXPECT_EQ(h.tray.balloons[0].text, u" Flash·影音 ");
  EXPECT_EQ(h.tray.balloons[1].text, u" 文件·管理 ");
  // Two expands: each moves and clicks.
  EXPECT_EQ(std::count(h.log.events.begin(), h.log.events.end(), "click"), 2);
}

// F7 copies the whole screen after the window hid and paused; F8 opens the
// region overlay over a frozen copy.
TEST_F(MainWindowTest, CaptureHotKeysHideThePauseThenCopyTheScreen) {
  started();
  h.keyboard.pressed = {0x76};
  window.tick();
  const auto& e = h.log.events;
  const auto copy = std::find(e.begin(), e.end(), "copy screen");
  ASSERT_NE(copy, e.end());
  EXPECT_NE(std::find(e.begin(), copy, "sleep 500"), copy) << "no pause before the copy";
  EXPECT_EQ(window.selectedPanel(), 2);
  EXPECT_TRUE(window.window.visible());
  EXPECT_FALSE(window.capture.overlayOpen());

  h.log.events.clear();
  h.keyboard.pressed = {0x77};
  window.tick();
  EXPECT_NE(std::find(e.begin(), e.end(), "copy screen"), e.end());
  EXPECT_TRUE(window.capture.overlayOpen());
}

// The strip's shortcuts reach the system tools: F6 toggles the CD tray as
// the visible button would, a right press on the recycle bin opens it.
TEST_F(MainWindowTest, F6AndTheRecycleBinsRightPressReachTheSystemTools) {
  started();
  h.keyboard.pressed = {0x75};
  window.tick();
  ASSERT_EQ(h.launcher.mciCommands.size(), 1u);
  EXPECT_EQ(h.launcher.mciCommands[0], u"Set CDAudio Door Open");
  EXPECT_FALSE(window.strip.cdOpenButton.visible());

  window.strip.recycleBinButton.userRightPress();
  ASSERT_EQ(h.launcher.ran.size(), 1u);
  EXPECT_EQ(h.launcher.ran[0].commandLine, u"Explorer.exe ::{645FF040-5081-101B-9F08-00AA002F954E}");
  EXPECT_TRUE(window.collapsed());
}

TEST_F(MainWindowTest, HotKeyForTheSelectedPanelReportsAgain) {
  started();
  h.keyboard.pressed = {0x70};
  window.tick();
  ASSERT_FALSE(h.tray.balloons.empty());
  EXPECT_EQ(h.tray.balloons[0].text, u" Vexlo ");
}

TEST_F(MainWindowTest, EveryTickTrimsTheWorkingSet) {
  started();
  for (int i = 0; i < 3; ++i) window.tick();
  EXPECT_EQ(h.memory.trims, 3);
}

TEST_F(MainWindowTest, ExitRemovesTrayIconAndQuits) {
  started();
  window.exitControl.userClick();
  EXPECT_FALSE(h.tray.present);
  EXPECT_TRUE(h.application.quitRequested);
}

TEST_F(MainWindowTest, SessionEndRemovesTrayIcon) {
  started();
  window.endSession();
  EXPECT_FALSE(h.tray.present);
}

TEST_F(MainWindowTest, RecreatedTaskbarGetsTheIconBack) {
  started();
  window.taskbarRecreated();
  EXPECT_EQ(h.tray.adds, 2);
  window.endSession();
  window.taskbarRecreated();
  EXPECT_EQ(h.tray.adds, 2);  // no icon after the program let it go
}

TEST_F(MainWindowTest, FixedStripHasItsCaptionsAndTooltips) {
  EXPECT_EQ(window.titleLabel.caption(), u"Vexlo v11.0");
  EXPECT_EQ(window.exitControl.tooltip(), u" 退出 ");
  EXPECT_EQ(window.strip.cdOpenButton.tooltip(), u" 打开·光驱 ");
  EXPECT_EQ(window.strip.cdCloseButton.tooltip(), u" 关闭·光驱 ");
  EXPECT_EQ(window.strip.recycleBinButton.tooltip(), u" 清空·回收站 ");
  EXPECT_EQ(window.strip.shutDownButton.tooltip(), u" 重启·关闭计算机 ");
  EXPECT_EQ(window.strip.startWithWindowsBox.caption(), u"自启");
  EXPECT_EQ(window.strip.startWithWindowsBox.tooltip(), u" 开机自启动 ");
  const char16_t* tips[] = {u" Vexlo ", u" Flash·影音 ", u" 屏幕·截图 ", u" 文件·管理 ", u" 我的工具箱 "};
  const char16_t* captions[] = {u"Vexlo", u"Flash·影音", u"屏幕·截图", u"文件·管理", u"我的工具箱"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(window.panelSelector[i]->tooltip(), tips[i]);
    EXPECT_EQ(window.panelFrames[i]->caption(), captions[i]);
    EXPECT_EQ(window.panelSelector[i]->rect().left, 120 + 360 * i);
  }
}

}  // namespace
