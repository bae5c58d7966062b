// The system utilities as a user meets them: the system tools list and the
// Control Panel menu row by row, the strip's clock, recycle bin, shut-down
// and CD buttons, the web search, starting with Windows, and the
// counterparts started for tools this system lacks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes/utilities_fakes.h"
#include "text/characters.h"
#include "utilities/autostart.h"
#include "utilities/launch.h"
#include "utilities/web_search.h"

using namespace vexlo;

namespace {

using Events = std::vector<std::string>;

struct UtilitiesTest : ::testing::Test {
  fakes::UtilitiesHarness h;
  utilities::SystemTools& tools = h.tools;

  // The events of one action alone.
  Events after(const std::function<void()>& action) {
    h.log.events.clear();
    action();
    return h.log.events;
  }
  void chooseTool(int index) { tools.toolsList.userSelect(index); }
  const fakes::FakeTray::Balloon& lastBalloon() { return h.tray.balloons.back(); }
};

struct ToolRow {
  int index;
  std::u16string_view caption;
  Events events;
};

const std::vector<ToolRow> kToolRows = {
    {0, u"画  图", {"collapse", "run Mspaint.exe 3"}},
    {1, u"计算器", {"collapse", "run Calc.exe 3"}},
    {2, u"记事本", {"collapse", "run Notepad.exe 1"}},
    {3, u"服  务", {"collapse", "shell Open Services.msc 1"}},
    {4, u"注册表", {"collapse", "run Regedt32.exe 1"}},
    {5, u"组策略", {"collapse", "shell Open Gpedit.msc 1"}},
    {6, u"我的电脑", {"collapse", "run Explorer.exe   3"}},  // two trailing blanks
    {7, u"我的文档", {"collapse", "run Explorer.exe 3"}},
    {8, u"控制面板", {"menu"}},  // the window stays expanded
    {9, u"搜索文件", {"collapse", "shell Find  1"}},
    {10, u"磁盘清理", {"collapse", "run Cleanmgr.exe 1"}},
    {11, u"碎片整理", {"collapse", "shell Open Dfrg.msc 1"}},
    {12, u"DOS 窗口", {"collapse", "run Cmd.exe 1"}},
    {13, u"系统信息", {"collapse", "run Winmsd.exe 3"}},
    {14, u"系统更新", {"collapse", "run Wupdmgr.exe 3"}},
    {15, u"任务计划", {"collapse", "run Explorer.exe ::{D6277990-4C6A-11CF-8D87-00AA0060F5BF} 3"}},
    {16, u"任务管理器", {"collapse", "run Taskmgr.exe 1"}},
    {17, u"字符映射表", {"collapse", "run Charmap.exe 1"}},
};

TEST_F(UtilitiesTest, EveryToolOfTheListStartsAsItsRowSays) {
  ASSERT_EQ(tools.toolsList.count(), 18);
  for (const ToolRow& row : kToolRows) {
    SCOPED_TRACE(row.index);
    EXPECT_EQ(tools.toolsList.items()[row.index], row.caption);
    EXPECT_EQ(after([&] { chooseTool(row.index); }), row.events);
    // The list lets go of the choice, so the same tool can be chosen again.
    EXPECT_EQ(tools.toolsList.selectedIndex(), -1);
    EXPECT_EQ(after([&] { chooseTool(row.index); }), row.events);
  }
  EXPECT_TRUE(h.tray.balloons.empty()) << "the list makes no report";
}

TEST_F(UtilitiesTest, MyComputerKeepsItsTwoTrailingBlanks) {
  chooseTool(6);
  ASSERT_EQ(h.launcher.ran.size(), 1u);
  EXPECT_EQ(h.launcher.ran[0].commandLine, u"Explorer.exe  ");
  EXPECT_EQ(h.launcher.lookedFor, std::vector<std::u16string>{u"Explorer.exe"});
}

struct MenuRow {
  std::u16string_view caption;
  std::string commandLine;  // empty for the separator
};

const std::vector<MenuRow> kMenuRows = {
    {u"打开控制面板", "Control.exe"},
    {u"-", ""},
    {u"系统", "Control.exe Sysdm.cpl"},
    {u"显示", "Control.exe Desk.cpl"},
    {u"键盘", "Control.exe Main.cpl @1"},
    {u"鼠标", "Control.exe Main.cpl"},
    {u"用户帐户", "Control.exe Nusrmgr.cpl"},
    {u"添加硬件", "Control.exe Hdwwiz.cpl"},
    {u"电源选项", "Control.exe Powercfg.cpl"},
    {u"音频设备", "Control.exe Mmsys.cpl"},
    {u"网络连接", "Control.exe Ncpa.cpl"},
    {u"自动更新", "Control.exe Wuaucpl.cpl"},
    {u"安全中心", "Control.exe Wscui.cpl"},
    {u"日期/时间", "Control.exe Timedate.cpl"},
    {u"区域/语言", "Control.exe Intl.cpl"},
    {u"添加/删除程序", "Control.exe Appwiz.cpl"},
    {u"Internet 选项", "Control.exe Inetcpl.cpl"},
    {u"Windows 防火墙", "Control.exe Firewall.cpl"},
};

TEST_F(UtilitiesTest, EveryControlPanelItemCollapsesAndStartsItsAppletMaximized) {
  for (int item = 0; item < static_cast<int>(kMenuRows.size()); ++item) {
    SCOPED_TRACE(item);
    h.menu.choice = item;
    const MenuRow& row = kMenuRows[item];
    const Events expected = row.commandLine.empty() ? Events{"menu"}
                                                    : Events{"menu", "collapse", "run " + row.commandLine + " 3"};
    EXPECT_EQ(after([&] { chooseTool(8); }), expected);
  }
  ASSERT_FALSE(h.menu.shown.empty());
  std::vector<std::u16string> captions;
  for (const MenuRow& row : kMenuRows) captions.emplace_back(row.caption);
  EXPECT_EQ(h.menu.shown[0].items, captions);
  EXPECT_EQ(h.menu.shown[0].x, 4320);
  EXPECT_EQ(h.menu.shown[0].y, 2835);
}

TEST_F(UtilitiesTest, DismissingTheMenuStartsNothingAndLeavesTheWindowExpanded) {
  h.menu.choice = -1;
  EXPECT_EQ(after([&] { chooseTool(8); }), Events{"menu"});
  // Chosen again at once, the entry shows the menu again.
  EXPECT_EQ(after([&] { chooseTool(8); }), Events{"menu"});
}

TEST_F(UtilitiesTest, TheClockOpensTheDateAndTimeMinimized) {
  EXPECT_EQ(after([&] { h.strip.clockLabel.userClick(); }), (Events{"collapse", "run Control.exe Timedate.cpl 2"}));
  EXPECT_TRUE(h.tray.balloons.empty());
}

TEST_F(UtilitiesTest, ALeftClickEmptiesTheRecycleBinAfterCollapsing) {
  EXPECT_EQ(after([&] { h.strip.recycleBinButton.userClick(); }), (Events{"collapse", "empty recycle bin"}));
  ASSERT_EQ(h.tray.balloons.size(), 1u);
  EXPECT_EQ(lastBalloon().heading, u"操作:");
  EXPECT_EQ(lastBalloon().text, u"  清空 < 回收站 > ");
  h.launcher.recycleBinWorks = false;
  h.strip.recycleBinButton.userClick();
  EXPECT_EQ(lastBalloon().heading, u"错误:");
  EXPECT_EQ(lastBalloon().text, u" 无法清空 < 回收站 > ");
}

TEST_F(UtilitiesTest, ARightPressMovesThePointerAndOpensTheRecycleBinFolder) {
  struct Screen {
    platform::ScreenMetrics metrics;
    std::string move;
  };
  for (const Screen& s : {Screen{{1280, 15, 15}, "move 640,120"}, Screen{{1920, 10, 10}, "move 960,180"}}) {
    h.screen.value = s.metrics;
    EXPECT_EQ(after([&] { tools.recycleBinRightPressed(); }),
              (Events{s.move, "collapse", "run Explorer.exe ::{645FF040-5081-101B-9F08-00AA002F954E} 3"}));
    EXPECT_EQ(lastBalloon().heading, u"操作:");
    EXPECT_EQ(lastBalloon().text, u" 打开 < 回收站 > ");
  }
  EXPECT_EQ(h.launcher.recycleBinEmptyings, 0);
}

TEST_F(UtilitiesTest, TheShutDownButtonShowsTheSystemsDialog) {
  EXPECT_EQ(after([&] { h.strip.shutDownButton.userClick(); }), (Events{"collapse", "shut-down dialog"}));
  EXPECT_TRUE(h.tray.balloons.empty());
  h.launcher.shutDownDialogOffered = false;
  h.strip.shutDownButton.userClick();
  EXPECT_EQ(lastBalloon().heading, u"无法启动:");
  EXPECT_EQ(lastBalloon().text, u" 重启·关闭计算机 ");
}

TEST_F(UtilitiesTest, TheCdButtonsSwapAndGiveTheFocusBackToTheInputBox) {
  EXPECT_EQ(after([&] { h.strip.cdOpenButton.userClick(); }), (Events{"mci Set CDAudio Door Open", "focus input box"}));
  EXPECT_EQ(lastBalloon().heading, u"操作:");
  EXPECT_EQ(lastBalloon().text, u" 打开 < 光驱 > ");
  EXPECT_FALSE(h.strip.cdOpenButton.visible()) << "the close button beneath shows";
  EXPECT_EQ(after([&] { h.strip.cdCloseButton.userClick(); }), (Events{"mci Set CDAudio Door Closed", "focus input box"}));
  EXPECT_EQ(lastBalloon().text, u" 关闭 < 光驱 > ");
  EXPECT_TRUE(h.strip.cdOpenButton.visible());
  EXPECT_EQ(h.tray.balloons.size(), 2u);
}

TEST_F(UtilitiesTest, F6TogglesOnEveryTickWithoutTakingTheFocus) {
  // Held for three ticks: open, close, open.
  const Events events = after([&] {
    for (int tick = 0; tick < 3; ++tick) tools.f6Pressed();
  });
  EXPECT_EQ(events, (Events{"mci Set CDAudio Door Open", "mci Set CDAudio Door Closed", "mci Set CDAudio Door Open"}));
  EXPECT_FALSE(h.strip.cdOpenButton.visible());
  EXPECT_EQ(lastBalloon().text, u" 打开 < 光驱 > ");
  tools.f6Pressed();
  EXPECT_TRUE(h.strip.cdOpenButton.visible());
  EXPECT_EQ(lastBalloon().text, u" 关闭 < 光驱 > ");
}

TEST_F(UtilitiesTest, ACdCommandWithoutADriveStillSwapsThenSaysNoDriveAnswered) {
  h.launcher.cdDriveAnswers = false;
  h.strip.cdOpenButton.userClick();
  EXPECT_FALSE(h.strip.cdOpenButton.visible());
  ASSERT_EQ(h.tray.balloons.size(), 2u);
  EXPECT_EQ(h.tray.balloons[0].text, u" 打开 < 光驱 > ");
  EXPECT_EQ(h.tray.balloons[1].heading, u"提示:");
  EXPECT_EQ(h.tray.balloons[1].text, u" 没有光驱响应 ");
  tools.f6Pressed();
  EXPECT_TRUE(h.strip.cdOpenButton.visible());
  EXPECT_EQ(lastBalloon().text, u" 没有光驱响应 ");
}

struct SearchRow {
  std::u16string_view keyword;
  std::string baidu;
  std::string google;
};

const std::vector<SearchRow> kSearchRows = {
    {u"vexlo", "http://www.baidu.com/s?wd=vexlo&ie=utf-8", "http://www.google.com/search?q=vexlo"},
    {u" a b ", "http://www.baidu.com/s?wd=%20a%20b%20&ie=utf-8", "http://www.google.com/search?q=%20a%20b%20"},
    {u"中文", "http://www.baidu.com/s?wd=%E4%B8%AD%E6%96%87&ie=utf-8",
     "http://www.google.com/search?q=%E4%B8%AD%E6%96%87"},
    {u"&#+%", "http://www.baidu.com/s?wd=%26%23%2B%25&ie=utf-8", "http://www.google.com/search?q=%26%23%2B%25"},
    {u"a-b_c.d~e/f?g=h", "http://www.baidu.com/s?wd=a-b_c.d~e%2Ff%3Fg%3Dh&ie=utf-8",
     "http://www.google.com/search?q=a-b_c.d~e%2Ff%3Fg%3Dh"},
    {u"😀", "http://www.baidu.com/s?wd=%F0%9F%98%80&ie=utf-8", "http://www.google.com/search?q=%F0%9F%98%80"},
    // Half a surrogate pair has no UTF-8 form: it is sent as U+FFFD.
    {u"a\xD83D"
     u"b\xDE00",
     "http://www.baidu.com/s?wd=a%EF%BF%BDb%EF%BF%BD&ie=utf-8", "http://www.google.com/search?q=a%EF%BF%BDb%EF%BF%BD"},
};

TEST_F(UtilitiesTest, SearchOpensTheChosenEnginesAddressWithTheKeywordEncoded) {
  EXPECT_TRUE(tools.baiduOption.value()) << "Baidu is the engine at start";
  for (const SearchRow& row : kSearchRows) {
    SCOPED_TRACE(text::toUtf8(row.keyword));
    tools.keywordBox.userEdited(std::u16string(row.keyword));
    tools.baiduOption.userClick();
    EXPECT_EQ(after([&] { tools.searchButton.userClick(); }), (Events{"collapse", "shell Open " + row.baidu + " 1"}));
    tools.googleOption.userClick();
    EXPECT_EQ(after([&] { tools.searchButton.userClick(); }), (Events{"collapse", "shell Open " + row.google + " 1"}));
  }
  EXPECT_TRUE(h.tray.balloons.empty()) << "a search makes no report";
}

TEST_F(UtilitiesTest, AnEmptyKeywordSearchesNothingAndLeavesTheWindowOpen) {
  EXPECT_EQ(after([&] { tools.searchButton.userClick(); }), Events{});
  tools.keywordBox.userEdited(u" ");
  EXPECT_EQ(after([&] { tools.searchButton.userClick(); }).size(), 2u) << "a blank is a keyword as typed";
}

TEST_F(UtilitiesTest, AnAddressTheShellCannotOpenIsReported) {
  h.launcher.succeeds = false;
  tools.keywordBox.userEdited(u"x");
  tools.searchButton.userClick();
  EXPECT_EQ(lastBalloon().heading, u"无法启动:");
  EXPECT_EQ(lastBalloon().text, u"http://www.baidu.com/s?wd=x&ie=utf-8");
}

TEST(UtilitiesAutostart, TheCommandIsTheQuotedFullPathAtADriveRootAndBelow) {
  struct Row {
    std::u16string_view directory, name, command;
  };
  for (const Row& row : {Row{u"C:\\", u"Vexlo", u"\"C:\\Vexlo.exe\""},
                         Row{u"C:\\Program Files\\Vexlo", u"Vexlo", u"\"C:\\Program Files\\Vexlo\\Vexlo.exe\""},
                         Row{u"D:\\工具", u"我的 Vexlo", u"\"D:\\工具\\我的 Vexlo.exe\""},
                         Row{u"\\\\server\\share", u"Vexlo", u"\"\\\\server\\share\\Vexlo.exe\""}})
    EXPECT_EQ(utilities::autostartCommand(row.directory, row.name), row.command) << text::toUtf8(row.directory);
}

TEST_F(UtilitiesTest, TickingTheSwitchRegistersTheCurrentPathAndClearingDeletesIt) {
  h.environment.directory = u"C:\\";
  h.strip.startWithWindowsBox.userClick();
  EXPECT_EQ(h.registry.runValues, (std::map<std::u16string, std::u16string>{{u"Vexlo v10.1", u"\"C:\\Vexlo.exe\""}}));
  EXPECT_EQ(lastBalloon().heading, u"设置:");
  EXPECT_EQ(lastBalloon().text, u" 开机 < 自启动 > ");
  h.registry.runValues[u"Other"] = u"other.exe";
  h.strip.startWithWindowsBox.userClick();
  EXPECT_EQ(h.registry.runValues, (std::map<std::u16string, std::u16string>{{u"Other", u"other.exe"}}));
  EXPECT_EQ(lastBalloon().heading, u"取消:");
  // Set from code, as the settings restore does: the executable's path of
  // this start is registered anew.
  h.environment.directory = u"E:\\New Place";
  h.strip.startWithWindowsBox.setValue(true);
  EXPECT_EQ(h.registry.runValues[u"Vexlo v10.1"], u"\"E:\\New Place\\Vexlo.exe\"");
}

TEST_F(UtilitiesTest, ARefusedRegistrationIsReportedAndTheSwitchPutBackOnce) {
  h.registry.refuses = true;
  h.strip.startWithWindowsBox.userClick();
  EXPECT_FALSE(h.strip.startWithWindowsBox.value());
  ASSERT_EQ(h.tray.balloons.size(), 2u) << "no second report for the switch put back";
  EXPECT_EQ(h.tray.balloons[0].heading, u"设置:");
  EXPECT_EQ(h.tray.balloons[1].heading, u"无法设置:");
  EXPECT_EQ(h.tray.balloons[1].text, u" 开机 < 自启动 > ");

  h.registry.refuses = false;
  h.strip.startWithWindowsBox.userClick();
  h.registry.refuses = true;
  h.tray.balloons.clear();
  h.strip.startWithWindowsBox.userClick();
  EXPECT_TRUE(h.strip.startWithWindowsBox.value()) << "the value is still registered";
  ASSERT_EQ(h.tray.balloons.size(), 2u);
  EXPECT_EQ(h.tray.balloons[1].heading, u"无法取消:");
  EXPECT_EQ(h.registry.runValues.count(u"Vexlo v10.1"), 1u);
}

struct FallbackRow {
  const char* what;
  int tool;
  int menuItem;  // chosen when the entry is the Control Panel menu
  std::set<std::u16string> missing;
  std::set<std::u16string> failing;
  Events events;
};

const std::vector<FallbackRow> kFallbackRows = {
    {"system information", 13, 0, {u"Winmsd.exe"}, {}, {"collapse", "run Msinfo32.exe 3"}},
    {"Windows Update program", 14, 0, {u"Wupdmgr.exe"}, {}, {"collapse", "run Wuapp.exe 3"}},
    {"Windows Update page", 14, 0, {u"Wupdmgr.exe", u"Wuapp.exe"}, {},
     {"collapse", "shell open ms-settings:windowsupdate 1"}},
    {"defragmenter", 11, 0, {u"Dfrg.msc"}, {}, {"collapse", "run Dfrgui.exe 1"}},
    {"file search", 9, 0, {}, {u""}, {"collapse", "shell Find  1", "run Explorer.exe search-ms: 1"}},
    {"user accounts", 8, 6, {u"Nusrmgr.cpl"}, {},
     {"menu", "collapse", "run Control.exe /name Microsoft.UserAccounts 3"}},
    {"automatic updates", 8, 11, {u"Wuaucpl.cpl"}, {}, {"menu", "collapse", "run Wuapp.exe 3"}},
    {"automatic updates page", 8, 11, {u"Wuaucpl.cpl", u"Wuapp.exe"}, {},
     {"menu", "collapse", "shell open ms-settings:windowsupdate 1"}},
    {"a tool that is there but does not start", 13, 0, {}, {u"Winmsd.exe"},
     {"collapse", "run Winmsd.exe 3", "run Msinfo32.exe 3"}},
};

TEST(UtilitiesFallbacks, AMissingToolStartsItsPresentDayCounterpart) {
  for (const FallbackRow& row : kFallbackRows) {
    SCOPED_TRACE(row.what);
    fakes::UtilitiesHarness fresh;  // nothing looked for yet
    fresh.launcher.missing = row.missing;
    fresh.launcher.failing = row.failing;
    fresh.menu.choice = row.menuItem;
    fresh.log.events.clear();
    fresh.tools.toolsList.userSelect(row.tool);
    EXPECT_EQ(fresh.log.events, row.events);
    EXPECT_TRUE(fresh.tray.balloons.empty());
  }
}

TEST_F(UtilitiesTest, EachFileIsLookedForOnceForTheProgramsLife) {
  h.launcher.missing = {u"Winmsd.exe"};
  chooseTool(13);
  chooseTool(13);
  EXPECT_EQ(h.launcher.lookedFor, (std::vector<std::u16string>{u"Winmsd.exe", u"Msinfo32.exe"}));
  EXPECT_EQ(h.launcher.ran.size(), 2u);
}

TEST_F(UtilitiesTest, AToolThatCannotStartAtAllIsNamedInABalloonAndTheWindowStaysCollapsed) {
  struct Row {
    std::function<void()> action;
    std::set<std::u16string> missing;
    std::set<std::u16string> failing;
    std::u16string_view named;
  };
  const std::vector<Row> rows = {
      {[&] { chooseTool(0); }, {u"Mspaint.exe"}, {}, u"Mspaint.exe"},
      {[&] { chooseTool(1); }, {}, {u"Calc.exe"}, u"Calc.exe"},
      {[&] { chooseTool(13); }, {u"Winmsd.exe", u"Msinfo32.exe"}, {}, u"Winmsd.exe"},
      {[&] { chooseTool(9); }, {}, {u"", u"Explorer.exe search-ms:"}, u"Find"},
      {[&] { chooseTool(5); }, {u"Gpedit.msc"}, {}, u"Gpedit.msc"},
      {[&] { h.strip.clockLabel.userClick(); }, {u"Timedate.cpl"}, {}, u"Control.exe Timedate.cpl"},
      {[&] { tools.recycleBinRightPressed(); }, {}, {u"Explorer.exe ::{645FF040-5081-101B-9F08-00AA002F954E}"},
       u"Explorer.exe ::{645FF040-5081-101B-9F08-00AA002F954E}"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(text::toUtf8(row.named));
    h.launcher.missing = row.missing;
    h.launcher.failing = row.failing;
    const Events events = after(row.action);
    EXPECT_NE(std::find(events.begin(), events.end(), "collapse"), events.end());
    EXPECT_EQ(lastBalloon().heading, u"无法启动:");
    EXPECT_EQ(lastBalloon().text, row.named);
  }
  h.launcher.missing = {u"Desk.cpl"};
  h.menu.choice = 3;
  EXPECT_EQ(after([&] { chooseTool(8); }), (Events{"menu", "collapse"})) << "the applet is not there";
  EXPECT_EQ(lastBalloon().text, u"Control.exe Desk.cpl");
}

TEST(UtilitiesLaunch, TheFileLookedForIsTheAppletTheProgramOrTheConsoleFile) {
  using utilities::run;
  using utilities::shellVerb;
  struct Row {
    utilities::Launch launch;
    std::u16string_view file;
  };
  for (const Row& row : {Row{run(u"Control.exe Main.cpl @1", 3), u"Main.cpl"},
                         Row{run(u"Control.exe", 3), u"Control.exe"},
                         Row{run(u"Control.exe /name Microsoft.UserAccounts", 3), u"Control.exe"},
                         Row{run(u"Explorer.exe  ", 3), u"Explorer.exe"},
                         Row{run(u"Explorer.exe ::{D6277990-4C6A-11CF-8D87-00AA0060F5BF}", 3), u"Explorer.exe"},
                         Row{shellVerb(u"Open", u"Dfrg.msc"), u"Dfrg.msc"},
                         Row{shellVerb(u"Open", u"SERVICES.MSC"), u"SERVICES.MSC"},
                         Row{shellVerb(u"Find", u""), u""},
                         Row{shellVerb(u"open", u"ms-settings:windowsupdate"), u""}})
    EXPECT_EQ(utilities::fileToFind(row.launch), row.file) << text::toUtf8(row.launch.command);
}

TEST_F(UtilitiesTest, TheToolboxControlsShareTheFreeAreaWithoutOverlapping) {
  EXPECT_EQ(tools.toolsLabel.caption(), u"系统工具:");
  EXPECT_EQ(tools.keywordLabel.caption(), u"关键字:");
  EXPECT_EQ(tools.baiduOption.caption(), u"百 度");
  EXPECT_EQ(tools.googleOption.caption(), u"Google");
  EXPECT_EQ(tools.searchButton.caption(), u"搜 索");
  const std::vector<controls::Control*> placed = h.toolbox.children();
  ASSERT_EQ(placed.size(), 7u);
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const controls::TwipsRect a = placed[i]->rect();
    SCOPED_TRACE(placed[i]->name());
    // Beside the program tiles and below the list buttons, inside the panel.
    EXPECT_GE(a.left, 3240);
    EXPECT_LE(a.left + a.width, 4815);
    EXPECT_GE(a.top, 1440);
    EXPECT_LE(a.top + a.height, 3615);
    for (std::size_t j = i + 1; j < placed.size(); ++j) {
      const controls::TwipsRect b = placed[j]->rect();
      const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left || a.top + a.height <= b.top ||
                         b.top + b.height <= a.top;
      EXPECT_TRUE(apart) << placed[j]->name();
    }
  }
}

}  // namespace
