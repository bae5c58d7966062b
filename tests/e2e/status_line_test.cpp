// The status line of the real Vexlo.exe: balloons of its notification-area
// icon, read from the shell's balloon windows. Each report is removed by the
// program on the fourth timer tick after it.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e_support.h"

namespace vexlo::e2e {
namespace {

class StatusLine : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(vexlo_.start()); }

  // Waits for a balloon to show; returns its text ("" if none showed).
  std::wstring waitForBalloon(Milliseconds timeout) {
    std::wstring text;
    waitUntil(
        [&] {
          const auto texts = visibleBalloonTexts(vexlo_.process().id());
          if (texts.empty()) return false;
          text = texts.front();
          return true;
        },
        timeout);
    return text;
  }

  bool waitForNoBalloon(Milliseconds timeout) {
    return waitUntil([&] { return visibleBalloonTexts(vexlo_.process().id()).empty(); }, timeout);
  }

  HWND selector(std::wstring_view name) {
    return vexlo_.control(L"Button", name, [](HWND button) {
      return (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX;
    });
  }

  VexloInstance vexlo_;
};

}  // namespace

TEST_F(StatusLine, WelcomeBalloonShowsFourLinesAndGoesAwayByItself) {
  // The shell may delay a balloon by a moment; the program removes it on
  // the fourth tick after start-up.
  const std::wstring text = waitForBalloon(6s);
  EXPECT_EQ(text, L"\r      Vexlo v11.0\r\r设计者: Quenby_Sarn (Pebbo)") << toUtf8(text);
  EXPECT_TRUE(waitForNoBalloon(8s)) << "the welcome balloon was never removed";
}

TEST_F(StatusLine, PanelSelectorReportsItsNameAndTheLaterOfTwoReportsWins) {
  ASSERT_TRUE(waitForNoBalloon(10s)) << "the welcome balloon was never removed";

  HWND files = selector(L"文件·管理");
  ASSERT_NE(files, nullptr);
  ASSERT_TRUE(clickOn(files));
  EXPECT_EQ(waitForBalloon(6s), L" 文件·管理 ");
  ASSERT_TRUE(waitForNoBalloon(8s)) << "the 文件·管理 balloon was never removed";

  // Two reports within a moment: the second replaces the first.
  HWND media = selector(L"Flash·影音");
  HWND capture = selector(L"屏幕·截图");
  ASSERT_NE(media, nullptr);
  ASSERT_NE(capture, nullptr);
  ASSERT_TRUE(clickOn(media));
  ASSERT_TRUE(clickOn(capture));
  EXPECT_EQ(waitForBalloon(6s), L" 屏幕·截图 ");
  EXPECT_TRUE(waitForNoBalloon(8s));
}

}  // namespace vexlo::e2e
