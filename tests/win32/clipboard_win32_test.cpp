#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/clipboard_win32.h"
#include "platform/win32/module_path.h"

namespace vexlo::platform::win32 {
namespace {

// Holds the clipboard from a thread with its own window, as another program would.
struct ClipboardHolder {
  HWND window = nullptr;
  bool open() {
    window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return OpenClipboard(window) != 0;
  }
  ~ClipboardHolder() {
    CloseClipboard();
    DestroyWindow(window);
  }
};

TEST(ClipboardWin32, RoundTripsChineseAndEmojiText) {
  ClipboardWin32 clipboard;
  const std::u16string text = u"[color=#FF0000]你好😀[/color]\r\n";
  ASSERT_TRUE(clipboard.setText(text));
  EXPECT_EQ(clipboard.text(), text);
  ASSERT_TRUE(clipboard.clear());
  EXPECT_EQ(clipboard.text(), u"");
}

TEST(ClipboardWin32, WaitsForAnotherHolderInsteadOfLosingTheResult) {
  ClipboardWin32 clipboard;
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    ClipboardHolder held;
    ASSERT_TRUE(held.open());
    SetEvent(opened);
    Sleep(300);
  });
  WaitForSingleObject(opened, 5000);
  ASSERT_FALSE(OpenClipboard(nullptr)) << "the clipboard was not held at all";
  EXPECT_TRUE(clipboard.setText(u"result"));
  holder.join();
  EXPECT_EQ(clipboard.text(), u"result");
  CloseHandle(opened);
}

TEST(ClipboardWin32, GivesUpWhenTheClipboardStaysTaken) {
  ClipboardWin32 clipboard;
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    ClipboardHolder held;
    ASSERT_TRUE(held.open());
    SetEvent(opened);
    WaitForSingleObject(release, 10000);
  });
  WaitForSingleObject(opened, 5000);
  EXPECT_FALSE(clipboard.setText(u"lost"));
  SetEvent(release);
  holder.join();
  CloseHandle(opened);
  CloseHandle(release);
}

// Another program holds the clipboard for ten seconds: every operation
// gives up while it still holds it, without waiting it out, and works again
// once it lets go.
TEST(ClipboardWin32, HeldByAnotherProgramForTenSecondsGivesUpWhileHeldAndWorksAfterwards) {
  ClipboardWin32 clipboard;
  ASSERT_TRUE(clipboard.setText(u"before"));
  const wchar_t kHolding[] = L"Local\\vexlo-clipboard-holder-test";
  HANDLE holding = CreateEventW(nullptr, TRUE, FALSE, kHolding);
  const std::u16string holderPath = executableDirectory() + u"\\clipboard_holder.exe";
  std::wstring commandLine = L"\"" + std::wstring(holderPath.begin(), holderPath.end()) + L"\" 10000 " + kHolding;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION holder{};
  ASSERT_TRUE(
      CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &holder));
  ASSERT_EQ(WaitForSingleObject(holding, 30000), WAIT_OBJECT_0);

  EXPECT_FALSE(clipboard.clear());
  EXPECT_FALSE(clipboard.setText(u"result"));
  EXPECT_EQ(clipboard.text(), u"");
  EXPECT_EQ(WaitForSingleObject(holder.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the calls waited until the other program let go";

  ASSERT_EQ(WaitForSingleObject(holder.hProcess, 30000), WAIT_OBJECT_0);
  EXPECT_TRUE(clipboard.setText(u"result"));
  EXPECT_EQ(clipboard.text(), u"result");
  CloseHandle(holder.hThread);
  CloseHandle(holder.hProcess);
  CloseHandle(holding);
}

// Several formats go on in one opening and read back as they were given;
// a later plain text replaces all of them.
TEST(ClipboardWin32, PutsTextHtmlAndRtfOnTogether) {
  ClipboardWin32 clipboard;
  const std::string html = "Version:0.9\r\n<b>\xE4\xBD\xA0</b>";
  const std::string rtf = "{\\rtf1 \\u20320?}";
  ASSERT_TRUE(clipboard.setTextWithFormats(u"你", {{u"HTML Format", html}, {u"Rich Text Format", rtf}}));
  const UINT htmlId = RegisterClipboardFormatW(L"HTML Format"), rtfId = RegisterClipboardFormatW(L"Rich Text Format");
  auto formats = [] {
    std::vector<UINT> found;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) found.push_back(f);
    return found;
  };
  auto bytesOf = [](UINT format) {
    HANDLE data = GetClipboardData(format);
    if (!data) return std::string("(none)");
    std::string bytes(static_cast<const char*>(GlobalLock(data)));
    GlobalUnlock(data);
    return bytes;
  };
  ASSERT_TRUE(OpenClipboard(nullptr));
  const std::vector<UINT> found = formats();
  for (UINT f : {UINT(CF_UNICODETEXT), htmlId, rtfId})
    EXPECT_NE(std::find(found.begin(), found.end(), f), found.end()) << f;
  EXPECT_EQ(bytesOf(htmlId), html);
  EXPECT_EQ(bytesOf(rtfId), rtf);
  CloseClipboard();
  EXPECT_EQ(clipboard.text(), u"你");

  ASSERT_TRUE(clipboard.setText(u"plain"));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(IsClipboardFormatAvailable(htmlId));
  EXPECT_FALSE(IsClipboardFormatAvailable(rtfId));
  CloseClipboard();
}

}  // namespace
}  // namespace vexlo::platform::win32
