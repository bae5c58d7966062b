// Stands in for the web browser: the end-to-end tests register it as the
// handler of http and https addresses, so that what a program hands to the
// shell can be read back exactly as a browser would receive it.
//
//   url_recorder.exe <record file> <address>...
// Appends one line per start to the record file, in UTF-8: the arguments
// after the record file, separated by tabs (an address that arrived split
// shows as more than one). Exit code 0 when the line was written, 1 on a
// write failure, 2 on bad usage.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string toUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size, nullptr,
                      nullptr);
  return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 2) return 2;

  std::wstring line;
  for (int i = 2; i < count; ++i) {
    if (i > 2) line += L'\t';
    line += arguments[i];
  }
  // One write of the whole line: a reader that waits for the line end never
  // sees half an address.
  const std::string bytes = toUtf8(line) + "\n";
  HANDLE file = CreateFileW(arguments[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  LocalFree(arguments);
  return ok ? 0 : 1;
}
