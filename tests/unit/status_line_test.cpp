#include "common/status_line.h"

#include <gtest/gtest.h>

#include "fakes/fake_services.h"

using namespace vexlo;

namespace {

struct StatusLineTest : ::testing::Test {
  fakes::FakeTray tray;
  fakes::DoubleByteCodec codec;
  common::StatusLine status{tray, codec};
};

TEST_F(StatusLineTest, BalloonDisappearsAtTheFourthTickKeepingHeadingAndTooltip) {
  status.createIcon();
  status.report(u"操作:", u" 打开 < 光驱 > ");
  for (int i = 0; i < 3; ++i) status.ageBalloon();
  EXPECT_EQ(tray.balloons.size(), 1u);
  status.ageBalloon();
  ASSERT_EQ(tray.balloons.size(), 2u);
  EXPECT_EQ(tray.balloons[1].heading, u"操作:");
  EXPECT_EQ(tray.balloons[1].text, u"");
  for (int i = 0; i < 5; ++i) status.ageBalloon();
  EXPECT_EQ(tray.balloons.size(), 2u);  // nothing more until the next report
  EXPECT_EQ(tray.tooltip, u" Vexlo v11.0 - Quenby_Sarn (Pebbo) ");
}

TEST_F(StatusLineTest, SecondReportReplacesTheFirstAndGetsItsFullFourTicks) {
  status.createIcon();
  status.report(u"设置:", u"first");
  status.ageBalloon();
  status.report(u"取消:", u"second");
  for (int i = 0; i < 3; ++i) status.ageBalloon();
  EXPECT_EQ(status.text(), u"second");
  status.ageBalloon();
  EXPECT_EQ(status.text(), u"");
  EXPECT_EQ(tray.balloons[1].text, u"second");
}

TEST_F(StatusLineTest, ReportsBeforeTheIconExistsShowNothingButResetTheAge) {
  status.report(u"设置:", u" 字体 < 宋体 > ");
  EXPECT_TRUE(tray.balloons.empty());
  EXPECT_EQ(status.balloonAge(), 0);
}

TEST_F(StatusLineTest, EmptyHeadingIsShownAsIs) {
  status.createIcon();
  status.report(u"", u" 文件·管理 ");
  EXPECT_EQ(tray.balloons.back().heading, u"");
}

TEST_F(StatusLineTest, HeadingAndTextAreCutToTheirByteLimitsBetweenCharacters) {
  status.createIcon();
  // 40 Chinese characters: 80 bytes of heading, cut to 31 characters (62 bytes).
  std::u16string heading(40, u'字');
  std::u16string text = u"a" + std::u16string(200, u'字');  // 401 bytes
  status.report(heading, text);
  EXPECT_EQ(status.heading(), std::u16string(31, u'字'));
  EXPECT_EQ(status.text(), u"a" + std::u16string(127, u'字'));  // 255 bytes exactly
  std::u16string ascii(300, u'x');
  status.report(ascii, ascii);
  EXPECT_EQ(status.heading().size(), 63u);
  EXPECT_EQ(status.text().size(), 255u);
}

TEST_F(StatusLineTest, SurrogatePairIsNeverSplitByTheCut) {
  status.createIcon();
  std::u16string text = std::u16string(253, u'x') + u"\U0001F600";  // 253 + 4 bytes
  status.report(u"", text);
  EXPECT_EQ(status.text(), std::u16string(253, u'x'));
}

TEST_F(StatusLineTest, ToggleReportsSetOrCancel) {
  status.createIcon();
  status.reportToggle(true, u" 样式 < 粗体 > ");
  EXPECT_EQ(tray.balloons.back().heading, u"设置:");
  status.reportToggle(false, u" 样式 < 粗体 > ");
  EXPECT_EQ(tray.balloons.back().heading, u"取消:");
  EXPECT_EQ(tray.balloons.back().text, u" 样式 < 粗体 > ");
}

}  // namespace
