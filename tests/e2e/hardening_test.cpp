// The real Vexlo.exe given bad conditions: the clipboard held by another
// program, a program folder that is gone when the settings are written, and
// a second start while the first is saving beside a temporary left by an
// interrupted save. Every test starts its own Vexlo in a fresh folder.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"
#include "formatter_support.h"

namespace vexlo::e2e::formatter {
namespace {

constexpr wchar_t kClipboardBusy[] =
    L"剪贴板正被其他程序占用，文本没能放到剪贴板上，也没有粘贴。\r\n文本仍在输入框中，稍后双击输入框即可复制。";

// clipboard_holder.exe: holds the clipboard for a given time.
class ClipboardHolder {
 public:
  bool start(int milliseconds) {
    const std::wstring eventName = L"Local\\vexlo-e2e-holder-" + std::to_wstring(GetCurrentProcessId());
    holding_ = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    process_ = Process::start(binFolder() + L"\\clipboard_holder.exe", std::to_wstring(milliseconds) + L" " + eventName,
                              binFolder());
    return process_.started() && WaitForSingleObject(holding_, 30000) == WAIT_OBJECT_0;
  }
  ~ClipboardHolder() {
    if (holding_) CloseHandle(holding_);
  }
  const Process& process() const { return process_; }

 private:
  HANDLE holding_ = nullptr;
  Process process_;
};

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class Hardening : public ::testing::Test {
 protected:
  bool startVexlo() {
    if (!vexlo_.start()) return false;
    ui_ = FormatterControls::find(vexlo_.window());
    return ui_.complete();
  }

  VexloInstance vexlo_;
  FormatterControls ui_;
};

TEST_F(Hardening, ClipboardHeldByAnotherProgramForTenSecondsIsReportedAndTheResultCanBeCopiedLater) {
  ASSERT_TRUE(startVexlo());
  ASSERT_TRUE(setText(ui_.inputBox, L"你好"));
  ClipboardHolder holder;
  ASSERT_TRUE(holder.start(10000));

  ASSERT_TRUE(clickOn(ui_.convertButton));
  HWND box = waitForMessageBox(vexlo_.process().id(), L"错误", 10s);
  ASSERT_NE(box, nullptr) << "no message about the clipboard";
  EXPECT_EQ(messageBoxText(box), kClipboardBusy) << toUtf8(messageBoxText(box));
  EXPECT_TRUE(holder.process().running()) << "Vexlo waited for the clipboard until the other program let it go";
  EXPECT_NE(saveScreenshot(L"vexlo-clipboard-busy.bmp"), L"");
  ASSERT_TRUE(pressMessageBoxButton(box, IDOK));

  const std::wstring result = textOf(ui_.inputBox);
  EXPECT_NE(result.find(L"]你好[/color]"), std::wstring::npos) << toUtf8(result);
  ASSERT_TRUE(holder.process().waitForExit(30s));

  // Once the clipboard is free, a double click in the box copies the result.
  const POINT square = centreOf(vexlo_.window());
  ASSERT_TRUE(movePointer(square.x, square.y));  // touching the collapsed square expands the window
  ASSERT_TRUE(waitUntil([&] { return widthOf(windowRect(vexlo_.window())) > 100; }, 5s));
  std::this_thread::sleep_for(300ms);  // expanding clicks into the box by itself: let that land first
  ASSERT_TRUE(clickOn(ui_.inputBox));
  ASSERT_TRUE(clickOn(ui_.inputBox));
  EXPECT_TRUE(waitUntil([&] { return clipboardText() == result; }, 5s))
      << "the clipboard holds " << toUtf8(clipboardText().value_or(L"(nothing)"));
}

// As when the program runs from a removable drive that was pulled out: its
// folder is gone when the settings are written. (Under Wine the folder can
// be moved away while the program runs, as long as it is not the program's
// working folder.)
TEST_F(Hardening, ProgramFolderGoneAtExitIsReportedAndTheProgramStillEndsWritingNothing) {
  TempFolder place;
  const std::wstring folder = place.file(L"Vexlo");
  const std::wstring moved = place.file(L"moved");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW((binFolder() + L"\\Vexlo.exe").c_str(), (folder + L"\\Vexlo.exe").c_str(), FALSE));
  Process vexlo = Process::start(folder + L"\\Vexlo.exe", L"", place.path());
  ASSERT_TRUE(vexlo.started());
  HWND window = waitForTopLevelWindow(vexlo.id(), kMainWindowClass, 30s);
  ASSERT_NE(window, nullptr);
  std::this_thread::sleep_for(1000ms);
  const HWND exit = FormatterControls::find(window).exit;
  ASSERT_TRUE(MoveFileW(folder.c_str(), moved.c_str())) << "error " << GetLastError();

