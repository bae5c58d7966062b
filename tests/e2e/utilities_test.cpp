// The system utilities of the real Vexlo.exe, used as a user does: a tool
// chosen from the toolbox's list starts, the Control Panel entry pops up its
// menu, the strip's 自启 box registers the program to start with Windows,
// and a web search hands the engine's address to the system's browser (a
// recorder registered by the test in the browser's place).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "e2e_support.h"
#include "formatter_support.h"

namespace vexlo::e2e::formatter {
namespace {

constexpr wchar_t kToolbox[] = L"我的工具箱";
// 5205 x 4695 twips expanded, 690 x 690 collapsed, at 15 twips per pixel.
constexpr SIZE kExpanded96{347, 313};
constexpr SIZE kCollapsed96{46, 46};
// The Control Panel menu's place, 4320 x 2835 twips, in client pixels.
constexpr POINT kControlPanelMenu96{288, 189};

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kAutostartValue[] = L"Vexlo v10.1";

DWORD_PTR send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 3000, &result);
  return result;
}

POINT clientOrigin(HWND window) {
  POINT origin{0, 0};
  MapWindowPoints(window, HWND_DESKTOP, &origin, 1);
  return origin;
}

bool hasSize(HWND window, SIZE size) {
  const RECT r = windowRect(window);
  return widthOf(r) == size.cx && heightOf(r) == size.cy;
}

// ----- registry ----------------------------------------------------------------

