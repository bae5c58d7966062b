// The binder against real Win32 controls: the model and the windows agree,
// user actions reach the model once, and model changes do not echo back.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "controls/win32/binder.h"

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
  Button coloured{"Coloured", {1500, 1700, 900, 300}, u"论 坛"};
  // A panel that starts hidden, with a hidden frame inside it.
  Frame hidden{"Hidden", {120, 120, 4000, 2500}, u"稍后"};
  CheckBox lateCheck{"LateCheck", {120, 240, 900, 240}, u"斜体"};
  ListBox lateList{"LateList", {120, 600, 1200, 900}};
  Frame inner{"Inner", {1500, 600, 2000, 1500}, u"内层"};
  Label innerLabel{"InnerLabel", {120, 240, 900, 240}, u"标签"};
  HWND hwnd = nullptr;
  std::unique_ptr<Binder> binder;
  int clicks = 0, listClicks = 0;

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
    frame.add(text);
    frame.add(coloured);
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

// A hidden frame's contents cost nothing until it first shows; then they
// appear as the model has them now, and stay when it hides again.
TEST_F(BinderWin32Test, HiddenFrameContentsAreMadeWhenFirstShownWithTheModelsState) {
  ShowWindow(hwnd, SW_SHOWNA);
  ASSERT_NE(binder->handleOf(hidden), nullptr);
  EXPECT_EQ(binder->handleOf(lateCheck), nullptr);
  EXPECT_EQ(GetWindow(binder->handleOf(hidden), GW_CHILD), nullptr);

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
}

}  // namespace
}  // namespace vexlo::controls::win32
