#include "platform/win32/file_store_win32.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/system_message.h"

namespace vexlo::platform::win32 {

namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool close() {
    if (!valid()) return true;
    bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::optional<std::string> FileStoreWin32::read(const std::u16string& path) {
  Handle file(CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr)) return std::nullopt;
    if (got == 0) break;  // the file shrank while we read it
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

bool FileStoreWin32::exists(const std::u16string& path) {
  DWORD attributes = GetFileAttributesW(wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

WriteResult FileStoreWin32::writeAtomically(const std::u16string& path, std::string_view bytes) {
  std::u16string temporary = path + u".tmp";
  auto failed = [&](DWORD error) {
    DeleteFileW(wide(temporary));
    return WriteResult{false, path, systemMessage(error)};
  };

  // A temporary file left read-only by an earlier failure must not block us.
  SetFileAttributesW(wide(temporary), FILE_ATTRIBUTE_NORMAL);
  Handle file(CreateFileW(wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    DWORD error = GetLastError();
    // Nothing was created, so there is nothing to delete (and the name may
    // belong to something that is not ours).
    return WriteResult{false, path, systemMessage(error)};
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD wrote = 0;
    if (!WriteFile(file.get(), bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
      DWORD error = GetLastError();
      file.close();
      return failed(error);
    }
    done += wrote;
  }
  if (!FlushFileBuffers(file.get())) {
    DWORD error = GetLastError();
    file.close();
    return failed(error);
  }
  if (!file.close()) return failed(GetLastError());
  if (!MoveFileExW(wide(temporary), wide(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return failed(GetLastError());
  }
  return WriteResult{true, path, {}};
}

bool FileStoreWin32::canCreateFilesIn(const std::u16string& folder) {
  // GetTempFileNameW makes the file under a name nothing else holds.
  wchar_t probe[MAX_PATH];
  if (GetTempFileNameW(wide(folder), L"vxl", 0, probe) == 0) return false;
  // A folder that lets us make a file but not remove it would refuse the
  // atomic write's replacement just the same.
  return DeleteFileW(probe) != 0;
}

WriteResult FileStoreWin32::createFolder(const std::u16string& folder) {
  if (CreateDirectoryW(wide(folder), nullptr)) return WriteResult{true, folder, {}};
  DWORD error = GetLastError();
  DWORD attributes = GetFileAttributesW(wide(folder));
  if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return WriteResult{true, folder, {}};
  }
  return WriteResult{false, folder, systemMessage(error)};
}

}  // namespace vexlo::platform::win32
