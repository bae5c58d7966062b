#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "platform/win32/clipboard_win32.h"

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

}  // namespace
}  // namespace vexlo::platform::win32
