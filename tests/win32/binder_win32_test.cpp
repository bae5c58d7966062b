// The binder against real Win32 controls: the model and the windows agree,
// user actions reach the model once, and model changes do not echo back.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>  // before the common controls, which need its types
#include <commctrl.h>
// clang-format on

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>

#include "controls/win32/artwork.h"
#include "controls/win32/binder.h"
#include "live_icon.h"
#include "platform/win32/wide.h"
#include "recorded_messages.h"

namespace vexlo::controls::win32 {
namespace {

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
Binder* activeBinder = nullptr;

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (activeBinder && activeBinder->handle(message, wParam, lParam, result)) return result;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct BinderWin32Test : ::testing::Test {
  Window window{"Form", {0, 0, 4500, 3000}, u"host"};
  Frame frame{"Frame", {120, 120, 4000, 2500}, u"面板"};
  CheckBox check{"Check", {120, 240, 900, 240}, u"粗体"};
  ListBox list{"List", {120, 600, 1200, 900}};
  TextBox text{"Text", {1500, 600, 2000, 900}, true};
  // An outline list whose one click acts, as a directory list's does.
  ListBox folders{"Folders", {2400, 120, 1500, 1200}, true};
  Label pathLabel{"Path", {2400, 1350, 1500, 150}, u"C:\\很长的路径\\目录\\文件.txt"};
  Button coloured{"Coloured", {1500, 1700, 900, 300}, u"论 坛"};
  // Hidden at start between two shown controls of the frame.
  Button lateButton{"LateButton", {120, 1600, 900, 300}, u"稍后的按钮"};
  // A panel that starts hidden, with a hidden frame inside it.
  Frame hidden{"Hidden", {120, 120, 4000, 2500}, u"稍后"};
  CheckBox lateCheck{"LateCheck", {120, 240, 900, 240}, u"斜体"};
  ListBox lateList{"LateList", {120, 600, 1200, 900}};
  Frame inner{"Inner", {1500, 600, 2000, 1500}, u"内层"};
  Label innerLabel{"InnerLabel", {120, 240, 900, 240}, u"标签"};
  Control player{Kind::MediaHost, "Player", {120, 600, 1500, 800}};
  PictureBox lateIcon{"LateIcon", {2400, 240, 480, 480}};
  // A tile panel above the frame: a coloured picture box holding an icon
  // box, a shape whose right edge runs under a label, and a scroll bar.
  PictureBox tiles{"Tiles", {2400, 1500, 2000, 1400}};
  PictureBox iconBox{"IconBox", {60, 60, 480, 480}};
  Control outline{Kind::Shape, "Outline", {30, 30, 1200, 900}};
  Label tileLabel{"TileLabel", {900, 600, 900, 240}, u"记事本"};
  ScrollBar scroll{"Scroll", {1800, 0, 255, 1400}};
  DropDownList fontSizes{"FontSizes", {120, 2650, 1200, 300}};
  // Takes the focus from the other controls; outside the window's width.
  DropDownList focusSink{"FocusSink", {6000, 0, 300, 300}};
  HWND hwnd = nullptr;
  std::unique_ptr<Binder> binder;
  int clicks = 0, listClicks = 0, scrollChanges = 0, folderClicks = 0;

  void SetUp() override {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BinderTestHost";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, L"BinderTestHost", L"host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    window.add(frame);
    frame.add(check);
    frame.add(list);
    frame.add(lateButton);
    lateButton.setVisible(false);
    frame.add(text);
    frame.add(coloured);
    window.add(folders);
    folders.setItems({u"C:\\", u"Windows", u"System32"},
                     {{0, ItemIcon::OpenFolder}, {1, ItemIcon::OpenFolder}, {2, ItemIcon::ClosedFolder}});
    folders.setKeysOnlyHighlight(true);
    folders.onClick = [this] { ++folderClicks; };
    pathLabel.setPathEllipsis(true);
    window.add(pathLabel);
    list.addItem(u"宋体");
    list.addItem(u"仿宋");
    coloured.setBackColour(0xFFFFC0);
    window.add(hidden);
    hidden.setVisible(false);
    hidden.add(lateCheck);
    hidden.add(lateList);
    hidden.add(inner);
    inner.setVisible(false);
    inner.add(innerLabel);
    inner.add(player);
    hidden.add(lateIcon);
    window.add(tiles);
    tiles.setBackColour(0xFDF9F2);
    tiles.add(iconBox);
    tiles.add(outline);
    tiles.add(tileLabel);
    tiles.add(scroll);
    scroll.setMaximum(3000);
    scroll.onChange = [this] { ++scrollChanges; };
    window.add(fontSizes);
    fontSizes.setItems({u"9", u"10", u"12"});
    window.add(focusSink);
    check.onClick = [this] { ++clicks; };
    list.onClick = [this] { ++listClicks; };
    binder = std::make_unique<Binder>(hwnd, window);
    activeBinder = binder.get();
    binder->create();
  }
  void TearDown() override {
    activeBinder = nullptr;
    binder.reset();
    DestroyWindow(hwnd);
  }
  std::wstring classOf(HWND h) {
    wchar_t buffer[64] = {};
    GetClassNameW(h, buffer, 64);
    return buffer;
  }
  // What the window shows on the screen at a point of its client area.
  COLORREF screenPixel(HWND h, int x, int y) {
    POINT p{x, y};
    ClientToScreen(h, &p);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
  }
  std::wstring textOf(HWND h) {
    wchar_t buffer[256] = {};
    GetWindowTextW(h, buffer, 256);
    return buffer;
  }
};

TEST_F(BinderWin32Test, ControlsAreStandardClassesWithTheirCaptionsInsideTheirFrame) {
  HWND box = binder->handleOf(check);
  wchar_t cls[64] = {};
  GetClassNameW(box, cls, 64);
  EXPECT_STREQ(cls, L"Button");
  EXPECT_EQ(textOf(box), L"粗体");
  EXPECT_EQ(GetParent(box), binder->handleOf(frame));
  EXPECT_EQ(textOf(binder->handleOf(frame)), L"面板");
  GetClassNameW(binder->handleOf(list), cls, 64);
  EXPECT_STREQ(cls, L"ListBox");
  EXPECT_EQ(SendMessageW(binder->handleOf(list), LB_GETCOUNT, 0, 0), 2);
}

TEST_F(BinderWin32Test, LaterControlsLieAboveEarlierOnes) {
  HWND inFrame = binder->handleOf(frame);
  EXPECT_EQ(GetWindow(inFrame, GW_CHILD), binder->handleOf(coloured));
  EXPECT_EQ(GetWindow(binder->handleOf(coloured), GW_HWNDNEXT), binder->handleOf(text));
  EXPECT_EQ(GetWindow(binder->handleOf(check), GW_HWNDNEXT), nullptr);
}

TEST_F(BinderWin32Test, GeometryIsTwipsAtTheWindowsDpi) {
  RECT r;
  GetWindowRect(binder->handleOf(frame), &r);
  const int dpi = static_cast<int>(binder->dpi());
  EXPECT_EQ(r.right - r.left, MulDiv(4000, dpi, 1440));
  EXPECT_EQ(r.bottom - r.top, MulDiv(2500, dpi, 1440));
}

TEST_F(BinderWin32Test, AUserClickReachesTheModelOnceAndModelChangesDoNotEcho) {
  SendMessageW(binder->handleOf(check), BM_CLICK, 0, 0);
  EXPECT_TRUE(check.value());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(SendMessageW(binder->handleOf(check), BM_GETCHECK, 0, 0), BST_CHECKED);
  check.setValue(false);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(SendMessageW(binder->handleOf(check), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  list.setSelectedIndex(1);
  EXPECT_EQ(listClicks, 1);
  EXPECT_EQ(SendMessageW(binder->handleOf(list), LB_GETCURSEL, 0, 0), 1);
}

using win32_tests::RecordedMessages;

// A handler that throws inside the real window procedures is reported
// through the window's guard; nothing unwinds through the system's frames,
// and the same control answers the next message.
TEST_F(BinderWin32Test, AFailingHandlerIsReportedAndTheNextMessageIsHandled) {
  RecordedMessages messages;
  vexlo::platform::HandlerGuard guard(messages);
  window.setGuard(&guard);
  const HWND listWindow = binder->handleOf(list);
  const auto selectInWindow = [&](int index) {
    SendMessageW(listWindow, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(listWindow), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(listWindow), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(listWindow));
  };
  struct Case {
    const char* name;
    std::function<void()> fail;
    std::u16string report;
    std::function<void()> handle;
    std::function<bool()> handled;
  } cases[] = {
      {"click, runtime_error",
       [&] {
         check.onClick = [] { throw std::runtime_error("disk full"); };
         SendMessageW(binder->handleOf(check), BM_CLICK, 0, 0);
       },
       u"错误: 控件 Check「粗体」的单击时出错:\r\ndisk full\r\n\r\n此操作已中止，程序继续运行。",
       [&] {
         check.onClick = [this] { ++clicks; };
         SendMessageW(binder->handleOf(check), BM_CLICK, 0, 0);
       },
       [&] { return clicks == 1 && !check.value(); }},
      {"selection, bad_alloc",
       [&] {
         list.onClick = [] { throw std::bad_alloc(); };
         selectInWindow(1);
       },
       u"错误: 控件 List 的选择时出错:\r\n内存不足 (std::bad_alloc)\r\n\r\n此操作已中止，程序继续运行。",
       [&] {
         list.onClick = [this] { ++listClicks; };
         selectInWindow(0);
       },
       [&] { return listClicks == 1 && list.selectedIndex() == 0; }},
  };
  for (const Case& c : cases) {
    messages.texts.clear();
    c.fail();
    ASSERT_EQ(messages.texts.size(), 1u) << c.name;
    EXPECT_EQ(messages.texts[0], c.report) << c.name;
    c.handle();
    EXPECT_TRUE(c.handled()) << c.name;
    EXPECT_EQ(messages.texts.size(), 1u) << c.name;
  }
  window.setGuard(nullptr);
}

TEST_F(BinderWin32Test, TypedTextReachesTheModelAndCodeTextReachesTheWindow) {
  HWND edit = binder->handleOf(text);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"用户"));
  EXPECT_EQ(text.text(), u"用户");
  // Automation tools set the text whole; a multi-line edit sends no change
  // notification for that.
  SetWindowTextW(edit, L"用户输入");
  EXPECT_EQ(text.text(), u"用户输入");
  text.setText(u"[b]结果[/b]");
  EXPECT_EQ(textOf(edit), L"[b]结果[/b]");
  text.setLocked(true);
  EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
}

TEST_F(BinderWin32Test, HidingAFrameHidesWhatItHolds) {
  ShowWindow(hwnd, SW_SHOWNA);
  EXPECT_TRUE(IsWindowVisible(binder->handleOf(check)));
  frame.setVisible(false);
  EXPECT_FALSE(IsWindowVisible(binder->handleOf(check)));
  frame.setVisible(true);
  check.setVisible(false);
  EXPECT_FALSE(IsWindowVisible(binder->handleOf(check)));
}

// A hidden frame and its contents cost nothing until it first shows; then
// they appear as the model has them now, and stay when it hides again.
TEST_F(BinderWin32Test, HiddenFrameContentsAreMadeWhenFirstShownWithTheModelsState) {
  ShowWindow(hwnd, SW_SHOWNA);
  EXPECT_EQ(binder->handleOf(hidden), nullptr);
  EXPECT_EQ(binder->handleOf(lateCheck), nullptr);

  lateCheck.setValue(true);
  lateCheck.setCaption(u"下划");
  lateCheck.setEnabled(false);
  lateList.addItem(u"宋体");
  lateList.addItem(u"黑体");
  lateList.setSelectedIndex(1);
  innerLabel.setCaption(u"已改");
  hidden.setVisible(true);

  HWND box = binder->handleOf(lateCheck);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetParent(box), binder->handleOf(hidden));
  EXPECT_TRUE(IsWindowVisible(box));
  EXPECT_EQ(textOf(box), L"下划");
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(IsWindowEnabled(box));
  EXPECT_EQ(SendMessageW(binder->handleOf(lateList), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(binder->handleOf(lateList), LB_GETCURSEL, 0, 0), 1);
  // The frame inside is still hidden: its contents wait for it.
  EXPECT_EQ(binder->handleOf(innerLabel), nullptr);

  hidden.setVisible(false);
  inner.setVisible(true);  // shown inside a hidden frame: still nothing to see
  EXPECT_EQ(binder->handleOf(innerLabel), nullptr);
  hidden.setVisible(true);
  ASSERT_NE(binder->handleOf(innerLabel), nullptr);
  EXPECT_EQ(textOf(binder->handleOf(innerLabel)), L"已改");
  EXPECT_EQ(binder->handleOf(lateCheck), box) << "a frame shown again made its windows anew";

  // A control hidden at start among shown siblings gets its window when it
  // first shows, stacked where the model has it.
  EXPECT_EQ(binder->handleOf(lateButton), nullptr);
  lateButton.setCaption(u"已显示");
  lateButton.setVisible(true);
  HWND button = binder->handleOf(lateButton);
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(IsWindowVisible(button));
  EXPECT_EQ(textOf(button), L"已显示");
  EXPECT_EQ(GetWindow(button, GW_HWNDPREV), binder->handleOf(text)) << "the later sibling does not lie above it";
  EXPECT_EQ(GetWindow(button, GW_HWNDNEXT), binder->handleOf(list)) << "it does not lie above the earlier sibling";

  // Made late, a control takes its place like one made at start-up.
  RECT late, early;
  GetWindowRect(box, &late);
  GetWindowRect(binder->handleOf(check), &early);
  EXPECT_EQ(late.right - late.left, early.right - early.left);
  EXPECT_EQ(late.bottom - late.top, early.bottom - early.top);
}

TEST_F(BinderWin32Test, ColouredButtonIsOwnerDrawnAndKeepsItsCaption) {
  HWND button = binder->handleOf(coloured);
  EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(textOf(button), L"论 坛");
  coloured.setCaption(u"清 除");
  EXPECT_EQ(textOf(button), L"清 除");
}

TEST_F(BinderWin32Test, WindowGeometryAndVisibilityFollowTheModel) {
  window.setRect({1500, 0, 690, 690});
  window.setTopMost(true);
  window.setVisible(true);
  RECT r;
  GetWindowRect(hwnd, &r);
  const int dpi = static_cast<int>(binder->dpi());
  EXPECT_EQ(r.left, MulDiv(1500, dpi, 1440));
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, MulDiv(690, dpi, 1440));
  EXPECT_TRUE(IsWindowVisible(hwnd));

