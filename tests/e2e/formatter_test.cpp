// The reply formatter of the real Vexlo.exe, driven from outside like a user:
// converting with the automatic paste into the program under the pointer,
// the F12 one-key conversion in another program, undo, the gradient limit,
// and the choices that survive a restart through the settings file (also one
// written by hand in GBK). Every test starts its own Vexlo in a fresh folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "e2e_support.h"
#include "formatter_support.h"

namespace vexlo::e2e::formatter {
namespace {

constexpr int kCollapsedSide = 46;
constexpr int kExpandedWidth = 347, kExpandedHeight = 313;

constexpr wchar_t kClear[] = L"清 除";
constexpr wchar_t kForum[] = L"论 坛";
constexpr wchar_t kSettingsSection[] = L"Quenby_Sarn";

bool hasSize(HWND window, int width, int height) {
  const RECT r = windowRect(window);
  return widthOf(r) == width && heightOf(r) == height;
}

bool isCollapsed(HWND window) { return hasSize(window, kCollapsedSide, kCollapsedSide); }
bool isExpanded(HWND window) { return hasSize(window, kExpandedWidth, kExpandedHeight); }

bool isReadOnly(HWND edit) { return (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0; }

std::string quoted(const std::optional<std::wstring>& text) {
  if (!text) return "(no text on the clipboard)";
  std::string result(1, '"');
  result.append(toUtf8(*text)).push_back('"');
  return result;
}

// Touching the collapsed square expands the window (which then clicks into
// the input box by itself).
void expandByTouchingTheSquare(HWND window) {
  const POINT centre = centreOf(window);
  ASSERT_TRUE(movePointer(centre.x, centre.y));
  ASSERT_TRUE(waitUntil([&] { return isExpanded(window); }, 3s))
      << "still " << describe(windowRect(window)) << " after the pointer touched the square";
  // Expanding moves the pointer and clicks; let that land.
  std::this_thread::sleep_for(300ms);
}

HWND visibleMessageBox(DWORD processId) {
  for (HWND box : topLevelWindows(processId, L"#32770")) {
    if (isVisible(box)) return box;
  }
  return nullptr;
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\n  " + line;
  return text;
}

// The value of key in a section whose key names may carry blanks around them.
std::optional<std::string> valueOf(const std::vector<std::string>& lines, std::string_view key) {
  for (const std::string& line : lines) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string name = line.substr(0, equals);
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    if (name == key) return line.substr(equals + 1);
  }
  return std::nullopt;
}

class Formatter : public ::testing::Test {
 protected:
  // Starts Vexlo and finds the formatter's controls; false on any failure.
  bool startVexlo() {
    if (!vexlo_.start()) return false;
    ui_ = FormatterControls::find(vexlo_.window());
    return ui_.complete();
  }

  std::wstring settingsPath() const { return vexlo_.folder().file(L"Vexlo.ini"); }

  // Leaves through the exit control and waits for the process to end.
  void leaveThroughExit() {
    ASSERT_TRUE(clickOn(ui_.exit));
    ASSERT_TRUE(vexlo_.process().waitForExit(10s)) << "Vexlo did not end after a click on 退出";
    EXPECT_EQ(vexlo_.process().exitCode().value_or(99), 0u) << "exit code after 退出";
  }

