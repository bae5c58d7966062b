// The program's own window procedures outside the controls: a handler that
// throws there is reported through the one guard, the message still gets an
// answer, and the same window handles the next message.
#include "platform/win32/callback_guard_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/handler_guard.h"
#include "platform/win32/media_transport_bar_win32.h"
#include "platform/win32/media_video_window_win32.h"
#include "recorded_messages.h"

namespace vexlo::platform::win32 {
namespace {

class CallbackGuardWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(bar.create(host, {0, 200, 300, 220}, 96, 50));
    ASSERT_TRUE(video.create(host, {0, 0, 400, 190}));
    setCallbackGuard(&guard);
  }
  void TearDown() override {
    setCallbackGuard(nullptr);
    DestroyWindow(host);
  }

  win32_tests::RecordedMessages messages;
  platform::HandlerGuard guard{messages};
  HWND host = nullptr;
  MediaTransportBar bar;
  MediaVideoWindow video;
};

HWND childWithText(HWND parent, const wchar_t* text) { return FindWindowExW(parent, nullptr, WC_BUTTONW, text); }

TEST_F(CallbackGuardWin32Test, AThrowingHandlerIsReportedOnceAndTheWindowGoesOn) {
  int handled = 0;
  const auto pressStop = [&] { SendMessageW(childWithText(bar.handle(), L"停止"), BM_CLICK, 0, 0); };
  const auto resizeVideo = [&] { SendMessageW(video.handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 150)); };
  struct Case {
    const char* name;
    std::function<void(std::function<void()>)> setHandler;
    std::function<void()> send;
    std::function<void()> fail;
    std::u16string report;
  } cases[] = {
      {"transport bar, runtime_error", [&](std::function<void()> h) { bar.onStop = std::move(h); }, pressStop,
       [] { throw std::runtime_error("device lost"); },
       u"错误: 媒体播放器的控制条时出错:\r\ndevice lost\r\n\r\n此操作已中止，程序继续运行。"},
      {"video window, bad_alloc", [&](std::function<void()> h) { video.onRepaint = std::move(h); }, resizeVideo,
       [] { throw std::bad_alloc(); },
       u"错误: 媒体播放器的画面时出错:\r\n内存不足 (std::bad_alloc)\r\n\r\n此操作已中止，程序继续运行。"},
  };
  for (const Case& c : cases) {
    messages.texts.clear();
    handled = 0;
    c.setHandler(c.fail);
    c.send();
    ASSERT_EQ(messages.texts.size(), 1u) << c.name;
    EXPECT_EQ(messages.texts[0], c.report) << c.name;
    c.setHandler([&] { ++handled; });
    c.send();
    EXPECT_EQ(handled, 1) << c.name;
    EXPECT_EQ(messages.texts.size(), 1u) << c.name;
  }
}

}  // namespace
}  // namespace vexlo::platform::win32
