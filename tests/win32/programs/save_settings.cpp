// The program's settings save, alone in a process of its own, for the test
// that kills it at random moments (tests/win32/settings_kill_win32_test.cpp).
//
//   vexlo_save_settings.exe <settings file> <variant 0|1> <ready event> <done event>
//
// Signals "ready", then saves as the exit control does (reads the file,
// merges the settings into it, writes it atomically) and signals "done".
// Exit code 0 when the save succeeded.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/win32/ansi_codec_win32.h"
#include "platform/win32/file_store_win32.h"
#include "settings_variants.h"

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 5) return 2;
  const std::u16string path(reinterpret_cast<const char16_t*>(arguments[1]));
  const int variant = _wtoi(arguments[2]);
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, arguments[3]);
  HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, arguments[4]);
  if (!ready || !done) return 3;

  const vexlo::shell::SettingsToSave settings = vexlo::win32_tests::settingsVariant(variant);
  vexlo::platform::win32::AnsiCodecWin32 codec;
  vexlo::platform::win32::FileStoreWin32 store;
  SetEvent(ready);
  const std::optional<std::string> existing = store.read(path);
  const std::string bytes = vexlo::shell::writeSettings(existing.value_or(std::string()), settings, codec);
  const bool saved = static_cast<bool>(store.writeAtomically(path, bytes));
  SetEvent(done);
  return saved ? 0 : 1;
}
