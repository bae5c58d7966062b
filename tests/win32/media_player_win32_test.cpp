// The media player through Media Foundation, driven by a real message loop:
// files open, play and end; every state reaches onStateChange from the loop,
// in order; failures stay silent; the player's own windows sit where the
// media panel leaves room for them.
#include "platform/win32/media_player_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vexlo::platform::win32 {
namespace {

constexpr wchar_t kHostClass[] = L"MediaPlayerTestHost";
constexpr wchar_t kNotifyClass[] = L"MediaPlayerTestNotify";
// Under Wine with a null sound device a file plays about four times faster
// than real time; these bounds leave room for a slow first start.
constexpr DWORD kOpenMilliseconds = 15000;
constexpr DWORD kQuietMilliseconds = 1500;

MediaPlayerWin32* deliveringTo = nullptr;

LRESULT CALLBACK notifyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MediaPlayerWin32::stateMessage() && deliveringTo) {
    deliveringTo->deliverStateChange();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t* wideOf(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::wstring textOf(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

std::wstring classOf(HWND window) {
  wchar_t buffer[64] = {};
  GetClassNameW(window, buffer, 64);
  return buffer;
}

// The first window anywhere under `parent` that matches.
HWND findWindow(HWND parent, const std::function<bool(HWND)>& matches) {
  struct Search {
    const std::function<bool(HWND)>& matches;
    HWND found = nullptr;
  } search{matches};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (!s->matches(window)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND findControl(HWND parent, const std::wstring& className, const std::wstring& caption) {
  return findWindow(parent, [&](HWND window) {
    return _wcsicmp(classOf(window).c_str(), className.c_str()) == 0 && textOf(window) == caption;
  });
}

// Visible top-level windows of this process other than `except`: a dialog
// the player should never have shown.
int visibleTopLevelWindowsBesides(HWND except) {
  struct Count {
    HWND except;
    int windows = 0;
  } count{except};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* c = reinterpret_cast<Count*>(data);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && window != c->except && IsWindowVisible(window)) ++c->windows;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.windows;
}

RECT rectInHost(HWND window, HWND host) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class MediaPlayerWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSW host = {};
      host.lpfnWndProc = DefWindowProcW;
      host.hInstance = GetModuleHandleW(nullptr);
      host.lpszClassName = kHostClass;
      host.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
      WNDCLASSW notify = {};
      notify.lpfnWndProc = notifyProc;
      notify.hInstance = GetModuleHandleW(nullptr);
      notify.lpszClassName = kNotifyClass;
      return RegisterClassW(&host) && RegisterClassW(&notify);
    }();
    ASSERT_TRUE(registered);

    wchar_t temp[MAX_PATH + 1];
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    folder_ = reinterpret_cast<const char16_t*>(temp);
    folder_ += u"vexlo-media-" + number(GetCurrentProcessId()) + u"-" + number(GetTickCount());
    ASSERT_TRUE(CreateDirectoryW(wideOf(folder_), nullptr));

    const int dpi = static_cast<int>(GetDpiForSystem());
    host_ = CreateWindowExW(0, kHostClass, L"player area", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                            pixels(4695, dpi), pixels(3255, dpi), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    notify_ =
        CreateWindowExW(0, kNotifyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(host_ && notify_);
    makePlayer();
  }

  void TearDown() override {
    deliveringTo = nullptr;
    player_.reset();
    if (host_) DestroyWindow(host_);
    if (notify_) DestroyWindow(notify_);
    for (const std::u16string& file : files_) DeleteFileW(wideOf(file));
    RemoveDirectoryW(wideOf(folder_));
  }

  void makePlayer() {
    deliveringTo = nullptr;
    player_.reset();
    states_.clear();
    player_ = std::make_unique<MediaPlayerWin32>(notify_, [this] {
      ++hostRequests_;
      return host_;
    });
    player_->onStateChange = [this] { states_.push_back(player_->playState()); };
    deliveringTo = player_.get();
  }

  static std::u16string number(unsigned long value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
  }

  static int pixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

  int hostPixels(int twips) const { return pixels(twips, static_cast<int>(GetDpiForWindow(host_))); }

  std::u16string writeFile(const std::u16string& name, const std::string& bytes) {
    std::u16string path = folder_ + u"\\" + name;
    HANDLE file = CreateFileW(wideOf(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    files_.push_back(path);
    return path;
  }

  // An 8 kHz mono 16-bit PCM tone.
  std::u16string writeTone(const std::u16string& name, int seconds) {
    const std::uint32_t rate = 8000, samples = rate * static_cast<std::uint32_t>(seconds), dataBytes = samples * 2;
    std::string wav;
    auto put = [&wav](std::uint32_t value, int bytes) {
      for (int i = 0; i < bytes; ++i) wav += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    wav += "RIFF";
    put(36 + dataBytes, 4);
    wav += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    wav += "data";
    put(dataBytes, 4);
    for (std::uint32_t i = 0; i < samples; ++i) {
      const auto sample = static_cast<std::int16_t>(6000 * std::sin(2 * 3.14159265358979 * 440 * i / rate));
      put(static_cast<std::uint16_t>(sample), 2);
    }
    return writeFile(name, wav);
  }

  // Runs the message loop until `done` holds or the time is up.
  bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      if (done()) return true;
      const ULONGLONG now = GetTickCount64();
      if (now >= end) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now < 20 ? end - now : 20), QS_ALLINPUT);
    }
  }

  void pumpFor(DWORD milliseconds) {
    pumpUntil([] { return false; }, milliseconds);
  }

  bool announced(int state) const {
    for (int s : states_)
      if (s == state) return true;
    return false;
  }

  // True once `state` has been announced after the first announcement of `after`.
  bool announcedAfter(int after, int state) const {
    bool seen = false;
    for (int s : states_) {
      if (seen && s == state) return true;
      if (s == after) seen = true;
    }
    return false;
  }

  bool playsToTheEnd() {
    return pumpUntil([this] { return announcedAfter(kPlayStatePlaying, kPlayStateStopped); }, kOpenMilliseconds);
  }

  std::u16string folder_;
  std::vector<std::u16string> files_;
  HWND host_ = nullptr;
  HWND notify_ = nullptr;
  int hostRequests_ = 0;
  std::unique_ptr<MediaPlayerWin32> player_;
  std::vector<int> states_;
};

TEST_F(MediaPlayerWin32Test, NothingIsMadeOrStartedBeforeTheFirstAddress) {
  EXPECT_EQ(player_->url(), u"");
  EXPECT_EQ(player_->playState(), 0);
  EXPECT_FALSE(player_->setUrl(u""));
  EXPECT_EQ(hostRequests_, 0);
  EXPECT_EQ(GetWindow(host_, GW_CHILD), nullptr);
  pumpFor(200);
  EXPECT_TRUE(states_.empty());
}

// Names outside code page 936 too: the path must go through wide calls only.
TEST_F(MediaPlayerWin32Test, PlaysAFileToTheEndAnnouncingPlayingThenStopped) {
  struct Case {
    const char* what;
    std::u16string name;
  };
  const Case cases[] = {
      {"plain name", u"tone.wav"},
      {"German, Korean and an emoji", u"Stra\u00dfe \ud55c\uae00 \U0001F600.wav"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const bool first = files_.empty();
    states_.clear();
    const std::u16string path = writeTone(c.name, 4);
    ASSERT_TRUE(player_->setUrl(path));
    EXPECT_EQ(player_->url(), path);
    ASSERT_TRUE(playsToTheEnd()) << "states announced: " << ::testing::PrintToString(states_);
    // A second file first announces that the first one is gone.
    const std::vector<int> expected = first ? std::vector<int>{3, 1} : std::vector<int>{0, 3, 1};
    EXPECT_EQ(states_, expected);
    EXPECT_EQ(player_->playState(), kPlayStateStopped);
    EXPECT_EQ(player_->url(), path);
    // Where the clock stopped at the end may vary; the length may not.
    EXPECT_NE(findWindow(host_,
                         [](HWND window) {
                           const std::wstring text = textOf(window);
                           return text.size() == 13 && text.substr(5) == L" / 00:04";
                         }),
              nullptr)
        << "the time text does not show the file's length";
  }
  EXPECT_EQ(hostRequests_, 1);
}

TEST_F(MediaPlayerWin32Test, AFileThatCannotPlayNeverPlaysAndShowsNoDialog) {
  struct Case {
    const char* what;
    std::u16string path;
    bool refusedAtOnce;
  };
  const Case cases[] = {
      {"missing file", folder_ + u"\\missing.wav", true},
      {"folder", folder_, true},
      {"not a media file", writeFile(u"notes.wav", std::string(4096, 'x')), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    states_.clear();
    const bool accepted = player_->setUrl(c.path);
    if (c.refusedAtOnce) {
      EXPECT_FALSE(accepted);
    }
    EXPECT_EQ(player_->url(), c.path);
    pumpFor(c.refusedAtOnce ? kQuietMilliseconds / 3 : kQuietMilliseconds * 2);
    EXPECT_FALSE(announced(kPlayStatePlaying));
    EXPECT_NE(player_->playState(), kPlayStatePlaying);
    EXPECT_EQ(visibleTopLevelWindowsBesides(host_), 0);
  }
}

TEST_F(MediaPlayerWin32Test, ReplacingAPlayingFileWithAMissingOneStopsItAtOnce) {
  ASSERT_TRUE(player_->setUrl(writeTone(u"long.wav", 20)));
  ASSERT_TRUE(pumpUntil([this] { return announced(kPlayStatePlaying); }, kOpenMilliseconds));
  const std::u16string missing = folder_ + u"\\gone.wav";
  EXPECT_FALSE(player_->setUrl(missing));
  EXPECT_EQ(player_->playState(), 0);
  EXPECT_EQ(player_->url(), missing);
  states_.clear();
  pumpFor(kQuietMilliseconds);
  // The program hears once that nothing plays, and nothing from the old file.
  EXPECT_EQ(states_, std::vector<int>{0});
  EXPECT_EQ(player_->playState(), 0);
}

TEST_F(MediaPlayerWin32Test, TheSameAddressSetAgainStartsItOver) {
  struct Case {
    const char* what;
    bool secondOncePlaying;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"set twice at once", false, {3, 1}},
      {"set again while playing", true, {3, 0, 3, 1}},
  };
  const std::u16string path = writeTone(u"again.wav", 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    makePlayer();
    ASSERT_TRUE(player_->setUrl(path));
    if (c.secondOncePlaying) {
      ASSERT_TRUE(pumpUntil([this] { return announced(kPlayStatePlaying); }, kOpenMilliseconds));
    }
    ASSERT_TRUE(player_->setUrl(path));
    EXPECT_EQ(player_->url(), path);
    ASSERT_TRUE(
        pumpUntil([this, &c] { return states_.size() >= c.expected.size() && states_.back() == kPlayStateStopped; },
                  kOpenMilliseconds))
        << ::testing::PrintToString(states_);
    pumpFor(200);
    EXPECT_EQ(states_, c.expected);
  }
}

TEST_F(MediaPlayerWin32Test, TransportBarSitsClearOfThePanelControlsAndDrivesThePlayer) {
  ASSERT_TRUE(player_->setUrl(writeTone(u"long.wav", 20)));
  ASSERT_TRUE(pumpUntil([this] { return announced(kPlayStatePlaying); }, kOpenMilliseconds));

  HWND pause = findControl(host_, L"Button", L"暂停");
  HWND stop = findControl(host_, L"Button", L"停止");
  HWND position = findControl(host_, TRACKBAR_CLASSW, L"播放位置");
  HWND volume = findControl(host_, TRACKBAR_CLASSW, L"音量");
  ASSERT_TRUE(pause && stop && position && volume);
  EXPECT_EQ(SendMessageW(volume, TBM_GETPOS, 0, 0), 50);

  // The panel's own controls lie over x >= 3510, y >= 2340 twips; the bar
  // keeps to its strip at the lower left.
  for (HWND control : {pause, stop, position, volume}) {
    const RECT r = rectInHost(control, host_);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, hostPixels(3450) + 1);
    EXPECT_GE(r.top, hostPixels(2880) - 1);
    EXPECT_LE(r.bottom, hostPixels(3135) + 1);
  }

  SendMessageW(pause, BM_CLICK, 0, 0);
  ASSERT_TRUE(pumpUntil([this] { return announced(kPlayStatePaused); }, kOpenMilliseconds));
  EXPECT_EQ(textOf(pause), L"播放") << "the button does not offer to play while paused";
  SendMessageW(pause, BM_CLICK, 0, 0);
  ASSERT_TRUE(pumpUntil([this] { return announcedAfter(kPlayStatePaused, kPlayStatePlaying); }, kOpenMilliseconds));
  EXPECT_EQ(textOf(pause), L"暂停");
  SendMessageW(stop, BM_CLICK, 0, 0);
  ASSERT_TRUE(pumpUntil([this] { return announced(kPlayStateStopped); }, kOpenMilliseconds));
  EXPECT_EQ(textOf(pause), L"播放");
  // The stopped player is let go; Play opens the file again from its start.
  pumpFor(300);
  SendMessageW(pause, BM_CLICK, 0, 0);
  ASSERT_TRUE(pumpUntil([this] { return announcedAfter(kPlayStateStopped, kPlayStatePlaying); }, kOpenMilliseconds));
  EXPECT_EQ(states_, (std::vector<int>{3, 2, 3, 1, 3}));
  EXPECT_EQ(textOf(pause), L"暂停");
}

TEST_F(MediaPlayerWin32Test, FullScreenCoversTheMonitorAndEscapeOrADoubleClickLeaves) {
  struct Case {
    const char* what;
    std::function<void(HWND)> leave;
  };
  MediaPlayerWin32* player = player_.get();
  const Case cases[] = {
      {"Escape", [](HWND video) { SendMessageW(video, WM_KEYDOWN, VK_ESCAPE, 0); }},
      {"double-click", [](HWND video) { SendMessageW(video, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10)); }},
      {"asked by the program", [player](HWND) { player->setFullScreen(false); }},
  };
  ASSERT_TRUE(player_->setUrl(writeTone(u"long.wav", 20)));
  player_->focus();
  HWND video = GetFocus();
  ASSERT_TRUE(IsChild(host_, video)) << "focus() left the keyboard focus outside the player area";
  const RECT inPanel = rectInHost(video, host_);
  EXPECT_LE(inPanel.bottom, hostPixels(2820) + 1);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    player_->setFullScreen(true);
    EXPECT_EQ(GetParent(video), nullptr);
    EXPECT_TRUE(GetWindowLongW(video, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(video));
    EXPECT_EQ(GetFocus(), video) << "Escape would not reach the full-screen picture";
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(host_, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT screen;
    GetWindowRect(video, &screen);
    EXPECT_TRUE(EqualRect(&screen, &monitor.rcMonitor));

    c.leave(video);
    EXPECT_EQ(GetParent(video), host_);
    EXPECT_FALSE(GetWindowLongW(video, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const RECT back = rectInHost(video, host_);
    EXPECT_TRUE(EqualRect(&back, &inPanel));
  }
}

}  // namespace
}  // namespace vexlo::platform::win32