  // Moved while hidden, it shows where the model has it.
  window.setVisible(false);
  window.setRect({3000, 150, 900, 600});
  EXPECT_FALSE(IsWindowVisible(hwnd));
  window.setVisible(true);
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, MulDiv(3000, dpi, 1440));
  EXPECT_EQ(r.top, MulDiv(150, dpi, 1440));
  EXPECT_EQ(r.bottom - r.top, MulDiv(600, dpi, 1440));
  EXPECT_TRUE(IsWindowVisible(hwnd));
}

using win32_tests::isLiveIcon;

// The binder's tooltip window, which the host window owns.
HWND tooltipOf(HWND owner) {
  struct Search {
    HWND owner, found;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t cls[64] = {};
        GetClassNameW(h, cls, 64);
        if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && GetWindow(h, GW_OWNER) == s->owner) s->found = h;
        return !s->found;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int tooltipCount(HWND owner) {
  HWND tooltip = tooltipOf(owner);
  return tooltip ? static_cast<int>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0)) : -1;
}

// Runs this thread's messages until `done` or a few seconds have passed.
template <class Condition>
bool pumpUntil(Condition done) {
  for (const ULONGLONG until = GetTickCount64() + 3000; !done() && GetTickCount64() < until; Sleep(10)) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return done();
}

