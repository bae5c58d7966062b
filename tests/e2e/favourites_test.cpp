// The favourites of the real Vexlo.exe, used as a user does: lists restored
// from the settings file into their three places, an emoticon chosen into
// the next conversion, an entry added through the editor, a WAV played from
// the media favourites, program tiles with their icons, and everything back
// after a restart.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "e2e_support.h"
#include "formatter_support.h"

namespace vexlo::e2e::formatter {
namespace {

constexpr wchar_t kToolbox[] = L"我的工具箱";
constexpr wchar_t kMedia[] = L"Flash·影音";

// A short PCM WAV of silence: enough for the player to report playing.
std::string silentWav(int seconds) {
  const std::uint32_t rate = 8000, bytes = rate * static_cast<std::uint32_t>(seconds);
  std::string wav = "RIFF";
  auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) wav.push_back(static_cast<char>(v >> (8 * i))); };
  auto put16 = [&](std::uint16_t v) { for (int i = 0; i < 2; ++i) wav.push_back(static_cast<char>(v >> (8 * i))); };
  put32(36 + bytes);
  wav += "WAVEfmt ";
  put32(16);
  put16(1);  // PCM
  put16(1);  // mono
  put32(rate);
  put32(rate);  // bytes per second
  put16(1);     // block align
  put16(8);     // bits per sample
  wav += "data";
  put32(bytes);
  wav.append(bytes, static_cast<char>(0x80));
  return wav;
}

class Favourites : public ::testing::Test {
 protected:
  std::wstring settingsPath() const { return vexlo_.folder().file(L"Vexlo.ini"); }
  std::wstring wavPath() const { return vexlo_.folder().file(L"歌曲.wav"); }

  // Two emoticons, one WAV, two programs (this copy of Vexlo and Notepad).
  bool writeSettings() {
    const std::wstring text = L"[Quenby_Sarn]\r\nBQs=1\r\nYYs=0\r\nCXs=1\r\n"
                              L"[BQm]\r\n0=笑\r\n1=哭\r\n[BQz]\r\n0=http://a/smile.gif\r\n1=http://a/cry.gif\r\n"
                              L"[YYm]\r\n0=歌曲\r\n[YYz]\r\n0=" + wavPath() + L"\r\n"
                              L"[CXm]\r\n0=维克斯\r\n1=记事本\r\n[CXz]\r\n0=" + vexlo_.exePath() +
                              L"\r\n1=C:\\windows\\system32\\notepad.exe\r\n";
    return writeFileBytes(wavPath(), silentWav(2)) && writeFileBytes(settingsPath(), toCodePage(text, 936));
  }

  bool startVexlo() {
    if (!vexlo_.start()) return false;
    ui_ = FormatterControls::find(vexlo_.window());
    return ui_.complete();
  }

  HWND panel(const wchar_t* caption) { return vexlo_.control(L"Button", caption, isGroupBox); }
  HWND selector(const wchar_t* tooltip) {
    return vexlo_.control(L"Button", tooltip, [](HWND w) { return !isGroupBox(w); });
  }
  bool selectPanel(const wchar_t* name) {
    return clickOn(selector(name)) && waitUntil([&] { return isVisible(panel(name)); }, 2s);
  }

  VexloInstance vexlo_;
  FormatterControls ui_;
};

TEST_F(Favourites, RestoredEmoticonGoesIntoTheConversionAndAnAddedOneSurvivesARestart) {
  ASSERT_TRUE(writeSettings());
  ASSERT_TRUE(startVexlo());
  ASSERT_EQ(comboItems(ui_.emoticons), (std::vector<std::wstring>{L"笑", L"哭"}));

  // Choosing 哭 queues its image tag for the next forum conversion.
  ASSERT_TRUE(clickComboItem(ui_.emoticons, 1));
  ASSERT_TRUE(setText(ui_.inputBox, L"好"));
  ASSERT_TRUE(clickOn(ui_.convertButton));
  std::optional<std::wstring> published;
  EXPECT_TRUE(waitUntil(
      [&] {
        published = clipboardText();
        return published && published->find(L"[img]http://a/cry.gif[/img]") != std::wstring::npos;
      },
      3s))
      << "the conversion holds no image tag: " << toUtf8(published.value_or(L"(nothing)"));
  waitUntil([&] { return textOf(ui_.convertButton) == L"清 除"; }, 5s);
  ASSERT_TRUE(clickOn(ui_.convertButton));  // clears, and empties the queue
  if (windowRect(vexlo_.window()).right - windowRect(vexlo_.window()).left < 100) {
    const POINT centre = centreOf(vexlo_.window());
    movePointer(centre.x, centre.y);
  }

  // The editor adds an emoticon at the top of the list.
  HWND add = vexlo_.control(L"Button", L"+");
  ASSERT_NE(add, nullptr) << "no add button + for the emoticons";
  ASSERT_TRUE(clickOn(add));
  HWND editor = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (editor = vexlo_.control(L"Button", L"添加·表情", isGroupBox)) && isVisible(editor); }, 2s))
      << "the editor 添加·表情 did not open";
  const std::vector<HWND> boxes = descendants(editor, L"Edit");
  ASSERT_EQ(boxes.size(), 2u);
  HWND nameBox = windowRect(boxes[0]).top < windowRect(boxes[1]).top ? boxes[0] : boxes[1];
  HWND addressBox = nameBox == boxes[0] ? boxes[1] : boxes[0];
  // Opening ends with the focus in the address box, after the fields were
  // emptied: text set before then would be cleared.
  ASSERT_TRUE(waitUntil(
      [&] {
        GUITHREADINFO info{sizeof info};
        return GetGUIThreadInfo(GetWindowThreadProcessId(addressBox, nullptr), &info) && info.hwndFocus == addressBox;
      },
      2s))
      << "the address box did not take the focus";
  ASSERT_TRUE(setText(nameBox, L"赞"));
  ASSERT_TRUE(setText(addressBox, L"http://a/good.gif"));
  ASSERT_TRUE(clickOn(findDescendant(editor, L"Button", L"确定")));
  EXPECT_TRUE(waitUntil([&] { return !isVisible(editor); }, 2s)) << "确定 left the editor open";
  EXPECT_EQ(comboItems(ui_.emoticons), (std::vector<std::wstring>{L"赞", L"笑", L"哭"}));

  ASSERT_TRUE(clickOn(ui_.exit));
  ASSERT_TRUE(vexlo_.process().waitForExit(10s));
  Process again = vexlo_.startAnother();
  HWND window = waitForTopLevelWindow(again.id(), kMainWindowClass, 30s);
  ASSERT_NE(window, nullptr);
  std::this_thread::sleep_for(1000ms);
  const FormatterControls restored = FormatterControls::find(window);
  EXPECT_EQ(comboItems(restored.emoticons), (std::vector<std::wstring>{L"赞", L"笑", L"哭"}));
  const std::optional<std::string> bytes = readFileBytes(settingsPath());
  ASSERT_TRUE(bytes);
  struct Written {
    const char* section;
    std::size_t entries;
  };
  for (Written w : {Written{"BQm", 3}, Written{"BQz", 3}, Written{"YYm", 1}, Written{"YYz", 1}, Written{"CXm", 2},
                    Written{"CXz", 2}}) {
    const auto lines = iniSection(*bytes, w.section);
    ASSERT_TRUE(lines) << "no [" << w.section << "] after 退出";
    EXPECT_EQ(lines->size(), w.entries) << "[" << w.section << "] was not written back whole";
  }
}

