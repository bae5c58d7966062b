// The utilities' Win32 services under Wine: the Run value in the registry,
// command lines started with their window style, files looked for where
// programs are started from, the pop-up menu, and the executable's name.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>

#include "platform/twips.h"
#include "platform/win32/executable_name_win32.h"
#include "platform/win32/launcher_win32.h"
#include "platform/win32/popup_menu_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {
namespace {

// This test program started again with the marker writes how it was
// started into the file named after it, and ends before any test runs.
constexpr wchar_t kReportMarker[] = L"--report-start=";

[[maybe_unused]] const bool reportedStart = [] {
  const wchar_t* commandLine = GetCommandLineW();
  const wchar_t* marker = std::wcsstr(commandLine, kReportMarker);
  if (!marker) return false;
  std::wstring path(marker + std::wcslen(kReportMarker));
  path = path.substr(0, path.find(L' '));
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  std::wstring report = std::to_wstring(startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1);
  report += L'|';
  report += commandLine;
  const std::wstring written = path + L".part";
  HANDLE file = CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD bytes = 0;
    WriteFile(file, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &bytes, nullptr);
    CloseHandle(file);
    MoveFileW(written.c_str(), path.c_str());  // the whole report appears at once
  }
  ExitProcess(0);
}();

std::wstring temporaryPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name + std::to_wstring(GetCurrentProcessId());
}

std::wstring ownPath() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// The report of the started copy, once it has written one.
std::wstring waitForReport(const std::wstring& path) {
  for (int wait = 0; wait < 300; ++wait) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
      DWORD bytes = 0;
      ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &bytes, nullptr);
      CloseHandle(file);
      DeleteFileW(path.c_str());
      return text;
    }
    Sleep(100);
  }
  return L"no report";
}

TEST(UtilitiesLauncherWin32, StartsACommandLineUnchangedWithItsWindowStyle) {
  LauncherWin32 launcher;
  for (int style : {1, 2, 3}) {
    SCOPED_TRACE(style);
    const std::wstring report = temporaryPath(L"vexlo-start-report");
    // Trailing blanks, as "Explorer.exe  " has, reach the program too.
    const std::wstring commandLine = L"\"" + ownPath() + L"\" " + kReportMarker + report + L"  ";
    ASSERT_TRUE(launcher.run(fromWide(commandLine), style));
    EXPECT_EQ(waitForReport(report), std::to_wstring(style) + L"|" + commandLine);
  }
}

TEST(UtilitiesLauncherWin32, FindsProgramsWhereTheSystemStartsThemFrom) {
  LauncherWin32 launcher;
  // In the system folder, in the Windows folder, in any letter case.
  EXPECT_TRUE(launcher.fileFound(u"cmd.exe"));
  EXPECT_TRUE(launcher.fileFound(u"Notepad.exe"));
  EXPECT_TRUE(launcher.fileFound(u"EXPLORER.EXE"));
  EXPECT_FALSE(launcher.fileFound(u"Vexlo-no-such-tool.exe"));
  EXPECT_FALSE(launcher.fileFound(u"Vexlo-no-such-applet.cpl"));
  EXPECT_FALSE(launcher.run(u"Vexlo-no-such-tool.exe", 1));
}

TEST(UtilitiesLauncherWin32, AnMciCommandForNoDeviceFails) {
  LauncherWin32 launcher;
  EXPECT_FALSE(launcher.sendMci(u"Set VexloNoSuchDevice Door Open"));
}

struct RunKey {
  explicit RunKey(HKEY root) : root(root) {
    RegCreateKeyExW(root, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  }
  ~RunKey() { RegCloseKey(key); }
  void set(const wchar_t* name, const std::wstring& data) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  // The data of a string value, or "absent".
  std::wstring get(const wchar_t* name) {
    wchar_t data[512] = {};
    DWORD type = 0, bytes = sizeof data;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes) != ERROR_SUCCESS)
      return L"absent";
    return type == REG_SZ ? std::wstring(data) : L"not a string";
  }
  void remove(const wchar_t* name) { RegDeleteValueW(key, name); }
  HKEY root;
  HKEY key = nullptr;
};