  VexloInstance vexlo_;
  FormatterControls ui_;
};

TEST_F(Formatter, ConvertCollapsesPublishesAndPastesUnderThePointerThenUndoRestoresTheText) {
  ASSERT_TRUE(startVexlo());
  HWND window = vexlo_.window();

  // The stand-in for a web page's reply box lies under the convert button;
  // Vexlo stays above it until it collapses.
  const POINT convert = centreOf(ui_.convertButton);
  TargetEdit target;
  ASSERT_TRUE(target.start({convert.x - 150, convert.y - 80, convert.x + 150, convert.y + 80}));
  ASSERT_TRUE(isTopMost(window));

  bringToFront(window);
  ASSERT_TRUE(typeInto(ui_.inputBox, L"你好abc"))
      << "typing into the input box gave \"" << toUtf8(textOf(ui_.inputBox)) << "\"";

  ASSERT_TRUE(clickOn(ui_.bold));
  ASSERT_TRUE(waitUntil([&] { return isChecked(ui_.bold); }, 2s)) << "a click did not tick 粗体";
  ASSERT_TRUE(clickOn(ui_.right));
  ASSERT_TRUE(waitUntil([&] { return isChecked(ui_.right) && !isChecked(ui_.left); }, 2s))
      << "a click did not select 右齐 (and clear 左齐)";
  ASSERT_TRUE(clickComboItem(ui_.sizeList, 2)) << "could not choose +３ in the size list";
  ASSERT_EQ(textOf(target.edit()), L"");

  const std::wstring expected =
      L"[align=right][b][font=宋体][size=3][color=#FF0000]你好abc[/color][/size][/font][/b][/align]";
  const auto clicked = std::chrono::steady_clock::now();
  ASSERT_TRUE(clickOn(ui_.convertButton));

  // While Vexlo waits before pasting, its thread sleeps: only the clipboard,
  // the window's geometry and the other program can be looked at.
  std::optional<std::wstring> published;
  EXPECT_TRUE(waitUntil([&] { return (published = clipboardText()) == expected; }, 1500ms))
      << "clipboard right after the click: " << quoted(published);
  EXPECT_TRUE(waitUntil([&] { return isCollapsed(window); }, 1s))
      << "window right after the click: " << describe(windowRect(window));
  const auto checked = std::chrono::steady_clock::now() - clicked;
  const std::wstring early = target.text();
  if (checked < 1800ms) {
    EXPECT_EQ(early, L"") << "something was pasted into the target before the two-second wait";
  }

  std::wstring pasted;
  EXPECT_TRUE(waitUntil([&] { return (pasted = target.text()) == expected; }, 8s))
      << "the target's edit box holds \"" << toUtf8(pasted) << "\" 8 s after the click";
  const auto delay = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - clicked);
  RecordProperty("paste_after_ms", static_cast<int>(delay.count()));
  std::printf("[ info ] the markup reached the target %lld ms after the click\n",
              static_cast<long long>(delay.count()));

  EXPECT_TRUE(waitUntil([&] { return textOf(ui_.convertButton) == kClear; }, 3s))
      << "the convert button shows \"" << toUtf8(textOf(ui_.convertButton)) << "\" after the paste";
  EXPECT_EQ(textOf(ui_.inputBox), expected) << "the result is not in the input box";
  EXPECT_TRUE(isReadOnly(ui_.inputBox)) << "the input box is editable in the converted state";
  EXPECT_TRUE(isCollapsed(window)) << describe(windowRect(window));

  expandByTouchingTheSquare(window);
  if (HasFatalFailure()) return;
  EXPECT_NE(saveScreenshot(L"vexlo-formatter.bmp"), L"");

  ASSERT_TRUE(clickOn(ui_.undoButton));
  EXPECT_TRUE(waitUntil([&] { return textOf(ui_.inputBox) == L"你好abc"; }, 3s))
      << "undo put \"" << toUtf8(textOf(ui_.inputBox)) << "\" into the input box";
  EXPECT_EQ(textOf(ui_.convertButton), kForum);
  EXPECT_FALSE(isReadOnly(ui_.inputBox)) << "the input box stays locked after undo";
  EXPECT_EQ(clipboardText(), std::nullopt) << "undo leaves the converted result on the clipboard";
}

TEST_F(Formatter, F12InAnotherProgramReplacesItsTextWithTheMarkup) {
  ASSERT_TRUE(startVexlo());
  TargetEdit target;
  ASSERT_TRUE(target.start({100, 450, 500, 600}));
  ASSERT_TRUE(setText(target.edit(), L"F12 测试"));
  bringToFront(target.window());
  ASSERT_TRUE(clickOn(target.edit()));
  ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == target.window(); }, 2s))
      << "the target program did not come to the front";

  pressKey(VK_F12);
  const std::wstring expected = L"[font=宋体][size=1][color=#FF0000]F12 测试[/color][/size][/font]";
  std::wstring text;
  EXPECT_TRUE(waitUntil([&] { return (text = target.text()) == expected; }, 6s))
      << "6 s after F12 the target's edit box holds \"" << toUtf8(text) << "\"";
  EXPECT_TRUE(waitUntil([&] { return textOf(ui_.convertButton) == kClear; }, 3s))
      << "the convert button shows \"" << toUtf8(textOf(ui_.convertButton)) << "\"";
  EXPECT_EQ(textOf(ui_.inputBox), expected) << "the result is not in Vexlo's input box";
  EXPECT_TRUE(isCollapsed(vexlo_.window())) << describe(windowRect(vexlo_.window()));

  // Undo puts back the text that was taken from the other program.
  expandByTouchingTheSquare(vexlo_.window());
  if (HasFatalFailure()) return;
  ASSERT_TRUE(clickOn(ui_.undoButton));
  EXPECT_TRUE(waitUntil([&] { return textOf(ui_.inputBox) == L"F12 测试"; }, 3s))
      << "undo after F12 put \"" << toUtf8(textOf(ui_.inputBox)) << "\" into the input box";
  EXPECT_EQ(textOf(ui_.convertButton), kForum);
}

