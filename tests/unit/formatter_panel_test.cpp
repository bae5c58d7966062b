// The reply formatter driven as a user drives it: clicks on the real
// controls of the main window, assertions on the controls and on what the
// fake system was asked to do.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes/shell_harness.h"

using namespace vexlo;

namespace {

struct FormatterPanelTest : ::testing::Test {
  fakes::ShellHarness h;
  shell::MainWindow window{h.services, h.random};
  formatter::FormatterPanel& p = window.formatter;

  void SetUp() override {
    ASSERT_TRUE(window.start());
    h.log.events.clear();
    h.tray.balloons.clear();
  }
  void type(std::u16string text) { p.inputBox.userEdited(std::move(text)); }
  const fakes::FakeTray::Balloon& lastReport() { return h.tray.balloons.back(); }
};

TEST_F(FormatterPanelTest, StartsIdleWithFirstFontAndSizeWhenNoSettingsFileExists) {
  EXPECT_EQ(p.fontList.selectedIndex(), 0);
  EXPECT_EQ(p.sizeList.selectedIndex(), 0);
  EXPECT_EQ(p.fontList.count(), 15);
  EXPECT_EQ(p.sizeList.items()[6], u"+７");
  EXPECT_TRUE(p.colourModeOptions[0]->value());
  EXPECT_TRUE(p.alignLeftOption.value());
  EXPECT_TRUE(p.targetOptions[0]->value());
  EXPECT_EQ(p.convertButton.caption(), u"论 坛");
  EXPECT_EQ(p.convertButton.backColour(), 0xFFFFC0u);
  EXPECT_FALSE(p.inputBox.locked());
  EXPECT_FALSE(p.glowBox.visible());
  EXPECT_FALSE(p.designerLabel.visible());
  EXPECT_FALSE(p.gradientStrip.visible());
  EXPECT_TRUE(p.colourButtons[0]->visible());
  EXPECT_EQ(p.colourButtons[0]->backColour(), 0x0000FFu);
  EXPECT_EQ(p.colourButtons[2]->backColour(), 0xFF0000u);
  EXPECT_FALSE(window.strip.startWithWindowsBox.value());
}

TEST_F(FormatterPanelTest, StyleBoxesReportSetAndCancel) {
  p.boldBox.userClick();
  EXPECT_EQ(lastReport().heading, u"设置:");
  EXPECT_EQ(lastReport().text, u" 样式 < 粗体 > ");
  p.boldBox.userClick();
  EXPECT_EQ(lastReport().heading, u"取消:");
  EXPECT_EQ(lastReport().text, u" 样式 < 粗体 > ");
  p.quoteBox.userClick();
  EXPECT_EQ(lastReport().text, u" 样式 < 引用 > ");
}

TEST_F(FormatterPanelTest, AlignmentFontAndSizeReportTheirChoice) {
  p.alignCentreOption.userClick();
  EXPECT_EQ(lastReport().text, u" 位置 < 居中 > ");
  p.alignRightOption.userClick();
  EXPECT_EQ(lastReport().text, u" 位置 < 右对齐 > ");
  p.fontList.userSelect(3);
  EXPECT_EQ(lastReport().heading, u"设置:");
  EXPECT_EQ(lastReport().text, u" 字体 < 楷体 > ");
  p.sizeList.userSelect(4);
  EXPECT_EQ(lastReport().text, u" 大小 < +５ > ");
}

TEST_F(FormatterPanelTest, ColourModesArrangeTheColourRowAndEnableRules) {
  p.colourModeOptions[1]->userClick();
  EXPECT_EQ(p.colourRowLabel.caption(), u"渐 变:");
  EXPECT_FALSE(p.colourButtons[0]->visible());
  EXPECT_TRUE(p.colourButtons[1]->visible() && p.colourButtons[2]->visible() && p.gradientStrip.visible());
  EXPECT_FALSE(p.glowBox.enabled());
  EXPECT_EQ(lastReport().text, u" 颜色 < 渐变 > ");

  p.colourModeOptions[3]->userClick();
  EXPECT_EQ(p.colourRowLabel.caption(), u"设计者:");
  EXPECT_TRUE(p.designerLabel.visible());
  for (auto& c : p.colourButtons) EXPECT_FALSE(c->visible());
  EXPECT_FALSE(p.fontList.enabled());
  EXPECT_FALSE(p.sizeList.enabled());

  p.colourModeOptions[2]->userClick();
  EXPECT_TRUE(p.designerLabel.visible());
  EXPECT_TRUE(p.fontList.enabled());
  EXPECT_TRUE(p.sizeList.enabled());
  EXPECT_EQ(lastReport().text, u" 颜色 < 彩虹 > ");

  p.colourModeOptions[0]->userClick();
  EXPECT_EQ(p.colourRowLabel.caption(), u"单 色:");
  EXPECT_FALSE(p.designerLabel.visible());
  EXPECT_TRUE(p.glowBox.enabled());
}

TEST_F(FormatterPanelTest, GlowBoxFollowsTargetAndKeepsItsTick) {
  p.targetOptions[1]->userClick();
  EXPECT_TRUE(p.glowBox.visible());
  p.glowBox.userClick();
  EXPECT_EQ(lastReport().text, u" 样式 < 发光 > ");
  p.targetOptions[0]->userClick();
  EXPECT_FALSE(p.glowBox.visible());
  EXPECT_TRUE(p.glowBox.value());
  p.colourModeOptions[1]->userClick();
  EXPECT_TRUE(p.glowBox.value());
}

TEST_F(FormatterPanelTest, TargetChangeInIdleStateKeepsTextAndRenamesButton) {
  type(u"hello");
  p.targetOptions[1]->userClick();
  EXPECT_EQ(p.inputBox.text(), u"hello");
  EXPECT_EQ(p.convertButton.caption(), u"Qzone");
  EXPECT_EQ(lastReport().heading, u"设置");
  EXPECT_EQ(lastReport().text, u" 回帖 < Qzone > ");
}

TEST_F(FormatterPanelTest, ConvertRunsTheAutoPasteInOrderAndEntersConvertedState) {
  p.boldBox.userClick();
  p.alignRightOption.userClick();
  p.sizeList.userSelect(2);
  type(u"你好");
  h.tray.balloons.clear();
  p.convertButton.userClick();

  const std::u16string expected =
      u"[align=right][b][font=宋体][size=3][color=#FF0000]你好[/color][/size][/font][/b][/align]";
  EXPECT_EQ(p.inputBox.text(), expected);
  EXPECT_EQ(h.clipboard.content, expected);
  EXPECT_TRUE(window.collapsed());
  EXPECT_EQ(p.sourceText(), u"你好");
  ASSERT_EQ(h.tray.balloons.size(), 1u);
  EXPECT_EQ(h.tray.balloons[0].heading, u"提示:");
  EXPECT_EQ(h.tray.balloons[0].text, u"\r  请把鼠标移到输入框上\r\r  两秒钟之后，自动粘贴！。。。\r");
  const std::vector<std::string> sequence = {"clipboard clear", "clipboard set", "sleep 2000",     "click",
                                             "sleep 100",       "key down 17",   "key down 86",    "key up 86",
                                             "key up 17"};
  EXPECT_EQ(h.log.events, sequence);
  EXPECT_EQ(p.convertButton.caption(), u"清 除");
  EXPECT_EQ(p.convertButton.backColour(), 0xC0C0FFu);
  EXPECT_TRUE(p.inputBox.locked());
  EXPECT_EQ(h.random.reseeds(), std::vector<std::uint32_t>{69});
}

TEST_F(FormatterPanelTest, ClearEmptiesBoxAndEmoticonsButKeepsSourceForUndo) {
  type(u"abc");
  p.convertButton.userClick();
  std::u16string result = p.inputBox.text();
  p.convertButton.userClick();  // clear
  EXPECT_EQ(p.inputBox.text(), u"");
  EXPECT_FALSE(p.inputBox.locked());
  EXPECT_EQ(p.convertButton.caption(), u"论 坛");
  EXPECT_EQ(p.convertButton.backColour(), 0xFFFFC0u);
  EXPECT_EQ(p.emoticons.countLabel.caption(), u"表情:");
  EXPECT_EQ(h.clipboard.content, result);  // the clipboard keeps the last result
  p.undoButton.userClick();
  EXPECT_EQ(p.inputBox.text(), u"abc");
}

TEST_F(FormatterPanelTest, UndoAfterConvertRestoresTextEmptiesClipboardAndReports) {
  p.targetOptions[1]->userClick();
  type(u"typed");
  p.convertButton.userClick();
  p.undoButton.userClick();
  EXPECT_EQ(p.inputBox.text(), u"typed");
  EXPECT_FALSE(p.inputBox.locked());
  EXPECT_EQ(p.convertButton.caption(), u"Qzone");
  EXPECT_EQ(p.convertButton.backColour(), 0xFFFFC0u);
  EXPECT_EQ(h.clipboard.content, u"");
  EXPECT_EQ(lastReport().heading, u"操作:");
  EXPECT_EQ(lastReport().text, u" 文本 < 撤消 > ");
}

TEST_F(FormatterPanelTest, UndoBeforeAnyConversionEmptiesTheBox) {
  type(u"draft");
  p.undoButton.userClick();
  EXPECT_EQ(p.inputBox.text(), u"");
}

TEST_F(FormatterPanelTest, TargetChangeInConvertedStateEmptiesBoxWithoutPuttingTextBack) {
  type(u"abc");
  p.convertButton.userClick();
  p.targetOptions[1]->userClick();
  EXPECT_EQ(p.inputBox.text(), u"");
  EXPECT_FALSE(p.inputBox.locked());
  EXPECT_EQ(p.convertButton.caption(), u"Qzone");
  EXPECT_EQ(p.convertButton.backColour(), 0xFFFFC0u);
}

TEST_F(FormatterPanelTest, DoubleClickCopiesEvenALockedResult) {
  type(u"abc");
  p.convertButton.userClick();
  h.clipboard.content = u"something else";
  p.inputBox.userDoubleClick();
  EXPECT_EQ(h.clipboard.content, p.inputBox.text());
}

TEST_F(FormatterPanelTest, ClipboardHeldByAnotherProgramIsReportedAndNothingIsPasted) {
  struct Case {
    const char* name;
    std::function<void()> act;
  } cases[] = {
      {"convert button", [&] { p.convertButton.userClick(); }},
      {"one-key conversion", [&] { p.oneKeyConversion(u"abc"); }},
      {"double-click copy", [&] { p.inputBox.userDoubleClick(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    p.undoButton.userClick();
    type(u"abc");
    h.clipboard.content = u"what the other program holds";
    h.clipboard.busy = true;
    h.messageBox.shown.clear();
    h.log.events.clear();
    c.act();

    ASSERT_EQ(h.messageBox.shown.size(), 1u);
    EXPECT_EQ(h.messageBox.shown[0].title, u"错误");
    EXPECT_EQ(h.messageBox.shown[0].text, formatter::kClipboardBusyMessage);
    EXPECT_TRUE(h.log.events.empty()) << h.log.events.front();  // no click, no sleep, no paste
    EXPECT_EQ(h.clipboard.content, u"what the other program holds");
    // The text stays in the box, and reaches the clipboard once it is free.
    const std::u16string shown = p.inputBox.text();
    EXPECT_NE(shown.find(u"abc"), std::u16string::npos);
    h.clipboard.busy = false;
    p.inputBox.userDoubleClick();
    EXPECT_EQ(h.clipboard.content, shown);
  }
}

TEST_F(FormatterPanelTest, GradientOverTheLimitWarnsEmptiesTheBoxAndStaysIdle) {
  p.colourModeOptions[1]->userClick();
  type(std::u16string(257, u'字'));
  h.clipboard.content = u"before";
  p.convertButton.userClick();
  ASSERT_EQ(h.messageBox.shown.size(), 1u);
  EXPECT_EQ(h.messageBox.shown[0].text, u"输入的字符数大于 256 个！。。。");
  EXPECT_EQ(h.messageBox.shown[0].title, u"错误");
  EXPECT_EQ(p.inputBox.text(), u"");
  EXPECT_EQ(p.convertButton.caption(), u"论 坛");
  EXPECT_EQ(h.clipboard.content, u"before");
  EXPECT_EQ(std::count(h.log.events.begin(), h.log.events.end(), "click"), 0);
}

TEST_F(FormatterPanelTest, OneKeyFromIdleAndFromConvertedStateConvertsAgain) {
  p.colourModeOptions[0]->userClick();
  window.formatter.oneKeyConversion(u"x");
  EXPECT_EQ(p.inputBox.text(), u"[font=宋体][size=1][color=#FF0000]x[/color][/size][/font]");
  EXPECT_TRUE(p.converted());
  h.log.events.clear();
  window.formatter.oneKeyConversion(u"y");
  EXPECT_EQ(p.inputBox.text(), u"[font=宋体][size=1][color=#FF0000]y[/color][/size][/font]");
  EXPECT_TRUE(p.converted());
  EXPECT_EQ(lastReport().heading, u"操作:");
  EXPECT_EQ(lastReport().text, u"\r  一键转换 <F12> \r");
  const std::vector<std::string> sequence = {"clipboard clear", "clipboard set", "sleep 500",  "key down 17",
                                             "key down 86",     "key up 86",     "key up 17"};
  EXPECT_EQ(h.log.events, sequence);  // no click, no hint
  p.undoButton.userClick();
  EXPECT_EQ(p.inputBox.text(), u"y");
}

TEST_F(FormatterPanelTest, F12CopiesWithoutDeletingThenConvertsTheClipboardOnTheNextTick) {
  h.keyboard.pressed = {0x7B};
  window.tick();
  const std::vector<std::string> keys = {"clipboard clear", "key down 17", "key down 65", "key up 65", "key up 17",
                                         "key down 17",     "key down 67", "key up 67",   "key up 17"};
  EXPECT_EQ(h.log.events, keys);
  EXPECT_EQ(std::count(h.log.events.begin(), h.log.events.end(), "key down 46"), 0);  // never Delete
  h.keyboard.pressed.clear();
  h.clipboard.content = u"reply";
  h.log.events.clear();
  window.tick();
  EXPECT_EQ(p.sourceText(), u"reply");
  EXPECT_EQ(h.clipboard.content, p.inputBox.text());
  EXPECT_NE(p.inputBox.text().find(u"reply"), std::u16string::npos);
  h.log.events.clear();
  window.tick();  // nothing pending any more
  EXPECT_EQ(std::count(h.log.events.begin(), h.log.events.end(), "sleep 500"), 0);
}

TEST_F(FormatterPanelTest, F12WithNothingCopiedConvertsTheEmptyText) {
  h.keyboard.pressed = {0x7B};
  window.tick();
  h.keyboard.pressed.clear();
  window.tick();
  EXPECT_EQ(p.inputBox.text(), u"[font=宋体][size=1][color=#FF0000][/color][/size][/font]");
}

TEST_F(FormatterPanelTest, ColourChooserOpensRetargetsAcceptsAndCancels) {
  p.colourModeOptions[1]->userClick();
  p.colourButtons[1]->userClick();
  EXPECT_EQ(lastReport().heading, u"设置:");
  EXPECT_EQ(lastReport().text, u" 渐变 < 起始颜色 > ");
  EXPECT_TRUE(p.chooser.frame.visible());
  EXPECT_EQ(p.chooser.frame.caption(), u"选择·渐变 < 起始颜色 >");
  EXPECT_EQ(p.chooser.previewLabel.backColour(), 0x0000FFu);

  p.colourButtons[2]->userClick();  // a second button retargets the open chooser
  EXPECT_EQ(p.chooser.frame.caption(), u"选择·渐变 < 终止颜色 >");
  EXPECT_EQ(p.chooser.previewLabel.backColour(), 0xFF0000u);

  p.chooser.swatches[11]->userClick();  // top right: #FFFF00
  EXPECT_EQ(p.chooser.previewLabel.backColour(), 0x00FFFFu);
  p.chooser.okButton.userClick();
  EXPECT_FALSE(p.chooser.frame.visible());
  EXPECT_EQ(p.colourButtons[2]->backColour(), 0x00FFFFu);
  EXPECT_EQ(p.gradient().sample(256), u"FFFF00");
  EXPECT_FALSE(p.gradientStrip.drawing().empty());

  const auto before = p.gradient().sample(128);
  p.colourButtons[1]->userClick();
  p.chooser.swatches[0]->userClick();
  p.chooser.cancelButton.userClick();
  EXPECT_FALSE(p.chooser.frame.visible());
  EXPECT_EQ(p.colourButtons[1]->backColour(), 0x0000FFu);
  EXPECT_EQ(p.gradient().sample(128), before);
}

TEST_F(FormatterPanelTest, OkWithoutTouchingASwatchKeepsTheColour) {
  p.colourButtons[0]->userClick();
  EXPECT_EQ(p.chooser.frame.caption(), u"选择·单色 < 颜色 >");
  p.chooser.okButton.userClick();
  EXPECT_EQ(p.colourButtons[0]->backColour(), 0x0000FFu);
}

TEST_F(FormatterPanelTest, SelectingAPanelHidesTheChooser) {
  p.colourButtons[0]->userClick();
  window.panelSelector[2]->userClick();
  EXPECT_FALSE(p.chooser.frame.visible());
}

TEST_F(FormatterPanelTest, RandomModeUsesTheInjectedDrawsAfterReseeding) {
  p.colourModeOptions[3]->userClick();
  type(u"a");
  h.random = fakes::ScriptedRandom({0.0, 0.5, 0.999, 0.7, 0.0, 3.5 / 15});
  p.convertButton.userClick();
  EXPECT_EQ(p.inputBox.text(), u"[font=@楷体_GB2312][size=1][color=#0080FF]a[/color][/size][/font]");
}

}  // namespace
