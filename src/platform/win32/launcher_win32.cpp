#include "platform/win32/launcher_win32.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "platform/win32/system_function.h"
#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

namespace {

// The shell exports its shut-down dialog by ordinal alone.
constexpr WORD kShutDownDialogOrdinal = 60;
using ShutDownDialog = void(WINAPI*)(HWND owner);

}  // namespace

bool LauncherWin32::run(std::u16string_view commandLine, int showCommand) {
  // CreateProcessW may write into the command line while it parses it.
  std::wstring line = wideString(commandLine);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool LauncherWin32::shellExecute(std::u16string_view verb, std::u16string_view file, int showCommand) {
  const std::wstring verbText = wideString(verb);
  const std::wstring path = wideString(file);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  // No message box of the shell's own: a failure is reported in the
  // program's balloon instead.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = verbText.c_str();
  info.lpFile = path.empty() ? nullptr : path.c_str();
  info.nShow = showCommand;
  return ShellExecuteExW(&info) != FALSE;
}

bool LauncherWin32::emptyRecycleBin() {
  const HRESULT result = SHEmptyRecycleBinW(owner_, nullptr, 0);
  // Declining the question is the user's choice, and an empty bin has
  // nothing to do (the system calls it unexpected): neither is a failure.
  return SUCCEEDED(result) || result == E_ABORT || result == HRESULT_FROM_WIN32(ERROR_CANCELLED) ||
         result == E_UNEXPECTED;
}

bool LauncherWin32::showShutDownDialog() {
  HMODULE shell = GetModuleHandleW(L"shell32.dll");
  if (!shell) return false;
  FARPROC address = GetProcAddress(shell, MAKEINTRESOURCEA(kShutDownDialogOrdinal));
  if (!address) return false;
  reinterpret_cast<ShutDownDialog>(reinterpret_cast<void*>(address))(nullptr);
  return true;
}

bool LauncherWin32::sendMci(std::u16string_view command) {
  const std::wstring text = wideString(command);
  auto send = systemFunction<decltype(mciSendStringW)>(L"winmm.dll", "mciSendStringW");
  return send && send(text.c_str(), nullptr, 0, nullptr) == 0;
}

bool LauncherWin32::fileFound(std::u16string_view fileName) {
  const std::wstring name = wideString(fileName);
  // With no buffer the answer is the length the full path would need: zero
  // when the file is nowhere on the search order CreateProcessW uses.
  return SearchPathW(nullptr, name.c_str(), nullptr, 0, nullptr, nullptr) != 0;
}

}  // namespace vexlo::platform::win32