TEST_F(Formatter, ChoicesMadeInTheWindowAreSavedAtExitAndRestoredAtTheNextStart) {
  ASSERT_TRUE(startVexlo());

  ASSERT_TRUE(clickListItem(ui_.fontList, 3)) << "could not choose 楷体";
  ASSERT_TRUE(clickComboItem(ui_.sizeList, 4)) << "could not choose +５";
  ASSERT_TRUE(clickOn(ui_.modes[1]));
  ASSERT_TRUE(waitUntil([&] { return isChecked(ui_.modes[1]); }, 2s)) << "渐变 was not selected";
  ASSERT_TRUE(waitUntil([&] { return isVisible(ui_.colour(1)) && isVisible(ui_.colour(2)); }, 2s))
      << "the start and end colour buttons did not show in gradient mode";
  EXPECT_FALSE(isVisible(ui_.colour(0)));

  // The end colour through the chooser: the white swatch, then OK. The
  // chooser and its swatches are made when it first shows, not at start-up.
  EXPECT_EQ(ui_.chooser(), nullptr) << "the hidden chooser already has a window";
  ASSERT_TRUE(clickOn(ui_.colour(2)));
  ASSERT_TRUE(waitUntil([&] { return isVisible(ui_.chooser()); }, 2s)) << "the colour chooser did not open";
  EXPECT_EQ(textOf(ui_.chooser()), L"选择·渐变 < 终止颜色 >");
  HWND white = findSwatch(ui_.chooser(), 11, 5);
  ASSERT_NE(white, nullptr) << "no swatch at column 11, row 5";
  ASSERT_TRUE(clickOn(white));
  ASSERT_TRUE(clickOn(findDescendant(ui_.chooser(), L"Button", L"确定")));
  ASSERT_TRUE(waitUntil([&] { return !isVisible(ui_.chooser()); }, 2s)) << "确定 did not close the chooser";
  ASSERT_TRUE(clickOn(vexlo_.control(L"Button", L"预览", isOwnerDrawnButton)));
  ASSERT_NE(waitForTopLevelWindow(vexlo_.process().id(), kPreviewClass, 5s), nullptr) << "预览 showed no preview";

  leaveThroughExit();
  if (HasFatalFailure()) return;

  const std::optional<std::string> bytes = readFileBytes(settingsPath());
  ASSERT_TRUE(bytes) << "no Vexlo.ini beside the program after 退出";
  const auto section = iniSection(*bytes, toUtf8(kSettingsSection));
  ASSERT_TRUE(section) << "Vexlo.ini has no [Quenby_Sarn] section:\n" << *bytes;
  for (const char* line :
       {"Zt=3", "Dx=4", "Jb=True", "Ch=False", "Sj=False", "Co0_B=255", "Co1_B=255", "Co2_B=16777215", "Yl=1"}) {
    EXPECT_TRUE(hasLine(*section, line)) << "[Quenby_Sarn] lacks " << line << ":" << joined(*section);
  }

  // The same copy, started again in the same folder.
  Process again = vexlo_.startAnother();
  ASSERT_TRUE(again.started());
  HWND window = waitForTopLevelWindow(again.id(), kMainWindowClass, 30s);
  ASSERT_NE(window, nullptr) << "the second start showed no main window";
  std::this_thread::sleep_for(1000ms);  // start-up ends with a click into the input box
  const FormatterControls restored = FormatterControls::find(window);
  ASSERT_TRUE(restored.complete());

  EXPECT_TRUE(isChecked(restored.modes[1])) << "渐变 is not selected after the restart";
  EXPECT_FALSE(isChecked(restored.modes[0])) << "单色 is still selected after the restart";
  EXPECT_EQ(listSelection(restored.fontList), 3);
  EXPECT_EQ(comboSelection(restored.sizeList), 4);
  EXPECT_TRUE(isVisible(restored.colour(1)));
  EXPECT_TRUE(isVisible(restored.colour(2)));
  EXPECT_FALSE(isVisible(restored.colour(0)));
  const HWND preview = waitForTopLevelWindow(again.id(), kPreviewClass, 5s);
  EXPECT_TRUE(preview && isVisible(preview)) << "the preview, on at exit, is not back after the restart";

  // The restored choices are the ones a conversion uses: two characters take
  // the first and the last sample of the gradient, red to the chosen white.
  ASSERT_TRUE(setText(restored.inputBox, L"ab"));
  ASSERT_TRUE(clickOn(restored.convertButton));
  const std::wstring expected =
      L"[font=楷体_GB2312][size=5][color=#FF0000]a[/color][color=#FFFFFF]b[/color][/size][/font]";
  std::optional<std::wstring> published;
  EXPECT_TRUE(waitUntil([&] { return (published = clipboardText()) == expected; }, 2s))
      << "gradient conversion after the restart: " << quoted(published);
  // Let the automatic paste pass before the program is ended.
  waitUntil([&] { return textOf(restored.convertButton) == kClear; }, 5s);
}

