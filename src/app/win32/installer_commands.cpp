#include "app/win32/installer_commands.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/win32/vexlo_app.h"
#include "platform/win32/executable_name_win32.h"
#include "platform/win32/module_path.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/wide.h"
#include "utilities/autostart.h"

namespace vexlo::app::win32 {

namespace {

using platform::win32::fromWide;
using platform::win32::wide;

// Long enough for a save that asks the user about a failure to be answered.
constexpr DWORD kCloseTimeoutMilliseconds = 60000;
constexpr int kNotClosed = 1;
// Volatile: a mark that an aborted upgrade leaves lasts until logoff only.
constexpr wchar_t kUpgradeMarkKey[] = L"Software\\Vexlo\\UpgradeUnderway";

bool sameTextIgnoringCase(const std::u16string& a, const std::u16string& b) {
  return CompareStringOrdinal(wide(a), -1, wide(b), -1, TRUE) == CSTR_EQUAL;
}

std::u16string imageDirectory(HANDLE process) {
  std::wstring path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(process, 0, path.data(), &size)) return {};
  path.resize(size);
  return platform::win32::directoryOfModulePath(fromWide(path));
}

// Asks every main window of a copy running from `folder` to close, and
// returns the handles of those processes to wait for.
std::vector<HANDLE> askCopiesToClose(const std::u16string& folder) {
  std::vector<HANDLE> processes;
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, kMainWindowClass, nullptr)) != nullptr;) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (id == GetCurrentProcessId()) continue;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
    if (!process) continue;
    // A portable copy elsewhere is none of this installation's business.
    if (sameTextIgnoringCase(imageDirectory(process), folder)) {
      PostMessageW(window, WM_CLOSE, 0, 0);
      processes.push_back(process);
    } else {
      CloseHandle(process);
    }
  }
  return processes;
}

bool closeRunningCopies(const std::u16string& folder) {
  std::vector<HANDLE> processes = askCopiesToClose(folder);
  const ULONGLONG deadline = GetTickCount64() + kCloseTimeoutMilliseconds;
  bool allEnded = true;
  for (HANDLE process : processes) {
    const ULONGLONG now = GetTickCount64();
    const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    if (WaitForSingleObject(process, left) != WAIT_OBJECT_0) allEnded = false;
    CloseHandle(process);
  }
  return allEnded;
}

// Removes the start-with-Windows value only when it starts this installed
// copy: a portable copy elsewhere may have registered under the same name.
void removeOwnAutostart(const std::u16string& folder) {
  const std::u16string ours = utilities::autostartCommand(folder, platform::win32::executableBaseName());
  const std::wstring name = platform::win32::wideString(utilities::kAutostartValueName);
  std::wstring value(32768, L'\0');
  DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, platform::win32::kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(),
                   &bytes) != ERROR_SUCCESS)
    return;
  value.resize(bytes / sizeof(wchar_t) - 1);
  if (!sameTextIgnoringCase(fromWide(value), ours)) return;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, platform::win32::kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, name.c_str());
  RegCloseKey(key);
}

void markUpgrade() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kUpgradeMarkKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &key,
                      nullptr) == ERROR_SUCCESS)
    RegCloseKey(key);
}

// True when an upgrade had marked this removal; the mark is used up.
bool takeUpgradeMark() { return RegDeleteKeyW(HKEY_CURRENT_USER, kUpgradeMarkKey) == ERROR_SUCCESS; }

}  // namespace

std::optional<int> runInstallerCommand() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return std::nullopt;
  const std::wstring command = count >= 2 ? arguments[1] : L"";
  const bool userWatching = count >= 3 && _wtoi(arguments[2]) > 2;
  LocalFree(arguments);
  const bool upgrade = command == L"/upgrade";
  if (!upgrade && command != L"/uninstall") return std::nullopt;

  const std::u16string folder = platform::win32::executableDirectory();
  if (!closeRunningCopies(folder)) {
    if (userWatching) {
      MessageBoxW(nullptr, L"Vexlo 仍在运行，没能让它退出。\r\n请先关闭 Vexlo，再重新安装或卸载。", L"Vexlo",
                  MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    }
    return kNotClosed;
  }
  if (upgrade) {
    markUpgrade();
  } else if (!takeUpgradeMark()) {
    removeOwnAutostart(folder);
  }
  return 0;
}

}  // namespace vexlo::app::win32
