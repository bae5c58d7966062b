// The installer under Wine's msiexec, as a user without administrator
// rights uses it: install, use the installed program, install a newer
// package over it while it runs, and remove it while it runs.
#include <windows.h>

// The installer's and the shell's headers need the system's first.
// clang-format off
#include <msi.h>
#include <shlobj.h>
// clang-format on
#include <gtest/gtest.h>

#include <optional>

#include "common/version.h"
#include "e2e_support.h"
#include "formatter_support.h"

namespace vexlo::e2e {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kAutostartValue[] = L"Vexlo v10.1";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::wstring shellFolder(int csidl) {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::wstring> registryText(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t value[1024];
  DWORD bytes = sizeof value;
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) return {};
  return value;
}

struct UninstallEntry {
  std::wstring version, publisher, icon;
};

// The icon that installed programs show for the product: the installer's
// published product icon.
std::wstring productIcon(const wchar_t* productCode) {
  wchar_t icon[MAX_PATH] = L"";
  DWORD size = MAX_PATH;
  if (MsiGetProductInfoW(productCode, INSTALLPROPERTY_PRODUCTICON, icon, &size) != ERROR_SUCCESS) return {};
  return icon;
}

// The installed-programs entries named "Vexlo", wherever msiexec put them.
std::vector<UninstallEntry> uninstallEntries() {
  std::vector<UninstallEntry> entries;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    wchar_t name[256];
    for (DWORD i = 0, size = 256; RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == 0;
         ++i, size = 256) {
      const std::wstring entry = std::wstring(kUninstallKey) + L"\\" + name;
      if (registryText(root, entry, L"DisplayName") != L"Vexlo") continue;
      entries.push_back({registryText(root, entry, L"DisplayVersion").value_or(L""),
                         registryText(root, entry, L"Publisher").value_or(L""), productIcon(name)});
    }
    RegCloseKey(key);
  }
  return entries;
}

std::wstring shortcutTarget(const std::wstring& link) {
  wchar_t target[MAX_PATH] = L"";
  IShellLinkW* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shellLink)))) return {};
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shellLink->QueryInterface(IID_PPV_ARGS(&file)))) {
    if (SUCCEEDED(file->Load(link.c_str(), STGM_READ))) shellLink->GetPath(target, MAX_PATH, nullptr, 0);
    file->Release();
  }
  shellLink->Release();
  return target;
}

std::wstring versionString(const std::wstring& exe, const wchar_t* name) {
  DWORD ignored = 0;
  std::vector<BYTE> block(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  if (block.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) return {};
  wchar_t* text = nullptr;
  UINT length = 0;
  const std::wstring path = L"\\StringFileInfo\\080404B0\\" + std::wstring(name);
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) return {};
  return text;
}

class Installer : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    savedRun_ = registryText(HKEY_CURRENT_USER, kRunKey, kAutostartValue);
  }
  void TearDown() override {
    // A failed step must not leave the next run an installed copy.
    for (const std::wstring& msi : {upgradeMsi_, msi_}) msiexec(L"/x \"" + msi + L"\" /qn");
    DeleteFileW(settings_.c_str());
    RemoveDirectoryW(folder_.c_str());
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      if (savedRun_) {
        RegSetValueExW(key, kAutostartValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(savedRun_->c_str()),
                       static_cast<DWORD>((savedRun_->size() + 1) * sizeof(wchar_t)));
      } else {
        RegDeleteValueW(key, kAutostartValue);
      }
      RegCloseKey(key);
    }
    CoUninitialize();
  }

  DWORD msiexec(const std::wstring& arguments) {
    Process installer = Process::start(shellFolder(CSIDL_SYSTEM) + L"\\msiexec.exe", arguments, L"");
    if (!installer.waitForExit(180s)) return ERROR_TIMEOUT;
    return installer.exitCode().value_or(ERROR_TIMEOUT);
  }

  // Starts the installed copy and ticks its start-with-Windows box unless
  // it is ticked already.
  Process startInstalled(bool tickAutostart) {
    Process vexlo = Process::start(exe_, L"", folder_);
    HWND window = waitForTopLevelWindow(vexlo.id(), kMainWindowClass, 30s);
    EXPECT_NE(window, nullptr) << "the installed Vexlo.exe showed no window";
    std::this_thread::sleep_for(1000ms);  // start-up clicks into its own window
    HWND box = findDescendant(window, L"Button", L"自启");
    EXPECT_NE(box, nullptr);
    if (box && tickAutostart) {
      EXPECT_TRUE(clickOn(box));
    }
    return vexlo;
  }

  const std::wstring msi_ = binFolder() + L"\\packages\\Vexlo-" VEXLO_VERSION_TEXT L".msi";
  const std::wstring upgradeMsi_ = binFolder() + L"\\packages\\upgrade-test\\Vexlo-" VEXLO_UPGRADE_TEST_VERSION L".msi";
  const std::wstring folder_ = shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Vexlo";
  const std::wstring exe_ = folder_ + L"\\Vexlo.exe";
  const std::wstring settings_ = folder_ + L"\\Vexlo.ini";
  const std::wstring shortcut_ = shellFolder(CSIDL_PROGRAMS) + L"\\Vexlo.lnk";
  const std::wstring ourRun_ = L"\"" + exe_ + L"\"";
  std::optional<std::wstring> savedRun_;
};