TEST_F(Formatter, HandWrittenGbkSettingsAreRestoredAndWrittenBackUnchanged) {
  ASSERT_EQ(GetACP(), 936u) << "the settings file is in the ANSI code page, which must be GBK here";
  const std::string smile = toCodePage(L"笑脸", 936);
  const std::string cry = toCodePage(L"哭泣", 936);
  const std::string cryAddress = toCodePage(L"http://例子.cn/哭.gif", 936);
  ASSERT_EQ(smile, "\xD0\xA6\xC1\xB3");
  ASSERT_FALSE(cry.empty());
  // Entry keys in both forms: the digits alone and with a leading blank.
  const std::string file =
      "[Quenby_Sarn]\r\nZt=5\r\nDx=1\r\nBQs=1\r\n"
      "[BQm]\r\n0=" +
      smile + "\r\n 1=" + cry +
      "\r\n"
      "[BQz]\r\n0=http://example.com/smile.gif\r\n 1=" +
      cryAddress + "\r\n";
  ASSERT_TRUE(writeFileBytes(settingsPath(), file));
  ASSERT_TRUE(startVexlo());

  EXPECT_EQ(listSelection(ui_.fontList), 5) << "Zt=5 should select 黑体";
  EXPECT_EQ(comboSelection(ui_.sizeList), 1) << "Dx=1 should select +２";
  const std::vector<std::wstring> names = comboItems(ui_.emoticons);
  ASSERT_EQ(names.size(), 2u) << "emoticon names restored from BQs=1";
  EXPECT_EQ(names[0], L"笑脸") << toUtf8(names[0]);
  EXPECT_EQ(names[1], L"哭泣") << toUtf8(names[1]);

  leaveThroughExit();
  if (HasFatalFailure()) return;

  const std::optional<std::string> bytes = readFileBytes(settingsPath());
  ASSERT_TRUE(bytes);
  const auto settings = iniSection(*bytes, "Quenby_Sarn");
  const auto names0 = iniSection(*bytes, "BQm");
  const auto addresses = iniSection(*bytes, "BQz");
  ASSERT_TRUE(settings && names0 && addresses) << "a section is missing:\n" << *bytes;
  for (const char* line : {"Zt=5", "Dx=1", "BQs=1"}) {
    EXPECT_TRUE(hasLine(*settings, line)) << "[Quenby_Sarn] lacks " << line << ":" << joined(*settings);
  }
  EXPECT_EQ(valueOf(*names0, "0"), smile) << "[BQm] after exit:" << joined(*names0);
  EXPECT_EQ(valueOf(*names0, "1"), cry) << "[BQm] after exit:" << joined(*names0);
  EXPECT_EQ(valueOf(*addresses, "0"), "http://example.com/smile.gif") << joined(*addresses);
  EXPECT_EQ(valueOf(*addresses, "1"), cryAddress) << joined(*addresses);
  EXPECT_EQ(bytes->find(toUtf8(L"笑脸")), std::string::npos) << "the name was written in UTF-8";
}