// One registry value as the test found it, put back when the object goes
// away, whatever the test did to it in between; a key that the program or
// the test created goes again once it is empty.
class SavedRegistryValue {
 public:
  SavedRegistryValue(HKEY root, REGSAM view, std::wstring key, std::wstring name)
      : root_(root), view_(view), key_(std::move(key)), name_(std::move(name)) {
    HKEY k = open(KEY_QUERY_VALUE);
    keyExisted_ = k != nullptr;
    if (!k) return;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(k, name_.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
      std::vector<BYTE> data(size);
      if (RegQueryValueExW(k, name_.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS) {
        data.resize(size);
        saved_ = Saved{type, std::move(data)};
      }
    }
    RegCloseKey(k);
  }
  ~SavedRegistryValue() {
    const bool restored =
        saved_ ? setRaw(saved_->type, saved_->data.data(), static_cast<DWORD>(saved_->data.size())) : remove();
    if (!restored) ADD_FAILURE() << "could not restore the registry value " << toUtf8(key_) << "\\" << toUtf8(name_);
    if (!keyExisted_) removeKeyIfEmpty();
  }
  SavedRegistryValue(const SavedRegistryValue&) = delete;
  SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

  // The value's text as a program reading it sees it; nullopt when absent.
  std::optional<std::wstring> text() const {
    HKEY k = open(KEY_QUERY_VALUE);
    if (!k) return std::nullopt;
    std::optional<std::wstring> result;
    DWORD size = 0;
    if (RegGetValueW(k, nullptr, name_.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) == ERROR_SUCCESS) {
      std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
      size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
      if (RegGetValueW(k, nullptr, name_.c_str(), RRF_RT_REG_SZ, nullptr, data.data(), &size) == ERROR_SUCCESS) {
        data.resize(size / sizeof(wchar_t));
        while (!data.empty() && data.back() == L'\0') data.pop_back();
        result = std::move(data);
      }
    }
    RegCloseKey(k);
    return result;
  }
  bool write(const std::wstring& text) const {
    return setRaw(REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  bool remove() const {
    HKEY k = open(KEY_SET_VALUE);
    if (!k) return true;
    const LSTATUS status = RegDeleteValueW(k, name_.c_str());
    RegCloseKey(k);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }

 private:
  struct Saved {
    DWORD type;
    std::vector<BYTE> data;
  };
  HKEY open(REGSAM access) const {
    HKEY k = nullptr;
    return RegOpenKeyExW(root_, key_.c_str(), 0, access | view_, &k) == ERROR_SUCCESS ? k : nullptr;
  }
  bool setRaw(DWORD type, const BYTE* data, DWORD size) const {
    HKEY k = nullptr;
    if (RegCreateKeyExW(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view_, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
      return false;
    const LSTATUS status = RegSetValueExW(k, name_.c_str(), 0, type, data, size);
    RegCloseKey(k);
    return status == ERROR_SUCCESS;
  }
  void removeKeyIfEmpty() const {
    HKEY k = open(KEY_QUERY_VALUE);
    if (!k) return;
    DWORD subkeys = 1, values = 1;
    const bool empty = RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                        nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                       subkeys == 0 && values == 0;
    RegCloseKey(k);
    if (empty) RegDeleteKeyExW(root_, key_.c_str(), view_, 0);
  }

  HKEY root_;
  REGSAM view_;
  std::wstring key_, name_;
  bool keyExisted_ = false;
  std::optional<Saved> saved_;
};

// ----- the toolbox ---------------------------------------------------------------

class Utilities : public ::testing::Test {
 protected:
  HWND window() const { return vexlo_.window(); }

  // Starts Vexlo and shows the toolbox panel.
  bool startOnToolbox() {
    if (!vexlo_.start()) return false;
    HWND selector = vexlo_.control(L"Button", kToolbox, [](HWND w) { return !isGroupBox(w); });
    if (!selector || !clickOn(selector)) return false;
    return waitUntil(
        [&] {
          HWND panel = vexlo_.control(L"Button", kToolbox, isGroupBox);
          return panel && isVisible(panel);
        },
        2s);
  }

  // Opens the tools list (Combo3) with a click and clicks the entry. The list
  // lets go of its choice at once, so the choice shows only in what follows.
  bool chooseTool(std::wstring_view caption) {
    HWND list = nullptr;
    std::vector<std::wstring> items;
    for (HWND combo : descendants(window(), L"ComboBox")) {
      if (!isVisible(combo)) continue;
      items = comboItems(combo);
      if (!items.empty() && items.front() == L"画  图") {
        list = combo;
        break;
      }
    }
    if (!list) {
      ADD_FAILURE() << "no visible tools list whose first entry is 画  图";
      return false;
    }
    const auto found = std::find(items.begin(), items.end(), caption);
    if (found == items.end()) {
      ADD_FAILURE() << "the tools list has no entry " << toUtf8(caption);
      return false;
    }
    const auto index = static_cast<LONG_PTR>(found - items.begin());
    if (!clickOn(list)) return false;
    HWND dropped = waitForTopLevelWindow(vexlo_.process().id(), L"ComboLBox", 3s);
    if (!dropped) {
      ADD_FAILURE() << "clicking the tools list opened no list";
      return false;
    }
    const auto top = static_cast<LONG_PTR>(send(dropped, LB_GETTOPINDEX));
    const auto height = static_cast<LONG_PTR>(send(dropped, LB_GETITEMHEIGHT, 0));
    const RECT client = clientRect(dropped);
    const LONG_PTR y = (index - top) * height + height / 2;
    if (height <= 0 || index < top || y >= heightOf(client)) {
      ADD_FAILURE() << toUtf8(caption) << " is not in view in the dropped list";
      return false;
    }
    const POINT origin = clientOrigin(dropped);
    return clickAt(origin.x + widthOf(client) / 2, origin.y + static_cast<int>(y));
  }

  VexloInstance vexlo_;
};

class UtilitiesToolsList : public Utilities {
 protected:
  void SetUp() override { notepadsBefore_ = topLevelWindows(0, L"Notepad"); }

  // Notepad was started by Vexlo, not by the test: it is ended the way a
  // user ends it, through its window, and only when it appeared meanwhile.
  void TearDown() override {
    const std::vector<HWND> opened = newNotepads();
    for (HWND w : opened) PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return std::none_of(opened.begin(), opened.end(), IsWindow); }, 10s))
        << "Notepad did not close";
  }

  std::vector<HWND> newNotepads() const {
    std::vector<HWND> opened;
    for (HWND w : topLevelWindows(0, L"Notepad"))
      if (std::find(notepadsBefore_.begin(), notepadsBefore_.end(), w) == notepadsBefore_.end()) opened.push_back(w);
    return opened;
  }

  HWND newVisibleNotepad() const {
    for (HWND w : newNotepads())
      if (isVisible(w)) return w;
    return nullptr;
  }

  std::vector<HWND> notepadsBefore_;
};

TEST_F(UtilitiesToolsList, NotepadStartsInANormalWindowAndVexloCollapses) {
  ASSERT_TRUE(startOnToolbox());
  ASSERT_TRUE(chooseTool(L"记事本"));
  HWND notepad = nullptr;
  ASSERT_TRUE(waitUntil([&] { return (notepad = newVisibleNotepad()) != nullptr; }, 20s))
      << "no Notepad window appeared";
  DWORD notepadProcess = 0;
  GetWindowThreadProcessId(notepad, &notepadProcess);
  EXPECT_NE(notepadProcess, vexlo_.process().id());
  EXPECT_FALSE(IsIconic(notepad)) << "Notepad started minimized";
  EXPECT_FALSE(IsZoomed(notepad)) << "Notepad started maximized";
  EXPECT_TRUE(waitUntil([&] { return hasSize(window(), kCollapsed96); }, 3s))
      << "Vexlo is " << describe(windowRect(window())) << ", not collapsed";
}

TEST_F(UtilitiesToolsList, ControlPanelPopsUpItsMenuWhileTheWindowStaysExpanded) {
  ASSERT_TRUE(startOnToolbox());
  ASSERT_TRUE(chooseTool(L"控制面板"));
  HWND menu = nullptr;
  ASSERT_TRUE(waitUntil(
      [&] {
        for (HWND w : topLevelWindows(vexlo_.process().id(), L"#32768"))
          if (isVisible(w)) menu = w;
        return menu != nullptr;
      },
      3s))
      << "no pop-up menu showed; Vexlo is " << describe(windowRect(window()));
  const POINT origin = clientOrigin(window());
  const RECT at = windowRect(menu);
  EXPECT_EQ(at.left - origin.x, kControlPanelMenu96.x) << "menu at " << describe(at);
  EXPECT_EQ(at.top - origin.y, kControlPanelMenu96.y) << "menu at " << describe(at);
  EXPECT_TRUE(hasSize(window(), kExpanded96)) << "Vexlo is " << describe(windowRect(window()));
  EXPECT_NE(saveScreenshot(L"vexlo-control-panel-menu.bmp"), L"");

  pressKey(VK_ESCAPE);
  EXPECT_TRUE(waitUntil([&] { return !isVisible(menu) || !IsWindow(menu); }, 3s)) << "Escape left the menu open";
  EXPECT_TRUE(hasSize(window(), kExpanded96)) << "Vexlo is " << describe(windowRect(window()));
  EXPECT_EQ(newVisibleNotepad(), nullptr);
}

// ----- start with Windows ----------------------------------------------------------

class UtilitiesStartWithWindows : public Utilities {
 protected:
  SavedRegistryValue userValue_{HKEY_CURRENT_USER, 0, kRunKey, kAutostartValue};
  SavedRegistryValue neighbour_{HKEY_CURRENT_USER, 0, kRunKey, L"VexloE2ENeighbour"};
  // Where earlier 32-bit versions registered for the whole machine.
  SavedRegistryValue machineValue_{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kRunKey, kAutostartValue};
};

TEST_F(UtilitiesStartWithWindows, TickingRegistersTheQuotedPathForTheUserAndClearingRemovesOnlyThat) {
  const std::wstring neighbourData = L"\"C:\\Program Files\\Other\\other.exe\" /background";
  ASSERT_TRUE(userValue_.remove());
  ASSERT_TRUE(neighbour_.write(neighbourData));
  ASSERT_TRUE(machineValue_.write(L"\"C:\\Program Files\\Vexlo\\Vexlo.exe\""));
  ASSERT_TRUE(vexlo_.start());
  HWND box = vexlo_.control(L"Button", L"自启");
  ASSERT_NE(box, nullptr) << "no 自启 box";
  ASSERT_FALSE(isChecked(box)) << "a new copy starts with 自启 ticked";

  const std::wstring expected = L"\"" + vexlo_.exePath() + L"\"";
  ASSERT_TRUE(clickOn(box));
  EXPECT_TRUE(waitUntil([&] { return userValue_.text() == expected; }, 3s))
      << "HKCU Run \"" << toUtf8(kAutostartValue) << "\" holds " << toUtf8(userValue_.text().value_or(L"(nothing)"))
      << ", not " << toUtf8(expected);
  EXPECT_TRUE(isChecked(box));
  EXPECT_EQ(neighbour_.text(), neighbourData);

  ASSERT_TRUE(clickOn(box));
  EXPECT_TRUE(waitUntil([&] { return !userValue_.text(); }, 3s))
      << "clearing left " << toUtf8(userValue_.text().value_or(L""));
  EXPECT_FALSE(isChecked(box));
  EXPECT_EQ(neighbour_.text(), neighbourData) << "clearing touched another program's value";
  EXPECT_EQ(machineValue_.text(), std::nullopt) << "the older machine-wide registration stayed";
}

// ----- web search ------------------------------------------------------------------

// Blanks at both ends stay: the keyword goes out exactly as typed.
constexpr wchar_t kKeyword[] = L"猫 & 狗#1+% ";
constexpr char kEncodedKeyword[] = "%E7%8C%AB%20%26%20%E7%8B%97%231%2B%25%20";

class UtilitiesWebSearch : public Utilities {
 protected:
  // The recorder takes the browser's place for both schemes; Wine follows
  // only the machine's classes here.
  void SetUp() override {
    const std::wstring command = L"\"" + binFolder() + L"\\url_recorder.exe\" \"" + recordFile() + L"\" \"%1\"";
    ASSERT_TRUE(http_.write(command));
    ASSERT_TRUE(https_.write(command));
  }

  std::wstring recordFile() const { return records_.file(L"addresses.txt"); }

  // The addresses the browser was given, one per start, once the first
  // arrived; nullopt when none did.
  std::optional<std::vector<std::string>> receivedAddresses() const {
    std::optional<std::string> bytes;
    if (!waitUntil([&] { return (bytes = readFileBytes(recordFile())) && bytes->ends_with('\n'); }, 10s))
      return std::nullopt;
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = bytes->find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(bytes->substr(start, end - start));
    return lines;
  }

  // The click on the button was handled: the button took the focus on the
  // press and let go of it on the release, which is when it reports the click.
  bool clickHandled(HWND button) const {
    return waitUntil(
        [&] {
          GUITHREADINFO info{};
          info.cbSize = sizeof info;
          return GetGUIThreadInfo(GetWindowThreadProcessId(button, nullptr), &info) && info.hwndFocus == button &&
                 !(send(button, BM_GETSTATE) & BST_PUSHED);
        },
        3s);
  }

  // Searches with an empty keyword, then with kKeyword, on the engine of
  // the option; the browser must have been given the address once.
  void searchAndExpect(const wchar_t* engineOption, const std::string& address) {
    ASSERT_TRUE(startOnToolbox());
    HWND label = vexlo_.control(L"Static", L"关键字:");
    HWND option = vexlo_.control(L"Button", engineOption);
    HWND search = vexlo_.control(L"Button", L"搜 索");
    ASSERT_TRUE(label && option && search) << "the search controls are missing";
    // Text7 is the box right below its label.
    HWND box = nullptr;
    for (HWND edit : descendants(window(), L"Edit")) {
      const RECT r = windowRect(edit), l = windowRect(label);
      if (isVisible(edit) && r.left == l.left && r.top >= l.bottom && r.top - l.bottom < 20) box = edit;
    }
    ASSERT_NE(box, nullptr) << "no keyword box below 关键字:";
    ASSERT_TRUE(clickOn(option));
    ASSERT_TRUE(waitUntil([&] { return isChecked(option); }, 2s));

    ASSERT_TRUE(setText(box, L""));
    ASSERT_TRUE(clickOn(search));
    ASSERT_TRUE(clickHandled(search));
    EXPECT_TRUE(hasSize(window(), kExpanded96)) << "an empty search collapsed Vexlo";

    ASSERT_TRUE(setText(box, kKeyword));
    ASSERT_TRUE(clickOn(search));
    const auto received = receivedAddresses();
    ASSERT_TRUE(received) << "the browser was not started";
    // One start only: the empty keyword before it started nothing.
    EXPECT_EQ(*received, std::vector<std::string>{address});
    EXPECT_TRUE(waitUntil([&] { return hasSize(window(), kCollapsed96); }, 3s))
        << "Vexlo is " << describe(windowRect(window())) << ", not collapsed";
  }

  TempFolder records_;
  SavedRegistryValue http_{HKEY_LOCAL_MACHINE, 0, L"Software\\Classes\\http\\shell\\open\\command", L""};
  SavedRegistryValue https_{HKEY_LOCAL_MACHINE, 0, L"Software\\Classes\\https\\shell\\open\\command", L""};
};

TEST_F(UtilitiesWebSearch, BaiduReceivesTheKeywordAsUtf8MarkedAsSuch) {
  searchAndExpect(L"百 度", std::string("http://www.baidu.com/s?wd=") + kEncodedKeyword + "&ie=utf-8");
}

TEST_F(UtilitiesWebSearch, GoogleReceivesTheKeywordAsUtf8) {
  searchAndExpect(L"Google", std::string("http://www.google.com/search?q=") + kEncodedKeyword);
}

}  // namespace
}  // namespace vexlo::e2e::formatter