TEST_F(Favourites, ProgramTilesShowTheirIconsAndNames) {
  ASSERT_TRUE(writeSettings());
  ASSERT_TRUE(startVexlo());
  ASSERT_TRUE(selectPanel(kToolbox));
  HWND caption = vexlo_.control(L"Static", L"记事本");
  ASSERT_NE(caption, nullptr) << "no tile captioned 记事本";
  HWND first = vexlo_.control(L"Static", L"维克斯");
  ASSERT_NE(first, nullptr) << "no tile captioned 维克斯";
  EXPECT_LT(windowRect(first).top, windowRect(caption).top);
  std::this_thread::sleep_for(500ms);
  EXPECT_NE(saveScreenshot(L"vexlo-toolbox-tiles.bmp"), L"");

  // The icon box left of the first caption shows this program's icon: some
  // of its pixels are not white.
  const RECT c = windowRect(first);
  const int iconLeft = c.left - (720 - 120) / 15, iconTop = c.top - (210 - 90) / 15;
  int coloured = 0;
  for (int y = iconTop + 2; y < iconTop + 34; y += 3)
    for (int x = iconLeft + 2; x < iconLeft + 34; x += 3)
      if (screenPixel(x, y) != RGB(255, 255, 255)) ++coloured;
  EXPECT_GT(coloured, 5) << "the first tile's icon box is blank";
}

TEST_F(Favourites, ChoosingTheWavPlaysItAndOffersFullScreen) {
  ASSERT_TRUE(writeSettings());
  ASSERT_TRUE(startVexlo());
  ASSERT_TRUE(selectPanel(kMedia));
  HWND toggle = vexlo_.control(L"Button", L"收");
  ASSERT_NE(toggle, nullptr);
  ASSERT_TRUE(clickOn(toggle));
  HWND frame = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (frame = vexlo_.control(L"Button", L"影音·收藏", isGroupBox)) && isVisible(frame); }, 2s));
  const std::vector<HWND> lists = descendants(frame, L"ComboBox");
  ASSERT_EQ(lists.size(), 1u);
  ASSERT_EQ(comboItems(lists[0]), std::vector<std::wstring>{L"歌曲"});
  HWND fullScreen = vexlo_.control(L"Button", L"2");
  ASSERT_NE(fullScreen, nullptr);
  EXPECT_FALSE(IsWindowEnabled(fullScreen));

  const auto chosen = std::chrono::steady_clock::now();
  ASSERT_TRUE(clickComboItem(lists[0], 0));
  EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(fullScreen) != FALSE; }, 10s, 5ms))
      << "full screen was not offered: the WAV did not play";
  const auto playing = std::chrono::steady_clock::now();
  std::printf("[ measure ] choice to playing: %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(playing - chosen).count()));
  // The media panel's caption now names the file: its first 10 characters,
  // "....." and its last 15 (the temporary folder makes the path long).
  const std::wstring path = wavPath();
  ASSERT_GT(path.size(), 30u);
  const std::wstring expected = path.substr(0, 10) + L"....." + path.substr(path.size() - 15);
  EXPECT_NE(vexlo_.control(L"Button", expected, isGroupBox), nullptr) << "no panel captioned " << toUtf8(expected);
  EXPECT_NE(saveScreenshot(L"vexlo-media-playing.bmp"), L"");
  // After the end the button is disabled again.
  EXPECT_TRUE(waitUntil([&] { return !IsWindowEnabled(fullScreen); }, 15s)) << "still offered after the end";
}

}  // namespace
}  // namespace vexlo::e2e::formatter