TEST_F(Installer, InstallUseUpgradeAndRemoveWhileRunning) {
  ASSERT_TRUE(exists(msi_)) << toUtf8(msi_);
  ASSERT_EQ(msiexec(L"/i \"" + msi_ + L"\" /qn"), 0u);
  ASSERT_TRUE(exists(exe_)) << toUtf8(exe_);
  EXPECT_EQ(versionString(exe_, L"ProductVersion"), L"" VEXLO_VERSION_TEXT);
  EXPECT_EQ(versionString(exe_, L"ProductName"), L"Vexlo");
  EXPECT_FALSE(versionString(exe_, L"LegalCopyright").empty());
  EXPECT_TRUE(_wcsicmp(shortcutTarget(shortcut_).c_str(), exe_.c_str()) == 0) << toUtf8(shortcutTarget(shortcut_));
  std::vector<UninstallEntry> entries = uninstallEntries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].version, L"" VEXLO_VERSION_TEXT);
  EXPECT_EQ(entries[0].publisher, L"Vexlo");
  EXPECT_FALSE(entries[0].icon.empty()) << "no icon for the installed-programs entry";

  // The newer package ends the running copy (which saves, as at exit)
  // before it replaces anything, and keeps its registration.
  Process first = startInstalled(true);
  ASSERT_TRUE(waitUntil([&] { return registryText(HKEY_CURRENT_USER, kRunKey, kAutostartValue) == ourRun_; }, 5s));
  ASSERT_EQ(msiexec(L"/i \"" + upgradeMsi_ + L"\" /qn"), 0u);
  EXPECT_TRUE(first.waitForExit(5s)) << "the upgrade left the old copy running";
  const std::optional<std::string> saved = formatter::readFileBytes(settings_);
  ASSERT_TRUE(saved) << "the closed copy wrote no settings beside itself";
  EXPECT_NE(saved->find("ZQD=1\r\n"), std::string::npos) << *saved;
  entries = uninstallEntries();
  ASSERT_EQ(entries.size(), 1u) << "the older version is still listed";
  EXPECT_EQ(entries[0].version, L"" VEXLO_UPGRADE_TEST_VERSION);
  EXPECT_EQ(registryText(HKEY_CURRENT_USER, kRunKey, kAutostartValue), ourRun_);

  // Removal ends the running copy too, and takes away all but the settings.
  Process second = startInstalled(false);
  ASSERT_EQ(msiexec(L"/x \"" + upgradeMsi_ + L"\" /qn"), 0u);
  EXPECT_TRUE(second.waitForExit(5s)) << "the removal left the copy running";
  EXPECT_FALSE(exists(exe_));
  EXPECT_FALSE(exists(shortcut_));
  EXPECT_TRUE(uninstallEntries().empty());
  EXPECT_EQ(registryText(HKEY_CURRENT_USER, kRunKey, kAutostartValue), std::nullopt);
  EXPECT_TRUE(exists(settings_)) << "the removal took the user's settings";
}

}  // namespace
}  // namespace vexlo::e2e