TEST_F(Formatter, GradientTakes256CharactersAndRefuses257WithAMessage) {
  ASSERT_TRUE(startVexlo());
  HWND window = vexlo_.window();
  ASSERT_TRUE(clickOn(ui_.modes[1]));
  ASSERT_TRUE(waitUntil([&] { return isChecked(ui_.modes[1]); }, 2s)) << "渐变 was not selected";

  // 256 characters, one of them outside the BMP (two UTF-16 units): at the
  // limit, not over it, and the pair stays whole in its coloured piece.
  const std::wstring atLimit = std::wstring(254, L'字') + L"\U0001F600" + L"z";
  ASSERT_EQ(atLimit.size(), 257u);
  ASSERT_TRUE(setText(ui_.inputBox, atLimit));
  ASSERT_TRUE(setClipboardText(L"剪贴板原文"));
  ASSERT_TRUE(clickOn(ui_.convertButton));
  std::optional<std::wstring> published;
  EXPECT_TRUE(waitUntil(
      [&] {
        published = clipboardText();
        return published && published->rfind(L"[font=宋体][size=1][color=#", 0) == 0;
      },
      2s))
      << "256 characters in gradient mode were not converted; clipboard: " << quoted(published);
  if (published) {
    EXPECT_NE(published->find(L"]\U0001F600[/color]"), std::wstring::npos)
        << "the character outside the BMP is not one whole coloured piece";
    EXPECT_EQ(published->find(L"\U0001F600"), published->rfind(L"\U0001F600"));
  }
  EXPECT_EQ(visibleMessageBox(vexlo_.process().id()), nullptr) << "a message box came up for 256 characters";
  ASSERT_TRUE(waitUntil([&] { return textOf(ui_.convertButton) == kClear; }, 6s))
      << "no converted state after 256 characters";

  // Back to idle through the clear path.
  expandByTouchingTheSquare(window);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(clickOn(ui_.convertButton));
  ASSERT_TRUE(waitUntil([&] { return textOf(ui_.convertButton) == kForum && textOf(ui_.inputBox).empty(); }, 3s))
      << "the clear path left \"" << toUtf8(textOf(ui_.convertButton)) << "\" on the button";

  const std::wstring overLimit = std::wstring(200, L'字') + std::wstring(57, L'x');
  ASSERT_TRUE(setText(ui_.inputBox, overLimit));
  ASSERT_TRUE(setClipboardText(L"剪贴板原文"));
  ASSERT_TRUE(clickOn(ui_.convertButton));
  HWND box = waitForMessageBox(vexlo_.process().id(), L"错误", 5s);
  ASSERT_NE(box, nullptr) << "257 characters in gradient mode showed no message box titled 错误";
  EXPECT_EQ(messageBoxText(box), L"输入的字符数大于 256 个！。。。") << toUtf8(messageBoxText(box));
  EXPECT_NE(saveScreenshot(L"vexlo-gradient-limit.bmp"), L"");
  ASSERT_TRUE(pressMessageBoxButton(box, IDOK));
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(box) || !isVisible(box); }, 3s));

  EXPECT_EQ(textOf(ui_.inputBox), L"") << "the input box is not empty after the refusal";
  EXPECT_EQ(textOf(ui_.convertButton), kForum) << "the convert button left the idle state";
  EXPECT_FALSE(isReadOnly(ui_.inputBox));
  EXPECT_EQ(clipboardText(), std::optional<std::wstring>(L"剪贴板原文")) << "the refusal changed the clipboard";
  // No paste follows a refusal: the state stays idle.
  std::this_thread::sleep_for(2500ms);
  EXPECT_EQ(textOf(ui_.convertButton), kForum);
}

}  // namespace
}  // namespace vexlo::e2e::formatter