std::wstring currentTooltipText(HWND tooltip) {
  wchar_t text[80] = {};
  TTTOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  return text;
}

// Shown when the pointer rests on the control, with the text the model has
// then; a control taken away takes its tooltip with it.
TEST_F(BinderWin32Test, ThePointerRestingOnAControlShowsItsTooltip) {
  ShowWindow(hwnd, SW_SHOWNA);
  check.setTooltip(u" 粗体 ");
  coloured.setTooltip(u" 论坛代码 ");
  Label added{"Added", {120, 1700, 900, 240}, u"新增"};
  added.setTooltip(u" 后来加的 ");
  frame.add(added);
  check.setTooltip(u" 粗体文字 ");
  const auto restOn = [&](const Control& control) {
    RECT r;
    GetWindowRect(binder->handleOf(control), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const std::wstring expected = platform::win32::wideString(control.tooltip());
    return pumpUntil([&] {
      HWND tooltip = tooltipOf(hwnd);
      return tooltip && IsWindowVisible(tooltip) && currentTooltipText(tooltip) == expected;
    });
  };
  EXPECT_TRUE(restOn(check));
  EXPECT_TRUE(restOn(coloured));
  EXPECT_TRUE(restOn(added));
  const int tools = tooltipCount(hwnd);
  check.setTooltip(u" 加粗 ");
  EXPECT_TRUE(restOn(check)) << "the changed text";
  EXPECT_EQ(tooltipCount(hwnd), tools);
  SetCursorPos(0, 0);
  frame.remove(added);
  EXPECT_EQ(tooltipCount(hwnd), tools - 1);
}

TEST_F(BinderWin32Test, ChildrenAddedAtRunTimeGetWindowsAboveTheirSiblingsOnceTheirContainerHasThem) {
  ShowWindow(hwnd, SW_SHOWNA);
  Label added{"Added", {120, 1700, 900, 240}, u"新增"};
  added.setEnabled(false);
  frame.add(added);
  HWND label = binder->handleOf(added);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(GetParent(label), binder->handleOf(frame));
  EXPECT_EQ(GetWindow(binder->handleOf(frame), GW_CHILD), label) << "not above the earlier controls";
  EXPECT_EQ(textOf(label), L"新增");
  EXPECT_FALSE(IsWindowEnabled(label));
  EXPECT_TRUE(IsWindowVisible(label));

  // A shown container added whole brings its contents' windows.
  Frame panel{"Panel", {120, 120, 2000, 1000}, u"新面板"};
  CheckBox panelCheck{"PanelCheck", {120, 240, 900, 240}, u"加粗"};
  panel.add(panelCheck);
  window.add(panel);
  ASSERT_NE(binder->handleOf(panelCheck), nullptr);
  EXPECT_EQ(GetParent(binder->handleOf(panelCheck)), binder->handleOf(panel));
  EXPECT_EQ(GetWindow(hwnd, GW_CHILD), binder->handleOf(panel));

  // A hidden frame that never showed makes it with the rest, on top.
  Label waiting{"Waiting", {120, 1800, 900, 240}, u"稍候"};
  hidden.add(waiting);
  EXPECT_EQ(binder->handleOf(waiting), nullptr);
  hidden.setVisible(true);
  ASSERT_NE(binder->handleOf(waiting), nullptr);
  EXPECT_EQ(GetWindow(binder->handleOf(hidden), GW_CHILD), binder->handleOf(waiting));
  // Before the locals go: the binder must not outlive what it points to.
  window.remove(panel);
  frame.remove(added);
  hidden.remove(waiting);
}

TEST_F(BinderWin32Test, RemovingAControlDestroysTheWindowsOfEverythingInsideIt) {
  ShowWindow(hwnd, SW_SHOWNA);
  inner.setVisible(true);
  hidden.setVisible(true);
  lateIcon.drawIcon(u"C:\\windows\\system32\\notepad.exe");
  const std::vector<HICON> icons = binder->iconsOf(lateIcon);
  ASSERT_EQ(icons.size(), 1u);
  const Control* removed[] = {&hidden, &lateCheck, &lateList, &inner, &innerLabel, &player, &lateIcon};
  std::vector<HWND> windows;
  for (const Control* c : removed) windows.push_back(binder->handleOf(*c));

  window.remove(hidden);
  for (std::size_t i = 0; i < windows.size(); ++i) {
    EXPECT_FALSE(IsWindow(windows[i])) << removed[i]->name();
    EXPECT_EQ(binder->handleOf(*removed[i]), nullptr) << removed[i]->name();
  }
  EXPECT_FALSE(isLiveIcon(icons[0]));
  EXPECT_TRUE(binder->iconsOf(lateIcon).empty());
  LRESULT result = 0;
  EXPECT_FALSE(binder->handle(WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(windows[1]), result));
  lateCheck.setValue(true);  // no view any more: nothing to reach

  // Taken away with its window and destroyed: a new control, maybe at the
  // same address, is a new control to the binder.
  for (int round = 0; round < 3; ++round) {
    auto box = std::make_unique<Frame>("Box", TwipsRect{120, 120, 2000, 1000}, u"临时");
    Label boxLabel{"BoxLabel", {120, 240, 900, 240}, u"临时标签"};
    box->add(boxLabel);
    window.add(*box);
    HWND label = binder->handleOf(boxLabel);
    ASSERT_NE(label, nullptr) << "round " << round;
    EXPECT_EQ(GetParent(label), binder->handleOf(*box));
    window.remove(*box);
    EXPECT_FALSE(IsWindow(label));
  }

  // Put back, it is made anew, contents and all.
  window.add(hidden);
  ASSERT_NE(binder->handleOf(lateCheck), nullptr);
  EXPECT_EQ(SendMessageW(binder->handleOf(lateCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_EQ(binder->iconsOf(lateIcon).size(), 1u);
}

TEST_F(BinderWin32Test, ScrollBarFollowsTheModelAndTheUsersScrollingReachesItOnce) {
  HWND bar = binder->handleOf(scroll);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(classOf(bar), L"ScrollBar");
  EXPECT_TRUE(GetWindowLongW(bar, GWL_STYLE) & SBS_VERT);
  const auto limitAndPosition = [bar] {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    EXPECT_EQ(info.nMin, 0);
    return std::pair{info.nMax - static_cast<int>(info.nPage) + 1, info.nPos};
  };
  EXPECT_EQ(limitAndPosition(), std::pair(3000, 0));
  scroll.setMaximum(4000);
  scroll.setValue(1000);
  EXPECT_EQ(limitAndPosition(), std::pair(4000, 1000));
  scroll.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(bar));
  scroll.setEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(bar));

  struct Case {
    int request, from, to;
  };
  const Case cases[] = {
      {SB_LINEDOWN, 0, 200}, {SB_LINEUP, 1000, 800},    {SB_PAGEDOWN, 1000, 1720},
      {SB_PAGEUP, 500, 0},   {SB_LINEDOWN, 3900, 4000}, {SB_LINEDOWN, 4000, 4000},
      {SB_BOTTOM, 10, 4000}, {SB_TOP, 2000, 0},         {SB_ENDSCROLL, 2000, 2000},
  };
  for (const Case& c : cases) {
    scroll.setValue(c.from);
    scrollChanges = 0;
    SendMessageW(GetParent(bar), WM_VSCROLL, MAKEWPARAM(c.request, 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(scroll.value(), c.to) << "request " << c.request << " from " << c.from;
    EXPECT_EQ(scrollChanges, c.to == c.from ? 0 : 1) << "request " << c.request << " from " << c.from;
    EXPECT_EQ(limitAndPosition(), std::pair(4000, c.to));
  }

  scroll.setMaximum(-1);  // nothing to scroll: the thumb has nowhere to go
  scroll.setValue(0);
  EXPECT_EQ(limitAndPosition(), std::pair(0, 0));
  SendMessageW(GetParent(bar), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(scroll.value(), 0);
}

// The shape's right edge runs under the label; its top edge is open.
TEST_F(BinderWin32Test, AShapeIsDrawnByItsContainerBeneathItsChildrenAndTheMouseReachesTheContainer) {
  EXPECT_EQ(binder->handleOf(outline), nullptr);
  EXPECT_EQ(binder->windowFor(outline), nullptr);
  HWND panel = binder->handleOf(tiles);
  ShowWindow(hwnd, SW_SHOWNA);
  UpdateWindow(hwnd);
  const COLORREF back = toColorRef(0xFDF9F2);
  const int right = binder->toPixels(30 + 1200) - 1;
  const int inLabel = binder->toPixels(600) + 5;
  EXPECT_EQ(screenPixel(panel, right, 20), kShapeColour);
  EXPECT_EQ(screenPixel(panel, right, inLabel), back) << "the shape hides the label, which has the panel's colour";
  EXPECT_EQ(screenPixel(panel, right + 5, inLabel), back);
  tileLabel.setBackColour(0xFFFFFF);
  UpdateWindow(hwnd);
  EXPECT_EQ(screenPixel(panel, right, inLabel), RGB(255, 255, 255)) << "the shape hides the label";
  EXPECT_EQ(screenPixel(panel, right - 5, 20), back);

  // A new back colour repaints the panel, and its children over it.
  tiles.setBackColour(0xE0E0E0);
  UpdateWindow(hwnd);
  EXPECT_EQ(screenPixel(panel, right - 5, 20), RGB(0xE0, 0xE0, 0xE0));
  EXPECT_EQ(screenPixel(panel, right, inLabel), RGB(255, 255, 255)) << "the panel covered the label";
  tiles.setBackColour(0xFDF9F2);

  // Moved, it leaves its old place to the background.
  outline.setRect({150, 750, 450, 300});
  UpdateWindow(hwnd);
  EXPECT_EQ(screenPixel(panel, right, 20), back);
  EXPECT_EQ(screenPixel(panel, binder->toPixels(150), binder->toPixels(800)), kShapeColour);
  outline.setVisible(false);
  UpdateWindow(hwnd);
  EXPECT_EQ(screenPixel(panel, binder->toPixels(150), binder->toPixels(800)), back);

  // On the window itself, the window draws it.
  Control onWindow{Kind::Shape, "OnWindow", {4150, 120, 300, 300}};
  window.add(onWindow);
  UpdateWindow(hwnd);
  EXPECT_EQ(screenPixel(hwnd, binder->toPixels(4150), binder->toPixels(240)), kShapeColour);
  window.remove(onWindow);

  POINT over{binder->toPixels(300), binder->toPixels(900)};  // where the shape was, clear of the children
  POINT onScreen = over;
  ClientToScreen(panel, &onScreen);
  EXPECT_EQ(WindowFromPoint(onScreen), panel);
  int moves = 0, x = 0, y = 0;
  tiles.onMouseMove = [&](int mx, int my, int) { ++moves, x = mx, y = my; };
  SendMessageW(panel, WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  EXPECT_EQ(moves, 1);
  EXPECT_NEAR(x, 300, 15);
  EXPECT_NEAR(y, 900, 15);
}

TEST_F(BinderWin32Test, APictureBoxShowsTheIconsDrawnOnItUntilClearedAndReleasesThem) {
  HWND box = binder->handleOf(iconBox);
  const auto colouredPixels = [box] {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    int count = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) count += GetPixel(dc, x, y) != RGB(255, 255, 255);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return count;
  };
  iconBox.drawIcon(u"C:\\windows\\system32\\notepad.exe");
  ASSERT_EQ(binder->iconsOf(iconBox).size(), 1u);
  const HICON first = binder->iconsOf(iconBox)[0];
  EXPECT_GT(colouredPixels(), 50);
  iconBox.drawIcon(u"C:\\windows\\win.ini");  // no icon: nothing more to show
  iconBox.drawIcon(u"C:\\windows\\system32\\notepad.exe");
  EXPECT_EQ(binder->iconsOf(iconBox).size(), 2u);

  iconBox.clear();
  EXPECT_TRUE(binder->iconsOf(iconBox).empty());
  EXPECT_FALSE(isLiveIcon(first));
  iconBox.drawIcon(u"C:\\nowhere\\missing.exe");
  EXPECT_EQ(colouredPixels(), 0) << "a box with nothing to show is white";

  // Drawn while its frame had no windows: read when the window is made.
  lateIcon.drawIcon(u"C:\\windows\\system32\\notepad.exe");
  hidden.setVisible(true);
  ASSERT_EQ(binder->iconsOf(lateIcon).size(), 1u);
  const HICON late = binder->iconsOf(lateIcon)[0];
  activeBinder = nullptr;
  binder.reset();
  EXPECT_FALSE(isLiveIcon(late)) << "the binder went away and left the icon";
}

// The model hears the key first; then the control does what it always does.
TEST_F(BinderWin32Test, AKeyDownReachesTheModelBeforeTheControlHandlesIt) {
  Control* const targets[] = {&focusSink, &fontSizes, &text, &check, &tiles};
  for (Control* target : targets) {
    std::vector<int> keys;
    int selectionSeen = -2;
    target->onKeyDown = [&](int key) {
      keys.push_back(key);
      selectionSeen = fontSizes.selectedIndex();
    };
    SendMessageW(binder->handleOf(*target), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(keys, std::vector<int>{VK_DOWN}) << target->name();
    if (target == &fontSizes) {
      EXPECT_EQ(selectionSeen, -1);
      EXPECT_EQ(fontSizes.selectedIndex(), 0) << "the list's own handling did not run";
    }
  }
}

TEST_F(BinderWin32Test, AnOutlineListIsOwnerDrawnAndKeepsEveryItemsText) {
  HWND h = binder->handleOf(folders);
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  EXPECT_EQ(style & (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS), LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
  EXPECT_EQ(GetWindowLongW(binder->handleOf(list), GWL_STYLE) & LBS_OWNERDRAWFIXED, 0);
  ASSERT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 3);
  wchar_t item[32] = {};
  SendMessageW(h, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"System32");
  EXPECT_GE(SendMessageW(h, LB_GETITEMHEIGHT, 0, 0), 16);  // room for the folder icon
  EXPECT_EQ(GetWindowLongW(binder->handleOf(pathLabel), GWL_STYLE) & SS_ELLIPSISMASK, SS_PATHELLIPSIS);
  EXPECT_EQ(textOf(binder->handleOf(pathLabel)), L"C:\\很长的路径\\目录\\文件.txt");
}

TEST_F(BinderWin32Test, ListKeysMoveTheHighlightOrChooseAndClicksAndDoubleClicksReachTheModel) {
  HWND h = binder->handleOf(folders);
  SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(folders.selectedIndex(), SendMessageW(h, LB_GETCURSEL, 0, 0));
  EXPECT_GE(folders.selectedIndex(), 0);
  EXPECT_EQ(folderClicks, 0) << "an arrow key acted like a click";
  // A click on the highlighted entry acts.
  RECT entry = {};
  SendMessageW(h, LB_GETITEMRECT, folders.selectedIndex(), reinterpret_cast<LPARAM>(&entry));
  const LPARAM at = MAKELPARAM(entry.left + 5, (entry.top + entry.bottom) / 2);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(h, WM_LBUTTONUP, 0, at);
  EXPECT_GE(folderClicks, 1);
  // The second click of a double click does not act again.
  const int afterClick = folderClicks;
  SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(h, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(folderClicks, afterClick);

  // In a plain list the keys choose, and a double click reaches the model.
  int doubleClicks = 0;
  list.onDoubleClick = [&] { ++doubleClicks; };
  HWND plain = binder->handleOf(list);
  SendMessageW(plain, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(listClicks, 1);
  SendMessageW(plain, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&entry));
  const LPARAM first = MAKELPARAM(entry.left + 5, (entry.top + entry.bottom) / 2);
  SendMessageW(plain, WM_LBUTTONDBLCLK, MK_LBUTTON, first);
  SendMessageW(plain, WM_LBUTTONUP, 0, first);
  EXPECT_EQ(doubleClicks, 1);
}

TEST_F(BinderWin32Test, ADropDownListDropsWideEnoughForItsLongestEntry) {
  HWND h = binder->handleOf(fontSizes);
  const int closedWidth = static_cast<int>(SendMessageW(h, CB_GETDROPPEDWIDTH, 0, 0));
  fontSizes.setItems({u"9", u"C: [一个很长很长很长很长很长的卷标名称]"});
  SendMessageW(h, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_GT(SendMessageW(h, CB_GETDROPPEDWIDTH, 0, 0), closedWidth + 100);
  SendMessageW(h, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(BinderWin32Test, AHiddenListFilledWithManyItemsStaysHidden) {
  list.setVisible(false);
  std::vector<std::u16string> many(5000, u"文件.txt");
  list.setItems(many);
  HWND h = binder->handleOf(list);
  EXPECT_FALSE(GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 5000);
  list.setVisible(true);
  list.setItems({u"a", u"b"});
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(SendMessageW(h, LB_GETCOUNT, 0, 0), 2);
}

TEST_F(BinderWin32Test, WindowForMakesAHiddenContainersWindowsWithoutShowingThem) {
  ASSERT_EQ(binder->handleOf(player), nullptr);
  HWND area = binder->windowFor(player);
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(classOf(area), L"VexloMediaHost");
  EXPECT_TRUE(GetWindowLongW(area, GWL_STYLE) & WS_CLIPCHILDREN);
  EXPECT_EQ(GetParent(area), binder->handleOf(inner));
  EXPECT_EQ(GetWindow(area, GW_HWNDNEXT), binder->handleOf(innerLabel)) << "the player lies above its earlier sibling";
  EXPECT_NE(binder->handleOf(lateCheck), nullptr);
  ShowWindow(hwnd, SW_SHOWNA);
  EXPECT_FALSE(IsWindowVisible(area));
  EXPECT_EQ(binder->windowFor(player), area);

  hidden.setVisible(true);
  inner.setVisible(true);
  EXPECT_EQ(binder->handleOf(player), area);
  EXPECT_TRUE(IsWindowVisible(area));
  RECT r;
  GetWindowRect(area, &r);
  EXPECT_EQ(r.right - r.left, binder->toPixels(1500));

  Label detached{"Detached", {0, 0, 100, 100}};
  EXPECT_EQ(binder->windowFor(detached), nullptr);
}

TEST_F(BinderWin32Test, TheTilePointerShowsOverTheControlsThatAskForIt) {
  tiles.setPointer("tile");
  tileLabel.setPointer("tile");
  const auto pointerOver = [this](const Control& c) {
    HWND h = binder->handleOf(c);
    SetCursor(nullptr);
    SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  HCURSOR tile = pointerOver(tiles);
  ASSERT_NE(tile, nullptr);
  EXPECT_NE(tile, LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(pointerOver(tileLabel), tile) << "made more than once";
  EXPECT_EQ(pointerOver(scroll), LoadCursorW(nullptr, IDC_ARROW)) << "a child took its container's pointer";
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(tile, &info));
  BITMAP bitmap = {};
  GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(bitmap.bmWidth, 32);
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
}

}  // namespace
}  // namespace vexlo::controls::win32
