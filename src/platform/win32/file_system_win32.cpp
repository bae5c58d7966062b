#include "platform/win32/file_system_win32.h"

// The shell's header needs the system's first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <optional>

#include "platform/win32/system_message.h"
#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

namespace {

// CreateDirectoryW's limit, the lowest of the classic ones.
constexpr std::size_t kClassicLimit = MAX_PATH - 12;
constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";

// An empty card reader or optical drive answers at once instead of asking
// the user to insert a disk.
class QuietDriveErrors {
 public:
  QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
  ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  DWORD previous_ = 0;
};

Outcome lastError() { return {false, systemMessage(GetLastError())}; }

std::u16string withoutExtendedPrefix(std::wstring path) {
  if (path.starts_with(L"\\\\?\\UNC\\")) return fromWide(L"\\" + path.substr(7));
  if (path.starts_with(kExtendedPrefix)) return fromWide(path.substr(kExtendedPrefix.size()));
  return fromWide(path);
}

// The shell takes no path beyond MAX_PATH: a longer one goes as its short
// form (a wildcard stays after the short form of its directory).
std::optional<std::wstring> shellPath(std::u16string_view path) {
  if (path.size() < MAX_PATH) return wideString(path);
  std::u16string_view head = path, tail;
  const std::size_t separator = path.rfind(u'\\');
  if (separator != std::u16string_view::npos &&
      path.substr(separator).find_first_of(u"*?") != std::u16string_view::npos) {
    head = path.substr(0, separator);
    tail = path.substr(separator);
  }
  const std::wstring extended = extendedPath(head);
  const DWORD needed = GetShortPathNameW(extended.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::wstring shortened(needed, L'\0');
  const DWORD length = GetShortPathNameW(extended.c_str(), shortened.data(), needed);
  if (length == 0 || length >= needed) return std::nullopt;
  shortened.resize(length);
  std::wstring result = wideString(withoutExtendedPrefix(shortened)) + wideString(tail);
  if (result.size() >= MAX_PATH) return std::nullopt;
  return result;
}

}  // namespace

std::wstring extendedPath(std::u16string_view path) {
  std::wstring text = wideString(path);
  if (text.size() < kClassicLimit || text.starts_with(kExtendedPrefix)) return text;
  if (text.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + text.substr(2);
  return std::wstring(kExtendedPrefix) + text;
}

std::vector<Drive> FileSystemWin32::drives() {
  QuietDriveErrors quiet;
  std::vector<Drive> drives;
  const DWORD mask = GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if (!(mask & (1u << letter))) continue;
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + letter), L':', L'\\', L'\0'};
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) label[0] = L'\0';
    drives.push_back({fromWide(root), fromWide(label)});
  }
  return drives;
}

Listing FileSystemWin32::list(const std::u16string& directory) {
  QuietDriveErrors quiet;
  std::u16string pattern = directory;
  if (!pattern.empty() && pattern.back() != u'\\') pattern += u'\\';
  pattern += u'*';
  WIN32_FIND_DATAW found;
  // The basic information without short names, fetched in large batches.
  HANDLE search = FindFirstFileExW(extendedPath(pattern).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  Listing listing;
  if (search == INVALID_HANDLE_VALUE) {
    // A root without any entry has not even "." to give.
    if (GetLastError() == ERROR_FILE_NOT_FOUND && directoryExists(directory)) return listing;
    return {false, {}, systemMessage(GetLastError())};
  }
  do {
    const std::wstring_view name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    listing.entries.push_back({fromWide(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                               (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0});
  } while (FindNextFileW(search, &found));
  const DWORD ended = GetLastError();
  FindClose(search);
  if (ended != ERROR_NO_MORE_FILES) return {false, {}, systemMessage(ended)};
  return listing;
}

bool FileSystemWin32::directoryExists(const std::u16string& path) {
  QuietDriveErrors quiet;
  const DWORD attributes = GetFileAttributesW(extendedPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Outcome FileSystemWin32::shellOperation(const ShellFileOperation& operation) {
  std::optional<std::wstring> source = shellPath(operation.source);
  std::optional<std::wstring> destination =
      operation.destination.empty() ? std::optional<std::wstring>(L"") : shellPath(operation.destination);
  if (!source || !destination) return {false, systemMessage(ERROR_FILENAME_EXCED_RANGE)};
  // Each list of paths ends in two NUL characters.
  source->push_back(L'\0');
  destination->push_back(L'\0');
  SHFILEOPSTRUCTW record = {};
  record.hwnd = nullptr;
  record.wFunc = static_cast<UINT>(operation.function);
  record.pFrom = source->c_str();
  record.pTo = operation.destination.empty() ? nullptr : destination->c_str();
  record.fFlags = operation.flags;
  // The shell reports its own errors and the user's answers; the outcome
  // is not looked at.
  SHFileOperationW(&record);
  return {};
}

Outcome FileSystemWin32::move(const std::u16string& from, const std::u16string& to) {
  if (!MoveFileW(extendedPath(from).c_str(), extendedPath(to).c_str())) return lastError();
  return {};
}

Outcome FileSystemWin32::createDirectory(const std::u16string& path) {
  if (!CreateDirectoryW(extendedPath(path).c_str(), nullptr)) return lastError();
  return {};
}

}  // namespace vexlo::platform::win32