TEST(UtilitiesRegistryWin32, WritesTheQuotedPathForTheCurrentUserAndDeletesOnlyIt) {
  StartupRegistryWin32 registry;
  RunKey user(HKEY_CURRENT_USER);
  user.set(L"Vexlo test neighbour", L"neighbour.exe");
  const std::u16string command = u"\"C:\\Program Files\\工具\\Vexlo.exe\"";
  ASSERT_TRUE(registry.registerProgram(u"Vexlo v10.1", command));
  EXPECT_EQ(user.get(L"Vexlo v10.1"), L"\"C:\\Program Files\\工具\\Vexlo.exe\"");

  ASSERT_TRUE(registry.unregisterProgram(u"Vexlo v10.1"));
  EXPECT_EQ(user.get(L"Vexlo v10.1"), L"absent");
  EXPECT_EQ(user.get(L"Vexlo test neighbour"), L"neighbour.exe");
  EXPECT_TRUE(registry.unregisterProgram(u"Vexlo v10.1")) << "nothing left to delete is no failure";
  user.remove(L"Vexlo test neighbour");
}

TEST(UtilitiesRegistryWin32, ClearingAlsoRemovesAnOlderRegistrationForTheMachine) {
  StartupRegistryWin32 registry;
  RunKey machine(HKEY_LOCAL_MACHINE);
  machine.set(L"Vexlo v10.1", L"C:\\Old\\Vexlo.exe");
  machine.set(L"Vexlo test neighbour", L"neighbour.exe");
  ASSERT_TRUE(registry.unregisterProgram(u"Vexlo v10.1"));
  EXPECT_EQ(machine.get(L"Vexlo v10.1"), L"absent");
  EXPECT_EQ(machine.get(L"Vexlo test neighbour"), L"neighbour.exe");
  machine.remove(L"Vexlo test neighbour");
}

TEST(UtilitiesExecutableNameWin32, IsTheFileNameWithoutFolderAndExtension) {
  EXPECT_EQ(executableBaseName(), u"vexlo_win32_tests");
  EXPECT_EQ(baseNameOfPath(u"C:\\Tools\\Vexlo.exe"), u"Vexlo");
  EXPECT_EQ(baseNameOfPath(u"D:\\my.tools\\Vexlo 2.EXE"), u"Vexlo 2");
  EXPECT_EQ(baseNameOfPath(u"C:\\Vexlo"), u"Vexlo");
}

// The user's keys, pressed while the menu waits; and where it showed.
struct MenuUser {
  static inline const char* keys = "";
  static inline RECT shownAt{};
  static void CALLBACK act(HWND window, UINT, UINT_PTR timer, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    KillTimer(window, timer);
    GetWindowRect(menu, &shownAt);
    for (const char* key = keys; *key; ++key) {
      const WPARAM code = *key == 'd' ? VK_DOWN : *key == 'e' ? VK_ESCAPE : VK_RETURN;
      PostMessageW(window, WM_KEYDOWN, code, 0);
    }
  }
};

TEST(UtilitiesPopupMenuWin32, ShowsAtTheWindowsPointAndAnswersTheChosenItem) {
  HWND window = CreateWindowExW(0, L"STATIC", L"menu owner", WS_POPUP | WS_VISIBLE, 100, 50, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_TRUE(window);
  PopupMenuWin32 menu;
  menu.setWindow(window);
  const std::vector<std::u16string> items = {u"打开控制面板", u"-", u"系统", u"显示"};
  struct Case {
    const char* keys;
    int chosen;
  };
  // The first key marks the first item; the separator is passed over.
  for (const Case& c : {Case{"ddr", 2}, Case{"dr", 0}, Case{"e", -1}}) {
    SCOPED_TRACE(c.keys);
    MenuUser::keys = c.keys;
    MenuUser::shownAt = {};
    SetTimer(window, 1, 50, MenuUser::act);
    EXPECT_EQ(menu.choose(items, 1500, 600), c.chosen);
    const double twipsPerPixel = platform::twipsPerPixel(dpiOf(window));
    EXPECT_EQ(MenuUser::shownAt.left, 100 + platform::twipsToPixels(1500, twipsPerPixel));
    EXPECT_EQ(MenuUser::shownAt.top, 50 + platform::twipsToPixels(600, twipsPerPixel));
  }
  DestroyWindow(window);
}

}  // namespace
}  // namespace vexlo::platform::win32