  ASSERT_TRUE(clickOn(exit));
  HWND box = waitForMessageBox(vexlo.id(), L"错误", 10s);
  ASSERT_NE(box, nullptr) << "the failed save was not reported";
  const std::wstring text = messageBoxText(box);
  EXPECT_EQ(text.rfind(L"无法保存设置文件:\r\n" + folder + L"\\Vexlo.ini\r\n", 0), 0u) << toUtf8(text);
  EXPECT_NE(saveScreenshot(L"vexlo-save-failed.bmp"), L"");
  ASSERT_TRUE(pressMessageBoxButton(box, IDOK));
  EXPECT_TRUE(vexlo.waitForExit(10s)) << "Vexlo did not end after the report";

  EXPECT_FALSE(fileExists(folder)) << "the folder was made anew";
  EXPECT_FALSE(fileExists(moved + L"\\Vexlo.ini"));
  EXPECT_FALSE(fileExists(moved + L"\\Vexlo.ini.tmp"));
}

// A settings file of a heavy user: the save takes long enough for starts to
// land inside it.
std::string heavySettings() {
  std::wstring text = L"[Quenby_Sarn]\r\nZt=3\r\nDx=2\r\nBQs=19999\r\nYYs=-1\r\nCXs=-1\r\n[BQm]\r\n";
  for (int i = 0; i < 20000; ++i) text += std::to_wstring(i) + L"=表情" + std::to_wstring(i) + L"\r\n";
  text += L"[BQz]\r\n";
  for (int i = 0; i < 20000; ++i)
    text += std::to_wstring(i) + L"=http://img.example.com/" + std::to_wstring(i) + L".gif\r\n";
  return toCodePage(text, 936);
}

TEST_F(Hardening, SecondStartsWhileTheFirstIsSavingAreRefusedAndTheFileStaysWhole) {
  const std::wstring settings = vexlo_.folder().file(L"Vexlo.ini");
  const std::wstring leftover = settings + L".tmp";
  ASSERT_TRUE(writeFileBytes(settings, heavySettings()));
  // What a save of this file writes, made by a first start and exit.
  ASSERT_TRUE(startVexlo());
  ASSERT_TRUE(clickOn(ui_.exit));
  ASSERT_TRUE(vexlo_.process().waitForExit(30s));
  const std::optional<std::string> saved = readFileBytes(settings);
  ASSERT_TRUE(saved && saved->size() > 500000);

  // A save cut short left its temporary behind: the next start must not
  // take it for the settings.
  ASSERT_TRUE(writeFileBytes(leftover, "[Quenby_Sarn]\r\nZt=9\r\nBQs=1"));
  Process first = vexlo_.startAnother();
  ASSERT_TRUE(first.started());
  HWND window = waitForTopLevelWindow(first.id(), kMainWindowClass, 60s);
  ASSERT_NE(window, nullptr);
  std::this_thread::sleep_for(1000ms);
  ui_ = FormatterControls::find(window);
  ASSERT_TRUE(ui_.complete());
  EXPECT_EQ(listSelection(ui_.fontList), 3) << "the start did not restore Vexlo.ini";

  // Leave, and start again and again while the first one saves and ends.
  ASSERT_TRUE(clickOn(ui_.exit));
  std::vector<Process> seconds;
  for (int i = 0; i < 6 && first.running(); ++i) {
    seconds.push_back(vexlo_.startAnother());
    std::this_thread::sleep_for(40ms);
  }
  ASSERT_TRUE(first.waitForExit(30s));

  int refused = 0, ran = 0;
  for (Process& second : seconds) {
    ASSERT_TRUE(second.started());
    ASSERT_TRUE(waitUntil(
        [&] {
          return waitForMessageBox(second.id(), L"错误", 0ms) ||
                 waitForTopLevelWindow(second.id(), kMainWindowClass, 0ms);
        },
        60s));
    if (HWND box = waitForMessageBox(second.id(), L"错误", 0ms)) {
      EXPECT_EQ(messageBoxText(box), L"《 Vexlo 》已运行！。。。");
      ASSERT_TRUE(pressMessageBoxButton(box, IDOK));
      EXPECT_TRUE(second.waitForExit(10s));
      ++refused;
    } else {
      ++ran;
    }
  }
  EXPECT_LE(ran, 1) << "two instances ran at once";
  std::printf("second starts during the first one's exit: %zu, refused %d, started after it ended %d\n", seconds.size(),
              refused, ran);
  for (Process& second : seconds) {
    if (!second.running()) continue;
    HWND other = waitForTopLevelWindow(second.id(), kMainWindowClass, 10s);
    std::this_thread::sleep_for(1000ms);
    ASSERT_TRUE(clickOn(FormatterControls::find(other).exit));
    ASSERT_TRUE(second.waitForExit(30s));
  }

  EXPECT_TRUE(readFileBytes(settings) == saved) << "the settings file changed";
  EXPECT_FALSE(fileExists(leftover)) << "the save left its temporary behind";
}

}  // namespace
}  // namespace vexlo::e2e::formatter
